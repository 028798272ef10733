// ColumnList and FileList: header cells with titles and sort marks, grid
// lines, and the rows that fit, where ListParts puts them. A row's grid line
// runs along the last pixel row of its own band.
#include <algorithm>

#include "layout.h"
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
void DrawHeader(const GadgetRecord& g, const ColumnListRecord& r, const ListLayout& parts) {
    const Coord y = g.y, right = Coord{g.x} + g.width, hh = parts.headerHeight;
    if (r.rowsHaveImages) {
        const Rect& cell = parts.imageHeader;
        Box(cell.x, cell.y, cell.width, cell.height, r.headerColor);
        DrawBoxBorder(cell.x, cell.y, cell.width, cell.height, BorderStyle::Raised);
    }
    Coord left = parts.cellsLeft;
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
void DrawColumnLines(const GadgetRecord& g, const ColumnListRecord& r, const ListLayout& parts) {
    const Coord right = Coord{g.x} + g.width, top = parts.rowArea.y, length = parts.gridLineLength;
    if (r.rowsHaveImages) Line(parts.cellsLeft, top, 0, length, r.gridColor);
    Coord left = parts.cellsLeft;
    for (int k = 0; k < kMaxColumns; ++k) {
        const Coord cw = r.columnWidth[k];
        if (cw < 1) continue;
        if (left >= right) break;
        if (left + cw < right) Line(left + cw, top, 0, length, r.gridColor);
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
            Text(left + kCellTextInset, ty, row.text.substr(start, end - start), colour);
        }
        left += std::max<Coord>(0, cw);
        start = end + 1;
    }
}

}  // namespace

void DrawList(GadgetRecord& g, ColumnListRecord& r) {
    const Coord x = g.x, y = g.y, w = g.width, h = g.height;
    SelectKindFont(r.font);
    const ScrollBarRecord* bar = KindAs<ScrollBarRecord>(OwnScrollBar(&g));
    const ListLayout parts = ListParts(g, r, bar ? bar->value : 0);
    const Coord cs = parts.cellsLeft;

    // The fills go first so that the border drawn over them stays whole.
    const Rect& area = parts.rowArea;
    if (g.fillMode == 1) Box(area.x, area.y, area.width, area.height, g.fillColor);
    Box(parts.header.x, parts.header.y, parts.header.width, parts.header.height, r.headerColor);
    DrawBoxBorder(x, y, w, h, BorderStyle::Sunken);
    DrawHeader(g, r, parts);

    const bool grid = r.flags & kListGridLines;
    const bool showSelection = (r.flags & kListKeepSelection) || g.number == toolkit.activeGadget;
    const Coord selectionWidth = (r.flags & kListFullRowSelect) ? w - (cs - x) - 2 : r.columnWidth[0];

    // Backgrounds, then the grid over them (so coloured and selected rows
    // keep it), then images and text over both.
    for (const RowBand& shown : parts.rows) {
        const RowRecord& row = r.rows[static_cast<size_t>(shown.row)];
        const Rect& band = shown.band;
        if (row.backColor != -1) Box(band.x, band.y, band.width, band.height, row.backColor);
        if (row.selected && showSelection) Box(cs, band.y, selectionWidth, band.height, kColourSelection);
    }
    if (grid) {
        DrawColumnLines(g, r, parts);
        for (const RowBand& shown : parts.rows)
            if (shown.band.height >= 1) Line(shown.band.x, shown.band.Bottom() - 1, w - 2, 0, r.gridColor);
    }
    for (const RowBand& shown : parts.rows) {
        const RowRecord& row = r.rows[static_cast<size_t>(shown.row)];
        SelectKindFont(row.font == -1 ? r.font : row.font);
        if (row.image != 0) Draw_Image(row.image, Px(shown.imageX), Px(shown.imageY));
        DrawRowCells(g, r, row, cs, shown.band.y);
    }
}
