// The Windows side of files: UTF-16 names, files on a disk only (no device
// such as CON or NUL), and saves written beside their target, flushed, and
// put in its place by ReplaceFileW or MoveFileExW. A reparse point (symbolic
// link or junction) at a saved name is taken as the POSIX side takes a link.
#include "utf16_windows.h"

#include <fcntl.h>
#include <io.h>

#include <cwctype>
#include <random>
#include <set>

#include "services_internal.h"
#include "paths.h"
#include "testing.h"

namespace svc {
namespace {

struct FileState {
    int saveLinks = kSaveFollowInside;  // how a link at a saved file's name is taken
    std::string refusal;                // why the last save was refused, "" when it was not
    std::set<std::wstring> swept;       // folders already rid of stale temporaries this run
};
FileState state;

// Opened for its facts only: no access asked, nothing kept from others.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A path split into its folder (used as it is, links included) and its own name.
struct SplitPath {
    std::wstring folder;
    std::wstring name;
};
SplitPath Split(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        // "C:name" is relative to that drive's current folder.
        if (path.size() >= 2 && path[1] == L':') return {path.substr(0, 2), path.substr(2)};
        return {L".", path};
    }
    // The root keeps its separator ("C:\", "\").
    const bool root = slash == 0 || (slash == 2 && path[1] == L':');
    return {path.substr(0, root ? slash + 1 : slash), path.substr(slash + 1)};
}
std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && IsWindowsSeparator(folder.back())) return folder + name;
    return folder + L'\\' + name;
}

// Names Windows gives to devices in every folder (with any extension).
bool IsDeviceName(const std::wstring& name) {
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && (base.back() == L' ')) base.pop_back();
    for (wchar_t& c : base) c = static_cast<wchar_t>(std::towupper(c));
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices)
        if (base == device) return true;
    return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

// The full, final name of what an open handle names ("\\?\" left off), empty when unknown.
std::wstring FinalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
    if (n >= path.size()) {
        path.resize(n + 1);
        n = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
    }
    if (n == 0 || n >= path.size()) return {};
    path.resize(n);
    if (path.rfind(L"\\\\?\\", 0) == 0) path.erase(0, 4);
    return path;
}

