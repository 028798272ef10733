// Copies that never overwrite (the Windows side): a file brought into the
// user's folder takes a name nobody holds, and a link in that place is never
// written through.
#include "utf16_windows.h"

#include <algorithm>
#include <vector>

#include "services_internal.h"

namespace svc {
namespace {

// Bytes one WriteFile call takes at most.
constexpr std::size_t kWriteChunk = std::size_t{1} << 24;

bool WriteAll(HANDLE file, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min(bytes.size() - done, kWriteChunk));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// The volume and the file's number there, which name one file whatever its path.
bool Identity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE h = CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    return ok;
}

}  // namespace
}  // namespace svc

using namespace svc;

int File_CopyNew(const std::string& source, const std::string& target) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(source, bytes, kMaxCopyBytes)) return kCopyFailed;
    const std::wstring to = Wide(target);
    // CREATE_NEW: a name that is taken (a link included) is never written through.
    const HANDLE file = CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? kCopyNameTaken : kCopyFailed;
    }
    const bool written = WriteAll(file, bytes) && FlushFileBuffers(file);
    if (!CloseHandle(file) || !written) {
        DeleteFileW(to.c_str());  // ours alone: made by this open
        return kCopyFailed;
    }
    return kCopyDone;
}

int File_Same(const std::string& first, const std::string& second) {
    BY_HANDLE_FILE_INFORMATION a, b;
    if (!Identity(first, a) || !Identity(second, b)) return 0;
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
                   a.nFileIndexLow == b.nFileIndexLow
               ? 1
               : 0;
}
