// Drawing of the gadgets, checked pixel by pixel on the back buffer.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <functional>
#include <string>

#include "layout.h"
#include "toolkit_fixture.h"

namespace {

constexpr int kBackground = 0x102030;  // a colour no gadget paints
constexpr int kWhite = 0xFFFFFF;
constexpr int kGrey = 0x808080;
constexpr int kRed = 255;

class RenderTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        Gadget_SetDefaultFillMode(0);  // transparent unless a test asks for a fill
    }

    // Frees every gadget; FreeAll brings back fill mode 1, the tests want 0.
    static void FreshGadgets() {
        Gadget_FreeAll();
        Gadget_SetDefaultFillMode(0);
    }
    // Clears the screen to the background colour and runs the layout step and one draw pass.
    static void DrawFrame() {
        ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
        Draw_Box(0, 0, 1024, 768, kBackground);
        Draw_End();
        Gadget_Layout();
        Gadget_DrawAll();
    }
    static int Pixel(int x, int y) {
        if (!Draw_Begin(Draw_ScreenOutput())) return -1;
        const int c = Draw_Point(x, y);
        Draw_End();
        return c;
    }
    // Text metrics in the toolkit's font.
    static int TextWidth(const std::string& text) {
        Draw_Begin(Draw_ScreenOutput());
        Draw_Font(Font_Handle(kToolkitFont));
        const int w = Draw_TextWidth(text);
        Draw_End();
        return w;
    }
    static int TextHeight(const std::string& text) {
        Draw_Begin(Draw_ScreenOutput());
        Draw_Font(Font_Handle(kToolkitFont));
        const int h = Draw_TextHeight(text);
        Draw_End();
        return h;
    }
    static ScrollBarRecord* Bar(int owner) { return KindAs<ScrollBarRecord>(FindGadget(owner + kScrollBarNumberOffset)); }
};

// ---------------------------------------------------------------- borders

struct BevelCase {
    const char* name;
    int toggleState;     // -1: plain button
    bool heldDown;       // event gadget with EventType_LeftDown
    int light, dark;
};

TEST_F(RenderTest, ButtonBevelHasEverySegmentInItsColour) {
    const BevelCase cases[] = {
        {"raised", -1, false, kWhite, kGrey},
        {"held down", -1, true, kGrey, kWhite},
        {"toggle in", 1, false, kGrey, kWhite},
        {"toggle out", 0, false, kWhite, kGrey},
    };
    const int x = 100, y = 100, w = 120, h = 40;
    for (const BevelCase& c : cases) {
        SCOPED_TRACE(c.name);
        FreshGadgets();
        Gadget_CreateButton(1, x, y, w, h, "", c.toggleState >= 0 ? kButtonToggle : 0);
        if (c.toggleState >= 0) Gadget_SetToggleState(1, c.toggleState);
        toolkit.activeGadget = -1;
        toolkit.eventGadget = c.heldDown ? 1 : -1;
        toolkit.eventType = c.heldDown ? EventType_LeftDown : EventType_None;
        DrawFrame();
        EXPECT_EQ(Pixel(x + 50, y), c.light) << "top";
        EXPECT_EQ(Pixel(x, y + 15), c.light) << "left";
        EXPECT_EQ(Pixel(x + 5, y + h - 5), c.light) << "bottom-left cut";
        EXPECT_EQ(Pixel(x + w, y + 25), c.dark) << "right";
        EXPECT_EQ(Pixel(x + 60, y + h), c.dark) << "bottom";
        EXPECT_EQ(Pixel(x + w - 5, y + 5), c.dark) << "top-right cut";
        EXPECT_EQ(Pixel(x + w - 1, y), kBackground) << "the cut corner stays open";
        EXPECT_EQ(Pixel(x, y + h - 1), kBackground) << "the cut corner stays open";
    }
}

TEST_F(RenderTest, BoxBorderOfImageButtonRaisedAndPressed) {
    const int x = 300, y = 200, w = 40, h = 30;
    for (int state : {0, 1}) {
        SCOPED_TRACE(state);
        FreshGadgets();
        Gadget_CreateImageButton(1, x, y, w, h, 0, kButtonToggle);
        Gadget_SetToggleState(1, state);
        DrawFrame();
        const int light = state ? kGrey : kWhite, dark = state ? kWhite : kGrey;
        EXPECT_EQ(Pixel(x + 20, y), light);
        EXPECT_EQ(Pixel(x, y + 15), light);
        EXPECT_EQ(Pixel(x + w, y + 15), dark);
        EXPECT_EQ(Pixel(x + 20, y + h), dark);
        EXPECT_EQ(Pixel(x + w, y + h), dark) << "the bottom edge closes the corner";
    }
}

TEST_F(RenderTest, TextSunkenBorderOnlyWithItsFlag) {
    Gadget_CreateText(1, 50, 50, 100, 30, "", 0);
    Gadget_CreateText(2, 50, 150, 100, 30, "", kTextBordered);
    DrawFrame();
    EXPECT_EQ(Pixel(80, 50), kBackground);
    EXPECT_EQ(Pixel(80, 150), kGrey) << "sunken: grey top";
    EXPECT_EQ(Pixel(150, 170), kWhite) << "sunken: white right";
}

TEST_F(RenderTest, TextFieldBorderUnlessFlagged) {
    Gadget_CreateTextField(1, 50, 50, 100, 30, "", 0);
    Gadget_CreateTextField(2, 50, 150, 100, 30, "", kFieldNoBorder);
    toolkit.activeGadget = -1;
    DrawFrame();
    EXPECT_EQ(Pixel(80, 50), kGrey);
    EXPECT_EQ(Pixel(80, 150), kBackground);
}

