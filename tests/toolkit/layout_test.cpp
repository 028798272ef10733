// Where the parts of scroll bars and lists lie, and that what is painted is
// where the pointer finds it.
#include <gtest/gtest.h>

#include <string>

#include "layout.h"
#include "toolkit_fixture.h"

namespace {

class LayoutTest : public ToolkitTest {
protected:
    static GadgetRecord& Bar(int height, int thumbLength, int minimum, int maximum, int value) {
        GadgetRecord& g = NewGadget(5, GadgetKind_ScrollBar, 500, 100, kScrollBarWidth, height,
                                    ScrollBarRecord{minimum, maximum, 1, value, thumbLength, kScrollBarVertical});
        return g;
    }
    static ScrollBarRecord& BarRecord(GadgetRecord& g) { return *KindAs<ScrollBarRecord>(&g); }
};

TEST_F(LayoutTest, ScrollBarArrowsThumbAndTravel) {
    struct Case {
        const char* name;
        int height, thumb, minimum, maximum, value;
        Coord travel, along, paintedTop;
    };
    // Arrows 10 long at both ends; the thumb's top travels from y + 11 over
    // height - thumb - 22 pixels, painted within that travel whatever the value.
    const Case cases[] = {
        {"lowest value", 200, 20, 0, 100, 0, 158, 0, 111},
        {"middle", 200, 20, 0, 100, 50, 158, 79, 190},
        {"highest", 200, 20, 0, 100, 100, 158, 158, 269},
        {"below the range: the pointer's thumb goes up, the painted one stays", 200, 20, 10, 110, 0, 158, -15, 111},
        {"empty range", 200, 20, 5, 5, 5, 158, 0, 111},
        {"no room to travel", 30, 20, 0, 100, 50, -12, -6, 111},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Gadget_FreeAll();
        GadgetRecord& g = Bar(c.height, c.thumb, c.minimum, c.maximum, c.value);
        const ScrollBarLayout parts = ScrollBarParts(g, BarRecord(g));
        EXPECT_EQ(parts.upArrow.y, 100);
        EXPECT_EQ(parts.upArrow.Bottom(), 110);
        EXPECT_EQ(parts.downArrow.y, 100 + c.height - 10);
        EXPECT_EQ(parts.downArrow.Bottom(), 100 + c.height);
        EXPECT_EQ(parts.upArrow.x, 501);
        EXPECT_EQ(parts.trackTop, 111);
        EXPECT_EQ(parts.travel, c.travel);
        EXPECT_EQ(parts.thumbAlong, c.along);
        EXPECT_EQ(parts.thumb.y, c.paintedTop);
        EXPECT_EQ(parts.thumb.height, c.thumb - 1);
        EXPECT_EQ(parts.thumb.width, kScrollBarWidth - 1);
    }
}

TEST_F(LayoutTest, ListHeaderColumnsRowsAndItsBar) {
    Gadget_CreateColumnList(1, 10, 100, 300, 100, "Name", 100, 0);
    Gadget_AddColumn(1, 1, "Size", 60);
    for (int i = 0; i < 6; ++i) Gadget_AddItem(1, -1, "r" + std::to_string(i));
    GadgetRecord& g = *FindGadget(1);
    ColumnListRecord& r = *KindAs<ColumnListRecord>(&g);
    r.headerHeight = 16;
    for (RowRecord& row : r.rows) row.height = 20;

    // Rows are painted from 2 below the header band and shown while whole:
    // 100 - 16 - 2 = 82 pixels hold four rows of 20.
    ListLayout parts = ListParts(g, r, 0);
    EXPECT_EQ(parts.rowSpace, 82);
    ASSERT_EQ(parts.rows.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(parts.rows[i].row, i);
        EXPECT_EQ(parts.rows[i].band.y, 100 + 16 + 2 + 20 * i);
        EXPECT_EQ(parts.rows[i].band.x, 11);
    }
    EXPECT_EQ(parts.cellsLeft, 11);
    EXPECT_EQ(ListParts(g, r, 4).rows.size(), 2u) << "from the first shown";
    EXPECT_EQ(ListParts(g, r, 4).rows[0].band.y, 118);

    // The pointer: the header band reaches down to y + headerHeight, column
    // edges start at x, a row's band starts on the header's bottom.
    EXPECT_EQ(ListHeaderBottom(g, r), 116);
    EXPECT_EQ(ListColumnLeft(g, r, 0), 10);
    EXPECT_EQ(ListColumnLeft(g, r, 1), 110);
    EXPECT_EQ(ListColumnLeft(g, r, 2), 170);
    const Rect hit = ListRowHitBand(g, r, 0, 0);
    EXPECT_EQ(hit.y, 117);
    EXPECT_EQ(hit.Bottom(), 137);
    EXPECT_EQ(ListRowAt(g, r, 0, 136), 0);
    EXPECT_EQ(ListRowAt(g, r, 0, 137), 1);
    EXPECT_EQ(ListRowAt(g, r, 2, 137), 3) << "counted from the first shown";
    EXPECT_EQ(ListRowAt(g, r, 0, 100 + 16 + 6 * 20 + 1), -1) << "below the last row";

    // With images the columns move right by the image column.
    Gadget_AddItem(1, -1, "with image", 1);
    EXPECT_EQ(ListParts(g, r, 0).cellsLeft, 30);
    EXPECT_EQ(ListColumnLeft(g, r, 1), 130);

    const Rect bar = OwnScrollBarRect(g);
    EXPECT_EQ(bar.x, 310);
    EXPECT_EQ(bar.y, 100);
    EXPECT_EQ(bar.width, kScrollBarWidth);
    EXPECT_EQ(bar.height, 100);
}

// Whatever the heights, a click on the middle of a painted row selects that
// row, through the list's own mouse step.
TEST_F(LayoutTest, AClickOnAPaintedRowSelectsIt) {
    Gadget_CreateColumnList(1, 10, 100, 300, 200, "Name", 100, 0);
    for (int i = 0; i < 8; ++i) Gadget_AddItem(1, -1, "r" + std::to_string(i));
    Gadget_Layout();
    GadgetRecord& g = *FindGadget(1);
    ColumnListRecord& r = *KindAs<ColumnListRecord>(&g);
    const int heights[] = {4, 19, 30, 7, 12, 25, 40, 5};
    for (int i = 0; i < 8; ++i) r.rows[static_cast<size_t>(i)].height = heights[i];
    const ListLayout parts = ListParts(g, r, 0);
    ASSERT_GE(parts.rows.size(), 6u);
    for (const RowBand& shown : parts.rows) {
        toolkit.mouseX = static_cast<int>(shown.band.x + 5);
        toolkit.mouseY = static_cast<int>(shown.band.y + shown.band.height / 2);
        toolkit.buttonState = 0;
        toolkit.eventType = EventType_LeftUp;
        List_MouseStep(g);
        EXPECT_EQ(r.rows[static_cast<size_t>(shown.row)].selected, 1) << "row " << shown.row;
        EXPECT_EQ(r.anchorRow, shown.row);
    }
}

}  // namespace
