// Test hooks that span the services: headless drivers and a reset of everything.
// The hooks of one service (input injection, the clock, sound and label
// queries) live with that service's state.
#include <cstdlib>

#include "services_internal.h"
#include "testing.h"

using namespace svc;

void Testing_UseHeadlessDrivers() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

void Testing_ResetServices() {
    Services_End();
    ResetCore();
    ResetClock();
    Picture_SetBudget(0);
}
