// Gadget numbers and the order gadgets are drawn in, seen through the
// toolkit's calls and the screen's pixels.
#include "toolkit_fixture.h"

namespace {

constexpr int kBackground = 0x102030;  // a colour no gadget paints

class RegistryTest : public ToolkitTest {
protected:
    // Clears the screen and runs one draw pass.
    static void DrawFrame() {
        ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
        Draw_Box(0, 0, 1024, 768, kBackground);
        Draw_End();
        Gadget_DrawAll();
    }
    static int Pixel(int x, int y) {
        if (!Draw_Begin(Draw_ScreenOutput())) return -1;
        const int c = Draw_Point(x, y);
        Draw_End();
        return c;
    }
    // A filled square at (100, 100), 50 wide, in its own colour.
    static void Square(int number, int colour) {
        Gadget_CreateText(number, 100, 100, 50, 50, "", 0);
        Record(number).fillMode = 1;
        Record(number).fillColor = colour;
    }
    // The colour that ends on top where all the squares lie.
    static int OnTop() {
        DrawFrame();
        return Pixel(125, 125);
    }
};

TEST_F(RegistryTest, EveryNumberUpToTheTopAndBeyondHoldsAGadget) {
    EXPECT_EQ(Gadget_GetActive(), -1) << "nothing has the focus";
    for (int n : {0, 1, 1999, 2000, 2100, 2150, 5000}) {
        Gadget_CreateText(n, 0, 0, 10, 10, "t" + std::to_string(n), 0);
        EXPECT_EQ(Gadget_Kind(n), GadgetKind_Text) << n;
    }
    for (int n : {0, 1, 1999, 2000, 2100, 2150, 5000}) EXPECT_EQ(Gadget_GetText(n), "t" + std::to_string(n)) << n;
    for (int n : {2, 2101, 2200, 4999}) EXPECT_EQ(Gadget_Kind(n), 0) << "never created: " << n;
    EXPECT_NE(Font_Handle(kToolkitFont), 0) << "Gadget_Init loads the toolkit's font";
}

TEST_F(RegistryTest, AutomaticNumberingTakesTheFirstFreeFromOneAndGrowsWhenFull) {
    EXPECT_EQ(Gadget_CreateText(kGadgetAuto, 0, 0, 1, 1, "", 0), 1) << "0 is never chosen, even when free";
    EXPECT_EQ(Gadget_CreateText(kGadgetAuto, 0, 0, 1, 1, "", 0), 2);
    Gadget_Free(1);
    EXPECT_EQ(Gadget_CreateText(kGadgetAuto, 0, 0, 1, 1, "", 0), 1) << "a freed number is free again";

    for (int n = 3; n <= 2100; ++n) Gadget_CreateText(n, 0, 0, 1, 1, "", 0);
    EXPECT_EQ(Gadget_CreateText(kGadgetAuto, 0, 0, 1, 1, "", 0), 2101);
    EXPECT_EQ(Gadget_CreateText(kGadgetAuto, 0, 0, 1, 1, "", 0), 2102);
    EXPECT_EQ(Gadget_Kind(0), 0);
}

TEST_F(RegistryTest, NumbersOutsideTheRegistryFindNothingAndChangeNothing) {
    Gadget_CreateText(3, 0, 0, 1, 1, "a", 0);
    for (int n : {-5, -1, 2101, 99999, 2147483647}) {
        EXPECT_EQ(Gadget_Kind(n), 0) << n;
        EXPECT_EQ(Gadget_GetText(n), "") << n;
        EXPECT_EQ(Gadget_SetText(n, "b"), 0) << n;
    }
    EXPECT_EQ(Gadget_Kind(4), 0) << "an empty number inside the registry";
    EXPECT_EQ(Gadget_GetText(3), "a");
    EXPECT_EQ(Gadget_CreateText(kGadgetAuto, 0, 0, 1, 1, "", 0), 1);
}

TEST_F(RegistryTest, UnreasonableNumbersAreNumberedAutomatically) {
    // Neither a negative number nor a huge one may index or balloon the registry.
    for (int n : {-5, -2147483647 - 1, 2147483647, 1000001}) {
        const int got = Gadget_CreateText(n, 0, 0, 1, 1, "x", 0);
        EXPECT_GE(got, 1) << n;
        EXPECT_LE(got, 2100) << n;
        EXPECT_EQ(Gadget_Kind(got), GadgetKind_Text) << n;
        EXPECT_EQ(Gadget_Kind(n), 0) << n;
        EXPECT_EQ(Gadget_GetActive(), -1) << n;
    }
}

TEST_F(RegistryTest, DefaultsShowOnlyOnLaterGadgets) {
    Gadget_SetDefaultFillMode(0);
    Gadget_CreateText(1, 100, 100, 60, 20, "", 0);
    Gadget_SetDefaultFillMode(1);
    Gadget_CreateText(2, 300, 100, 60, 20, "", 0);
    DrawFrame();
    EXPECT_EQ(Pixel(130, 110), kBackground) << "created without a fill";
    EXPECT_NE(Pixel(330, 110), kBackground) << "created with one";
}

TEST_F(RegistryTest, ImageButtonAndFrameFillModesIgnoreTheDefault) {
    for (int mode : {0, 1, 2}) {
        Gadget_SetDefaultFillMode(mode);
        Gadget_CreateImageButton(10, 0, 0, 10, 10, 1234, 0);
        Gadget_CreateFrame(11, 0, 0, 10, 10, "f", 0);
        Gadget_CreateButton(12, 0, 0, 10, 10, "b");
        EXPECT_EQ(Record(10).fillMode, 2) << mode;
        EXPECT_EQ(Record(10).fillColor, 1234) << mode;
        EXPECT_EQ(Record(11).fillMode, 0) << mode;
        EXPECT_EQ(Record(12).fillMode, mode);
    }
}

// Gadgets are drawn in creation order, except that a new one goes right
// after the gadget touched last: what shows where they overlap. (A new
// gadget takes the focus and is drawn last; a last one, elsewhere, takes it
// from the squares.)
TEST_F(RegistryTest, ANewGadgetIsDrawnRightAfterTheOneTouchedLast) {
    constexpr int kBlue = 0xAA0000, kGreen = 0x00AA00, kRed = 0x0000AA;
    const auto focusElsewhere = [] { Gadget_CreateText(9, 600, 600, 10, 10, "", 0); };
    Square(1, kBlue);
    Square(2, kGreen);
    focusElsewhere();
    EXPECT_EQ(OnTop(), kGreen) << "the later one on top";

    Gadget_FreeAll();
    Square(1, kBlue);
    Square(2, kGreen);
    Gadget_GetText(1);
    Square(3, kRed);
    focusElsewhere();
    EXPECT_EQ(OnTop(), kGreen) << "3 is drawn between 1 and 2";
    Gadget_Hide(2, 1);
    EXPECT_EQ(OnTop(), kRed);

    Gadget_FreeAll();
    Square(1, kBlue);
    Square(2, kGreen);
    Gadget_GetText(1);
    Gadget_GetText(99);  // a failed lookup touches nothing
    Square(3, kRed);
    focusElsewhere();
    EXPECT_EQ(OnTop(), kGreen) << "3 is still drawn between 1 and 2";

    Gadget_FreeAll();
    Square(1, kBlue);
    Square(2, kGreen);
    Gadget_GetText(1);
    Gadget_Free(1);  // the gadget touched last is gone: new ones go to the end
    Square(3, kRed);
    focusElsewhere();
    EXPECT_EQ(OnTop(), kRed);
}

TEST_F(RegistryTest, DeletingAnOverwrittenRecordLeavesTheNewOwnerOfItsNumber) {
    // Not reachable through the toolkit's calls alone, but a list's scroll
    // bar is deleted this way: a stale record must not take its number along.
    Gadget_CreateText(5, 0, 0, 1, 1, "old", 0);
    GadgetRecord* old = FindGadget(5);
    Gadget_CreateText(5, 0, 0, 1, 1, "new", 0);
    DeleteGadgetRecord(*old);
    EXPECT_EQ(Gadget_GetText(5), "new");
    EXPECT_EQ(Gadget_Kind(5), GadgetKind_Text);
}

TEST_F(RegistryTest, EndFreesEverythingAndASecondEndIsHarmless) {
    Gadget_CreateEditor(1, 0, 0, 50, 50, 0);
    Square(2, 0x0000AA);
    Gadget_End();
    EXPECT_EQ(Gadget_Kind(1), 0);
    EXPECT_EQ(Gadget_Kind(2), 0);
    EXPECT_EQ(OnTop(), kBackground);
    Gadget_End();
    EXPECT_EQ(Gadget_Kind(2), 0);
}

}  // namespace
