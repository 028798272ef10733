// Sprites: opaque 32-bit pictures copied to the back buffer, with a colour key.
#include <algorithm>
#include <cstring>
#include <memory>

#include "numbered_table.h"

namespace svc {
namespace {

struct Sprite {
    SurfacePtr surface;                // opaque pixels (alpha always 255)
    SurfacePtr keyed;                  // RLE colour-keyed copy for transparent display, made on demand
    int transparent = 0;               // colour key as a colour
    std::unique_ptr<PngRows> saving;   // the PNG being encoded as its rows are final, null when none
    std::string savingTo;              // where that PNG goes
};

NumberedTable<Sprite> sprites(Kind::Sprite, nullptr);

// Stores a finished surface (null: the creation failed) under a claimed key.
int Store(int number, int key, SurfacePtr surface, int transparent) {
    if (!surface) return 0;
    return sprites.Store(number, key, Sprite{std::move(surface), nullptr, transparent, nullptr, {}});
}

// Sprites have no alpha: translucent pixels are laid onto black, so fully
// transparent ones meet the default colour key.
void FlattenOntoBlack(SDL_Surface* s) {
    for (int y = 0; y < s->h; ++y) {
        std::uint32_t* row = Row(s, y);
        for (int x = 0; x < s->w; ++x) {
            const std::uint32_t p = row[x];
            const std::uint32_t a = p >> 24;
            if (a == 255) continue;
            const std::uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255,
                                b = (p & 0xFF) * a / 255;
            row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
}

// Clips a width x height picture at (x, y) to the back buffer, and to the
// clip rectangle when one is given.
bool ClipToScreen(SDL_Surface* back, int w, int h, int x, int y, SDL_Rect& src, SDL_Rect& dst,
                  const SDL_Rect* clip = nullptr) {
    // Widened: x + w must not overflow for positions far off the screen.
    std::int64_t x0 = std::max<std::int64_t>(x, 0), y0 = std::max<std::int64_t>(y, 0);
    std::int64_t x1 = std::min<std::int64_t>(std::int64_t{x} + w, back->w);
    std::int64_t y1 = std::min<std::int64_t>(std::int64_t{y} + h, back->h);
    if (clip) {
        x0 = std::max<std::int64_t>(x0, clip->x);
        y0 = std::max<std::int64_t>(y0, clip->y);
        x1 = std::min<std::int64_t>(x1, std::int64_t{clip->x} + clip->w);
        y1 = std::min<std::int64_t>(y1, std::int64_t{clip->y} + clip->h);
    }
    if (x0 >= x1 || y0 >= y1) return false;
    src = SDL_Rect{static_cast<int>(x0 - x), static_cast<int>(y0 - y), static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)};
    dst = SDL_Rect{static_cast<int>(x0), static_cast<int>(y0), src.w, src.h};
    return true;
}

// Copies an area between two surfaces of the same pixel format, as plain
// memory: a sprite is opaque, so nothing is blended or converted. A block of
// whole rows goes in one copy, which moves large areas faster than row by
// row; the ends of rows between them (padding) go along.
void CopyArea(SDL_Surface* from, const SDL_Rect& src, SDL_Surface* to, const SDL_Rect& dst) {
    const std::size_t rowBytes = static_cast<std::size_t>(src.w) * 4;
    if (src.x == 0 && dst.x == 0 && from->pitch == to->pitch && src.w == from->w && src.w == to->w) {
        const std::size_t between = static_cast<std::size_t>(from->pitch) * static_cast<std::size_t>(src.h - 1);
        std::memcpy(Row(to, dst.y), Row(from, src.y), between + rowBytes);
        return;
    }
    for (int row = 0; row < src.h; ++row)
        std::memcpy(Row(to, dst.y + row) + dst.x, Row(from, src.y + row) + src.x, rowBytes);
}

}  // namespace

SDL_Surface* SpritePixels(int key) {
    Sprite* sp = sprites.Find(key);
    return sp ? sp->surface.get() : nullptr;
}

void SpriteChanged(int key) {
    if (Sprite* sp = sprites.Find(key)) sp->keyed.reset();
}

void EndSprites() { sprites.Clear(); }

}  // namespace svc

using namespace svc;

int Sprite_Load(int number, const std::string& path, int mode) {
    (void)mode;
    const int key = sprites.Claim(number);
    if (key < 0) return 0;
    SurfacePtr s = LoadPicture(path);
    if (s) FlattenOntoBlack(s.get());
    return Store(number, key, std::move(s), 0);
}

int Sprite_Create(int number, int width, int height) {
    const int key = sprites.Claim(number);
    if (key < 0) return 0;
    SurfacePtr s = NewSurface(width, height);
    if (s) SDL_FillRect(s.get(), nullptr, 0xFF000000u);
    return Store(number, key, std::move(s), 0);
}

int Sprite_Grab(int number, int x, int y, int width, int height) {
    const int key = sprites.Claim(number);
    if (key < 0) return 0;
    SDL_Surface* back = BackBuffer();
    SurfacePtr s = back ? NewSurface(width, height) : nullptr;
    if (s) {
        // Parts of the area beyond the screen stay black.
        SDL_FillRect(s.get(), nullptr, 0xFF000000u);
        SDL_Rect inSprite, onScreen;
        if (ClipToScreen(back, width, height, x, y, inSprite, onScreen)) CopyArea(back, onScreen, s.get(), inSprite);
    }
    return Store(number, key, std::move(s), 0);
}

void Sprite_Display(int number, int x, int y) {
    Sprite* sp = sprites.Find(number);
    SDL_Surface* back = BackBuffer();
    if (!sp || !back) return;
    SDL_Rect src, dst;
    if (!ClipToScreen(back, sp->surface->w, sp->surface->h, x, y, src, dst)) return;
    CopyArea(sp->surface.get(), src, back, dst);
}

void Sprite_DisplayTransparent(int number, int x, int y) {
    Sprite_DisplayTransparentClipped(number, x, y, 0, 0, INT32_MAX, INT32_MAX);
}

void Sprite_DisplayTransparentClipped(int number, int x, int y, int clipX, int clipY, int clipWidth, int clipHeight) {
    Sprite* sp = sprites.Find(number);
    SDL_Surface* back = BackBuffer();
    if (!sp || !back) return;
    SDL_Rect src, dst;
    const SDL_Rect clip{clipX, clipY, clipWidth, clipHeight};
    if (!ClipToScreen(back, sp->surface->w, sp->surface->h, x, y, src, dst, &clip)) return;
    if (!sp->keyed) {
        // A colour-keyed, run-length encoded copy: skipping runs is far cheaper
        // than testing every pixel, and it is rebuilt only after the sprite changes.
        // Without an alpha channel: SDL's run-length encoding of a colour key
        // ignores the key on surfaces that have one.
        sp->keyed.reset(SDL_ConvertSurfaceFormat(sp->surface.get(), SDL_PIXELFORMAT_RGB888, 0));
        if (!sp->keyed) return;
        SDL_SetColorKey(sp->keyed.get(), SDL_TRUE, PixelOf(sp->transparent) & 0x00FFFFFFu);
        SDL_SetSurfaceRLE(sp->keyed.get(), 1);
    }
    SDL_BlitSurface(sp->keyed.get(), &src, back, &dst);
}

int Sprite_Copy(int source, int target) {
    // The copy is made before the target is freed: a sprite may be copied onto itself.
    Sprite* sp = sprites.Find(source);
    SurfacePtr s(sp ? SDL_DuplicateSurface(sp->surface.get()) : nullptr);
    if (s) SDL_SetSurfaceBlendMode(s.get(), SDL_BLENDMODE_NONE);
    const int transparent = sp ? sp->transparent : 0;
    const int key = sprites.Claim(target);
    if (key < 0) return 0;
    return Store(target, key, std::move(s), transparent);
}

int Sprite_Save(int number, const std::string& path, int encoder) {
    Sprite* sp = sprites.Find(number);
    if (!sp) return 0;
    return SavePicture(sp->surface.get(), path, encoder, false) ? 1 : 0;
}

int Sprite_SaveBegin(int number, const std::string& path) {
    Sprite* sp = sprites.Find(number);
    if (!sp) return 0;
    sp->saving = std::make_unique<PngRows>();
    sp->savingTo = path;
    if (sp->saving->Begin(sp->surface.get(), false)) return 1;
    sp->saving.reset();
    return 0;
}

int Sprite_SaveRows(int number, int rows) {
    Sprite* sp = sprites.Find(number);
    return sp && sp->saving && sp->saving->Encode(sp->surface.get(), rows) ? 1 : 0;
}

int Sprite_SaveEnd(int number) {
    Sprite* sp = sprites.Find(number);
    if (!sp || !sp->saving) return 0;
    std::vector<std::uint8_t> bytes;
    const bool encoded = sp->saving->End(sp->surface.get(), bytes);
    sp->saving.reset();
    return encoded && WriteFileSafely(sp->savingTo, bytes.data(), bytes.size()) ? 1 : 0;
}

void Sprite_Free(int number) { sprites.Free(number); }

int Sprite_Width(int number) {
    Sprite* sp = sprites.Find(number);
    return sp ? sp->surface->w : 0;
}

int Sprite_Height(int number) {
    Sprite* sp = sprites.Find(number);
    return sp ? sp->surface->h : 0;
}

void Sprite_SetTransparentColour(int number, int colour) {
    Sprite* sp = sprites.Find(number);
    if (!sp) return;
    sp->transparent = colour & 0xFFFFFF;
    sp->keyed.reset();
}

int Draw_SpriteOutput(int number) { return sprites.Handle(number); }
