#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fixture.h"

namespace {
using DrawTest = ScreenTest;
using Pixels = std::set<std::pair<int, int>>;

constexpr int kRed = 255, kGreen = 255 * 256, kBlue = 255 * 65536, kWhite = 0xFFFFFF;

// Pixels of a colour within a small window of the open target.
Pixels Painted(int colour, int x0 = 0, int y0 = 0, int w = 40, int h = 40) {
    Pixels p;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (Draw_Point(x, y) == colour) p.insert({x, y});
    return p;
}

Pixels Rect(int x, int y, int w, int h) {
    Pixels p;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) p.insert({i, j});
    return p;
}
}  // namespace

TEST_F(DrawTest, BoxesFollowPixelRules) {
    struct Case {
        int x, y, w, h, mode;
        Pixels expected;
    };
    Pixels outline = Rect(2, 3, 5, 4);
    for (auto q : Rect(3, 4, 3, 2)) outline.erase(q);
    const Case cases[] = {
        {5, 5, 1, 1, 0, {{5, 5}}},
        {2, 3, 5, 4, 0, Rect(2, 3, 5, 4)},
        {7, 8, -3, -2, 0, Rect(4, 6, 3, 2)},
        {2, 3, 0, 4, 0, {}},
        {2, 3, 5, 4, kDrawOutline, outline},
        {2, 3, 1, 3, kDrawOutline, Rect(2, 3, 1, 3)},
        {-5, -5, 7, 7, 0, Rect(0, 0, 2, 2)},
    };
    for (const Case& c : cases) {
        ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
        Draw_Box(0, 0, 40, 40, 0);
        Draw_Mode(c.mode);
        Draw_Box(c.x, c.y, c.w, c.h, kRed);
        EXPECT_EQ(Painted(kRed), c.expected) << c.x << "," << c.y << " " << c.w << "x" << c.h << " mode " << c.mode;
        Draw_End();
    }
}

TEST_F(DrawTest, BoxesClipAtEveryEdge) {
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Box(0, 0, 1024, 768, 0);
    Draw_Box(1020, 760, 100, 100, kGreen);
    Draw_Box(-2000000000, -2000000000, 2100000000, 2000000001, kBlue);
    EXPECT_EQ(Painted(kGreen, 1000, 740, 24, 28), Rect(1020, 760, 4, 8));
    EXPECT_EQ(Draw_Point(0, 0), kBlue);
    EXPECT_EQ(Draw_Point(1, 0), kBlue);
    EXPECT_EQ(Draw_Point(0, 1), 0);
    EXPECT_EQ(Draw_Point(1024, 0), 0);  // outside the target
    EXPECT_EQ(Draw_Point(-1, 5), 0);
    Draw_End();
}

// A block read and plotted back at every edge of the screen: what lies on the
// screen reads as Draw_Point reads it, the rest reads 0, and plotting writes
// the block's own pixels only.
TEST_F(DrawTest, BlocksReadAndPlotWhatLiesOnTheScreen) {
    struct Case {
        int x, y, w, h;
    };
    const Case cases[] = {{10, 20, 7, 5}, {-3, -2, 6, 5}, {1020, 765, 9, 7}, {1024, 0, 3, 3}, {5, -9, 2, 4}};
    const auto before = [](int x, int y) { return (x * 7919 + y * 104729) & 0xFFFFFF; };
    const auto after = [](int i, int j) { return 0x010203 * (i + 1) + 0x100000 * j; };
    const auto onScreen = [](int x, int y) { return x >= 0 && y >= 0 && x < 1024 && y < 768; };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y) + " " + std::to_string(c.w) + "x" + std::to_string(c.h));
        ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
        // The block and a ring of one pixel around it.
        for (int y = c.y - 1; y <= c.y + c.h; ++y)
            for (int x = c.x - 1; x <= c.x + c.w; ++x) Draw_Plot(x, y, before(x, y));
        std::vector<int> block(static_cast<std::size_t>(c.w * c.h), -1);
        Draw_ReadBlock(c.x, c.y, c.w, c.h, block.data());
        for (int j = 0; j < c.h; ++j)
            for (int i = 0; i < c.w; ++i) {
                const int x = c.x + i, y = c.y + j;
                EXPECT_EQ(block[static_cast<std::size_t>(j * c.w + i)], onScreen(x, y) ? before(x, y) : 0) << x << "," << y;
            }
        for (int j = 0; j < c.h; ++j)
            for (int i = 0; i < c.w; ++i) block[static_cast<std::size_t>(j * c.w + i)] = after(i, j);
        Draw_PlotBlock(c.x, c.y, c.w, c.h, block.data());
        for (int y = c.y - 1; y <= c.y + c.h; ++y)
            for (int x = c.x - 1; x <= c.x + c.w; ++x) {
                if (!onScreen(x, y)) continue;
                const bool inside = x >= c.x && y >= c.y && x < c.x + c.w && y < c.y + c.h;
                EXPECT_EQ(Draw_Point(x, y), inside ? after(x - c.x, y - c.y) : before(x, y)) << x << "," << y;
            }
        Draw_End();
    }
}

