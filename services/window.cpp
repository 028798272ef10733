// The window and the screen service start-up.
#include <algorithm>
#include <clocale>
#include <cstring>

#include "numbered_table.h"

namespace svc {
namespace {

struct Window {
    SDL_Window* window = nullptr;  // the SDL window
};

void DestroyWindow(Window& w, int) {
    CloseScreenIn(w.window);
    SDL_DestroyWindow(w.window);
}

bool spriteReady = false;                                   // Sprite_Init succeeded
NumberedTable<Window> windows(Kind::Window, DestroyWindow);  // open windows

}  // namespace

bool SpriteServiceReady() { return spriteReady; }

SDL_Window* WindowOfHandle(int handle, int& number) {
    number = windows.KeyOfHandle(handle);
    Window* w = number < 0 ? nullptr : windows.Find(number);
    return w ? w->window : nullptr;
}

void EndWindows() {
    windows.Clear();
    spriteReady = false;
}

}  // namespace svc

using namespace svc;

int Sprite_Init() {
    if (FailForced("sprite")) return 0;
    // Present through shared memory on X11 rather than a software GL texture,
    // unless the user chose otherwise.
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    // Titles are UTF-8; the X window system reads them by the process's
    // character type, which a program that never chose one has as plain ASCII.
    const char* characters = std::setlocale(LC_CTYPE, nullptr);
    if (characters && (std::strcmp(characters, "C") == 0 || std::strcmp(characters, "POSIX") == 0))
        std::setlocale(LC_CTYPE, "C.UTF-8");
    if (!EnsureSdl(SDL_INIT_VIDEO | SDL_INIT_EVENTS)) return 0;
    spriteReady = true;
    return 1;
}

int Device3D_Init() { return FailForced("3d") ? 0 : 1; }

int Window_Open(int number, int x, int y, int width, int height, const std::string& title, int flags) {
    const int key = windows.Claim(number);
    if (key < 0 || FailForced("window")) return 0;
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) return 0;
    if (!EnsureSdl(SDL_INIT_VIDEO | SDL_INIT_EVENTS)) return 0;
    Uint32 sdlFlags = SDL_WINDOW_SHOWN;
    if (!(flags & kWindowSystemMenu)) sdlFlags |= SDL_WINDOW_BORDERLESS;
    SDL_Window* w = SDL_CreateWindow(title.c_str(), x, y, width, height, sdlFlags);
    if (!w) return 0;
    return windows.Store(number, key, Window{w});
}

int Window_Handle(int number) { return windows.Handle(number); }

int Window_PollEvent() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return 0;
    PumpEvents();
    return TakeCloseRequest() ? kWindowEventClose : 0;
}

int Window_FittingScale(int width, int height) {
    if (width < 1 || height < 1 || !EnsureSdl(SDL_INIT_VIDEO)) return 1;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    return std::clamp(std::min(usable.w / width, usable.h / height), 1, kMaxWindowScale);
}

void Window_SetTitle(int number, const std::string& title) {
    if (Window* w = windows.Find(number)) SDL_SetWindowTitle(w->window, title.c_str());
}

std::string Window_Title(int number) {
    Window* w = windows.Find(number);
    return w ? SDL_GetWindowTitle(w->window) : "";
}

void Window_Close(int number) { windows.Free(number); }
