#include <algorithm>
#include <string>
#include <vector>

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

namespace {

// The colours of a box of the screen, row by row.
std::vector<int> BoxPixels(int x, int y, int w, int h) {
    std::vector<int> out;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) out.push_back(Draw_Point(i, j));
    return out;
}

int Channel(int colour, int k) { return (colour >> (8 * k)) & 0xFF; }

}  // namespace

TEST_F(FontTest, TextOverAnyBackgroundIsTheBlendOfItsOwnPixels) {
    // The same label over black, white and a coloured background. Over black a
    // channel shows c = s * a >> 8, over white c + (255 * (255 - a) >> 8): the
    // pair gives 255 - a, so the third drawing is known to the bit.
    ASSERT_NE(Font_Load(1, "sans", 14, 0), 0);
    constexpr int kInk = 40 + 120 * 256 + 200 * 65536, kBack = 230 + 160 * 256 + 90 * 65536;
    const std::string text = "Keelwright Wg ~";
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Font(Font_Handle(1));
    Draw_Mode(kDrawTransparent);
    const int w = Draw_TextWidth(text), h = Draw_TextHeight(text);
    ASSERT_GT(w, 20);
    const int backs[3] = {0, kWhite, kBack};
    std::vector<int> drawn[3];
    for (int k = 0; k < 3; ++k) {
        Draw_Box(0, 0, w, h, backs[k]);
        Draw_Text(0, 0, text, kInk);
        drawn[k] = BoxPixels(0, 0, w, h);
    }
    Draw_End();
    int blended = 0, mismatched = 0;
    for (std::size_t p = 0; p < drawn[0].size(); ++p) {
        for (int k = 0; k < 3; ++k) {
            const int overBlack = Channel(drawn[0][p], k), overWhite = Channel(drawn[1][p], k);
            const int rest = overWhite - overBlack + 1;  // 255 - a, or 1 where the ink is opaque
            const int expected = overWhite == overBlack ? overBlack : overBlack + (Channel(kBack, k) * rest >> 8);
            mismatched += Channel(drawn[2][p], k) != expected;
            blended += overWhite != overBlack && overBlack != 0;
        }
    }
    EXPECT_EQ(mismatched, 0);
    EXPECT_GT(blended, 30) << "the label's edges are blended";
}

TEST_F(FontTest, TextCutAtTheScreensEdgesShowsTheSamePixels) {
    ASSERT_NE(Font_Load(1, "sans", 14, 0), 0);
    constexpr int kBack = 0x336699;
    const std::string text = "Cut Wg at the edge";
    ClearScreen(kBack);
    ASSERT_NE(Draw_Begin(Draw_ScreenOutput()), 0);
    Draw_Font(Font_Handle(1));
    Draw_Mode(kDrawTransparent);
    const int w = Draw_TextWidth(text), h = Draw_TextHeight(text);
    Draw_Text(400, 400, text, kWhite);
    const std::vector<int> whole = BoxPixels(400, 400, w, h);
    struct At {
        int x, y;
    };
    for (const At at : {At{-9, 100}, At{1024 - w / 2, 200}, At{100, -5}, At{300, 768 - h / 2}, At{-w / 2, -h / 2}}) {
        Draw_Box(0, 0, 1024, 768, kBack);
        Draw_Text(at.x, at.y, text, kWhite);
        int differ = 0, spilt = 0;
        for (int y = std::max(0, at.y - 2); y < std::min(768, at.y + h + 2); ++y)
            for (int x = 0; x < 1024; ++x) {
                const bool inside = x >= at.x && x < at.x + w && y >= at.y && y < at.y + h;
                const int colour = Draw_Point(x, y);
                if (inside) differ += colour != whole[static_cast<std::size_t>((y - at.y) * w + (x - at.x))];
                else spilt += colour != kBack;
            }
        EXPECT_EQ(differ, 0) << at.x << "," << at.y;
        EXPECT_EQ(spilt, 0) << at.x << "," << at.y;
    }
    Draw_End();
}

TEST_F(FontTest, KeptLabelsAndWidthsMatchAFreshRendering) {
    // What a cold start draws and measures, against the same after other
    // colours, texts and fonts went through the caches.
    const std::string text = "Prototype 12";
    auto draw = [&](int colour) {
        ClearScreen(0x202020);
        Draw_Begin(Draw_ScreenOutput());
        Draw_Font(Font_Handle(1));
        Draw_Mode(kDrawTransparent);
        const int end = Draw_Text(10, 10, text, colour);
        std::vector<int> pixels = BoxPixels(10, 10, end - 10, Draw_TextHeight(text));
        pixels.push_back(Draw_TextWidth(text));
        Draw_End();
        return pixels;
    };
    ASSERT_NE(Font_Load(1, "sans", 12, 0), 0);
    const std::vector<int> cold = draw(kWhite);
    Testing_ResetServices();
    ASSERT_NE(Sprite_Init(), 0);
    ASSERT_NE(Window_Open(0, 0, 0, 1024, 768, "test", kWindowSystemMenu), 0);
    ASSERT_NE(Screen_OpenInWindow(Window_Handle(0), 0, 0, 1024, 768, 0, 0, 0), 0);
    ASSERT_NE(Font_Load(2, "sans", 20, kFontBold), 0);
    ASSERT_NE(Font_Load(1, "sans", 12, 0), 0);
    Draw_Begin(Draw_ScreenOutput());
    Draw_Font(Font_Handle(2));
    const int bigWidth = Draw_TextWidth(text);
    Draw_Text(0, 0, text, kWhite);
    Draw_Font(Font_Handle(1));
    Draw_Text(0, 0, "Prototype 1", kWhite);
    Draw_Text(0, 0, "Prototype 12 ", kWhite);
    Draw_End();
    const std::vector<int> red = draw(kRed);
    EXPECT_NE(red, cold) << "another colour is another label";
    EXPECT_EQ(draw(kWhite), cold);
    EXPECT_GT(bigWidth, cold.back()) << "another font is measured apart";
    // A font freed while selected: its texts are measured again, in the system font.
    Draw_Begin(Draw_ScreenOutput());
    Draw_Font(-1);
    const int systemWidth = Draw_TextWidth(text);
    Draw_Font(Font_Handle(1));
    EXPECT_EQ(Draw_TextWidth(text), cold.back());
    Font_Free(1);
    EXPECT_EQ(Draw_TextWidth(text), systemWidth);
    EXPECT_NE(systemWidth, cold.back());
    Draw_End();
}
