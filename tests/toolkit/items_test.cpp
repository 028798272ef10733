// Items (list rows, Editor lines), cells, columns, and bad input across the board.
#include <functional>
#include <sstream>
#include <type_traits>

#include "toolkit_fixture.h"

namespace {

using ItemsTest = ToolkitTest;

std::vector<std::string> Titles(int number) {
    const auto& titles = ToolkitTest::List(number).title;
    return {titles.begin(), titles.end()};
}

TEST_F(ItemsTest, CountClearAndRemove) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_CreateEditor(2, 0, 0, 100, 100, 0);
    Gadget_CreateText(3, 0, 0, 10, 10, "t", 0);
    for (int n : {1, 2}) {
        AddItems(n, {"a", "b", "c", "d"});
        EXPECT_EQ(Gadget_CountItems(n), 4);
        Gadget_RemoveItem(n, 1);
        EXPECT_EQ(Gadget_CountItems(n), 3);
        EXPECT_EQ(Gadget_GetItemText(n, 1), "c") << "the items behind move up";
        Gadget_RemoveItem(n, 2);
        EXPECT_EQ(Gadget_GetItemText(n, 1), "c");
        EXPECT_EQ(Gadget_CountItems(n), 2);
        Gadget_ClearItems(n);
        EXPECT_EQ(Gadget_CountItems(n), 0);
    }
    EXPECT_EQ(Gadget_CountItems(3), 0);
}

TEST_F(ItemsTest, RemovingRowsKeepsTheImageMarkAndTheAnchorTrue) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_AddItem(1, -1, "plain");
    Gadget_AddItem(1, -1, "pictured", 99);
    Gadget_AddItem(1, -1, "plain too");
    ASSERT_NE(List(1).rowsHaveImages, 0);
    List(1).anchorRow = 2;
    Gadget_RemoveItem(1, 0);
    EXPECT_NE(List(1).rowsHaveImages, 0);
    EXPECT_EQ(List(1).anchorRow, 1) << "the anchor follows its row";
    Gadget_RemoveItem(1, 0);
    EXPECT_EQ(List(1).rowsHaveImages, 0);
    Gadget_RemoveItem(1, 0);
    EXPECT_EQ(List(1).anchorRow, -1) << "the anchor's row is gone";

    Gadget_AddItem(1, -1, "again", 5);
    List(1).anchorRow = 0;
    Gadget_ClearItems(1);
    EXPECT_EQ(List(1).rowsHaveImages, 0);
    EXPECT_EQ(List(1).anchorRow, -1);
}

TEST_F(ItemsTest, RemovingAFileListRowDeletesIt) {
    Gadget_CreateFileList(1, 0, 0, 300, 200, "", 0);
    Gadget_ClearItems(1);
    AddItems(1, {"a\n0 kB\n\n", "b\n0 kB\n\n"});
    Gadget_RemoveItem(1, 0);
    ASSERT_EQ(Gadget_CountItems(1), 1);
    EXPECT_EQ(Gadget_GetCellText(1, 0, 0), "b");
}

TEST_F(ItemsTest, EditorCaretStaysOnAnExistingLine) {
    Gadget_CreateEditor(1, 0, 0, 100, 100, 0);
    Gadget_SetText(1, "one\r\ntwo\r\nthree");
    ASSERT_EQ(std::tie(Editor(1).caretLine, Editor(1).caretColumn), std::make_tuple(2, 5));
    Gadget_RemoveItem(1, 2);
    EXPECT_EQ(std::tie(Editor(1).caretLine, Editor(1).caretColumn), std::make_tuple(1, 3))
        << "its line went: the caret moves to the new last line, within its text";
    Editor(1).caretColumn = 2;
    Gadget_RemoveItem(1, 0);
    EXPECT_EQ(std::tie(Editor(1).caretLine, Editor(1).caretColumn), std::make_tuple(0, 2))
        << "a line above went: the caret stays on its text";
    Gadget_ClearItems(1);
    EXPECT_EQ(std::tie(Editor(1).caretLine, Editor(1).caretColumn), std::make_tuple(0, 0));
}

TEST_F(ItemsTest, ItemTextOfMinusOneListsTheTitlesOfExistingColumns) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "Name", 150, 0);
    Gadget_AddColumn(1, 1, "Hidden", 0);
    Gadget_AddColumn(1, 2, "Type", 50);
    EXPECT_EQ(Gadget_GetItemText(1, -1), "Name\nType\n");
    Gadget_CreateEditor(2, 0, 0, 100, 100, 0);
    AddItems(2, {"x"});
    EXPECT_EQ(Gadget_GetItemText(2, -1), "");
    EXPECT_EQ(Gadget_GetItemText(2, 0), "x");
}

