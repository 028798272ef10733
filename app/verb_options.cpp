// CLI11 under the program's own messages.
#include "verb_options.h"

void PrepareParser(CLI::App& parser) {
    parser.set_help_flag();
    // Options begin with "-" everywhere: on Windows CLI11 would also take
    // "/name" for one, and "/Ships/Fleet" is a folder there too.
    parser.allow_windows_style_options(false);
    // Unknown options come back in remaining(), to be named here.
    parser.allow_extras();
    // As before: an option given twice takes its last value.
    parser.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

std::string ParseArguments(CLI::App& parser, const std::vector<std::string>& arguments) {
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        parser.parse(reversed);
    } catch (const CLI::ArgumentMismatch& error) {
        // Every option takes text, so a mismatch is a missing value.
        const std::string what = error.what();
        return what.substr(0, what.find(':')) + " needs a value";
    } catch (const CLI::ParseError& error) {
        return error.what();
    }
    for (const std::string& extra : parser.remaining())
        if (extra != "--" && extra.size() > 1 && extra[0] == '-') return "unknown option '" + extra.substr(0, extra.find('=')) + "'";
    return "";
}

bool Given(const CLI::App& parser, const std::string& option) { return parser.count(option) > 0; }
