#include <unistd.h>

#include <csignal>

#include "app_fixture.h"
#include "gadget.h"

class FrameLoop : public AppTest {
protected:
    void Start(const std::string& missingMedia = "") {
        if (!ProvideMedia(missingMedia)) GTEST_SKIP() << "generated media not built: " << BuiltMediaFolder();
        ASSERT_TRUE(StartEditor()) << editor.StartupFailure;
    }
};

TEST_F(FrameLoop, SleepsAwayWhatIsLeftOfThirtyMilliseconds) {
    Start();
    const struct {
        int work;
        int slept;
    } cases[] = {{0, 30}, {12, 18}, {29, 1}, {30, 0}, {45, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.work);
        editor.FrameStart = ElapsedMilliseconds();
        Testing_AdvanceClock(c.work);
        const std::int64_t before = Testing_TotalDelayed();
        PaceFrame();
        EXPECT_EQ(Testing_TotalDelayed() - before, c.slept);
    }
}

TEST_F(FrameLoop, EveryFrameLastsThirtyMilliseconds) {
    Start();
    const std::int64_t start = ElapsedMilliseconds();
    const std::int64_t delayed = Testing_TotalDelayed();
    for (int i = 0; i < 5; ++i) RunFrame();
    EXPECT_EQ(ElapsedMilliseconds() - start, 150);
    EXPECT_EQ(Testing_TotalDelayed() - delayed, 150);
    EXPECT_EQ(editor.FrameStart, start + 120);
}

TEST_F(FrameLoop, RunsUntilQuitIsRequested) {
    Start();
    editor.QuitRequested = 1;
    const std::int64_t start = ElapsedMilliseconds();
    RunFrameLoop();  // the current frame still completes
    EXPECT_EQ(ElapsedMilliseconds() - start, 30);
}

TEST_F(FrameLoop, TheWindowsCloseBoxIsIgnored) {
    Start();
    Testing_RequestClose();
    RunFrame();
    EXPECT_EQ(editor.QuitRequested, 0);
    EXPECT_EQ(Window_PollEvent(), 0) << "the close request was drained with the frame's events";
    EXPECT_NE(Screen_Width(), 0) << "the screen stays open";
}

// SIGINT and SIGTERM end the loop after the frame they arrive in, the close
// box still does not; alarm() turns a loop that never ends into a failure.
TEST_F(FrameLoop, AStopSignalEndsTheLoopAfterItsFrame) {
    Start();
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        editor.QuitRequested = 0;
        Signals_Catch();
        Testing_RequestClose();
        RunFrame();
        EXPECT_EQ(editor.QuitRequested, 0);
        ASSERT_EQ(std::raise(signal), 0);
        EXPECT_EQ(Signals_Caught(), signal);
        const std::int64_t start = ElapsedMilliseconds();
        alarm(20);
        RunFrameLoop();
        alarm(0);
        EXPECT_EQ(ElapsedMilliseconds() - start, 30) << "one frame";
        EXPECT_NE(Screen_Width(), 0) << "the end itself is left to the caller";
        Signals_Release();
    }
}

TEST_F(FrameLoop, SamplesThePointerOncePerFrame) {
    Start();
    Testing_MouseMove(200, 150);
    EXPECT_EQ(interaction.MouseX, 0) << "nothing is read between frames";
    RunFrame();
    EXPECT_EQ(interaction.MouseX, 200);
    EXPECT_EQ(interaction.MouseY, 150);
}

// A click is seen twice: by the dispatch of the frame that reports it and,
// through FrameEventType, by the pictures drawn in the next frame.
TEST_F(FrameLoop, ClickTypeSurvivesIntoTheNextFrame) {
    Start();
    const int button = 40;
    // Clear of the screen's own gadgets shown at start.
    Gadget_CreateButton(button, 300, 150, 80, 18, "Quit");
    Testing_MouseMove(320, 158);
    RunFrame();
    Testing_MouseButton(1, true);
    RunFrame();
    EXPECT_EQ(editor.FrameEvent, GadgetEvent);
    EXPECT_EQ(editor.FrameGadget, button);
    EXPECT_EQ(editor.FrameEventType, EventType_LeftDown);
    Testing_MouseButton(1, false);
    RunFrame();
    EXPECT_EQ(editor.FrameEvent, GadgetEvent);
    EXPECT_EQ(editor.FrameGadget, button);
    EXPECT_EQ(editor.FrameEventType, EventType_LeftUp);

    FrameBeginAndDraw();
    EXPECT_EQ(editor.FrameEventType, EventType_LeftUp) << "the next frame's pictures still see the release";
    EXPECT_EQ(editor.FrameGadget, button);
    FrameEvents();
    EXPECT_EQ(editor.FrameEventType, EventType_Gadget) << "replaced by the next event processing";
    FramePresent();
    PaceFrame();
}

