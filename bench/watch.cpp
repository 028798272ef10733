// Watching a design folder of 2,000 part images for changes, per frame:
// the poll with nothing changed, and the poll that takes one changed file's
// report, against one memcpy of the 1024 x 768 screen.
// Prints "NAME: MEDIAN us, RATIO x FLOOR".
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "services.h"
#include "testing.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFloor = "memcpy_screen";
constexpr int kImages = 2000;
constexpr int kRuns = 200;

// Every report waiting now; how many there were.
int TakeChanges() {
    int n = 0;
    while (!Watch_NextChange().empty()) ++n;
    return n;
}

}  // namespace

int main() {
    std::string templ = (fs::temp_directory_path() / "kw-bench-watch-XXXXXX").string();
    if (!mkdtemp(templ.data())) return 1;
    const fs::path folder = templ;
    for (int i = 0; i < kImages; ++i) std::ofstream(folder / ("part" + std::to_string(i) + ".png")) << "x";
    if (!Watch_Folder(folder.string())) {
        std::fprintf(stderr, "cannot watch %s\n", folder.c_str());
        return 1;
    }

    std::vector<std::uint8_t> a(std::size_t{1024} * 768 * 4, 1), b(a.size());
    const double floor = MedianMicros(kRuns, [&] {
        std::memcpy(b.data(), a.data(), a.size());
        a[b[12345] % a.size()]++;  // keep the copy observable
    });
    std::printf("%s: %.1f us, 1.00 x %s\n", kFloor, floor, kFloor);
    Report("watch_poll_2000_images_idle", MedianMicros(kRuns, [] { TakeChanges(); }), floor, kFloor);

    // One image saved by another program before each poll (the save untimed).
    std::vector<double> times;
    int seen = 0;
    for (int run = 0; run < kRuns; ++run) {
        std::ofstream(folder / ("part" + std::to_string(run % kImages) + ".png")) << "y";
        const auto t0 = std::chrono::steady_clock::now();
        seen += TakeChanges();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    Report("watch_poll_2000_images_one_changed", times[times.size() / 2], floor, kFloor);
    std::printf("changes_seen: %d of %d\n", seen, kRuns);
    Watch_End();
    fs::remove_all(folder);
    return 0;
}
