// Pictures from real-world PNG files, damaged files, and seeded round trips.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "child_process.h"
#include "fixture.h"

namespace fs = std::filesystem;

namespace {

using PngTest = ScratchTest;

const fs::path kPngData = fs::path(KEELWRIGHT_TESTDATA) / "png";

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string Chunk(const std::string& type, const std::string& data) {
    return Be32(static_cast<std::uint32_t>(data.size())) + type + data + Be32(Crc32(type + data));
}

const std::string kSignature("\x89PNG\r\n\x1a\n", 8);

// The colour of a pixel of an image, and its colour laid over black by its alpha.
int ImagePixel(int image, int x, int y) {
    if (!Draw_Begin(Draw_ImageOutput(image))) return -1;
    const int c = Draw_Point(x, y);
    Draw_End();
    return c;
}

int OverBlack(int image, int x, int y) {
    const int canvas = Image_Create(-1, Image_Width(image), Image_Height(image));
    Draw_Begin(Draw_ImageOutput(canvas));
    Draw_AlphaImage(Image_Handle(image), 0, 0);
    const int c = Draw_Point(x, y);
    Draw_End();
    Image_Free(canvas);
    return c;
}

int Channel(int colour, int shift) { return (colour >> shift) & 0xFF; }

std::string Le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

// A BMP of 54 bytes (plus a palette) that claims width x height.
std::string BmpHeader(std::int32_t width, std::int32_t height, int bitsPerPixel, std::uint32_t compression = 0) {
    const std::string palette = bitsPerPixel <= 8 ? std::string(4u << bitsPerPixel, '\0') : "";
    std::string info = Le32(40) + Le32(static_cast<std::uint32_t>(width)) + Le32(static_cast<std::uint32_t>(height));
    info += std::string{1, 0} + std::string{static_cast<char>(bitsPerPixel), 0} + Le32(compression);
    info += Le32(0) + Le32(2835) + Le32(2835) + Le32(0) + Le32(0);
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + info.size() + palette.size());
    return "BM" + Le32(offset) + Le32(0) + Le32(offset) + info + palette;
}

// The most virtual memory this process has had mapped, in bytes.
std::int64_t PeakVirtualBytes() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmPeak:" && status >> word) return std::stoll(word) * 1024;
    return -1;
}

std::int64_t VirtualBytes() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmSize:" && status >> word) return std::stoll(word) * 1024;
    return -1;
}

#define REQUIRE_TESTDATA()                                                             \
    if (!fs::is_directory(kPngData / "pngsuite")) GTEST_SKIP() << "no PNG test data at " << kPngData

}  // namespace