TEST_F(ItemsTest, CellTextIsTheRowsLineFeedField) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_AddColumn(1, 1, "Type", 50);
    AddItems(1, {"a\nb", "only", "x\n\ny\n"});
    const struct {
        int item, column;
        const char* cell;
    } cases[] = {
        {0, 0, "a"},      {0, 1, "b"},   {0, 2, ""},         {0, -1, "a"},  {0, -100, "a"},
        {0, 2147483647, ""}, {1, 0, "only"}, {1, 1, ""},     {2, 1, ""},    {2, 2, "y"},
        {2, 3, ""},       {-1, 0, "Name"}, {-1, 1, "Type"}, {-1, 15, ""},  {-1, 16, ""},
        {-1, -1, ""},     {3, 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Gadget_GetCellText(1, c.item, c.column), c.cell) << c.item << "," << c.column;
}

TEST_F(ItemsTest, SetItemTextByColumnRebuildsTheRowOverExistingColumns) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "A", 50, 0);
    Gadget_AddColumn(1, 1, "B", 50);
    AddItems(1, {"a\nb"});
    Gadget_SetItemText(1, 0, "x", 1);
    EXPECT_EQ(Gadget_GetItemText(1, 0), "a\nx");
    Gadget_SetItemText(1, 0, "y", 0);
    EXPECT_EQ(Gadget_GetItemText(1, 0), "y\nx");
    Gadget_SetItemText(1, 0, "z", 2);  // no such column
    Gadget_SetItemText(1, 0, "z", 16);
    Gadget_SetItemText(1, 0, "z", -2);
    EXPECT_EQ(Gadget_GetItemText(1, 0), "y\nx");
    Gadget_SetItemText(1, 0, "whole\ntext\nmore");
    EXPECT_EQ(Gadget_GetItemText(1, 0), "whole\ntext\nmore");
}

TEST_F(ItemsTest, SetItemTextOfMinusOneRenamesColumns) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "A", 50, 0);
    Gadget_SetItemText(1, -1, "One\nTwo");
    EXPECT_EQ(Titles(1)[0], "One");
    EXPECT_EQ(Titles(1)[1], "Two");
    EXPECT_EQ(List(1).columnWidth[1], 0) << "titles only";
    std::string many;
    for (int i = 0; i < 20; ++i) many += "t" + std::to_string(i) + "\n";
    Gadget_SetItemText(1, -1, many);
    EXPECT_EQ(Titles(1)[15], "t15") << "at most 16 columns";
}

TEST_F(ItemsTest, FileListRowTextKeepsItsFileDataCells) {
    Gadget_CreateFileList(1, 0, 0, 300, 200, "", 0);
    Gadget_ClearItems(1);
    Gadget_AddColumn(1, 4, "Note", 80);
    ASSERT_EQ(Gadget_GetItemText(1, -1), "Name\nSize\nType\nModified\nNote\n");
    AddItems(1, {"a.png\n1 kB\npng\n2006.03.14 09:05\nold\n"});
    Gadget_SetItemText(1, 0, "b\n2\n3\n4\nnew");
    EXPECT_EQ(Gadget_GetItemText(1, 0), "a.png\n1 kB\npng\n2006.03.14 09:05\nnew\n");
    Gadget_SetItemText(1, 0, "c");
    EXPECT_EQ(Gadget_GetItemText(1, 0), "a.png\n") << "only as many fields as the new text has";
    Gadget_SetItemText(1, 0, "renamed", 0);  // a file-data column
    EXPECT_EQ(Gadget_GetItemText(1, 0), "a.png\n");
    Gadget_SetItemText(1, 0, "x\nx\nx\nx\nnote", -1);
    Gadget_SetItemText(1, 0, "changed", 4);
    EXPECT_EQ(Gadget_GetCellText(1, 0, 4), "changed");
    EXPECT_EQ(Gadget_GetCellText(1, 0, 0), "a.png");
}

