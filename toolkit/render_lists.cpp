// ColumnList and FileList: header cells with titles and sort marks, grid
// lines, the rows that fit, and the scroll bar the list keeps for itself.
//
// A row's painted band starts 2 pixels below its top (the header strip takes
// y + 1 .. y + hh + 1), so a row fits while top + 2 + its height stays above
// the bottom border; the scroll-bar upkeep counts visible rows the same way,
// and a row's grid line runs just under its band.
#include <algorithm>

#include "render_internal.h"
#include "services.h"

namespace {

// Sort marks: 0 ascending points down, 1 descending points up.
void DrawSortMark(int left, int y, int hh, int mark) {
    if (mark == 0) {
        const int m = y + hh / 2;
        DrawTriangle(left + 1, m - 1, left + 7, m - 1, left + 4, m + 2);
    } else if (mark == 1) {
        const int n = y + hh / 2 + hh / 4;
        DrawTriangle(left + 1, n - 2, left + 8, n - 2, left + 4, n - 6);
    }
}

// Header cells; columns starting past the right edge are not drawn and the
// last one is cut at it, so the header never spills onto the scroll bar.
void DrawHeader(const GadgetRecord& g, const ColumnListRecord& r, int hh, int cs) {
    const int right = g.x + g.width;
    const bool grid = r.flags & kListGridLines;
    if (r.rowsHaveImages) {
        Draw_Box(g.x, g.y + 1, 19, hh, r.headerColor);
        DrawBoxBorder(g.x, g.y + 1, 19, hh, BorderStyle::Raised);
        if (grid) Draw_Line(g.x + 20, g.y + hh + 2, 0, g.height - hh - 3, r.gridColor);
    }
    int left = cs;
    for (int k = 0; k < kMaxColumns; ++k) {
        const int cw = r.columnWidth[k];
        if (cw < 1) continue;
        if (left >= right) break;
        const int shown = std::min(cw, right - left);
        Draw_Box(left, g.y + 1, shown, hh, r.headerColor);
        DrawBoxBorder(left, g.y + 1, shown, hh, BorderStyle::Raised);
        Draw_Text(left + (shown - Draw_TextWidth(r.title[k])) / 2, g.y + 1, r.title[k], r.headerTextColor);
        DrawSortMark(left, g.y, hh, r.sortState[k]);
        if (grid && left + cw < right) Draw_Line(left + cw, g.y + hh + 2, 0, g.height - hh - 3, r.gridColor);
        left += cw;
    }
}

void DrawRowCells(const GadgetRecord& g, const ColumnListRecord& r, const RowRecord& row, int cs, int ty) {
    const int colour = GadgetTextColour(g, row.textColor);
    const int right = g.x + g.width;
    int left = cs;
    size_t start = 0;
    for (int k = 0; k < kMaxColumns && start <= row.text.size(); ++k) {
        size_t end = row.text.find('\n', start);
        if (end == std::string::npos) end = row.text.size();
        const int cw = r.columnWidth[k];
        if (cw >= 1 && left < right && end > start) {
            Draw_Text(left + 4, ty, row.text.substr(start, end - start), colour);
        }
        left += std::max(0, cw);
        start = end + 1;
    }
}

}  // namespace

void DrawList(GadgetRecord& g, ColumnListRecord& r) {
    const int x = g.x, y = g.y, w = g.width, h = g.height;
    SelectKindFont(r.font);
    const int hh = Draw_TextHeight(r.title[0]);
    r.headerHeight = hh;

    // The fills go first so that the border drawn over them stays whole.
    if (g.fillMode == 1) Draw_Box(x, y + hh + 2, w - 2, h - hh - 3, g.fillColor);
    Draw_Box(x + 1, y + 1, w, hh + 1, r.headerColor);
    DrawBoxBorder(x, y, w, h, BorderStyle::Sunken);

    const int cs = r.rowsHaveImages ? x + 20 : x + 1;
    DrawHeader(g, r, hh, cs);

    const ScrollBarRecord* bar = List_UpkeepScrollBar(g, r, hh);

    const bool grid = r.flags & kListGridLines;
    const bool showSelection = (r.flags & kListKeepSelection) || g.number == toolkit.activeGadget;
    const int selectionWidth = (r.flags & kListFullRowSelect) ? w - (cs - x) - 2 : r.columnWidth[0];
    const int count = static_cast<int>(r.rows.size());
    int top = hh;
    for (int i = std::clamp(bar ? bar->value : 0, 0, count); i < count; ++i) {
        const RowRecord& row = r.rows[static_cast<size_t>(i)];
        const int rh = row.height;
        if (top + 2 + rh > h) break;
        SelectKindFont(row.font == -1 ? r.font : row.font);
        // Under the band, not through its last two pixel rows where the text's
        // descenders are; the bottom border closes the last row.
        if (grid && top + 2 + rh < h) Draw_Line(x + 1, y + top + 2 + rh, w - 2, 0, r.gridColor);
        if (row.backColor != -1) Draw_Box(x + 1, y + top + 2, w - 1, rh, row.backColor);
        if (row.selected && showSelection) Draw_Box(cs, y + top + 2, selectionWidth, rh, kColourSelection);
        if (row.image != 0) Draw_Image(row.image, x + 3, y + top + 2 + (rh >= 20 ? (rh - 19) / 2 : 0));
        DrawRowCells(g, r, row, cs, y + top + 2);
        top += rh;
    }
}
