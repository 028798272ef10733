// The screen: our own 32-bit back buffer, shown in the window by Screen_Flip,
// each pixel as a sharp block of scale x scale window pixels.
#include <algorithm>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "services_internal.h"
#include "testing.h"

namespace svc {
namespace {

struct ScreenState {
    SurfacePtr back;               // back buffer: target of display and screen drawing
    SurfacePtr shown;              // the back buffer as last flipped: rows that match are not sent again
    SDL_Window* window = nullptr;  // window the screen lives in
    SDL_Surface* front = nullptr;  // the window's surface at the last flip (a new one has no pixels)
    bool exposed = true;           // the window must be drawn whole at the next flip
    int scale = 1;                 // window pixels per screen pixel, each way
    int id = 0;                    // Draw_ScreenOutput value
};
ScreenState screen;

void CloseScreen() {
    if (!screen.back) return;
    DropHandle(screen.id);
    SDL_ShowCursor(SDL_ENABLE);
    screen = ScreenState{};
}

// Same bytes per pixel in the same order as the back buffer: rows are copied
// as they are, where SDL's blit would convert pixel by pixel for the alpha byte.
bool SameLayout(const SDL_Surface* front) {
    const Uint32 f = front->format->format;
    return f == SDL_PIXELFORMAT_RGB888 || f == SDL_PIXELFORMAT_ARGB8888;
}

// One back-buffer row into the `scale` window rows of its blocks, each pixel
// `scale` times across. The rows are written together from the source, so
// no window row is read back to make the next.
void WidenRow(const std::uint32_t* from, SDL_Surface* front, int y, int width, int scale) {
    const auto n = static_cast<std::size_t>(width);
    if (scale == 1) {
        std::memcpy(Row(front, y), from, n * 4);
    } else if (scale == 2) {
        std::uint32_t* top = Row(front, 2 * y);
        std::uint32_t* bottom = Row(front, 2 * y + 1);
        std::size_t x = 0;
#ifdef __SSE2__
        // Streaming stores: the window's pixels are written without first
        // being read into the cache, as a large memcpy writes.
        if (reinterpret_cast<std::uintptr_t>(top) % 16 == 0 && reinterpret_cast<std::uintptr_t>(bottom) % 16 == 0) {
            for (; x + 4 <= n; x += 4) {
                const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
                const __m128i low = _mm_unpacklo_epi32(four, four), high = _mm_unpackhi_epi32(four, four);
                _mm_stream_si128(reinterpret_cast<__m128i*>(top + 2 * x), low);
                _mm_stream_si128(reinterpret_cast<__m128i*>(top + 2 * x + 4), high);
                _mm_stream_si128(reinterpret_cast<__m128i*>(bottom + 2 * x), low);
                _mm_stream_si128(reinterpret_cast<__m128i*>(bottom + 2 * x + 4), high);
            }
            _mm_sfence();
        }
#endif
        // Two pixels a store for what is left.
        for (; x < n; ++x) {
            const std::uint64_t pair = from[x] * 0x100000001ull;
            std::memcpy(top + 2 * x, &pair, sizeof pair);
            std::memcpy(bottom + 2 * x, &pair, sizeof pair);
        }
    } else {
        const auto s = static_cast<std::size_t>(scale);
        std::uint32_t* first = Row(front, y * scale);
        for (std::size_t x = 0; x < n; ++x) std::fill_n(first + x * s, s, from[x]);
        for (int k = 1; k < scale; ++k) std::memcpy(Row(front, y * scale + k), first, n * s * 4);
    }
}

// Rows of the back buffer that differ from what the window shows, widened
// into it; the band of window rows written, empty when none was.
SDL_Rect SendChangedRows(SDL_Surface* back, SDL_Surface* front, bool whole) {
    const int s = screen.scale;
    const std::size_t rowBytes = static_cast<std::size_t>(back->w) * 4;
    int first = -1, last = -1;
    for (int y = 0; y < back->h; ++y) {
        std::uint32_t* row = Row(back, y);
        std::uint32_t* kept = Row(screen.shown.get(), y);
        if (!whole && std::memcmp(row, kept, rowBytes) == 0) continue;
        std::memcpy(kept, row, rowBytes);
        WidenRow(row, front, y, back->w, s);
        if (first < 0) first = y;
        last = y;
    }
    if (first < 0) return SDL_Rect{};
    return SDL_Rect{0, first * s, back->w * s, (last - first + 1) * s};
}

}  // namespace

SDL_Surface* BackBuffer() { return screen.back.get(); }

void CloseScreenIn(SDL_Window* window) {
    if (screen.back && screen.window == window) CloseScreen();
}

void ScreenExposed() { screen.exposed = true; }

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
    SurfacePtr shown = NewSurface(width, height);
    if (!back || !shown) return 0;
    SDL_FillRect(back.get(), nullptr, 0xFF000000u);
    int windowWidth = 0, windowHeight = 0;
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    CloseScreen();
    screen.back = std::move(back);
    screen.shown = std::move(shown);
    screen.window = window;
    // The largest whole factor the window holds: never a blurring fraction.
    screen.scale = std::clamp(std::min(windowWidth / width, windowHeight / height), 1, kMaxWindowScale);
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
    const int s = screen.scale;
    const bool whole = screen.exposed || front != screen.front;
    screen.exposed = false;
    screen.front = front;
    if (!SameLayout(front) || front->w < back->w * s || front->h < back->h * s) {
        // A window of another pixel format: SDL converts, nearest neighbour when scaling.
        SDL_Rect to{0, 0, back->w * s, back->h * s};
        if (s == 1) SDL_BlitSurface(back, nullptr, front, nullptr);
        else SDL_BlitScaled(back, nullptr, front, &to);
        SDL_UpdateWindowSurface(screen.window);
        screen.exposed = true;  // the kept rows were not what was sent
        return;
    }
    if (SDL_LockSurface(front) != 0) return;
    const SDL_Rect band = SendChangedRows(back, front, whole);
    SDL_UnlockSurface(front);
    // An unchanged frame costs the comparison only: nothing is sent to the display.
    if (band.h > 0) SDL_UpdateWindowSurfaceRects(screen.window, &band, 1);
}

int Screen_Scale() { return screen.back ? screen.scale : 0; }
int Screen_Width() { return screen.back ? screen.back->w : 0; }
int Screen_Height() { return screen.back ? screen.back->h : 0; }
int Draw_ScreenOutput() { return screen.back ? screen.id : 0; }

int Testing_WindowPixel(int x, int y) {
    if (!screen.back) return -1;
    SDL_Surface* front = SDL_GetWindowSurface(screen.window);
    if (!front || x < 0 || y < 0 || x >= front->w || y >= front->h || front->format->BytesPerPixel != 4) return -1;
    return ColourOf(Row(front, y)[x]);
}

int Testing_WindowWidth() {
    int w = 0, h = 0;
    if (screen.back) SDL_GetWindowSize(screen.window, &w, &h);
    return w;
}

int Testing_WindowHeight() {
    int w = 0, h = 0;
    if (screen.back) SDL_GetWindowSize(screen.window, &w, &h);
    return h;
}
