// Timing and reporting shared by the benchmarks: every figure is the median
// of several runs, printed next to a floor measured in the same run.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

// Median wall time of `runs` calls of `work`, in microseconds, after one
// untimed call that warms caches and lazily built state.
inline double MedianMicros(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    times.reserve(static_cast<size_t>(runs));
    work();
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times.empty() ? 0.0 : times[times.size() / 2];
}

// One line "NAME: MEDIAN us, RATIO x FLOORNAME".
inline void Report(const char* name, double us, double floor, const char* floorName) {
    std::printf("%s: %.1f us, %.2f x %s\n", name, us, floor > 0 ? us / floor : 0.0, floorName);
}
