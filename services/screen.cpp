// The screen: our own 32-bit back buffer, shown in the window by Screen_Flip.
#include <cstring>

#include "services_internal.h"

namespace svc {
namespace {

struct ScreenState {
    SurfacePtr back;               // back buffer: target of display and screen drawing
    SDL_Window* window = nullptr;  // window the screen lives in
    int id = 0;                    // Draw_ScreenOutput value
};
ScreenState screen;

void CloseScreen() {
    if (!screen.back) return;
    DropHandle(screen.id);
    SDL_ShowCursor(SDL_ENABLE);
    screen = ScreenState{};
}

}  // namespace

SDL_Surface* BackBuffer() { return screen.back.get(); }

void CloseScreenIn(SDL_Window* window) {
    if (screen.back && screen.window == window) CloseScreen();
}

void EndScreen() { CloseScreen(); }

}  // namespace svc

using namespace svc;

int Screen_OpenInWindow(int windowHandle, int x, int y, int width, int height, int autoStretch,
                        int rightOffset, int bottomOffset) {
    (void)x, (void)y, (void)autoStretch, (void)rightOffset, (void)bottomOffset;
    if (FailForced("screen") || !SpriteServiceReady()) return 0;
    int windowNumber = -1;
    SDL_Window* window = WindowOfHandle(windowHandle, windowNumber);
    if (!window) return 0;
    SurfacePtr back = NewSurface(width, height);
    if (!back) return 0;
    SDL_FillRect(back.get(), nullptr, 0xFF000000u);
    CloseScreen();
    screen.back = std::move(back);
    screen.window = window;
    screen.id = NewId();
    RegisterHandle(screen.id, Kind::Screen, 0);
    // The program draws its own pointer; the system one is hidden over the window, not grabbed.
    SDL_ShowCursor(SDL_DISABLE);
    return 1;
}

void Screen_Flip() {
    if (!screen.back) return;
    SDL_Surface* front = SDL_GetWindowSurface(screen.window);
    if (!front) return;
    SDL_Surface* back = screen.back.get();
    const Uint32 f = front->format->format;
    if ((f == SDL_PIXELFORMAT_RGB888 || f == SDL_PIXELFORMAT_ARGB8888) && front->w >= back->w && front->h >= back->h &&
        SDL_LockSurface(front) == 0) {
        // Same bytes per pixel in the same order: a row copy, where SDL's blit
        // would convert pixel by pixel for the alpha byte.
        for (int y = 0; y < back->h; ++y) std::memcpy(Row(front, y), Row(back, y), static_cast<std::size_t>(back->w) * 4);
        SDL_UnlockSurface(front);
    } else {
        SDL_BlitSurface(back, nullptr, front, nullptr);
    }
    SDL_UpdateWindowSurface(screen.window);
}

int Screen_Width() { return screen.back ? screen.back->w : 0; }
int Screen_Height() { return screen.back ? screen.back->h : 0; }
int Draw_ScreenOutput() { return screen.back ? screen.id : 0; }
