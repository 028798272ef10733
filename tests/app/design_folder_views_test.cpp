#include "design_folders.h"
#include "design_views_fixture.h"
#include "editor_tables.h"
#include "paths.h"
#include "part_setup.h"
#include "prototypes.h"
#include "utf8_path.h"

namespace fs = std::filesystem;

class DesignFoldersTest : public DesignViewsTest {
protected:
    void SetUp() override {
        DesignViewsTest::SetUp();
        CreateLayoutGadget(*FindGadgetLayout(kGadgetFileList), DesignsListed());
        design.DesignFolder = -1;
    }

    fs::path Designs() const { return root / "Designs"; }
    // What the file list is given to show Designs: the folder as the system writes it.
    std::string DesignsListed() const { return Utf8FromPath(Designs()) + OwnPath("\\"); }

    // Designs holding exactly these folders and files.
    void FreshDesigns(const std::vector<std::string>& folders, const std::vector<std::string>& files = {}) {
        fs::remove_all(Designs());
        fs::create_directories(Designs());
        for (const std::string& f : folders) fs::create_directories(Designs() / f);
        for (const std::string& f : files) WriteBytes(Designs() / f, {1});
    }

    // Selects the file list row named `name` (none when absent), as a click would.
    void ChooseInFileList(const std::string& name) {
        Gadget_SetText(kGadgetFileList, DesignsListed());
        for (int r = 0; r < Gadget_CountItems(kGadgetFileList); ++r)
            Gadget_SetItemState(kGadgetFileList, r, Gadget_GetCellText(kGadgetFileList, r, 0) == name);
    }

    static void WritePicture(const fs::path& path, int width, int height) {
        const int image = Image_Create(kServiceAuto, width, height);
        ASSERT_NE(Image_Save(image, path.string(), kPngEncoder), 0);
        Image_Free(image);
    }
};

