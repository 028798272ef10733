// Item operations: the rows of lists and the lines of Editors, addressed by
// their index in display order.
#include <algorithm>

#include "gadget_internal.h"
#include "services.h"

namespace {

long long CountLineFeeds(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

bool InRange(int item, size_t count) {
    return item >= 0 && static_cast<size_t>(item) < count;
}

// The item at index `item` of a list or Editor, or nullptr.
RowRecord* RowAt(GadgetRecord* g, int item) {
    auto* l = KindAs<ColumnListRecord>(g);
    return l && InRange(item, l->rows.size()) ? &l->rows[static_cast<size_t>(item)] : nullptr;
}
LineRecord* LineAt(GadgetRecord* g, int item) {
    auto* e = KindAs<EditorRecord>(g);
    return e && InRange(item, e->lines.size()) ? &e->lines[static_cast<size_t>(item)] : nullptr;
}

void UpdateRowsHaveImages(ColumnListRecord& l) {
    l.rowsHaveImages = std::any_of(l.rows.begin(), l.rows.end(), [](const RowRecord& r) { return r.image != 0; });
}

// Editing happens at the caret, so it must stay on an existing line (line 0
// of an empty Editor) and within that line's text.
void KeepCaretOnALine(EditorRecord& e) {
    if (e.lines.empty()) {
        e.caretLine = 0;
        e.caretColumn = 0;
        return;
    }
    e.caretLine = std::clamp(e.caretLine, 0, static_cast<int>(e.lines.size()) - 1);
    e.caretColumn = std::clamp(e.caretColumn, 0, Len(e.lines[static_cast<size_t>(e.caretLine)].text));
}

// The anchor of a Shift selection follows its row, or is dropped with it.
void KeepAnchorOnItsRow(ColumnListRecord& l, int removed) {
    if (l.anchorRow == removed) l.anchorRow = -1;
    else if (l.anchorRow > removed) --l.anchorRow;
}

template <class Item> void SetColor(Item& item, int which, int colour) {
    if (which == 1) item.textColor = colour;
    else if (which == 2) item.backColor = colour;
}

// New row text of a FileList: file-data cells keep their old value.
std::string RebuildFileListRow(const ColumnListRecord& l, const std::string& oldText, const std::string& text) {
    const long long fields = std::min<long long>(CountLineFeeds(text) + 1, kMaxColumns);
    std::string rebuilt;
    for (long long i = 1; i <= fields; ++i) {
        rebuilt += l.columnContent[static_cast<size_t>(i - 1)] != 0 ? List_RowCell(oldText, i) : List_RowCell(text, i);
        rebuilt += '\n';
    }
    return rebuilt;
}

// New row text with one cell replaced; missing columns are skipped.
std::string RebuildRowWithCell(const ColumnListRecord& l, const std::string& oldText, int column,
                               const std::string& text) {
    std::string rebuilt;
    bool first = true;
    for (int c = 0; c < kMaxColumns; ++c) {
        if (l.columnWidth[static_cast<size_t>(c)] < 1) continue;
        if (!first) rebuilt += '\n';
        first = false;
        rebuilt += c == column ? std::string_view(text) : List_RowCell(oldText, c + 1);
    }
    return rebuilt;
}

}  // namespace

int Gadget_CountItems(int number) {
    GadgetRecord* g = FindGadget(number);
    if (auto* e = KindAs<EditorRecord>(g)) return static_cast<int>(e->lines.size());
    if (auto* l = KindAs<ColumnListRecord>(g)) return static_cast<int>(l->rows.size());
    return 0;
}

int Gadget_ClearItems(int number) {
    GadgetRecord* g = FindGadget(number);
    if (auto* e = KindAs<EditorRecord>(g)) {
        std::vector<LineRecord>().swap(e->lines);
        KeepCaretOnALine(*e);
    } else if (auto* l = KindAs<ColumnListRecord>(g)) {
        std::vector<RowRecord>().swap(l->rows);
        l->rowsHaveImages = 0;
        l->anchorRow = -1;
    }
    return 0;
}

int Gadget_RemoveItem(int number, int item) {
    GadgetRecord* g = FindGadget(number);
    if (auto* e = KindAs<EditorRecord>(g)) {
        if (!InRange(item, e->lines.size())) return 0;
        e->lines.erase(e->lines.begin() + item);
        if (e->caretLine > item) --e->caretLine;  // the caret stays on its text line
        KeepCaretOnALine(*e);
    } else if (auto* l = KindAs<ColumnListRecord>(g)) {
        if (!InRange(item, l->rows.size())) return 0;
        l->rows.erase(l->rows.begin() + item);
        UpdateRowsHaveImages(*l);
        KeepAnchorOnItsRow(*l, item);
    }
    return 0;
}

std::string Gadget_GetItemText(int number, int item) {
    GadgetRecord* g = FindGadget(number);
    if (auto* l = KindAs<ColumnListRecord>(g)) {
        if (item < 0) {
            std::string titles;
            for (int c = 0; c < kMaxColumns; ++c)
                if (l->columnWidth[static_cast<size_t>(c)] >= 1) titles += l->title[static_cast<size_t>(c)] + '\n';
            return titles;
        }
        const RowRecord* row = RowAt(g, item);
        return row ? row->text : std::string{};
    }
    const LineRecord* line = LineAt(g, item);
    return line ? line->text : std::string{};
}

std::string Gadget_GetCellText(int number, int item, int column) {
    GadgetRecord* g = FindGadget(number);
    auto* l = KindAs<ColumnListRecord>(g);
    if (!l) return {};
    if (item < 0) return column >= 0 && column < kMaxColumns ? l->title[static_cast<size_t>(column)] : std::string{};
    const RowRecord* row = RowAt(g, item);
    return row ? std::string(List_RowCell(row->text, static_cast<long long>(column) + 1)) : std::string{};
}

int Gadget_SetItemText(int number, int item, const std::string& text, int column) {
    GadgetRecord* g = FindGadget(number);
    if (auto* l = KindAs<ColumnListRecord>(g)) {
        if (item < 0) {
            const long long titles = std::min<long long>(CountLineFeeds(text) + 1, kMaxColumns);
            for (long long i = 0; i < titles; ++i) l->title[static_cast<size_t>(i)] = List_RowCell(text, i + 1);
            return 0;
        }
        RowRecord* row = RowAt(g, item);
        if (!row) return 0;
        if (column == -1) {
            row->text = g->kind == GadgetKind_FileList ? RebuildFileListRow(*l, row->text, text) : text;
            row->height = List_MeasureRowHeight(*g, *row);
        } else if (column >= 0 && column < kMaxColumns && l->columnWidth[static_cast<size_t>(column)] >= 1 &&
                   l->columnContent[static_cast<size_t>(column)] == 0) {
            row->text = RebuildRowWithCell(*l, row->text, column, text);
        }
        return 0;
    }
    if (LineRecord* line = LineAt(g, item)) {
        line->text = text;
        line->height = Editor_MeasureLineHeight(*g, *line);
    }
    return 0;
}

int Gadget_GetItemState(int number, int item) {
    GadgetRecord* g = FindGadget(number);
    if (const RowRecord* row = RowAt(g, item)) return row->selected;
    if (const LineRecord* line = LineAt(g, item)) return line->selected;
    return 0;
}

int Gadget_SetItemState(int number, int item, int state) {
    GadgetRecord* g = FindGadget(number);
    if (RowRecord* row = RowAt(g, item)) row->selected = state;
    else if (LineRecord* line = LineAt(g, item)) line->selected = state;
    return 0;
}

int Gadget_SetItemColor(int number, int item, int which, int colour) {
    GadgetRecord* g = FindGadget(number);
    if (auto* l = KindAs<ColumnListRecord>(g)) {
        if (item == -1) {
            for (RowRecord& row : l->rows) SetColor(row, which, colour);
        } else if (RowRecord* row = RowAt(g, item)) {
            SetColor(*row, which, colour);
        }
    } else if (auto* e = KindAs<EditorRecord>(g)) {
        if (item == -1) {
            for (LineRecord& line : e->lines) SetColor(line, which, colour);
        } else if (LineRecord* line = LineAt(g, item)) {
            SetColor(*line, which, colour);
        }
    }
    return 0;
}
