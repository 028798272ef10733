#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "fixture.h"

namespace {
using SpriteTest = ScreenTest;

constexpr int kRed = 255, kGreen = 255 * 256, kBlue = 255 * 65536, kWhite = 0xFFFFFF;

// A w x h sprite filled with `fill` and a `dot` pixel at (1, 1).
void MakeSprite(int number, int w, int h, int fill, int dot) {
    ASSERT_NE(Sprite_Create(number, w, h), 0);
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(number)), 0);
    Draw_Box(0, 0, w, h, fill);
    Draw_Plot(1, 1, dot);
    Draw_End();
}
}  // namespace

TEST_F(SpriteTest, CreateDisplayAndClip) {
    MakeSprite(1, 10, 8, kRed, kGreen);
    EXPECT_EQ(Sprite_Width(1), 10);
    EXPECT_EQ(Sprite_Height(1), 8);
    ClearScreen(0);
    Sprite_Display(1, 100, 50);
    EXPECT_EQ(ScreenPixel(100, 50), kRed);
    EXPECT_EQ(ScreenPixel(101, 51), kGreen);
    EXPECT_EQ(ScreenPixel(109, 57), kRed);
    EXPECT_EQ(ScreenPixel(110, 57), 0);
    // Partly off every edge: clipped, not skipped.
    Sprite_Display(1, -1, -1);
    EXPECT_EQ(ScreenPixel(0, 0), kGreen);
    Sprite_Display(1, 1020, 764);
    EXPECT_EQ(ScreenPixel(1023, 767), kRed);
    ClearScreen(0);
    Sprite_Display(1, 5000, 5000);
    Sprite_Display(1, -10, 0);  // entirely off: nothing
    Sprite_Display(1, 0, -8);
    EXPECT_EQ(ScreenPixel(5, 5), 0);
}

// A sprite as wide as the screen (the background) lands row for row, also
// when it is shifted up or down, and a grab of whole rows comes back the same.
TEST_F(SpriteTest, ScreenWideSpritesKeepEveryRow) {
    ASSERT_NE(Sprite_Create(1, 1024, 768), 0);
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(1)), 0);
    for (int y = 0; y < 768; ++y) Draw_Box(0, y, 1024, 1, (y * 2654435761u) & 0xFFFFFF);
    Draw_Plot(1023, 767, kWhite);
    Draw_End();
    const auto rowColour = [](int y) { return static_cast<int>((y * 2654435761u) & 0xFFFFFF); };
    for (const int shift : {0, 5, -5}) {
        SCOPED_TRACE(shift);
        ClearScreen(kRed);
        Sprite_Display(1, 0, shift);
        for (const int y : {0, 4, 5, 6, 400, 762, 767}) {
            const int from = y - shift;
            EXPECT_EQ(ScreenPixel(0, y), from >= 0 && from < 768 ? rowColour(from) : kRed) << y;
            EXPECT_EQ(ScreenPixel(700, y), from >= 0 && from < 768 ? rowColour(from) : kRed) << y;
        }
    }
    ClearScreen(0);
    Sprite_Display(1, 0, 0);
    EXPECT_EQ(ScreenPixel(1023, 767), kWhite) << "the last pixel too";
    ASSERT_NE(Sprite_Grab(2, 0, 10, 1024, 20), 0);
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(2)), 0);
    EXPECT_EQ(Draw_Point(3, 0), rowColour(10));
    EXPECT_EQ(Draw_Point(1020, 19), rowColour(29));
    Draw_End();
}

