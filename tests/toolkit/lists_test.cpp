// List rows: adding and measuring, SortRows, and the list mouse step
// (selection clicks, header sorting, column edge resizing).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <vector>

#include "toolkit_fixture.h"
#include "lists_internal.h"
#include "services.h"
#include "testing.h"

namespace {

constexpr int kList = 7;
constexpr int kListX = 10, kListY = 100, kHeader = 20, kRowHeight = 20;

class ListsTest : public ToolkitTest {
protected:

    ColumnListRecord& List(int number = kList) { return *KindAs<ColumnListRecord>(FindGadget(number)); }

    // A list with `n` rows "r0".."r{n-1}" of a fixed height and a known header.
    void MakeList(int n, int flags = 0) {
        Gadget_CreateColumnList(kList, kListX, kListY, 300, 300, "Name", 100, flags);
        Gadget_AddColumn(kList, 1, "Size", 60);
        for (int i = 0; i < n; ++i) Gadget_AddItem(kList, -1, "r" + std::to_string(i) + "\n" + std::to_string(i));
        ColumnListRecord& list = List();
        list.headerHeight = kHeader;
        for (auto& row : list.rows) row.height = kRowHeight;
    }

    std::vector<int> Selected(int number = kList) {
        std::vector<int> out;
        const auto& rows = List(number).rows;
        for (int i = 0; i < static_cast<int>(rows.size()); ++i)
            if (rows[i].selected) out.push_back(i);
        return out;
    }

    void HoldKey(int scanCode, bool down) {
        Testing_Key(scanCode, down);
        Key_Examine();
    }

