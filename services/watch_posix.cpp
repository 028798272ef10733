// Changes on disk: the system's change notification (inotify) on one folder,
// read without waiting. Asking the system costs one read per poll however
// many files the folder holds; comparing every file's time would not.
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <string>

#include "services_internal.h"

namespace svc {
namespace {

// Written and closed, or renamed into the folder (how safe-saving programs replace a file).
constexpr std::uint32_t kChangeEvents = IN_CLOSE_WRITE | IN_MOVED_TO;
// Read buffer: many events a read, aligned as the kernel writes them.
constexpr std::size_t kEventBytes = 16 * 1024;

struct WatchState {
    int descriptor = -1;              // the inotify instance, -1 while nothing is watched
    std::deque<std::string> pending;  // names read but not handed out, each once
};
WatchState watch;

void Close() {
    if (watch.descriptor >= 0) close(watch.descriptor);
    watch = WatchState{};
}

void Queue(const std::string& name) {
    for (const std::string& waiting : watch.pending)
        if (waiting == name) return;
    watch.pending.push_back(name);
}

// Everything the system has for us now, queued by name.
void ReadEvents() {
    alignas(inotify_event) char buffer[kEventBytes];
    for (;;) {
        const ssize_t got = read(watch.descriptor, buffer, sizeof buffer);
        if (got <= 0) return;  // EAGAIN: nothing more waiting
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) Queue(kWatchEverything);
            else if ((event->mask & kChangeEvents) && !(event->mask & IN_ISDIR) && event->len > 0)
                Queue(std::string(event->name));  // the kernel pads the name with zeros
        }
    }
}

}  // namespace

void EndWatch() { Close(); }

}  // namespace svc

using namespace svc;

int Watch_Folder(const std::string& folder) {
    Close();
    const int descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (descriptor < 0) return 0;
    if (inotify_add_watch(descriptor, folder.c_str(), kChangeEvents | IN_ONLYDIR) < 0) {
        close(descriptor);
        return 0;
    }
    watch.descriptor = descriptor;
    return 1;
}

std::string Watch_NextChange() {
    if (watch.descriptor < 0) return "";
    if (watch.pending.empty()) ReadEvents();
    if (watch.pending.empty()) return "";
    std::string name = std::move(watch.pending.front());
    watch.pending.pop_front();
    return name;
}

void Watch_End() { Close(); }
