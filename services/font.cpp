// Fonts: the system's side finds the file for a face name (FindFace),
// SDL_ttf renders it. Rendered labels are cached whole: the editor draws the
// same texts every frame.
#include <SDL_ttf.h>

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

// Widths of measured texts kept; past this the measures start again.
constexpr std::size_t kKeptWidths = 4096;

// A rendered text kept for the next frames.
struct CachedLabel {
    SurfacePtr surface;                        // the text's pixels
    AlphaSpans spans;                          // where their rows show
    std::size_t bytes = 0;                     // what both take
    std::list<std::string>::iterator recent;   // its place in the order of use
};

struct FontState {
    TTF_Font* systemFont = nullptr;                        // Draw_Font(-1), opened on first use
    bool ttfReady = false;                                 // TTF_Init done
    std::unordered_map<std::string, CachedLabel> labels;  // rendered texts by font, colour and text
    std::list<std::string> labelOrder;                     // their keys, most recently drawn first
    std::size_t labelBytes = 0;                            // bytes of all cached labels
    std::unordered_map<std::string, int> widths;          // measured widths by font and text
    std::string key;                                       // scratch for building keys without allocating
};
FontState state;

void ClearLabelCache() {
    state.labels.clear();
    state.labelOrder.clear();
    state.labelBytes = 0;
    state.widths.clear();
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
    FaceFile file;
    if (!FindFace(face.empty() ? "sans" : face, (flags & kFontBold) != 0, (flags & kFontItalic) != 0, file))
        return nullptr;
    const int pixels = static_cast<int>(std::lround(points * static_cast<double>(kLogicalDpi) / 72.0));
    TTF_Font* font = TTF_OpenFontIndex(file.path.c_str(), pixels, file.index);
    if (!font) return nullptr;
    int style = TTF_STYLE_NORMAL;
    // Only where no real bold or italic face exists is it synthesised.
    if ((flags & kFontBold) && !file.bold) style |= TTF_STYLE_BOLD;
    if ((flags & kFontItalic) && !file.italic) style |= TTF_STYLE_ITALIC;
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

// The cache key of a text in a font and colour. Texts up to the longest
// label are keyed as given, so a frame that draws them again neither
// converts nor measures them; longer ones by what is shown of them.
const std::string& KeyOf(int fontHandle, int colour, TTF_Font* font, const std::string& text) {
    std::string& key = state.key;
    key.clear();
    key += std::to_string(fontHandle);
    key += '\x1f';
    key += std::to_string(colour);
    if (text.size() <= kMaxLabelBytes) {
        key += "\x1fr";
        key += text;
    } else {
        key += "\x1fs";
        key += ScreenWide(font, text);
    }
    return key;
}

}  // namespace

TextPicture TextLabel(int fontHandle, const std::string& text, int colour) {
    TTF_Font* font = FontForHandle(fontHandle);
    if (!font) return {};
    const std::string& key = KeyOf(fontHandle, colour, font, text);
    auto it = state.labels.find(key);
    if (it != state.labels.end()) {
        state.labelOrder.splice(state.labelOrder.begin(), state.labelOrder, it->second.recent);
        return {it->second.surface.get(), &it->second.spans};
    }
    const std::string shown = ScreenWide(font, text);
    const SDL_Color c{static_cast<Uint8>(colour & 0xFF), static_cast<Uint8>((colour >> 8) & 0xFF),
                      static_cast<Uint8>((colour >> 16) & 0xFF), 255};
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, shown.c_str(), c);
    if (!rendered) return {};
    SurfacePtr s(SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0));
    SDL_FreeSurface(rendered);
    if (!s) return {};
    AlphaSpans spans = FindAlphaSpans(s.get());
    const std::size_t bytes =
        static_cast<std::size_t>(s->pitch) * static_cast<std::size_t>(s->h) + spans.rows.size() * sizeof(AlphaSpan);
    state.labelOrder.push_front(key);
    auto made = state.labels.emplace(key, CachedLabel{std::move(s), std::move(spans), bytes, state.labelOrder.begin()});
    state.labelBytes += bytes;
    // The label just made stays, even when it alone is over the budget: it is drawn next.
    while (state.labelBytes > kLabelCacheBytes && state.labelOrder.size() > 1) {
        auto oldest = state.labels.find(state.labelOrder.back());
        state.labelBytes -= oldest->second.bytes;
        state.labels.erase(oldest);
        state.labelOrder.pop_back();
    }
    return {made.first->second.surface.get(), &made.first->second.spans};
}

bool MeasureText(int fontHandle, const std::string& text, int& width, int& height) {
    width = height = 0;
    TTF_Font* font = FontForHandle(fontHandle);
    if (!font) return false;
    height = TTF_FontHeight(font);
    if (text.empty()) return true;
    // Layout measures the same texts every frame; shaping them is the costly part.
    const std::string& key = KeyOf(fontHandle, 0, font, text);
    if (auto it = state.widths.find(key); it != state.widths.end()) {
        width = it->second;
        return true;
    }
    if (TTF_SizeUTF8(font, ScreenWide(font, text).c_str(), &width, &height) != 0) {
        width = height = 0;
        return false;
    }
    height = TTF_FontHeight(font);
    if (state.widths.size() >= kKeptWidths) state.widths.clear();
    state.widths.emplace(key, width);
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
