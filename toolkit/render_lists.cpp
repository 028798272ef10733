// ColumnList and FileList: header cells with titles and sort marks, grid
// lines, the rows that fit, and the scroll bar the list keeps for itself.
//
// A row's painted band starts 2 pixels below its top (the header strip takes
// y + 1 .. y + hh + 1), so a row fits while top + 2 + its height stays above
// the bottom border; the scroll-bar upkeep counts visible rows the same way,
// and a row's grid line runs along the last pixel row of its own band.
#include <algorithm>

#include "render_internal.h"
#include "services.h"

namespace {

// Sort marks: 0 ascending points down, 1 descending points up.
void DrawSortMark(Coord left, Coord y, Coord hh, int mark) {
    if (mark == 0) {
        const Coord m = y + hh / 2;
        DrawTriangle(left + 1, m - 1, left + 7, m - 1, left + 4, m + 2);
    } else if (mark == 1) {
        const Coord n = y + hh / 2 + hh / 4;
        DrawTriangle(left + 1, n - 2, left + 8, n - 2, left + 4, n - 6);
    }
}

// Header cells; columns starting past the right edge are not drawn and the
// last one is cut at it, so the header never spills onto the scroll bar.
void DrawHeader(const GadgetRecord& g, const ColumnListRecord& r, Coord hh, Coord cs) {
    const Coord x = g.x, y = g.y, right = x + g.width;
    if (r.rowsHaveImages) {
        Box(x, y + 1, 19, hh, r.headerColor);
        DrawBoxBorder(x, y + 1, 19, hh, BorderStyle::Raised);
    }
    Coord left = cs;
    for (int k = 0; k < kMaxColumns; ++k) {
        const Coord cw = r.columnWidth[k];
        if (cw < 1) continue;
        if (left >= right) break;
        const Coord shown = std::min(cw, right - left);
        Box(left, y + 1, shown, hh, r.headerColor);
        DrawBoxBorder(left, y + 1, shown, hh, BorderStyle::Raised);
        Text(left + (shown - Draw_TextWidth(r.title[k])) / 2, y + 1, r.title[k], r.headerTextColor);
        DrawSortMark(left, y, hh, r.sortState[k]);
        left += cw;
    }
}

// Vertical grid lines under the header: after the image column and at each
// column's right edge, as far as the list reaches.
void DrawColumnLines(const GadgetRecord& g, const ColumnListRecord& r, Coord hh, Coord cs) {
    const Coord x = g.x, y = g.y, right = x + g.width, length = g.height - hh - 3;
    if (r.rowsHaveImages) Line(x + 20, y + hh + 2, 0, length, r.gridColor);
    Coord left = cs;
    for (int k = 0; k < kMaxColumns; ++k) {
        const Coord cw = r.columnWidth[k];
        if (cw < 1) continue;
        if (left >= right) break;
        if (left + cw < right) Line(left + cw, y + hh + 2, 0, length, r.gridColor);
        left += cw;
    }
}

void DrawRowCells(const GadgetRecord& g, const ColumnListRecord& r, const RowRecord& row, Coord cs, Coord ty) {
    const int colour = GadgetTextColour(g, row.textColor);
    const Coord right = Coord{g.x} + g.width;
    Coord left = cs;
    size_t start = 0;
    for (int k = 0; k < kMaxColumns && start <= row.text.size(); ++k) {
        size_t end = row.text.find('\n', start);
        if (end == std::string::npos) end = row.text.size();
        const Coord cw = r.columnWidth[k];
        if (cw >= 1 && left < right && end > start) {
            Text(left + 4, ty, row.text.substr(start, end - start), colour);
        }
        left += std::max<Coord>(0, cw);
        start = end + 1;
    }
}

}  // namespace

void DrawList(GadgetRecord& g, ColumnListRecord& r) {
    const Coord x = g.x, y = g.y, w = g.width, h = g.height;
    SelectKindFont(r.font);
    const int hh = Draw_TextHeight(r.title[0]);
    r.headerHeight = hh;

    // The fills go first so that the border drawn over them stays whole.
    if (g.fillMode == 1) Box(x, y + hh + 2, w - 2, h - hh - 3, g.fillColor);
    Box(x + 1, y + 1, w, hh + 1, r.headerColor);
    DrawBoxBorder(x, y, w, h, BorderStyle::Sunken);

    const Coord cs = r.rowsHaveImages ? x + 20 : x + 1;
    DrawHeader(g, r, hh, cs);

    const ScrollBarRecord* bar = List_UpkeepScrollBar(g, r, hh);

    const bool grid = r.flags & kListGridLines;
    const bool showSelection = (r.flags & kListKeepSelection) || g.number == toolkit.activeGadget;
    const Coord selectionWidth = (r.flags & kListFullRowSelect) ? w - (cs - x) - 2 : r.columnWidth[0];
    const int count = static_cast<int>(r.rows.size());
    const int first = std::clamp(bar ? bar->value : 0, 0, count);
    // The rows that fit: first .. end - 1.
    int end = first;
    for (Coord top = hh; end < count && top + 2 + r.rows[static_cast<size_t>(end)].height <= h; ++end)
        top += r.rows[static_cast<size_t>(end)].height;

    // Backgrounds, then the grid over them (so coloured and selected rows
    // keep it), then images and text over both.
    Coord top = hh;
    for (int i = first; i < end; ++i) {
        const RowRecord& row = r.rows[static_cast<size_t>(i)];
        if (row.backColor != -1) Box(x + 1, y + top + 2, w - 1, row.height, row.backColor);
        if (row.selected && showSelection) Box(cs, y + top + 2, selectionWidth, row.height, kColourSelection);
        top += row.height;
    }
    if (grid) {
        DrawColumnLines(g, r, hh, cs);
        // Each row's line is the last pixel row of its own band.
        top = hh;
        for (int i = first; i < end; ++i) {
            const int rh = r.rows[static_cast<size_t>(i)].height;
            top += rh;
            if (rh >= 1) Line(x + 1, y + top + 1, w - 2, 0, r.gridColor);
        }
    }
    top = hh;
    for (int i = first; i < end; ++i) {
        const RowRecord& row = r.rows[static_cast<size_t>(i)];
        const Coord rh = row.height;
        SelectKindFont(row.font == -1 ? r.font : row.font);
        if (row.image != 0) Draw_Image(row.image, Px(x + 3), Px(y + top + 2 + (rh >= 20 ? (rh - 19) / 2 : 0)));
        DrawRowCells(g, r, row, cs, y + top + 2);
        top += rh;
    }
}
