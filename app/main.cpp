// Keelwright: start-up, frames until "Quit", then the end.
#include <cstdio>

#include "app.h"
#include "services.h"

int main() {
    // Ctrl+C and kill end the frame loop in an orderly way.
    Signals_Catch();
    if (!StartEditor()) {
        std::fprintf(stderr, "keelwright: %s\n", editor.StartupFailure.c_str());
        FinalCleanup();
        return 1;
    }
    RunFrameLoop();
    EndEditor();
    // Stopped by a signal: the shell (or timeout) sees it ended by that signal.
    Signals_EndAsCaught();
    return 0;
}