TEST_F(SpriteTest, TransparentDisplaySkipsTheColourKey) {
    MakeSprite(2, 4, 4, 0, kBlue);  // black is the default key
    ClearScreen(kRed);
    Sprite_DisplayTransparent(2, 10, 10);
    EXPECT_EQ(ScreenPixel(10, 10), kRed);
    EXPECT_EQ(ScreenPixel(11, 11), kBlue);
    Sprite_SetTransparentColour(2, kBlue);
    Sprite_DisplayTransparent(2, 20, 20);
    EXPECT_EQ(ScreenPixel(20, 20), 0);
    EXPECT_EQ(ScreenPixel(21, 21), kRed);
    // Drawing into the sprite afterwards is seen by the next transparent display.
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(2)), 0);
    Draw_Plot(0, 0, kGreen);
    Draw_End();
    Sprite_DisplayTransparent(2, 30, 30);
    EXPECT_EQ(ScreenPixel(30, 30), kGreen);
    Sprite_DisplayTransparent(2, -2, -2);  // clipped
    EXPECT_EQ(ScreenPixel(0, 0), 0);
    EXPECT_EQ(ScreenPixel(1, 1), 0);
}

TEST_F(SpriteTest, TransparentDisplayWhileOpenForDrawingShowsTheFinalPixels) {
    MakeSprite(3, 4, 4, 0, kBlue);
    ClearScreen(kRed);
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(3)), 0);
    Draw_Plot(2, 2, kGreen);
    Sprite_DisplayTransparent(3, 10, 10);  // shown half drawn
    Draw_Plot(3, 3, kWhite);
    Draw_Plot(1, 1, 0);
    Draw_End();
    Sprite_DisplayTransparent(3, 20, 20);
    EXPECT_EQ(ScreenPixel(22, 22), kGreen);
    EXPECT_EQ(ScreenPixel(23, 23), kWhite);
    EXPECT_EQ(ScreenPixel(21, 21), kRed) << "the pixel turned to the key is skipped now";
}

TEST_F(SpriteTest, CopyKeepsPixelsAndKey) {
    MakeSprite(1, 3, 3, kRed, kGreen);
    Sprite_SetTransparentColour(1, kRed);
    ASSERT_NE(Sprite_Copy(1, 5), 0);
    Sprite_Free(1);
    EXPECT_EQ(Sprite_Width(1), 0);
    EXPECT_EQ(Sprite_Width(5), 3);
    ClearScreen(kBlue);
    Sprite_DisplayTransparent(5, 0, 0);
    EXPECT_EQ(ScreenPixel(0, 0), kBlue);
    EXPECT_EQ(ScreenPixel(1, 1), kGreen);
    EXPECT_EQ(Sprite_Copy(1, 6), 0);  // empty source
    EXPECT_EQ(Sprite_Width(6), 0);
    const int ref = Sprite_Copy(5, -1);
    EXPECT_GE(ref, kServiceReferenceBase);
    EXPECT_EQ(Sprite_Width(ref), 3);
}

TEST_F(SpriteTest, FailedLoadEmptiesTheNumber) {
    MakeSprite(1, 3, 3, kRed, kRed);
    EXPECT_EQ(Sprite_Load(1, Path("missing.png"), 0), 0);
    EXPECT_EQ(Sprite_Width(1), 0);
    ClearScreen(0);
    Sprite_Display(1, 0, 0);
    Sprite_DisplayTransparent(1, 0, 0);
    EXPECT_EQ(ScreenPixel(0, 0), 0);
    EXPECT_EQ(Draw_SpriteOutput(1), 0);
    EXPECT_EQ(Sprite_Create(2, 0, 5), 0);
    EXPECT_EQ(Sprite_Create(2, 5, -1), 0);
    EXPECT_EQ(Sprite_Create(2, 100000, 100000), 0);
    EXPECT_EQ(Sprite_Create(-5, 5, 5), 0);
    EXPECT_EQ(Sprite_Create(kServiceMaxNumber + 1, 5, 5), 0);
}

TEST_F(SpriteTest, ReferencesAndHandlesAreNeverReused) {
    const int a = Sprite_Create(-1, 2, 2);
    const int b = Sprite_Create(-1, 2, 2);
    ASSERT_GE(a, kServiceReferenceBase);
    ASSERT_GT(b, a);
    const int oldTarget = Draw_SpriteOutput(a);
    Sprite_Free(a);
    EXPECT_EQ(Sprite_Width(a), 0);
    EXPECT_EQ(Draw_Begin(oldTarget), 0);
    const int c = Sprite_Create(-1, 2, 2);
    EXPECT_NE(c, a);
    EXPECT_NE(Draw_SpriteOutput(c), oldTarget);
    // Re-creating a number gives a new drawing target too.
    ASSERT_NE(Sprite_Create(4, 2, 2), 0);
    const int t4 = Draw_SpriteOutput(4);
    ASSERT_NE(Sprite_Create(4, 3, 3), 0);
    EXPECT_NE(Draw_SpriteOutput(4), t4);
    EXPECT_EQ(Draw_Begin(t4), 0);
}

