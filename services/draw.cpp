// Immediate-mode drawing on the open target: boxes, lines and circles with
// the pixel rules of the original (end points of Draw_Line excluded, a 1 x 1
// box is one pixel, radius 1 is a 2 x 2 box), images and alpha images.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "services_internal.h"

namespace svc {
DrawState draw;

void ForgetDrawTarget(SDL_Surface* surface) {
    if (draw.target && draw.target == surface) Draw_End();
}

namespace {

// Paints or inverts one horizontal run, already clipped.
void Span(int x0, int x1, int y, std::uint32_t pixel, bool invert) {
    std::uint32_t* row = Row(draw.target, y);
    if (invert) {
        for (int x = x0; x < x1; ++x) row[x] ^= 0x00FFFFFFu;
    } else {
        // A plain loop: SDL_FillRect's streaming stores are slow on small boxes.
        for (int x = x0; x < x1; ++x) row[x] = pixel;
    }
}

void ClippedSpan(int x0, int x1, int y, std::uint32_t pixel, bool invert) {
    if (y < 0 || y >= draw.target->h) return;
    if (x0 < 0) x0 = 0;
    if (x1 > draw.target->w) x1 = draw.target->w;
    if (x0 < x1) Span(x0, x1, y, pixel, invert);
}

void Put(int x, int y, std::uint32_t pixel, bool invert) {
    if (x < 0 || y < 0 || x >= draw.target->w || y >= draw.target->h) return;
    std::uint32_t& p = Row(draw.target, y)[x];
    p = invert ? p ^ 0x00FFFFFFu : pixel;
}

// Bresenham from (x1, y1) to (x2, y2); the last point only when asked.
void Segment(int x1, int y1, int x2, int y2, int colour, bool includeLast) {
    const std::uint32_t pixel = PixelOf(colour);
    const bool invert = draw.mode & kDrawInvert;
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    for (;;) {
        const bool last = x == x2 && y == y2;
        if (last && !includeLast) return;
        Put(x, y, pixel, invert);
        if (last) return;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

// The disc is centred on a pixel corner; a pixel is inside when its centre is
// within the radius. For the row whose centre lies row + 0.5 from the centre,
// returns k such that columns -k-1 .. k are inside, or -1 when none is.
int DiscHalfWidth(int radius, int row) {
    // Row centre offset is row + 0.5; doubled to stay in integers.
    const std::int64_t dy2 = 2 * static_cast<std::int64_t>(row) + 1;
    const std::int64_t r2 = 4 * static_cast<std::int64_t>(radius) * radius;
    if (dy2 * dy2 > r2) return -1;
    // Largest k with (2k + 1)^2 + dy2^2 <= r2: columns -k-1 .. k are inside.
    int k = -1;
    while (true) {
        const std::int64_t dx2 = 2 * static_cast<std::int64_t>(k + 1) + 1;
        if (dx2 * dx2 + dy2 * dy2 > r2) break;
        ++k;
    }
    return k;
}

// Screen and sprites stay opaque whatever alpha a picture copied onto them had.
void KeepOpaque(const SDL_Rect& r) {
    if (draw.targetHasAlpha) return;
    for (int row = r.y; row < r.y + r.h; ++row) {
        std::uint32_t* p = Row(draw.target, row);
        for (int col = r.x; col < r.x + r.w; ++col) p[col] |= 0xFF000000u;
    }
}

void Blit(SDL_Surface* source, int x, int y, SDL_BlendMode blend) {
    SDL_Rect dst{x, y, source->w, source->h};
    SDL_SetSurfaceBlendMode(source, blend);
    const bool drawn = SDL_BlitSurface(source, nullptr, draw.target, &dst) == 0;
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    if (drawn) KeepOpaque(dst);
}

}  // namespace
}  // namespace svc

using namespace svc;

int Draw_Begin(int target) {
    if (draw.target) Draw_End();
    const HandleTarget h = LookupHandle(target);
    SDL_Surface* s = nullptr;
    bool alpha = false;
    switch (h.kind) {
        case Kind::Screen:
            s = screen.back.get();
            break;
        case Kind::Sprite: {
            Sprite* sp = FindSprite(h.key);
            if (sp) {
                s = sp->surface.get();
                sp->keyed.reset();  // its pixels are about to change
            }
            break;
        }
        case Kind::Image: {
            Image* img = FindImage(h.key);
            if (img) {
                s = img->surface.get();
                ++img->version;  // its pixels are about to change
            }
            alpha = true;
            break;
        }
        default:
            break;
    }
    if (!s) return 0;
    draw = DrawState{};
    draw.target = s;
    draw.targetId = target;
    draw.targetHasAlpha = alpha;
    return 1;
}

void Draw_End() {
    // The next Draw_Begin starts from the defaults again: colour, mode and font selection.
    draw = DrawState{};
}

void Draw_FrontColour(int colour) {
    if (draw.target) draw.frontColour = colour & 0xFFFFFF;
}

void Draw_Mode(int flags) {
    if (draw.target) draw.mode = flags;
}

void Draw_Box(int x, int y, int width, int height) { Draw_Box(x, y, width, height, draw.frontColour); }

void Draw_Box(int x, int y, int width, int height, int colour) {
    if (!draw.target) return;
    // A negative size reaches left or up from (x, y).
    if (width < 0) x += width, width = -width;
    if (height < 0) y += height, height = -height;
    if (width == 0 || height == 0) return;
    const std::uint32_t pixel = PixelOf(colour);
    const bool invert = draw.mode & kDrawInvert;
    const std::int64_t x1 = static_cast<std::int64_t>(x) + width, y1 = static_cast<std::int64_t>(y) + height;
    const int xe = static_cast<int>(std::min<std::int64_t>(x1, draw.target->w));
    const int ye = static_cast<int>(std::min<std::int64_t>(y1, draw.target->h));
    if (draw.mode & kDrawOutline) {
        ClippedSpan(x, xe, y, pixel, invert);
        if (height > 1) ClippedSpan(x, xe, static_cast<int>(y1 - 1), pixel, invert);
        for (int row = std::max(y + 1, 0); row < std::min<std::int64_t>(y1 - 1, draw.target->h); ++row) {
            ClippedSpan(x, x + 1, row, pixel, invert);
            if (width > 1) ClippedSpan(static_cast<int>(x1 - 1), static_cast<int>(x1), row, pixel, invert);
        }
        return;
    }
    for (int row = std::max(y, 0); row < ye; ++row) ClippedSpan(x, xe, row, pixel, invert);
}

void Draw_Line(int x, int y, int width, int height, int colour) {
    if (!draw.target) return;
    Segment(x, y, x + width, y + height, colour, false);
}

void Draw_LineXY(int x1, int y1, int x2, int y2, int colour) {
    if (!draw.target) return;
    Segment(x1, y1, x2, y2, colour, true);
}

void Draw_Circle(int x, int y, int radius, int colour) {
    if (!draw.target || radius < 1) return;
    const std::uint32_t pixel = PixelOf(colour);
    const bool invert = draw.mode & kDrawInvert;
    const bool outline = draw.mode & kDrawOutline;
    // Rows y - radius .. y + radius - 1; symmetric about the corner (x, y).
    for (int r = -radius; r < radius; ++r) {
        const int row = y + r;
        const int k = DiscHalfWidth(radius, r >= 0 ? r : -r - 1);
        if (k < 0) continue;
        if (!outline) {
            ClippedSpan(x - k - 1, x + k + 1, row, pixel, invert);
            continue;
        }
        // Outline: the pixels with a neighbour outside the disc, i.e. the two
        // ends and what the next row outwards does not cover.
        const int rin = r >= 0 ? r : -r - 1;
        const int kout = rin + 1 < radius ? DiscHalfWidth(radius, rin + 1) : -1;
        if (kout < 0) {
            ClippedSpan(x - k - 1, x + k + 1, row, pixel, invert);
        } else {
            const int inner = std::min(kout, k - 1);
            ClippedSpan(x - k - 1, x - inner - 1, row, pixel, invert);
            ClippedSpan(x + inner + 1, x + k + 1, row, pixel, invert);
        }
    }
}

void Draw_Plot(int x, int y, int colour) {
    if (!draw.target) return;
    Put(x, y, PixelOf(colour), false);
}

int Draw_Point(int x, int y) {
    if (!draw.target || x < 0 || y < 0 || x >= draw.target->w || y >= draw.target->h) return 0;
    return ColourOf(Row(draw.target, y)[x]);
}

void Draw_Image(int pictureHandle, int x, int y) {
    Image* img = FindImageByHandle(pictureHandle);
    if (!draw.target || !img || img->surface.get() == draw.target) return;
    Blit(img->surface.get(), x, y, SDL_BLENDMODE_NONE);
}

void Draw_Image(int pictureHandle, int x, int y, int width, int height) {
    Image* img = FindImageByHandle(pictureHandle);
    if (!draw.target || !img || width < 1 || height < 1 || img->surface.get() == draw.target) return;
    SDL_Surface* src = img->surface.get();
    if (src->w == width && src->h == height) {
        Draw_Image(pictureHandle, x, y);
        return;
    }
    if (width > src->w || height > src->h) {
        // Growing: nearest neighbour straight into the target, clipped, no copy.
        SDL_Rect dst{x, y, width, height};
        if (SDL_BlitScaled(src, nullptr, draw.target, &dst) == 0) KeepOpaque(dst);
        return;
    }
    // Shrinking: area averaging. Gadgets stretch the same picture every frame,
    // so recent results are kept until the picture changes.
    auto& cache = images.scaled;
    auto hit = std::find_if(cache.begin(), cache.end(), [&](const ScaledImage& s) {
        return s.id == img->id && s.version == img->version && s.surface->w == width && s.surface->h == height;
    });
    if (hit == cache.end()) {
        SurfacePtr scaled = ScaleSurface(src, width, height);
        if (!scaled) return;
        constexpr std::size_t kKeep = 32;
        if (cache.size() >= kKeep) cache.pop_back();
        cache.insert(cache.begin(), ScaledImage{img->id, img->version, std::move(scaled)});
        hit = cache.begin();
    } else if (hit != cache.begin()) {
        std::rotate(cache.begin(), hit, hit + 1);
        hit = cache.begin();
    }
    Blit(hit->surface.get(), x, y, SDL_BLENDMODE_NONE);
}

void Draw_AlphaImage(int pictureHandle, int x, int y) {
    Image* img = FindImageByHandle(pictureHandle);
    if (!draw.target || !img || img->surface.get() == draw.target) return;
    Blit(img->surface.get(), x, y, SDL_BLENDMODE_BLEND);
}
