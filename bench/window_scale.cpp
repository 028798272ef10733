// The scaled flip: the 1024 x 768 screen shown at factor 2 in a 2048 x 1536
// window, every row changed each frame (the worst case), against one memcpy
// of the window's pixels; and a flip of an unchanged screen.
// Prints "NAME: MEDIAN us, RATIO x FLOOR". Headless (dummy driver).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench_util.h"
#include "services.h"
#include "testing.h"

namespace {

constexpr const char* kFloor = "memcpy_window";
constexpr int kW = 1024, kH = 768, kScale = 2;
constexpr int kRuns = 100;

// A screen of stripes that differs on every row from the previous frame's.
void ChangeEveryRow(int frame) {
    Draw_Begin(Draw_ScreenOutput());
    for (int y = 0; y < kH; y += 4) Draw_Box(0, y, kW, 4, static_cast<int>((y + frame) * 2654435761u) & 0xFFFFFF);
    Draw_End();
}

// Median time of Screen_Flip alone, the screen changed (or not) before each, untimed.
double FlipMicros(bool change) {
    std::vector<double> times;
    for (int run = 0; run <= kRuns; ++run) {
        if (change) ChangeEveryRow(run);
        const auto t0 = std::chrono::steady_clock::now();
        Screen_Flip();
        if (run > 0) times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    Testing_UseHeadlessDrivers();
    if (!Sprite_Init() || !Window_Open(0, 0, 0, kW * kScale, kH * kScale, "bench", kWindowSystemMenu) ||
        !Screen_OpenInWindow(Window_Handle(0), 0, 0, kW, kH, 0, 0, 0) || Screen_Scale() != kScale) {
        std::fprintf(stderr, "services did not start at factor %d\n", kScale);
        return 1;
    }
    std::vector<std::uint8_t> a(static_cast<std::size_t>(kW) * kH * kScale * kScale * 4, 1), b(a.size());
    const double floor = MedianMicros(kRuns, [&] {
        std::memcpy(b.data(), a.data(), a.size());
        a[b[12345] % a.size()]++;  // keep the copy observable
    });
    std::printf("%s: %.1f us, 1.00 x %s\n", kFloor, floor, kFloor);
    Report("scaled_flip_x2_every_row_changed", FlipMicros(true), floor, kFloor);
    Report("scaled_flip_x2_unchanged", FlipMicros(false), floor, kFloor);
    Services_End();
    return 0;
}
