// Frame-by-frame input through injected SDL events: each frame is
// Mouse_Examine, Key_Examine, Gadget_ProcessEvents, as the editor's loop does.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gadget.h"
#include "layout.h"
#include "toolkit_fixture.h"
#include "services.h"
#include "testing.h"

namespace {

constexpr int kAny = -999;  // expectation not checked

class EventsTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        Testing_UseManualClock(true);
    }

    static int Frame() {
        Mouse_Examine();
        Key_Examine();
        return Gadget_ProcessEvents();
    }
    // Queued button events carry the pointer position of the moment they are
    // injected, so a move is taken in before anything else happens.
    static void MoveTo(int x, int y) {
        Testing_MouseMove(x, y);
        Mouse_Examine();
    }
    // Delay asked for by one frame.
    static std::int64_t FrameDelay() {
        const std::int64_t before = Testing_TotalDelayed();
        Frame();
        return Testing_TotalDelayed() - before;
    }
    static TextFieldRecord& Field(int number) {
        TextFieldRecord* f = KindAs<TextFieldRecord>(FindGadget(number));
        EXPECT_NE(f, nullptr);
        static TextFieldRecord none;
        return f ? *f : none;
    }
};

// ---------------------------------------------------------------- mouse buttons, wheel and focus

struct MouseFrame {
    int x, y;        // pointer; -1 leaves it
    int left, right; // 1 press, 0 release, -1 leave
    int wheel;       // notches this frame
    int result, type, gadget, active;
};

struct MouseScenario {
    const char* name;
    std::vector<MouseFrame> frames;
};

constexpr int kG = GadgetEvent;

// Buttons 1 at (100,100) and 2 at (300,100), both 80 x 24; 2 was created last
// and holds the focus at the start.
const std::vector<MouseScenario> kMouseScenarios = {
    {"press, hold, release on a button",
     {{120, 110, -1, -1, 0, kG, EventType_Gadget, 1, 2},
      {-1, -1, 1, -1, 0, kG, EventType_LeftDown, 1, 1},
      {-1, -1, -1, -1, 0, kG, EventType_LeftDown, 1, 1},
      {-1, -1, 0, -1, 0, kG, EventType_LeftUp, 1, 1},
      {-1, -1, -1, -1, 0, kG, EventType_Gadget, 1, 1}}},
    {"release over another gadget reports it there",
     {{120, 110, 1, -1, 0, kG, EventType_LeftDown, 1, 1},
      {320, 110, -1, -1, 0, kG, EventType_LeftDown, 2, 2},
      {-1, -1, 0, -1, 0, kG, EventType_LeftUp, 2, 2}}},
    {"press on empty screen drops the focus",
     {{600, 600, -1, -1, 0, 0, EventType_None, -1, 2},
      {-1, -1, 1, -1, 0, 0, EventType_LeftDown, -1, -1},
      {-1, -1, 0, -1, 0, 0, EventType_LeftUp, -1, -1},
      {-1, -1, -1, -1, 0, 0, EventType_None, -1, -1}}},
    {"right click",
     {{120, 110, -1, 1, 0, kG, EventType_RightDown, 1, 1},
      {-1, -1, -1, 0, 0, kG, EventType_RightUp, 1, 1},
      {-1, -1, -1, -1, 0, kG, EventType_Gadget, 1, 1}}},
    {"both buttons: the left wins, letting it go leaves the right held",
     {{120, 110, 1, 1, 0, kG, EventType_LeftDown, 1, 1},
      {-1, -1, 0, -1, 0, kG, EventType_RightDown, 1, 1},
      {-1, -1, -1, 0, 0, kG, EventType_RightUp, 1, 1}}},
    {"wheel over a gadget, held button, release and empty screen",
     {{120, 110, -1, -1, 1, kG, EventType_Wheel, 1, 2},
      {-1, -1, 1, -1, -1, kG, EventType_LeftDown, 1, 1},
      {-1, -1, 0, -1, 2, kG, EventType_Wheel, 1, 1},
      {-1, -1, -1, -1, 0, kG, EventType_Gadget, 1, 1},
      {600, 600, -1, -1, -1, 0, EventType_Wheel, -1, 1}}},
};

