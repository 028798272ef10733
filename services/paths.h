// Paths the operating system gives, and what File_Size says of one. A folder
// the user or the system gave is taken as it is: in a path that starts with
// it, only the rest has its "\" translated to the separator.
#pragma once

#include <cstdint>
#include <string>

// File_Size results other than a size.
inline constexpr std::int64_t kFileMissing = -1;
inline constexpr std::int64_t kFileIsDirectory = -2;

std::string ProgramDirectory();                    // the running program's folder, ends with the separator; empty when unknown
void Path_KeepAsGiven(const std::string& folder);  // paths starting with this folder keep its "\" as a character