TEST_F(DrawTest, LinesExcludeTheirEndPointLineXYIncludesIt) {
    struct Case {
        bool xy;
        int a, b, c, d;
        Pixels expected;
    };
    const Case cases[] = {
        {false, 3, 4, 10, 0, Rect(3, 4, 10, 1)},
        {false, 3, 4, 0, 5, Rect(3, 4, 1, 5)},
        {false, 3, 4, 0, 0, {}},
        {false, 10, 10, 3, 3, {{10, 10}, {11, 11}, {12, 12}}},
        {false, 10, 10, -3, 0, {{10, 10}, {9, 10}, {8, 10}}},
        {false, 5, 10, 0, -3, {{5, 10}, {5, 9}, {5, 8}}},
        {true, -5, 2, 3, 2, Rect(0, 2, 4, 1)},
        {true, 7, 30, 7, -9, Rect(7, 0, 1, 31)},
        {true, 3, 4, 3, 4, {{3, 4}}},
        {true, 3, 4, 6, 4, Rect(3, 4, 4, 1)},
        {true, 6, 9, 6, 5, Rect(6, 5, 1, 5)},
        {true, 1, 1, 4, 4, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
    };
    for (const Case& c : cases) {
        ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
        Draw_Box(0, 0, 40, 40, 0);
        if (c.xy)
            Draw_LineXY(c.a, c.b, c.c, c.d, kRed);
        else
            Draw_Line(c.a, c.b, c.c, c.d, kRed);
        EXPECT_EQ(Painted(kRed), c.expected) << (c.xy ? "LineXY " : "Line ") << c.a << "," << c.b << "," << c.c << "," << c.d;
        Draw_End();
    }
}

TEST_F(DrawTest, CirclesAreSymmetricDiscs) {
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Box(0, 0, 40, 40, 0);
    Draw_Circle(10, 10, 1, kRed);
    EXPECT_EQ(Painted(kRed), Rect(9, 9, 2, 2));
    Draw_Circle(10, 10, 0, kBlue);
    EXPECT_TRUE(Painted(kBlue).empty());

    for (int r : {2, 3, 5, 9}) {
        for (int mode : {0, kDrawOutline}) {
            Draw_Box(0, 0, 40, 40, 0);
            Draw_Mode(mode);
            Draw_Circle(20, 20, r, kRed);
            const Pixels p = Painted(kRed);
            // Bounded by the 2r x 2r square, touching all four sides, mirror-symmetric.
            for (auto [x, y] : p) {
                EXPECT_TRUE(x >= 20 - r && x < 20 + r && y >= 20 - r && y < 20 + r) << r;
                EXPECT_TRUE(p.count({39 - x, y}) && p.count({x, 39 - y}) && p.count({y, x})) << r << " " << x << "," << y;
            }
            EXPECT_TRUE(p.count({20 - r, 20}) && p.count({20 + r - 1, 20}) && p.count({20, 20 - r})) << r;
            if (mode == kDrawOutline) {
                EXPECT_FALSE(p.count({20, 20})) << r;
                // Each outline pixel has a neighbour outside the disc.
                Draw_Mode(0);
                Draw_Box(0, 0, 40, 40, 0);
                Draw_Circle(20, 20, r, kBlue);
                const Pixels disc = Painted(kBlue);
                for (auto [x, y] : p)
                    EXPECT_TRUE(!disc.count({x - 1, y}) || !disc.count({x + 1, y}) || !disc.count({x, y - 1}) ||
                                !disc.count({x, y + 1}));
                for (auto [x, y] : disc) {
                    if (!p.count({x, y})) {
                        EXPECT_TRUE(disc.count({x - 1, y}) && disc.count({x + 1, y}) && disc.count({x, y - 1}) &&
                                    disc.count({x, y + 1}));
                    }
                }
            }
        }
    }
    Draw_End();
}

TEST_F(DrawTest, InvertModeFlipsPixelsTwice) {
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Box(0, 0, 40, 40, 0x123456);
    Draw_Mode(kDrawInvert);
    Draw_Box(2, 2, 4, 4, kRed);
    EXPECT_EQ(Draw_Point(3, 3), 0xFFFFFF ^ 0x123456);
    EXPECT_EQ(Draw_Point(6, 6), 0x123456);
    Draw_Box(2, 2, 4, 4, kBlue);
    EXPECT_EQ(Draw_Point(3, 3), 0x123456);
    Draw_LineXY(0, 10, 5, 10, 0);
    EXPECT_EQ(Draw_Point(5, 10), 0xFFFFFF ^ 0x123456);
    // Down a column, clipped at the top: each pixel once.
    Draw_LineXY(20, -3, 20, 12, 0);
    EXPECT_EQ(Painted(0xFFFFFF ^ 0x123456, 20, 0, 1, 40), Rect(20, 0, 1, 13));
    Draw_End();
}

TEST_F(DrawTest, NothingHappensOutsideBeginEnd) {
    ClearScreen(0);
    Draw_Box(0, 0, 10, 10, kRed);
    Draw_Plot(1, 1, kRed);
    Draw_LineXY(0, 0, 5, 5, kRed);
    Draw_Circle(5, 5, 3, kRed);
    EXPECT_EQ(Draw_Text(0, 0, "x"), 0);
    EXPECT_EQ(Draw_Point(1, 1), 0);
    EXPECT_EQ(ScreenPixel(1, 1), 0);
    EXPECT_EQ(Draw_Begin(0), 0);
    EXPECT_EQ(Draw_Begin(12345), 0);
    EXPECT_EQ(Draw_Begin(Draw_SpriteOutput(77)), 0);
}

TEST_F(DrawTest, FrontColourModeAndFontResetAtEnd) {
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_FrontColour(kGreen);
    Draw_Box(0, 0, 2, 2);
    EXPECT_EQ(Draw_Point(1, 1), kGreen);
    Draw_Mode(kDrawOutline);
    Draw_End();
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Box(0, 0, 3, 3);  // default front colour, filled again
    EXPECT_EQ(Draw_Point(1, 1), kWhite);
    Draw_End();
}

TEST_F(DrawTest, SpriteAndImageTargets) {
    ASSERT_NE(Sprite_Create(3, 8, 6), 0);
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(3)), 0);
    EXPECT_EQ(Draw_Point(0, 0), 0);
    Draw_Plot(7, 5, kRed);
    EXPECT_EQ(Draw_Point(7, 5), kRed);
    EXPECT_EQ(Draw_Point(8, 5), 0);
    // Freeing the open target closes the drawing instead of leaving it dangling.
    Sprite_Free(3);
    Draw_Plot(1, 1, kRed);
    EXPECT_EQ(Draw_Point(7, 5), 0);

    ASSERT_NE(Image_Create(2, 5, 5), 0);
    ASSERT_NE(Draw_Begin(Draw_ImageOutput(2)), 0);
    Draw_Box(1, 1, 3, 3, kBlue);
    EXPECT_EQ(Draw_Point(2, 2), kBlue);
    Draw_End();
    // The image drawn onto the screen, plain and stretched.
    ClearScreen(kRed);
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Image(Image_Handle(2), 10, 10);
    EXPECT_EQ(Draw_Point(10, 10), 0);
    EXPECT_EQ(Draw_Point(12, 12), kBlue);
    EXPECT_EQ(Draw_Point(15, 15), kRed);
    Draw_Image(Image_Handle(2), 100, 100, 50, 50);
    EXPECT_EQ(Draw_Point(125, 125), kBlue);
    EXPECT_EQ(Draw_Point(101, 101), 0);
    EXPECT_EQ(Draw_Point(150, 150), kRed);
    Draw_Image(0, 0, 0);  // no picture: nothing
    EXPECT_EQ(Draw_Point(0, 0), kRed);
    Draw_End();
}