TEST_F(EventsTest, MouseScenariosFrameByFrame) {
    for (const MouseScenario& s : kMouseScenarios) {
        SCOPED_TRACE(s.name);
        TearDown();
        SetUp();
        Gadget_CreateButton(1, 100, 100, 80, 24, "one");
        Gadget_CreateButton(2, 300, 100, 80, 24, "two");
        for (std::size_t i = 0; i < s.frames.size(); ++i) {
            const MouseFrame& f = s.frames[i];
            SCOPED_TRACE("frame " + std::to_string(i + 1));
            if (f.x >= 0) MoveTo(f.x, f.y);
            if (f.left >= 0) Testing_MouseButton(1, f.left != 0);
            if (f.right >= 0) Testing_MouseButton(2, f.right != 0);
            if (f.wheel) Testing_MouseWheel(f.wheel);
            EXPECT_EQ(Frame(), f.result);
            EXPECT_EQ(Gadget_EventType(), f.type);
            EXPECT_EQ(Gadget_EventGadget(), f.gadget);
            if (f.active != kAny) {
                EXPECT_EQ(Gadget_GetActive(), f.active);
            }
        }
    }
}

TEST_F(EventsTest, HitAreaIncludesBothEdges) {
    Gadget_CreateButton(1, 100, 100, 50, 20, "b");
    struct Point { int x, y, gadget; } points[] = {
        {100, 100, 1}, {150, 120, 1}, {150, 100, 1}, {100, 120, 1},
        {151, 110, -1}, {99, 110, -1}, {120, 121, -1}, {120, 99, -1},
    };
    for (const Point& p : points) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        MoveTo(p.x, p.y);
        EXPECT_EQ(Frame(), p.gadget >= 0 ? GadgetEvent : 0);
        EXPECT_EQ(Gadget_EventGadget(), p.gadget);
    }
}

TEST_F(EventsTest, FirstCreatedOfOverlappingGadgetsWinsAndUnhittableOnesAreSkipped) {
    Gadget_CreateFrame(7, 0, 0, 400, 400, "frame");
    Gadget_CreateButton(1, 100, 100, 50, 20, "hidden");
    Gadget_CreateButton(2, 100, 100, 50, 20, "disabled");
    Gadget_CreateButton(3, 100, 100, 50, 20, "first hittable");
    Gadget_CreateButton(4, 100, 100, 50, 20, "under it");
    Gadget_Hide(1, 1);
    Gadget_Disable(2, 1);
    MoveTo(110, 110);
    EXPECT_EQ(Frame(), GadgetEvent);
    EXPECT_EQ(Gadget_EventGadget(), 3);

    // A press on a Frame alone is a press on nothing: focus is lost.
    MoveTo(300, 300);
    Testing_MouseButton(1, true);
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Gadget_EventGadget(), -1);
    EXPECT_EQ(Gadget_EventType(), EventType_LeftDown);
    EXPECT_EQ(Gadget_GetActive(), -1);
}

TEST_F(EventsTest, NoGadgetsStillReportsButtonTypes) {
    Testing_MouseButton(2, true);
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Gadget_EventType(), EventType_RightDown);
    Testing_MouseButton(2, false);
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Gadget_EventType(), EventType_RightUp);
    EXPECT_EQ(Gadget_EventGadget(), -1);
}

TEST_F(EventsTest, GadgetCreatedAfterAHitGoesRightAfterTheHitOne) {
    Gadget_CreateButton(1, 0, 0, 10, 10, "a");
    Gadget_CreateButton(2, 100, 100, 50, 50, "b");
    MoveTo(5, 5);
    Frame();
    Gadget_CreateButton(3, 100, 100, 50, 50, "c");  // lands between 1 and 2
    MoveTo(120, 120);
    Frame();
    EXPECT_EQ(Gadget_EventGadget(), 3);
}

// ---------------------------------------------------------------- toggles