TEST_F(SpriteTest, GrabCopiesTheBackBuffer) {
    ClearScreen(kRed);
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Plot(1023, 767, kGreen);
    Draw_End();
    ASSERT_NE(Sprite_Grab(1, 1020, 764, 8, 8), 0);
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(1)), 0);
    EXPECT_EQ(Draw_Point(0, 0), kRed);
    EXPECT_EQ(Draw_Point(3, 3), kGreen);
    EXPECT_EQ(Draw_Point(4, 4), 0);  // beyond the screen: black
    Draw_End();
    EXPECT_EQ(Sprite_Grab(2, 0, 0, 0, 5), 0);
}

TEST_F(SpriteTest, SaveAndLoadRoundTrip) {
    MakeSprite(1, 7, 5, kRed, kGreen);
    ASSERT_NE(Sprite_Save(1, Path("s.png"), kPngEncoder), 0);
    ASSERT_NE(Sprite_Save(1, Path("s.bmp"), 0), 0);
    for (const char* name : {"s.png", "s.bmp"}) {
        ASSERT_NE(Sprite_Load(2, Path(name), 0), 0) << name;
        EXPECT_EQ(Sprite_Width(2), 7);
        EXPECT_EQ(Sprite_Height(2), 5);
        ASSERT_NE(Draw_Begin(Draw_SpriteOutput(2)), 0);
        EXPECT_EQ(Draw_Point(0, 0), kRed) << name;
        EXPECT_EQ(Draw_Point(1, 1), kGreen) << name;
        Draw_End();
    }
    EXPECT_EQ(Sprite_Save(9, Path("none.png"), kPngEncoder), 0);
    EXPECT_EQ(File_Size(Path("none.png")), -1);
}

// A picture saved a band at a time while its lower rows are still drawn
// gives the file a whole save of the finished picture gives; a band already
// written keeps what it showed then.
TEST_F(SpriteTest, SavingRowsAsTheyAreDoneWritesTheFinishedPicture) {
    constexpr int kW = 40, kH = 30;
    MakeSprite(1, kW, kH, kRed, kGreen);
    ASSERT_NE(Sprite_SaveBegin(1, Path("bands.png")), 0);
    for (int band = 0; band < 3; ++band) {
        ASSERT_NE(Draw_Begin(Draw_SpriteOutput(1)), 0);
        Draw_Box(band * 5, band * 10, 20, 10, kBlue + band);
        Draw_End();
        ASSERT_NE(Sprite_SaveRows(1, band * 10 + 10), 0) << band;
    }
    EXPECT_EQ(File_Size(Path("bands.png")), -1) << "nothing is written before the end";
    ASSERT_NE(Sprite_Save(1, Path("whole.png"), kPngEncoder), 0);
    // Rows already encoded are not encoded again: a late change stays out.
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(1)), 0);
    Draw_Plot(0, 0, kWhite);
    Draw_End();
    ASSERT_NE(Sprite_SaveRows(1, 5), 0);
    ASSERT_NE(Sprite_SaveEnd(1), 0);
    const auto bytes = [&](const char* name) {
        std::ifstream in(OsPath(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_FALSE(bytes("bands.png").empty());
    EXPECT_EQ(bytes("bands.png"), bytes("whole.png"));

    // Rows left when it ends are encoded then; an end without a beginning,
    // or one whose file cannot be written, writes nothing.
    MakeSprite(2, kW, kH, kRed, kGreen);
    ASSERT_NE(Sprite_SaveBegin(2, Path("rest.png")), 0);
    ASSERT_NE(Sprite_SaveRows(2, 7), 0);
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(2)), 0);
    Draw_Plot(kW - 1, kH - 1, kBlue);
    Draw_End();
    ASSERT_NE(Sprite_SaveEnd(2), 0);
    ASSERT_NE(Sprite_Load(3, Path("rest.png"), 0), 0);
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(3)), 0);
    EXPECT_EQ(Draw_Point(kW - 1, kH - 1), kBlue);
    EXPECT_EQ(Draw_Point(1, 1), kGreen);
    Draw_End();
    EXPECT_EQ(Sprite_SaveEnd(2), 0);
    EXPECT_EQ(Sprite_SaveRows(2, 3), 0);
    EXPECT_EQ(Sprite_SaveBegin(9, Path("none.png")), 0);
    ASSERT_NE(Sprite_SaveBegin(2, Path("missing/folder.png")), 0);
    EXPECT_EQ(Sprite_SaveEnd(2), 0);
    EXPECT_EQ(File_Size(Path("missing/folder.png")), -1);
    // A sprite freed halfway leaves nothing behind.
    ASSERT_NE(Sprite_SaveBegin(2, Path("dropped.png")), 0);
    ASSERT_NE(Sprite_SaveRows(2, 4), 0);
    Sprite_Free(2);
    EXPECT_EQ(Sprite_SaveEnd(2), 0);
    EXPECT_EQ(File_Size(Path("dropped.png")), -1);
}

