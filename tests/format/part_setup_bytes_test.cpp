#include <climits>

#include "format_fixture.h"
#include "part_setup_bytes.h"

namespace {

PartSetup Numbered() {
    PartSetup s;
    s.OffsetX = -1;
    s.OffsetY = INT_MIN;
    s.PrototypeIndex = INT_MAX;
    for (int i = 0; i < kConnections; ++i) {
        s.ConnX[static_cast<std::size_t>(i)] = 100 + i;
        s.ConnY[static_cast<std::size_t>(i)] = -200 - i;
        s.ConnExtra[static_cast<std::size_t>(i)] = 0x01020304 * (i + 1);
    }
    return s;
}

}  // namespace

TEST(PartSetupBytes, ShortFilesReadAsZerosAndLongOnesAreCut) {
    const PartSetupBytes full = EncodePartSetup(Numbered());
    const struct Case {
        std::size_t size;        // bytes given
        std::int32_t offsetX;    // value 0 as read
        std::int32_t offsetY;    // value 1 as read
        std::int32_t lastExtra;  // value 26 as read
    } cases[] = {
        {0, 0, 0, 0},
        {2, 0xFFFF, 0, 0},  // a value cut by the end keeps the bytes that are there
        {4, -1, 0, 0},
        {8, -1, INT_MIN, 0},
        {107, -1, INT_MIN, (0x01020304 * 8) & 0xFFFFFF},
        {108, -1, INT_MIN, 0x01020304 * 8},
    };
    for (const Case& c : cases) {
        const PartSetup s = DecodePartSetup(std::span<const std::uint8_t>(full.data(), c.size));
        EXPECT_EQ(s.OffsetX, c.offsetX) << c.size;
        EXPECT_EQ(s.OffsetY, c.offsetY) << c.size;
        EXPECT_EQ(s.ConnExtra[7], c.lastExtra) << c.size;
    }
    Bytes longer(full.begin(), full.end());
    longer.insert(longer.end(), {9, 9, 9, 9});
    EXPECT_EQ(DecodePartSetup(longer), Numbered());
}
