#include <gtest/gtest.h>

#include <set>

#include <array>
#include <cstdint>
#include <string>

#include "editor_tables.h"

TEST(Labels, TextsAtTheirIndexes) {
    const struct {
        int index;
        const char* text;
    } cases[] = {
        {0, "OK"},          {6, "Quit"},
        {8, "Keelwright"},  {9, "Prototype(s)"},
        {11, "Load an image as part of a ship"},
        {15, "Images with a setup"},
        {17, "Typ"},        {24, "tiny"},
        {28, "huge"},       {29, "No Design"},
        {30, "Display Offset"},
        {31, "Connection 1"}, {38, "Connection 8"},
        {39, "Load an existing design"},
        {40, "Prototyp"},   {41, "Design"},
        {45, "no name"},    {47, "select prototype"},
        {48, "Sample"},     {49, " "},
        {50, " "},          {51, " "},
    };
    for (const auto& c : cases) EXPECT_EQ(Labels[c.index], c.text) << "label " << c.index;
}

TEST(Labels, NoneMissingOrEmpty) {
    ASSERT_EQ(Labels.size(), 52u);
    for (size_t i = 0; i < Labels.size(); ++i) EXPECT_FALSE(Labels[i].empty()) << i;
    // Only the three blanks and the two "Design" captions repeat.
    std::set<std::string> distinct(Labels.begin(), Labels.end());
    EXPECT_EQ(distinct.size(), Labels.size() - 3);
}

TEST(FixedTables, ExportWidthsGrowWithTheSizeClass) {
    EXPECT_EQ(ExportWidths, (std::array<std::int32_t, 5>{24, 32, 48, 64, 96}));
    EXPECT_EQ(Labels[24], "tiny");
    EXPECT_EQ(Labels[28], "huge");
}

TEST(FixedTables, ConnectionSlotsRunClockwiseFromTheLeftSide) {
    const std::array<std::int32_t, 16> expected = {0, 33, 33, 0, 66, 0, 100, 33, 100, 66, 66, 100, 33, 100, 0, 66};
    EXPECT_EQ(ConnectionSlots, expected);
    // Every slot is on the square's edge; walking them in order goes round
    // the border clockwise (left, top, right, bottom, left again).
    auto borderPosition = [](int x, int y) {
        if (y == 0) return x;               // top, left to right
        if (x == 100) return 100 + y;       // right, top to bottom
        if (y == 100) return 300 - x;       // bottom, right to left
        return (400 - y) % 400;             // left, bottom to top
    };
    int previous = -1;
    for (int i = 1; i < 8; ++i) {
        const int x = ConnectionSlots[2 * i], y = ConnectionSlots[2 * i + 1];
        ASSERT_TRUE(x == 0 || x == 100 || y == 0 || y == 100) << "slot " << i + 1;
        EXPECT_GT(borderPosition(x, y), previous) << "slot " << i + 1;
        previous = borderPosition(x, y);
    }
    EXPECT_EQ(ConnectionSlots[0], 0);  // connection 1 on the left side
}
