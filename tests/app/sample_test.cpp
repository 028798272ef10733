// The sample design the first run puts into Designs/1: generated the same
// way every time, and a design a ship can really be grown from.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "design_model.h"
#include "part_setup.h"
#include "prototypes.h"
#include "scratch_folder.h"
#include "services.h"
#include "testing.h"

namespace {

fs::path SampleGenerator() { return fs::path(KEELWRIGHT_BINARY_DIR) / "tools" / "make_sample"; }

std::vector<char> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint64_t Fnv1a(std::uint64_t hash, std::uint64_t value) {
    for (int i = 0; i < 4; ++i) {
        hash ^= (value >> (8 * i)) & 0xFF;
        hash *= 1099511628211ull;
    }
    return hash;
}

// A loaded picture as seen over black and over white: equal where it is
// opaque, black and white where it is clear, in between elsewhere.
struct Seen {
    int width = 0, height = 0;
    std::vector<int> overBlack, overWhite;
    int Count(bool clear, bool opaque) const {
        int n = 0;
        for (size_t i = 0; i < overBlack.size(); ++i) {
            const bool isClear = overBlack[i] == 0 && overWhite[i] == 0xFFFFFF;
            const bool isOpaque = overBlack[i] == overWhite[i];
            n += (clear && isClear) || (opaque && isOpaque) || (!clear && !opaque && !isClear && !isOpaque);
        }
        return n;
    }
};

Seen Look(const fs::path& path) {
    constexpr int kPicture = 50, kBackdrop = 51;
    Seen seen;
    if (!Image_Load(kPicture, path.string(), 0)) return seen;
    seen.width = Image_Width(kPicture), seen.height = Image_Height(kPicture);
    for (const int backdrop : {0, 0xFFFFFF}) {
        Image_Create(kBackdrop, seen.width, seen.height);
        if (!Draw_Begin(Draw_ImageOutput(kBackdrop))) continue;
        Draw_Box(0, 0, seen.width, seen.height, backdrop);
        Draw_AlphaImage(Image_Handle(kPicture), 0, 0);
        for (int y = 0; y < seen.height; ++y)
            for (int x = 0; x < seen.width; ++x)
                (backdrop ? seen.overWhite : seen.overBlack).push_back(Draw_Point(x, y));
        Draw_End();
    }
    Image_Free(kPicture);
    Image_Free(kBackdrop);
    return seen;
}

std::uint64_t Hash(const Seen& seen) {
    std::uint64_t hash = 14695981039346656037ull;
    hash = Fnv1a(Fnv1a(hash, seen.width), seen.height);
    for (size_t i = 0; i < seen.overBlack.size(); ++i) hash = Fnv1a(Fnv1a(hash, seen.overBlack[i]), seen.overWhite[i]);
    return hash;
}

class Sample : public ::testing::Test {
protected:
    void SetUp() override {
        Testing_ResetServices();
        design = DesignState{};
        if (!fs::exists(SampleGenerator())) GTEST_SKIP() << "sample generator not built: " << SampleGenerator();
    }
    void TearDown() override {
        design = DesignState{};
        Testing_ResetServices();
    }
    // Runs the generator into a fresh folder; the icon goes beside it.
    fs::path Generate(const std::string& name) {
        const fs::path out = scratch_.Path() / name;
        const std::string command = "ASAN_OPTIONS=detect_leaks=0 '" + SampleGenerator().string() + "' '" +
                                    out.string() + "' '" + out.string() + ".png' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return out;
    }
    std::vector<std::string> Images(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".png") names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    ScratchFolder scratch_;
};

}  // namespace

TEST_F(Sample, EveryRunWritesTheSameBytesAndTheLookIsPinned) {
    const fs::path first = Generate("first"), second = Generate("second");
    ASSERT_EQ(Images(first).size(), 14u);
    for (const auto& entry : fs::directory_iterator(first)) {
        SCOPED_TRACE(entry.path().filename());
        EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(second / entry.path().filename()));
    }
    EXPECT_EQ(ReadBytes(first.string() + ".png"), ReadBytes(second.string() + ".png"));
    // Update deliberately when the look of a part changes.
    const struct {
        const char* name;
        std::uint64_t hash;
    } pinned[] = {
        {"HullHeavy.png", 0x471978517400ca3bull},
        {"CockpitDart.png", 0x43147ac8a864db47ull},
        {"WingSweptRight.png", 0x37e759d412e901c4ull},
        {"EngineIon.png", 0x4ff554caa4869a2bull},
    };
    for (const auto& p : pinned) EXPECT_EQ(Hash(Look(first / p.name)), p.hash) << p.name;
    EXPECT_EQ(Hash(Look(first.string() + ".png")), 0x3872570890aca8e9ull) << "icon";

    // The files' bytes, as other tools read them.
    const std::vector<char> setup = ReadBytes(first / "HullHeavy.png.spset");
    ASSERT_EQ(setup.size(), 108u);
    const std::int32_t expected[27] = {0, 0, 0, 0, 30, 0, 22, 0, 0, 0, 0, 0, 44, 30, 0,
                                       0, 0, 0, 0, 0, 0, 22, 60, 0, 0, 0, 0};
    for (int k = 0; k < 27; ++k) {
        std::int32_t v = 0;
        for (int b = 3; b >= 0; --b) v = v * 256 + static_cast<unsigned char>(setup[4 * k + b]);
        EXPECT_EQ(v, expected[k]) << "value " << k;
    }
    const std::vector<char> list = ReadBytes(first / "Prototypes.pt");
    ASSERT_EQ(list.size(), 4u + 7 * 103 + 46);
    EXPECT_EQ(std::string(list.data(), 4), std::string("\x07\0\0\0", 4));
    // The hull's bow (connection 2) takes cockpits: bit 1 and the active flag.
    EXPECT_EQ(std::string(list.data() + 4 + 9, 4), std::string("\x02\0\0\x01", 4));
    EXPECT_EQ(std::string(list.data() + 4 + 101, 6), "Hull\r\n");
}

