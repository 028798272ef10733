// The idle editor's frame (input, background, gadgets, pointer, flip) with
// the pacing sleep taken out by the manual clock, against the floor of
// copying one screen. Divided by the 30 ms frame it is the idle CPU load.
// Prints "NAME: MEDIAN us, RATIO x memcpy". Headless (dummy driver).
#include "app.h"
#include "editor_bench.h"
#include "services.h"

int main(int, char** argv) {
    const fs::path work = EnterBenchWorkspace(argv[0], "keelwright-bench-app");
    if (!StartEditor()) {
        std::fprintf(stderr, "keelwright: %s\n", editor.StartupFailure.c_str());
        return 1;
    }
    const int runs = 200;
    const double floor = ScreenCopyFloor(runs);
    int step = 0;
    const double frame = MedianMicros(runs, [&] {
        Testing_MouseMove(100 + step % 800, 100 + step % 600);
        ++step;
        RunFrame();
    });
    Report("idle_frame", frame, floor, "memcpy");
    EndEditor();
    LeaveBenchWorkspace(work);
    return 0;
}
