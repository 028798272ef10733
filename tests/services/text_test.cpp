#include <gtest/gtest.h>

#include <climits>

#include "services.h"

TEST(Text, ValReadsLeadingNumber) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"12abc", 12},   {"abc", 0},       {"", 0},          {"  \t-42", -42},
        {"+7", 7},       {"- 5", 0},       {"007", 7},       {"3.9", 3},
        {"2147483647", INT32_MAX},         {"-2147483648", INT32_MIN},
        {"99999999999999999999", INT32_MAX}, {"-99999999999999999999", INT32_MIN},
        {"\n5", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Val(c.text), c.value) << '"' << c.text << '"';
}

TEST(Text, StrIsPlainDecimal) {
    EXPECT_EQ(Str(0), "0");
    EXPECT_EQ(Str(-15), "-15");
    EXPECT_EQ(Str(INT64_MIN), "-9223372036854775808");
    for (int v : {0, 1, -1, 123456, INT32_MAX, INT32_MIN}) EXPECT_EQ(Val(Str(v)), v);
}

TEST(Text, LengthsAndCutsCountCharacters) {
    const std::string s = "Gr\xC3\xBC\xC3\x9F" "e";  // "Grüße": 5 characters, 7 bytes
    EXPECT_EQ(Len(s), 5);
    EXPECT_EQ(Len(""), 0);
    EXPECT_EQ(Left(s, 3), "Gr\xC3\xBC");
    EXPECT_EQ(Right(s, 2), "\xC3\x9F" "e");
    EXPECT_EQ(Left(s, -1), "");
    EXPECT_EQ(Right(s, -3), "");
    EXPECT_EQ(Left(s, 99), s);
    EXPECT_EQ(Right(s, 99), s);
    EXPECT_EQ(Mid(s, 3, 2), "\xC3\xBC\xC3\x9F");
    EXPECT_EQ(Mid(s, 0), s);
    EXPECT_EQ(Mid(s, 4), "\xC3\x9F" "e");
    EXPECT_EQ(Mid(s, 9, 2), "");
}

TEST(Text, FindAndCount) {
    EXPECT_EQ(FindString("abcabc", "bc", 1), 2);
    EXPECT_EQ(FindString("abcabc", "bc", 3), 5);
    EXPECT_EQ(FindString("abcabc", "bc", -4), 2);
    EXPECT_EQ(FindString("abcabc", "x", 1), 0);
    EXPECT_EQ(FindString("", "a", 1), 0);
    EXPECT_EQ(FindString("abc", "", 1), 0);
    EXPECT_EQ(FindString("abc", "c", 40), 0);
    EXPECT_EQ(FindString("\xC3\xBC" "x", "x", 1), 2);  // counted in characters
    EXPECT_EQ(CountString("aaaa", "aa"), 2);
    EXPECT_EQ(CountString("a\nb\nc", "\n"), 2);
    EXPECT_EQ(CountString("abc", ""), 0);
}

TEST(Text, StringFieldSplitsOnSeparator) {
    const std::string row = "one\ntwo\n\nfour";
    EXPECT_EQ(StringField(row, 1, '\n'), "one");
    EXPECT_EQ(StringField(row, 0, '\n'), "one");
    EXPECT_EQ(StringField(row, -3, '\n'), "one");
    EXPECT_EQ(StringField(row, 2, '\n'), "two");
    EXPECT_EQ(StringField(row, 3, '\n'), "");
    EXPECT_EQ(StringField(row, 4, '\n'), "four");
    EXPECT_EQ(StringField(row, 5, '\n'), "");
    EXPECT_EQ(StringField("a,", 2, ','), "");
    EXPECT_EQ(StringField("", 1, ','), "");
}

TEST(Text, CaseChangesAsciiAndLatin1Only) {
    EXPECT_EQ(LCase("ABC xyz 09!"), "abc xyz 09!");
    EXPECT_EQ(UCase("abc XYZ 09!"), "ABC XYZ 09!");
    // À..Þ <-> à..þ, but × and ÷ stay, and ß / ÿ have no capital here.
    EXPECT_EQ(LCase("\xC3\x80\xC3\x9E\xC3\x97"), "\xC3\xA0\xC3\xBE\xC3\x97");
    EXPECT_EQ(UCase("\xC3\xA0\xC3\xBE\xC3\xB7\xC3\x9F\xC3\xBF"), "\xC3\x80\xC3\x9E\xC3\xB7\xC3\x9F\xC3\xBF");
    EXPECT_EQ(LCase("\xC4\x80"), "\xC4\x80");  // outside Latin-1: copied
    EXPECT_EQ(LCase("\xC3"), "\xC3");          // a cut sequence is copied, not read past
}

TEST(Text, SpaceAndChr) {
    EXPECT_EQ(Space(3), "   ");
    EXPECT_EQ(Space(0), "");
    EXPECT_EQ(Space(-2), "");
    EXPECT_EQ(Chr(65), "A");
    EXPECT_EQ(Chr(10), "\n");
    EXPECT_EQ(Chr(0xE9), "\xC3\xA9");
    EXPECT_EQ(Chr(0x20AC), "\xE2\x82\xAC");
    EXPECT_EQ(Chr(0x1F600), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Chr(0), "");
    EXPECT_EQ(Chr(-1), "");
    EXPECT_EQ(Chr(0xD800), "");
    EXPECT_EQ(Chr(0x110000), "");
}

TEST(Text, Utf8WalkingStepsWholeCharacters) {
    // A stray continuation byte, "a", "ü", "€", an emoji, then a lead byte cut off.
    const std::string s = "\x80" "a" "\xC3\xBC" "\xE2\x82\xAC" "\xF0\x9F\x98\x80" "\xE2";
    const struct {
        std::size_t at, bytes, start;
    } cases[] = {
        {0, 1, 0},                        // the stray byte is a character of its own
        {1, 1, 1}, {2, 2, 2}, {3, 1, 2},  // inside "ü": one byte on, cut before it
        {4, 3, 4}, {6, 1, 4}, {7, 4, 7}, {10, 1, 7},
        {11, 1, 11},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8CharacterBytes(s, c.at), c.bytes) << "at " << c.at;
        EXPECT_EQ(Utf8CharacterStart(s, c.at), c.start) << "at " << c.at;
    }
    EXPECT_EQ(Utf8CharacterStart(s, s.size()), s.size());
    // Walking from the start visits each character once.
    std::size_t steps = 0;
    for (std::size_t at = 0; at < s.size(); at += Utf8CharacterBytes(s, at)) ++steps;
    EXPECT_EQ(steps, 6u);
}