TEST_F(PngTest, EveryColourTypeDecodesToTheRightPixels) {
    REQUIRE_TESTDATA();
    // ARGB of sample pixels, read independently from the files.
    const struct {
        const char* file;
        int x, y;
        std::uint32_t argb;
    } cases[] = {
        {"basn0g01.png", 31, 31, 0xFF000000}, {"basn0g01.png", 0, 0, 0xFFFFFFFF},
        {"basn0g02.png", 31, 31, 0xFFAAAAAA}, {"basn0g02.png", 5, 17, 0xFF555555},
        {"basn0g04.png", 31, 31, 0xFFEEEEEE}, {"basn0g04.png", 16, 10, 0xFF666666},
        {"basn0g16.png", 16, 10, 0xFFA4A4A4}, {"basn0g16.png", 5, 17, 0xFF4F4F4F},
        {"basn2c08.png", 16, 10, 0xFFFFAFFF}, {"basn2c08.png", 5, 17, 0xFFDAFFFF},
        {"basn2c16.png", 0, 0, 0xFFFFFF00},   {"basn2c16.png", 16, 10, 0xFF7BAD00},
        {"basn3p01.png", 5, 17, 0xFF2266FF},  {"basn3p01.png", 0, 0, 0xFFEEFF22},
        {"basn3p04.png", 31, 31, 0xFFFF00BB}, {"basn3p04.png", 16, 10, 0xFF00FF44},
        {"basn3p08.png", 0, 0, 0xFF010000},   {"basn3p08.png", 5, 17, 0xFFFF8B11},
        {"basn4a08.png", 0, 0, 0x00FFFFFF},   {"basn4a08.png", 16, 10, 0x83ACACAC},
        {"basn4a16.png", 16, 10, 0xA5E8E8E8}, {"basn4a16.png", 5, 17, 0x52DBDBDB},
        {"basn6a08.png", 31, 31, 0xFF0020FF}, {"basn6a08.png", 16, 10, 0x83C0FF06},
        {"basn6a16.png", 16, 10, 0xA574FF00}, {"basn6a16.png", 0, 0, 0x00FFFF00},
        {"ftbbn0g04.png", 0, 0, 0x00FFFFFF},  {"ftbbn0g04.png", 16, 10, 0xFF777777},
        {"ftbrn2c08.png", 0, 0, 0x00FFFFFF},  {"ftbrn2c08.png", 5, 17, 0xFF00B100},
        {"ftbwn3p08.png", 31, 31, 0x00FFFFFF}, {"ftbwn3p08.png", 16, 10, 0xFF7B7B7B},
    };
    for (const auto& c : cases) {
        ASSERT_NE(Image_Load(1, (kPngData / "pngsuite" / c.file).string(), 0), 0) << c.file;
        EXPECT_EQ(Image_Width(1), 32);
        EXPECT_EQ(Image_Height(1), 32);
        const int rgb = static_cast<int>(((c.argb >> 16) & 0xFF) | (c.argb & 0xFF00) | ((c.argb & 0xFF) << 16));
        EXPECT_EQ(ImagePixel(1, c.x, c.y), rgb) << c.file << " at " << c.x << "," << c.y;
        const int alpha = static_cast<int>(c.argb >> 24);
        const int blended = OverBlack(1, c.x, c.y);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(Channel(blended, shift), Channel(rgb, shift) * alpha / 255, 1) << c.file << " alpha";
    }
}

TEST_F(PngTest, EverySuiteFileLoadsAndInterlacedTwinsMatch) {
    REQUIRE_TESTDATA();
    int twins = 0;
    for (const auto& entry : fs::directory_iterator(kPngData / "pngsuite")) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".png") continue;
        ASSERT_NE(Image_Load(1, entry.path().string(), 0), 0) << name;
        EXPECT_GT(Image_Width(1), 0);
        ASSERT_NE(Sprite_Load(1, entry.path().string(), 0), 0) << name;
        if (name[0] != 'i') continue;
        // Same pixels, alpha included: both re-encode to the same bytes.
        const fs::path original = kPngData / "pngsuite" / name.substr(1);
        ASSERT_TRUE(fs::exists(original)) << name;
        ASSERT_NE(Image_Load(2, original.string(), 0), 0) << original;
        ASSERT_NE(Image_Save(1, Path("twin.png"), kPngEncoder), 0);
        ASSERT_NE(Image_Save(2, Path("orig.png"), kPngEncoder), 0);
        EXPECT_EQ(ReadBytes(OsPath("twin.png")), ReadBytes(OsPath("orig.png"))) << name;
        ++twins;
    }
    EXPECT_GE(twins, 20);
}

TEST_F(PngTest, DamagedFilesLoadOrFailSafely) {
    REQUIRE_TESTDATA();
    int files = 0;
    for (const auto& entry : fs::directory_iterator(kPngData / "corrupt")) {
        const std::string name = entry.path().filename().string();
        const int loaded = Image_Load(1, entry.path().string(), 0);
        if (loaded) {
            EXPECT_GT(Image_Width(1), 0) << name;
            ImagePixel(1, Image_Width(1) - 1, Image_Height(1) - 1);
        } else {
            EXPECT_EQ(Image_Width(1), 0) << name;
            EXPECT_EQ(Image_Handle(1), 0) << name;
        }
        const int asSprite = Sprite_Load(1, entry.path().string(), 0);
        EXPECT_EQ(asSprite != 0, loaded != 0) << name;
        ++files;
    }
    EXPECT_GT(files, 0);
}

