// Adding and removing list columns; the column keys that make a FileList
// column show file data.
#include "gadget_internal.h"

namespace {

struct ColumnKey {
    const char* key;     // title the program passes
    const char* header;  // title shown instead
    int content;         // columnContent
};

constexpr ColumnKey kColumnKeys[] = {
    {"GT_Explorer_Column_Name", "Name", 1},
    {"GT_Explorer_Column_Size", "Size", 2},
    {"GT_Explorer_Column_Type", "Type", 3},
    {"GT_Explorer_Column_Attributes", "Attributes", 4},
    {"GT_Explorer_Column_Created", "Created", 5},
    {"GT_Explorer_Column_Modified", "Modified", 6},
    {"GT_Explorer_Column_Accessed", "Accessed", 7},
};

// Copies every per-column entry of column `from` into column `to`; the sort
// mark travels with its column.
void MoveColumn(ColumnListRecord& l, int to, int from) {
    const auto t = static_cast<size_t>(to), f = static_cast<size_t>(from);
    l.title[t] = l.title[f];
    l.columnWidth[t] = l.columnWidth[f];
    l.columnContent[t] = l.columnContent[f];
    l.sortState[t] = l.sortState[f];
}

}  // namespace

int Gadget_AddColumn(int number, int position, const std::string& title, int width) {
    GadgetRecord* g = FindGadget(number);
    auto* l = KindAs<ColumnListRecord>(g);
    if (!l || position < 0 || position >= kMaxColumns) return 0;
    for (int i = kMaxColumns - 1; i > position; --i) MoveColumn(*l, i, i - 1);
    const auto p = static_cast<size_t>(position);
    l->title[p] = title;
    l->columnWidth[p] = width;
    l->sortState[p] = -1;
    // A plain title shows no file data (it would otherwise repeat the
    // content of the column it pushed aside).
    l->columnContent[p] = 0;
    if (g->kind == GadgetKind_FileList) {
        for (const ColumnKey& k : kColumnKeys)
            if (title == k.key) {
                l->title[p] = k.header;
                l->columnContent[p] = k.content;
                break;
            }
    }
    return 0;
}

int Gadget_RemoveColumn(int number, int column) {
    GadgetRecord* g = FindGadget(number);
    auto* l = KindAs<ColumnListRecord>(g);
    // A column past the last one does not exist; removing it changes nothing.
    if (!l || column < 0 || column >= kMaxColumns) return 0;
    for (int i = column; i < kMaxColumns - 1; ++i) MoveColumn(*l, i, i + 1);
    constexpr auto last = static_cast<size_t>(kMaxColumns - 1);
    l->title[last].clear();
    l->columnWidth[last] = 0;
    l->columnContent[last] = 0;
    l->sortState[last] = -1;
    if (g->kind == GadgetKind_FileList) {
        const std::string directory = l->directory;  // the refill rewrites it
        FileList_Refill(number, directory);
    }
    return 0;
}
