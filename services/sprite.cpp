// Sprites: opaque 32-bit pictures copied to the back buffer, with a colour key.
#include <algorithm>
#include <cstring>

#include "services_internal.h"

namespace svc {
SpriteState sprites;

Sprite* FindSprite(int number) {
    auto it = sprites.sprites.find(number);
    return it == sprites.sprites.end() ? nullptr : &it->second;
}

namespace {

void FreeSprite(int number) {
    auto it = sprites.sprites.find(number);
    if (it == sprites.sprites.end()) return;
    ForgetDrawTarget(it->second.surface.get());
    DropHandle(it->second.id);
    sprites.sprites.erase(it);
}

// Stores a finished surface under `number`; returns the creation's result.
int Install(int number, SurfacePtr surface, int transparent) {
    if (!surface) {
        if (ValidKey(number)) FreeSprite(number);
        return 0;
    }
    const int id = NewId();
    const int key = CreationKey(number, id);
    if (key < 0) return 0;
    FreeSprite(key);
    sprites.sprites[key] = Sprite{std::move(surface), nullptr, transparent, id};
    RegisterHandle(id, Kind::Sprite, key);
    return number == kServiceAuto ? key : 1;
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

// Clips a width x height picture at (x, y) to the back buffer.
bool ClipToScreen(int w, int h, int x, int y, SDL_Rect& src, SDL_Rect& dst) {
    // Widened: x + w must not overflow for positions far off the screen.
    const std::int64_t x0 = std::max<std::int64_t>(x, 0), y0 = std::max<std::int64_t>(y, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{x} + w, screen.back->w);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{y} + h, screen.back->h);
    if (x0 >= x1 || y0 >= y1) return false;
    src = SDL_Rect{static_cast<int>(x0 - x), static_cast<int>(y0 - y), static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)};
    dst = SDL_Rect{static_cast<int>(x0), static_cast<int>(y0), src.w, src.h};
    return true;
}

}  // namespace
}  // namespace svc

using namespace svc;

int Sprite_Load(int number, const std::string& path, int mode) {
    (void)mode;
    SurfacePtr s = LoadPicture(path);
    if (s) FlattenOntoBlack(s.get());
    return Install(number, std::move(s), 0);
}

int Sprite_Create(int number, int width, int height) {
    SurfacePtr s = NewSurface(width, height);
    if (s) SDL_FillRect(s.get(), nullptr, 0xFF000000u);
    return Install(number, std::move(s), 0);
}

int Sprite_Grab(int number, int x, int y, int width, int height) {
    if (!screen.back) return 0;
    SurfacePtr s = NewSurface(width, height);
    if (s) {
        // Parts of the area beyond the screen stay black.
        SDL_FillRect(s.get(), nullptr, 0xFF000000u);
        SDL_Rect inSprite, onScreen;
        if (ClipToScreen(width, height, x, y, inSprite, onScreen))
            for (int row = 0; row < onScreen.h; ++row)
                std::memcpy(Row(s.get(), inSprite.y + row) + inSprite.x,
                            Row(screen.back.get(), onScreen.y + row) + onScreen.x,
                            static_cast<std::size_t>(onScreen.w) * 4);
    }
    return Install(number, std::move(s), 0);
}

void Sprite_Display(int number, int x, int y) {
    Sprite* sp = FindSprite(number);
    if (!sp || !screen.back) return;
    SDL_Rect src, dst;
    if (!ClipToScreen(sp->surface->w, sp->surface->h, x, y, src, dst)) return;
    SDL_BlitSurface(sp->surface.get(), &src, screen.back.get(), &dst);
}

void Sprite_DisplayTransparent(int number, int x, int y) {
    Sprite* sp = FindSprite(number);
    if (!sp || !screen.back) return;
    SDL_Rect src, dst;
    if (!ClipToScreen(sp->surface->w, sp->surface->h, x, y, src, dst)) return;
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
    SDL_BlitSurface(sp->keyed.get(), &src, screen.back.get(), &dst);
}

int Sprite_Copy(int source, int target) {
    Sprite* sp = FindSprite(source);
    if (!sp) {
        if (ValidKey(target) && target != source) Install(target, nullptr, 0);
        return 0;
    }
    SurfacePtr s(SDL_DuplicateSurface(sp->surface.get()));
    if (s) SDL_SetSurfaceBlendMode(s.get(), SDL_BLENDMODE_NONE);
    return Install(target, std::move(s), sp->transparent);
}

int Sprite_Save(int number, const std::string& path, int encoder) {
    Sprite* sp = FindSprite(number);
    if (!sp) return 0;
    return SavePicture(sp->surface.get(), path, encoder, false) ? 1 : 0;
}

void Sprite_Free(int number) { FreeSprite(number); }

int Sprite_Width(int number) {
    Sprite* sp = FindSprite(number);
    return sp ? sp->surface->w : 0;
}

int Sprite_Height(int number) {
    Sprite* sp = FindSprite(number);
    return sp ? sp->surface->h : 0;
}

void Sprite_SetTransparentColour(int number, int colour) {
    Sprite* sp = FindSprite(number);
    if (!sp) return;
    sp->transparent = colour & 0xFFFFFF;
    sp->keyed.reset();
}

int Draw_SpriteOutput(int number) {
    Sprite* sp = FindSprite(number);
    return sp ? sp->id : 0;
}
