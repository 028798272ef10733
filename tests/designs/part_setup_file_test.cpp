#include <random>

#include "designs_fixture.h"
#include "part_setup.h"
#include "part_setup_bytes.h"

namespace {

PartSetup RandomSetup(std::mt19937& rng) {
    std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
    PartSetup s;
    s.OffsetX = any(rng);
    s.OffsetY = any(rng);
    s.PrototypeIndex = any(rng);
    for (int i = 0; i < kConnections; ++i) {
        s.ConnX[i] = any(rng);
        s.ConnY[i] = any(rng);
        s.ConnExtra[i] = any(rng);
    }
    return s;
}

void ExpectSameSetup(const PartSetup& a, const PartSetup& b) {
    EXPECT_EQ(a.OffsetX, b.OffsetX);
    EXPECT_EQ(a.OffsetY, b.OffsetY);
    EXPECT_EQ(a.PrototypeIndex, b.PrototypeIndex);
    EXPECT_EQ(a.ConnX, b.ConnX);
    EXPECT_EQ(a.ConnY, b.ConnY);
    EXPECT_EQ(a.ConnExtra, b.ConnExtra);
}

class PartSetupFileTest : public DesignsTest {};

}  // namespace

TEST_F(PartSetupFileTest, SeededRoundTripKeepsAll27Values) {
    std::mt19937 rng(20261207);
    const std::string path = (Folder() / "Hull.png.spset").string();
    for (int round = 0; round < 50; ++round) {
        const PartSetup written = RandomSetup(rng);
        ASSERT_EQ(WriteSetupFile(path, written), 1);
        PartSetup read;
        ASSERT_EQ(ReadSetupFile(path, read), 1);
        ExpectSameSetup(read, written);
    }
}

TEST_F(PartSetupFileTest, SavedBesideTheImageUnderItsFullName) {
    PartSetup s;
    s.OffsetX = 1;
    s.OffsetY = -2;
    s.PrototypeIndex = -1;
    for (int i = 0; i < kConnections; ++i) {
        s.ConnX[i] = 100 + i;
        s.ConnY[i] = 200 + i;
        s.ConnExtra[i] = 0x01020304 + i;
    }
    design.PartSetup = s;
    design.PartImageName = "Hull.png";
    SavePartSetup();
    // Named after the image with its extension; the bytes are the format's
    // (its golden test pins them).
    EXPECT_FALSE(std::filesystem::exists(Folder() / "Hull.spset"));
    const Bytes bytes = ReadBytes(Folder() / "Hull.png.spset");
    const PartSetupBytes expected = EncodePartSetup(s);
    EXPECT_EQ(bytes, Bytes(expected.begin(), expected.end()));
}

TEST_F(PartSetupFileTest, ShortAndLongFiles) {
    const auto path = Folder() / "Part.png.spset";
    struct Case {
        const char* what;
        std::size_t length;           // bytes kept of the 27 values 1..27
        std::int32_t conn0x;          // ConnX[0] after reading
        std::int32_t conn7extra;      // ConnExtra[7] after reading
    };
    const Case cases[] = {
        {"empty", 0, 0, 0},
        {"offset and prototype only", 12, 0, 0},
        {"value cut after two bytes keeps them", 14, 4, 0},
        {"complete", 108, 4, 27},
        {"trailing bytes ignored", 140, 4, 27},
    };
    for (const Case& c : cases) {
        Bytes bytes;
        for (int v = 1; v <= 35; ++v) PutLong(bytes, v);
        bytes.resize(c.length);
        WriteBytes(path, bytes);
        std::mt19937 rng(1);
        PartSetup read = RandomSetup(rng);
        ASSERT_EQ(ReadSetupFile(path.string(), read), 1) << c.what;
        EXPECT_EQ(read.OffsetX, c.length >= 4 ? 1 : 0) << c.what;
        EXPECT_EQ(read.PrototypeIndex, c.length >= 12 ? 3 : 0) << c.what;
        EXPECT_EQ(read.ConnX[0], c.conn0x) << c.what;
        EXPECT_EQ(read.ConnExtra[7], c.conn7extra) << c.what;
        if (c.length == 12) {
            for (int i = 0; i < kConnections; ++i) {
                EXPECT_EQ(read.ConnX[i] | read.ConnY[i] | read.ConnExtra[i], 0) << i;
            }
        }
    }
}

TEST_F(PartSetupFileTest, MissingFileOrFolderChangesNothing) {
    std::mt19937 rng(3);
    const PartSetup before = RandomSetup(rng);
    PartSetup setup = before;
    EXPECT_EQ(ReadSetupFile((Folder() / "None.png.spset").string(), setup), 0);
    ExpectSameSetup(setup, before);

    // No folder open: the "-1" folder does not exist, so nothing is written.
    design.DesignFolder = -1;
    design.PartImageName = "Hull.png";
    EXPECT_EQ(SavePartSetup(), 0);
    EXPECT_FALSE(std::filesystem::exists(root / "Designs" / "-1"));
    // No image: no nameless ".spset" file.
    design.DesignFolder = 7;
    design.PartImageName = "";
    EXPECT_EQ(SavePartSetup(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(Folder()));
}
