// Texts, text fields, buttons, image buttons, frames and scroll bars.
#include <algorithm>
#include <cstdint>

#include "layout.h"
#include "render_internal.h"
#include "services.h"

namespace {

bool IsFocused(const GadgetRecord& g) { return g.number == toolkit.activeGadget; }

// Held down this frame, or a toggle that is pressed in.
bool LooksPressed(const GadgetRecord& g, int toggle, int state) {
    if (toggle && state != 0) return true;
    return toolkit.eventGadget == g.number && toolkit.eventType == EventType_LeftDown;
}

// An empty text measures 0 high; the caret still needs a line's height.
int LineHeightOf(const std::string& text) { return Draw_TextHeight(text.empty() ? " " : text); }

}  // namespace

void DrawText(GadgetRecord& g, TextRecord& r) {
    SelectKindFont(r.font);
    Coord dx = 0, dy = 0;
    if (r.flags & kTextCentred) {
        dx = (Coord{g.width} - Draw_TextWidth(r.text)) >> 1;
        dy = (Coord{g.height} - Draw_TextHeight(r.text)) >> 1;
    } else if (r.flags & kTextRightAligned) {
        dx = Coord{g.width} - Draw_TextWidth(r.text) - 5;
    }
    if (r.flags & kTextBordered) DrawBevelBorder(g.x, g.y, g.width, g.height, BorderStyle::Sunken);
    Text(g.x + dx + 5, g.y + dy + 2, r.text, GadgetTextColour(g));
}

void DrawTextField(GadgetRecord& g, TextFieldRecord& r) {
    SelectKindFont(r.font);
    const bool editable = !(r.flags & kFieldReadOnly);
    const bool focused = IsFocused(g);
    if (g.fillMode == 1 && editable && focused) Draw_Box(g.x, g.y, g.width, g.height, kColourWhite);
    if (!(r.flags & kFieldNoBorder)) DrawBevelBorder(g.x, g.y, g.width, g.height, BorderStyle::Sunken);

    // Measured on what is shown, so a masked field's caret does not give away
    // the widths of the hidden characters and stays at the end of the stars.
    std::string shown;
    if (r.flags & kFieldMasked) shown.assign(static_cast<size_t>(std::max(0, Len(r.text))), '*');
    else if (r.flags & kFieldLowerCase) shown = LCase(r.text);
    else if (r.flags & kFieldUpperCase) shown = UCase(r.text);
    else shown = r.text;

    const Coord th = LineHeightOf(shown);
    Coord dx = 0, dy = 0;
    if (r.flags & kTextCentred) {
        dx = (Coord{g.width} - Draw_TextWidth(shown)) >> 1;
        dy = (Coord{g.height} - th) >> 1;
    } else if (r.flags & kTextRightAligned) {
        dx = Coord{g.width} - Draw_TextWidth(shown) - 5;
    }
    Text(g.x + dx + 5, g.y + dy + 2, shown, GadgetTextColour(g));

    if (!focused || !editable) return;
    const Coord cx = g.x + dx + 5 + Draw_TextWidth(Left(shown, r.caret));
    if (r.overwrite) Line(cx, g.y + dy + th + 2, 10, 0, kColourGrey);
    else Line(cx, g.y + dy - 2, 0, th + 4, kColourGrey);
}

void DrawButton(GadgetRecord& g, ButtonRecord& r) {
    SelectKindFont(r.font);
    const Coord tw = Draw_TextWidth(r.text);
    Coord dx = (g.width - tw) / 2;
    const Coord dy = (r.flags & kButtonAlignTop) ? 0 : (g.height - Coord{Draw_TextHeight(r.text)}) / 2;
    if (r.flags & kButtonAlignRight) dx = g.width - tw;
    else if (r.flags & kButtonAlignLeft) dx = 0;
    const bool pressed = LooksPressed(g, r.toggle, r.state);
    DrawBevelBorder(g.x, g.y, g.width, g.height, pressed ? BorderStyle::Sunken : BorderStyle::Raised);
    Text(g.x + dx, g.y + dy, r.text, GadgetTextColour(g));
}

void DrawImageButton(GadgetRecord& g, ImageButtonRecord& r) {
    if (LooksPressed(g, r.toggle, r.state)) {
        Draw_Image(g.fillColor, Px(Coord{g.x} + 1), Px(Coord{g.y} + 1), g.width, g.height);
        DrawBoxBorder(g.x, g.y, g.width, g.height, BorderStyle::Sunken);
    } else {
        Draw_Image(g.fillColor, g.x, g.y, g.width, g.height);
        DrawBoxBorder(g.x, g.y, g.width, g.height, BorderStyle::Raised);
    }
}

void DrawFrame(GadgetRecord& g, FrameRecord& r) {
    SelectKindFont(r.font);
    DrawFrameBorder(g.x, g.y, g.width, g.height, Draw_TextWidth(r.text), r.flags);
    // Centred on the top edge, inside the gap the border leaves.
    Text(Coord{g.x} + 7, g.y - Coord{Draw_TextHeight(r.text)} / 2, r.text, GadgetTextColour(g));
}

void DrawScrollBar(GadgetRecord& g, ScrollBarRecord& r) {
    const Coord x = g.x, y = g.y, w = g.width, h = g.height;
    const ScrollBarLayout parts = ScrollBarParts(g, r);
    DrawBoxBorder(x, y, w, h, BorderStyle::Sunken);

    for (const Rect& arrow : {parts.upArrow, parts.downArrow}) {
        Box(arrow.x, arrow.y, arrow.width, arrow.height, g.fillColor);
        DrawBoxBorder(arrow.x, arrow.y, arrow.width - 1, arrow.height, BorderStyle::Raised);
    }
    // Each arrow's triangle points away from the track.
    const Coord c = x + w / 2;
    const Coord up = parts.upArrow.y, down = parts.downArrow.y;
    DrawTriangle(c + 1, up + 3, c + 5, up + 8, c - 3, up + 8);
    DrawTriangle(c + 1, down + 8, c + 5, down + 3, c - 3, down + 3);

    const Rect& thumb = parts.thumb;
    Box(thumb.x, thumb.y, thumb.width, thumb.height, g.fillColor);
    DrawBoxBorder(thumb.x, thumb.y, thumb.width, thumb.height, BorderStyle::Raised);
}