TEST_F(PngTest, AHugeFileIsJudgedByItsHeaderBeforeItIsRead) {
    const std::string ihdr = Be32(16) + Be32(16) + std::string("\x08\x06\x00\x00\x00", 5);
    WriteBytes(OsPath("vast.png"), kSignature + Chunk("IHDR", ihdr));
    std::filesystem::resize_file(OsPath("vast.png"), std::uintmax_t{600} << 20);  // sparse: no disk taken
    const std::string path = Path("vast.png");
    EXPECT_TRUE(PassesInChild([&] {
        const std::int64_t before = StartPeak();
        const bool refused = Image_Load(1, path, 0) == 0;
        return refused && PeakBytes() - before < (std::int64_t{32} << 20);
    }));
}

TEST_F(PngTest, HostileInputIsRefused) {
    // An IHDR of 100000 x 100000 with a valid CRC: refused before any allocation.
    const std::string ihdr = Be32(100000) + Be32(100000) + std::string("\x08\x06\x00\x00\x00", 5);
    WriteBytes(OsPath("huge.png"), kSignature + Chunk("IHDR", ihdr) + Chunk("IDAT", "") + Chunk("IEND", ""));
    // 16385 wide passes the per-side limit of libpng only when unset: ours stops it.
    const std::string wide = Be32(16385) + Be32(1) + std::string("\x08\x00\x00\x00\x00", 5);
    WriteBytes(OsPath("wide.png"), kSignature + Chunk("IHDR", wide) + Chunk("IEND", ""));
    WriteBytes(OsPath("empty.png"), "");
    WriteBytes(OsPath("text.png"), "this is not a picture\n");
    WriteBytes(OsPath("sig.png"), kSignature);
    WriteBytes(OsPath("bm.bmp"), "BM\x10\x00");
    for (const char* name : {"huge.png", "wide.png", "empty.png", "text.png", "sig.png", "bm.bmp", "missing.png"}) {
        ASSERT_NE(Image_Create(3, 2, 2), 0);
        EXPECT_EQ(Image_Load(3, Path(name), 0), 0) << name;
        EXPECT_EQ(Image_Width(3), 0) << name;  // the old picture is gone, the number empty
        EXPECT_EQ(Sprite_Load(3, Path(name), 0), 0) << name;
        EXPECT_EQ(Image_Load(-1, Path(name), 0), 0) << name;
    }
    EXPECT_EQ(Image_Load(kServiceMaxNumber + 1, Path("huge.png"), 0), 0);
}

// Headers that declare more than the limits allow, or more than the file can
// hold, are refused before the decoder allocates. Checked in a child whose
// peak of mapped memory is measured (a fresh child starts its peak at its
// current size), with the address space capped so a regression cannot take
// the machine's memory. Both work under AddressSanitizer, which reserves its
// shadow up front and maps large blocks on demand.
TEST_F(PngTest, DeclaredSizesAreCheckedBeforeDecoding) {
    const std::string greyIhdr = Be32(8192) + Be32(8192) + std::string("\x08\x00\x00\x00\x00", 5);
    const std::string rgbaIhdr = Be32(16000) + Be32(4000) + std::string("\x08\x06\x00\x00\x00", 5);
    const std::pair<const char*, std::string> files[] = {
        {"side.bmp", BmpHeader(26000, 26000, 32)},       // beyond the side limit
        {"area.bmp", BmpHeader(16000, 16000, 8)},        // beyond the pixel limit
        {"topdown.bmp", BmpHeader(16000, -16000, 8)},
        {"short.bmp", BmpHeader(8000, 8000, 24)},        // within limits, but not in 54 bytes
        {"rle.bmp", BmpHeader(8000, 8000, 8, 1)},
        {"core.bmp", "BM" + Le32(26) + Le32(0) + Le32(26) + Le32(12) + std::string("\x40\x1f\x40\x1f\x01\x00\x18\x00", 8)},
        {"grey.png", kSignature + Chunk("IHDR", greyIhdr) + Chunk("IDAT", "") + Chunk("IEND", "")},
        {"rgba.png", kSignature + Chunk("IHDR", rgbaIhdr) + Chunk("IDAT", "") + Chunk("IEND", "")},
    };
    for (const auto& [name, bytes] : files) WriteBytes(OsPath(name), bytes);
    // The damaged corpus goes through the same bound (its huge chunks among them).
    std::vector<std::string> corpus;
    if (fs::is_directory(kPngData / "corrupt"))
        for (const auto& entry : fs::directory_iterator(kPngData / "corrupt")) corpus.push_back(entry.path().string());
    EXPECT_TRUE(PassesInChild([&] {
        const rlim_t cap = static_cast<rlim_t>(VirtualBytes() + (std::int64_t{1} << 30));
        const rlimit limit{cap, cap};
        setrlimit(RLIMIT_AS, &limit);
        const std::int64_t before = PeakVirtualBytes();
        bool refused = true;
        for (const auto& [name, bytes] : files)
            refused = refused && Image_Load(1, Path(name), 0) == 0 && Sprite_Load(1, Path(name), 0) == 0;
        for (const std::string& path : corpus) Image_Load(1, path, 0);
        return refused && PeakVirtualBytes() - before < (std::int64_t{48} << 20);
    }));
    // A small honest BMP still loads.
    std::string small = BmpHeader(2, 2, 24);
    small += std::string(16, '\x7f');
    WriteBytes(OsPath("small.bmp"), small);
    EXPECT_NE(Image_Load(1, Path("small.bmp"), 0), 0);
}

