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

// A rectangle with its top-right and bottom-left corners cut by 10-pixel diagonals.
void DrawBevelBorder(int x, int y, int width, int height, BorderStyle style) {
    const EdgeColours c = ColoursOf(style);
    Draw_Line(x, y, width - 10, 0, c.light);
    Draw_Line(x, y, 0, height - 10, c.light);
    Draw_Line(x, y + height - 10, 10, 10, c.light);
    Draw_Line(x + width, y + 10, 0, height - 10, c.dark);
    Draw_Line(x + 10, y + height, width - 9, 0, c.dark);
    Draw_Line(x + width - 10, y, 10, 10, c.dark);
}

void DrawBoxBorder(int x, int y, int width, int height, BorderStyle style) {
    const EdgeColours c = ColoursOf(style);
    Draw_Line(x, y, width, 0, c.light);
    Draw_Line(x, y, 0, height, c.light);
    Draw_Line(x + width, y, 0, height, c.dark);
    Draw_Line(x, y + height, width + 1, 0, c.dark);
}

// The bevel shape with a gap in the top edge for a caption cw wide.
void DrawFrameBorder(int x, int y, int width, int height, int cw, int frameFlags) {
    int g = width - cw - 20;
    if (g < 0 || cw < 1) g = 0;

    auto outer = [&](int light, int dark) {
        Draw_Line(x, y, 5, 0, light);
        Draw_Line(x + cw + 10, y, g, 0, light);
        Draw_Line(x, y, 0, height - 9, light);
        Draw_Line(x, y + height - 10, 10, 10, light);
        Draw_Line(x + width, y + 10, 0, height - 10, dark);
        Draw_Line(x + 10, y + height, width - 9, 0, dark);
        Draw_Line(x + width - 10, y, 10, 10, dark);
    };

    if (frameFlags == kFramePlain) {
        outer(kColourWhite, kColourWhite);
        return;
    }
    if (frameFlags == kFrameDouble) {
        outer(kColourFrameOuter, kColourWhite);
        const int light = kColourFrameInnerLight;
        const int dark = kColourFrameInnerDark;
        Draw_Line(x + 1, y + 1, 5, 0, light);
        Draw_Line(x + cw + 11, y + 1, g - 1, 0, light);
        Draw_Line(x + 1, y + 1, 0, height - 9, light);
        Draw_Line(x + 1, y + height - 10, 9, 9, light);
        Draw_Line(x + width - 1, y + 10, 0, height - 10, dark);
        Draw_Line(x + 10, y + height - 1, width - 10, 0, dark);
        Draw_Line(x + width - 10, y + 1, 9, 9, dark);
        return;
    }
    // Etched: a white copy shifted by one pixel under the grey-brown lines.
    const int w = kColourWhite;
    Draw_Line(x + 1, y + 1, 5, 0, w);
    Draw_Line(x + cw + 11, y + 1, g - 1, 0, w);
    Draw_Line(x + 1, y + 1, 0, height - 9, w);
    Draw_Line(x + 1, y + height - 9, 10, 10, w);
    Draw_Line(x + width + 1, y + 11, 0, height - 10, w);
    Draw_Line(x + 11, y + height, width - 9, 0, w);
    Draw_Line(x + width - 9, y + 1, 10, 10, w);
    const int e = kColourFrameOuter;
    Draw_Line(x, y, 5, 0, e);
    Draw_Line(x + cw + 10, y, g, 0, e);
    Draw_Line(x, y, 0, height - 9, e);
    Draw_Line(x, y + height - 9, 10, 10, e);
    Draw_Line(x + width, y + 11, 0, height - 11, e);
    Draw_Line(x + 10, y + height - 1, width - 9, 0, e);
    Draw_Line(x + width - 10, y + 1, 10, 10, e);
}

void DrawTriangle(int x1, int y1, int x2, int y2, int x3, int y3) {
    Draw_LineXY(x1, y1, x2, y2, kColourBlack);
    Draw_LineXY(x2, y2, x3, y3, kColourBlack);
    Draw_LineXY(x3, y3, x1, y1, kColourBlack);
}
