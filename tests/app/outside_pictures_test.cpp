// Pictures from outside the editor: files dropped on the window, part images
// rewritten on disk by a paint program, and the test ship kept across "Mode"
// while setups change.
#include <fstream>

#include "editor_session.h"
#include "part_palette.h"
#include "ship_assembly.h"
#include "title_line.h"

namespace {

constexpr std::uint32_t kActive = ConnectionActive;
constexpr int kHullColour = 0x0000FF;
// Frames of one second at the editor's pace.
constexpr int kFramesInASecond = 1000 / kFrameMilliseconds;

}  // namespace

// Design 1: a 40 x 20 hull whose connection 1 (left edge) takes a wing, and a wing.
class OutsidePictures : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped()) return;
        MakePicture(1, "hull.png", 40, 20, kHullColour);
        MakePicture(1, "wing.png", 10, 10, 0x00FF00);
        PartSetup hull, wing;
        hull.ConnY[0] = 10;
        wing.PrototypeIndex = 1;
        wing.OffsetX = 9;
        MakeSetup(1, "hull.png", hull);
        MakeSetup(1, "wing.png", wing);
        MakePrototypes(1, {{"hull", {kActive | 2}}, {"wing"}});
        elsewhere_ = work_ / "elsewhere";
        fs::create_directories(elsewhere_);
    }
    int HullLeft() const { return kShipCanvasScreenX + design.ViewX - 20; }
    int HullTop() const { return kShipCanvasScreenY + design.ViewY - 10; }
    int CanvasPixelOfHull() const { return SpritePixel(kShipCanvasSprite, design.ViewX + 5, design.ViewY); }
    void StartTestView() {
        OpenDesign(1);
        ClickGadget(kGadgetMode);
        ASSERT_EQ(design.TestMode, 1);
    }
    // The wing attached to the hull's connection 1.
    void AttachWing() {
        ClickAt(HullLeft(), HullTop() + 10);
        const GadgetRecord* offered = FindGadget(kGadgetOfferedPrototypes);
        ASSERT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 1);
        ClickRow(kGadgetOfferedPrototypes, 0);
        (void)offered;
        ClickAt(PaletteSlotX(0), PaletteSlotY(0));
        ASSERT_EQ(design.ShipNodes.Count(), 2);
    }
    std::vector<std::string> Listed() const {
        std::vector<std::string> names;
        for (int r = 0; r < Gadget_CountItems(kGadgetDesignImages); ++r)
            names.push_back(Gadget_GetItemText(kGadgetDesignImages, r));
        return names;
    }
    static void Drop(const fs::path& path) {
        Testing_DropFile(path.string());
        Frames(1);
    }
    // A PNG written elsewhere (then moved where asked, if asked).
    fs::path PictureElsewhere(const std::string& name, int width, int height, int colour) const {
        const fs::path made = MakePicture(99, name, width, height, colour);
        const fs::path to = elsewhere_ / name;
        fs::rename(made, to);
        return to;
    }
    static std::string Bytes(const fs::path& path) {
        const std::vector<std::uint8_t> b = FileBytes(path);
        return {b.begin(), b.end()};
    }
    // Another program's picture written over a file in place, as a paint program saves.
    static void WriteInPlace(const fs::path& from, const fs::path& to) {
        std::ofstream(to, std::ios::binary | std::ios::trunc) << Bytes(from);
    }
    fs::path elsewhere_;
};

TEST_F(OutsidePictures, APngFromElsewhereIsCopiedInAndListedATakenNameGetsACounter) {
    OpenDesign(1);
    const std::vector<std::string> before = Listed();
    const fs::path gun = PictureElsewhere("gun.png", 8, 8, 0xFF0000);
    Drop(gun);
    EXPECT_EQ(Bytes(DesignDir(1) / "gun.png"), Bytes(gun));
    EXPECT_EQ(Listed().back(), "gun.png");
    EXPECT_EQ(TitleLineText(), "Keelwright \u2014 Added gun.png");

    // Another "hull.png": the design's own stays as it is, the newcomer gets a free name.
    const std::string hull = Bytes(DesignDir(1) / "hull.png");
    const fs::path other = PictureElsewhere("hull.png", 12, 12, 0x00FFFF);
    Drop(other);
    EXPECT_EQ(Bytes(DesignDir(1) / "hull.png"), hull);
    EXPECT_EQ(Bytes(DesignDir(1) / "hull 2.png"), Bytes(other));
    EXPECT_EQ(Listed().back(), "hull 2.png");
    EXPECT_EQ(TitleLineText(), "Keelwright \u2014 Added hull.png as hull 2.png");

    // A picture already in the folder is listed, not copied; listed, it is not listed twice.
    const std::size_t files = std::distance(fs::directory_iterator(DesignDir(1)), fs::directory_iterator());
    Drop(DesignDir(1) / "gun.png");
    Drop(DesignDir(1) / "hull.png");
    EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(DesignDir(1)), fs::directory_iterator())),
              files);
    EXPECT_EQ(Listed().size(), before.size() + 2);

    // The dropped picture is set up like any listed one.
    ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, "hull 2.png"));
    EXPECT_EQ(design.PartImageName, "hull 2.png");
    EXPECT_EQ(Image_Width(kPartImage), 12);
}

