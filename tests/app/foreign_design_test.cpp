// A design folder from someone else: links planted at the names the editor
// saves, names holding "\", names too long for their setup, and pictures too
// big for the budget, all met through the editor's own clicks.
#include <sys/stat.h>

#include "child_process.h"
#include "editor_session.h"
#include "title_line.h"

namespace {

constexpr std::uint32_t kActive = ConnectionActive;

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

class ForeignDesign : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped()) return;
        MakePicture(1, "a.png", 40, 20, 0x0000FF);
        MakePrototypes(1, {{"hull", {kActive, 0, 0, 0, 0, 0, 0, 0}}});
        PartSetup setup;
        setup.PrototypeIndex = 0;
        MakeSetup(1, "a.png", setup);
        elsewhere_ = work_.parent_path() / (work_.filename().string() + "-elsewhere");
        fs::create_directories(elsewhere_);
    }
    void TearDown() override {
        if (!elsewhere_.empty()) fs::remove_all(elsewhere_);
        EditorSession::TearDown();
    }
    // Chooses a listed part image, then "OK": the setup is saved under the image's name.
    void SaveSetupOf(const std::string& image) {
        ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, image));
        ASSERT_EQ(design.PartImageName, image);
        ClickGadget(kGadgetSetupOK);
    }
    // Adds a picture of the design folder to the image list through the load panel.
    void AddImage(const std::string& image) {
        ClickGadget(kGadgetAddImages);
        ClickRow(kGadgetFileList, RowOf(kGadgetFileList, image));
        ClickGadget(kGadgetLoadOK);
        ASSERT_GE(RowOf(kGadgetDesignImages, image), 0);
    }
    fs::path elsewhere_;  // a folder outside the workspace
};

TEST_F(ForeignDesign, LinksLeadingOutOfTheFolderAreNeitherFollowedNorReplaced) {
    const fs::path outside = elsewhere_ / "private";
    std::ofstream(outside) << "mine";
    fs::remove(DesignDir(1) / "a.png.spset");
    fs::create_symlink(outside, DesignDir(1) / "a.png.spset");
    fs::create_symlink(elsewhere_ / "made", DesignDir(1) / "Prototypes.pt.new");
    OpenDesign(1);
    SaveSetupOf("a.png");
    // "Save" through a dangling link would make a file where it points.
    fs::remove(DesignDir(1) / "Prototypes.pt");
    fs::rename(DesignDir(1) / "Prototypes.pt.new", DesignDir(1) / "Prototypes.pt");
    ClickGadget(kGadgetSave);
    RunFrame();
    EXPECT_NE(TitleLineText().find("Not saved: \"Prototypes.pt\""), std::string::npos) << TitleLineText();
    EXPECT_EQ(Contents(outside), "mine");
    EXPECT_TRUE(fs::is_symlink(DesignDir(1) / "a.png.spset"));
    EXPECT_TRUE(fs::is_symlink(DesignDir(1) / "Prototypes.pt"));
    EXPECT_FALSE(fs::exists(elsewhere_ / "made"));
    for (const auto& entry : fs::directory_iterator(DesignDir(1)))
        EXPECT_NE(entry.path().filename().string().rfind(".kw-save-", 0), 0u) << "a temporary was left";
}

TEST_F(ForeignDesign, ALinkToANameOfTheSameFolderIsSavedThrough) {
    fs::rename(DesignDir(1) / "a.png.spset", DesignDir(1) / "shared.spset");
    fs::create_symlink("shared.spset", DesignDir(1) / "a.png.spset");
    OpenDesign(1);
    ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, "a.png"));
    ClickRow(kGadgetSetupRows, 0);
    HoldKey(kKeyRight, 2);
    ClickGadget(kGadgetSetupOK);
    EXPECT_TRUE(fs::is_symlink(DesignDir(1) / "a.png.spset"));
    PartSetup saved;
    ASSERT_NE(ReadSetupFile((DesignDir(1) / "shared.spset").string(), saved), 0);
    EXPECT_EQ(saved.OffsetX, 2);
}

TEST_F(ForeignDesign, ABackslashInAnImageNameIsALetterNotAFolder) {
    const std::string name = "..\\..\\..\\escape.png";
    MakePicture(1, name, 10, 10, 0x00FF00);
    const fs::path escaped = work_.parent_path() / "escape.png.spset";
    ASSERT_FALSE(fs::exists(escaped));
    OpenDesign(1);
    AddImage(name);
    SaveSetupOf(name);
    const bool escapedNow = fs::exists(escaped);
    fs::remove(escaped);
    EXPECT_FALSE(escapedNow) << "the setup was written outside the workspace";
    EXPECT_TRUE(fs::is_regular_file(DesignDir(1) / (name + ".spset")));
}

TEST_F(ForeignDesign, TheSetupPanelSaysWhenANameIsTooLongForItsSetup) {
    const std::string tooLong = std::string(246, 'n') + ".png";  // 250 bytes: with ".spset" over 255
    const std::string fits = std::string(245, 'f') + ".png";
    MakePicture(1, tooLong, 10, 10, 0x00FF00);
    MakePicture(1, fits, 10, 10, 0x00FF00);
    OpenDesign(1);
    AddImage(tooLong);
    AddImage(fits);
    ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, tooLong));
    EXPECT_NE(Gadget_GetText(kGadgetSetupImageFrame).find("cannot be saved"), std::string::npos)
        << Gadget_GetText(kGadgetSetupImageFrame);
    ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, fits));
    EXPECT_EQ(Gadget_GetText(kGadgetSetupImageFrame).find("cannot be saved"), std::string::npos);
}

TEST_F(ForeignDesign, PartsOverThePictureBudgetAreLeftOutAndSaid) {
    MakePicture(1, "b.png", 1000, 1000, 0x00FF00);
    MakePicture(1, "c.png", 1000, 1000, 0x00FF00);
    PartSetup setup;
    setup.PrototypeIndex = 0;
    MakeSetup(1, "b.png", setup);
    MakeSetup(1, "c.png", setup);
    // The media and the small part fit; of the two 4 MB pictures only one does.
    Picture_SetBudget(std::int64_t{10} << 20);
    OpenDesign(1);
    ClickGadget(kGadgetMode);
    ASSERT_EQ(design.TestMode, 1);
    EXPECT_EQ(design.Parts.Count(), 3) << "every part is listed";
    int loaded = 0;
    for (int p = 0; p < design.Parts.Count(); ++p) loaded += design.Parts.At(p)->Image ? 1 : 0;
    EXPECT_EQ(loaded, 2);
    EXPECT_NE(Gadget_GetText(kGadgetTestCaption).find("1 over the picture budget"), std::string::npos)
        << Gadget_GetText(kGadgetTestCaption);
    Picture_SetBudget(0);
}

TEST_F(ForeignDesign, AMegabyteNameIsDrawnWithinAScreensMemory) {
    MakePrototypes(1, {{std::string(std::size_t{1} << 20, 'W'), {kActive, 0, 0, 0, 0, 0, 0, 0}}});
    EXPECT_TRUE(PassesInChild([this] {
        const std::int64_t before = StartPeak();
        OpenDesign(1);
        ClickRow(kGadgetPrototypeList, 0);
        Frames(2);
        return design.Prototypes.At(0)->Name.size() == std::size_t{1} << 20 &&
               PeakBytes() - before < (std::int64_t{400} << 20);
    }, 120));
}
