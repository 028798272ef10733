// The screen shown at a whole factor: every screen pixel as a sharp block of
// window pixels, and the pointer's window position divided back.
#include "fixture.h"

namespace {

// A window of the given size holding the 1024 x 768 screen.
class ScaledScreen : public ScratchTest {
protected:
    void Open(int windowWidth, int windowHeight) {
        ASSERT_NE(Sprite_Init(), 0);
        ASSERT_NE(Mouse_Init(), 0);
        ASSERT_NE(Window_Open(0, 0, 0, windowWidth, windowHeight, "test", kWindowSystemMenu), 0);
        ASSERT_NE(Screen_OpenInWindow(Window_Handle(0), 0, 0, 1024, 768, 0, 0, 0), 0);
    }
    static void Box(int x, int y, int w, int h, int colour) {
        ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
        Draw_Box(x, y, w, h, colour);
        Draw_End();
    }
    // Every window pixel of the screen pixel's block has its colour.
    static void ExpectBlock(int x, int y, int scale, int colour) {
        for (int dy = 0; dy < scale; ++dy)
            for (int dx = 0; dx < scale; ++dx)
                ASSERT_EQ(Testing_WindowPixel(x * scale + dx, y * scale + dy), colour)
                    << "screen (" << x << ", " << y << ") window offset (" << dx << ", " << dy << ")";
    }
};

}  // namespace

TEST_F(ScaledScreen, EachScreenPixelBecomesASharpBlock) {
    for (int scale : {1, 2, 3}) {
        SCOPED_TRACE(scale);
        Testing_ResetServices();
        Open(1024 * scale, 768 * scale);
        EXPECT_EQ(Screen_Scale(), scale);
        EXPECT_EQ(Screen_Width(), 1024) << "the screen keeps its size";
        Box(0, 0, 1024, 768, 0x102030);
        Box(1, 1, 1, 1, 0xFFFFFF);  // one lone pixel: no blur may spread it
        Box(1023, 767, 1, 1, 0x0000FF);
        Screen_Flip();
        ExpectBlock(1, 1, scale, 0xFFFFFF);
        ExpectBlock(0, 1, scale, 0x102030);
        ExpectBlock(2, 1, scale, 0x102030);
        ExpectBlock(1, 2, scale, 0x102030);
        ExpectBlock(1023, 767, scale, 0x0000FF);
        ExpectBlock(500, 400, scale, 0x102030);
    }
}

TEST_F(ScaledScreen, OnlyChangedRowsAreSentYetEveryChangeArrives) {
    Open(2048, 1536);
    Box(0, 0, 1024, 768, 0x000000);
    Screen_Flip();
    Screen_Flip();  // nothing changed: the window keeps what it shows
    ExpectBlock(10, 10, 2, 0x000000);
    // One row changed, then a frame where only its last pixel changes.
    Box(0, 300, 1024, 1, 0x00FF00);
    Screen_Flip();
    ExpectBlock(0, 300, 2, 0x00FF00);
    ExpectBlock(1023, 300, 2, 0x00FF00);
    ExpectBlock(0, 299, 2, 0x000000);
    ExpectBlock(0, 301, 2, 0x000000);
    Box(1023, 300, 1, 1, 0xFF0000);
    Screen_Flip();
    ExpectBlock(1023, 300, 2, 0xFF0000);
    ExpectBlock(1022, 300, 2, 0x00FF00);
    // The first and last rows are rows like any other.
    Box(0, 0, 1024, 1, 0x123456);
    Box(0, 767, 1024, 1, 0x654321);
    Screen_Flip();
    ExpectBlock(5, 0, 2, 0x123456);
    ExpectBlock(5, 767, 2, 0x654321);
}

TEST_F(ScaledScreen, AWindowBetweenFactorsTakesTheWholeFactorBelow) {
    Open(2100, 1700);
    EXPECT_EQ(Screen_Scale(), 2);
    Open(1100, 800);
    EXPECT_EQ(Screen_Scale(), 1);
}

TEST_F(ScaledScreen, PointerPositionsAreDividedBackToScreenPixels) {
    Open(3072, 2304);
    const struct {
        int windowX, windowY, screenX, screenY;
    } cases[] = {
        {0, 0, 0, 0},       {2, 2, 0, 0},     {3, 3, 1, 1},
        {302, 155, 100, 51}, {3071, 2303, 1023, 767},
    };
    for (const auto& c : cases) {
        Testing_MouseMove(c.windowX, c.windowY);
        Mouse_Examine();
        EXPECT_EQ(Mouse_X(), c.screenX) << c.windowX;
        EXPECT_EQ(Mouse_Y(), c.screenY) << c.windowY;
    }
}

TEST_F(ScaledScreen, OutsideTheShownScreenCountsAsOutsideTheWindow) {
    // 2100 x 1600 shows the screen at 2048 x 1536: a margin right and below.
    Open(2100, 1600);
    Testing_MouseMove(400, 300);
    Mouse_Examine();
    ASSERT_EQ(Mouse_X(), 200);
    // A move into the margin leaves the pointer where it left the screen; a press there is no click.
    Testing_MouseMove(2070, 300);
    Testing_MouseButton(1, true);
    Mouse_Examine();
    EXPECT_EQ(Mouse_X(), 200);
    EXPECT_EQ(Mouse_Button(1), 0);
    Testing_MouseButton(1, false);
    Mouse_Examine();
    // A drag that leaves the screen follows to its edge and ends where it is let go.
    Testing_MouseMove(400, 300);
    Testing_MouseButton(1, true);
    Mouse_Examine();
    ASSERT_NE(Mouse_Button(1), 0);
    Testing_MouseMove(2070, 1590);
    Mouse_Examine();
    EXPECT_EQ(Mouse_X(), 1023);
    EXPECT_EQ(Mouse_Y(), 767);
    EXPECT_NE(Mouse_Button(1), 0);
    Testing_MouseButton(1, false);
    Mouse_Examine();
    EXPECT_EQ(Mouse_Button(1), 0);
}

TEST_F(ScaledScreen, TitleAndDroppedFilesReachTheProgram) {
    Open(1024, 768);
    Window_SetTitle(0, "Keelwright \u2014 Design 7");
    EXPECT_EQ(Window_Title(0), "Keelwright \u2014 Design 7");
    EXPECT_EQ(Window_Title(5), "") << "no window 5";
    EXPECT_EQ(Window_DroppedFile(), "");
    Testing_DropFile("/some where/a.png");
    Testing_DropFile("/b\\c.txt");
    EXPECT_EQ(Window_DroppedFile(), "/some where/a.png");
    EXPECT_EQ(Window_DroppedFile(), "/b\\c.txt");
    EXPECT_EQ(Window_DroppedFile(), "");
}
