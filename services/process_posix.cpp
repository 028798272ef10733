// The process on POSIX systems: arguments arrive as UTF-8 bytes, output
// goes where the shell sent it, and the launcher makes the user's workspace.
#include <csignal>

#include "services_internal.h"

std::vector<std::string> Process_Arguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

void Process_Prepare() {
    // Past a file-size limit a write then fails as on a full disk and the save
    // keeps the old file, where the signal's default would end us mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
}

std::string Process_UserWorkspace() { return {}; }