    // One frame of the list step with the given pointer, button and event.
    void Step(int x, int y, int buttonState, int eventType, int number = kList) {
        toolkit.mouseX = x;
        toolkit.mouseY = y;
        toolkit.buttonState = buttonState;
        toolkit.eventType = eventType;
        List_MouseStep(*FindGadget(number));
    }
    void ClickRow(int row, int eventType = EventType_LeftUp) {
        const Rect band = ListRowHitBand(*FindGadget(kList), List(), 0, row);
        Step(kListX + 5, static_cast<int>(band.y + band.height / 2), 0, eventType);
    }
    void ClickHeaderAt(int x) { Step(x, kListY + 5, 0, EventType_LeftUp); }
};

TEST_F(ListsTest, AddItemPositions) {
    struct Case {
        int position;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {-1, {"a", "b", "c", "new"}}, {7, {"a", "b", "c", "new"}}, {3, {"a", "b", "c", "new"}},
        {0, {"new", "a", "b", "c"}},  {1, {"a", "new", "b", "c"}}, {2, {"a", "b", "new", "c"}},
        {-9, {"a", "b", "c", "new"}},
    };
    for (const auto& c : cases) {
        Gadget_FreeAll();
        Gadget_CreateColumnList(kList, 0, 0, 100, 100, "Name", 100, 0);
        for (const char* t : {"a", "b", "c"}) Gadget_AddItem(kList, -1, t);
        Gadget_AddItem(kList, c.position, "new");
        std::vector<std::string> got;
        for (const auto& row : List().rows) got.push_back(row.text);
        EXPECT_EQ(got, c.expected) << "position " << c.position;
    }
    // Position 0 on an empty list.
    Gadget_FreeAll();
    Gadget_CreateColumnList(kList, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_AddItem(kList, 0, "only");
    ASSERT_EQ(List().rows.size(), 1u);
    EXPECT_EQ(List().rows[0].text, "only");
}

TEST_F(ListsTest, NewRowsTakeTheListsFontAndDefaults) {
    Gadget_CreateColumnList(kList, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_AddItem(kList, -1, "text");
    const RowRecord& row = List().rows[0];
    EXPECT_EQ(row.font, List().font);
    EXPECT_EQ(row.selected, 0);
    EXPECT_EQ(row.backColor, -1);
    EXPECT_EQ(row.textColor, -1);
    EXPECT_EQ(row.image, 0);
    EXPECT_EQ(row.entryType, 0);
}

TEST_F(ListsTest, AddItemIgnoresUnknownNumbersAndOtherKinds) {
    Gadget_CreateText(1, 0, 0, 50, 20, "t", 0);
    Gadget_CreateButton(2, 0, 30, 50, 20, "b");
    for (int number : {1, 2, 3, -1, 99999}) {
        Gadget_AddItem(number, -1, "x");
        EXPECT_EQ(Gadget_CountItems(number), 0) << number;
    }
    EXPECT_EQ(KindAs<TextRecord>(FindGadget(1))->text, "t");
}

TEST_F(ListsTest, RowHeightsAreMeasuredWithTheListFont) {
    Gadget_CreateColumnList(kList, 0, 0, 100, 100, "Name", 100, 0);
    ASSERT_TRUE(Draw_Begin(Draw_ScreenOutput()));
    Draw_Font(Font_Handle(kToolkitFont));
    const int blank = Draw_TextHeight(" ");
    const int text = Draw_TextHeight("Hello");
    Draw_End();
    ASSERT_GT(text, 0);

    Gadget_AddItem(kList, -1, "Hello");
    Gadget_AddItem(kList, -1, "");
    EXPECT_EQ(List().rows[0].height, text);
    EXPECT_EQ(List().rows[1].height, blank);
    EXPECT_EQ(List_MeasureRowHeight(*FindGadget(kList), List().rows[0]), text);
}

TEST_F(ListsTest, ImageRowsAreAtLeast19HighAndMarkTheList) {
    Gadget_CreateColumnList(kList, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_AddItem(kList, -1, "plain");
    EXPECT_EQ(List().rowsHaveImages, 0);
    Gadget_AddItem(kList, 0, "small", 1234);
    EXPECT_EQ(List().rowsHaveImages, 1);
    const RowRecord& imageRow = List().rows[0];
    EXPECT_EQ(imageRow.image, 1234);
    EXPECT_GE(imageRow.height, 19);
    EXPECT_LT(List().rows[1].height, 19) << "the toolkit font is small; plain rows keep their text height";
    Gadget_AddItem(kList, -1, "more");
    EXPECT_EQ(List().rowsHaveImages, 1);
}

TEST_F(ListsTest, HeightIsZeroWithoutAScreenButImageRowsStay19) {
    Testing_ResetServices();  // no screen any more: Draw_Begin fails
    Gadget_CreateColumnList(kList, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_AddItem(kList, -1, "text");
    Gadget_AddItem(kList, -1, "pic", 5);
    EXPECT_EQ(List().rows[0].height, 0);
    EXPECT_EQ(List().rows[1].height, 19);
}

TEST_F(ListsTest, EditorLinesAreAddedAndMeasured) {
    Gadget_CreateEditor(3, 0, 0, 200, 100, 0);
    Gadget_AddItem(3, -1, "one");
    Gadget_AddItem(3, 0, "zero");
    Gadget_AddItem(3, 5, "two", 77);
    const auto& lines = KindAs<EditorRecord>(FindGadget(3))->lines;
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "zero");
    EXPECT_EQ(lines[1].text, "one");
    EXPECT_EQ(lines[2].text, "two");
    EXPECT_GT(lines[2].height, 0);
    EXPECT_LT(lines[2].height, 19) << "an Editor line has no image";
}

// ---------------------------------------------------------------- selection clicks

TEST_F(ListsTest, PlainClickSelectsOnlyTheClickedRow) {
    MakeList(8, kListMultiSelect);
    Gadget_SetItemState(kList, 1, 1);
    Gadget_SetItemState(kList, 2, 1);
    ClickRow(4);
    EXPECT_EQ(Selected(), std::vector<int>{4});
    EXPECT_EQ(List().anchorRow, 4);
    // A right-button release selects just the same.
    ClickRow(6, EventType_RightUp);
    EXPECT_EQ(Selected(), std::vector<int>{6});
}

TEST_F(ListsTest, CtrlAndShiftClicksOnAMultiSelectList) {
    MakeList(10, kListMultiSelect);
    ClickRow(1);
    for (int ctrl : {kKeyLeftCtrl, kKeyRightCtrl}) {
        HoldKey(ctrl, true);
        ClickRow(4);
        EXPECT_EQ(Selected(), (std::vector<int>{1, 4}));
        EXPECT_EQ(List().anchorRow, 4);
        ClickRow(4);  // toggles back off
        EXPECT_EQ(Selected(), std::vector<int>{1});
        HoldKey(ctrl, false);
    }
    ClickRow(4);  // plain: only 4
    HoldKey(kKeyLeftCtrl, true);
    ClickRow(1);
    HoldKey(kKeyLeftCtrl, false);
    ClickRow(4);
    EXPECT_EQ(Selected(), std::vector<int>{4});
    HoldKey(kKeyLeftCtrl, true);
    ClickRow(9);
    HoldKey(kKeyLeftCtrl, false);
    HoldKey(kKeyRightShift, true);
    ClickRow(6);  // from anchor 9 down to 6, 4 kept
    EXPECT_EQ(Selected(), (std::vector<int>{4, 6, 7, 8, 9}));
    EXPECT_EQ(List().anchorRow, 6);
    ClickRow(2);  // anchor 6 -> 2
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9}));
    HoldKey(kKeyRightShift, false);
    ClickRow(1);
    HoldKey(kKeyLeftShift, true);
    ClickRow(3);  // downwards: the clicked row ends the range
    HoldKey(kKeyLeftShift, false);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3}));
}