TEST_F(Sample, IsADesignAShipGrowsFrom) {
    const fs::path folder = Generate("sample");
    ASSERT_TRUE(ReadPrototypeList((folder / "Prototypes.pt").string(), nullptr));
    const int count = design.Prototypes.Count();
    ASSERT_GE(count, 4);
    ASSERT_LE(count, 7);

    std::map<int, int> partsOf;
    for (const std::string& name : Images(folder)) {
        SCOPED_TRACE(name);
        PartSetup setup;
        ASSERT_TRUE(ReadSetupFile((folder / (name + ".spset")).string(), setup));
        const Prototype* prototype = design.Prototypes.At(setup.PrototypeIndex);
        ASSERT_NE(prototype, nullptr);
        ++partsOf[setup.PrototypeIndex];
        const Seen seen = Look(folder / name);
        ASSERT_GT(seen.width, 0);
        // Per-pixel alpha: a clear surround, a solid body and soft edges.
        EXPECT_GT(seen.Count(true, false), 0);
        EXPECT_GT(seen.Count(false, true), 0);
        EXPECT_GT(seen.Count(false, false), 0);
        auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x <= seen.width && y <= seen.height; };
        // On the edge of the part's body: solid and clear (or outside) pixels both touch the point.
        auto onEdge = [&](int x, int y) {
            bool solid = false, open = false;
            for (int v = y - 2; v <= y + 1; ++v)
                for (int u = x - 2; u <= x + 1; ++u) {
                    if (u < 0 || v < 0 || u >= seen.width || v >= seen.height) {
                        open = true;
                        continue;
                    }
                    const size_t at = static_cast<size_t>(v) * seen.width + u;
                    (seen.overBlack[at] == 0 && seen.overWhite[at] == 0xFFFFFF ? open : solid) = true;
                }
            return solid && open;
        };
        EXPECT_TRUE(inside(setup.OffsetX, setup.OffsetY));
        if (setup.PrototypeIndex != 0) {
            EXPECT_TRUE(onEdge(setup.OffsetX, setup.OffsetY)) << "offset";
        }
        for (int i = 0; i < kConnections; ++i) {
            if (!HasActiveFlag(prototype->ConnectionMask[i])) continue;
            EXPECT_TRUE(inside(setup.ConnX[i], setup.ConnY[i])) << "connection " << i;
            EXPECT_TRUE(onEdge(setup.ConnX[i], setup.ConnY[i])) << "connection " << i;
        }
    }
    // Every prototype has parts, every active connection offers some of them,
    // and from the root every prototype can be reached, several levels deep.
    std::map<int, int> depth{{0, 0}};
    std::vector<int> queue{0};
    for (size_t q = 0; q < queue.size(); ++q) {
        const Prototype& p = *design.Prototypes.At(queue[q]);
        EXPECT_EQ(p.Index, queue[q]);
        for (std::uint32_t mask : p.ConnectionMask) {
            if (!HasActiveFlag(mask)) continue;
            EXPECT_NE(mask & kAllowedBits, 0u) << p.Name;
            EXPECT_EQ(mask & kAllowedBits & ~((1u << count) - 1), 0u) << p.Name << " allows a missing prototype";
            for (int k = 0; k < count; ++k)
                if ((mask & (1u << k)) && !depth.count(k)) depth[k] = depth[queue[q]] + 1, queue.push_back(k);
        }
    }
    for (int k = 0; k < count; ++k) {
        EXPECT_GT(partsOf[k], 0) << design.Prototypes.At(k)->Name;
        EXPECT_TRUE(depth.count(k)) << design.Prototypes.At(k)->Name << " cannot be reached";
    }
    int deepest = 0;
    for (const auto& [k, d] : depth) deepest = std::max(deepest, d);
    EXPECT_GE(deepest, 2);
}

TEST_F(Sample, WingsAreAllowedOnlyOnTheirOwnSide) {
    const fs::path folder = Generate("sample");
    ASSERT_TRUE(ReadPrototypeList((folder / "Prototypes.pt").string(), nullptr));
    // Prototype and the connection (0 left, 3 right) its parts may hang from.
    std::map<int, std::string> sideOf;
    for (int k = 0; k < design.Prototypes.Count(); ++k) {
        const std::string& name = design.Prototypes.At(k)->Name;
        if (name.find("wing") != std::string::npos) sideOf[k] = name.substr(0, name.find(' '));
    }
    ASSERT_EQ(sideOf.size(), 2u);
    int wings = 0;
    for (const std::string& image : Images(folder)) {
        PartSetup setup;
        ASSERT_TRUE(ReadSetupFile((folder / (image + ".spset")).string(), setup));
        if (!sideOf.count(setup.PrototypeIndex)) continue;
        ++wings;
        EXPECT_NE(image.find(sideOf[setup.PrototypeIndex]), std::string::npos) << image;
    }
    EXPECT_EQ(wings, 4);
    constexpr int kLeftConnection = 0, kRightConnection = 3;
    for (int k = 0; k < design.Prototypes.Count(); ++k) {
        const Prototype& p = *design.Prototypes.At(k);
        for (const auto& [wing, side] : sideOf) {
            const std::uint32_t bit = 1u << wing;
            for (int c = 0; c < kConnections; ++c) {
                if (!(p.ConnectionMask[static_cast<std::size_t>(c)] & bit)) continue;
                EXPECT_EQ(c, side == "Left" ? kLeftConnection : kRightConnection) << p.Name << " takes " << side;
            }
        }
    }
}