// Leftmost column in x0..x1 with a pixel other than the background in rows y0..y1; -1 if none.
int LeftmostInk(int x0, int x1, int y0, int y1) {
    if (!Draw_Begin(Draw_ScreenOutput())) return -1;
    int found = -1;
    for (int x = x0; x <= x1 && found < 0; ++x)
        for (int y = y0; y <= y1; ++y)
            if (Draw_Point(x, y) != kBackground) {
                found = x;
                break;
            }
    Draw_End();
    return found;
}

TEST_F(RenderTest, CaptionsAreAlignedByTheirFlags) {
    const std::string text = "Mm";
    const int tw = TextWidth(text);
    const int x = 100, y = 100, w = 200, h = 30;
    struct Case {
        const char* name;
        bool button;
        int flags;
        int expectedStart;  // where the text's box starts
    };
    const Case cases[] = {
        {"text", false, 0, x + 5},
        {"text centred", false, kTextCentred, x + 5 + (w - tw) / 2},
        {"text right", false, kTextRightAligned, x + w - tw},
        {"button centred", true, 0, x + (w - tw) / 2},
        {"button left", true, kButtonAlignLeft, x},
        {"button right", true, kButtonAlignRight, x + w - tw},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshGadgets();
        if (c.button) Gadget_CreateButton(1, x, y, w, h, text, c.flags);
        else Gadget_CreateText(1, x, y, w, h, text, c.flags);
        Record(1).textColor = 0xFFFF00;
        DrawFrame();
        // Ink between the borders; "M" starts within a pixel or two of its box.
        const int ink = LeftmostInk(x + 1, x + w - 1, y + 11, y + h - 11);
        EXPECT_GE(ink, c.expectedStart);
        EXPECT_LE(ink, c.expectedStart + 2);
    }
}

// ---------------------------------------------------------------- frames

TEST_F(RenderTest, FrameLeavesAGapForItsCaption) {
    const int x = 100, y = 100, w = 300, h = 100;
    const std::string caption = "Setup";
    const int cw = TextWidth(caption);
    Gadget_CreateFrame(1, x, y, w, h, caption, 0);
    DrawFrame();
    EXPECT_EQ(Pixel(x + 3, y), 9478052) << "stub before the caption";
    EXPECT_EQ(Pixel(x + 6, y), kBackground) << "gap starts after the 5-pixel stub";
    EXPECT_EQ(Pixel(x + cw + 9, y), kBackground) << "gap ends where the caption does";
    EXPECT_EQ(Pixel(x + cw + 10, y), 9478052);
    EXPECT_EQ(Pixel(x + w - 11, y), 9478052) << "top edge reaches the cut";
}

TEST_F(RenderTest, FrameWithoutCaptionHasOnlyTheStub) {
    Gadget_CreateFrame(1, 100, 100, 300, 100, "", kFramePlain);
    DrawFrame();
    EXPECT_EQ(Pixel(103, 100), kWhite);
    EXPECT_EQ(Pixel(150, 100), kBackground);
    EXPECT_EQ(Pixel(100, 150), kWhite) << "left edge";
}

TEST_F(RenderTest, FrameStylesPaintTheirEdges) {
    struct Case {
        int flags;
        int outerLeft, innerLeft, outerRight, innerRight;
    };
    // innerRight is the pixel left of the right edge: the double frame's inner
    // dark line, background for the others.
    const Case cases[] = {
        {kFramePlain, kWhite, kBackground, kWhite, kBackground},
        {kFrameDouble, 9478052, 6448230, kWhite, 15068655},
        {0, 9478052, kWhite, 9478052, kBackground},
        {7, 9478052, kWhite, 9478052, kBackground},
    };
    const int x = 100, y = 100, w = 300, h = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        FreshGadgets();
        Gadget_CreateFrame(1, x, y, w, h, "Caption", c.flags);
        DrawFrame();
        EXPECT_EQ(Pixel(x, y + 50), c.outerLeft);
        EXPECT_EQ(Pixel(x + 1, y + 50), c.innerLeft);
        EXPECT_EQ(Pixel(x + w, y + 50), c.outerRight);
        EXPECT_EQ(Pixel(x + w - 1, y + 50), c.innerRight);
    }
}

// ---------------------------------------------------------------- draw pass

TEST_F(RenderTest, HiddenGadgetIsNotDrawn) {
    Gadget_CreateButton(1, 100, 100, 100, 30, "Hidden");
    Gadget_Hide(1, 1);
    DrawFrame();
    EXPECT_EQ(Pixel(150, 100), kBackground);
    Gadget_Hide(1, 0);
    DrawFrame();
    EXPECT_EQ(Pixel(150, 100), kWhite);
}

TEST_F(RenderTest, FocusedGadgetIsDrawnLast) {
    Gadget_SetDefaultFillMode(1);
    Gadget_CreateText(1, 100, 100, 100, 100, "", 0);
    Record(1).fillColor = 0x0000AA;
    Gadget_CreateText(2, 150, 150, 100, 100, "", 0);
    Record(2).fillColor = 0x00AA00;
    toolkit.activeGadget = -1;
    DrawFrame();
    EXPECT_EQ(Pixel(175, 175), 0x00AA00) << "record order: the later one on top";
    toolkit.activeGadget = 1;
    DrawFrame();
    EXPECT_EQ(Pixel(175, 175), 0x0000AA) << "the focused one on top";
    EXPECT_EQ(Pixel(225, 225), 0x00AA00);
}

