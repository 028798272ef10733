// Where the parts of a gadget lie: one function per kind with parts (the
// scroll bar, the lists, the Editor's bar), asked by the drawing, by the
// pointer's hit tests and by the tests alike, so no part is placed twice.
//
// The pointer and the paint do not always agree to the pixel (a list's rows
// are painted 2 pixels below the band the pointer finds them in, its columns
// 1 pixel right of the edges a drag grabs); both rules live here, side by
// side, each named for whom it serves.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gadget_internal.h"

// Drawing arithmetic runs in 64 bits: a gadget may lie anywhere in the int
// range and be as large, so sums of its edges would overflow in int. What
// lies beyond kFarOff is off every target (sprites and screens are far
// smaller), so coordinates are clamped to it on their way to the services;
// differences of clamped coordinates then fit an int too.
using Coord = std::int64_t;
inline constexpr Coord kFarOff = Coord{1} << 29;
inline int Px(Coord v) { return static_cast<int>(std::clamp(v, -kFarOff, kFarOff)); }

// A rectangle in screen pixels: x .. x + width - 1 by y .. y + height - 1 when painted.
struct Rect {
    Coord x = 0, y = 0;
    Coord width = 0, height = 0;
    Coord Right() const { return x + width; }
    Coord Bottom() const { return y + height; }
};

// ---------------------------------------------------------------- scroll bars
inline constexpr int kScrollBarVertical = 1;      // ScrollBarRecord flags
inline constexpr int kScrollBarWidth = 14;        // width of a list's or Editor's own bar
inline constexpr int kScrollArrowLength = 10;     // each arrow box at the ends of a bar
inline constexpr int kMinThumbLength = 10;        // a thumb is never shorter (while the bar allows)

// The parts of a vertical scroll bar.
struct ScrollBarLayout {
    Rect upArrow;        // painted box; the pointer's band is its rows y .. Bottom(), both included
    Rect downArrow;      // likewise at the bottom, ending on the bar's last row
    Coord trackTop = 0;  // the thumb's top at the lowest value: just below the up arrow
    Coord travel = 0;    // how far the thumb's top moves over the range (below 0: no room)
    Coord thumbAlong = 0; // where the value puts the thumb's top, from trackTop, as the pointer finds it
    Rect thumb;          // the thumb as painted: kept within its travel whatever the value
};
ScrollBarLayout ScrollBarParts(const GadgetRecord& bar, const ScrollBarRecord& r);

// Track lengths a thumb's length is worked out over (ScrollBar_ThumbLength),
// and the longest thumb each allows.
inline Coord BarThumbTrack(Coord length) { return length - 2 * kScrollArrowLength; }        // a new bar, a list's bar
inline Coord BarThumbLimit(Coord length) { return length - 2 * kScrollArrowLength - 3; }    // a new bar
inline Coord EditorThumbTrack(Coord length) { return length - 2 * kScrollArrowLength - 2; } // an Editor's bar
// Height an Editor's lines may take inside its border; more content needs a scroll bar.
inline Coord EditorLineSpace(Coord height) { return height - 2; }
// Where a list's or Editor's own bar goes: along the owner's right edge, as tall as it.
Rect OwnScrollBarRect(const GadgetRecord& owner);

// ---------------------------------------------------------------- lists
inline constexpr int kListImageOffset = 20;      // columns move right by this while rows have images
inline constexpr int kMinImageRowHeight = 19;    // a row with an image is never lower than this
inline constexpr int kCellTextInset = 4;         // a cell's text starts this far right of its column

inline constexpr int kRowImageInset = 3;         // a row's image starts this far right of the list's edge

// One row a list shows.
struct RowBand {
    int row = 0;         // index into rows
    Rect band;           // painted band: from x + 1, the row's height
    Coord imageX = 0;    // top-left of its image: centred down a row taller than the image
    Coord imageY = 0;
};

// The parts of a ColumnList or FileList, from its headerHeight (set by the
// layout step) and the first row shown.
struct ListLayout {
    Coord headerHeight = 0;   // the header band's height
    Rect header;              // the header band painted in the header colour
    Rect imageHeader;         // the image column's header cell (painted while rows have images)
    Coord cellsLeft = 0;      // where the painted columns start: past the image column, or 1 in
    Rect rowArea;             // below the header, inside the border: filled with the gadget's colour
    Coord rowSpace = 0;       // height the rows may take (ListRowSpace): a row is shown while it fits whole
    Coord gridLineLength = 0; // the vertical grid lines, from the top of rowArea
    std::vector<RowBand> rows; // the rows that fit, from the first shown
};
ListLayout ListParts(const GadgetRecord& list, const ColumnListRecord& r, int first);
// Height below the header band the rows may take; more content needs a scroll bar.
inline Coord ListRowSpace(const GadgetRecord& list, const ColumnListRecord& r) {
    return Coord{list.height} - r.headerHeight - 2;
}

// What the pointer finds on a list.
// Below this the pointer is on the rows; at or above it on the header band.
inline Coord ListHeaderBottom(const GadgetRecord& list, const ColumnListRecord& r) {
    return Coord{list.y} + r.headerHeight;
}
// Left edge of column k as the pointer finds it (header clicks, column drags):
// from x, past the image offset; widths of absent columns (<= 0) add nothing.
Coord ListColumnLeft(const GadgetRecord& list, const ColumnListRecord& r, int k);
// The row a pointer at `y` below the header is on, counting from the first
// shown: the first whose band ends at or below y (bands start at the header's
// bottom); -1 below the last row.
int ListRowAt(const GadgetRecord& list, const ColumnListRecord& r, int first, Coord y);
// Where the pointer finds row `row` (from the first shown): top .. Bottom(), bottom included.
Rect ListRowHitBand(const GadgetRecord& list, const ColumnListRecord& r, int first, int row);
