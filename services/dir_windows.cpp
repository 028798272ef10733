// The Windows side of folders: names from FindFirstFileW, facts from the
// file's attributes, all through UTF-16.
#include "utf16_windows.h"

#include "services_internal.h"

namespace svc {
namespace {

// FILETIME counts from 1601; time_t seconds from 1970.
constexpr ULONGLONG kFileTimeTo1970 = 11644473600ULL * kFileTimeSecond;

std::time_t Seconds(const FILETIME& t) {
    const ULONGLONG steps = (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    if (steps < kFileTimeTo1970) return 0;
    return static_cast<std::time_t>((steps - kFileTimeTo1970) / kFileTimeSecond);
}

// The attributes a scan reports, in the numbering Dir_EntryAttributes gives them.
int ScanAttributes(DWORD attributes) {
    int bits = 0;
    if (attributes & FILE_ATTRIBUTE_HIDDEN) bits |= kAttrHidden;
    if (attributes & FILE_ATTRIBUTE_SYSTEM) bits |= kAttrSystem;
    if (attributes & FILE_ATTRIBUTE_ARCHIVE) bits |= kAttrArchive;
    if (attributes & FILE_ATTRIBUTE_COMPRESSED) bits |= kAttrCompressed;
    return bits;
}

}  // namespace

bool ListFolder(const std::string& folder, std::vector<std::string>& names) {
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW(Wide(folder + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty root
    do names.push_back(Narrow(found.cFileName));
    while (FindNextFileW(find, &found));
    FindClose(find);
    return true;
}

bool ExamineEntry(const std::string& path, EntryFacts& facts) {
    // Opened to follow a link to what it names, as stat does.
    const HANDLE h = CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (!ok) return false;
    facts.directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    facts.created = Seconds(info.ftCreationTime);
    facts.accessed = Seconds(info.ftLastAccessTime);
    facts.modified = Seconds(info.ftLastWriteTime);
    facts.attributes = ScanAttributes(info.dwFileAttributes);
    // Windows ignores the read-only bit on folders (it marks them customised).
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) && !facts.directory) facts.attributes |= kAttrReadOnly;
    return true;
}

bool EntryReadOnly(const std::string&, const EntryFacts& facts) { return (facts.attributes & kAttrReadOnly) != 0; }

bool MakeFolder(const std::string& path) { return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0; }

}  // namespace svc