// Widths around the ones whose rows lie a whole number of kilobytes apart:
// every pixel survives drawing, display, grabbing, files and scaling.
TEST_F(SpriteTest, PicturesOfEveryWidthKeepEveryPixel) {
    const auto colourAt = [](int x, int y) { return static_cast<int>(((x * 40503u) ^ (y * 2654435761u)) & 0xFFFFFF); };
    for (const int w : {255, 256, 257, 512, 1024}) {
        SCOPED_TRACE(w);
        const int h = 40;
        ASSERT_NE(Sprite_Create(1, w, h), 0);
        ASSERT_NE(Draw_Begin(Draw_SpriteOutput(1)), 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Draw_Plot(x, y, colourAt(x, y));
        Draw_Line(w - 1, 0, 0, h, kWhite);  // a column down the last pixels
        Draw_End();
        const auto expected = [&](int x, int y) { return x == w - 1 ? kWhite : colourAt(x, y); };
        // Shown whole at the left edge and cut at a shifted place.
        ClearScreen(kRed);
        Sprite_Display(1, 0, 100);
        Sprite_Display(1, 1024 - w / 2, 300);
        ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
        int wrong = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) wrong += Draw_Point(x, 100 + y) != expected(x, y);
            for (int x = 0; x < w / 2; ++x) wrong += Draw_Point(1024 - w / 2 + x, 300 + y) != expected(x, y);
        }
        EXPECT_EQ(Draw_Point(std::min(w, 1023), 100), w < 1024 ? kRed : expected(1023, 0));
        EXPECT_EQ(Draw_Point(0, 99), kRed);
        EXPECT_EQ(Draw_Point(0, 100 + h), kRed);
        Draw_End();
        // Grabbed back (and copied), saved both ways and loaded as an image.
        ASSERT_NE(Sprite_Grab(5, 0, 100, w, h), 0);
        ASSERT_NE(Sprite_Copy(5, 2), 0);
        ASSERT_NE(Sprite_Save(2, Path("w.png"), kPngEncoder), 0);
        ASSERT_NE(Sprite_Save(2, Path("w.bmp"), 0), 0);
        for (const char* name : {"w.png", "w.bmp"}) {
            ASSERT_NE(Image_Load(3, Path(name), 0), 0) << name;
            ASSERT_NE(Draw_Begin(Draw_ImageOutput(3)), 0);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) wrong += Draw_Point(x, y) != expected(x, y);
            Draw_End();
        }
        // Halved from the sprite: each pixel the average of its four.
        if (w % 2 != 0) {
            EXPECT_EQ(wrong, 0);
            continue;
        }
        ASSERT_NE(Image_CreateFromSprite(4, 1, w / 2, h / 2), 0);
        ASSERT_NE(Draw_Begin(Draw_ImageOutput(4)), 0);
        const int last = Draw_Point(w / 2 - 1, h / 2 - 1);
        const int corner[4] = {expected(w - 2, h - 2), expected(w - 1, h - 2), expected(w - 2, h - 1), expected(w - 1, h - 1)};
        for (int k = 0; k < 3; ++k) {
            int sum = 0;
            for (int c : corner) sum += (c >> (8 * k)) & 0xFF;
            EXPECT_NEAR((last >> (8 * k)) & 0xFF, sum / 4.0, 1.0) << "channel " << k;
        }
        Draw_End();
        EXPECT_EQ(wrong, 0);
    }
}