TEST_F(ItemsTest, ItemStateAndColours) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_CreateEditor(2, 0, 0, 100, 100, 0);
    for (int n : {1, 2}) {
        AddItems(n, {"a", "b", "c"});
        Gadget_SetItemState(n, 1, 7);
        EXPECT_EQ(Gadget_GetItemState(n, 1), 7);
        Gadget_SetItemColor(n, -1, 1, 0x111111);
        Gadget_SetItemColor(n, 2, 2, 0x222222);
        Gadget_SetItemColor(n, 3, 1, 0x333333);   // past the end: nothing
        Gadget_SetItemColor(n, -2, 1, 0x333333);  // below -1: nothing
        Gadget_SetItemColor(n, 0, 3, 0x333333);   // no such colour
    }
    for (const RowRecord& r : List(1).rows) EXPECT_EQ(r.textColor, 0x111111);
    for (const LineRecord& l : Editor(2).lines) EXPECT_EQ(l.textColor, 0x111111);
    EXPECT_EQ(List(1).rows[2].backColor, 0x222222);
    EXPECT_EQ(List(1).rows[1].backColor, -1);
    EXPECT_EQ(Editor(2).lines[2].backColor, 0x222222);
    Gadget_SetItemColor(1, -1, 2, -1);
    EXPECT_EQ(List(1).rows[2].backColor, -1) << "-1 restores the default";
}

TEST_F(ItemsTest, AddingAColumnShiftsTheOthersAndTheirSortMarks) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_AddColumn(1, 1, "Size", 60);
    Gadget_AddColumn(1, 2, "Type", 50);
    List(1).sortState[1] = 1;
    Gadget_AddColumn(1, 1, "New", 30);
    EXPECT_EQ(Gadget_GetItemText(1, -1), "Name\nNew\nSize\nType\n");
    EXPECT_EQ((std::vector<int>(List(1).columnWidth.begin(), List(1).columnWidth.begin() + 5)),
              (std::vector<int>{100, 30, 60, 50, 0}));
    EXPECT_EQ(List(1).sortState[1], -1);
    EXPECT_EQ(List(1).sortState[2], 1) << "the mark stays with the Size column";

    for (int i = 0; i < 20; ++i) Gadget_AddColumn(1, 15, "Last", 5);
    EXPECT_EQ(Titles(1)[15], "Last");
    EXPECT_EQ(Titles(1)[3], "Type");
    Gadget_AddColumn(1, 16, "Out", 5);
    Gadget_AddColumn(1, -1, "Out", 5);
    EXPECT_EQ(Gadget_GetItemText(1, -1), "Name\nNew\nSize\nType\nLast\n");
}

TEST_F(ItemsTest, ColumnKeysBecomeHeadersInFileListsOnly) {
    Gadget_CreateFileList(1, 0, 0, 300, 200, "", 0);
    Gadget_CreateColumnList(2, 0, 0, 100, 100, "Name", 100, 0);
    const struct {
        const char* key;
        const char* header;
        int content;
    } keys[] = {
        {"GT_Explorer_Column_Name", "Name", 1},         {"GT_Explorer_Column_Size", "Size", 2},
        {"GT_Explorer_Column_Type", "Type", 3},         {"GT_Explorer_Column_Attributes", "Attributes", 4},
        {"GT_Explorer_Column_Created", "Created", 5},   {"GT_Explorer_Column_Modified", "Modified", 6},
        {"GT_Explorer_Column_Accessed", "Accessed", 7}, {"gt_explorer_column_size", "gt_explorer_column_size", 0},
        {"Plain", "Plain", 0},
    };
    for (const auto& k : keys) {
        Gadget_AddColumn(1, 1, k.key, 40);
        Gadget_AddColumn(2, 1, k.key, 40);
        EXPECT_EQ(List(1).title[1], k.header) << k.key;
        EXPECT_EQ(List(1).columnContent[1], k.content) << k.key;
        EXPECT_EQ(List(2).title[1], k.key);
        EXPECT_EQ(List(2).columnContent[1], 0);
    }
}

TEST_F(ItemsTest, RemovingAColumnShiftsTheRestDown) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_AddColumn(1, 1, "Type", 50);
    AddItems(1, {"a\nb"});
    List(1).sortState[1] = 0;
    Gadget_RemoveColumn(1, 0);
    EXPECT_EQ(Gadget_GetItemText(1, -1), "Type\n");
    EXPECT_EQ(List(1).columnWidth[0], 50);
    EXPECT_EQ(List(1).sortState[0], 0);
    EXPECT_EQ(std::tie(List(1).title[1], List(1).columnWidth[1]), std::make_tuple("", 0));
    EXPECT_EQ(Gadget_GetItemText(1, 0), "a\nb") << "a ColumnList's rows are not rewritten";

    for (int c : {-1, 16, 1000}) Gadget_RemoveColumn(1, c);
    EXPECT_EQ(Gadget_GetItemText(1, -1), "Type\n");

    for (int i = 0; i < 16; ++i) Gadget_AddColumn(1, i, "c" + std::to_string(i), 10);
    Gadget_RemoveColumn(1, 15);
    EXPECT_EQ(std::tie(List(1).title[15], List(1).columnWidth[15]), std::make_tuple("", 0));
    EXPECT_EQ(List(1).title[14], "c14");
}