TEST_F(RenderTest, DisabledFaceIsGreyAndFillModeTwoStretchesTheImage) {
    Gadget_SetDefaultFillMode(1);
    Gadget_CreateButton(1, 100, 100, 80, 30, "");
    Gadget_Disable(1, 1);
    const int image = Image_Create(kServiceAuto, 4, 4);
    ASSERT_NE(Draw_Begin(Draw_ImageOutput(image)), 0);
    Draw_Box(0, 0, 4, 4, 0x00CC00);
    Draw_End();
    Gadget_CreateText(2, 300, 100, 80, 30, "", 0);
    Record(2).fillMode = 2;
    Record(2).fillColor = Image_Handle(image);
    DrawFrame();
    EXPECT_EQ(Pixel(140, 115), kGrey);
    EXPECT_EQ(Pixel(370, 125), 0x00CC00);
    Image_Free(image);
}

TEST_F(RenderTest, NothingIsDrawnWithoutAScreen) {
    Testing_ResetServices();
    Gadget_CreateColumnList(1, 10, 10, 100, 40, "Name", 90, 0);
    for (int i = 0; i < 20; ++i) Gadget_AddItem(1, -1, "row");
    for (auto& row : List(1).rows) row.height = 15;
    EXPECT_EQ(Gadget_Layout(), 0);
    EXPECT_EQ(Gadget_DrawAll(), 0);
    EXPECT_EQ(FindGadget(2001), nullptr) << "the pass did not run, so no scroll bar either";
}

// ---------------------------------------------------------------- text fields

TEST_F(RenderTest, CaretInInsertAndOverwriteMode) {
    const int x = 100, y = 100, w = 200, h = 30;
    Gadget_CreateTextField(1, x, y, w, h, "abcd", 0);
    auto& field = std::get<TextFieldRecord>(Record(1).kindRecord);
    field.caret = 2;
    const int cx = x + 5 + TextWidth("ab");
    const int th = TextHeight("abcd");

    DrawFrame();
    EXPECT_EQ(Pixel(cx, y - 2), kGrey) << "insert: vertical line from 2 above";
    EXPECT_EQ(Pixel(cx, y + th + 1), kGrey) << "to 2 below the text";

    field.overwrite = 1;
    DrawFrame();
    EXPECT_EQ(Pixel(cx + 5, y + th + 2), kGrey) << "overwrite: line under the character";
    EXPECT_EQ(Pixel(cx, y - 2), kBackground);
}

