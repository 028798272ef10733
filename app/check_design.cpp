// keelwright check: one finding a line, then a summary; or JSON lines.
#include <string>

#include <nlohmann/json.hpp>

#include "design_check.h"
#include "design_model.h"
#include "design_verbs.h"
#include "paths.h"
#include "services.h"
#include "testing.h"
#include "text_bytes.h"
#include "verb_options.h"

namespace {

// One JSON line, in ASCII: every other character is a \u escape, so no
// control character reaches a terminal. Bytes that are no UTF-8 (stray
// bytes, overlong forms, encoded surrogates) become \ufffd; the exact bytes
// of such a file name go in "fileHex".
std::string JsonLine(const nlohmann::ordered_json& value) {
    return value.dump(-1, ' ', true, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

// A file name as it is when it prints on one line, else quoted with escapes.
std::string PrintableFile(const std::string& name) {
    const std::string quoted = QuoteName(name);
    return quoted == "\"" + name + "\"" ? name : quoted;
}

CommandLineOutcome Usage(const std::string& why) {
    return {kVerbUnreadable, "", "keelwright check: " + why + "\nTry 'keelwright --help'.\n"};
}

}  // namespace

CommandLineOutcome RunCheckVerb(const std::vector<std::string>& arguments) {
    CLI::App parser("", "check");
    PrepareParser(parser);
    std::vector<std::string> folders;
    bool json = false;
    parser.add_option("DESIGN_FOLDER", folders);
    parser.add_flag("--json", json);
    if (const std::string why = ParseArguments(parser, arguments); !why.empty()) return Usage(why);
    if (folders.empty()) return Usage("which design folder?");
    if (folders.size() > 1) return Usage("one design folder only");
    const std::string& folder = folders.front();

    if (!StartHeadlessServices()) return {kVerbUnreadable, "", "keelwright check: the image service cannot start\n"};
    const DesignCheck check = CheckDesignFolder(folder);
    EndHeadlessServices();

    CommandLineOutcome outcome;
    if (!check.readable) {
        outcome.exitCode = kVerbUnreadable;
        outcome.err = "keelwright check: " + QuoteName(folder) + ": " + check.failure + "\n";
        if (json) outcome.out = JsonLine({{"error", check.failure}, {"folder", folder}});
        return outcome;
    }
    for (const DesignFinding& finding : check.findings) {
        if (json) {
            nlohmann::ordered_json line = {{"file", finding.file}};
            if (!IsWellFormedUtf8(finding.file)) line["fileHex"] = HexFromBytes(finding.file);
            line["kind"] = FindingKindName(finding.kind);
            line["message"] = finding.message;
            outcome.out += JsonLine(line);
        } else {
            outcome.out += PrintableFile(finding.file) + ": " + finding.message + "\n";
        }
    }
    const std::size_t n = check.findings.size();
    if (json)
        outcome.out += JsonLine(
            {{"summary", {{"findings", n}, {"images", check.images}, {"prototypes", check.prototypes}}}});
    else
        outcome.out += std::to_string(n) + (n == 1 ? " finding" : " findings") + " in " + std::to_string(check.images) +
                       " part images and " + std::to_string(check.prototypes) + " prototypes\n";
    outcome.exitCode = n == 0 ? 0 : kVerbFindings;
    return outcome;
}

int StartHeadlessServices() {
    // No window is ever opened: the dummy driver keeps a display out of it.
    Testing_UseHeadlessDrivers();
    design = DesignState{};
    return Sprite_Init();
}

void EndHeadlessServices() {
    design = DesignState{};
    Picture_SetBudget(0);
    Services_End();
}