TEST_F(ListsTest, ShiftWithoutAnchorOrWithoutMultiSelectIsAPlainClick) {
    struct Case {
        int flags;
        int key;
    };
    for (const Case c : {Case{kListMultiSelect, kKeyLeftShift}, Case{0, kKeyLeftShift}, Case{0, kKeyLeftCtrl}}) {
        Gadget_FreeAll();
        MakeList(8, c.flags);
        Gadget_SetItemState(kList, 2, 1);
        if (c.flags == 0) List().anchorRow = 0;
        HoldKey(c.key, true);
        ClickRow(5);
        HoldKey(c.key, false);
        EXPECT_EQ(Selected(), std::vector<int>{5}) << "flags " << c.flags << " key " << c.key;
        EXPECT_EQ(List().anchorRow, 5);
    }
}

TEST_F(ListsTest, ClickBelowTheLastRowClearsTheSelectionAndKeepsTheAnchor) {
    MakeList(3, kListMultiSelect);
    ClickRow(1);
    HoldKey(kKeyLeftCtrl, true);
    ClickRow(2);
    HoldKey(kKeyLeftCtrl, false);
    ClickRow(5);
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(List().anchorRow, 2);
}

TEST_F(ListsTest, OnlyReleasesClickAndRowBoundariesAreInclusive) {
    MakeList(4);
    for (int type : {EventType_None, EventType_Gadget, EventType_LeftDown, EventType_RightDown, EventType_Wheel}) {
        ClickRow(2, type);
        EXPECT_TRUE(Selected().empty()) << "event type " << type;
    }
    // Row 0 covers y + header + 1 .. y + header + 20 (its bottom included).
    Step(kListX + 5, kListY + kHeader + kRowHeight, 0, EventType_LeftUp);
    EXPECT_EQ(Selected(), std::vector<int>{0});
    Step(kListX + 5, kListY + kHeader + kRowHeight + 1, 0, EventType_LeftUp);
    EXPECT_EQ(Selected(), std::vector<int>{1});
}

TEST_F(ListsTest, RowsCountFromTheFirstVisibleRowOfTheScrollBar) {
    MakeList(10);
    GadgetRecord& bar = NewGadget(kList + kScrollBarNumberOffset, GadgetKind_ScrollBar, 300, kListY, 16, 300,
                                  ScrollBarRecord{0, 9, 5, 3, 10, 1});
    List().scrollBar = bar.self;
    ClickRow(0);
    EXPECT_EQ(Selected(), std::vector<int>{3});
    ClickRow(6);  // 3 + 6 is the last row
    EXPECT_EQ(Selected(), std::vector<int>{9});
    ClickRow(7);  // past the last
    EXPECT_TRUE(Selected().empty());
}

// ---------------------------------------------------------------- header and columns

