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

TEST(CommandLine, ScaleTakesAWholeFactorFromOneToEight) {
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        int scale;
        const char* err;  // part of what goes to standard error ("" = nothing)
    } cases[] = {
        {{}, kStartEditor, 0, ""},
        {{"--scale", "2"}, kStartEditor, 2, ""},
        {{"--scale=3"}, kStartEditor, 3, ""},
        {{"--scale", "1"}, kStartEditor, 1, ""},
        {{"--scale", "8"}, kStartEditor, 8, ""},
        {{"--scale", "9"}, kUsageExitCode, 0, "--scale takes a whole factor from 1 to 8, not '9'"},
        {{"--scale", "0"}, kUsageExitCode, 0, "not '0'"},
        {{"--scale", "1.5"}, kUsageExitCode, 0, "not '1.5'"},
        {{"--scale", "-2"}, kUsageExitCode, 0, ""},
        {{"--scale"}, kUsageExitCode, 0, "--scale needs a value"},
    };
    ScratchFolder scratch;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments.back());
        const CommandLineOutcome outcome = HandleCommandLine(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.err;
        EXPECT_EQ(outcome.scale, c.scale);
        EXPECT_TRUE(Has(outcome.err, c.err)) << outcome.err;
    }
    EXPECT_EQ(ScaleFromEnvironment(nullptr), 0);
    EXPECT_EQ(ScaleFromEnvironment("4"), 4);
    EXPECT_EQ(ScaleFromEnvironment("12"), 0) << "out of range: the largest that fits instead";
    EXPECT_EQ(ScaleFromEnvironment(""), 0);
}