TEST_F(RenderTest, CaretOnlyForAFocusedEditableField) {
    struct Case {
        const char* name;
        int flags;
        bool focused;
        bool caret;
    };
    const Case cases[] = {
        {"focused", 0, true, true},
        {"not focused", 0, false, false},
        {"read-only", kFieldReadOnly, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshGadgets();
        Gadget_CreateTextField(1, 100, 100, 200, 30, "", c.flags | kFieldNoBorder);
        toolkit.activeGadget = c.focused ? 1 : -1;
        DrawFrame();
        EXPECT_EQ(Pixel(105, 100), c.caret ? kGrey : kBackground);
    }
}

TEST_F(RenderTest, FocusedFieldWithFillTurnsWhite) {
    Gadget_SetDefaultFillMode(1);
    Gadget_CreateTextField(1, 100, 100, 200, 30, "", 0);
    Gadget_CreateTextField(2, 100, 200, 200, 30, "", kFieldReadOnly);
    toolkit.activeGadget = 1;
    DrawFrame();
    EXPECT_EQ(Pixel(250, 120), kWhite);
    toolkit.activeGadget = 2;
    DrawFrame();
    EXPECT_EQ(Pixel(250, 220), 0xC0C0C0) << "a read-only field keeps its fill";
    EXPECT_EQ(Pixel(250, 120), 0xC0C0C0);
}

TEST_F(RenderTest, MaskedFieldCaretFollowsTheStars) {
    const std::string text = "WMWM";
    const int stars = TextWidth("****"), real = TextWidth(text);
    ASSERT_NE(stars, real) << "the test needs texts of different widths";
    Gadget_CreateTextField(1, 100, 100, 300, 30, text, kFieldMasked | kFieldNoBorder);
    std::get<TextFieldRecord>(Record(1).kindRecord).caret = 4;
    DrawFrame();
    EXPECT_EQ(Pixel(105 + stars, 100), kGrey);
    EXPECT_EQ(Pixel(105 + real, 100), kBackground) << "the hidden text's width is not shown";
}

// ---------------------------------------------------------------- lists

class ListRenderTest : public RenderTest {
protected:
    // A list whose area holds exactly `fit` rows of the toolkit font's height.
    int MakeList(int fit, int flags, int rows) {
        hh = TextHeight("Name");
        rh = TextHeight("row");
        Gadget_CreateColumnList(1, x, y, 200, hh + 2 + fit * rh, "Name", 100, flags);
        for (int i = 0; i < rows; ++i) Gadget_AddItem(1, -1, "row " + std::to_string(i));
        return 1;
    }
    // Top of the i-th row shown, rows being rh high.
    int RowTop(int i) const { return static_cast<int>(ListParts(Record(1), List(1), 0).rowArea.y) + i * rh; }
    const int x = 100, y = 100;
    int hh = 0, rh = 0;
};

// Scroll bars come and go in the layout step; the draw pass only draws, so
// it leaves every gadget where it found it, even with a bar overdue.
TEST_F(ListRenderTest, TheDrawPassChangesNoGadget) {
    struct Snapshot {
        int number, self, kind, x, y, width, height;
        bool operator==(const Snapshot&) const = default;
    };
    const auto snapshot = [] {
        std::vector<Snapshot> all;
        for (const GadgetRecord& g : toolkit.records)
            all.push_back({g.number, g.self.value, g.kind, g.x, g.y, g.width, g.height});
        return all;
    };
    MakeList(4, 0, 10);
    Gadget_CreateEditor(3, 500, 100, 200, 40, 0);
    AddItems(3, {"one", "two", "three", "four", "five"});
    Gadget_CreateColumnList(4, 100, 400, 200, 100, "Fits", 100, 0);
    Gadget_AddItem(4, -1, "row");

    const std::vector<Snapshot> before = snapshot();
    Gadget_DrawAll();
    EXPECT_EQ(snapshot(), before) << "no layout step yet: no bar either";
    EXPECT_EQ(FindGadget(1 + kScrollBarNumberOffset), nullptr);

    DrawFrame();
    ASSERT_NE(FindGadget(1 + kScrollBarNumberOffset), nullptr) << "the list's rows overflow";
    ASSERT_NE(FindGadget(3 + kScrollBarNumberOffset), nullptr) << "the Editor's lines overflow";
    EXPECT_EQ(FindGadget(4 + kScrollBarNumberOffset), nullptr);
    const int active = Gadget_GetActive();
    const std::vector<Snapshot> laidOut = snapshot();
    for (int i = 0; i < 10; ++i) Gadget_AddItem(4, -1, "more");
    Gadget_RemoveItem(1, 0);
    Gadget_DrawAll();
    Gadget_DrawAll();
    EXPECT_EQ(snapshot(), laidOut) << "the draw pass made or freed a gadget";
    EXPECT_EQ(Gadget_GetActive(), active);
    Gadget_Layout();
    EXPECT_NE(FindGadget(4 + kScrollBarNumberOffset), nullptr) << "the next layout step catches up";
}

TEST_F(ListRenderTest, SelectionIsPaintedWithFocusOrKeptSelection) {
    struct Case {
        const char* name;
        int flags;
        bool focused;
        bool painted;
    };
    const Case cases[] = {
        {"focused", 0, true, true},
        {"not focused", 0, false, false},
        {"kept selection, not focused", kListKeepSelection, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshGadgets();
        MakeList(5, c.flags, 3);
        Gadget_SetItemState(1, 1, 1);
        toolkit.activeGadget = c.focused ? 1 : -1;
        DrawFrame();
        ASSERT_EQ(List(1).headerHeight, hh);
        EXPECT_EQ(Pixel(x + 60, RowTop(1) + rh / 2), c.painted ? kRed : kBackground);
        EXPECT_NE(Pixel(x + 60, RowTop(0) + rh / 2), kRed) << "row 0 is not selected";
    }
}

TEST_F(ListRenderTest, SelectionSpansFirstColumnOrWholeRow) {
    for (int flags : {kListKeepSelection, kListKeepSelection | kListFullRowSelect}) {
        SCOPED_TRACE(flags);
        FreshGadgets();
        MakeList(5, flags, 3);
        Gadget_SetItemState(1, 0, 1);
        DrawFrame();
        const int row = RowTop(0) + rh / 2;
        EXPECT_EQ(Pixel(x + 1, row), kRed);
        EXPECT_EQ(Pixel(x + 100, row), kRed) << "the first column is 100 wide";
        EXPECT_EQ(Pixel(x + 150, row), (flags & kListFullRowSelect) ? kRed : kBackground);
        EXPECT_NE(Pixel(x + 199, row), kRed) << "stays inside the border";
    }
}

TEST_F(ListRenderTest, ScrollBarAppearsWithOneRowTooManyAndGoesAgain) {
    MakeList(4, 0, 4);
    DrawFrame();
    EXPECT_EQ(FindGadget(2001), nullptr) << "rows that exactly fill need no bar";
    EXPECT_EQ(List(1).contentHeight, 4 * rh);

    Gadget_AddItem(1, -1, "one more");
    DrawFrame();
    ScrollBarRecord* bar = Bar(1);
    ASSERT_NE(bar, nullptr);
    const GadgetRecord& g = Record(2001);
    EXPECT_EQ(g.x, x + 200);
    EXPECT_EQ(g.y, y);
    EXPECT_EQ(g.width, 14);
    EXPECT_EQ(g.height, Record(1).height);
    EXPECT_EQ(Gadget_GetActive(), 2001) << "the new bar takes the focus";
    EXPECT_EQ(bar->maximum, 4) << "counted in rows";
    EXPECT_EQ(bar->page, 4);
    EXPECT_EQ(List(1).scrollBar, g.self);
    EXPECT_EQ(Pixel(x + 200, y + 50), kGrey) << "the bar's sunken border at the list's edge";

    Gadget_RemoveItem(1, 0);
    DrawFrame();
    EXPECT_EQ(FindGadget(2001), nullptr);
    EXPECT_FALSE(List(1).scrollBar);
    EXPECT_EQ(Pixel(x + 207, y + 50), kBackground);
}

// The bar follows the row count while its page stays the same: scrolled to
// the end it shows the last row after rows come and go.
TEST_F(ListRenderTest, ScrollBarFollowsRowsAddedAndRemovedLater) {
    MakeList(4, 0, 10);
    DrawFrame();
    ASSERT_NE(Bar(1), nullptr);
    struct Step {
        int change;  // rows added (> 0) or removed from the front (< 0)
        int rows;
    };
    for (const Step step : {Step{10, 20}, Step{-12, 8}, Step{1, 9}}) {
        SCOPED_TRACE(step.rows);
        Gadget_SetState(2001, 1000);  // scrolled to the end of what the bar knows
        for (int i = 0; i < step.change; ++i) Gadget_AddItem(1, -1, "more");
        for (int i = 0; i < -step.change; ++i) Gadget_RemoveItem(1, 0);
        DrawFrame();
        ASSERT_NE(Bar(1), nullptr);
        EXPECT_EQ(Bar(1)->maximum, step.rows - 1);
        EXPECT_LE(Bar(1)->value, step.rows - 4) << "rows are shown, not what is gone";
        Gadget_SetState(2001, 1000);
        EXPECT_EQ(Gadget_GetState(2001), step.rows - 4) << "the last row can be reached";
    }
}

TEST_F(ListRenderTest, RowsThatDoNotFitAreNotDrawnAndTheLastIsReachable) {
    MakeList(4, kListKeepSelection, 10);
    for (int i = 0; i < 10; ++i) Gadget_SetItemState(1, i, 1);
    DrawFrame();
    // Four rows fill the area; nothing red on or below the bottom border.
    EXPECT_EQ(Pixel(x + 50, RowTop(3) + rh - 1), kRed);
    EXPECT_EQ(Pixel(x + 50, y + Record(1).height), kWhite) << "bottom border intact";
    EXPECT_NE(Pixel(x + 50, y + Record(1).height + 1), kRed);

    // Scrolled to the end, the last row is the last one shown.
    Gadget_SetState(2001, 1000);
    EXPECT_EQ(Bar(1)->value, 6);
    Gadget_SetItemState(1, 9, 0);
    DrawFrame();
    EXPECT_NE(Pixel(x + 50, RowTop(3) + rh / 2), kRed) << "row 9 is shown at the bottom, unselected";
    EXPECT_EQ(Pixel(x + 50, RowTop(2) + rh / 2), kRed);
}

TEST_F(ListRenderTest, ZeroHeightRowsAndEmptyRangesDoNotDivideByZero) {
    MakeList(2, 0, 6);
    for (auto& row : List(1).rows) row.height = 0;
    List(1).rows.front().height = 200;  // content too tall, the last row 0 high
    DrawFrame();
    ASSERT_NE(Bar(1), nullptr);
    EXPECT_GE(Bar(1)->page, 1);
    EXPECT_GE(Bar(1)->value, 0);

    const GadgetSelf self = Gadget_CreateScrollBar(50, 500, 100, 14, 100, 0, -1, 0, 1);
    auto* empty = KindAs<ScrollBarRecord>(FindGadgetBySelf(self));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->page, 1);
    DrawFrame();
    EXPECT_EQ(Pixel(507, 111), kWhite) << "thumb's top edge right under the first arrow";
}

TEST_F(ListRenderTest, HeaderCellsTitlesAndGrid) {
    MakeList(4, kListGridLines, 2);
    Gadget_AddColumn(1, 1, "Type", 60);
    DrawFrame();
    const int cs = x + 1;
    EXPECT_EQ(Pixel(cs + 50, y + 1), kWhite) << "raised header cell";
    EXPECT_EQ(Pixel(cs + 50, y + 1 + hh), kGrey) << "its bottom edge";
    EXPECT_EQ(Pixel(cs + 100, y + 5), kWhite) << "the next cell's left edge";
    EXPECT_EQ(Pixel(cs + 103, y + 1 + hh), kGrey) << "second cell's bottom";
    EXPECT_EQ(Pixel(cs + 100, RowTop(2) + 3), 0xC0C0C0) << "vertical grid line";
    EXPECT_EQ(Pixel(x + 50, RowTop(1) - 1), 0xC0C0C0) << "horizontal grid line: row 0's last pixel row";
    EXPECT_NE(Pixel(x + 50, RowTop(1)), 0xC0C0C0) << "row 1's band starts clear";
    EXPECT_NE(Pixel(x + 50, RowTop(1) - 2), 0xC0C0C0) << "not through the row's text";
}

// Every row keeps its grid lines, whatever paints its band.
TEST_F(ListRenderTest, GridLinesShowOnColouredAndSelectedRows) {
    MakeList(4, kListGridLines | kListKeepSelection | kListFullRowSelect, 4);
    Gadget_AddColumn(1, 1, "Type", 60);
    Gadget_SetItemColor(1, 0, 2, 0x0000AA);
    Gadget_SetItemState(1, 1, 1);
    Gadget_SetItemColor(1, 2, 2, 0x00AA00);
    DrawFrame();
    const int fill[] = {0x0000AA, kRed, 0x00AA00, kBackground};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Pixel(x + 150, RowTop(i) + 2), fill[i]) << "the band";
        EXPECT_EQ(Pixel(x + 150, RowTop(i + 1) - 1), 0xC0C0C0) << "its line, on its last pixel row";
        EXPECT_EQ(Pixel(x + 1 + 100, RowTop(i) + 2), 0xC0C0C0) << "the column line across it";
    }
}

