// Rows of ColumnLists and FileLists (and Editor lines): adding and measuring
// them, sorting rows, and a list's own mouse behaviour (column resizing,
// header sorting, row selection).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "gadget_internal.h"
#include "layout.h"
#include "lists_internal.h"
#include "services.h"

namespace {

// columnDrag: the low 16 bits are the button bits of a running drag, the
// high bits the dragged column; 65536 alone means "over an edge, no drag".
constexpr int kDragButtonMask = 0xFFFF;
constexpr int kDragColumnShift = 16;
constexpr int kColumnDragHover = 65536;
constexpr int kEdgeReach = 5;           // pixels either side of a column edge that grab it
constexpr int kMinColumnWidth = 5;

int MeasureTextHeight(int itemFont, int gadgetFont, const std::string& text) {
    if (!Draw_Begin(Draw_ScreenOutput())) return 0;
    // 0 and -1 leave the drawing font alone, for the item as for the gadget.
    const int font = itemFont != -1 ? itemFont : gadgetFont;
    if (font != 0 && font != -1) {
        if (const int handle = Font_Handle(font)) Draw_Font(handle);
    }
    const int height = Draw_TextHeight(text.empty() ? std::string(" ") : text);
    Draw_End();
    return height;
}

int ExistingColumns(const ColumnListRecord& list) {
    int n = 0;
    for (int w : list.columnWidth) n += w >= 1 ? 1 : 0;
    return n;
}

bool ShiftHeld() { return Key_Down(kKeyLeftShift) || Key_Down(kKeyRightShift); }
bool CtrlHeld() { return Key_Down(kKeyLeftCtrl) || Key_Down(kKeyRightCtrl); }

// Sort keys are taken once per row; the quicksort then moves only indexes.
struct SortKeys {
    std::vector<std::string_view> text;  // by row index
    std::vector<std::int32_t> number;    // by row index (numeric compare)
    bool numeric = false;
    int sign = 1;                        // -1 reverses for descending

    int Compare(int a, int b) const {
        int r = 0;
        if (numeric) {
            r = number[a] < number[b] ? -1 : (number[a] > number[b] ? 1 : 0);
        } else {
            // Signed bytes; a cell ending first (prefix) compares equal.
            const std::string_view x = text[a], y = text[b];
            const size_t n = std::min(x.size(), y.size());
            for (size_t i = 0; i < n; ++i) {
                const auto cx = static_cast<signed char>(x[i]), cy = static_cast<signed char>(y[i]);
                if (cx != cy) {
                    r = cx < cy ? -1 : 1;
                    break;
                }
            }
        }
        return r * sign;
    }
};

// Quicksort with the last element as pivot. Not stable. j is stopped at lo:
// a j that ran below lo would only be swapped with i and swapped back, so
// the partition is the same and nothing outside lo .. hi is ever touched.
void QuickSort(std::vector<int>& ref, const SortKeys& keys, int lo, int hi) {
    while (lo < hi) {
        const int pivot = ref[hi];
        int i = lo - 1, j = hi;
        int saved = 0;  // the reference at i before the last swap
        do {
            do {
                ++i;
            } while (i < hi && keys.Compare(ref[i], pivot) < 0);
            do {
                --j;
            } while (j > lo && keys.Compare(ref[j], pivot) > 0);
            saved = ref[i];
            ref[i] = ref[j];
            ref[j] = saved;
        } while (j > i);
        // Undo the last swap and put the pivot between the halves.
        ref[j] = ref[i];
        ref[i] = ref[hi];
        ref[hi] = saved;
        // Recurse into the smaller half so the depth stays logarithmic.
        if (i - lo < hi - i) {
            QuickSort(ref, keys, lo, i - 1);
            lo = i + 1;
        } else {
            QuickSort(ref, keys, i + 1, hi);
            hi = i - 1;
        }
    }
}

// When no two keys of the range compare equal, the comparator is a total
// order on them and only one arrangement is sorted: the quicksort's. Finding
// it with an O(n log n) sort spares the quicksort its quadratic run on rows
// that are already (or reversely) in order, as directory scans deliver them.
// Returns false, leaving `ref` alone, when some keys are equal.
bool SortDistinct(std::vector<int>& ref, const SortKeys& keys, int first, int end) {
    std::vector<int> order(ref.begin() + first, ref.begin() + end);
    if (keys.numeric) {
        std::sort(order.begin(), order.end(), [&](int a, int b) { return keys.number[a] < keys.number[b]; });
    } else {
        // Signed bytes, a prefix before its extensions: anything the comparator
        // calls equal (a prefix) then has an equal neighbour.
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            const std::string_view x = keys.text[a], y = keys.text[b];
            return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
                return static_cast<signed char>(p) < static_cast<signed char>(q);
            });
        });
    }
    for (size_t k = 1; k < order.size(); ++k)
        if (keys.Compare(order[k - 1], order[k]) == 0) return false;
    if (keys.sign < 0) std::reverse(order.begin(), order.end());
    std::copy(order.begin(), order.end(), ref.begin() + first);
    return true;
}

