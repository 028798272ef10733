// The user's own workspace where the program makes it itself (on Windows,
// where no launcher script does): the media and the sample design the
// program carries, copied in without ever overwriting the user's files.
#pragma once

#include <string>

// Makes the workspace on the first start, with the sample (programFolder's
// Sample) as Designs\1; adds the media (programFolder's Media) it lacks.
// False when the workspace folder cannot be had.
bool PrepareUserWorkspace(const std::string& workspace, const std::string& programFolder);