TEST_F(OutsidePictures, AnythingElseIsRefusedWithOneLineAndNothingCopied) {
    OpenDesign(1);
    std::ofstream(elsewhere_ / "notes.txt") << "not a picture";
    std::ofstream(elsewhere_ / "fake.png") << "not a picture either";
    fs::create_directories(elsewhere_ / "folder.png");
    const std::vector<std::string> before = Listed();
    const std::size_t files = std::distance(fs::directory_iterator(DesignDir(1)), fs::directory_iterator());
    for (const char* name : {"notes.txt", "fake.png", "folder.png", "missing.png"}) {
        SCOPED_TRACE(name);
        Drop(elsewhere_ / name);
        EXPECT_EQ(TitleLineText(), std::string("Keelwright \u2014 Not added: ") + name + " is not a readable PNG picture");
    }
    EXPECT_EQ(Listed(), before);
    EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(DesignDir(1)), fs::directory_iterator())),
              files);
    // The message passes and the design's title returns.
    Testing_AdvanceClock(kTitleMessageMilliseconds);
    Frames(1);
    EXPECT_EQ(Window_Title(0), "Keelwright \u2014 Design 1");
}

TEST_F(OutsidePictures, WithNoDesignOpenADropSaysSoAndCopiesNothing) {
    const fs::path gun = PictureElsewhere("gun.png", 8, 8, 0xFF0000);
    Drop(gun);
    EXPECT_NE(Window_Title(0).find("No design is open"), std::string::npos) << Window_Title(0);
    EXPECT_EQ(Gadget_CountItems(kGadgetDesignImages), 0);
    EXPECT_FALSE(fs::exists(DesignDir(1) / "gun.png"));
}

TEST_F(OutsidePictures, ARewrittenPartImageShowsOnTheCanvasWithinASecondAHalfWrittenOneDoesNot) {
    StartTestView();
    AttachWing();
    ASSERT_EQ(CanvasPixelOfHull(), kHullColour);
    const fs::path hull = DesignDir(1) / "hull.png";

    WriteInPlace(PictureElsewhere("red.png", 40, 20, 0xFF0000), hull);
    int frames = 0;
    while (CanvasPixelOfHull() != 0xFF0000 && frames < kFramesInASecond) Frames(1), ++frames;
    EXPECT_EQ(CanvasPixelOfHull(), 0xFF0000) << "after " << frames << " frames";
    EXPECT_EQ(design.ShipNodes.Count(), 2) << "the ship keeps its tree";

    // Caught half-written: the last good picture stays.
    const std::string white = Bytes(PictureElsewhere("white.png", 40, 20, 0xFFFFFF));
    std::ofstream(hull, std::ios::binary | std::ios::trunc) << white.substr(0, white.size() / 2);
    Frames(kFramesInASecond);
    EXPECT_EQ(CanvasPixelOfHull(), 0xFF0000);

    // Replaced through a rename, as safe-saving programs do.
    const fs::path green = PictureElsewhere("green.png", 40, 20, 0x00FF00);
    fs::rename(green, DesignDir(1) / "hull.png.tmp");
    fs::rename(DesignDir(1) / "hull.png.tmp", hull);
    Frames(kFramesInASecond);
    EXPECT_EQ(CanvasPixelOfHull(), 0x00FF00);

    // Deleted: the last picture stays until the design is opened again.
    fs::remove(hull);
    Frames(kFramesInASecond);
    EXPECT_EQ(CanvasPixelOfHull(), 0x00FF00);
}

