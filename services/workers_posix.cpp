// Worker processes the POSIX way: a forked copy starts with every object this
// process holds (pictures, images, the design), so no worker has to set
// anything up, and no state is shared while they run. Each item's result
// bytes come back through a pipe. The items are handed out as the workers
// ask, through a counter the copies share, so none waits on a slower one.
#include <poll.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "services_internal.h"

namespace svc {
namespace {

// One result on the pipe: item number and size, then the bytes.
struct ResultHeader {
    std::int32_t item;
    std::uint32_t size;
};

bool WriteAll(int fd, const void* data, std::size_t size) {
    const auto* at = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = write(fd, at, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// What a worker has sent so far, parsed into results as whole ones arrive.
struct Channel {
    int fd = -1;                        // read end of the worker's pipe, -1 once it ended
    pid_t pid = -1;                     // the worker
    std::vector<std::uint8_t> pending;  // bytes not yet forming a whole result
};

void TakeResults(Channel& channel, ResultsInOrder& results) {
    std::size_t at = 0;
    while (channel.pending.size() - at >= sizeof(ResultHeader)) {
        ResultHeader header;
        std::memcpy(&header, channel.pending.data() + at, sizeof header);
        if (channel.pending.size() - at - sizeof header < header.size) break;
        const auto first = channel.pending.begin() + static_cast<std::ptrdiff_t>(at + sizeof header);
        results.Arrive(header.item, std::vector<std::uint8_t>(first, first + header.size));
        at += sizeof header + header.size;
    }
    channel.pending.erase(channel.pending.begin(), channel.pending.begin() + static_cast<std::ptrdiff_t>(at));
}

// The next item not yet taken, one counter for this process and its copies.
// The memory is shared, so the counter must not need a lock of this process.
using SharedCounter = std::atomic<int>;
static_assert(SharedCounter::is_always_lock_free);

SharedCounter* MakeSharedCounter() {
    void* memory = mmap(nullptr, sizeof(SharedCounter), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    return memory == MAP_FAILED ? nullptr : new (memory) SharedCounter(0);
}

// A worker: takes items until none is left, then ends without running this
// process's exit handlers (they belong to the parent).
[[noreturn]] void RunWorker(int fd, SharedCounter& next, int items, const WorkerItem& work) {
    bool sent = true;
    for (int item = next.fetch_add(1); item < items && sent; item = next.fetch_add(1)) {
        const std::vector<std::uint8_t> result = work(item);
        const ResultHeader header{item, static_cast<std::uint32_t>(result.size())};
        sent = WriteAll(fd, &header, sizeof header) && WriteAll(fd, result.data(), result.size());
    }
    close(fd);
    _exit(sent ? 0 : 1);
}

// Starts up to `workers` copies, each taking items from `next`; as many as
// could be made.
std::vector<Channel> StartWorkers(int workers, SharedCounter& next, int items, const WorkerItem& work) {
    std::vector<Channel> channels;
    for (int worker = 0; worker < workers; ++worker) {
        int ends[2];
        if (pipe(ends) != 0) break;
        std::fflush(nullptr);  // nothing buffered is written twice
        const pid_t pid = fork();
        if (pid == 0) {
            close(ends[0]);
            for (const Channel& other : channels) close(other.fd);
            RunWorker(ends[1], next, items, work);
        }
        close(ends[1]);
        if (pid < 0) {
            close(ends[0]);
            break;
        }
        channels.push_back({ends[0], pid, {}});
    }
    return channels;
}

// Reads every pipe as it fills, so no worker waits on a full one, until all
// have ended; false when one did not end normally.
bool CollectResults(std::vector<Channel>& channels, ResultsInOrder& results) {
    bool whole = true;
    std::vector<std::uint8_t> buffer(std::size_t{1} << 16);
    for (std::size_t open = channels.size(); open > 0;) {
        std::vector<pollfd> polls;
        for (const Channel& c : channels)
            if (c.fd >= 0) polls.push_back({c.fd, POLLIN, 0});
        if (poll(polls.data(), polls.size(), -1) < 0) {
            if (errno == EINTR) continue;
            whole = false;
            break;
        }
        for (Channel& c : channels) {
            if (c.fd < 0) continue;
            const auto it = std::find_if(polls.begin(), polls.end(), [&](const pollfd& p) { return p.fd == c.fd; });
            if (it == polls.end() || !it->revents) continue;
            const ssize_t n = read(c.fd, buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR) continue;
            if (n > 0) {
                c.pending.insert(c.pending.end(), buffer.begin(), buffer.begin() + n);
                TakeResults(c, results);
                continue;
            }
            close(c.fd);
            c.fd = -1;
            --open;
        }
    }
    for (Channel& c : channels) {
        if (c.fd >= 0) close(c.fd);
        int status = 0;
        while (waitpid(c.pid, &status, 0) < 0 && errno == EINTR) {
        }
        whole = whole && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return whole;
}

}  // namespace

bool RunInWorkers(int workers, int items, const WorkerItem& work, ResultsInOrder& results) {
    SharedCounter* next = MakeSharedCounter();
    std::vector<Channel> channels;
    if (next) channels = StartWorkers(workers, *next, items, work);
    bool whole = true;
    // Fewer copies than asked for only take longer: those running share out
    // every item. With none, the items are done here.
    if (channels.empty()) RunHere(items, work, results);
    else whole = CollectResults(channels, results);
    if (next) munmap(next, sizeof(SharedCounter));
    return whole;
}

}  // namespace svc
