// Changes on disk, the Windows way: ReadDirectoryChangesW on one folder,
// asked without waiting (overlapped) and read back once per poll.
#include "utf16_windows.h"

#include <deque>
#include <string>
#include <vector>

#include "services_internal.h"

namespace svc {
namespace {

// Written to, made, or renamed into the folder (how safe-saving programs replace a file).
constexpr DWORD kChangeFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;
// Read buffer: many changes a read, DWORD-aligned as Windows writes them.
constexpr std::size_t kChangeBytes = 16 * 1024;

struct WatchState {
    HANDLE folder = INVALID_HANDLE_VALUE;  // the watched folder, open for listing
    std::wstring path;                     // its path, to tell files from folders
    OVERLAPPED pending{};                  // the request under way
    bool asked = false;                    // a request is under way
    std::vector<DWORD> buffer;             // where Windows writes the changes
    std::deque<std::string> names;         // names read but not handed out, each once
};
WatchState watch;

void Close() {
    if (watch.folder != INVALID_HANDLE_VALUE) {
        CancelIoEx(watch.folder, &watch.pending);
        if (watch.asked) {
            DWORD ignored = 0;
            GetOverlappedResult(watch.folder, &watch.pending, &ignored, TRUE);
        }
        CloseHandle(watch.folder);
    }
    if (watch.pending.hEvent) CloseHandle(watch.pending.hEvent);
    watch = WatchState{};
}

void Queue(const std::string& name) {
    for (const std::string& waiting : watch.names)
        if (waiting == name) return;
    watch.names.push_back(name);
}

bool Ask() {
    ResetEvent(watch.pending.hEvent);
    watch.asked = ReadDirectoryChangesW(watch.folder, watch.buffer.data(),
                                        static_cast<DWORD>(watch.buffer.size() * sizeof(DWORD)), FALSE,
                                        kChangeFilter, nullptr, &watch.pending, nullptr) != 0;
    return watch.asked;
}

// Queues the names one completed read holds.
void QueueRead(DWORD got) {
    if (got == 0) {
        Queue(kWatchEverything);  // more changes than the buffer held
        return;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(watch.buffer.data());
    for (std::size_t at = 0;;) {
        const auto* change = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(bytes + at);
        const bool arrived = change->Action == FILE_ACTION_ADDED || change->Action == FILE_ACTION_MODIFIED ||
                             change->Action == FILE_ACTION_RENAMED_NEW_NAME;
        if (arrived) {
            const std::wstring name(change->FileName, change->FileNameLength / sizeof(WCHAR));
            const DWORD attributes = GetFileAttributesW((watch.path + L'\\' + name).c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
                Queue(Narrow(name));
        }
        if (change->NextEntryOffset == 0) break;
        at += change->NextEntryOffset;
    }
}

// Everything Windows has for us now, queued by name: one write can come back
// in several reads, and a name read twice in one poll is still handed out once.
void ReadChanges() {
    for (;;) {
        if (!watch.asked && !Ask()) return;
        DWORD got = 0;
        if (!GetOverlappedResult(watch.folder, &watch.pending, &got, FALSE)) return;  // nothing more yet
        watch.asked = false;
        QueueRead(got);
    }
}

}  // namespace

void EndWatch() { Close(); }

}  // namespace svc

using namespace svc;

int Watch_Folder(const std::string& folder) {
    Close();
    std::wstring path = Wide(folder);
    while (path.size() > 3 && IsWindowsSeparator(path.back())) path.pop_back();
    const HANDLE h = CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    watch.folder = h;
    watch.path = path;
    watch.pending.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    watch.buffer.resize(kChangeBytes / sizeof(DWORD));
    if (!watch.pending.hEvent || !Ask()) {
        Close();
        return 0;
    }
    return 1;
}

std::string Watch_NextChange() {
    if (watch.folder == INVALID_HANDLE_VALUE) return "";
    if (watch.names.empty()) ReadChanges();
    if (watch.names.empty()) return "";
    std::string name = std::move(watch.names.front());
    watch.names.pop_front();
    return name;
}

void Watch_End() { Close(); }
