#include <gtest/gtest.h>

#include <fstream>

#include "command_line.h"
#include "scratch_folder.h"

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(CommandLine, OptionsAnswerAndEnd) {
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        const char* out;  // part of what goes to standard output ("" = nothing)
        const char* err;  // part of what goes to standard error ("" = nothing)
    } cases[] = {
        {{}, kStartEditor, "", ""},
        {{"--help"}, 0, "Usage: keelwright", ""},
        {{"-h", "--bogus"}, 0, "Usage: keelwright", ""},
        {{"--version"}, 0, "keelwright 0.", ""},
        {{"-V"}, 0, "keelwright 0.", ""},
        {{"--bogus"}, kUsageExitCode, "", "keelwright: unknown option '--bogus'\nUsage: keelwright"},
        {{"-x", "--help"}, kUsageExitCode, "", "unknown option '-x'"},
        {{"a", "b"}, kUsageExitCode, "", "one workspace folder at most\nUsage:"},
        {{"--", "--help"}, kUsageExitCode, "", "cannot work in '--help'"},
        {{"/no/such/folder"}, kUsageExitCode, "", "keelwright: cannot work in '/no/such/folder': "},
        {{""}, kUsageExitCode, "", "cannot work in ''"},
    };
    ScratchFolder scratch;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments.front());
        const CommandLineOutcome outcome = HandleCommandLine(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_TRUE(*c.out ? Has(outcome.out, c.out) : outcome.out.empty()) << outcome.out;
        EXPECT_TRUE(*c.err ? Has(outcome.err, c.err) : outcome.err.empty()) << outcome.err;
        EXPECT_EQ(fs::current_path(), scratch.Path()) << "refusals leave the working folder alone";
    }
    EXPECT_EQ(VersionText().back(), '\n');
}

TEST(CommandLine, WorkspaceFolderIsEnteredBeforeStartUp) {
    ScratchFolder scratch;
    fs::create_directories(scratch.Path() / "ws one" / "-dashed");
    std::ofstream(scratch.Path() / "a file") << "x";

    CommandLineOutcome outcome = HandleCommandLine({"ws one"});
    EXPECT_EQ(outcome.exitCode, kStartEditor);
    EXPECT_EQ(fs::current_path(), scratch.Path() / "ws one");
    outcome = HandleCommandLine({"--", "-dashed"});
    EXPECT_EQ(outcome.exitCode, kStartEditor) << outcome.err;
    EXPECT_EQ(fs::current_path(), scratch.Path() / "ws one" / "-dashed");

    fs::current_path(scratch.Path());
    outcome = HandleCommandLine({"a file"});
    EXPECT_EQ(outcome.exitCode, kUsageExitCode);
    EXPECT_TRUE(Has(outcome.err, "cannot work in 'a file': ")) << outcome.err;
    EXPECT_EQ(fs::current_path(), scratch.Path());
}
