// Keelwright: start-up, frames until "Quit", then the end.
#include <cstdio>

#include "app.h"

int main() {
    if (!StartEditor()) {
        std::fprintf(stderr, "keelwright: %s\n", editor.StartupFailure.c_str());
        FinalCleanup();
        return 1;
    }
    RunFrameLoop();
    EndEditor();
    return 0;
}
