// Well-formed UTF-8 by the table of RFC 3629, controls, and hex digits.
#include <gtest/gtest.h>

#include <string>

#include "text_bytes.h"

TEST(TextBytes, TellsWellFormedUtf8) {
    const struct {
        std::string text;
        bool wellFormed;
    } cases[] = {
        {"", true},
        {"Hull 7", true},
        {"Fl\xc3\xbcgel", true},                // U+00FC
        {"\xe2\x82\xac", true},                 // U+20AC
        {"\xef\xbf\xbd", true},                 // U+FFFD
        {"\xf0\x9f\x9a\x80", true},             // U+1F680
        {"\xf4\x8f\xbf\xbf", true},             // U+10FFFF, the last
        {"\xed\x9f\xbf", true},                 // U+D7FF, just below the surrogates
        {"\xee\x80\x80", true},                 // U+E000, just above them
        {"Fl\xfcgel", false},                   // 8-bit text
        {"\x80", false},                        // a lone continuation byte
        {"\xc0\xaf", false},                    // overlong '/'
        {"\xc1\xbf", false},                    // overlong
        {"\xe0\x80\xaf", false},                // overlong in three bytes
        {"\xe0\x9f\xbf", false},                // overlong: U+07FF in three
        {"\xf0\x80\x80\xaf", false},            // overlong in four bytes
        {"\xf0\x8f\xbf\xbf", false},            // overlong: U+FFFF in four
        {"\xed\xa0\x80", false},                // U+D800, a surrogate
        {"\xed\xbf\xbf", false},                // U+DFFF
        {"\xf4\x90\x80\x80", false},            // U+110000
        {"\xf5\x80\x80\x80", false},            // no such lead byte
        {"\xff", false},
        {"\xe2\x82", false},                    // cut at the end
        {"\xe2\x82x", false},                   // cut by another character
        {std::string("a\0b", 3), true},         // a zero byte is a character
    };
    for (const auto& c : cases) EXPECT_EQ(IsWellFormedUtf8(c.text), c.wellFormed) << HexFromBytes(c.text);
}

TEST(TextBytes, KnowsC0C1AndDeleteAsControls) {
    const struct {
        std::string text;
        bool control;
    } cases[] = {
        {"\t", true}, {"\x1f", true}, {"\x7f", true}, {" ", false}, {"~", false},
        {"\xc2\x80", true}, {"\xc2\x85", true}, {"\xc2\x9f", true}, {"\xc2\xa0", false}, {"\xc3\xbc", false},
        {"\xe2\x80\xa8", false},  // line separator: a printable code point as far as terminals go
    };
    for (const auto& c : cases) {
        const std::size_t n = Utf8SequenceLength(c.text, 0);
        ASSERT_EQ(n, c.text.size()) << HexFromBytes(c.text);
        EXPECT_EQ(IsControlSequence(c.text, 0, n), c.control) << HexFromBytes(c.text);
    }
}

TEST(TextBytes, HexDigitsCarryEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string hex = HexFromBytes(all);
    EXPECT_EQ(hex.substr(0, 8), "00010203");
    EXPECT_EQ(hex.substr(hex.size() - 4), "feff");
    std::string back;
    ASSERT_TRUE(BytesFromHex(hex, back));
    EXPECT_EQ(back, all);
    ASSERT_TRUE(BytesFromHex("C3bC", back));
    EXPECT_EQ(back, "\xc3\xbc");
    for (const char* bad : {"a", "abc", "zz", "0x", "g0", " 0"}) {
        back = "kept";
        EXPECT_FALSE(BytesFromHex(bad, back)) << bad;
        EXPECT_EQ(back, "kept");
    }
}
