// Fonts: fontconfig finds the file for a face name, SDL_ttf renders it.
// Rendered labels are cached whole: the editor draws the same texts every frame.
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "services_internal.h"
#include "testing.h"

namespace svc {
FontState fonts;

namespace {

// Logical pixels per inch of the display the sizes are meant for.
constexpr int kLogicalDpi = 96;
// Size of the system font, in points.
constexpr int kSystemFontPoints = 9;
// Bytes of rendered labels kept; the least recently drawn go first.
constexpr std::size_t kLabelCacheBytes = std::size_t{32} << 20;

bool EnsureTtf() {
    if (fonts.ttfReady) return true;
    if (TTF_Init() != 0) return false;
    fonts.ttfReady = true;
    return true;
}

// Opens the best match for a face; an unknown face falls back to the
// system's default sans of the requested weight and slant.
TTF_Font* OpenFace(const std::string& face, int points, int flags) {
    if (!EnsureTtf()) return nullptr;
    if (points < 1 || points > 1000) return nullptr;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return nullptr;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.empty() ? "sans" : face.c_str()));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddInteger(pattern, FC_WEIGHT, (flags & kFontBold) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, (flags & kFontItalic) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return nullptr;
    FcChar8* file = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    TTF_Font* font = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        const int pixels = static_cast<int>(std::lround(points * static_cast<double>(kLogicalDpi) / 72.0));
        font = TTF_OpenFontIndex(reinterpret_cast<const char*>(file), pixels, index);
    }
    FcPatternDestroy(match);
    if (!font) return nullptr;
    int style = TTF_STYLE_NORMAL;
    // Only where no real bold or italic face exists is it synthesised.
    if ((flags & kFontBold) && weight < FC_WEIGHT_DEMIBOLD) style |= TTF_STYLE_BOLD;
    if ((flags & kFontItalic) && slant == FC_SLANT_ROMAN) style |= TTF_STYLE_ITALIC;
    if (flags & kFontUnderline) style |= TTF_STYLE_UNDERLINE;
    TTF_SetFontStyle(font, style);
    return font;
}

void FreeFont(int number) {
    auto it = fonts.fonts.find(number);
    if (it == fonts.fonts.end()) return;
    if (draw.fontHandle == it->second.id) draw.fontHandle = -1;
    ClearLabelCache();
    TTF_CloseFont(it->second.font);
    DropHandle(it->second.id);
    fonts.fonts.erase(it);
}

// The text rendered in a colour with the current font, cached.
SDL_Surface* Label(TTF_Font* font, const std::string& text, int colour) {
    std::string key = std::to_string(draw.fontHandle);
    key += '\x1f';
    key += std::to_string(colour);
    key += '\x1f';
    key += text;
    auto it = fonts.labels.find(key);
    if (it != fonts.labels.end()) {
        fonts.labelOrder.splice(fonts.labelOrder.begin(), fonts.labelOrder, it->second.recent);
        return it->second.surface.get();
    }
    const SDL_Color c{static_cast<Uint8>(colour & 0xFF), static_cast<Uint8>((colour >> 8) & 0xFF),
                      static_cast<Uint8>((colour >> 16) & 0xFF), 255};
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text.c_str(), c);
    if (!rendered) return nullptr;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (!s) return nullptr;
    SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_BLEND);
    const std::size_t bytes = static_cast<std::size_t>(s->pitch) * static_cast<std::size_t>(s->h);
    fonts.labelOrder.push_front(key);
    fonts.labels.emplace(std::move(key), CachedLabel{SurfacePtr(s), bytes, fonts.labelOrder.begin()});
    fonts.labelBytes += bytes;
    // The label just made stays, even when it alone is over the budget: it is drawn next.
    while (fonts.labelBytes > kLabelCacheBytes && fonts.labelOrder.size() > 1) {
        auto oldest = fonts.labels.find(fonts.labelOrder.back());
        fonts.labelBytes -= oldest->second.bytes;
        fonts.labels.erase(oldest);
        fonts.labelOrder.pop_back();
    }
    return s;
}

}  // namespace

TTF_Font* FontForHandle(int handle) {
    if (handle != -1) {
        const HandleTarget h = LookupHandle(handle);
        if (h.kind == Kind::Font) {
            auto it = fonts.fonts.find(h.key);
            if (it != fonts.fonts.end()) return it->second.font;
        }
    }
    if (!fonts.systemFont) fonts.systemFont = OpenFace("sans", kSystemFontPoints, 0);
    return fonts.systemFont;
}

void ClearLabelCache() {
    fonts.labels.clear();
    fonts.labelOrder.clear();
    fonts.labelBytes = 0;
}

void EndFonts() {
    ClearLabelCache();
    for (auto& [number, f] : fonts.fonts) TTF_CloseFont(f.font);
    if (fonts.systemFont) TTF_CloseFont(fonts.systemFont);
    if (fonts.ttfReady) TTF_Quit();
    fonts = FontState{};
}

}  // namespace svc

using namespace svc;

int Font_Load(int number, const std::string& face, int points, int flags) {
    TTF_Font* f = OpenFace(face, points, flags);
    if (!f) {
        if (ValidKey(number)) FreeFont(number);
        return 0;
    }
    const int id = NewId();
    const int key = CreationKey(number, id);
    if (key < 0) {
        TTF_CloseFont(f);
        return 0;
    }
    FreeFont(key);
    fonts.fonts[key] = Font{f, id};
    RegisterHandle(id, Kind::Font, key);
    return number == kServiceAuto ? key : 1;
}

int Font_Handle(int number) {
    auto it = fonts.fonts.find(number);
    return it == fonts.fonts.end() ? 0 : it->second.id;
}

void Font_Free(int number) { FreeFont(number); }

void Draw_Font(int fontHandle) {
    if (!draw.target) return;
    const HandleTarget h = LookupHandle(fontHandle);
    draw.fontHandle = h.kind == Kind::Font ? fontHandle : -1;
}

int Draw_Text(int x, int y, const std::string& text) { return Draw_Text(x, y, text, draw.frontColour); }

int Draw_Text(int x, int y, const std::string& text, int colour) {
    if (!draw.target) return 0;
    if (text.empty()) return x;
    TTF_Font* font = FontForHandle(draw.fontHandle);
    if (!font) return x;
    SDL_Surface* label = Label(font, DisplayText(text), colour & 0xFFFFFF);
    if (!label) return x;
    if (!(draw.mode & kDrawTransparent)) {
        const int mode = draw.mode;
        draw.mode = 0;
        Draw_Box(x, y, label->w, label->h, draw.backColour);
        draw.mode = mode;
    }
    SDL_Rect dst{x, y, label->w, label->h};
    SDL_BlitSurface(label, nullptr, draw.target, &dst);
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{x} + label->w, INT32_MAX));
}

// Measuring needs no open target: callers lay out before they draw.
int Draw_TextWidth(const std::string& text) {
    if (text.empty()) return 0;
    TTF_Font* font = FontForHandle(draw.fontHandle);
    int w = 0, h = 0;
    if (!font || TTF_SizeUTF8(font, DisplayText(text).c_str(), &w, &h) != 0) return 0;
    return w;
}

std::int64_t Testing_LabelCacheBytes() { return static_cast<std::int64_t>(fonts.labelBytes); }

int Draw_TextHeight(const std::string& text) {
    if (text.empty()) return 0;
    TTF_Font* font = FontForHandle(draw.fontHandle);
    return font ? TTF_FontHeight(font) : 0;
}
