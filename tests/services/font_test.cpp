#include <algorithm>

#include "fixture.h"

namespace {
using FontTest = ScreenTest;
constexpr int kWhite = 0xFFFFFF, kRed = 255;
}  // namespace

TEST_F(FontTest, PointsBecomePixelsAt96Dpi) {
    ASSERT_NE(Font_Load(1, "Standard", 9, 0), 0);  // unknown face: the default sans
    ASSERT_NE(Font_Load(2, "DejaVu Sans", 18, kFontBold), 0);
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Font(Font_Handle(1));
    const int h9 = Draw_TextHeight("Ag");
    EXPECT_GE(h9, 12);
    EXPECT_LE(h9, 16);
    EXPECT_EQ(Draw_TextHeight(""), 0);
    EXPECT_EQ(Draw_TextWidth(""), 0);
    const int w9 = Draw_TextWidth("Keelwright");
    Draw_Font(Font_Handle(2));
    EXPECT_GT(Draw_TextHeight("Ag"), 2 * h9 - 4);
    EXPECT_GT(Draw_TextWidth("Keelwright"), 2 * w9 - 4);
    Draw_Font(-1);  // system font
    EXPECT_GT(Draw_TextHeight("Ag"), 0);
    Draw_End();
    EXPECT_EQ(Font_Handle(7), 0);
    EXPECT_EQ(Font_Load(3, "sans", 0, 0), 0);
    EXPECT_EQ(Font_Handle(3), 0);
}

TEST_F(FontTest, TextDrawsTopLeftAndReturnsTheEnd) {
    ASSERT_NE(Font_Load(1, "sans", 12, 0), 0);
    ClearScreen(kRed);
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Font(Font_Handle(1));
    const int w = Draw_TextWidth("Hello");
    const int h = Draw_TextHeight("Hello");
    // Opaque mode paints a black background box exactly under the text.
    EXPECT_EQ(Draw_Text(100, 200, "Hello", kWhite), 100 + w);
    EXPECT_EQ(Draw_Point(100, 200), 0);
    EXPECT_EQ(Draw_Point(100 + w - 1, 200 + h - 1), 0);
    EXPECT_EQ(Draw_Point(100 + w, 200), kRed);
    EXPECT_EQ(Draw_Point(99, 200), kRed);
    int white = 0;
    for (int y = 200; y < 200 + h; ++y)
        for (int x = 100; x < 100 + w; ++x) white += Draw_Point(x, y) == kWhite;
    EXPECT_GT(white, 10);
    // Transparent mode leaves the background.
    Draw_Mode(kDrawTransparent);
    Draw_FrontColour(kWhite);
    EXPECT_EQ(Draw_Text(300, 300, "Hello"), 300 + w);
    EXPECT_EQ(Draw_Point(300, 300), kRed);
    EXPECT_EQ(Draw_Text(5, 5, ""), 5);
    Draw_End();
}

TEST_F(FontTest, FreedFontFallsBackToSystemFont) {
    ASSERT_NE(Font_Load(1, "sans", 30, kFontItalic | kFontUnderline), 0);
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Font(Font_Handle(1));
    const int big = Draw_TextHeight("x");
    Draw_Text(0, 0, "cached");
    Font_Free(1);
    EXPECT_LT(Draw_TextHeight("x"), big);
    EXPECT_GT(Draw_Text(0, 0, "cached"), 0);
    Draw_End();
}

TEST_F(FontTest, LabelCacheStaysWithinABudgetOfBytes) {
    // A field redrawn as 1,500 characters are typed into it, a count and its last 300 shown
    // (no label is wider than the screen, so a longer text would repeat one label).
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    std::string typed;
    std::int64_t most = 0;
    for (int n = 1; n <= 1500; ++n) {
        typed += static_cast<char>('a' + n % 26);
        if (n % 2 != 0) continue;
        EXPECT_GT(Draw_Text(0, 0, std::to_string(n) + typed.substr(typed.size() > 300 ? typed.size() - 300 : 0), kWhite), 0);
        most = std::max(most, Testing_LabelCacheBytes());
    }
    EXPECT_GT(most, std::int64_t{16} << 20);  // the budget was reached, so labels were dropped
    EXPECT_LE(most, std::int64_t{40} << 20);
    Draw_End();
    // The first label was dropped long ago: it is drawn again as before.
    ClearScreen(kRed);
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Mode(kDrawTransparent);
    const std::string first = typed.substr(0, 5);
    const int end = Draw_Text(10, 10, first, kWhite);
    int inked = 0;
    for (int x = 10; x < end; ++x)
        for (int y = 10; y < 10 + Draw_TextHeight(first); ++y) inked += Draw_Point(x, y) != kRed;
    EXPECT_GT(inked, 10);
    Draw_End();
    EXPECT_GT(Testing_LabelCacheBytes(), 0);
    Testing_ResetServices();
    EXPECT_EQ(Testing_LabelCacheBytes(), 0);
}

TEST_F(FontTest, TextThatIsNotUtf8IsShownAsWindows1252) {
    const std::pair<std::string, std::string> cases[] = {
        {"Gesch\xFCtz", "Gesch\xC3\xBCtz"},        // Latin-1 u umlaut
        {"\x80 5 \x96 \x9F", "\xE2\x82\xAC 5 \xE2\x80\x93 \xC5\xB8"},  // the euro sign, a dash, Y diaeresis
        {"\xC3", "\xC3\x83"},                       // a cut UTF-8 sequence is one 8-bit character
    };
    for (const auto& [eightBit, utf8] : cases) {
        ClearScreen(0);
        ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
        const int w = Draw_TextWidth(utf8), h = Draw_TextHeight(utf8);
        EXPECT_EQ(Draw_TextWidth(eightBit), w) << utf8;
        EXPECT_EQ(Draw_Text(0, 0, eightBit, kWhite), w) << utf8;
        Draw_Text(0, 100, utf8, kWhite);
        int differ = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) differ += Draw_Point(x, y) != Draw_Point(x, 100 + y);
        EXPECT_EQ(differ, 0) << utf8;
        Draw_End();
    }
}

TEST_F(FontTest, NoLabelIsWiderThanTheScreenWhateverTheTextsLength) {
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    const std::string huge(std::size_t{1} << 20, 'W');
    EXPECT_LE(Draw_TextWidth(huge), 1024);
    EXPECT_GT(Draw_TextWidth(huge), 900) << "what fits is still drawn";
    EXPECT_GT(Draw_Text(0, 0, huge, kWhite), 0);
    EXPECT_LE(Testing_LabelCacheBytes(), std::int64_t{1024} * 64 * 4);
    Draw_End();
}