TEST_F(ListsTest, HeaderClicksCycleTheMarkAndLeaveAColumnListUnsorted) {
    MakeList(3);
    List().rows[0].text = "b";
    List().rows[2].text = "a";
    const int sizeColumnX = kListX + 100 + 30;
    const int expected[] = {1, 0, -1, 1};
    for (int mark : expected) {
        ClickHeaderAt(sizeColumnX);
        EXPECT_EQ(List().sortState[1], mark);
        EXPECT_EQ(List().sortState[0], -1);
    }
    ClickHeaderAt(kListX + 40);
    EXPECT_EQ(List().sortState[0], 1);
    EXPECT_EQ(List().sortState[1], -1) << "a click on another column clears the old mark";
    EXPECT_EQ(List().rows[0].text, "b");
    EXPECT_EQ(List().rows[2].text, "a");
    // Right of the last column: no column, nothing changes.
    ClickHeaderAt(kListX + 100 + 60 + 50);
    EXPECT_EQ(List().sortState[0], 1);
}

TEST_F(ListsTest, EdgeHoverWithinFourPixelsSwallowsTheRelease) {
    const int edge = kListX + 100;  // right edge of column 0
    struct Case {
        int x;
        int columnDrag;
        bool sorts;
    };
    const Case cases[] = {
        {edge - 4, 65536, false}, {edge + 4, 65536, false}, {edge, 65536, false},
        {edge - 5, 0, true},      {edge + 5, 0, true},      {kListX + 2, 0, true},  // left edge of column 0 is no edge
    };
    for (const auto& c : cases) {
        Gadget_FreeAll();
        toolkit.columnDrag = 0;
        MakeList(2);
        Step(c.x, kListY + 5, 0, EventType_Gadget);  // hovering
        EXPECT_EQ(toolkit.columnDrag, c.columnDrag) << c.x - edge;
        Step(c.x, kListY + 5, 0, EventType_LeftUp);  // the release
        const bool marked = List().sortState[0] != -1 || List().sortState[1] != -1;
        EXPECT_EQ(marked, c.sorts) << c.x - edge;
    }
    // Below the header band there is no edge.
    Gadget_FreeAll();
    toolkit.columnDrag = 65536;
    MakeList(2);
    Step(edge, kListY + kHeader + 5, 0, EventType_Gadget);
    EXPECT_EQ(toolkit.columnDrag, 0);
}

TEST_F(ListsTest, DraggingAColumnEdgeKeepsItUnderThePointer) {
    for (int images : {0, 1}) {
        Gadget_FreeAll();
        toolkit.columnDrag = 0;
        MakeList(2);
        if (images) Gadget_AddItem(kList, -1, "pic", 9);
        const int off = images ? 20 : 0;
        const int left1 = kListX + off + 100;  // column 1's left edge
        // Grab 3 px right of the edge between columns 1 and 2.
        Step(left1 + 60 + 3, kListY + 5, 1, EventType_LeftDown);
        EXPECT_EQ(toolkit.columnDrag & 0xFFFF, 1);
        EXPECT_EQ(List().columnWidth[1], 60);
        for (int x : {left1 + 90, left1 + 200, left1 + 31}) {
            Step(x, kListY + 5, 1, EventType_LeftDown);
            EXPECT_EQ(left1 + List().columnWidth[1], x - 3) << "images " << images;
        }
        // Down into the rows and far left: still dragging, never below 5.
        Step(0, kListY + 150, 1, EventType_LeftDown);
        EXPECT_EQ(List().columnWidth[1], 5);
        EXPECT_EQ(List().columnWidth[0], 100);
        Step(left1 + 40, kListY + 5, 1, EventType_LeftDown);
        EXPECT_EQ(List().columnWidth[1], 37);
        // The release ends the drag and is a header click in the same frame.
        Step(left1 + 10, kListY + 5, 0, EventType_LeftUp);
        EXPECT_EQ(toolkit.columnDrag, 0);
        EXPECT_EQ(List().sortState[1], 1);
        EXPECT_EQ(List().columnWidth[1], 37);
    }
}

