// Fonts: fontconfig finds the file for a face name, SDL_ttf renders it.
// Rendered labels are cached whole: the editor draws the same texts every frame.
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <list>
#include <unordered_map>

#include "numbered_table.h"
#include "testing.h"

namespace svc {
namespace {

// Logical pixels per inch of the display the sizes are meant for.
constexpr int kLogicalDpi = 96;
// Size of the system font, in points.
constexpr int kSystemFontPoints = 9;
// Bytes of rendered labels kept; the least recently drawn go first.
constexpr std::size_t kLabelCacheBytes = std::size_t{32} << 20;
// No label is wider than the largest screen: a longer text is cut there,
// whatever its length (the stored bytes stay whole).
constexpr int kMaxLabelWidth = 1024;
// No glyph drawn is narrower than a pixel, but zero-width marks are: a cut
// by bytes first keeps the measuring of a huge text short.
constexpr std::size_t kMaxLabelBytes = 4 * kMaxLabelWidth;

struct Font {
    TTF_Font* font = nullptr;  // the open face at its pixel size
};

// A rendered text kept for the next frames.
struct CachedLabel {
    SurfacePtr surface;                        // the text's pixels
    std::size_t bytes = 0;                     // what they take
    std::list<std::string>::iterator recent;   // its place in the order of use
};

struct FontState {
    TTF_Font* systemFont = nullptr;                        // Draw_Font(-1), opened on first use
    bool ttfReady = false;                                 // TTF_Init done
    std::unordered_map<std::string, CachedLabel> labels;  // rendered texts by font, colour and text
    std::list<std::string> labelOrder;                     // their keys, most recently drawn first
    std::size_t labelBytes = 0;                            // bytes of all cached labels
};
FontState state;

void ClearLabelCache() {
    state.labels.clear();
    state.labelOrder.clear();
    state.labelBytes = 0;
}

// A freed font's labels can never be drawn again (handles are not reused).
void CloseFont(Font& f, int) {
    ClearLabelCache();
    TTF_CloseFont(f.font);
}

NumberedTable<Font> fonts(Kind::Font, CloseFont);

bool EnsureTtf() {
    if (state.ttfReady) return true;
    if (TTF_Init() != 0) return false;
    state.ttfReady = true;
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

// The font of a handle; -1 or a handle of no font gives the system font.
TTF_Font* FontForHandle(int handle) {
    if (Font* f = fonts.FindByHandle(handle)) return f->font;
    if (!state.systemFont) state.systemFont = OpenFace("sans", kSystemFontPoints, 0);
    return state.systemFont;
}

}  // namespace

namespace {

// The shown text, cut to what one screen can hold in the font.
std::string ScreenWide(TTF_Font* font, const std::string& text) {
    std::string shown = DisplayText(text.size() > kMaxLabelBytes ? text.substr(0, Utf8CharacterStart(text, kMaxLabelBytes)) : text);
    shown.resize(Utf8CharacterStart(shown, std::min(shown.size(), kMaxLabelBytes)));
    int width = 0, height = 0;
    if (TTF_SizeUTF8(font, shown.c_str(), &width, &height) != 0 || width <= kMaxLabelWidth) return shown;
    std::size_t fits = 0, over = shown.size();
    while (over - fits > 1) {
        const std::size_t middle = Utf8CharacterStart(shown, (fits + over) / 2);
        if (middle <= fits) break;
        const bool fit = TTF_SizeUTF8(font, shown.substr(0, middle).c_str(), &width, &height) == 0 && width <= kMaxLabelWidth;
        (fit ? fits : over) = middle;
    }
    shown.resize(fits);
    return shown;
}

}  // namespace

SDL_Surface* TextLabel(int fontHandle, const std::string& text, int colour) {
    TTF_Font* font = FontForHandle(fontHandle);
    if (!font) return nullptr;
    const std::string shown = ScreenWide(font, text);
    std::string key = std::to_string(fontHandle);
    key += '\x1f';
    key += std::to_string(colour);
    key += '\x1f';
    key += shown;
    auto it = state.labels.find(key);
    if (it != state.labels.end()) {
        state.labelOrder.splice(state.labelOrder.begin(), state.labelOrder, it->second.recent);
        return it->second.surface.get();
    }
    const SDL_Color c{static_cast<Uint8>(colour & 0xFF), static_cast<Uint8>((colour >> 8) & 0xFF),
                      static_cast<Uint8>((colour >> 16) & 0xFF), 255};
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, shown.c_str(), c);
    if (!rendered) return nullptr;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (!s) return nullptr;
    SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_BLEND);
    const std::size_t bytes = static_cast<std::size_t>(s->pitch) * static_cast<std::size_t>(s->h);
    state.labelOrder.push_front(key);
    state.labels.emplace(std::move(key), CachedLabel{SurfacePtr(s), bytes, state.labelOrder.begin()});
    state.labelBytes += bytes;
    // The label just made stays, even when it alone is over the budget: it is drawn next.
    while (state.labelBytes > kLabelCacheBytes && state.labelOrder.size() > 1) {
        auto oldest = state.labels.find(state.labelOrder.back());
        state.labelBytes -= oldest->second.bytes;
        state.labels.erase(oldest);
        state.labelOrder.pop_back();
    }
    return s;
}

bool MeasureText(int fontHandle, const std::string& text, int& width, int& height) {
    width = height = 0;
    TTF_Font* font = FontForHandle(fontHandle);
    if (!font) return false;
    if (!text.empty() && TTF_SizeUTF8(font, ScreenWide(font, text).c_str(), &width, &height) != 0) return false;
    height = TTF_FontHeight(font);
    return true;
}

bool IsFontHandle(int handle) { return fonts.FindByHandle(handle) != nullptr; }

void EndFonts() {
    fonts.Clear();
    ClearLabelCache();
    if (state.systemFont) TTF_CloseFont(state.systemFont);
    if (state.ttfReady) TTF_Quit();
    state = FontState{};
}

}  // namespace svc

using namespace svc;

int Font_Load(int number, const std::string& face, int points, int flags) {
    const int key = fonts.Claim(number);
    if (key < 0) return 0;
    TTF_Font* f = OpenFace(face, points, flags);
    if (!f) return 0;
    return fonts.Store(number, key, Font{f});
}

int Font_Handle(int number) { return fonts.Handle(number); }

void Font_Free(int number) { fonts.Free(number); }

std::int64_t Testing_LabelCacheBytes() { return static_cast<std::int64_t>(state.labelBytes); }