// The header band and coloured rows stay inside the list: nothing above it,
// nothing past its right edge, and the band reaches down to the first row.
TEST_F(ListRenderTest, HeaderAndRowsStayInsideTheList) {
    MakeList(4, 0, 4);
    Gadget_SetItemColor(1, 0, 2, 0x0000AA);
    DrawFrame();
    EXPECT_EQ(Pixel(x + 150, y - 1), kBackground) << "above the list";
    EXPECT_EQ(Pixel(x + 150, y + 1), 0xC0C0C0) << "the header band's top";
    EXPECT_EQ(Pixel(x + 150, RowTop(0) - 1), 0xC0C0C0) << "the header band's last row";
    const int row = RowTop(0) + rh / 2;
    EXPECT_EQ(Pixel(x + 150, row), 0x0000AA);
    EXPECT_EQ(Pixel(x + 201, row), kBackground) << "the row's colour stops at the right edge";
}

TEST_F(ListRenderTest, SortMarksPointByDirection) {
    MakeList(4, 0, 2);
    const int left = x + 1;
    List(1).sortState[0] = 0;  // ascending: points down
    DrawFrame();
    EXPECT_EQ(Pixel(left + 4, y + hh / 2 + 2), 0) << "apex below";
    List(1).sortState[0] = 1;  // descending: points up
    DrawFrame();
    EXPECT_EQ(Pixel(left + 4, y + hh / 2 + hh / 4 - 6), 0) << "apex above";
    EXPECT_NE(Pixel(left + 4, y + hh / 2 + 2), 0);
}

