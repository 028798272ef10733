// Test hooks that span the services: headless drivers and a reset of everything.
// The hooks of one service (input injection, the clock, sound and label
// queries) live with that service's state.
#include "services_internal.h"
#include "testing.h"

using namespace svc;

void Testing_UseHeadlessDrivers() {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
}

void Testing_SetEnvironment(const std::string& name, const std::string& value) {
    SDL_setenv(name.c_str(), value.c_str(), 1);
}

void Testing_ResetServices() {
    Services_End();
    ResetCore();
    ResetClock();
    Picture_SetBudget(0);
}