TEST_F(EventsTest, TogglesFlipOnTheLeftPressOnly) {
    struct Case { const char* what; int kind; int flags; int wantAfterClick; } cases[] = {
        {"toggle button 0x1003", GadgetKind_Button, 0x1003, 1},
        {"toggle button 0x1000", GadgetKind_Button, 0x1000, 1},
        {"plain button", GadgetKind_Button, 0x100, -1},
        {"toggle image button", GadgetKind_ImageButton, 0x2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        if (c.kind == GadgetKind_Button)
            Gadget_CreateButton(1, 100, 100, 50, 20, "t", c.flags);
        else
            Gadget_CreateImageButton(1, 100, 100, 50, 20, 0, c.flags);
        MoveTo(110, 110);
        Testing_MouseButton(1, true);
        Frame();
        EXPECT_EQ(Gadget_GetToggleState(1), c.wantAfterClick) << "flips on the press";
        Frame();
        Frame();
        EXPECT_EQ(Gadget_GetToggleState(1), c.wantAfterClick) << "holding does not flip again";
        Testing_MouseButton(1, false);
        Frame();
        EXPECT_EQ(Gadget_EventType(), EventType_LeftUp);
        EXPECT_EQ(Gadget_GetToggleState(1), c.wantAfterClick) << "the release does not flip";
        Testing_MouseButton(1, true);
        Frame();
        EXPECT_EQ(Gadget_GetToggleState(1), c.wantAfterClick == 1 ? 0 : -1) << "second press flips back";
        Testing_MouseButton(1, false);
        Frame();
        Testing_MouseButton(2, true);
        Frame();
        EXPECT_EQ(Gadget_GetToggleState(1), c.wantAfterClick == 1 ? 0 : -1) << "the right button never flips";
        Testing_MouseButton(2, false);
        Frame();
    }
}

// ---------------------------------------------------------------- text field editing

struct EditCase {
    const char* what;
    const char* text;
    int caret;
    int overwrite;
    int flags;
    const char* typed;
    std::vector<int> keys;
    const char* wantText;
    int wantCaret;
    int wantOverwrite;
    int wantDelay;
};

const std::vector<EditCase> kEditCases = {
    {"typing at the end", "xy", 2, 0, 0, "ab", {}, "xyab", 4, 0, 50},
    {"typing at the end in overwrite mode appends", "xy", 2, 1, 0, "a", {}, "xya", 3, 1, 50},
    {"insert in the middle", "xyz", 1, 0, 0, "Q", {}, "xQyz", 2, 0, 50},
    {"overwrite in the middle", "xyz", 1, 1, 0, "Q", {}, "xQz", 2, 1, 50},
    {"overwrite runs past the end", "xyz", 2, 1, 0, "QRS", {}, "xyQRS", 5, 1, 50},
    {"multi-byte characters count as one", "ab", 1, 0, 0, "\xC3\xA9", {}, "a\xC3\xA9" "b", 2, 0, 50},
    {"backspace at 0 changes nothing", "abc", 0, 0, 0, "", {kKeyBackspace}, "abc", 0, 0, 50},
    {"backspace in the middle", "abc", 2, 0, 0, "", {kKeyBackspace}, "ac", 1, 0, 50},
    {"backspace removes a whole multi-byte character", "a\xC3\xA9", 2, 0, 0, "", {kKeyBackspace}, "a", 1, 0, 50},
    {"delete at the end changes nothing", "abc", 3, 0, 0, "", {kKeyDelete}, "abc", 3, 0, 50},
    {"delete in the middle", "abc", 1, 0, 0, "", {kKeyDelete}, "ac", 1, 0, 50},
    {"backspace and delete in one frame", "abcd", 2, 0, 0, "", {kKeyBackspace, kKeyDelete}, "ad", 1, 0, 50},
    {"right stops at the end", "ab", 2, 0, 0, "", {kKeyRight}, "ab", 2, 0, 50},
    {"left stops at 0", "ab", 0, 0, 0, "", {kKeyLeft}, "ab", 0, 0, 50},
    {"home", "abc", 2, 0, 0, "", {kKeyHome}, "abc", 0, 0, 50},
    {"end costs no pause", "abc", 1, 0, 0, "", {kKeyEnd}, "abc", 3, 0, 0},
    {"insert toggles overwrite", "abc", 1, 0, 0, "", {kKeyInsert}, "abc", 1, 1, 50},
    {"only the first moving key acts", "abc", 1, 0, 0, "", {kKeyRight, kKeyLeft, kKeyHome}, "abc", 2, 0, 50},
    {"digits only skips letters", "", 0, 0, kFieldDigitsOnly, "a1", {}, "1", 1, 0, 50},
    {"digits only still pauses for a skipped letter", "5", 1, 0, kFieldDigitsOnly, "a", {}, "5", 1, 0, 50},
    {"read-only ignores typing", "abc", 1, 0, kFieldReadOnly, "x", {}, "abc", 1, 0, 0},
    {"read-only ignores caret keys", "abc", 1, 0, kFieldReadOnly, "", {kKeyHome}, "abc", 1, 0, 0},
    {"read-only ignores deleting keys", "abc", 1, 0, kFieldReadOnly, "", {kKeyBackspace, kKeyInsert}, "abc", 1, 0, 0},
    {"a caret past the end is pulled back", "ab", 9, 0, 0, "c", {}, "abc", 3, 0, 50},
    {"nothing pressed, no pause", "ab", 1, 0, 0, "", {}, "ab", 1, 0, 0},
};

TEST_F(EventsTest, TextFieldEditing) {
    for (const EditCase& c : kEditCases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        Gadget_CreateTextField(3, 100, 200, 100, 20, c.text, c.flags);
        ASSERT_EQ(Gadget_GetActive(), 3);
        Field(3).caret = c.caret;
        Field(3).overwrite = c.overwrite;
        for (int key : c.keys) Testing_Key(key, true);
        if (*c.typed) Testing_TypeText(c.typed);
        EXPECT_EQ(FrameDelay(), c.wantDelay);
        EXPECT_EQ(Gadget_GetText(3), c.wantText);
        EXPECT_EQ(Field(3).caret, c.wantCaret);
        EXPECT_EQ(Field(3).overwrite, c.wantOverwrite);
    }
}

TEST_F(EventsTest, HeldKeysActOncePerFrame) {
    Gadget_CreateTextField(3, 100, 200, 100, 20, "abcd", 0);
    Field(3).caret = 4;
    Testing_Key(kKeyBackspace, true);
    EXPECT_EQ(FrameDelay(), 50);
    EXPECT_EQ(FrameDelay(), 50);
    EXPECT_EQ(FrameDelay(), 50);
    EXPECT_EQ(Gadget_GetText(3), "a");
    Testing_Key(kKeyBackspace, false);
    EXPECT_EQ(FrameDelay(), 0);

    Testing_Key(kKeyInsert, true);
    Frame();
    EXPECT_EQ(Field(3).overwrite, 1);
    Frame();
    EXPECT_EQ(Field(3).overwrite, 0);
    Testing_Key(kKeyInsert, false);
    Frame();
    EXPECT_EQ(Field(3).overwrite, 0);
}

TEST_F(EventsTest, AKeyTappedWithinOneFrameStillActs) {
    Gadget_CreateTextField(3, 100, 200, 100, 20, "abc", 0);
    Field(3).caret = 3;
    Testing_Key(kKeyBackspace, true);
    Testing_Key(kKeyBackspace, false);
    EXPECT_EQ(FrameDelay(), 50);
    EXPECT_EQ(Gadget_GetText(3), "ab");
    EXPECT_EQ(FrameDelay(), 0);
    EXPECT_EQ(Gadget_GetText(3), "ab");
}

TEST_F(EventsTest, KeysReachOnlyAnEnabledFocusedTextField) {
    Gadget_CreateTextField(3, 100, 200, 100, 20, "ab", 0);
    Gadget_CreateTextField(4, 100, 300, 100, 20, "cd", 0);
    Gadget_CreateButton(5, 300, 300, 50, 20, "b");

    // Focus on a Button: nobody edits, nobody pauses.
    Testing_TypeText("x");
    EXPECT_EQ(FrameDelay(), 0);
    EXPECT_EQ(Gadget_GetText(3), "ab");
    EXPECT_EQ(Gadget_GetText(4), "cd");

    // Clicking field 3 gives it the keys; field 4 stays untouched.
    MoveTo(110, 205);
    Testing_MouseButton(1, true);
    Frame();
    Testing_MouseButton(1, false);
    Frame();
    ASSERT_EQ(Gadget_GetActive(), 3);
    Testing_TypeText("y");
    EXPECT_EQ(FrameDelay(), 50);
    EXPECT_EQ(Gadget_GetText(3), "yab");
    EXPECT_EQ(Gadget_GetText(4), "cd");

    Gadget_Disable(3, 1);
    Testing_TypeText("z");
    EXPECT_EQ(FrameDelay(), 0);
    EXPECT_EQ(Gadget_GetText(3), "yab");

    // A focused gadget that was freed matches nothing.
    Gadget_Free(3);
    Testing_TypeText("w");
    EXPECT_EQ(FrameDelay(), 0);
    EXPECT_EQ(Gadget_GetText(4), "cd");
}

TEST_F(EventsTest, CharactersTypedWithoutFocusDoNotSpillIntoTheNextField) {
    Gadget_CreateTextField(3, 100, 200, 100, 20, "ab", 0);
    MoveTo(600, 600);
    Testing_MouseButton(1, true);
    Frame();
    Testing_MouseButton(1, false);
    Frame();
    ASSERT_EQ(Gadget_GetActive(), -1);
    Testing_TypeText("zz");
    Frame();

    MoveTo(110, 205);
    Testing_MouseButton(1, true);
    Frame();
    Testing_MouseButton(1, false);
    Frame();
    Frame();
    ASSERT_EQ(Gadget_GetActive(), 3);
    EXPECT_EQ(Gadget_GetText(3), "ab");
}

// ---------------------------------------------------------------- scroll bar

struct BarFrame {
    int y;      // pointer y (x stays over the bar)
    int left;   // 1 press, 0 release, -1 leave; 2 = right button pressed
    int value;  // value after the frame
    int drag;   // dragOffset after the frame
};

struct BarScenario {
    const char* name;
    int height, minimum, maximum, page, thumbLength, value;
    std::vector<BarFrame> frames;
};

// Bar at (500, 100), 14 wide. With height 200 and thumb 20 the track is 158:
// first arrow 100..110, second 290..300, the thumb starts at 100 + thumb + 10
// with thumb = value * 158 / 100 (79 at value 50, 77 at 49).
const std::vector<BarScenario> kBarScenarios = {
    {"first arrow held steps down to minimum", 200, 0, 100, 10, 20, 3,
     {{105, 1, 2, 0}, {105, -1, 1, 0}, {105, -1, 0, 0}, {105, -1, 0, 0}, {105, 0, 0, 0}}},
    {"second arrow held stops at maximum - page + 1", 200, 0, 100, 10, 20, 89,
     {{295, 1, 90, 0}, {295, -1, 91, 0}, {295, -1, 91, 0}}},
    {"track after the thumb moves once per press", 200, 0, 100, 10, 20, 0,
     {{200, 1, 1, 0}, {200, -1, 1, 0}, {200, 0, 1, 0}, {200, 1, 2, 0}}},
    {"track before the thumb; its first pixel starts no drag", 200, 0, 100, 10, 20, 50,
     {{150, 1, 49, 0}, {150, 0, 49, 0}, {187, 1, 48, 0}, {187, -1, 48, 0}}},
    {"thumb drag follows the pointer over the whole bar", 200, 0, 100, 10, 20, 0,
     {{115, 1, 0, -5}, {194, -1, 49, -5}, {280, -1, 91, -5}, {295, -1, 91, -5}, {105, -1, 0, -5},
      {150, 0, 0, 0}}},
    {"right button does nothing", 200, 0, 100, 10, 20, 3, {{105, 2, 3, 0}}},
    {"empty range never divides by zero", 200, 5, 5, 1, 20, 5,
     {{200, 1, 5, 0}, {200, 0, 5, 0}, {120, 1, 5, -10}, {250, -1, 5, -10}}},
    {"no track left for the thumb keeps the value", 42, 0, 100, 10, 20, 30,
     {{120, 1, 30, -10}, {125, -1, 30, -10}, {125, 0, 30, 0}}},
};

TEST_F(EventsTest, ScrollBarFrameByFrame) {
    for (const BarScenario& s : kBarScenarios) {
        SCOPED_TRACE(s.name);
        TearDown();
        SetUp();
        ScrollBarRecord fields;
        fields.minimum = s.minimum;
        fields.maximum = s.maximum;
        fields.page = s.page;
        fields.value = s.value;
        fields.thumbLength = s.thumbLength;
        fields.flags = 1;
        NewGadget(50, GadgetKind_ScrollBar, 500, 100, 14, s.height, fields);
        ScrollBarRecord* bar = KindAs<ScrollBarRecord>(FindGadget(50));
        ASSERT_NE(bar, nullptr);
        for (std::size_t i = 0; i < s.frames.size(); ++i) {
            const BarFrame& f = s.frames[i];
            SCOPED_TRACE("frame " + std::to_string(i + 1));
            MoveTo(505, f.y);
            if (f.left == 2) Testing_MouseButton(2, true);
            else if (f.left >= 0) Testing_MouseButton(1, f.left != 0);
            EXPECT_EQ(Frame(), GadgetEvent);
            EXPECT_EQ(Gadget_EventGadget(), 50);
            EXPECT_EQ(bar->value, f.value);
            EXPECT_EQ(toolkit.dragOffset, f.drag);
        }
    }
}

// ---------------------------------------------------------------- lists

TEST_F(EventsTest, ReleaseOverAListRowSelectsIt) {
    Gadget_CreateColumnList(8, 100, 300, 200, 200, "Name", 150, 0);
    Gadget_AddItem(8, -1, "zero");
    Gadget_AddItem(8, -1, "one");
    Gadget_AddItem(8, -1, "two");
    ColumnListRecord* list = KindAs<ColumnListRecord>(FindGadget(8));
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->rows[0].height, 0);
    const int rowOneY = static_cast<int>(ListRowHitBand(*FindGadget(8), *list, 0, 1).y);  // its top pixel row

    MoveTo(150, rowOneY);
    Testing_MouseButton(1, true);
    Frame();
    EXPECT_EQ(Gadget_GetState(8), -1) << "the press alone selects nothing";
    Testing_MouseButton(1, false);
    EXPECT_EQ(Frame(), GadgetEvent);
    EXPECT_EQ(Gadget_EventType(), EventType_LeftUp);
    EXPECT_EQ(Gadget_GetItemState(8, 1), 1);
    EXPECT_EQ(Gadget_GetItemState(8, 0), 0);
}