TEST_F(ItemsTest, TheProgramsFileListKeepsNameAndType) {
    Gadget_CreateFileList(1, 0, 0, 300, 200, "", kFileListGridLines | kFileListNoNavigation);
    Gadget_RemoveColumn(1, 3);
    Gadget_RemoveColumn(1, 1);
    EXPECT_EQ(Gadget_GetItemText(1, -1), "Name\nType\n");
    EXPECT_EQ((std::vector<int>(List(1).columnContent.begin(), List(1).columnContent.begin() + 3)),
              (std::vector<int>{1, 3, 0}));
}

// Everything the operations may touch, written out, to prove an operation left it alone.
std::string Snapshot() {
    std::ostringstream out;
    out << toolkit.registryTop << ' ' << toolkit.activeGadget << ' ' << toolkit.records.size() << '\n';
    for (const GadgetRecord& g : toolkit.records) {
        out << g.number << ' ' << g.self.value << ' ' << g.kind << ' ' << g.hidden << ' ' << g.disabled << ' '
            << g.textColor << ' ' << g.fillMode << ' ' << g.fillColor << '|';
        std::visit(
            [&out](const auto& r) {
                using T = std::decay_t<decltype(r)>;
                if constexpr (requires { r.text; }) out << r.text << '|';
                if constexpr (requires { r.flags; }) out << r.flags << '|';
                if constexpr (requires { r.state; }) out << r.state << ' ' << r.toggle << '|';
                if constexpr (requires { r.caret; }) out << r.caret << '|';
                if constexpr (std::is_same_v<T, ScrollBarRecord>) out << r.value << '|';
                if constexpr (std::is_same_v<T, EditorRecord>) {
                    out << r.caretLine << ',' << r.caretColumn << '|';
                    for (const LineRecord& l : r.lines)
                        out << l.text << ',' << l.selected << ',' << l.textColor << ',' << l.backColor << ';';
                }
                if constexpr (std::is_same_v<T, ColumnListRecord>) {
                    for (int c = 0; c < kMaxColumns; ++c)
                        out << r.title[c] << ',' << r.columnWidth[c] << ',' << r.columnContent[c] << ','
                            << r.sortState[c] << ';';
                    out << r.anchorRow << ',' << r.rowsHaveImages << '|';
                    for (const RowRecord& row : r.rows)
                        out << row.text << ',' << row.selected << ',' << row.textColor << ',' << row.backColor << ';';
                }
            },
            g.kindRecord);
        out << '\n';
    }
    return out.str();
}

