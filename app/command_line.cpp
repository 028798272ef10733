// keelwright [--help | --version] [WORKSPACE]
#include "command_line.h"

#include <filesystem>
#include <system_error>

namespace {

CommandLineOutcome Refuse(const std::string& why) {
    return {kUsageExitCode, "", "keelwright: " + why + "\n" + UsageText()};
}

}  // namespace

std::string UsageText() {
    return "Usage: keelwright [OPTION] [WORKSPACE]\n"
           "Design ships from part images: set the parts up, list their prototypes,\n"
           "and grow test ships from them.\n"
           "\n"
           "The editor works in WORKSPACE (by default the current folder): it reads\n"
           "Media/ and keeps Designs/, ShipPics/ and ScreenShots/ there.\n"
           "\n"
           "  -h, --help     print this help and exit\n"
           "  -V, --version  print the version and exit\n"
           "  --             end of options: a WORKSPACE beginning with '-' follows\n";
}

std::string VersionText() { return std::string("keelwright ") + KEELWRIGHT_VERSION + "\n"; }

CommandLineOutcome HandleCommandLine(const std::vector<std::string>& arguments) {
    std::vector<std::string> folders;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "-h" || argument == "--help")) {
            return {0, UsageText(), ""};
        } else if (!optionsEnded && (argument == "-V" || argument == "--version")) {
            return {0, VersionText(), ""};
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            return Refuse("unknown option '" + argument + "'");
        } else {
            folders.push_back(argument);
        }
    }
    if (folders.size() > 1) return Refuse("one workspace folder at most");
    if (folders.empty()) return {};

    const std::string& folder = folders.front();
    std::error_code error;
    if (folder.empty()) error = std::make_error_code(std::errc::no_such_file_or_directory);
    else std::filesystem::current_path(folder, error);
    if (error) return {kUsageExitCode, "", "keelwright: cannot work in '" + folder + "': " + error.message() + "\n"};
    return {};
}
