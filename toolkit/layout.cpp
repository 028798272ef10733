// Where the parts of scroll bars and lists lie (see layout.h).
#include "layout.h"

ScrollBarLayout ScrollBarParts(const GadgetRecord& bar, const ScrollBarRecord& r) {
    const Coord x = bar.x, y = bar.y, w = bar.width, h = bar.height;
    ScrollBarLayout parts;
    parts.upArrow = {x + 1, y, w, kScrollArrowLength};
    parts.downArrow = {x + 1, y + h - kScrollArrowLength, w, kScrollArrowLength};
    parts.trackTop = y + kScrollArrowLength + 1;
    // Both arrows and a pixel of border beside each.
    parts.travel = h - r.thumbLength - 2 * (kScrollArrowLength + 1);
    // (value - minimum) of the range over the travel; fits 64 bits: below 2^32 times below 2^31.
    const Coord range = Coord{r.maximum} - r.minimum;
    parts.thumbAlong = range != 0 ? (Coord{r.value} - r.minimum) * parts.travel / range : 0;
    // Painted between the arrows whatever the value, so what is drawn is where a press grabs it.
    const Coord room = std::max<Coord>(0, parts.travel);
    const Coord along = std::clamp<Coord>(range != 0 ? (Coord{r.value} - r.minimum) * room / range : 0, 0, room);
    parts.thumb = {x + 1, parts.trackTop + along, w - 1, Coord{r.thumbLength} - 1};
    return parts;
}

Rect OwnScrollBarRect(const GadgetRecord& owner) {
    return {Coord{owner.x} + owner.width, owner.y, kScrollBarWidth, owner.height};
}

ListLayout ListParts(const GadgetRecord& list, const ColumnListRecord& r, int first) {
    const Coord x = list.x, y = list.y, w = list.width, h = list.height, hh = r.headerHeight;
    ListLayout parts;
    parts.headerHeight = hh;
    parts.header = {x + 1, y + 1, w, hh + 1};
    parts.imageHeader = {x, y + 1, kListImageOffset - 1, hh};
    parts.cellsLeft = r.rowsHaveImages ? x + kListImageOffset : x + 1;
    // Inside the sunken border: one pixel under the header band, two short of the bottom.
    parts.rowArea = {x, y + hh + 2, w - 2, h - hh - 3};
    parts.rowSpace = ListRowSpace(list, r);
    parts.gridLineLength = h - hh - 3;
    const int count = static_cast<int>(r.rows.size());
    Coord used = 0;
    for (int i = std::clamp(first, 0, count); i < count; ++i) {
        const Coord rh = r.rows[static_cast<size_t>(i)].height;
        if (used + rh > parts.rowSpace) break;
        const Coord top = parts.rowArea.y + used;
        const Coord imageDrop = rh > kMinImageRowHeight ? (rh - kMinImageRowHeight) / 2 : 0;
        parts.rows.push_back({i, {x + 1, top, w - 1, rh}, x + kRowImageInset, top + imageDrop});
        used += rh;
    }
    return parts;
}

// In 64 bits, like every sum of positions and sizes here: sixteen columns
// of any width, anywhere, must not overflow.
Coord ListColumnLeft(const GadgetRecord& list, const ColumnListRecord& r, int k) {
    Coord edge = Coord{list.x} + (r.rowsHaveImages ? kListImageOffset : 0);
    for (int c = 0; c < k && c < kMaxColumns; ++c) edge += std::max(0, r.columnWidth[c]);
    return edge;
}

int ListRowAt(const GadgetRecord& list, const ColumnListRecord& r, int first, Coord y) {
    Coord bottom = ListHeaderBottom(list, r);
    const int n = static_cast<int>(r.rows.size());
    for (int i = std::max(0, first); i < n; ++i) {
        bottom += r.rows[static_cast<size_t>(i)].height;
        if (bottom >= y) return i;
    }
    return -1;
}

Rect ListRowHitBand(const GadgetRecord& list, const ColumnListRecord& r, int first, int row) {
    Coord top = ListHeaderBottom(list, r);
    for (int i = std::max(0, first); i < row && i < static_cast<int>(r.rows.size()); ++i)
        top += r.rows[static_cast<size_t>(i)].height;
    const Coord rh = row >= 0 && row < static_cast<int>(r.rows.size()) ? r.rows[static_cast<size_t>(row)].height : 0;
    return {list.x, top + 1, list.width, rh};
}
