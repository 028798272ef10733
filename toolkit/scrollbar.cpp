// Scroll bars that lists and Editors keep for themselves, looked after in the
// layout step before each drawing: created (as gadget owner + 2000, taking
// the focus) when the content grows taller than the area, reset when the
// content changes, freed when it fits. A list's bar counts rows, an
// Editor's counts pixels.
#include <algorithm>
#include <cstdint>

#include "layout.h"
#include "render_internal.h"
#include "services.h"

int ClampToInt(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); }

int ScrollBar_ThumbLength(int page, int track, int minimum, int maximum) {
    const std::int64_t range = static_cast<std::int64_t>(maximum) - minimum + 1;
    if (range <= 0) return track;  // nothing to scroll: the thumb fills the track
    return static_cast<int>(std::clamp<std::int64_t>(static_cast<std::int64_t>(page) * track / range,
                                                     INT32_MIN, INT32_MAX));
}

GadgetSelf Gadget_CreateScrollBar(int number, int x, int y, int width, int height, int minimum, int maximum,
                                  int page, int flags) {
    if (page < 1) page = 1;
    const std::int64_t length = (flags & kScrollBarVertical) ? height : width;
    std::int64_t thumb = ScrollBar_ThumbLength(page, ClampToInt(BarThumbTrack(length)), minimum, maximum);
    if (thumb < kMinThumbLength) thumb = kMinThumbLength;
    else thumb = std::min(thumb, BarThumbLimit(length));
    thumb = std::max<std::int64_t>(thumb, 1);  // a bar shorter than its arrows still gets a drawable thumb

    ScrollBarRecord bar;
    bar.minimum = minimum;
    bar.maximum = maximum;
    bar.page = page;
    bar.value = 0;
    bar.thumbLength = static_cast<int>(thumb);
    bar.flags = flags;
    return NewGadget(number, GadgetKind_ScrollBar, x, y, width, height, bar).self;
}

GadgetRecord* OwnScrollBar(const GadgetRecord* owner) {
    GadgetSelf self;
    if (auto* e = owner ? std::get_if<EditorRecord>(&owner->kindRecord) : nullptr) self = e->scrollBar;
    if (auto* l = owner ? std::get_if<ColumnListRecord>(&owner->kindRecord) : nullptr) self = l->scrollBar;
    GadgetRecord* bar = FindGadgetBySelf(self);
    return bar && bar != owner && bar->kind == GadgetKind_ScrollBar ? bar : nullptr;
}

namespace {

// By identity, never by number alone: if the program has put another gadget
// under owner + 2000, that gadget is not the owner's to free.
void FreeOwnBar(GadgetRecord& owner, GadgetSelf& reference) {
    if (GadgetRecord* bar = OwnScrollBar(&owner)) DeleteGadgetRecord(*bar);
    reference = {};
}

// The owner's bar, made when it has none (a reference to a bar that is gone
// is replaced).
ScrollBarRecord* EnsureBar(GadgetRecord& owner, GadgetSelf& reference, int maximum, int page) {
    if (GadgetRecord* bar = OwnScrollBar(&owner)) return KindAs<ScrollBarRecord>(bar);
    const Rect place = OwnScrollBarRect(owner);
    reference = Gadget_CreateScrollBar(owner.number + kScrollBarNumberOffset, ClampToInt(place.x), ClampToInt(place.y),
                                       ClampToInt(place.width), ClampToInt(place.height), 0, maximum, page,
                                       kScrollBarVertical);
    return KindAs<ScrollBarRecord>(OwnScrollBar(&owner));
}

void Reset(ScrollBarRecord& bar, int page, int maximum, int thumbTrack, int thumbLimit) {
    bar.page = page;
    bar.minimum = 0;
    bar.maximum = maximum;
    bar.thumbLength = std::clamp(ScrollBar_ThumbLength(page, thumbTrack, 0, maximum), kMinThumbLength,
                                 std::max(kMinThumbLength, thumbLimit));
    // The upper limit first, then the lower one, so the first row or line
    // shown is never negative.
    bar.value = std::max(bar.minimum, std::min(bar.value, bar.maximum - bar.page + 1));
}

}  // namespace

ScrollBarRecord* List_UpkeepScrollBar(GadgetRecord& list, ColumnListRecord& r) {
    std::int64_t content = 0;
    int tallest = 0;
    for (const RowRecord& row : r.rows) {
        content += row.height;
        tallest = std::max(tallest, row.height);
    }
    r.contentHeight = static_cast<int>(std::min<std::int64_t>(content, INT32_MAX));

    const std::int64_t area = ListRowSpace(list, r);
    if (content <= area) {
        if (r.scrollBar) FreeOwnBar(list, r.scrollBar);
        return nullptr;
    }
    ScrollBarRecord* bar = EnsureBar(list, r.scrollBar, r.contentHeight, ClampToInt(area - 1));
    if (!bar) return nullptr;

    // Rows of height 0 must not divide: fall back to the tallest row, then 1.
    int rh = r.rows.empty() ? 0 : r.rows.back().height;
    if (rh < 1) rh = std::max(tallest, 1);
    const int page = ClampToInt(std::max<std::int64_t>(1, area / rh));
    const int maximum = static_cast<int>(r.rows.size()) - 1;
    const int track = ClampToInt(BarThumbTrack(list.height));
    if (bar->page != page || bar->maximum != maximum) Reset(*bar, page, maximum, track, track);
    return bar;
}

ScrollBarRecord* Editor_UpkeepScrollBar(GadgetRecord& editor, EditorRecord& r) {
    std::int64_t content = 0;
    for (const LineRecord& line : r.lines) content += line.height;
    r.contentHeight = static_cast<int>(std::min<std::int64_t>(content, INT32_MAX));

    const std::int64_t h = editor.height;
    if (content <= EditorLineSpace(h)) {
        if (r.scrollBar) FreeOwnBar(editor, r.scrollBar);
        return nullptr;
    }
    ScrollBarRecord* bar = EnsureBar(editor, r.scrollBar, r.contentHeight, editor.height);
    if (!bar) return nullptr;
    const int page = ClampToInt(std::max<std::int64_t>(1, EditorLineSpace(h)));
    if (bar->page != page || bar->maximum != r.contentHeight)
        Reset(*bar, page, r.contentHeight, ClampToInt(EditorThumbTrack(h)), ClampToInt(BarThumbTrack(h)));
    return bar;
}
