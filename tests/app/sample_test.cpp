// The sample design the first run puts into Designs/1: generated the same
// way every time, readable by other tools, and a design a ship can really be
// grown from.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "design_model.h"
#include "part_setup.h"
#include "part_setup_bytes.h"
#include "prototype_bytes.h"
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

TEST_F(Sample, EveryRunWritesTheSameBytes) {
    const fs::path first = Generate("first"), second = Generate("second");
    ASSERT_EQ(Images(first).size(), 14u);
    for (const auto& entry : fs::directory_iterator(first)) {
        SCOPED_TRACE(entry.path().filename());
        EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(second / entry.path().filename()));
    }
    EXPECT_EQ(ReadBytes(first.string() + ".png"), ReadBytes(second.string() + ".png"));
    // The icon: a square tile with rounded, see-through corners.
    const Seen icon = Look(first.string() + ".png");
    EXPECT_EQ(icon.width, 128);
    EXPECT_EQ(icon.height, 128);
    ASSERT_FALSE(icon.overBlack.empty());
    EXPECT_EQ(icon.overBlack[0], 0) << "a clear corner";
    EXPECT_EQ(icon.overWhite[0], 0xFFFFFF) << "a clear corner";
    EXPECT_GT(icon.Count(false, true), 128 * 128 / 2) << "a solid tile";
}

// Another tool reading the sample with the format library alone finds whole
// files that say what the editor reads from them.
TEST_F(Sample, OtherToolsReadTheSameDesign) {
    const fs::path folder = Generate("sample");
    const std::vector<char> listBytes = ReadBytes(folder / "Prototypes.pt");
    const PrototypeList list = DecodePrototypeList(std::span(reinterpret_cast<const std::uint8_t*>(listBytes.data()), listBytes.size()));
    EXPECT_FALSE(list.shortFile || list.trailingData);
    ASSERT_TRUE(ReadPrototypeList((folder / "Prototypes.pt").string(), nullptr));
    EXPECT_EQ(list.prototypes, PrototypeValues());
    for (const std::string& name : Images(folder)) {
        SCOPED_TRACE(name);
        const std::vector<char> bytes = ReadBytes(folder / (name + ".spset"));
        EXPECT_EQ(bytes.size(), 108u);
        PartSetup setup;
        ASSERT_TRUE(ReadSetupFile((folder / (name + ".spset")).string(), setup));
        EXPECT_EQ(DecodePartSetup(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())), setup);
    }
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
