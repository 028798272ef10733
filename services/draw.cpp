// Immediate-mode drawing on the open target: boxes, lines and circles with
// the pixel rules callers rely on (end points of Draw_Line excluded, a 1 x 1
// box is one pixel, radius 1 is a 2 x 2 box), images, alpha images and text.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "services_internal.h"

namespace svc {
namespace {

struct DrawState {
    SDL_Surface* target = nullptr;  // open target, null outside Draw_Begin/Draw_End
    int targetId = 0;               // handle of the open target
    bool targetHasAlpha = false;    // images keep alpha; screen and sprites stay opaque
    int frontColour = 0xFFFFFF;     // colour of operations given none
    int backColour = 0;             // background box of opaque text
    int mode = 0;                   // kDraw* bits
    int fontHandle = -1;            // selected font; -1 the system font
};
DrawState draw;

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

// Coordinates are widened: callers may pass anything an int holds, and sums
// such as x + width must neither overflow nor walk billions of off-target pixels.
using Wide = std::int64_t;

void ClippedSpan(Wide x0, Wide x1, Wide y, std::uint32_t pixel, bool invert) {
    if (y < 0 || y >= draw.target->h) return;
    x0 = std::max<Wide>(x0, 0);
    x1 = std::min<Wide>(x1, draw.target->w);
    if (x0 < x1) Span(static_cast<int>(x0), static_cast<int>(x1), static_cast<int>(y), pixel, invert);
}

// Paints or inverts pixels y0 .. y1 - 1 of column x, clipped: one row apart
// in memory each, so the walk steps by the pitch, tested once.
void ClippedColumn(Wide x, Wide y0, Wide y1, std::uint32_t pixel, bool invert) {
    if (x < 0 || x >= draw.target->w) return;
    y0 = std::max<Wide>(y0, 0);
    y1 = std::min<Wide>(y1, draw.target->h);
    if (y0 >= y1) return;
    auto* column = static_cast<std::uint8_t*>(draw.target->pixels) + x * 4;
    const std::ptrdiff_t pitch = draw.target->pitch;
    for (Wide y = y0; y < y1; ++y) {
        std::uint32_t& q = *reinterpret_cast<std::uint32_t*>(column + y * pitch);
        q = invert ? q ^ 0x00FFFFFFu : pixel;
    }
}

void Put(Wide x, Wide y, std::uint32_t pixel, bool invert) {
    if (x < 0 || y < 0 || x >= draw.target->w || y >= draw.target->h) return;
    std::uint32_t& p = Row(draw.target, static_cast<int>(y))[x];
    p = invert ? p ^ 0x00FFFFFFu : pixel;
}

// The line from (x1, y1) to (x2, y2), one pixel per step along its longer
// axis, the other coordinate rounded from the exact line; the last point only
// when asked. Only the steps that land on the target are walked.
void Segment(Wide x1, Wide y1, Wide x2, Wide y2, int colour, bool includeLast) {
    const std::uint32_t pixel = PixelOf(colour);
    const bool invert = draw.mode & kDrawInvert;
    const Wide dx = x2 - x1, dy = y2 - y1;
    const Wide adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const bool xMajor = adx >= ady;
    const Wide steps = std::max(adx, ady);
    const Wide last = includeLast ? steps : steps - 1;
    if (last < 0) return;
    const Wide major0 = xMajor ? x1 : y1, minor0 = xMajor ? y1 : x1;
    const Wide majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1, minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const Wide minorLength = xMajor ? ady : adx;
    const Wide size = xMajor ? draw.target->w : draw.target->h;
    Wide lo = majorStep > 0 ? -major0 : major0 - (size - 1);
    Wide hi = majorStep > 0 ? size - 1 - major0 : major0;
    lo = std::max<Wide>(lo, 0);
    hi = std::min(hi, last);
    if (lo > hi) return;
    if (minorLength == 0) {
        // Horizontal or vertical: nearly every gadget border is one, so skip the per-step division.
        const Wide a = major0 + majorStep * lo, b = major0 + majorStep * hi;
        const Wide from = std::min(a, b), to = std::max(a, b);
        if (xMajor) ClippedSpan(from, to + 1, minor0, pixel, invert);
        else ClippedColumn(minor0, from, to + 1, pixel, invert);
        return;
    }
    for (Wide i = lo; i <= hi; ++i) {
        const Wide offset =
            steps == 0 ? 0 : static_cast<Wide>((static_cast<__int128>(2) * i * minorLength + steps) / (2 * static_cast<__int128>(steps)));
        const Wide major = major0 + majorStep * i, minor = minor0 + minorStep * offset;
        if (xMajor)
            Put(major, minor, pixel, invert);
        else
            Put(minor, major, pixel, invert);
    }
}

// The disc is centred on a pixel corner; a pixel is inside when its centre is
// within the radius. For the row whose centre lies row + 0.5 from the centre,
// returns k such that columns -k-1 .. k are inside, or -1 when none is.
Wide DiscHalfWidth(Wide radius, Wide row) {
    // Doubled to stay in integers: (2k + 1)^2 + (2 row + 1)^2 <= (2 radius)^2.
    // Every radius a picture can use fits 64 bits and a double's exact range;
    // only far larger ones need the slow 128-bit way.
    constexpr Wide kSmallRadius = Wide{1} << 25;
    if (radius < kSmallRadius && row < kSmallRadius) {
        const Wide dy2 = 2 * row + 1;
        const Wide rest = 4 * radius * radius - dy2 * dy2;
        if (rest < 1) return -1;
        Wide root = static_cast<Wide>(std::sqrt(static_cast<double>(rest)));
        while (root * root > rest) --root;
        while ((root + 1) * (root + 1) <= rest) ++root;
        return (root - 1) / 2;
    }
    using Big = __int128;
    const Big dy2 = 2 * static_cast<Big>(row) + 1;
    const Big rest = 4 * static_cast<Big>(radius) * radius - dy2 * dy2;
    if (rest < 1) return -1;
    Big root = static_cast<Big>(std::sqrt(static_cast<long double>(rest)));
    while (root * root > rest) --root;
    while ((root + 1) * (root + 1) <= rest) ++root;
    return static_cast<Wide>((root - 1) / 2);
}

// Screen and sprites stay opaque whatever alpha a picture copied onto them had.
void KeepOpaque(const SDL_Rect& r) {
    if (draw.targetHasAlpha) return;
    for (int row = r.y; row < r.y + r.h; ++row) {
        std::uint32_t* p = Row(draw.target, row);
        for (int col = r.x; col < r.x + r.w; ++col) p[col] |= 0xFF000000u;
    }
}

// Changing a surface's blend mode makes SDL rebuild its blit for the next
// copy, which costs more than copying a small part: a picture keeps the mode
// it was last copied with, and every copy says which one it needs.
void UseBlendMode(SDL_Surface* source, SDL_BlendMode blend) {
    SDL_BlendMode current = SDL_BLENDMODE_NONE;
    if (SDL_GetSurfaceBlendMode(source, &current) != 0 || current != blend) SDL_SetSurfaceBlendMode(source, blend);
}

void Blit(SDL_Surface* source, int x, int y, SDL_BlendMode blend) {
    SDL_Rect dst{x, y, source->w, source->h};
    UseBlendMode(source, blend);
    if (SDL_BlitSurface(source, nullptr, draw.target, &dst) == 0) KeepOpaque(dst);
}

}  // namespace

void ForgetDrawTarget(int handle) {
    if (draw.target && draw.targetId == handle) Draw_End();
}

void EndDraw() { draw = DrawState{}; }

}  // namespace svc