TEST_F(DesignFoldersTest, NewFolderTakesOneMoreThanTheLargestNumber) {
    const struct {
        const char* name;
        std::vector<std::string> folders, files;
        int expected;  // -1: refused
    } cases[] = {
        {"3, 10 and abc", {"3", "10", "abc"}, {}, 11},
        {"empty", {}, {}, 1},
        {"only exact numbers count", {"007", "12abc", " 5", "-8", "+9", "7 (copy)", "0"}, {}, 1},
        {"odd bytes", {"\xC3\xA9" "9", "x 40"}, {}, 1},
        {"a numbered file takes its number", {"3"}, {"50", "60.png"}, 51},
        {"the last number is still free", {"2147483646"}, {}, 2147483647},
        {"numbers used up", {"2147483647", "3"}, {}, -1},
        {"beyond the range is no number", {"99999999999", "2147483648", "9"}, {}, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FreshDesigns(c.folders, c.files);
        Gadget_SetText(kGadgetTitle, "No Design");
        design.ShipNodes.Append();
        EXPECT_EQ(NewDesignFolder(), c.expected > 0);
        EXPECT_EQ(design.DesignFolder, c.expected);
        if (c.expected > 0) {
            EXPECT_TRUE(fs::is_directory(Designs() / std::to_string(c.expected)));
            EXPECT_EQ(Gadget_GetText(kGadgetTitle), "Design: " + std::to_string(c.expected));
            EXPECT_EQ(design.ShipNodes.Count(), 0);
        } else {
            EXPECT_EQ(std::distance(fs::directory_iterator(Designs()), fs::directory_iterator()),
                      static_cast<long>(c.folders.size() + c.files.size()))
                << "no folder made";
            EXPECT_EQ(Gadget_GetText(kGadgetTitle), "No Design");
            EXPECT_EQ(design.ShipNodes.Count(), 1) << "nothing else changes";
        }
        design.ShipNodes.Clear();
    }

    FreshDesigns({"1"});
    fs::create_symlink("missing", Designs() / "2");
    EXPECT_EQ(NewDesignFolder(), 1);
    EXPECT_EQ(design.DesignFolder, 3) << "a broken link takes its number";

    fs::remove_all(Designs());
    design.DesignFolder = 4;
    Gadget_SetText(kGadgetTitle, "Design: 4");
    EXPECT_EQ(NewDesignFolder(), 0) << "Designs cannot be scanned";
    EXPECT_EQ(design.DesignFolder, -1);
    EXPECT_EQ(Gadget_GetText(kGadgetTitle), "No Design");
}

TEST_F(DesignFoldersTest, OpeningListsSetUpImagesInScanOrderAndLoadsPrototypes) {
    design.Prototypes.Append().Name = "hull";
    design.Prototypes.Append().Name = "gun";
    design.DesignFolder = 7;
    ASSERT_NE(SavePrototypes(PrototypesPath()), 0);
    design.Prototypes.Clear();
    design.DesignFolder = -1;
    Gadget_AddItem(kGadgetPrototypeList, -1, "stale");
    design.CurrentPrototype = design.LastPrototypeRow = 1;

    const fs::path f = Folder();
    for (const char* name : {"A.png", "B.png", "c.PNG", "D.png", "note.txt"}) WriteBytes(f / name, {1});
    for (const char* name : {"A.png.spset", "c.PNG.spset", "note.txt.spset"}) WriteBytes(f / name, {0});
    fs::create_directories(f / "D.png.spset");           // a folder is no setup file
    fs::create_directories(f / "E.png");                 // nor is a folder an image
    WriteBytes(f / "E.png" / "x", {1});
    WriteBytes(f / "E.png.spset", {0});

    ChooseInFileList("7");
    ASSERT_EQ(OpenDesignFolder(), 1);
    EXPECT_EQ(design.DesignFolder, 7);
    EXPECT_EQ(Gadget_GetText(kGadgetTitle), "Design: 7");
    EXPECT_EQ(Rows(kGadgetDesignImages), (std::vector<std::string>{"A.png", "c.PNG"}));
    EXPECT_EQ(Rows(kGadgetPrototypeList), (std::vector<std::string>{"hull", "gun"}));
    EXPECT_EQ(design.Prototypes.Count(), 2);
    EXPECT_EQ(design.CurrentPrototype, -1) << "no prototype of the new list is chosen yet";
    EXPECT_EQ(design.LastPrototypeRow, -1);

    // Folder 5 has no prototype file: the list and gadget 13 end up empty.
    fs::create_directories(Designs() / "5");
    Gadget_ClearItems(kGadgetDesignImages);
    ChooseInFileList("5");
    ASSERT_EQ(OpenDesignFolder(), 1);
    EXPECT_EQ(design.Prototypes.Count(), 0);
    EXPECT_EQ(Gadget_CountItems(kGadgetPrototypeList), 0);
    EXPECT_EQ(Gadget_CountItems(kGadgetDesignImages), 0);
}

// A row that is not exactly a design number opens nothing: the open design,
// its title, image list and prototypes stay as they were.
TEST_F(DesignFoldersTest, RowsThatNameNoDesignNumberChangeNothing) {
    FreshDesigns({"007", "12abc", "abc", "0", "7 (copy)", "+7", "7"});
    const struct {
        const char* row;  // "" = no row chosen
        int expected;
    } cases[] = {{"", 3}, {"..", 3},       {"abc", 3}, {"0", 3}, {"007", 3},
                 {"12abc", 3}, {"7 (copy)", 3}, {"+7", 3}, {"7", 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        Gadget_SetText(kGadgetTitle, "Design: 3");
        Gadget_ClearItems(kGadgetDesignImages);
        Gadget_AddItem(kGadgetDesignImages, -1, "kept.png");
        design.Prototypes.Clear();
        design.Prototypes.Append().Name = "kept";
        design.DesignFolder = 3;
        ChooseInFileList(c.row);
        EXPECT_EQ(OpenDesignFolder(), c.expected != 3);
        EXPECT_EQ(design.DesignFolder, c.expected);
        if (c.expected == 3) {
            EXPECT_EQ(Gadget_GetText(kGadgetTitle), "Design: 3");
            EXPECT_EQ(Rows(kGadgetDesignImages), std::vector<std::string>{"kept.png"});
            EXPECT_EQ(design.Prototypes.Count(), 1);
        } else {
            EXPECT_EQ(Gadget_GetText(kGadgetTitle), "Design: " + std::to_string(c.expected));
            EXPECT_EQ(design.Prototypes.Count(), 0);
        }
    }
}

TEST_F(DesignFoldersTest, SetupPartsComeFromTheRowsWithASetupFile) {
    design.DesignFolder = 7;
    const fs::path f = Folder();
    WritePicture(f / "A.png", 6, 4);
    PartSetup a;
    a.OffsetX = 3;
    a.PrototypeIndex = 1;
    a.ConnX[7] = 6;
    a.ConnExtra[7] = -9;
    ASSERT_NE(WriteSetupFile((f / "A.png.spset").string(), a), 0);
    WritePicture(f / "B.png", 2, 2);                      // never set up
    WriteBytes(f / "C.png", {0x89, 'P', 'N', 'G', 0, 0}); // cannot be decoded
    Bytes cut;
    PutLong(cut, 11);
    PutLong(cut, 12);
    PutLong(cut, 2);
    cut.push_back(0x05);                                  // a value cut by the end
    WriteBytes(f / "C.png.spset", cut);
    for (const char* row : {"A.png", "B.png", "C.png", "A.png", "gone.png"})
        Gadget_AddItem(kGadgetDesignImages, -1, row);

    // An earlier test view: its images are freed, its ship cleared.
    const ImageNumber old{Image_Create(kServiceAuto, 3, 3)};
    design.Parts.Append().Image = old;
    design.ShipNodes.Append().Image = old;

    EXPECT_EQ(LoadSetupParts(), 3);
    EXPECT_EQ(Image_Width(old), 0) << "the old part's image is freed";
    EXPECT_EQ(design.ShipNodes.Count(), 0);

    const Part& first = *design.Parts.At(0);
    EXPECT_EQ(first.Setup.OffsetX, 3);
    EXPECT_EQ(first.Setup.PrototypeIndex, 1);
    EXPECT_EQ(first.Setup.ConnX[7], 6);
    EXPECT_EQ(first.Setup.ConnExtra[7], -9);
    EXPECT_EQ(Image_Width(first.Image), 6);

    const Part& damaged = *design.Parts.At(1);
    EXPECT_FALSE(damaged.Image) << "a picture that cannot be decoded gives no image";
    EXPECT_EQ(damaged.Setup.OffsetX, 11);
    EXPECT_EQ(damaged.Setup.OffsetY, 12);
    EXPECT_EQ(damaged.Setup.PrototypeIndex, 2);
    EXPECT_EQ(damaged.Setup.ConnX[0], 5) << "the cut value keeps its byte";
    EXPECT_EQ(damaged.Setup.ConnY, (std::array<std::int32_t, kConnections>{}));

    const Part& again = *design.Parts.At(2);
    EXPECT_NE(again.Image, first.Image) << "each part owns its own image";
    EXPECT_EQ(Image_Width(again.Image), 6);

    // Rebuilding frees what the previous rebuild loaded.
    const ImageNumber firstImage = first.Image;
    Gadget_ClearItems(kGadgetDesignImages);
    EXPECT_EQ(LoadSetupParts(), 0);
    EXPECT_EQ(Image_Width(firstImage), 0);
}