// Pictures as long as a side may be load, both ways, and can be read and
// blended whole onto a canvas of their own size (one larger is beyond the
// limit). The PNGs are kept as seeds of the picture fuzzer.
TEST_F(PngTest, PicturesAtTheSideLimitLoadAndBlend) {
    const fs::path seeds = fs::path(KEELWRIGHT_SOURCE_DIR) / "tests/services/corpus/png";
    std::string tallBmp = BmpHeader(1, 16384, 24);
    for (int y = 0; y < 16384; ++y) tallBmp += std::string{static_cast<char>(y), 0x40, static_cast<char>(y >> 6), 0};
    WriteBytes(OsPath("tall.bmp"), tallBmp);
    const struct {
        std::string path;
        int width, height;
    } cases[] = {
        {(seeds / "tall-at-side-limit.png").string(), 1, 16384},
        {(seeds / "wide-at-side-limit.png").string(), 16384, 1},
        {Path("tall.bmp"), 1, 16384},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_NE(Image_Load(1, c.path, 0), 0);
        ASSERT_NE(Sprite_Load(2, c.path, 0), 0);
        EXPECT_EQ(Image_Width(1), c.width);
        EXPECT_EQ(Image_Height(1), c.height);
        EXPECT_EQ(Sprite_Width(2), c.width);
        EXPECT_EQ(Sprite_Height(2), c.height);
        EXPECT_EQ(Sprite_Create(3, c.width + 2, c.height + 2), 0);
        ASSERT_NE(Sprite_Create(3, c.width, c.height), 0);
        ASSERT_NE(Draw_Begin(Draw_SpriteOutput(3)), 0);
        Draw_AlphaImage(Image_Handle(1), 0, 0);
        const int last = Draw_Point(c.width - 1, c.height - 1);
        Draw_End();
        EXPECT_EQ(last, OverBlack(1, c.width - 1, c.height - 1)) << "blended to its last pixel";
    }
    Image_Free(1);
    Sprite_Free(2);
    Sprite_Free(3);
}

TEST_F(PngTest, TruncatedFilesFail) {
    REQUIRE_TESTDATA();
    const std::string whole = ReadBytes(kPngData / "pngsuite" / "basn2c08.png");
    ASSERT_GT(whole.size(), 100u);
    for (std::size_t n = 0; n < whole.size(); n += 7) {
        WriteBytes(OsPath("cut.png"), whole.substr(0, n));
        EXPECT_EQ(Image_Load(1, Path("cut.png"), 0), 0) << n << " of " << whole.size();
    }
    WriteBytes(OsPath("cut.png"), whole);
    EXPECT_NE(Image_Load(1, Path("cut.png"), 0), 0);
}

