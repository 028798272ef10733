// Border and arrow shapes shared by the gadget kinds. Every segment is a
// Draw_Line from (x, y) to (x + dx, y + dy); the exact segments matter
// because neighbouring gadgets are laid out against them.
#include "render_internal.h"
#include "services.h"

namespace {

struct EdgeColours {
    int light;
    int dark;
};

EdgeColours ColoursOf(BorderStyle style) {
    return style == BorderStyle::Raised ? EdgeColours{kColourWhite, kColourGrey}
                                        : EdgeColours{kColourGrey, kColourWhite};
}

}  // namespace

void Line(Coord x, Coord y, Coord dx, Coord dy, int colour) {
    const int x0 = Px(x), y0 = Px(y);
    Draw_Line(x0, y0, Px(x + dx) - x0, Px(y + dy) - y0, colour);
}

void LineXY(Coord x1, Coord y1, Coord x2, Coord y2, int colour) { Draw_LineXY(Px(x1), Px(y1), Px(x2), Px(y2), colour); }

void Box(Coord x, Coord y, Coord width, Coord height, int colour) {
    const int x0 = Px(x), y0 = Px(y);
    Draw_Box(x0, y0, Px(x + width) - x0, Px(y + height) - y0, colour);
}

void Text(Coord x, Coord y, const std::string& text, int colour) { Draw_Text(Px(x), Px(y), text, colour); }

// A rectangle with its top-right and bottom-left corners cut by 10-pixel diagonals.
void DrawBevelBorder(Coord x, Coord y, Coord width, Coord height, BorderStyle style) {
    const EdgeColours c = ColoursOf(style);
    Line(x, y, width - 10, 0, c.light);
    Line(x, y, 0, height - 10, c.light);
    Line(x, y + height - 10, 10, 10, c.light);
    Line(x + width, y + 10, 0, height - 10, c.dark);
    Line(x + 10, y + height, width - 9, 0, c.dark);
    Line(x + width - 10, y, 10, 10, c.dark);
}

void DrawBoxBorder(Coord x, Coord y, Coord width, Coord height, BorderStyle style) {
    const EdgeColours c = ColoursOf(style);
    Line(x, y, width, 0, c.light);
    Line(x, y, 0, height, c.light);
    Line(x + width, y, 0, height, c.dark);
    Line(x, y + height, width + 1, 0, c.dark);
}

// The bevel shape with a gap in the top edge for a caption cw wide.
void DrawFrameBorder(Coord x, Coord y, Coord width, Coord height, Coord cw, int frameFlags) {
    Coord g = width - cw - 20;
    if (g < 0 || cw < 1) g = 0;

    auto outer = [&](int light, int dark) {
        Line(x, y, 5, 0, light);
        Line(x + cw + 10, y, g, 0, light);
        Line(x, y, 0, height - 9, light);
        Line(x, y + height - 10, 10, 10, light);
        Line(x + width, y + 10, 0, height - 10, dark);
        Line(x + 10, y + height, width - 9, 0, dark);
        Line(x + width - 10, y, 10, 10, dark);
    };

    if (frameFlags == kFramePlain) {
        outer(kColourWhite, kColourWhite);
        return;
    }
    if (frameFlags == kFrameDouble) {
        outer(kColourFrameOuter, kColourWhite);
        const int light = kColourFrameInnerLight;
        const int dark = kColourFrameInnerDark;
        Line(x + 1, y + 1, 5, 0, light);
        Line(x + cw + 11, y + 1, g - 1, 0, light);
        Line(x + 1, y + 1, 0, height - 9, light);
        Line(x + 1, y + height - 10, 9, 9, light);
        Line(x + width - 1, y + 10, 0, height - 10, dark);
        Line(x + 10, y + height - 1, width - 10, 0, dark);
        Line(x + width - 10, y + 1, 9, 9, dark);
        return;
    }
    // Etched: a white copy shifted by one pixel under the grey-brown lines.
    const int w = kColourWhite;
    Line(x + 1, y + 1, 5, 0, w);
    Line(x + cw + 11, y + 1, g - 1, 0, w);
    Line(x + 1, y + 1, 0, height - 9, w);
    Line(x + 1, y + height - 9, 10, 10, w);
    Line(x + width + 1, y + 11, 0, height - 10, w);
    Line(x + 11, y + height, width - 9, 0, w);
    Line(x + width - 9, y + 1, 10, 10, w);
    const int e = kColourFrameOuter;
    Line(x, y, 5, 0, e);
    Line(x + cw + 10, y, g, 0, e);
    Line(x, y, 0, height - 9, e);
    Line(x, y + height - 9, 10, 10, e);
    Line(x + width, y + 11, 0, height - 11, e);
    Line(x + 10, y + height - 1, width - 9, 0, e);
    Line(x + width - 10, y + 1, 10, 10, e);
}

void DrawTriangle(Coord x1, Coord y1, Coord x2, Coord y2, Coord x3, Coord y3) {
    LineXY(x1, y1, x2, y2, kColourBlack);
    LineXY(x2, y2, x3, y3, kColourBlack);
    LineXY(x3, y3, x1, y1, kColourBlack);
}
