#include <signal.h>
#include <sys/resource.h>

#include "editor_tables.h"
#include "ship_fixture.h"
#include "ship_pictures.h"

namespace {

constexpr std::int64_t k14May2006At2107 = 1147640820;

class ShipPicturesTest : public ShipTest {
protected:
    void SetUp() override {
        ShipTest::SetUp();
        Testing_UseManualClock(true);
        Testing_SetDateNow(k14May2006At2107 + 30);
        AddPrototype({{0, ConnectionActive}});
        AddPart(40, 30, 0, 0xFF0000FF, 0, 0, {{0, 0, 15}});
        StartShip();
        design.DesignFolder = 3;
        std::filesystem::create_directories(Pics());
    }
    std::filesystem::path Pics() const { return root / "ShipPics"; }
    std::filesystem::path Full() const { return Pics() / "3 - 2006.05.14-21.07.png"; }
    std::filesystem::path Small(const std::string& size) const {
        return Pics() / ("3 - " + size + " - 2006.05.14-21.07.png");
    }
    static std::vector<std::string> Files(const std::filesystem::path& dir) {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& e : std::filesystem::directory_iterator(dir, ignored)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Loads a written picture; its size, and its pixel (x, y) through `colour`.
    static std::pair<int, int> LoadSize(const std::filesystem::path& path, int x = 0, int y = 0, int* colour = nullptr) {
        const int image = Image_Load(kServiceAuto, path.string(), 0);
        const std::pair<int, int> size{Image_Width(image), Image_Height(image)};
        if (colour) *colour = Pixel(Draw_ImageOutput(image), x, y);
        Image_Free(image);
        return size;
    }
};

}  // namespace

TEST_F(ShipPicturesTest, ExportWritesBothSizesPlainUnderOneDate) {
    // Root at (170, 135): outline and the dot at (170, 150) show on the canvas.
    DrawShip(190, 150, 0);
    EXPECT_EQ(SaveShipPicture(2, "medium"), 1);
    EXPECT_EQ(Files(Pics()), (std::vector<std::string>{Full().filename(), Small("medium").filename()}));
    int corner = -1, dot = -1;
    EXPECT_EQ(LoadSize(Full(), 170, 135, &corner), std::make_pair(370, 290));
    LoadSize(Full(), 170, 150, &dot);
    EXPECT_EQ(corner, 0xFF0000) << "no outline in the picture";
    EXPECT_EQ(dot, 0xFF0000) << "no connection dot in the picture";
    int middle = -1;
    EXPECT_EQ(LoadSize(Small("medium"), 24, 18, &middle), std::make_pair(48, 37));
    EXPECT_NEAR(middle >> 16, 255, 2) << "scaled from the ship, centred";
    EXPECT_EQ(CanvasPixel(170, 135), 0xFFFFFF) << "the canvas has its outline back";
    EXPECT_EQ(CanvasPixel(170, 150), 0x00FF00);

    for (int k = 0; k < 5; ++k) EXPECT_EQ(ShipPictureHeight(ExportWidths[static_cast<std::size_t>(k)]), (std::array{18, 25, 37, 50, 75}[k]));
    EXPECT_EQ(SaveShipPicture(-1, "none"), 0);
    EXPECT_EQ(SaveShipPicture(5, "none"), 0);
    EXPECT_EQ(Files(Pics()).size(), 2u);
}

TEST_F(ShipPicturesTest, FailedSavesWriteNothingAndKeepEarlierPictures) {
    // ShipPics missing is made again; with a file where the folder should be
    // nothing is written and the editor goes on.
    std::filesystem::remove_all(Pics());
    SaveShipPicture(0, "tiny");
    EXPECT_TRUE(std::filesystem::exists(Full()));
    std::filesystem::remove_all(Pics());
    WriteBytes(Pics(), Bytes{1, 2, 3});
    SaveShipPicture(0, "tiny");
    EXPECT_EQ(ReadBytes(Pics()), (Bytes{1, 2, 3}));
    EXPECT_EQ(CanvasPixel(170, 150), 0x00FF00) << "the canvas is redrawn with its dots";

    // A full disk (a file size limit) during a second export in the same minute:
    // the earlier picture stays whole and no small picture is made from it.
    std::filesystem::remove(Pics());
    std::filesystem::create_directories(Pics());
    SaveShipPicture(4, "huge");
    const std::uintmax_t small = std::filesystem::file_size(Small("huge"));
    std::filesystem::remove(Small("huge"));
    const Bytes earlier = ReadBytes(Full());
    ASSERT_GT(earlier.size(), small + 100) << "room for the small picture only";
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = saved;
    tight.rlim_cur = small + 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    design.ShipNodes.At(0)->Child[0] = ChildInactive;  // a changed ship
    SaveShipPicture(4, "huge");
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(ReadBytes(Full()), earlier);
    EXPECT_EQ(Files(Pics()), std::vector<std::string>{Full().filename()}) << "no small picture, no temporary file";
}