TEST_F(PngTest, SeededRoundTripsKeepEveryPixel) {
    std::mt19937 rng(99);
    for (int round = 0; round < 4; ++round) {
        const int w = 1 + static_cast<int>(rng() % 70), h = 1 + static_cast<int>(rng() % 50);
        ASSERT_NE(Image_Create(1, w, h), 0);
        ASSERT_NE(Sprite_Create(1, w, h), 0);
        std::vector<int> colours(static_cast<std::size_t>(w) * h);
        for (int target : {Draw_ImageOutput(1), Draw_SpriteOutput(1)}) {
            ASSERT_NE(Draw_Begin(target), 0);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    colours[y * w + x] = static_cast<int>(rng() & 0xFFFFFF);
                    Draw_Plot(x, y, colours[y * w + x]);
                }
            Draw_End();
            const bool image = target == Draw_ImageOutput(1);
            const std::string name = image ? "i.png" : (round % 2 ? "s.bmp" : "s.png");
            ASSERT_NE(image ? Image_Save(1, Path(name), kPngEncoder)
                            : Sprite_Save(1, Path(name), round % 2 ? 0 : kPngEncoder), 0);
            ASSERT_NE(Image_Load(2, Path(name), 0), 0) << name;
            ASSERT_EQ(Image_Width(2), w);
            ASSERT_EQ(Image_Height(2), h);
            ASSERT_NE(Draw_Begin(Draw_ImageOutput(2)), 0);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) ASSERT_EQ(Draw_Point(x, y), colours[y * w + x]) << name << " " << x << "," << y;
            Draw_End();
        }
    }
}

// How much of source pixel `i` lies under output pixel `j` when `source`
// pixels shrink to `target`, in source pixels.
double Cover(int i, int j, int source, int target) {
    const double lo = static_cast<double>(j) * source / target, hi = static_cast<double>(j + 1) * source / target;
    return std::max(0.0, std::min<double>(hi, i + 1) - std::max<double>(lo, i));
}

// Shrinking, by whole factors as the contact sheet's cells are made and by
// any other as the small copies are: each pixel is the mean of the area it
// covers, colours weighted by alpha, clear areas black.
TEST_F(PngTest, ShrunkPicturesAreTheAlphaWeightedMeanOfTheAreaEachPixelCovers) {
    constexpr int kW = 12, kH = 8;
    std::mt19937 random(20261208);
    for (const auto& [outW, outH] : {std::pair{6, 4}, {3, 2}, {5, 3}, {12, 3}}) {
        for (const bool white : {false, true}) {
            std::vector<int> colour(kW * kH), alpha(kW * kH);
            ASSERT_NE(Image_Create(1, kW, kH), 0);
            ASSERT_NE(Draw_Begin(Draw_ImageOutput(1)), 0);
            for (int i = 0; i < kW * kH; ++i) {
                colour[i] = white ? 0xFFFFFF : static_cast<int>(random() & 0xFFFFFF);
                // Some clear and some opaque pixels, the rest anywhere between.
                const int pick = static_cast<int>(random() % 6);
                alpha[i] = pick == 0 ? 0 : pick == 1 ? 255 : static_cast<int>(random() % 256);
                if (i % (kW * 4) < 4) alpha[i] = 0;  // clear corners
                Draw_AlphaBox(i % kW, i / kW, 1, 1, colour[i], alpha[i]);
            }
            Draw_End();
            ASSERT_NE(Image_Resize(1, outW, outH, 0), 0);
            for (int y = 0; y < outH; ++y) {
                for (int x = 0; x < outW; ++x) {
                    double sums[3] = {0, 0, 0}, weight = 0;
                    for (int i = 0; i < kW * kH; ++i) {
                        const double share = Cover(i % kW, x, kW, outW) * Cover(i / kW, y, kH, outH);
                        for (int k = 0; k < 3; ++k) sums[k] += share * alpha[i] * ((colour[i] >> (8 * k)) & 0xFF);
                        weight += share * alpha[i];
                    }
                    const double area = (static_cast<double>(kW) / outW) * (static_cast<double>(kH) / outH);
                    const std::string at = std::to_string(outW) + "x" + std::to_string(outH) + (white ? " white " : " ") +
                                           std::to_string(x) + "," + std::to_string(y);
                    if (white) {
                        // Over black, white shows its alpha (the blend itself may lose one more).
                        for (int shift : {0, 8, 16}) EXPECT_NEAR(Channel(OverBlack(1, x, y), shift), weight / area, 2.0) << at;
                        continue;
                    }
                    const int shrunk = ImagePixel(1, x, y);
                    for (int k = 0; k < 3; ++k)
                        EXPECT_NEAR(Channel(shrunk, 8 * k), weight > 0 ? sums[k] / weight : 0.0, 1.0) << at << " channel " << k;
                }
            }
            Image_Free(1);
        }
    }
}