TEST_F(EventsTest, AListScrolledByItsOwnBarSelectsTheRowShownAtTheTop) {
    Gadget_CreateColumnList(8, 100, 300, 200, 100, "Name", 150, 0);
    for (int i = 0; i < 20; ++i) Gadget_AddItem(8, -1, "row " + std::to_string(i));
    ColumnListRecord* list = KindAs<ColumnListRecord>(FindGadget(8));
    ASSERT_NE(list, nullptr);
    for (RowRecord& row : list->rows) row.height = 15;
    Gadget_Layout();
    ScrollBarRecord* bar = KindAs<ScrollBarRecord>(FindGadget(8 + kScrollBarNumberOffset));
    ASSERT_NE(bar, nullptr) << "20 rows of 15 pixels do not fit in 100";
    ASSERT_EQ(bar->value, 0);

    // Two frames held on the bar's lower arrow, then let go: two rows down.
    MoveTo(305, 300 + 100 - 5);
    Testing_MouseButton(1, true);
    EXPECT_EQ(Frame(), GadgetEvent);
    EXPECT_EQ(Gadget_EventGadget(), 8 + kScrollBarNumberOffset);
    Frame();
    Testing_MouseButton(1, false);
    Frame();
    EXPECT_EQ(bar->value, 2);
    Gadget_Layout();

    // A click just below the header lands on the first row shown.
    MoveTo(150, static_cast<int>(ListRowHitBand(*FindGadget(8), *list, bar->value, bar->value).y));
    Testing_MouseButton(1, true);
    Frame();
    Testing_MouseButton(1, false);
    EXPECT_EQ(Frame(), GadgetEvent);
    EXPECT_EQ(Gadget_EventGadget(), 8);
    EXPECT_EQ(Gadget_GetState(8), 2);
}

}  // namespace