TEST_F(FrameLoop, NothingUnderThePointerReportsNoEvent) {
    Start();
    Testing_MouseMove(700, 700);
    Testing_MouseButton(1, true);
    RunFrame();
    EXPECT_EQ(editor.FrameEvent, 0);
    EXPECT_EQ(editor.FrameGadget, -1);
    EXPECT_EQ(editor.FrameEventType, EventType_LeftDown);
}

// Reads the pointer-sized area under the pointer after a frame's drawing.
struct PointerArea {
    int tip;        // pixel at the hot spot
    int inside;     // pixel well inside the arrow
    int farCorner;  // pixel at the top-right of the pointer's box, see-through
};

PointerArea ScreenUnderPointer(bool drawPointer) {
    FrameBeginAndDraw();
    if (drawPointer) DrawMousePointer();
    constexpr int kGrab = 90;
    PointerArea area{};
    if (Sprite_Grab(kGrab, interaction.MouseX, interaction.MouseY, 12, 19)) {
        area = {SpritePixel(kGrab, 0, 0), SpritePixel(kGrab, 2, 6), SpritePixel(kGrab, 11, 0)};
        Sprite_Free(kGrab);
    }
    Screen_Flip();
    return area;
}

TEST_F(FrameLoop, PointerIsDrawnWithItsHotSpotAtTheMouse) {
    Start();
    Testing_MouseMove(300, 200);
    const PointerArea background = ScreenUnderPointer(false);
    const PointerArea pointer = ScreenUnderPointer(true);
    EXPECT_NE(pointer.tip, background.tip);
    EXPECT_NE(pointer.inside, background.inside);
    EXPECT_EQ(pointer.farCorner, background.farCorner) << "black parts are see-through";
}

TEST_F(FrameLoop, MissingPointerPictureDrawsNothingAndTheLoopRunsOn) {
    Start("Mouse.png");
    EXPECT_EQ(Sprite_Width(kPointerSprite), 0);
    Testing_MouseMove(300, 200);
    const PointerArea background = ScreenUnderPointer(false);
    const PointerArea pointer = ScreenUnderPointer(true);
    EXPECT_EQ(pointer.tip, background.tip);
    EXPECT_EQ(pointer.inside, background.inside);
    const std::int64_t start = ElapsedMilliseconds();
    for (int i = 0; i < 3; ++i) RunFrame();
    EXPECT_EQ(ElapsedMilliseconds() - start, 90);
}

TEST_F(FrameLoop, GadgetsAreDrawnOverTheBackgroundAndUnderThePointer) {
    Start();
    Gadget_CreateButton(41, 300, 200, 80, 18, "Quit");
    Testing_MouseMove(600, 500);
    FrameBeginAndDraw();
    ASSERT_TRUE(Sprite_Grab(92, 300, 200, 1, 1));
    EXPECT_NE(SpritePixel(92, 0, 0), SpritePixel(kBackgroundSprite, 300, 200)) << "the button's border";
    FrameEvents();
    FramePresent();
    PaceFrame();

    Testing_MouseMove(300, 200);
    const PointerArea pointer = ScreenUnderPointer(true);
    EXPECT_EQ(pointer.tip, SpritePixel(kPointerSprite, 0, 0)) << "the pointer lies on top";
}

TEST_F(FrameLoop, BackgroundErasesThePreviousFrame) {
    Start();
    if (Draw_Begin(Draw_ScreenOutput())) {
        Draw_Box(0, 0, 1024, 768, 0xFFFFFF);
        Draw_End();
    }
    Testing_MouseMove(1000, 700);
    FrameBeginAndDraw();
    ASSERT_TRUE(Sprite_Grab(91, 10, 600, 4, 4));
    EXPECT_EQ(SpritePixel(91, 0, 0), SpritePixel(kBackgroundSprite, 10, 600));
}
