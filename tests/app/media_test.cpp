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

std::uint64_t Fnv1a(std::uint64_t hash, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        hash ^= (value >> (8 * i)) & 0xFF;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Hash of a picture's size and decoded pixels: independent of how the
// encoder happened to compress them.
std::uint64_t PixelHash(const fs::path& path) {
    constexpr int kImage = 50;
    if (!Image_Load(kImage, path.string(), 0)) return 0;
    std::uint64_t hash = 14695981039346656037ull;
    const int w = Image_Width(kImage), h = Image_Height(kImage);
    hash = Fnv1a(hash, static_cast<std::uint64_t>(w), 4);
    hash = Fnv1a(hash, static_cast<std::uint64_t>(h), 4);
    if (Draw_Begin(Draw_ImageOutput(kImage))) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) hash = Fnv1a(hash, static_cast<std::uint64_t>(Draw_Point(x, y)), 3);
        Draw_End();
    }
    Image_Free(kImage);
    return hash;
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

TEST_F(Media, PicturesAreTheOnesWeMeanToShip) {
    const fs::path out = Generate("media");
    // Update deliberately when the look of a picture changes.
    const struct {
        const char* name;
        std::uint64_t hash;
    } cases[] = {
        {"BG.png", 0xb7894c9d46937740ull},
        {"Mouse.png", 0x3721297a60a1a476ull},
        {"Crosshair solid.png", 0xe0e16b26c13269d9ull},
        {"BtnUp.png", 0xc54edd0f4832fe0cull},
        {"BtnDown.png", 0x53386e13db7a2f4full},
        {"BtnLeft.png", 0x6fce835b00373425ull},
        {"BtnRight.png", 0xbb15ec11a9295589ull},
    };
    for (const auto& c : cases) EXPECT_EQ(PixelHash(out / c.name), c.hash) << c.name;
    std::uint64_t sound = 14695981039346656037ull;
    for (char byte : ReadBytes(out / "Button.wav")) sound = Fnv1a(sound, static_cast<unsigned char>(byte), 1);
    EXPECT_EQ(sound, 0xc5345d5ed292b9c3ull) << "Button.wav";
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