// Widths up to the int limit: the header still finds the column under the
// pointer, and a drag can widen a column to the limit.
TEST_F(ListsTest, HugeColumnsStillTakeHeaderClicksAndDrags) {
    MakeList(2);
    List().columnWidth[0] = INT_MAX;
    ClickHeaderAt(kListX + 400);
    EXPECT_EQ(List().sortState[0], 1);
    EXPECT_EQ(List().sortState[1], -1);
    List().columnWidth[0] = 100;
    List().columnWidth[1] = INT_MAX - 50;
    Step(kListX + 100, kListY + 5, 1, EventType_LeftDown);  // grab the edge after column 0
    Step(kListX + 100 + 200, kListY + 5, 1, EventType_LeftDown);
    EXPECT_EQ(List().columnWidth[0], 300);
    ClickHeaderAt(kListX + 1000);  // ends the drag; a click far inside column 1
    EXPECT_EQ(List().sortState[1], 1);
}

TEST_F(ListsTest, ReleaseAfterADragOverTheRowsSelects) {
    MakeList(4);
    Step(kListX + 100, kListY + 5, 1, EventType_LeftDown);
    ASSERT_NE(toolkit.columnDrag & 0xFFFF, 0);
    Step(kListX + 150, kListY + kHeader + 30, 0, EventType_LeftUp);
    EXPECT_EQ(List().columnWidth[0], 100) << "no button held: no resize in the release frame";
    EXPECT_EQ(Selected(), std::vector<int>{1});
}

