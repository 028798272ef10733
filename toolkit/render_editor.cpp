// The Editor is drawn into its own sprite and shown with black as the
// transparent colour, so its background is whatever lies behind it and its
// lines are cut at its edges.
//
// Drawing into a sprite makes the services rebuild its colour-keyed copy,
// which costs far more than the drawing itself; so the sprite is drawn again
// only when what it would show has changed.
#include <algorithm>
#include <cstdint>
#include <string>

#include "render_internal.h"
#include "services.h"

namespace {

// FNV-1a over everything that decides the sprite's pixels.
struct Signature {
    std::uint64_t value = 1469598103934665603ull;
    void Add(const void* data, size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) value = (value ^ p[i]) * 1099511628211ull;
    }
    void Add(int v) { Add(&v, sizeof v); }
    void Add(Coord v) { Add(&v, sizeof v); }
    void Add(const std::string& s) {
        Add(static_cast<int>(s.size()));
        Add(s.data(), s.size());
    }
};

// The lines shown from scroll position `first`: the first whose bottom lies
// below it (it may be cut off at the top), then while the height drawn so
// far is at most the Editor's height + 20.
struct VisibleLines {
    size_t begin = 0, end = 0;  // line indexes
    Coord top = 0;              // y of the first one in the sprite
};

VisibleLines FindVisibleLines(const EditorRecord& r, Coord first, Coord height) {
    VisibleLines v;
    const size_t n = r.lines.size();
    Coord bottom = 0;
    size_t i = 0;
    for (; i < n; ++i) {
        bottom += r.lines[i].height;
        if (bottom > first) break;
    }
    v.begin = i;
    v.top = i < n ? bottom - r.lines[i].height - first : 0;
    Coord drawn = 0;
    for (; i < n && drawn <= height + 20; ++i) drawn += r.lines[i].height;
    v.end = i;
    return v;
}

int FontOf(const EditorRecord& r, const LineRecord& line) { return line.font == -1 ? r.font : line.font; }

std::uint64_t SignatureOf(const GadgetRecord& g, const EditorRecord& r, const VisibleLines& v) {
    Signature s;
    for (int field : {r.sprite, g.width, g.height, r.flags, g.disabled, g.textColor, g.disabledTextColor,
                      static_cast<int>(v.begin), static_cast<int>(v.end)})
        s.Add(field);
    s.Add(v.top);
    for (size_t i = v.begin; i < v.end; ++i) {
        const LineRecord& line = r.lines[i];
        const int font = FontOf(r, line);
        for (int field : {font, font == 0 || font == -1 ? 0 : Font_Handle(font), line.height, line.backColor,
                          line.textColor})
            s.Add(field);
        s.Add(line.text);
    }
    // 0 means "never drawn".
    return s.value == 0 ? 1 : s.value;
}

// The two triangles outside the bevel's diagonals: above the one from
// (w - 10, 0) to (w, 10), and below the one from (0, h - 10) to (10, h).
void ClearCutCorners(Coord w, Coord h) {
    for (Coord k = 0; k < 10; ++k) {
        Box(w - 9 + k, k, 10 - k, 1, kColourBlack);
        Box(0, h - 9 + k, k + 1, 1, kColourBlack);
    }
}

void DrawIntoSprite(const GadgetRecord& g, const EditorRecord& r, const VisibleLines& v) {
    const Coord w = g.width, h = g.height;
    // The whole sprite, one pixel wider and taller than the gadget, so no
    // text from an earlier frame survives in the last column or row.
    Box(0, 0, w + 1, h + 1, kColourBlack);
    Draw_Mode(kDrawTransparent);
    Coord ly = v.top;
    for (size_t i = v.begin; i < v.end; ++i) {
        const LineRecord& line = r.lines[i];
        SelectKindFont(FontOf(r, line));
        if (line.backColor != -1) Box(0, ly, w, line.height, line.backColor);
        Text(5, ly, line.text, GadgetTextColour(g, line.textColor));
        ly += line.height;
    }
    // Last, so the lines cut off at the edges and their back colours do not
    // break it; the corners it cuts off are cleared first (to the transparent
    // black), so no text or back colour shows outside it.
    if (!(r.flags & kFieldNoBorder)) {
        ClearCutCorners(w, h);
        DrawBevelBorder(0, 0, w, h, BorderStyle::Sunken);
    }
}

}  // namespace

void DrawEditor(GadgetRecord& g, EditorRecord& r) {
    // Sprite 0 belongs to the program; an Editor whose sprite could not be
    // made must not draw into it.
    if (r.sprite == 0) return;

    const ScrollBarRecord* bar = KindAs<ScrollBarRecord>(OwnScrollBar(&g));
    const VisibleLines visible = FindVisibleLines(r, bar ? std::max(0, bar->value) : 0, g.height);
    const std::uint64_t signature = SignatureOf(g, r, visible);
    if (signature != r.drawnSignature) {
        Draw_End();
        if (Draw_Begin(Draw_SpriteOutput(r.sprite))) {
            DrawIntoSprite(g, r, visible);
            Draw_End();
            r.drawnSignature = signature;
        } else {
            r.drawnSignature = 0;
        }
        Draw_Begin(Draw_ScreenOutput());
    }
    Sprite_DisplayTransparent(r.sprite, g.x, g.y);
}
