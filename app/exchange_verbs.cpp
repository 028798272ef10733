// keelwright export DESIGN_FOLDER [--out FILE] and keelwright import FILE DESIGN_FOLDER.
#include <string>

#include "design_check.h"
#include "design_exchange.h"
#include "design_verbs.h"
#include "editor_objects.h"
#include "paths.h"
#include "services.h"
#include "verb_options.h"

namespace {

// Documents larger than this are no design: 2,000 parts take about 1.5 MB.
constexpr std::int64_t kMaxDocumentBytes = 256LL << 20;

CommandLineOutcome Usage(const std::string& verb, const std::string& why) {
    return {kVerbUnreadable, "", "keelwright " + verb + ": " + why + "\nTry 'keelwright --help'.\n"};
}

CommandLineOutcome Failed(const std::string& verb, int code, const std::string& why) {
    return {code, "", "keelwright " + verb + ": " + why + "\n"};
}

// The whole file through the file service; false when it cannot be read.
bool ReadDocumentFile(const std::string& path, std::string& text, std::string& why) {
    const std::int64_t size = File_Size(path);
    if (size == kFileMissing) return why = "no such file", false;
    if (size == kFileIsDirectory) return why = "a folder, not a file", false;
    if (size > kMaxDocumentBytes) return why = "too large for a design document", false;
    if (!File_OpenRead(kDesignFile, path)) return why = "cannot be read", false;
    text.assign(static_cast<std::size_t>(size), '\0');
    const int read = File_ReadData(kDesignFile, {reinterpret_cast<std::uint8_t*>(text.data()), text.size()});
    File_Close(kDesignFile);
    text.resize(static_cast<std::size_t>(read < 0 ? 0 : read));
    return true;
}

}  // namespace

CommandLineOutcome RunExportVerb(const std::vector<std::string>& arguments) {
    CLI::App parser("", "export");
    PrepareParser(parser);
    std::vector<std::string> folders;
    std::string out;
    parser.add_option("DESIGN_FOLDER", folders);
    parser.add_option("--out", out);
    if (const std::string why = ParseArguments(parser, arguments); !why.empty()) return Usage("export", why);
    if (folders.empty()) return Usage("export", "which design folder?");
    if (folders.size() > 1) return Usage("export", "one design folder only");
    const bool toFile = Given(parser, "--out");
    if (toFile && out.empty()) return Usage("export", "--out needs a file name");

    const std::string& folder = folders.front();
    if (!StartHeadlessServices()) return Failed("export", kVerbUnreadable, "the image service cannot start");
    DesignDocument document;
    const ExchangeOutcome read = ReadDesignDocument(folder, document);
    if (read.exitCode != 0) {
        EndHeadlessServices();
        return Failed("export", read.exitCode, QuoteName(folder) + ": " + read.reason);
    }
    const std::string json = DesignDocumentToJson(document);
    CommandLineOutcome outcome{0, "", ""};
    if (!toFile) {
        outcome.out = json;
    } else {
        // The safe save: a file already there stays whole until the new one is complete.
        const bool written = File_Create(kDesignFile, out) &&
                             (File_WriteData(kDesignFile, {reinterpret_cast<const std::uint8_t*>(json.data()), json.size()}),
                              File_Close(kDesignFile));
        if (!written) outcome = Failed("export", kExchangeNotWritten, "cannot write " + QuoteName(out));
    }
    EndHeadlessServices();
    return outcome;
}

CommandLineOutcome RunImportVerb(const std::vector<std::string>& arguments) {
    CLI::App parser("", "import");
    PrepareParser(parser);
    std::vector<std::string> names;
    parser.add_option("FILES", names);
    if (const std::string why = ParseArguments(parser, arguments); !why.empty()) return Usage("import", why);
    if (names.size() < 2) return Usage("import", names.empty() ? "which file?" : "into which design folder?");
    if (names.size() > 2) return Usage("import", "one file and one design folder only");
    const std::string &file = names[0], &folder = names[1];

    if (!StartHeadlessServices()) return Failed("import", kVerbUnreadable, "the image service cannot start");
    std::string text, why;
    CommandLineOutcome outcome{0, "", ""};
    if (!ReadDocumentFile(file, text, why)) {
        outcome = Failed("import", kExchangeRefused, QuoteName(file) + ": " + why);
    } else if (const DocumentReading reading = DesignDocumentFromJson(text); !reading.valid) {
        outcome = Failed("import", kExchangeRefused, QuoteName(file) + ": " + reading.error + "; nothing written");
    } else {
        const ExchangeOutcome written = WriteDesignDocument(reading.document, folder);
        if (written.exitCode == kExchangeRefused)
            outcome = Failed("import", kExchangeRefused, QuoteName(folder) + ": " + written.reason + "; nothing written");
        else if (written.exitCode != 0)
            outcome = Failed("import", written.exitCode, QuoteName(folder) + ": " + written.reason + " (" +
                                                             std::to_string(written.written) + " files written before)");
        else
            outcome.out = "wrote " + std::to_string(written.written) + (written.written == 1 ? " file" : " files") +
                          " into " + QuoteName(folder) + "\n";
    }
    EndHeadlessServices();
    return outcome;
}
