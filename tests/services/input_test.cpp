#include "fixture.h"

namespace {
using InputTest = ScreenTest;

void Frame() {
    Mouse_Examine();
    Key_Examine();
}
}  // namespace

TEST_F(InputTest, MousePositionStartsAtZeroAndIsClamped) {
    ASSERT_NE(Mouse_Init(), 0);
    Frame();
    EXPECT_EQ(Mouse_X(), 0);
    EXPECT_EQ(Mouse_Y(), 0);
    Testing_MouseMove(300, 200);
    EXPECT_EQ(Mouse_X(), 0);  // seen only at the next examine
    Frame();
    EXPECT_EQ(Mouse_X(), 300);
    EXPECT_EQ(Mouse_Y(), 200);
    // Outside the window only a drag is followed (the system captures the
    // mouse for it), up to the screen's edge.
    Testing_MouseMove(5000, -20);
    Frame();
    EXPECT_EQ(Mouse_X(), 300);
    EXPECT_EQ(Mouse_Y(), 200);
    Testing_MouseMove(300, 200);
    Testing_MouseButton(1, true);
    Testing_MouseMove(5000, -20);
    Frame();
    EXPECT_EQ(Mouse_X(), 1023);
    EXPECT_EQ(Mouse_Y(), 0);
    Testing_MouseButton(1, false);
}

TEST_F(InputTest, QuickClickIsNotLost) {
    ASSERT_NE(Mouse_Init(), 0);
    Testing_MouseButton(1, true);
    Testing_MouseButton(1, false);
    Frame();
    EXPECT_NE(Mouse_Button(1), 0);
    EXPECT_EQ(Mouse_Button(2), 0);
    Frame();
    EXPECT_EQ(Mouse_Button(1), 0);
    Testing_MouseButton(2, true);
    Frame();
    Frame();
    EXPECT_NE(Mouse_Button(2), 0);
    Testing_MouseButton(2, false);
    Frame();
    EXPECT_EQ(Mouse_Button(2), 0);
    EXPECT_EQ(Mouse_Button(0), 0);
    EXPECT_EQ(Mouse_Button(4), 0);
}

TEST_F(InputTest, WheelCountsNotchesPerExamine) {
    ASSERT_NE(Mouse_Init(), 0);
    Testing_MouseWheel(2);
    Testing_MouseWheel(-5);
    Frame();
    EXPECT_EQ(Mouse_Wheel(), -3);
    Frame();
    EXPECT_EQ(Mouse_Wheel(), 0);
}

TEST_F(InputTest, KeyDownAndReleasedOnce) {
    ASSERT_NE(Key_Init(), 0);
    Testing_Key(kKeyUp, true);
    for (int i = 0; i < 3; ++i) {
        Frame();
        EXPECT_NE(Key_Down(kKeyUp), 0);
        EXPECT_NE(Key_Down(-1), 0);
        EXPECT_EQ(Key_Released(kKeyUp), 0);
    }
    Testing_Key(kKeyUp, false);
    Frame();
    EXPECT_EQ(Key_Down(kKeyUp), 0);
    EXPECT_EQ(Key_Down(-1), 0);
    EXPECT_NE(Key_Released(kKeyUp), 0);
    EXPECT_EQ(Key_Released(kKeyUp), 0);
    Frame();
    EXPECT_EQ(Key_Released(kKeyUp), 0);
    // A tap within one frame still shows as held once, then released.
    Testing_Key(kKeyScrollLock, true);
    Testing_Key(kKeyScrollLock, false);
    Frame();
    EXPECT_NE(Key_Down(kKeyScrollLock), 0);
    EXPECT_EQ(Key_Released(-1), 0);
    Frame();
    EXPECT_NE(Key_Released(-1), 0);
    EXPECT_EQ(Key_Down(999), 0);
    EXPECT_EQ(Key_Released(-7), 0);
}

TEST_F(InputTest, EveryEditorKeyMapsThroughSdl) {
    ASSERT_NE(Key_Init(), 0);
    for (int key : {kKeyBackspace, kKeyLeftCtrl, kKeyLeftShift, kKeyRightShift, kKeyScrollLock, kKeyRightCtrl,
                    kKeyHome, kKeyUp, kKeyLeft, kKeyRight, kKeyEnd, kKeyDown, kKeyInsert, kKeyDelete}) {
        Testing_Key(key, true);
        Frame();
        EXPECT_NE(Key_Down(key), 0) << key;
        for (int other = 1; other < 256; ++other) {
            if (other == key) continue;
            ASSERT_EQ(Key_Down(other), 0) << key << " also shows " << other;
        }
        Testing_Key(key, false);
        Frame();
        EXPECT_EQ(Key_Down(key), 0) << key;
    }
}

TEST_F(InputTest, TypedTextWaitsForItsKeyAndKeepsOrder) {
    ASSERT_NE(Key_Init(), 0);
    Testing_TypeText("\xC3\xA9z");  // from no key: at once, in order
    Frame();
    EXPECT_EQ(Key_TypedText(), "\xC3\xA9z");
    EXPECT_EQ(Key_TypedText(), "");

    Testing_Key(30, true);  // A
    Testing_TypeText("a");
    Testing_Key(48, true);  // B, released before A
    Testing_TypeText("b");
    Testing_Key(48, false);
    Frame();
    EXPECT_EQ(Key_TypedText(), "");
    Testing_Key(30, false);
    Frame();
    EXPECT_EQ(Key_TypedText(), "ab");
    // Key_Released keeps marks of its own.
    EXPECT_EQ(Key_Released(30), 0);
}

TEST_F(InputTest, ClickAfterAMoveInTheSameFrameKeepsThePosition) {
    ASSERT_NE(Mouse_Init(), 0);
    Testing_MouseMove(321, 123);
    Testing_MouseButton(1, true);
    Frame();
    EXPECT_EQ(Mouse_X(), 321);
    EXPECT_EQ(Mouse_Y(), 123);
    EXPECT_NE(Mouse_Button(1), 0);
}