// The final name of a path, links followed; empty when it leads nowhere.
std::wstring FinalPathOf(const std::wstring& path) {
    const HANDLE h = CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::wstring final = FinalPath(h);
    CloseHandle(h);
    return final;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// What a name in a folder stands for. A reparse point is followed only
// where it ends at another name of the same folder.
struct Leaf {
    int link = kLinkNone;  // kLink*
    bool exists = false;   // the final name is there
    std::wstring name;     // the final name in the folder
    DWORD attributes = 0;  // its attributes when it exists (links not followed)
};
Leaf ResolveLeaf(const std::wstring& folder, const std::wstring& name) {
    Leaf leaf;
    leaf.name = name;
    const std::wstring path = Join(folder, name);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return leaf;
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        leaf.exists = true;
        leaf.attributes = attributes;
        return leaf;
    }
    leaf.link = kLinkOutside;
    const std::wstring target = FinalPathOf(path);
    const std::wstring home = FinalPathOf(folder);
    if (target.empty() || home.empty()) return leaf;  // dangling: never creates a file
    const SplitPath where = Split(target);
    if (!SameName(where.folder, home) || where.name.empty()) return leaf;
    const DWORD targetAttributes = GetFileAttributesW(Join(folder, where.name).c_str());
    if (targetAttributes == INVALID_FILE_ATTRIBUTES || (targetAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return leaf;
    leaf.link = kLinkInside;
    leaf.exists = true;
    leaf.name = where.name;
    leaf.attributes = targetAttributes;
    return leaf;
}

bool Refuse(const std::string& why) {
    state.refusal = why;
    return false;
}

// Removes our own temporaries that a save cut short left in the folder, once a run.
void SweepStaleTemporaries(const std::wstring& folder) {
    const std::wstring key = FinalPathOf(folder);
    if (key.empty() || !state.swept.insert(key).second) return;
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW(Join(folder, Wide(kTempPrefix) + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    FILETIME nowTime;
    GetSystemTimeAsFileTime(&nowTime);
    const ULONGLONG now = (static_cast<ULONGLONG>(nowTime.dwHighDateTime) << 32) | nowTime.dwLowDateTime;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        const ULONGLONG written =
            (static_cast<ULONGLONG>(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
        if (now > written && (now - written) / kFileTimeSecond > static_cast<ULONGLONG>(kStaleTempSeconds))
            DeleteFileW(Join(folder, found.cFileName).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

// A fresh temporary in the folder, as a C stream.
std::FILE* CreateTemp(const std::wstring& folder, std::wstring& path) {
    static std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t suffix[17];
        swprintf(suffix, 17, L"%016llx", static_cast<unsigned long long>(random()));
        path = Join(folder, Wide(kTempPrefix) + std::wstring(suffix, 6));
        const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) continue;
            return nullptr;
        }
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
        if (fd < 0) {
            CloseHandle(h);
            DeleteFileW(path.c_str());
            return nullptr;
        }
        std::FILE* file = _fdopen(fd, "wb");
        if (!file) {
            _close(fd);
            DeleteFileW(path.c_str());
        }
        return file;
    }
    return nullptr;
}

}  // namespace

std::FILE* OpenRegularFile(const std::string& osPath) {
    // Only files on a disk: a device (CON, a pipe) may never end. The open
    // handle is checked, which the name may no longer match.
    const std::wstring path = Wide(osPath);
    if (IsDeviceName(Split(path).name)) return nullptr;
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(h);
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        return nullptr;
    }
    std::FILE* f = _fdopen(fd, "rb");
    if (!f) _close(fd);
    return f;
}

// Opens a temporary file in the target's folder for a safe replace; the
// replace gives it the target's attributes and security.
std::FILE* BeginSave(const std::string& osPath, PendingSave& save) {
    state.refusal.clear();
    const SplitPath path = Split(Wide(osPath));
    if (path.name.empty() || IsDeviceName(path.name)) return nullptr;
    const DWORD folderAttributes = GetFileAttributesW(path.folder.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES || !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
    Leaf leaf;
    if (state.saveLinks == kSaveReplaceLinks) {
        leaf.name = path.name;
        leaf.attributes = GetFileAttributesW(Join(path.folder, path.name).c_str());
        leaf.exists = leaf.attributes != INVALID_FILE_ATTRIBUTES;
        if (leaf.exists && (leaf.attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            leaf.link = kLinkInside;  // replaced, never followed
            leaf.exists = false;
        }
    } else {
        leaf = ResolveLeaf(path.folder, path.name);
        if (leaf.link == kLinkOutside) {
            // Appended piece by piece: GCC 12 warns wrongly of an overlap in "..." + text.
            std::string why = "\"";
            why += Narrow(path.name);
            why += "\" is a link leading out of its folder; it is left as it is";
            Refuse(why);
            return nullptr;
        }
    }
    if (leaf.exists && (leaf.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE)))
        return nullptr;
    SweepStaleTemporaries(path.folder);
    std::wstring temp;
    std::FILE* file = CreateTemp(path.folder, temp);
    if (!file) return nullptr;
    save.tempName = Narrow(temp);
    save.targetName = Narrow(Join(path.folder, leaf.name));
    // A link kept at the name is replaced by moving over it, never through it.
    save.replacing = leaf.exists;
    return file;
}

bool CommitSave(PendingSave& save, bool written) {
    const std::wstring temp = Wide(save.tempName);
    const std::wstring target = Wide(save.targetName);
    bool ok = false;
    if (written) {
        // An existing file is replaced keeping its attributes and security; a
        // new name (or a link replaced) is moved to, through to the disk.
        ok = save.replacing &&
             ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
        ok = ok || MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!ok) DeleteFileW(temp.c_str());
    save = PendingSave{};
    return ok;
}

int SyncToDisk(int descriptor) {
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    return h != INVALID_HANDLE_VALUE && FlushFileBuffers(h) ? 0 : -1;
}

void EndSaves() { state = FileState{}; }

}  // namespace svc

using namespace svc;

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

int File_LinkKind(const std::string& path) {
    const SplitPath split = Split(Wide(path));
    if (split.name.empty()) return kLinkNone;
    return ResolveLeaf(split.folder, split.name).link;
}

void File_SetSaveLinks(int rule) { state.saveLinks = rule; }

std::string File_SaveRefusal() { return state.refusal; }

std::int64_t File_Size(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return kFileMissing;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return kFileIsDirectory;
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::string CurrentDirectory() {
    // Empty when it cannot be read: any directory given instead would send
    // every later path somewhere the user never chose.
    if (FailForced("cwd")) return {};
    const DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0) return {};
    std::wstring dir(n, L'\0');
    const DWORD got = GetCurrentDirectoryW(n, dir.data());
    if (got == 0 || got >= n) return {};
    dir.resize(got);
    if (dir.empty() || !IsWindowsSeparator(dir.back())) dir += L'\\';
    return Narrow(dir);
}
