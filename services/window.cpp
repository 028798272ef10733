// The window, the screen service start-up and the event pump.
#include "services_internal.h"

namespace svc {
WindowState windows;
}

using namespace svc;

int Sprite_Init() {
    if (FailForced("sprite")) return 0;
    // Present through shared memory on X11 rather than a software GL texture,
    // unless the user chose otherwise.
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    if (!EnsureSdl(SDL_INIT_VIDEO | SDL_INIT_EVENTS)) return 0;
    windows.spriteReady = true;
    return 1;
}

int Device3D_Init() { return FailForced("3d") ? 0 : 1; }

int Window_Open(int number, int x, int y, int width, int height, const std::string& title, int flags) {
    if (FailForced("window")) return 0;
    if (number != kServiceAuto && CreationKey(number, 0) < 0) return 0;
    if (number != kServiceAuto) Window_Close(number);
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) return 0;
    if (!EnsureSdl(SDL_INIT_VIDEO | SDL_INIT_EVENTS)) return 0;
    Uint32 sdlFlags = SDL_WINDOW_SHOWN;
    if (!(flags & kWindowSystemMenu)) sdlFlags |= SDL_WINDOW_BORDERLESS;
    SDL_Window* w = SDL_CreateWindow(title.c_str(), x, y, width, height, sdlFlags);
    if (!w) return 0;
    const int id = NewId();
    const int key = CreationKey(number, id);
    windows.windows[key] = Window{w, id};
    RegisterHandle(id, Kind::Window, key);
    return number == kServiceAuto ? key : 1;
}

int Window_Handle(int number) {
    auto it = windows.windows.find(number);
    return it == windows.windows.end() ? 0 : it->second.id;
}

int Window_PollEvent() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return 0;
    PumpEvents();
    if (input.closeRequested) {
        input.closeRequested = false;
        return kWindowEventClose;
    }
    return 0;
}

void Window_Close(int number) {
    auto it = windows.windows.find(number);
    if (it == windows.windows.end()) return;
    if (screen.back && screen.windowKey == number) CloseScreen();
    SDL_DestroyWindow(it->second.window);
    DropHandle(it->second.id);
    windows.windows.erase(it);
}
