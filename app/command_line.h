// The command line: options, the workspace folder, and what main does next.
#pragma once

#include <string>
#include <vector>

// HandleCommandLine's exit code when the editor is to start.
inline constexpr int kStartEditor = -1;
// Exit code of a refused command line or workspace.
inline constexpr int kUsageExitCode = 2;

// What the command line asked for, and what to print.
struct CommandLineOutcome {
    int exitCode = kStartEditor;  // kStartEditor, or the code to exit with at once
    std::string out;              // for standard output
    std::string err;              // for standard error
    int scale = 0;                // --scale N; 0 = not given
};

// The factor a KEELWRIGHT_SCALE value asks for; 0 when unset or not 1 .. 8.
int ScaleFromEnvironment(const char* value);

// The usage text (--help).
std::string UsageText();
// "keelwright VERSION".
std::string VersionText();
// Reads the arguments (without the program name); on a workspace folder,
// changes into it. Prints nothing itself.
CommandLineOutcome HandleCommandLine(const std::vector<std::string>& arguments);