using namespace svc;

int Draw_Begin(int target) {
    if (draw.target) Draw_End();
    const HandleTarget h = LookupHandle(target);
    SDL_Surface* s = nullptr;
    bool alpha = false;
    switch (h.kind) {
        case Kind::Screen:
            s = BackBuffer();
            break;
        case Kind::Sprite:
            s = SpritePixels(h.key);
            if (s) SpriteChanged(h.key);  // its pixels are about to change
            break;
        case Kind::Image:
            s = ImagePixels(h.key);
            if (s) ImageChanged(h.key);
            alpha = true;
            break;
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
    // A sprite displayed transparently while open took a keyed copy of
    // pixels that have changed since.
    const HandleTarget h = LookupHandle(draw.targetId);
    if (h.kind == Kind::Sprite) SpriteChanged(h.key);
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
    Wide x0 = x, y0 = y, w = width, h = height;
    if (w < 0) x0 += w, w = -w;
    if (h < 0) y0 += h, h = -h;
    if (w == 0 || h == 0) return;
    const std::uint32_t pixel = PixelOf(colour);
    const bool invert = draw.mode & kDrawInvert;
    const Wide x1 = x0 + w, y1 = y0 + h;
    if (draw.mode & kDrawOutline) {
        ClippedSpan(x0, x1, y0, pixel, invert);
        if (h > 1) ClippedSpan(x0, x1, y1 - 1, pixel, invert);
        for (Wide row = std::max<Wide>(y0 + 1, 0); row < std::min<Wide>(y1 - 1, draw.target->h); ++row) {
            ClippedSpan(x0, x0 + 1, row, pixel, invert);
            if (w > 1) ClippedSpan(x1 - 1, x1, row, pixel, invert);
        }
        return;
    }
    for (Wide row = std::max<Wide>(y0, 0); row < std::min<Wide>(y1, draw.target->h); ++row)
        ClippedSpan(x0, x1, row, pixel, invert);
}

void Draw_Line(int x, int y, int width, int height, int colour) {
    if (!draw.target) return;
    Segment(x, y, Wide{x} + width, Wide{y} + height, colour, false);
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
    // Rows y - radius .. y + radius - 1, symmetric about the corner (x, y);
    // only those on the target are computed.
    const Wide first = std::max<Wide>(-Wide{radius}, -Wide{y});
    const Wide end = std::min<Wide>(radius, Wide{draw.target->h} - y);
    for (Wide r = first; r < end; ++r) {
        const Wide row = y + r;
        const Wide rin = r >= 0 ? r : -r - 1;
        const Wide k = DiscHalfWidth(radius, rin);
        if (k < 0) continue;
        if (!outline) {
            ClippedSpan(x - k - 1, x + k + 1, row, pixel, invert);
            continue;
        }
        // Outline: the pixels with a neighbour outside the disc, i.e. the two
        // ends and what the next row outwards does not cover.
        const Wide kout = rin + 1 < radius ? DiscHalfWidth(radius, rin + 1) : -1;
        if (kout < 0) {
            ClippedSpan(x - k - 1, x + k + 1, row, pixel, invert);
        } else {
            const Wide inner = std::min(kout, k - 1);
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

// The part of a block at (x, y) that lies on the open target, in target rows
// and columns; empty when none does.
struct BlockOnTarget {
    int top = 0, bottom = 0, left = 0, right = 0;
    BlockOnTarget(Wide x, Wide y, Wide width, Wide height)
        : top(static_cast<int>(std::clamp<Wide>(y, 0, draw.target->h))),
          bottom(static_cast<int>(std::clamp<Wide>(y + height, 0, draw.target->h))),
          left(static_cast<int>(std::clamp<Wide>(x, 0, draw.target->w))),
          right(static_cast<int>(std::clamp<Wide>(x + width, 0, draw.target->w))) {}
};

// Blocks go row by row: a contact sheet moves whole ship cells, and a call per
// pixel costs more than the copy.
void Draw_ReadBlock(int x, int y, int width, int height, int* colours) {
    if (width < 1 || height < 1) return;
    std::fill(colours, colours + static_cast<std::ptrdiff_t>(width) * height, 0);
    if (!draw.target) return;
    const BlockOnTarget on(x, y, width, height);
    for (int row = on.top; row < on.bottom; ++row) {
        const std::uint32_t* pixels = Row(draw.target, row);
        int* out = colours + (Wide{row} - y) * width + (Wide{on.left} - x);
        for (int column = on.left; column < on.right; ++column) *out++ = ColourOf(pixels[column]);
    }
}

void Draw_PlotBlock(int x, int y, int width, int height, const int* colours) {
    if (!draw.target || width < 1 || height < 1) return;
    const BlockOnTarget on(x, y, width, height);
    for (int row = on.top; row < on.bottom; ++row) {
        std::uint32_t* pixels = Row(draw.target, row);
        const int* in = colours + (Wide{row} - y) * width + (Wide{on.left} - x);
        for (int column = on.left; column < on.right; ++column) pixels[column] = PixelOf(*in++);
    }
}

void Draw_Image(int pictureHandle, int x, int y) {
    SDL_Surface* src = ImageOfHandle(pictureHandle);
    if (!draw.target || !src || src == draw.target) return;
    Blit(src, x, y, SDL_BLENDMODE_NONE);
}

void Draw_Image(int pictureHandle, int x, int y, int width, int height) {
    SDL_Surface* src = ImageOfHandle(pictureHandle);
    if (!draw.target || !src || width < 1 || height < 1 || src == draw.target) return;
    if (src->w == width && src->h == height) {
        Draw_Image(pictureHandle, x, y);
        return;
    }
    if (width > src->w || height > src->h) {
        // Growing: nearest neighbour straight into the target, clipped, no copy.
        SDL_Rect dst{x, y, width, height};
        UseBlendMode(src, SDL_BLENDMODE_NONE);
        if (SDL_BlitScaled(src, nullptr, draw.target, &dst) == 0) KeepOpaque(dst);
        return;
    }
    // Shrinking: area averaging. Gadgets stretch the same picture every frame,
    // so recent results are kept until the picture changes.
    if (SDL_Surface* shrunk = ShrunkImage(pictureHandle, width, height)) Blit(shrunk, x, y, SDL_BLENDMODE_NONE);
}

void Draw_AlphaImage(int pictureHandle, int x, int y) {
    SDL_Surface* src = ImageOfHandle(pictureHandle);
    if (!draw.target || !src || src == draw.target) return;
    Blit(src, x, y, SDL_BLENDMODE_BLEND);
}

void Draw_Font(int fontHandle) {
    if (!draw.target) return;
    draw.fontHandle = IsFontHandle(fontHandle) ? fontHandle : -1;
}

int Draw_Text(int x, int y, const std::string& text) { return Draw_Text(x, y, text, draw.frontColour); }

int Draw_Text(int x, int y, const std::string& text, int colour) {
    if (!draw.target) return 0;
    if (text.empty()) return x;
    const TextPicture label = TextLabel(draw.fontHandle, text, colour & 0xFFFFFF);
    if (!label.pixels) return x;
    if (!(draw.mode & kDrawTransparent)) {
        const int mode = draw.mode;
        draw.mode = 0;
        Draw_Box(x, y, label.pixels->w, label.pixels->h, draw.backColour);
        draw.mode = mode;
    }
    DrawAlphaSpans(label.pixels, *label.spans, draw.target, x, y);
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{x} + label.pixels->w, INT32_MAX));
}

// Measuring needs no open target: callers lay out before they draw.
int Draw_TextWidth(const std::string& text) {
    int w = 0, h = 0;
    return !text.empty() && MeasureText(draw.fontHandle, text, w, h) ? w : 0;
}

int Draw_TextHeight(const std::string& text) {
    int w = 0, h = 0;
    return !text.empty() && MeasureText(draw.fontHandle, "", w, h) ? h : 0;
}

void Draw_AlphaBox(int x, int y, int width, int height, int colour, int alpha) {
    if (!draw.target || width <= 0 || height <= 0) return;
    // Replaces the pixels, alpha included: the way to make see-through parts
    // of a picture. Screen and sprites have no alpha to set.
    const std::uint32_t a = draw.targetHasAlpha ? static_cast<std::uint32_t>(std::clamp(alpha, 0, 255)) : 255u;
    const std::uint32_t pixel = (PixelOf(colour) & 0x00FFFFFFu) | (a << 24);
    const Wide y1 = std::min<Wide>(Wide{y} + height, draw.target->h);
    for (Wide row = std::max<Wide>(y, 0); row < y1; ++row) ClippedSpan(x, Wide{x} + width, row, pixel, false);
}
