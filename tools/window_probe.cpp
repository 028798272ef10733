// Opens the real 1024 x 768 window and reports, one line per change, what the
// services see of the mouse and keyboard. Driven by tests/scripts/xvfb_window.sh.
// Ends after the given number of seconds (default 20) or when Escape goes up.
#include <cstdio>
#include <cstdlib>

#include "services.h"

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    if (!Sprite_Init() || !Mouse_Init() || !Key_Init() || !Sound_Init()) return 2;
    if (!Window_Open(0, 0, 0, 1024, 768, "Keelwright window probe", kWindowSystemMenu)) return 3;
    if (!Screen_OpenInWindow(Window_Handle(0), 0, 0, 1024, 768, 0, 0, 0)) return 4;
    std::printf("ready\n");
    std::fflush(stdout);

    const int watched[] = {1, kKeyUp, kKeyDown, kKeyLeft, kKeyRight, kKeyScrollLock, kKeyLeftShift, 30};
    int lastX = -1, lastY = -1, lastButtons = -1;
    bool lastKeys[sizeof watched / sizeof watched[0]] = {};
    const std::int64_t end = ElapsedMilliseconds() + seconds * 1000;
    while (ElapsedMilliseconds() < end) {
        const std::int64_t frame = ElapsedMilliseconds();
        Window_PollEvent();
        Mouse_Examine();
        Key_Examine();
        if (Mouse_X() != lastX || Mouse_Y() != lastY) {
            lastX = Mouse_X();
            lastY = Mouse_Y();
            std::printf("mouse %d %d\n", lastX, lastY);
        }
        const int buttons = Mouse_Button(1) | Mouse_Button(2) << 1 | Mouse_Button(3) << 2;
        if (buttons != lastButtons) {
            lastButtons = buttons;
            std::printf("buttons %d\n", buttons);
        }
        for (std::size_t i = 0; i < sizeof watched / sizeof watched[0]; ++i) {
            const bool down = Key_Down(watched[i]) != 0;
            if (down != lastKeys[i]) std::printf("key %d %s\n", watched[i], down ? "down" : "up");
            lastKeys[i] = down;
        }
        const std::string typed = Key_TypedText();
        if (!typed.empty()) std::printf("typed %s\n", typed.c_str());
        std::fflush(stdout);
        if (Key_Released(1)) break;

        Draw_Begin(Draw_ScreenOutput());
        Draw_Box(0, 0, 1024, 768, 0x808080);
        Draw_Box(lastX - 2, lastY - 2, 5, 5, buttons ? 0x0000FF : 0xFFFFFF);
        Draw_End();
        Screen_Flip();
        const std::int64_t spent = ElapsedMilliseconds() - frame;
        if (spent < 30) Delay(static_cast<int>(30 - spent));
    }
    std::printf("end\n");
    Services_End();
    return 0;
}