TEST_F(ListRenderTest, RowImagesShiftTheColumns) {
    MakeList(4, kListKeepSelection, 0);
    const int image = Image_Create(kServiceAuto, 16, 16);
    ASSERT_NE(Draw_Begin(Draw_ImageOutput(image)), 0);
    Draw_Box(0, 0, 16, 16, 0x00CC00);
    Draw_End();
    Gadget_AddItem(1, -1, "with image", Image_Handle(image));
    Gadget_SetItemState(1, 0, 1);
    DrawFrame();
    EXPECT_EQ(Pixel(x + 5, y + hh + 5), 0x00CC00) << "image at x + 3";
    EXPECT_EQ(Pixel(x + 21, y + hh + 5), kRed) << "selection from x + 20";
    EXPECT_EQ(Pixel(x + 10, y + 1), kWhite) << "image column header cell";
    Image_Free(image);
}

// ---------------------------------------------------------------- Editor

TEST_F(RenderTest, EditorShowsWhatLiesBehindAndCutsLinesAtTheTop) {
    const int x = 100, y = 100, w = 200, h = 100;
    Gadget_CreateEditor(1, x, y, w, h, kFieldReadOnly | kFieldNoBorder);
    for (int i = 0; i < 20; ++i) Gadget_AddItem(1, -1, "");
    auto& editor = std::get<EditorRecord>(Record(1).kindRecord);
    const int lh = editor.lines[0].height;
    ASSERT_GT(lh, 4);
    Gadget_SetItemColor(1, 0, 2, 0x0000AA);
    Gadget_SetItemColor(1, 1, 2, 0x00AA00);

    DrawFrame();
    EXPECT_EQ(editor.contentHeight, 20 * lh);
    ScrollBarRecord* bar = Bar(1);
    ASSERT_NE(bar, nullptr) << "20 lines do not fit";
    EXPECT_EQ(bar->page, h - 2);
    EXPECT_EQ(bar->maximum, 20 * lh);
    EXPECT_EQ(Pixel(x + 50, y + 1), 0x0000AA);
    EXPECT_EQ(Pixel(x + 50, y + lh + 1), 0x00AA00);
    EXPECT_EQ(Pixel(x + 50, y + 2 * lh + 1), kBackground) << "black is transparent";

    bar->value = lh + lh / 2;
    DrawFrame();
    EXPECT_EQ(Pixel(x + 50, y + 1), 0x00AA00) << "line 1 cut off at the top";
    EXPECT_EQ(Pixel(x + 50, y + lh - lh / 2 + 1), kBackground);

    Gadget_ClearItems(1);
    DrawFrame();
    EXPECT_EQ(FindGadget(2001), nullptr) << "the bar goes when the lines fit";
}

TEST_F(RenderTest, EditorBorderDrawnInItsSprite) {
    Gadget_CreateEditor(1, 100, 100, 200, 100, kFieldReadOnly);
    DrawFrame();
    EXPECT_EQ(Pixel(150, 100), kGrey);
    EXPECT_EQ(Pixel(300, 150), kWhite);
}

// Lines are kept inside the bevel: the corners its diagonals cut off show
// what lies behind, even under a line's back colour.
TEST_F(RenderTest, EditorLinesStayInsideTheBorderCorners) {
    const int x = 100, y = 100, w = 200, h = 100;
    Gadget_CreateEditor(1, x, y, w, h, kFieldReadOnly);
    for (int i = 0; i < 20; ++i) Gadget_AddItem(1, -1, std::string(60, 'W'));
    Gadget_SetItemColor(1, -1, 2, 0x0000AA);
    DrawFrame();
    EXPECT_EQ(Pixel(x + w - 2, y + 1), kBackground) << "top-right corner";
    EXPECT_EQ(Pixel(x + w - 5, y + 3), kBackground);
    EXPECT_EQ(Pixel(x + 1, y + h - 2), kBackground) << "bottom-left corner";
    EXPECT_EQ(Pixel(x + 4, y + h - 3), kBackground);
    EXPECT_EQ(Pixel(x + w - 12, y + 1), 0x0000AA) << "inside, left of the cut";
    EXPECT_EQ(Pixel(x + w - 5, y + 5), kWhite) << "the cut itself";
    EXPECT_EQ(Pixel(x + 5, y + h - 5), kGrey);
}

// Every colour a line's text can take is part of what decides a redraw.
TEST_F(RenderTest, EditorTextColourChangesAreRedrawn) {
    Gadget_CreateEditor(1, 100, 100, 200, 100, kFieldReadOnly | kFieldNoBorder);
    Gadget_AddItem(1, -1, std::string(20, 'W'));
    auto count = [](int colour) {
        int n = 0;
        Draw_Begin(Draw_ScreenOutput());
        for (int py = 100; py < 130; ++py)
            for (int px = 100; px < 300; ++px) n += Draw_Point(px, py) == colour;
        Draw_End();
        return n;
    };
    struct Change {
        const char* name;
        std::function<void()> apply;
        int colour;  // the text's colour afterwards
    };
    const Change changes[] = {
        {"gadget colour", [] { Record(1).textColor = 0x00AA00; }, 0x00AA00},
        {"line colour", [] { Gadget_SetItemColor(1, 0, 1, 0x0000AA); }, 0x0000AA},
        {"disabled colour", [] { Gadget_Disable(1, 1); Record(1).disabledTextColor = 0xAA00AA; }, 0xAA00AA},
        {"disabled colour changed", [] { Record(1).disabledTextColor = 0x00AAAA; }, 0x00AAAA},
    };
    DrawFrame();
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        c.apply();
        DrawFrame();
        EXPECT_GT(count(c.colour), 20);
    }
}

