// What the editor's frame benchmarks share: a scratch workspace with the
// generated media, headless drivers and the manual clock, and the floor of
// copying one screen.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_util.h"
#include "testing.h"

namespace fs = std::filesystem;

// A fresh workspace in the temporary folder, entered, with the media the
// build generated beside this program's folder.
inline fs::path EnterBenchWorkspace(const char* argv0, const std::string& name) {
    Testing_UseHeadlessDrivers();
    const fs::path media = fs::absolute(argv0).parent_path().parent_path() / "Media";
    const fs::path work = fs::temp_directory_path() / name;
    fs::remove_all(work);
    fs::create_directories(work);
    if (fs::exists(media)) fs::copy(media, work / "Media");
    else std::fprintf(stderr, "no media at %s: measuring without background and pointer\n", media.c_str());
    fs::current_path(work);
    Testing_UseManualClock(true);
    return work;
}

inline void LeaveBenchWorkspace(const fs::path& work) {
    fs::current_path(work.parent_path());
    fs::remove_all(work);
}

// Median time of copying one 1024 x 768 screen of 32-bit pixels.
inline double ScreenCopyFloor(int runs) {
    std::vector<std::uint8_t> a(std::size_t{1024} * 768 * 4, 1), b(a.size());
    return MedianMicros(runs, [&] {
        std::memcpy(b.data(), a.data(), a.size());
        a[b[12345] % a.size()]++;
    });
}
