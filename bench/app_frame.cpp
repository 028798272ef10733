// The idle editor's frame (input, background, gadgets, pointer, flip) with
// the pacing sleep taken out by the manual clock, against the floor of
// copying one screen. Divided by the 30 ms frame it is the idle CPU load.
// Prints "NAME: MEDIAN us, RATIO x memcpy". Headless (dummy driver).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app.h"
#include "bench_util.h"
#include "services.h"
#include "testing.h"

namespace fs = std::filesystem;

namespace {


}  // namespace

int main(int, char** argv) {
    Testing_UseHeadlessDrivers();
    // The generated media sit in the build folder, one level above this program's.
    const fs::path media = fs::absolute(argv[0]).parent_path().parent_path() / "Media";
    const fs::path work = fs::temp_directory_path() / "keelwright-bench-app";
    fs::remove_all(work);
    fs::create_directories(work);
    if (fs::exists(media)) fs::copy(media, work / "Media");
    else std::fprintf(stderr, "no media at %s: measuring without background and pointer\n", media.c_str());
    fs::current_path(work);

    Testing_UseManualClock(true);
    if (!StartEditor()) {
        std::fprintf(stderr, "keelwright: %s\n", editor.StartupFailure.c_str());
        return 1;
    }
    const int kW = 1024, kH = 768;
    std::vector<std::uint8_t> a(static_cast<std::size_t>(kW) * kH * 4, 1), b(a.size());
    const int runs = 200;
    const double floor = MedianMicros(runs, [&] {
        std::memcpy(b.data(), a.data(), a.size());
        a[b[12345] % a.size()]++;
    });
    int step = 0;
    const double frame = MedianMicros(runs, [&] {
        Testing_MouseMove(100 + step % 800, 100 + step % 600);
        ++step;
        RunFrame();
    });
    Report("idle_frame", frame, floor, "memcpy");
    EndEditor();
    fs::current_path(work.parent_path());
    fs::remove_all(work);
    return 0;
}