// Per-pixel alpha set on an image survives the PNG file and blends when drawn;
// on a sprite the same box is opaque.
TEST_F(DrawTest, AlphaBoxesMakeSeeThroughPicturesThatKeepTheirAlphaInPng) {
    ASSERT_NE(Image_Create(1, 3, 1), 0);
    ASSERT_NE(Draw_Begin(Draw_ImageOutput(1)), 0);
    Draw_AlphaBox(0, 0, 3, 1, kWhite, 0);
    Draw_AlphaBox(1, 0, 1, 1, kWhite, 128);
    Draw_AlphaBox(2, 0, 5, 5, kWhite, 300);  // clipped, alpha clamped to opaque
    Draw_End();
    ASSERT_NE(Image_Save(1, Path("alpha.png"), kPngEncoder), 0);
    ASSERT_NE(Image_Load(2, Path("alpha.png"), 0), 0);
    for (const int image : {1, 2}) {
        SCOPED_TRACE(image);
        ClearScreen(0);
        ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
        Draw_AlphaImage(Image_Handle(image), 0, 0);
        EXPECT_EQ(Draw_Point(0, 0), 0);
        const int half = Draw_Point(1, 0) & 0xFF;
        EXPECT_GE(half, 126);
        EXPECT_LE(half, 130);
        EXPECT_EQ(Draw_Point(2, 0), kWhite);
        Draw_End();
    }
    ASSERT_NE(Sprite_Create(3, 2, 2), 0);
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(3)), 0);
    Draw_AlphaBox(0, 0, 2, 2, kRed, 0);
    EXPECT_EQ(Draw_Point(1, 1), kRed);
    Draw_End();
    ClearScreen(kBlue);
    Sprite_Display(3, 0, 0);
    EXPECT_EQ(ScreenPixel(1, 1), kRed);
}

