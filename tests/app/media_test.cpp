#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include "scratch_folder.h"
#include "services.h"
#include "testing.h"

namespace {

const char* const kMediaFiles[] = {"BG.png",    "Mouse.png",   "Crosshair solid.png", "BtnUp.png",
                                   "BtnDown.png", "BtnLeft.png", "BtnRight.png",        "Button.wav"};

std::vector<char> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Media : public ::testing::Test {
protected:
    // Runs the generator into a fresh folder under the working folder.
    fs::path Generate(const std::string& name) {
        const fs::path out = scratch_.Path() / name;
        const std::string command = "ASAN_OPTIONS=detect_leaks=0 '" + MediaGenerator().string() + "' '" +
                                    out.string() + "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return out;
    }
    void SetUp() override {
        Testing_ResetServices();
        if (!fs::exists(MediaGenerator())) GTEST_SKIP() << "media generator not built: " << MediaGenerator();
    }
    void TearDown() override { Testing_ResetServices(); }

    ScratchFolder scratch_;
};

}  // namespace

TEST_F(Media, EveryRunWritesTheSameBytes) {
    const fs::path first = Generate("first"), second = Generate("second");
    for (const char* name : kMediaFiles) {
        SCOPED_TRACE(name);
        const std::vector<char> a = ReadBytes(first / name);
        EXPECT_FALSE(a.empty());
        EXPECT_EQ(a, ReadBytes(second / name));
    }
}

TEST_F(Media, ArrowFacesPointTheirWay) {
    const fs::path out = Generate("media");
    const struct {
        const char* name;
        int tipX, tipY;  // the way the arrow points
    } arrows[] = {{"BtnUp.png", 0, -1}, {"BtnDown.png", 0, 1}, {"BtnLeft.png", -1, 0}, {"BtnRight.png", 1, 0}};
    for (const auto& a : arrows) {
        SCOPED_TRACE(a.name);
        ASSERT_TRUE(Image_Load(1, (out / a.name).string(), 0));
        const int w = Image_Width(1), h = Image_Height(1);
        // The light arrow on the darker face, counted along the way it points.
        std::vector<int> across(static_cast<std::size_t>(a.tipX ? w : h));
        int lit = 0, sumX = 0, sumY = 0;
        ASSERT_TRUE(Draw_Begin(Draw_ImageOutput(1)));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int c = Draw_Point(x, y);
                if ((c & 0xFF) < 180 || (c >> 8 & 0xFF) < 180 || (c >> 16 & 0xFF) < 180) continue;
                ++lit, sumX += x, sumY += y;
                ++across[static_cast<std::size_t>(a.tipX ? x : y)];
            }
        Draw_End();
        ASSERT_GT(lit, 20);
        // Centred across its way, and narrow at the tip, wide at the base.
        const int centreX = sumX * 2 / lit, centreY = sumY * 2 / lit;  // doubled
        EXPECT_NEAR(a.tipX ? centreY : centreX, (a.tipX ? h : w) - 1, 1);
        std::vector<int> rows;
        for (int n : across)
            if (n) rows.push_back(n);
        if (a.tipX + a.tipY > 0) std::reverse(rows.begin(), rows.end());
        ASSERT_GE(rows.size(), 5u);
        EXPECT_LT(rows.front(), rows.back());
        EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end())) << "the arrow widens from its tip";
    }
}

TEST_F(Media, PicturesFitTheirPlaces) {
    const fs::path out = Generate("media");
    const struct {
        const char* name;
        int width, height;
    } sizes[] = {{"BG.png", 1024, 768}, {"BtnUp.png", 25, 25}, {"BtnDown.png", 25, 25},
                 {"BtnLeft.png", 25, 25}, {"BtnRight.png", 25, 25}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(s.name);
        ASSERT_TRUE(Image_Load(1, (out / s.name).string(), 0));
        EXPECT_EQ(Image_Width(1), s.width);
        EXPECT_EQ(Image_Height(1), s.height);
    }
    ASSERT_TRUE(Image_Load(1, (out / "Crosshair solid.png").string(), 0));
    EXPECT_EQ(Image_Width(1), Image_Height(1));
    // The pointer's tip is its top-left pixel and must not be see-through;
    // the rest of its top row is.
    ASSERT_TRUE(Image_Load(2, (out / "Mouse.png").string(), 0));
    ASSERT_TRUE(Draw_Begin(Draw_ImageOutput(2)));
    EXPECT_NE(Draw_Point(0, 0), 0);
    EXPECT_EQ(Draw_Point(Image_Width(2) - 1, 0), 0);
    Draw_End();
    // The background has no see-through black: it is displayed opaque, but
    // a black pixel would be a hole if it were ever shown transparent.
    ASSERT_TRUE(Image_Load(3, (out / "BG.png").string(), 0));
    ASSERT_TRUE(Draw_Begin(Draw_ImageOutput(3)));
    int black = 0;
    for (int y = 0; y < 768; y += 3)
        for (int x = 0; x < 1024; x += 3) black += Draw_Point(x, y) == 0;
    Draw_End();
    EXPECT_EQ(black, 0);
}

TEST_F(Media, ClickIsAShortPlayableWav) {
    const fs::path out = Generate("media");
    const std::vector<char> wav = ReadBytes(out / "Button.wav");
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.data(), 4), "RIFF");
    EXPECT_EQ(std::string(wav.data() + 8, 8), "WAVEfmt ");
    auto u32 = [&](size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(wav[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(wav[at + 1])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(wav[at + 2])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(wav[at + 3])) << 24;
    };
    const std::uint32_t rate = u32(24), bytesPerSecond = u32(28), dataBytes = u32(40);
    EXPECT_EQ(u32(4), wav.size() - 8);
    EXPECT_EQ(dataBytes, wav.size() - 44);
    const std::uint32_t milliseconds = dataBytes * 1000 / bytesPerSecond;
    EXPECT_GE(milliseconds, 20u);
    EXPECT_LE(milliseconds, 50u);
    EXPECT_EQ(rate, 44100u);
    ASSERT_TRUE(Sound_Init());
    EXPECT_TRUE(Sound_Load(1, (out / "Button.wav").string()));
}