void SelectOnly(ColumnListRecord& list, int row) {
    for (auto& r : list.rows) r.selected = 0;
    list.rows[row].selected = 1;
    list.anchorRow = row;
}

// A click on row r (already known to exist).
void ClickRow(GadgetRecord& gadget, ColumnListRecord& list, int r) {
    const bool multi = (list.flags & kListMultiSelect) != 0;
    bool plain = true;
    if (gadget.kind == GadgetKind_FileList && toolkit.eventType == EventType_LeftUp && list.rows[r].selected) {
        plain = false;
        if (!(list.fileListFlags & kFileListNoNavigation)) {
            const std::string spec = list.directory;
            FileList_RefillWithCurrentRow(gadget, spec, r);
        }
    }
    // The refill may have left fewer rows than the click saw.
    if (r >= static_cast<int>(list.rows.size())) return;
    if (multi && ShiftHeld()) {
        if (list.anchorRow != -1) {
            const int last = static_cast<int>(list.rows.size()) - 1;
            const int from = std::min(list.anchorRow, r), to = std::min(std::max(list.anchorRow, r), last);
            for (int k = std::max(from, 0); k <= to; ++k) list.rows[k].selected = 1;
            list.anchorRow = r;
            plain = false;
        }
    } else if (multi && CtrlHeld()) {
        list.rows[r].selected = list.rows[r].selected ? 0 : 1;
        list.anchorRow = r;
        plain = false;
    }
    if (plain) SelectOnly(list, r);
}

// A click on the header band: cycle the clicked column's mark, maybe sort.
void ClickHeader(GadgetRecord& gadget, ColumnListRecord& list) {
    int column = -1;
    for (int i = 0; i < kMaxColumns; ++i) {
        if (toolkit.mouseX < ListColumnLeft(gadget, list, i) + list.columnWidth[i]) {
            column = i;
            break;
        }
    }
    if (column < 0) return;
    const int old = list.sortState[column];
    list.sortState.fill(-1);
    const int mark = old == -1 ? 1 : (old == 1 ? 0 : -1);
    list.sortState[column] = mark;
    if (gadget.kind != GadgetKind_FileList || (list.fileListFlags & kFileListNoHeaderSort) || mark == -1) return;

    // ".." stays on top; directories and files are sorted apart.
    const int n = static_cast<int>(list.rows.size());
    const int top =
        n > 0 && list.rows[0].entryType == kEntryDirectory && List_RowCell(list.rows[0].text, FileList_NameCell(list)) == ".."
            ? 1
            : 0;
    int d = top;
    for (int r = top; r < n; ++r) d += list.rows[r].entryType == kEntryDirectory ? 1 : 0;
    const int order = mark;  // 1 descending, 0 ascending: the same numbers as the order
    if (list.columnContent[column] == 2) {
        List_SortRows(list, column + 1, kCompareNumeric, order, d, n);
    } else {
        List_SortRows(list, column + 1, kCompareText, order, top, d);
        List_SortRows(list, column + 1, kCompareText, order, d, n);
    }
}

}  // namespace

