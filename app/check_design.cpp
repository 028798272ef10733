// keelwright check: one finding a line, then a summary; or JSON lines.
#include <string>

#include "design_check.h"
#include "design_model.h"
#include "design_verbs.h"
#include "paths.h"
#include "services.h"
#include "testing.h"

namespace {

// A JSON string: quotes, backslashes and control characters escaped; bytes
// that are no UTF-8 become U+FFFD, so every line parses.
std::string JsonString(const std::string& text) {
    static const char* const kHex = "0123456789abcdef";
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\', out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\u00", out += kHex[c >> 4], out += kHex[c & 15];
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            std::size_t n = (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
            bool whole = n > 0 && i + n <= text.size() && !(n == 2 && c < 0xC2);
            for (std::size_t k = 1; whole && k < n; ++k) whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
            if (!whole) {
                out += "\\ufffd";
            } else {
                out.append(text, i, n);
                i += n - 1;
            }
        }
    }
    return out + "\"";
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
    std::string folder;
    bool json = false, haveFolder = false, optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") optionsEnded = true;
        else if (!optionsEnded && argument == "--json") json = true;
        else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') return Usage("unknown option '" + argument + "'");
        else if (haveFolder) return Usage("one design folder only");
        else folder = argument, haveFolder = true;
    }
    if (!haveFolder) return Usage("which design folder?");

    if (!StartHeadlessServices()) return {kVerbUnreadable, "", "keelwright check: the image service cannot start\n"};
    const DesignCheck check = CheckDesignFolder(folder);
    EndHeadlessServices();

    CommandLineOutcome outcome;
    if (!check.readable) {
        outcome.exitCode = kVerbUnreadable;
        outcome.err = "keelwright check: " + QuoteName(folder) + ": " + check.failure + "\n";
        if (json) outcome.out = "{\"error\":" + JsonString(check.failure) + ",\"folder\":" + JsonString(folder) + "}\n";
        return outcome;
    }
    for (const DesignFinding& finding : check.findings) {
        if (json)
            outcome.out += "{\"file\":" + JsonString(finding.file) + ",\"kind\":\"" + FindingKindName(finding.kind) +
                           "\",\"message\":" + JsonString(finding.message) + "}\n";
        else
            outcome.out += PrintableFile(finding.file) + ": " + finding.message + "\n";
    }
    const std::size_t n = check.findings.size();
    if (json)
        outcome.out += "{\"summary\":{\"findings\":" + std::to_string(n) + ",\"images\":" + std::to_string(check.images) +
                       ",\"prototypes\":" + std::to_string(check.prototypes) + "}}\n";
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