TEST_F(PngTest, AlphaSurvivesImageSave) {
    REQUIRE_TESTDATA();
    const std::string src = (kPngData / "pngsuite" / "basn6a08.png").string();
    ASSERT_NE(Image_Load(1, src, 0), 0);
    ASSERT_NE(Image_Save(1, Path("a.png"), kPngEncoder), 0);
    ASSERT_NE(Image_Load(2, Path("a.png"), 0), 0);
    for (auto [x, y] : {std::pair{0, 0}, {16, 10}, {5, 17}, {31, 31}})
        EXPECT_EQ(OverBlack(2, x, y), OverBlack(1, x, y)) << x << "," << y;
    // A sprite has no alpha: clear pixels turn to black, the default colour key.
    ASSERT_NE(Sprite_Load(3, src, 0), 0);
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(3)), 0);
    EXPECT_EQ(Draw_Point(0, 0), 0);
    EXPECT_EQ(Draw_Point(31, 31), 0xFF2000);
    Draw_End();
}

TEST_F(PngTest, SaveReplacesSafely) {
    ASSERT_NE(Image_Create(1, 4, 4), 0);
    WriteBytes(OsPath("old.png"), "previous");
    ASSERT_NE(Image_Save(1, Path("old.png"), kPngEncoder), 0);
    EXPECT_EQ(ReadBytes(OsPath("old.png")).substr(0, 8), kSignature);
    int entries = 0;
    for (auto& e : fs::directory_iterator(dir_)) entries += e.is_regular_file();
    EXPECT_EQ(entries, 1);  // no temporary file left behind
    EXPECT_EQ(Image_Save(1, Path("nowhere/x.png"), kPngEncoder), 0);
    fs::create_directory(OsPath("dir.png"));
    EXPECT_EQ(Image_Save(1, Path("dir.png"), kPngEncoder), 0);
    EXPECT_TRUE(fs::is_directory(OsPath("dir.png")));
    EXPECT_EQ(Image_Save(7, Path("none.png"), kPngEncoder), 0);
}

TEST_F(PngTest, ResizeAveragesAreas) {
    // A 4 x 4 checkerboard of black and white shrinks to an even grey.
    ASSERT_NE(Image_Create(1, 4, 4), 0);
    ASSERT_NE(Draw_Begin(Draw_ImageOutput(1)), 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) Draw_Plot(x, y, (x + y) % 2 ? 0xFFFFFF : 0);
    Draw_End();
    const int handle = Image_Handle(1);
    ASSERT_NE(Image_Resize(1, 2, 2, 0), 0);
    EXPECT_EQ(Image_Width(1), 2);
    EXPECT_EQ(Image_Height(1), 2);
    EXPECT_EQ(Image_Handle(1), handle);  // still the same picture
    for (int shift : {0, 8, 16}) EXPECT_NEAR(Channel(ImagePixel(1, 1, 1), shift), 128, 1);
    // Same size: nothing changes. Refused sizes: the picture stays.
    ASSERT_NE(Image_Resize(1, 2, 2, 0), 0);
    EXPECT_EQ(Image_Resize(1, 0, 5, 0), 0);
    EXPECT_EQ(Image_Resize(1, 100000, 100000, 0), 0);
    EXPECT_EQ(Image_Width(1), 2);
    ASSERT_NE(Image_Resize(1, 6, 3, 0), 0);
    EXPECT_EQ(Image_Width(1), 6);
    EXPECT_EQ(Image_Height(1), 3);
    EXPECT_EQ(Image_Resize(5, 2, 2, 0), 0);
}