int List_MeasureRowHeight(const GadgetRecord& list, const RowRecord& row) {
    const auto* kind = std::get_if<ColumnListRecord>(&list.kindRecord);
    return MeasureTextHeight(row.font, kind ? kind->font : 0, row.text);
}

int Editor_MeasureLineHeight(const GadgetRecord& editor, const LineRecord& line) {
    const auto* kind = std::get_if<EditorRecord>(&editor.kindRecord);
    return MeasureTextHeight(line.font, kind ? kind->font : 0, line.text);
}

RowRecord& List_InsertRow(const GadgetRecord& gadget, ColumnListRecord& list, int position,
                          const std::string& text, int image) {
    const int count = static_cast<int>(list.rows.size());
    // Negative positions and positions past the end append.
    const int at = position >= 0 && position < count ? position : count;
    RowRecord row;
    row.text = text;
    row.font = list.font;
    row.image = image;
    row.height = List_MeasureRowHeight(gadget, row);
    if (image != 0 && row.height < kMinImageRowHeight) row.height = kMinImageRowHeight;
    auto it = list.rows.insert(list.rows.begin() + at, std::move(row));
    // Recomputed over all rows, but only walked while the answer could change.
    if (image != 0) {
        list.rowsHaveImages = 1;
    } else if (list.rowsHaveImages) {
        list.rowsHaveImages = std::any_of(list.rows.begin(), list.rows.end(),
                                          [](const RowRecord& r) { return r.image != 0; })
                                  ? 1
                                  : 0;
    }
    return *it;
}

int Gadget_AddItem(int number, int position, const std::string& text, int image) {
    GadgetRecord* gadget = FindGadget(number);
    if (auto* list = IsList(gadget) ? KindAs<ColumnListRecord>(gadget) : nullptr) {
        List_InsertRow(*gadget, *list, position, text, image);
    } else if (auto* editor = KindAs<EditorRecord>(gadget); editor && gadget->kind == GadgetKind_Editor) {
        const int count = static_cast<int>(editor->lines.size());
        const int at = position >= 0 && position < count ? position : count;
        LineRecord line;
        line.text = text;
        line.font = editor->font;
        line.height = Editor_MeasureLineHeight(*gadget, line);
        editor->lines.insert(editor->lines.begin() + at, std::move(line));
    }
    return 0;
}

void List_SortRows(ColumnListRecord& list, int column, int compareType, int order, int first, int end) {
    const int n = static_cast<int>(list.rows.size());
    first = std::clamp(first, 0, n);
    if (end < 0 || end > n) end = n;
    column = std::max(1, std::min(column, ExistingColumns(list)));
    if (end - first < 2) return;

    SortKeys keys;
    keys.numeric = compareType == kCompareNumeric;
    keys.sign = order == kSortDescending ? -1 : 1;
    // Keys are indexed by row number; only the range is filled.
    if (keys.numeric) {
        keys.number.resize(end);
        for (int r = first; r < end; ++r) keys.number[r] = Val(std::string(List_RowCell(list.rows[r].text, column)));
    } else {
        keys.text.resize(end);
        for (int r = first; r < end; ++r) keys.text[r] = List_RowCell(list.rows[r].text, column);
    }
    std::vector<int> ref(end);
    for (int r = first; r < end; ++r) ref[r] = r;
    if (!SortDistinct(ref, keys, first, end)) QuickSort(ref, keys, first, end - 1);

    std::vector<RowRecord> sorted;
    sorted.reserve(end - first);
    for (int r = first; r < end; ++r) sorted.push_back(std::move(list.rows[ref[r]]));
    std::move(sorted.begin(), sorted.end(), list.rows.begin() + first);
}

