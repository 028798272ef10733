// keelwright [--help | --version] [--scale N] [WORKSPACE], or a verb: check, render, export, import
#include "command_line.h"

#include "design_verbs.h"
#include "services.h"
#include "ship_growth.h"
#include "utf8_path.h"
#include "verb_options.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace {

CommandLineOutcome Refuse(const std::string& why) {
    return {kUsageExitCode, "", "keelwright: " + why + "\n" + UsageText()};
}

// A whole factor 1 .. 8 written as plain digits; 0 for anything else.
int ScaleValue(const std::string& text) {
    if (text.empty() || text.size() > 1 || text[0] < '0' || text[0] > '9') return 0;
    const int value = text[0] - '0';
    return value >= kMinWindowScale && value <= kMaxWindowScale ? value : 0;
}

}  // namespace

std::string UsageText() {
    return "Usage: keelwright [OPTION] [WORKSPACE]\n"
           "Design ships from part images: set the parts up, list their prototypes,\n"
           "and grow test ships from them.\n"
           "\n"
           "The editor works in WORKSPACE (by default the current folder): it reads\n"
           "Media/ (the installed media when there is none) and keeps Designs/,\n"
           "ShipPics/ and ScreenShots/ there.\n"
           "\n"
           "  -h, --help     print this help and exit\n"
           "  -V, --version  print the version and exit\n"
           "  --scale N      show the 1024 x 768 screen N times as large (1 to 8); by\n"
           "                 default the largest that fits the display. The\n"
           "                 KEELWRIGHT_SCALE=N environment variable does the same\n"
           "  --             end of options: a WORKSPACE beginning with '-' (or named\n"
           "                 check, render, export or import) follows\n"
           "\n" +
           DesignVerbsUsage();
}

std::string DesignVerbsUsage() {
    return "Usage: keelwright check DESIGN_FOLDER [--json]\n"
           "Reads a design folder as the editor does and prints what is wrong, one\n"
           "finding a line ('file: what is wrong'), then a summary. --json prints JSON\n"
           "lines instead. Exit status: 0 nothing wrong, 1 findings, 2 the folder cannot\n"
           "be read.\n"
           "\n"
           "Usage: keelwright render DESIGN_FOLDER --count N --seed S [--size CLASS]\n"
           "                         [--depth D] [--jobs J] --out DIR\n"
           "Grows N random ships from prototype 0 by the design's rules and writes each\n"
           "as DESIGN-seedS-NNNN.png (370 x 290) and DESIGN-seedS-NNNN-CLASS.png, with\n"
           "one contact sheet DESIGN-seedS-sheet.png, into DIR (made if missing; nothing\n"
           "is written elsewhere). The same seed gives the same files everywhere.\n"
           "  --count N   ships, 1 to " + std::to_string(kMaxRenderCount) + "\n"
           "  --seed S    a whole number, 0 to 18446744073709551615\n"
           "  --size      tiny, small, medium (the default), large or huge\n"
           "  --depth D   parts from the root to the farthest leaf, 1 to " + std::to_string(kMaxGrowthDepth) +
           " (default " + std::to_string(kDefaultRenderDepth) + ")\n"
           "  --jobs J    worker processes drawing and writing ships, 1 to " + std::to_string(kMaxRenderJobs) +
           "\n              (default: the machine's cores; on Windows always one process);\n"
           "              the files do not depend on it\n" +
           "  Each ship has at most " + std::to_string(kMaxGrowthNodes) + " parts.\n"
           "Exit status: 0 all written, 1 nothing to draw or a file not written, 2 a wrong\n"
           "command line or a folder that cannot be read.\n"
           "\n"
           "Usage: keelwright export DESIGN_FOLDER [--out FILE]\n"
           "Writes the design as one JSON document (docs/design.schema.json): every\n"
           "prototype with its connections and every set-up part image. --out FILE\n"
           "writes it to FILE (replaced whole) instead of standard output.\n"
           "\n"
           "Usage: keelwright import FILE DESIGN_FOLDER\n"
           "Writes Prototypes.pt and the .spset files of a JSON document into the\n"
           "existing DESIGN_FOLDER, as the editor saves them. A document that is not\n"
           "valid, or names a part image that is no plain file name, writes nothing.\n"
           "Exit status: 0 done, 1 a file not written, 2 a wrong command line or\n"
           "document, or a folder that cannot be read.\n";
}

std::string VersionText() { return std::string("keelwright ") + KEELWRIGHT_VERSION + "\n"; }

CommandLineOutcome HandleCommandLine(const std::vector<std::string>& arguments) {
    if (!arguments.empty()) {
        const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
        if (arguments.front() == "check") return RunCheckVerb(rest);
        if (arguments.front() == "render") return RunRenderVerb(rest);
        if (arguments.front() == "export") return RunExportVerb(rest);
        if (arguments.front() == "import") return RunImportVerb(rest);
    }
    CLI::App parser("", "keelwright");
    PrepareParser(parser);
    std::vector<std::string> folders;
    bool help = false, version = false;
    parser.add_option("WORKSPACE", folders);
    parser.add_flag("-h,--help", help);
    parser.add_flag("-V,--version", version);
    std::string scaleText;
    parser.add_option("--scale", scaleText);
    const std::string why = ParseArguments(parser, arguments);
    // Help, version and an unknown option answer in the order given: "-h --bogus" helps.
    if (help || version) {
        for (const std::string& argument : arguments) {
            if (argument == "--") break;
            if (argument == "-h" || argument == "--help") return {0, UsageText(), ""};
            if (argument == "-V" || argument == "--version") return {0, VersionText(), ""};
            if (argument.size() > 1 && argument[0] == '-') break;
        }
        if (why.empty()) return help ? CommandLineOutcome{0, UsageText(), ""} : CommandLineOutcome{0, VersionText(), ""};
    }
    if (!why.empty()) return Refuse(why);
    if (folders.size() > 1) return Refuse("one workspace folder at most");
    CommandLineOutcome start;
    if (Given(parser, "--scale")) {
        start.scale = ScaleValue(scaleText);
        if (start.scale == 0) return Refuse("--scale takes a whole factor from 1 to 8, not '" + scaleText + "'");
    }
    if (folders.empty()) return start;

    const std::string& folder = folders.front();
    std::error_code error;
    if (folder.empty()) error = std::make_error_code(std::errc::no_such_file_or_directory);
    else std::filesystem::current_path(PathFromUtf8(folder), error);
    if (error) return {kUsageExitCode, "", "keelwright: cannot work in '" + folder + "': " + error.message() + "\n"};
    return start;
}

int ScaleFromEnvironment(const char* value) { return value ? ScaleValue(value) : 0; }
