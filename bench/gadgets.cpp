// One frame of the toolkit: Gadget_Layout, Gadget_DrawAll and Gadget_ProcessEvents over 40
// gadgets of mixed kinds (two lists of 200 rows, an Editor of 50 lines),
// against a memcpy of one 1024 x 768 x 4-byte screen measured in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gadget.h"
#include "bench_util.h"
#include "editor_state.h"
#include "services.h"
#include "testing.h"

namespace {

constexpr int kRuns = 200;


void CreateGadgets() {
    Gadget_SetDefaultFillMode(0);
    Gadget_SetDefaultTextColor(kEditorTextColour);
    int n = 0;
    for (int i = 0; i < 12; ++i)
        Gadget_CreateButton(n++, 10 + (i % 4) * 110, 10 + (i / 4) * 30, 100, 24, "Button " + std::to_string(i),
                            i % 3 == 0 ? 0x1003 : 0);
    for (int i = 0; i < 8; ++i)
        Gadget_CreateText(n++, 460, 10 + i * 24, 150, 20, "Label " + std::to_string(i), i % 2 ? 0x20000 : 0);
    for (int i = 0; i < 8; ++i)
        Gadget_CreateTextField(n++, 620, 10 + i * 28, 180, 24, "Field text " + std::to_string(i), i == 3 ? 0x20 : 0);
    for (int i = 0; i < 6; ++i) Gadget_CreateFrame(n++, 10 + i * 160, 700, 150, 50, "Frame", i % 3);

    const int image = Image_Create(kServiceAuto, 32, 32);
    for (int i = 0; i < 2; ++i) Gadget_CreateImageButton(n++, 820 + i * 50, 10, 40, 40, Image_Handle(image), 0x1003);

    for (int l = 0; l < 2; ++l) {
        const int list = n++;
        Gadget_CreateColumnList(list, 10 + l * 330, 250, 300, 400, "Name", 120, 0x10008);
        Gadget_AddColumn(list, 1, "Size", 80);
        Gadget_AddColumn(list, 2, "Type", 80);
        for (int r = 0; r < 200; ++r)
            Gadget_AddItem(list, -1, "Row " + std::to_string(r) + "\n" + std::to_string(r * 17) + " kB\npng");
        Gadget_SetItemState(list, 5, 1);
    }
    const int editor = n++;
    Gadget_CreateEditor(editor, 680, 250, 300, 400, 0x800);
    for (int i = 0; i < 50; ++i) Gadget_AddItem(editor, -1, "Editor line number " + std::to_string(i));
}

}  // namespace

int main() {
    Testing_UseHeadlessDrivers();
    Testing_UseManualClock(true);
    if (!Sprite_Init() || !Mouse_Init() || !Key_Init()) return 1;
    if (!Window_Open(0, 0, 0, 1024, 768, "bench", 0) ||
        !Screen_OpenInWindow(Window_Handle(0), 0, 0, 1024, 768, 0, 0, 0))
        return 1;
    Gadget_Init();
    CreateGadgets();

    // Warm up: the scroll bars appear and text caches fill.
    for (int i = 0; i < 5; ++i) {
        Mouse_Examine();
        Key_Examine();
        Gadget_Layout();
        Gadget_DrawAll();
        Gadget_ProcessEvents();
    }

    std::vector<unsigned char> from(1024 * 768 * 4, 1), to(1024 * 768 * 4);
    const double floor = MedianMicros(kRuns, [&] {
        std::memcpy(to.data(), from.data(), from.size());
        asm volatile("" : : "r"(to.data()) : "memory");
    });
    const double pass = MedianMicros(kRuns, [] {
        Mouse_Examine();
        Key_Examine();
        Gadget_Layout();
        Gadget_DrawAll();
        Gadget_ProcessEvents();
    });
    Report("memcpy_screen", floor, floor, "memcpy");
    Report("gadgets_frame", pass, floor, "memcpy");

    Gadget_End();
    Services_End();
    return 0;
}
