// Items done by worker copies of this process: every result comes back once,
// in item order, while the workers go on; a slow item holds up no other.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using WorkersTest = ScratchTest;

#ifndef _WIN32
// Files this process has open; -1 where the system does not tell.
int OpenFiles() {
    std::error_code error;
    int count = 0;
    for (std::filesystem::directory_iterator it("/proc/self/fd", error), end; !error && it != end; it.increment(error))
        ++count;
    return error ? -1 : count;
}

// Which process did the work.
Bytes ProcessTag() {
    const pid_t pid = ::getpid();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&pid);
    return Bytes(bytes, bytes + sizeof pid);
}
#endif

// Waits for a file another process makes; false when it never comes.
bool WaitForFile(const std::string& path) {
    for (int waited = 0; waited < 1000; ++waited) {
        if (std::filesystem::exists(path)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace

TEST_F(WorkersTest, EveryItemComesBackOnceInOrder) {
    constexpr int kItems = 23;
    for (const int workers : {1, 2, 3, 40}) {
        std::vector<int> order;
        bool bytesRight = true;
        // Early items take longest, so they finish after later ones.
        const int whole = Workers_Run(
            workers, kItems,
            [](int item) {
                std::this_thread::sleep_for(std::chrono::milliseconds(item < 3 ? 30 - 10 * item : 0));
                return Bytes(static_cast<std::size_t>(item) + 1, static_cast<std::uint8_t>(item));
            },
            [&](int item, const Bytes& bytes) {
                order.push_back(item);
                bytesRight = bytesRight && bytes == Bytes(static_cast<std::size_t>(item) + 1, static_cast<std::uint8_t>(item));
            });
        EXPECT_EQ(whole, 1) << workers << " workers";
        std::vector<int> expected(kItems);
        for (int i = 0; i < kItems; ++i) expected[static_cast<std::size_t>(i)] = i;
        EXPECT_EQ(order, expected) << workers << " workers";
        EXPECT_TRUE(bytesRight) << workers << " workers";
    }
    EXPECT_EQ(Workers_Run(2, 0, [](int) { return Bytes{}; }, [](int, const Bytes&) { ADD_FAILURE(); }), 1);
}

// A result is handed on as soon as every earlier one is in, not when the
// last worker ends: here the last item waits for the first one's result.
TEST_F(WorkersTest, AResultIsHandedOnWhileTheOthersAreStillAtWork) {
    const std::string marker = Path("first-result-taken");
    std::vector<Bytes> results;
    const int whole = Workers_Run(
        2, 2,
        [&](int item) {
            if (item == 0) return Bytes{1};
            return Bytes{static_cast<std::uint8_t>(WaitForFile(marker) ? 1 : 0)};
        },
        [&](int item, const Bytes& bytes) {
            if (item == 0) std::ofstream(marker).put('x');
            results.push_back(bytes);
        });
    EXPECT_EQ(whole, 1);
    EXPECT_EQ(results, (std::vector<Bytes>{{1}, {1}}));
}

#ifndef _WIN32
// Forked workers take the next free item: one stuck on a slow item leaves the
// rest to the other, which handing out items in turns would not.
TEST_F(WorkersTest, ASlowItemLeavesTheRestToTheOtherWorker) {
    constexpr int kItems = 20;
    std::vector<Bytes> doneBy(kItems);
    const int openBefore = OpenFiles();
    const int whole = Workers_Run(
        2, kItems,
        [](int item) {
            if (item == 0) std::this_thread::sleep_for(std::chrono::milliseconds(500));
            return ProcessTag();
        },
        [&](int item, const Bytes& bytes) { doneBy[static_cast<std::size_t>(item)] = bytes; });
    EXPECT_EQ(whole, 1);
    EXPECT_NE(doneBy[0], ProcessTag()) << "the items were done in this process";
    int withTheSlowOne = 0;
    for (const Bytes& tag : doneBy) withTheSlowOne += tag == doneBy[0];
    EXPECT_LT(withTheSlowOne, kItems / 2);
    EXPECT_EQ(OpenFiles(), openBefore) << "a worker's pipe was left open";
}

// A worker that ends on an item loses that item only: the others still come
// back, in order, and the run says it was not whole.
TEST_F(WorkersTest, AWorkerEndingEarlyLosesOnlyItsItem) {
    constexpr int kItems = 12, kFatal = 3;
    std::vector<int> order;
    const int whole = Workers_Run(
        2, kItems,
        [](int item) {
            if (item == kFatal) std::_Exit(3);
            return Bytes{static_cast<std::uint8_t>(item)};
        },
        [&](int item, const Bytes& bytes) {
            EXPECT_EQ(bytes, Bytes{static_cast<std::uint8_t>(item)});
            order.push_back(item);
        });
    EXPECT_EQ(whole, 0);
    std::vector<int> expected;
    for (int i = 0; i < kItems; ++i)
        if (i != kFatal) expected.push_back(i);
    EXPECT_EQ(order, expected);
}
#endif
