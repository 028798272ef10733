// The command lines of the editor and its verbs, read with CLI11 and
// answered in the program's own words ("unknown option '--x'", "--out needs a
// value"), which scripts and users already rely on.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

// Readies a parser for one verb (or the editor): no help flag of its own,
// unknown options left for ParseArguments to name.
void PrepareParser(CLI::App& parser);
// Parses the arguments (without the program or verb name): "" when they are
// sound, otherwise why not. Declare positionals as one vector, so that the
// caller can tell none from too many.
std::string ParseArguments(CLI::App& parser, const std::vector<std::string>& arguments);
// Whether an option was given on the command line.
bool Given(const CLI::App& parser, const std::string& option);