TEST_F(ItemsTest, BadNumbersKindsAndIndexesChangeNothingAndGiveTheNotFoundResult) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_AddColumn(1, 1, "Type", 50);
    AddItems(1, {"a\nb", "c\nd"});
    Gadget_CreateEditor(2, 0, 0, 100, 100, 0);
    Gadget_SetText(2, "x\r\ny\r\n");
    Gadget_CreateText(3, 0, 0, 10, 10, "text", 0);
    Gadget_CreateButton(4, 0, 0, 10, 10, "button");
    Gadget_CreateFrame(5, 0, 0, 10, 10, "frame");
    Gadget_CreateImageButton(6, 0, 0, 10, 10, 42, kButtonToggle);
    Gadget_CreateTextField(7, 0, 0, 10, 10, "field", 0);
    Gadget_CreateText(8, 0, 0, 10, 10, "old", 0);
    Gadget_CreateText(8, 0, 0, 10, 10, "new", 0);  // the old 8 lingers, unreachable
    Gadget_SetItemState(1, 1, 1);

    using Op = std::function<std::string(int number)>;  // runs an operation, returns its result as text
    auto I = [](int v) { return std::to_string(v); };
    const struct {
        const char* name;
        Op op;
        std::string notFound;
        std::vector<int> numbers;  // gadgets the call must not change
    } cases[] = {
        // Unknown numbers, for every operation.
        {"GetText", [](int n) { return Gadget_GetText(n); }, "", {-5, 0, 9, 99999}},
        {"SetText", [&](int n) { return I(Gadget_SetText(n, "z")); }, "0", {-5, 0, 9, 99999}},
        {"GetState", [&](int n) { return I(Gadget_GetState(n)); }, "-1", {-5, 0, 9, 99999, 3, 5, 7}},
        {"SetState", [&](int n) { return I(Gadget_SetState(n, 1)); }, "0", {-5, 0, 9, 99999, 3, 5, 7}},
        {"GetToggleState", [&](int n) { return I(Gadget_GetToggleState(n)); }, "-1", {-5, 9, 1, 2, 3, 4}},
        {"SetToggleState", [&](int n) { return I(Gadget_SetToggleState(n, 1)); }, "0", {-5, 9, 1, 2, 3, 4, 5}},
        {"Hide", [&](int n) { return I(Gadget_Hide(n, 1)); }, "0", {-5, 0, 9, 99999}},
        {"Disable", [&](int n) { return I(Gadget_Disable(n, 1)); }, "0", {-5, 0, 9, 99999}},
        {"SetFlags", [&](int n) { return I(Gadget_SetFlags(n, 1)); }, "0", {-5, 0, 9, 99999}},
        {"Free", [&](int n) { return I(Gadget_Free(n)); }, "0", {-5, 0, 9, 99999}},
        {"Kind", [&](int n) { return I(Gadget_Kind(n)); }, "0", {-5, 0, 9, 99999}},
        // Item operations: unknown numbers and kinds without items.
        {"CountItems", [&](int n) { return I(Gadget_CountItems(n)); }, "0", {-5, 9, 3, 4, 5, 6, 7}},
        {"ClearItems", [&](int n) { return I(Gadget_ClearItems(n)); }, "0", {-5, 9, 3, 4, 5, 6, 7}},
        {"AddColumn", [&](int n) { return I(Gadget_AddColumn(n, 0, "c", 10)); }, "0", {-5, 9, 2, 3, 7}},
        {"RemoveColumn", [&](int n) { return I(Gadget_RemoveColumn(n, 0)); }, "0", {-5, 9, 2, 3, 7}},
        {"GetCellText -1", [](int n) { return Gadget_GetCellText(n, -1, 0); }, "", {-5, 9, 2, 3}},
        // Indexes out of range, on the gadgets that have items, and on others.
        {"RemoveItem 2", [&](int n) { return I(Gadget_RemoveItem(n, 2)); }, "0", {1, 2, 3, 9}},
        {"RemoveItem -1", [&](int n) { return I(Gadget_RemoveItem(n, -1)); }, "0", {1, 2}},
        {"GetItemText 2", [](int n) { return Gadget_GetItemText(n, 2); }, "", {1, 2, 3, 9}},
        {"GetItemText -2", [](int n) { return Gadget_GetItemText(n, -2); }, "", {2, 3}},
        {"GetCellText 2", [](int n) { return Gadget_GetCellText(n, 2, 0); }, "", {1, 2, 3}},
        {"SetItemText 2", [&](int n) { return I(Gadget_SetItemText(n, 2, "z")); }, "0", {1, 2, 3, 9}},
        {"SetItemText -1 Editor", [&](int n) { return I(Gadget_SetItemText(n, -1, "z")); }, "0", {2, 3}},
        {"SetItemText col 5", [&](int n) { return I(Gadget_SetItemText(n, 0, "z", 5)); }, "0", {1}},
        {"GetItemState 2", [&](int n) { return I(Gadget_GetItemState(n, 2)); }, "0", {1, 2, 3}},
        {"GetItemState -1", [&](int n) { return I(Gadget_GetItemState(n, -1)); }, "0", {1, 2}},
        {"SetItemState 2", [&](int n) { return I(Gadget_SetItemState(n, 2, 1)); }, "0", {1, 2, 3}},
        {"SetItemState -1", [&](int n) { return I(Gadget_SetItemState(n, -1, 1)); }, "0", {1, 2}},
        {"SetItemColor 2", [&](int n) { return I(Gadget_SetItemColor(n, 2, 1, 5)); }, "0", {1, 2, 3}},
        {"SetItemColor -2", [&](int n) { return I(Gadget_SetItemColor(n, -2, 1, 5)); }, "0", {1, 2}},
        {"SetItemColor -1 on Text", [&](int n) { return I(Gadget_SetItemColor(n, -1, 1, 5)); }, "0", {3, 9}},
    };
    const std::string before = Snapshot();
    for (const auto& c : cases)
        for (int n : c.numbers) {
            EXPECT_EQ(c.op(n), c.notFound) << c.name << " on " << n;
            ASSERT_EQ(Snapshot(), before) << c.name << " on " << n;
        }
}

}  // namespace