int SortRows(int number, int column, int compareType, int order, int firstRow, int endRow) {
    GadgetRecord* gadget = FindGadget(number);
    if (auto* list = IsList(gadget) ? KindAs<ColumnListRecord>(gadget) : nullptr)
        List_SortRows(*list, column, compareType, order, firstRow, endRow);
    return 0;
}

// The list's mouse step, once per frame while the list is under the pointer.
//
// Column edges in the header band (columnDrag):
//   frame                                  | columnDrag before | after           | release is a click?
//   header, pointer < 5 px from an edge    | 0 or 65536        | 65536           | no
//     ... and the left button held         | 0 or 65536        | column<<16 | 1  | no
//   dragging, a button held                | column<<16 | 1    | unchanged; the  | no (no release)
//                                          |                   | width follows   |
//   dragging, no button held (release)     | column<<16 | 1    | 0               | yes, same frame
//   header away from edges, or below it    | 0 or 65536        | 0               | yes
//   another list's drag, over this list     | column<<16 | 1    | unchanged       | no
// The edge keeps its distance from the pointer fixed at the grab
// (columnDragGrab), so it stays under the pointer while dragging. A drag
// belongs to its list (columnDragList) and ends with the frame in which no
// button is held, wherever the pointer is then (List_EndFrame).
void List_MouseStep(GadgetRecord& gadget) {
    auto* list = KindAs<ColumnListRecord>(&gadget);
    if (!list || !IsList(&gadget)) return;
    const bool inHeader = toolkit.mouseY <= ListHeaderBottom(gadget, *list);

    if (toolkit.columnDrag & kDragButtonMask) {
        // Another list's drag: this one is not touched, and a release over
        // it ends that drag rather than clicking here.
        if (gadget.self != toolkit.columnDragList) return;
        if (toolkit.buttonState != 0) {
            const int column = toolkit.columnDrag >> kDragColumnShift;
            if (column >= 0 && column < kMaxColumns) {
                const std::int64_t width = toolkit.mouseX - ListColumnLeft(gadget, *list, column) - toolkit.columnDragGrab;
                list->columnWidth[column] = static_cast<int>(std::clamp<std::int64_t>(width, kMinColumnWidth, INT32_MAX));
            }
        } else {
            toolkit.columnDrag = 0;
        }
    } else if (inHeader) {
        for (int i = 0; i < kMaxColumns; ++i) {
            const std::int64_t edge = ListColumnLeft(gadget, *list, i);
            if (i >= 1 && std::abs(toolkit.mouseX - edge) < kEdgeReach) {
                if (toolkit.buttonState == 1) {
                    toolkit.columnDrag = ((i - 1) << kDragColumnShift) | 1;
                    toolkit.columnDragGrab = static_cast<int>(toolkit.mouseX - edge);
                    toolkit.columnDragList = gadget.self;
                } else {
                    toolkit.columnDrag = kColumnDragHover;
                }
                break;
            }
            toolkit.columnDrag = 0;
        }
    } else {
        toolkit.columnDrag = 0;
    }

    if ((toolkit.eventType != EventType_LeftUp && toolkit.eventType != EventType_RightUp) || toolkit.columnDrag != 0)
        return;
    if (inHeader) {
        toolkit.eventInHeader = 1;
        ClickHeader(gadget, *list);
        return;
    }
    int first = 0;
    if (auto* bar = KindAs<ScrollBarRecord>(OwnScrollBar(&gadget))) first = std::max(0, bar->value);
    const int r = ListRowAt(gadget, *list, first, toolkit.mouseY);
    if (r >= 0) {
        ClickRow(gadget, *list, r);
        return;
    }
    // Below the last row: nothing stays selected; the anchor is kept.
    for (auto& row : list->rows) row.selected = 0;
}

// The list under the pointer has seen the release (as a click when it is the
// dragged one); wherever it happened, the drag is over.
void List_EndFrame() {
    if (toolkit.buttonState == 0 && (toolkit.columnDrag & kDragButtonMask)) {
        toolkit.columnDrag = 0;
        toolkit.columnDragList = {};
    }
}
