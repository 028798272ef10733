// The command-line verbs that work on a design folder without a window:
// "check", "render", "export" and "import". Each takes the arguments after its name and returns
// what to print and the exit code; the services are started headless and
// ended again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "command_line.h"

// Exit codes of the verbs.
inline constexpr int kVerbFindings = 1;     // check: something is wrong; render: nothing could be drawn or written
inline constexpr int kVerbUnreadable = 2;   // the folder cannot be read, or the command line is wrong
// Ships one render run makes at most.
inline constexpr int kMaxRenderCount = 1000;
// Worker processes one render run uses at most (--jobs; the default is the machine's cores).
inline constexpr int kMaxRenderJobs = 64;
// Growth depth when none is given.
inline constexpr int kDefaultRenderDepth = 6;

// The help text of both verbs (part of --help).
std::string DesignVerbsUsage();
// keelwright check DESIGN_FOLDER [--json]
CommandLineOutcome RunCheckVerb(const std::vector<std::string>& arguments);
// keelwright render DESIGN_FOLDER --count N --seed S [--size CLASS] [--depth D] --out DIR
CommandLineOutcome RunRenderVerb(const std::vector<std::string>& arguments);

// keelwright export DESIGN_FOLDER [--out FILE]
CommandLineOutcome RunExportVerb(const std::vector<std::string>& arguments);
// keelwright import FILE DESIGN_FOLDER
CommandLineOutcome RunImportVerb(const std::vector<std::string>& arguments);

// Shared by the verbs: services without a window, and their end.
int StartHeadlessServices();
void EndHeadlessServices();