TEST_F(OutsidePictures, ThePartButtonsShowTheRewrittenPicture) {
    StartTestView();
    ClickAt(HullLeft(), HullTop() + 10);
    if (editor.Palette.Count() == 0) ClickRow(kGadgetOfferedPrototypes, 0);
    ASSERT_EQ(editor.Palette.Count(), 1);
    const auto iconCentre = [] {
        const ImageNumber icon = std::as_const(editor.Palette).At(0)->Icon;
        if (!Draw_Begin(Draw_ImageOutput(icon))) return -1;
        const int colour = Draw_Point(kPaletteIconSize / 2, kPaletteIconSize / 2);
        Draw_End();
        return colour;
    };
    ASSERT_EQ(iconCentre(), 0x00FF00);
    WriteInPlace(PictureElsewhere("red wing.png", 10, 10, 0xFF0000), DesignDir(1) / "wing.png");
    Frames(kFramesInASecond);
    ASSERT_EQ(editor.Palette.Count(), 1);
    EXPECT_EQ(iconCentre(), 0xFF0000);
}

TEST_F(OutsidePictures, TheLoadPanelsPreviewShowsTheRewrittenPicture) {
    OpenDesign(1);
    ClickGadget(kGadgetAddImages);
    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "wing.png"));
    ASSERT_GT(editor.PreviewZoom, 0.0f);
    WriteInPlace(PictureElsewhere("tall.png", 10, 40, 0xFF0000), DesignDir(1) / "wing.png");
    Frames(kFramesInASecond);
    EXPECT_EQ(Image_Height(kPreviewImage), 40);
    EXPECT_FLOAT_EQ(editor.PreviewZoom, 170.0f / 40.0f) << "fitted to the new size: its longer side 170 pixels";
}

TEST_F(OutsidePictures, TheSetupPanelShowsTheNewPicturePointsStay) {
    OpenDesign(1);
    ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, "hull.png"));
    ASSERT_EQ(design.PartImageName, "hull.png");
    const PartSetup before = design.PartSetup;
    WriteInPlace(PictureElsewhere("wide.png", 80, 20, 0xFF00FF), DesignDir(1) / "hull.png");
    Frames(kFramesInASecond);
    EXPECT_EQ(Image_Width(kPartImage), 80);
    EXPECT_NE(Gadget_GetText(kGadgetSetupImageFrame).find("(80/20)"), std::string::npos)
        << Gadget_GetText(kGadgetSetupImageFrame);
    EXPECT_EQ(design.PartSetup.ConnY, before.ConnY);
    EXPECT_EQ(design.PartSetup.OffsetX, before.OffsetX);
}

TEST_F(OutsidePictures, TheShipKeepsItsTreeAcrossModeWhileItsPartsRemain) {
    StartTestView();
    AttachWing();
    // The wing's setup changes while the test view is off.
    ClickGadget(kGadgetMode);
    ASSERT_EQ(design.TestMode, 0);
    PartSetup wing;
    wing.PrototypeIndex = 1;
    wing.OffsetX = 3;
    MakeSetup(1, "wing.png", wing);
    ClickGadget(kGadgetMode);
    ASSERT_EQ(design.TestMode, 1);
    ASSERT_EQ(design.ShipNodes.Count(), 2) << "the wing stays attached";
    const ShipNode& root = *std::as_const(design.ShipNodes).At(0);
    EXPECT_EQ(root.Child[0], 1);
    const ShipNode& attached = *std::as_const(design.ShipNodes).At(1);
    int wingPart = -1;
    for (int p = 0; p < design.Parts.Count(); ++p)
        if (std::as_const(design.Parts).At(p)->File == "wing.png") wingPart = p;
    ASSERT_GE(wingPart, 0);
    EXPECT_EQ(attached.Image, std::as_const(design.Parts).At(wingPart)->Image) << "drawn with the part read anew";
    EXPECT_EQ(std::as_const(design.Parts).At(wingPart)->Setup.OffsetX, 3);

    // The wing's setup gone: the hull stays, its connection free again.
    ClickGadget(kGadgetMode);
    fs::remove(DesignDir(1) / "wing.png.spset");
    ClickGadget(kGadgetMode);
    ASSERT_EQ(design.TestMode, 1);
    ASSERT_EQ(design.ShipNodes.Count(), 1);
    EXPECT_EQ(std::as_const(design.ShipNodes).At(0)->Child[0], ChildFree);
}