TEST_F(RenderTest, EditorSpriteIsRedrawnOnlyWhenItsContentChanges) {
    Gadget_CreateEditor(1, 100, 100, 200, 100, kFieldReadOnly);
    Gadget_AddItem(1, -1, "line");
    DrawFrame();
    const int sprite = std::get<EditorRecord>(Record(1).kindRecord).sprite;
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(sprite)), 0);
    Draw_Plot(150, 50, 0x00AA00);  // a mark the Editor itself never paints
    Draw_End();

    DrawFrame();
    EXPECT_EQ(Pixel(250, 150), 0x00AA00) << "unchanged: the sprite is shown as it is";
    Gadget_SetItemText(1, 0, "changed");
    DrawFrame();
    EXPECT_EQ(Pixel(250, 150), kBackground) << "changed: drawn again";
    Gadget_SetItemColor(1, 0, 2, 0x0000AA);
    DrawFrame();
    EXPECT_EQ(Pixel(150, 102), 0x0000AA) << "a colour change counts too";
}

// ---------------------------------------------------------------- scroll bars

TEST_F(RenderTest, CreatedScrollBarThumbLength) {
    struct Case {
        int length, minimum, maximum, page, thumb;
    };
    const Case cases[] = {
        {200, 0, 99, 10, 18},    // page x (length - 20) / range
        {200, 0, 999, 10, 10},   // at least 10
        {200, 0, 9, 10, 177},    // at most length - 23
        {200, 0, 99, 0, 10},     // page 0 becomes 1: 1.8 -> 10
        {200, 5, 4, 3, 177},     // empty range: the whole track, limited
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maximum);
        const GadgetSelf self = Gadget_CreateScrollBar(-1, 0, 0, 14, c.length, c.minimum, c.maximum, c.page, 1);
        const auto* bar = KindAs<ScrollBarRecord>(FindGadgetBySelf(self));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->thumbLength, c.thumb);
        EXPECT_EQ(bar->value, 0);
        EXPECT_EQ(bar->flags, 1);
        EXPECT_EQ(FindGadgetBySelf(self)->kind, GadgetKind_ScrollBar);
    }
}

TEST_F(RenderTest, ScrollBarArrowsAndThumb) {
    const GadgetSelf self = Gadget_CreateScrollBar(7, 500, 100, 14, 200, 0, 99, 10, 1);
    auto* bar = KindAs<ScrollBarRecord>(FindGadgetBySelf(self));
    bar->value = 50;
    DrawFrame();
    const ScrollBarLayout parts = ScrollBarParts(*FindGadgetBySelf(self), *bar);
    const int c = 500 + 7;
    EXPECT_EQ(Pixel(c + 1, static_cast<int>(parts.upArrow.y) + 3), 0) << "up arrow tip";
    EXPECT_EQ(Pixel(c + 1, static_cast<int>(parts.downArrow.y) + 8), 0) << "down arrow tip";
    const int top = static_cast<int>(parts.thumb.y);
    EXPECT_EQ(top, static_cast<int>(parts.trackTop + parts.thumbAlong)) << "painted where the event step grabs it";
    EXPECT_EQ(Pixel(504, top), kWhite) << "thumb's raised top";
    EXPECT_EQ(Pixel(504, top + 4), 0xC0C0C0) << "thumb face";
    EXPECT_EQ(Pixel(504, top - 6), kBackground) << "track above the thumb";

    bar->value = 10000;  // out of range: the thumb still stops above the down arrow
    DrawFrame();
    const int above = static_cast<int>(parts.downArrow.y) - 1;
    EXPECT_EQ(Pixel(504, above - 1), kGrey) << "thumb's dark bottom edge";
    EXPECT_EQ(Pixel(504, above), kBackground);
}

TEST_F(ListRenderTest, APressOnTheDrawnThumbDragsIt) {
    ASSERT_NE(Mouse_Init(), 0);
    ASSERT_NE(Key_Init(), 0);
    MakeList(4, 0, 30);
    DrawFrame();
    ScrollBarRecord* bar = Bar(1);
    ASSERT_NE(bar, nullptr);
    Gadget_SetState(2001, 20);
    DrawFrame();
    // The middle of the thumb as drawn: its face, between the raised edges.
    const GadgetRecord& barGadget = Record(2001);
    const ScrollBarLayout parts = ScrollBarParts(barGadget, *bar);
    const int bx = barGadget.x + barGadget.width / 2;
    int first = -1, last = -1;
    for (int py = static_cast<int>(parts.trackTop); py < parts.downArrow.y; ++py)
        if (Pixel(bx, py) == 0xC0C0C0) {
            if (first < 0) first = py;
            last = py;
        }
    ASSERT_GE(first, 0) << "thumb not found";
    Testing_MouseMove(bx, (first + last) / 2);
    Mouse_Examine();
    Testing_MouseButton(1, true);
    Mouse_Examine();
    Key_Examine();
    Gadget_ProcessEvents();
    EXPECT_NE(toolkit.dragOffset, 0) << "grabbed, not stepped";
    EXPECT_NEAR(bar->value, 20, 2) << "no step of a track press; the grab itself may round";
}