// Through whole frames: a drag belongs to the list it started on. Let go off
// that list it ends, and neither list changes on the next press; held over
// another list it leaves that list alone.
TEST_F(ListsTest, ColumnDragStaysWithItsListAndEndsWherever) {
    constexpr int kOther = 8, kOtherX = 500;
    MakeList(2);
    Gadget_CreateColumnList(kOther, kOtherX, kListY, 300, 200, "Name", 100, 0);
    Gadget_AddColumn(kOther, 1, "Size", 60);
    Gadget_Layout();  // header heights
    const int hh = List().headerHeight;
    ASSERT_GT(hh, 5);
    auto frame = [](int x, int y, int button) {
        Testing_MouseMove(x, y);
        if (button >= 0) Testing_MouseButton(1, button == 1);
        Mouse_Examine();
        Key_Examine();
        Gadget_ProcessEvents();
    };
    struct Case {
        const char* name;
        int letGoX, letGoY;  // where the button is let go after dragging A's edge 30 px right
    };
    const Case cases[] = {{"off every list", 400, 600}, {"over the other list", kOtherX + 50, kListY + hh + 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        List().columnWidth[0] = 100;
        const int edge = kListX + 100;
        frame(edge, kListY + 3, -1);
        frame(edge, kListY + 3, 1);
        frame(edge + 30, kListY + 3, -1);
        EXPECT_EQ(List().columnWidth[0], 130);
        frame(kOtherX + 100, kListY + 3, -1);  // held over the other list's edge
        frame(kOtherX + 140, kListY + 3, -1);
        EXPECT_EQ(List(kOther).columnWidth[0], 100);
        EXPECT_EQ(List(kOther).columnWidth[1], 60);
        frame(c.letGoX, c.letGoY, -1);
        frame(c.letGoX, c.letGoY, 0);
        EXPECT_EQ(toolkit.columnDrag & 0xFFFF, 0);
        // The next press, on the other list's rows, moved about.
        frame(kOtherX + 20, kListY + hh + 10, 1);
        frame(kOtherX + 250, kListY + hh + 40, -1);
        frame(kOtherX + 250, kListY + hh + 40, 0);
        EXPECT_EQ(List(kOther).columnWidth[0], 100);
        EXPECT_EQ(List(kOther).columnWidth[1], 60);
        EXPECT_EQ(List().columnWidth[0], 130);
        EXPECT_EQ(List().columnWidth[1], 60);
    }
}

// ---------------------------------------------------------------- SortRows

std::vector<std::string> Texts(const ColumnListRecord& list) {
    std::vector<std::string> out;
    for (const auto& row : list.rows) out.push_back(row.text);
    return out;
}

TEST_F(ListsTest, SortRowsByTextAndNumber) {
    struct Case {
        std::vector<std::string> rows;
        int column, type, order, first, end;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        // Signed bytes: capitals before small letters, bytes >= 128 before ASCII.
        {{"a", "B", "\xC3\xA9", "C"}, 1, kCompareText, 0, 0, -1, {"\xC3\xA9", "B", "C", "a"}},
        {{"a", "B", "\xC3\xA9", "C"}, 1, kCompareText, 1, 0, -1, {"a", "C", "B", "\xC3\xA9"}},
        // Numeric cells read with Val.
        {{"x\n10 kB", "y\n9 kB", "z\n100 kB", "w\n-3"}, 2, kCompareNumeric, 0, 0, 4,
         {"w\n-3", "y\n9 kB", "x\n10 kB", "z\n100 kB"}},
        {{"x\n10 kB", "y\n9 kB", "z\n100 kB", "w\n-3"}, 2, kCompareNumeric, 1, 0, 4,
         {"z\n100 kB", "x\n10 kB", "y\n9 kB", "w\n-3"}},
        // Range clamps: first below 0, end past the count, a partial range.
        {{"d", "c", "b", "a"}, 1, kCompareText, 0, -5, 99, {"a", "b", "c", "d"}},
        {{"d", "c", "b", "a"}, 1, kCompareText, 0, 1, 3, {"d", "b", "c", "a"}},
        {{"d", "c", "b", "a"}, 1, kCompareText, 0, 2, -1, {"d", "c", "a", "b"}},
        {{"d", "c", "b", "a"}, 1, kCompareText, 0, 3, 1, {"d", "c", "b", "a"}},
        {{"d", "c", "b", "a"}, 1, kCompareText, 0, 9, 2, {"d", "c", "b", "a"}},
        // Column clamps: 0 -> 1, past the existing columns -> the last one.
        {{"b\n1", "a\n2"}, 0, kCompareText, 0, 0, -1, {"a\n2", "b\n1"}},
        {{"a\n2", "b\n1"}, 9, kCompareText, 0, 0, -1, {"b\n1", "a\n2"}},
        // A column past a row's last cell reads an empty cell (equal to all).
        {{"a\n2", "b", "c\n1"}, 2, kCompareNumeric, 0, 0, -1, {"b", "c\n1", "a\n2"}},
    };
    for (const auto& c : cases) {
        Gadget_FreeAll();
        Gadget_CreateColumnList(kList, 0, 0, 100, 100, "A", 50, 0);
        Gadget_AddColumn(kList, 1, "B", 50);
        for (const auto& t : c.rows) Gadget_AddItem(kList, -1, t);
        SortRows(kList, c.column, c.type, c.order, c.first, c.end);
        EXPECT_EQ(Texts(List()), c.expected) << "column " << c.column << " first " << c.first << " end " << c.end;
    }
}

TEST_F(ListsTest, TextCompareTreatsAPrefixAsEqual) {
    // With two equal rows the quicksort puts the pivot (the last row) first;
    // an ordinary comparison would keep "abc" ahead of "ab" when descending.
    Gadget_CreateColumnList(kList, 0, 0, 100, 100, "A", 50, 0);
    Gadget_AddItem(kList, -1, "abc");
    Gadget_AddItem(kList, -1, "ab");
    SortRows(kList, 1, kCompareText, kSortDescending, 0, -1);
    EXPECT_EQ(Texts(List()), (std::vector<std::string>{"ab", "abc"}));
    SortRows(kList, 1, kCompareText, kSortAscending, 0, -1);
    EXPECT_EQ(Texts(List()), (std::vector<std::string>{"abc", "ab"}));
}

TEST_F(ListsTest, SortRowsIgnoresOtherKindsAndUnknownNumbers) {
    Gadget_CreateEditor(3, 0, 0, 100, 100, 0);
    Gadget_AddItem(3, -1, "b");
    Gadget_AddItem(3, -1, "a");
    SortRows(3, 1, kCompareText, 0, 0, -1);
    SortRows(4, 1, kCompareText, 0, 0, -1);
    EXPECT_EQ(KindAs<EditorRecord>(FindGadget(3))->lines[0].text, "b");
}

// The quicksort written out literally, j running down to 0 below lo, over
// the whole row array; the toolkit's version must agree with it exactly.
int ModelCompare(const std::string& a, const std::string& b, int column, int type, int order) {
    const std::string_view x = List_RowCell(a, column), y = List_RowCell(b, column);
    int r = 0;
    if (type == kCompareNumeric) {
        const int vx = Val(std::string(x)), vy = Val(std::string(y));
        r = vx < vy ? -1 : (vx > vy ? 1 : 0);
    } else {
        for (size_t i = 0; i < std::min(x.size(), y.size()); ++i) {
            if (static_cast<signed char>(x[i]) != static_cast<signed char>(y[i])) {
                r = static_cast<signed char>(x[i]) < static_cast<signed char>(y[i]) ? -1 : 1;
                break;
            }
        }
    }
    return order == 1 ? -r : r;
}

void ModelSort(std::vector<std::string>& a, int lo, int hi, int column, int type, int order) {
    if (lo >= hi) return;
    const std::string pivot = a[hi];
    int i = lo - 1, j = hi;
    std::string t;
    do {
        do ++i;
        while (i < hi && ModelCompare(a[i], pivot, column, type, order) < 0);
        do --j;
        while (j > 0 && ModelCompare(a[j], pivot, column, type, order) > 0);
        t = a[i];
        a[i] = a[j];
        a[j] = t;
    } while (j > i);
    a[j] = a[i];
    a[i] = a[hi];
    a[hi] = t;
    ModelSort(a, lo, i - 1, column, type, order);
    ModelSort(a, i + 1, hi, column, type, order);
}

TEST_F(ListsTest, SortRowsPropertiesOverSeededRandomLists) {
    std::mt19937 rng(20261207);
    const std::string alphabet[] = {"a", "b", "B", "ab", "\xC3\xA9", "1", "10", "-2", " 7", "x"};
    for (int round = 0; round < 300; ++round) {
        Gadget_FreeAll();
        Gadget_CreateColumnList(kList, 0, 0, 100, 100, "A", 50, 0);
        Gadget_AddColumn(kList, 1, "B", 50);
        const int n = std::uniform_int_distribution<int>(0, 40)(rng);
        std::vector<std::string> texts;
        for (int r = 0; r < n; ++r) {
            std::string text;
            const int cells = std::uniform_int_distribution<int>(0, 2)(rng);
            for (int c = 0; c < cells; ++c) {
                if (c) text += '\n';
                if (round % 2) {  // keys mostly distinct
                    text += std::to_string(static_cast<int>(rng() % 2000) - 1000);
                    continue;
                }
                const int parts = std::uniform_int_distribution<int>(0, 3)(rng);
                for (int p = 0; p < parts; ++p) text += alphabet[rng() % std::size(alphabet)];
            }
            texts.push_back(text);
            Gadget_AddItem(kList, -1, text);
            List().rows.back().backColor = r;  // identity tag
        }
        const int first = std::uniform_int_distribution<int>(-2, n + 2)(rng);
        const int end = std::uniform_int_distribution<int>(-2, n + 2)(rng);
        const int column = std::uniform_int_distribution<int>(0, 3)(rng);
        const int type = rng() % 2 ? kCompareText : kCompareNumeric;
        const int order = rng() % 2;
        SortRows(kList, column, type, order, first, end);

        const int f = std::clamp(first, 0, n), e = end < 0 || end > n ? n : end;
        const int col = std::clamp(column, 1, 2);
        const auto& rows = List().rows;
        ASSERT_EQ(static_cast<int>(rows.size()), n);
        std::vector<int> tags;
        for (int r = 0; r < n; ++r) {
            tags.push_back(rows[r].backColor);
            EXPECT_EQ(rows[r].text, texts[rows[r].backColor]);
            if (r < f || r >= e) {
                EXPECT_EQ(rows[r].backColor, r) << "round " << round << " moved row " << r;
            }
        }
        std::sort(tags.begin(), tags.end());
        for (int r = 0; r < n; ++r) ASSERT_EQ(tags[r], r) << "round " << round;
        for (int r = f; r + 1 < e; ++r)
            EXPECT_LE(ModelCompare(rows[r].text, rows[r + 1].text, col, type, order), 0) << "round " << round;
        std::vector<std::string> model = texts;
        if (f < e) ModelSort(model, f, e - 1, col, type, order);
        EXPECT_EQ(Texts(List()), model) << "round " << round;
    }
}

}  // namespace
