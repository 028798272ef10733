// The services' per-frame work against the floor of copying one screen:
// background display, 80 labels, 40 boxes, colour-keyed sprites and the flip.
// Prints "NAME: MEDIAN us, RATIO x memcpy" per figure. Headless (dummy driver).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench_util.h"
#include "services.h"
#include "testing.h"

namespace {

constexpr const char* kFloor = "memcpy";
constexpr int kW = 1024, kH = 768;



void DrawLabels() {
    Draw_Begin(Draw_ScreenOutput());
    Draw_Mode(kDrawTransparent);
    Draw_Font(Font_Handle(1));
    for (int i = 0; i < 80; ++i) Draw_Text(10 + (i % 4) * 250, 10 + (i / 4) * 36, "Label " + std::to_string(i), 0x202020);
    Draw_End();
}

void DrawBoxes() {
    Draw_Begin(Draw_ScreenOutput());
    for (int i = 0; i < 40; ++i) Draw_Box(20 + (i % 8) * 120, 300 + (i / 8) * 60, 100, 22, 0xC0C0C0 + i);
    Draw_End();
}

void DisplayKeyed() {
    for (int i = 0; i < 6; ++i) Sprite_DisplayTransparent(2 + i % 2, 100 + i * 140, 600);
}

}  // namespace

int main() {
    Testing_UseHeadlessDrivers();
    if (!Sprite_Init() || !Window_Open(0, 0, 0, kW, kH, "bench", kWindowSystemMenu) ||
        !Screen_OpenInWindow(Window_Handle(0), 0, 0, kW, kH, 0, 0, 0) || !Font_Load(1, "Standard", 9, 0)) {
        std::fprintf(stderr, "services did not start\n");
        return 1;
    }
    // Background with detail, so no blit can take a shortcut on uniform data.
    Sprite_Create(1, kW, kH);
    Draw_Begin(Draw_SpriteOutput(1));
    for (int y = 0; y < kH; y += 8) Draw_Box(0, y, kW, 8, (y * 2654435761u) & 0xFFFFFF);
    Draw_End();
    // Pointer-sized and button-sized keyed sprites: a disc on black.
    for (int s : {2, 3}) {
        const int size = s == 2 ? 32 : 96;
        Sprite_Create(s, size, size);
        Draw_Begin(Draw_SpriteOutput(s));
        Draw_Circle(size / 2, size / 2, size / 2 - 2, 0x30A0F0);
        Draw_End();
    }

    std::vector<std::uint8_t> a(static_cast<std::size_t>(kW) * kH * 4, 1), b(a.size());
    const int runs = 200;
    const double floor = MedianMicros(runs, [&] {
        std::memcpy(b.data(), a.data(), a.size());
        a[b[12345] % a.size()]++;  // keep the copy observable
    });
    std::printf("memcpy_screen: %.1f us, 1.00 x memcpy\n", floor);

    Report("sprite_display_background", MedianMicros(runs, [] { Sprite_Display(1, 0, 0); }), floor, kFloor);
    Report("draw_text_80_labels", MedianMicros(runs, DrawLabels), floor, kFloor);
    Report("draw_box_40", MedianMicros(runs, DrawBoxes), floor, kFloor);
    Report("sprite_display_transparent_6", MedianMicros(runs, DisplayKeyed), floor, kFloor);
    Report("screen_flip", MedianMicros(runs, Screen_Flip), floor, kFloor);
    Report("frame_total", MedianMicros(runs, [] {
               Sprite_Display(1, 0, 0);
               DrawLabels();
               DrawBoxes();
               DisplayKeyed();
               Screen_Flip();
           }), floor, kFloor);

    // Saving a screenshot happens inside a frame: the fast PNG setting.
    const std::string shot = (std::filesystem::temp_directory_path() / "kw-bench-shot.png").string();
    Sprite_Grab(4, 0, 0, kW, kH);
    Report("sprite_save_png_screen", MedianMicros(10, [&] { Sprite_Save(4, shot, kPngEncoder); }), floor, kFloor);
    std::filesystem::remove(shot);
    Services_End();
    return 0;
}