// ---------------------------------------------------------------- extreme places and sizes

// Every kind, placed and sized anywhere in the int range, is drawn and
// pressed, dragged and released on without overflow (the sanitized build
// aborts on one); gadgets lying wholly off the screen leave every pixel alone.
TEST_F(RenderTest, ExtremePlacesAndSizesDrawAndTakeClicks) {
    ASSERT_NE(Image_Create(5, 16, 16), 0);
    const int image = Image_Handle(5);
    struct Rect {
        int x, y, w, h;
    };
    const std::function<void(int, const Rect&)> kinds[] = {
        [](int n, const Rect& r) { Gadget_CreateText(n, r.x, r.y, r.w, r.h, "Text", kTextCentred | kTextBordered); },
        [](int n, const Rect& r) { Gadget_CreateText(n, r.x, r.y, r.w, r.h, "Text", kTextRightAligned); },
        [](int n, const Rect& r) { Gadget_CreateTextField(n, r.x, r.y, r.w, r.h, "Field", kTextCentred); },
        [](int n, const Rect& r) { Gadget_CreateTextField(n, r.x, r.y, r.w, r.h, "Field", kTextRightAligned); },
        [](int n, const Rect& r) { Gadget_CreateButton(n, r.x, r.y, r.w, r.h, "Button", kButtonToggle); },
        [](int n, const Rect& r) { Gadget_CreateButton(n, r.x, r.y, r.w, r.h, "Button", kButtonAlignRight); },
        [&](int n, const Rect& r) { Gadget_CreateImageButton(n, r.x, r.y, r.w, r.h, image, kButtonToggle); },
        [](int n, const Rect& r) { Gadget_CreateFrame(n, r.x, r.y, r.w, r.h, "Frame", kFrameDouble); },
        [](int n, const Rect& r) { Gadget_CreateFrame(n, r.x, r.y, r.w, r.h, "Frame", 0); },
        [](int n, const Rect& r) {
            Gadget_CreateEditor(n, r.x, r.y, r.w, r.h, kFieldReadOnly);
            for (int i = 0; i < 60; ++i) Gadget_AddItem(n, -1, "line " + std::to_string(i));
            Gadget_SetItemColor(n, 3, 2, 0x0000AA);
        },
        [&](int n, const Rect& r) {
            Gadget_CreateColumnList(n, r.x, r.y, r.w, r.h, "Name", INT_MAX,
                                    kListGridLines | kListFullRowSelect | kListKeepSelection | kListMultiSelect);
            Gadget_AddColumn(n, 1, "Size", INT_MAX);
            Gadget_AddColumn(n, 2, "Type", 60);
            for (int i = 0; i < 60; ++i) Gadget_AddItem(n, -1, "r" + std::to_string(i) + "\nb\nc", i == 2 ? image : 0);
            Gadget_SetItemState(n, 1, 1);
            Gadget_SetItemColor(n, 4, 2, 0x0000AA);
            Record(n).fillMode = 1;
        },
    };
    auto drawTwice = [&] {
        // The second pass sees the scroll bars the first made, scrolled to the end.
        DrawFrame();
        for (int n = 1; n <= static_cast<int>(std::size(kinds)); ++n) Gadget_SetState(n + kScrollBarNumberOffset, INT_MAX);
        DrawFrame();
    };

    const Rect offScreen[] = {
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, INT_MIN, INT_MIN}, {INT_MAX - 5, 100, 100, 100},
        {100, INT_MAX - 5, 100, 100},        {INT_MIN, 100, INT_MIN, 300},         {-2000, INT_MIN, INT_MAX, INT_MIN},
    };
    for (const Rect& r : offScreen) {
        SCOPED_TRACE(testing::Message() << "at " << r.x << ", " << r.y << " size " << r.w << " x " << r.h);
        FreshGadgets();
        for (int k = 0; k < static_cast<int>(std::size(kinds)); ++k) kinds[k](k + 1, r);
        drawTwice();
        ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
        int touched = 0;
        for (int py = 0; py < 768; ++py)
            for (int px = 0; px < 1024; ++px) touched += Draw_Point(px, py) != kBackground;
        Draw_End();
        EXPECT_EQ(touched, 0);
    }

    auto frame = [](int x, int y, int button) {
        Testing_MouseMove(x, y);
        if (button >= 0) Testing_MouseButton(1, button == 1);
        Mouse_Examine();
        Key_Examine();
        Gadget_ProcessEvents();
    };
    const Rect onScreen[] = {
        {-5, -5, INT_MAX, INT_MAX}, {INT_MIN + 600, INT_MIN + 600, INT_MAX, INT_MAX}, {600, 500, INT_MIN, INT_MIN},
        {300, 200, 400, 300},
    };
    for (const Rect& r : onScreen) {
        for (size_t k = 0; k < std::size(kinds); ++k) {
            SCOPED_TRACE(testing::Message() << "kind " << k << " at " << r.x << ", " << r.y << " size " << r.w
                                            << " x " << r.h);
            FreshGadgets();
            kinds[k](1, r);
            drawTwice();
            // Press, drag across header bands, rows and scroll bars, let go.
            for (const auto& [x0, y0, x1, y1] : {std::array{10, 3, 700, 400}, std::array{599, 300, 5, 760},
                                                 std::array{314, 210, 314, 600}, std::array{1, 1, 1023, 767}}) {
                frame(x0, y0, -1);
                frame(x0, y0, 1);
                DrawFrame();
                frame(x1, y1, -1);
                frame(x1, y1, 0);
                DrawFrame();
            }
        }
    }
    Image_Free(5);
}

}  // namespace