TEST(ScreenLifecycle, ScreenNeedsSpriteInitAndAWindow) {
    Testing_ResetServices();
    EXPECT_EQ(Draw_ScreenOutput(), 0);
    EXPECT_EQ(Screen_Width(), 0);
    EXPECT_EQ(Screen_OpenInWindow(Window_Handle(0), 0, 0, 1024, 768, 0, 0, 0), 0);
    ASSERT_NE(Sprite_Init(), 0);
    EXPECT_EQ(Screen_OpenInWindow(12345, 0, 0, 1024, 768, 0, 0, 0), 0);
    ASSERT_NE(Window_Open(0, 0, 0, 1024, 768, "t", kWindowSystemMenu), 0);
    EXPECT_NE(Window_Handle(0), 0);
    ASSERT_NE(Screen_OpenInWindow(Window_Handle(0), 0, 0, 1024, 768, 0, 0, 0), 0);
    EXPECT_EQ(Screen_Width(), 1024);
    EXPECT_EQ(Screen_Height(), 768);
    Screen_Flip();
    EXPECT_EQ(Window_PollEvent(), 0);
    Testing_RequestClose();
    EXPECT_EQ(Window_PollEvent(), kWindowEventClose);
    EXPECT_EQ(Window_PollEvent(), 0) << "a close request is reported once";
    Window_Close(0);
    EXPECT_EQ(Screen_Width(), 0);
    EXPECT_EQ(Window_Handle(0), 0);
    Screen_Flip();  // nothing to show: no harm
    // A window under a number of the service's choosing; reopening a number replaces it.
    const int ref = Window_Open(-1, 0, 0, 320, 200, "t", 0);
    ASSERT_GE(ref, kServiceReferenceBase);
    const int handle = Window_Handle(ref);
    ASSERT_NE(Window_Open(1, 0, 0, 64, 64, "t", 0), 0);
    const int first = Window_Handle(1);
    ASSERT_NE(Window_Open(1, 0, 0, 64, 64, "t", 0), 0);
    EXPECT_NE(Window_Handle(1), first);
    EXPECT_EQ(Screen_OpenInWindow(first, 0, 0, 64, 64, 0, 0, 0), 0);
    ASSERT_NE(Screen_OpenInWindow(handle, 0, 0, 320, 200, 0, 0, 0), 0);
    EXPECT_EQ(Screen_Width(), 320);
    Window_Close(ref);
    EXPECT_EQ(Screen_Width(), 0);
    EXPECT_EQ(Window_Open(0, 0, 0, 0, 10, "t", 0), 0);
    Testing_ResetServices();
}

TEST(ScreenLifecycle, ForcedInitialisationFailures) {
    const char* names[] = {"sprite", "mouse", "keyboard", "sound", "3d", "window", "screen"};
    for (const char* which : names) {
        Testing_ResetServices();
        Testing_FailInit(which);
        const bool ok = Sprite_Init() && Mouse_Init() && Key_Init() && Sound_Init() && Device3D_Init() &&
                        Window_Open(0, 0, 0, 64, 64, "t", 1) &&
                        Screen_OpenInWindow(Window_Handle(0), 0, 0, 64, 64, 0, 0, 0);
        EXPECT_FALSE(ok) << which;
    }
    Testing_ResetServices();
    EXPECT_NE(Sprite_Init(), 0);
    EXPECT_NE(Device3D_Init(), 0);
    Testing_ResetServices();
}