TEST_F(DrawTest, StretchedImagesFollowChangesAndClip) {
    ASSERT_NE(Image_Create(1, 8, 8), 0);
    const int h = Image_Handle(1);
    auto fill = [&](int colour) {
        ASSERT_NE(Draw_Begin(Draw_ImageOutput(1)), 0);
        Draw_Box(0, 0, 8, 8, colour);
        Draw_End();
    };
    fill(kRed);
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Image(h, 0, 0, 4, 4);  // shrunk
    EXPECT_EQ(Draw_Point(3, 3), kRed);
    EXPECT_EQ(Draw_Point(4, 4), 0);
    Draw_End();
    // The picture changes: the next shrunk draw shows the change, not a stale copy.
    fill(kGreen);
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Image(h, 0, 0, 4, 4);
    EXPECT_EQ(Draw_Point(2, 2), kGreen);
    // Grown beyond the screen's edges: clipped, not refused.
    Draw_Image(h, -100, -100, 1200, 1000);
    EXPECT_EQ(Draw_Point(0, 0), kGreen);
    EXPECT_EQ(Draw_Point(1023, 767), kGreen);
    Draw_Image(h, 0, 0, 0, 10);  // no size: nothing
    Draw_Image(h, 0, 0, 17, 3);  // one side grows, the other shrinks
    EXPECT_EQ(Draw_Point(16, 2), kGreen);
    Draw_End();
    // Resizing changes the picture too.
    ASSERT_NE(Image_Resize(1, 2, 2, 0), 0);
    fill(kBlue);  // only 2 x 2 now: the box clips
    ClearScreen(0);
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Image(h, 10, 10, 1, 1);
    EXPECT_EQ(Draw_Point(10, 10), kBlue);
    Draw_End();
}

TEST_F(DrawTest, FarAwayCoordinatesNeitherOverflowNorStall) {
    ASSERT_NE(Sprite_Create(1, 4, 4), 0);
    ClearScreen(0);
    Sprite_Display(1, INT_MAX, INT_MAX);
    Sprite_Display(1, INT_MIN, INT_MIN);
    Sprite_DisplayTransparent(1, INT_MAX - 1, 0);
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_LineXY(-2000000000, 5, 2000000000, 5, kRed);
    EXPECT_EQ(Painted(kRed, 0, 0, 1024, 8), Rect(0, 5, 1024, 1));
    Draw_Line(INT_MAX, INT_MAX, INT_MAX, INT_MAX, kGreen);
    Draw_Line(INT_MIN, 7, INT_MAX, 0, kGreen);  // ends at x = -1: nothing visible
    EXPECT_TRUE(Painted(kGreen, 0, 0, 1024, 8).empty());
    // A huge disc covers the screen; its outline passes far outside it.
    Draw_Mode(kDrawOutline);
    Draw_Circle(512, 384, INT_MAX, kGreen);
    Draw_Box(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kGreen);
    Draw_Box(INT_MAX, INT_MAX, INT_MAX, INT_MAX, kGreen);
    EXPECT_EQ(Draw_Point(512, 384), 0);
    Draw_Mode(0);
    Draw_Circle(512, 384, INT_MAX, kBlue);
    EXPECT_EQ(Draw_Point(0, 0), kBlue);
    EXPECT_EQ(Draw_Point(1023, 767), kBlue);
    Draw_Box(INT_MAX, 0, INT_MIN, 10, kRed);
    EXPECT_EQ(Draw_Point(1023, 9), kRed);
    EXPECT_EQ(Draw_Text(INT_MAX - 1, 0, "x"), INT_MAX);
    Draw_End();
}
