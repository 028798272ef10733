// The process on Windows: arguments come as UTF-16 from the system, the
// program is a windowed one (no console of its own) whose verbs still print
// to the console they were started from, and the user's workspace is
// Documents\Keelwright.
#include "utf16_windows.h"

#include <shellapi.h>
#include <shlobj.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "paths.h"
#include "services_internal.h"

using namespace svc;

std::vector<std::string> Process_Arguments(int, char**) {
    // The narrow arguments are in the system's code page, which cannot hold every name.
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Narrow(wide[i]));
    LocalFree(wide);
    return arguments;
}

void Process_Prepare() {
    // Output a caller sent to a file or pipe goes there; otherwise to the
    // console of whoever started us, if any.
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const bool redirected = out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN;
    if (!redirected && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!std::freopen("CONOUT$", "w", stdout)) return;
        std::freopen("CONOUT$", "w", stderr);
    }
    // Texts are UTF-8, and lines end in "\n" as on every other system: what a
    // verb prints to a file is the same bytes wherever it ran.
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::string Process_UserWorkspace() {
    PWSTR documents = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &documents) != S_OK) {
        CoTaskMemFree(documents);
        return {};
    }
    std::string folder = Narrow(documents);
    CoTaskMemFree(documents);
    if (!folder.empty() && !IsPathSeparator(folder.back())) folder += '\\';
    return folder + "Keelwright";
}
