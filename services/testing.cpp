// Test hooks: headless drivers, reset, input injected as real SDL events.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "services_internal.h"
#include "testing.h"

using namespace svc;

namespace {
// Injected events need the event queue even before Sprite_Init.
bool Push(SDL_Event& e) {
    if (!EnsureSdl(SDL_INIT_EVENTS)) return false;
    e.common.timestamp = SDL_GetTicks();
    return SDL_PushEvent(&e) == 1;
}
}  // namespace

void Testing_UseHeadlessDrivers() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

void Testing_ResetServices() {
    Services_End();
    const int nextId = core.nextId;
    core = CoreState{};
    core.nextId = nextId;  // handles stay unique across resets
    timing = ClockState{};
}

void Testing_MouseMove(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    input.injectedX = x;
    input.injectedY = y;
    Push(e);
}

void Testing_MouseButton(int button, bool down) {
    static constexpr Uint8 kButtons[] = {0, SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE};
    if (button < 1 || button > 3) return;
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = kButtons[button];
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = input.injectedX;
    e.button.y = input.injectedY;
    Push(e);
}

void Testing_MouseWheel(int notches) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = notches;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    Push(e);
}

void Testing_Key(int scanCode, bool down) {
    const int sdl = DikToSdl(scanCode);
    if (sdl == SDL_SCANCODE_UNKNOWN) return;
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = static_cast<SDL_Scancode>(sdl);
    e.key.keysym.sym = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(sdl));
    Push(e);
}

void Testing_TypeText(const std::string& utf8) {
    // One event per character, as a keyboard delivers them.
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t n = 1;
        while (i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80) ++n;
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        const std::size_t len = std::min(n, sizeof e.text.text - 1);
        std::memcpy(e.text.text, utf8.data() + i, len);
        Push(e);
        i += n;
    }
}

void Testing_FailInit(const std::string& which) { core.failInit = which; }

void Testing_RequestClose() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    Push(e);
}
