// Every command of the editor, driven through whole frames with the mouse
// and the keyboard, checked on the gadgets, the files and the screen.
#include <functional>
#include <set>
#include <tuple>

#include "design_folders.h"
#include "editor_session.h"
#include "part_setup.h"
#include "ship_assembly.h"

namespace {

constexpr std::uint32_t kActive = ConnectionActive;
constexpr int kRightButton = 2;

std::set<int> VisibleGadgets() {
    std::set<int> visible;
    for (int n = 0; n < kEditorGadgetCount; ++n)
        if (const GadgetRecord* g = FindGadget(n); g && !g->hidden) visible.insert(n);
    return visible;
}

std::set<int> Range(int first, int last) {
    std::set<int> numbers;
    for (int n = first; n <= last; ++n) numbers.insert(n);
    return numbers;
}

// Every value of a setup, comparable at once.
auto Values(const PartSetup& s) {
    return std::tuple(s.OffsetX, s.OffsetY, s.PrototypeIndex, s.ConnX, s.ConnY, s.ConnExtra);
}

}  // namespace

class Commands : public EditorSession {};

TEST_F(Commands, NewWithoutADesignShowsTheDesignGadgetsOnlyAfterTheNextSwitch) {
    EXPECT_EQ(VisibleGadgets(), Range(0, 5));
    EXPECT_FALSE(Enabled(kGadgetSave));

    ClickGadget(kGadgetNew);
    EXPECT_TRUE(fs::is_directory(DesignDir(1)));
    EXPECT_EQ(design.DesignFolder, 1);
    EXPECT_EQ(Gadget_GetText(kGadgetTitle), "Design: 1");
    // The panel was switched before the folder existed.
    EXPECT_EQ(VisibleGadgets(), Range(0, 5));
    EXPECT_FALSE(Enabled(kGadgetSave));

    ClickGadget(kGadgetNew);
    EXPECT_TRUE(fs::is_directory(DesignDir(2)));
    EXPECT_EQ(Gadget_GetText(kGadgetTitle), "Design: 2");
    std::set<int> expected = Range(0, 14);
    EXPECT_EQ(VisibleGadgets(), expected);
    EXPECT_TRUE(Enabled(kGadgetSave));
}

TEST_F(Commands, ChoosingAFolderShowsItsInformationAndChoosingItAgainOpensIt) {
    MakePicture(7, "a.png", 20, 10, 0x0000FF);
    MakePicture(7, "b.png", 20, 10, 0x00FF00);
    MakeSetup(7, "a.png", PartSetup{});
    MakePrototypes(7, {{"hull"}, {"wing"}, {"gun"}});
    fs::create_directories(DesignDir(8));

    ClickGadget(kGadgetLoad);
    EXPECT_EQ(editor.EditorMode, kLoadPanel);
    EXPECT_EQ(Gadget_GetText(kGadgetLoadFrame), "Load an existing design");
    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "7"));
    EXPECT_EQ(editor.InfoText,
              "Design 7\r\nImages: 2\r\nImages with a setup: 1\r\nPrototype(s): 3\r\n\r\nSample: ");
    EXPECT_EQ(design.DesignFolder, -1) << "one choice only informs";
    EXPECT_EQ(editor.SampleScale, 2) << "a 20 x 10 sample is drawn twice its size";

    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "8"));
    EXPECT_EQ(design.DesignFolder, -1);
    EXPECT_NE(editor.InfoText.find("Images: 0"), std::string::npos);

    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "7"));
    EXPECT_EQ(design.DesignFolder, -1) << "another folder came in between";
    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "7"));
    EXPECT_EQ(design.DesignFolder, 7);
    EXPECT_EQ(editor.EditorMode, kDesignPanel);
    EXPECT_EQ(editor.LoadPurpose, 0);
    EXPECT_EQ(Gadget_GetText(kGadgetTitle), "Design: 7");
    ASSERT_EQ(Gadget_CountItems(kGadgetDesignImages), 1);
    EXPECT_EQ(Gadget_GetItemText(kGadgetDesignImages, 0), "a.png");
    EXPECT_EQ(Gadget_CountItems(kGadgetPrototypeList), 3);
}

TEST_F(Commands, AddedImagesAreListedAndTheirPreviewFillsTheSquare) {
    MakePicture(1, "wide.png", 85, 40, 0x0000FF);
    MakePicture(1, "other.png", 10, 10, 0x00FF00);
    ClickGadget(kGadgetNew);
    ClickGadget(kGadgetNew);  // folder 2 is open and the design panel shows
    design.DesignFolder = 1;  // as if folder 1 had been opened
    ClickGadget(kGadgetAddImages);
    EXPECT_EQ(editor.EditorMode, kLoadPanel);
    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "wide.png"));
    EXPECT_FLOAT_EQ(editor.PreviewZoom, 2.0f);
    // 170 x 80 at (815, 90).
    EXPECT_EQ(ScreenPixel(815, 90), 0x0000FF);
    EXPECT_EQ(ScreenPixel(984, 169), 0x0000FF);
    EXPECT_NE(ScreenPixel(815, 89), 0x0000FF);
    EXPECT_NE(ScreenPixel(984, 170), 0x0000FF);

    ClickGadget(kGadgetLoadOK);
    ASSERT_EQ(Gadget_CountItems(kGadgetDesignImages), 1);
    EXPECT_EQ(Gadget_GetItemText(kGadgetDesignImages, 0), "wide.png");
    EXPECT_NE(ScreenPixel(815, 90), 0x0000FF) << "no preview is left on the design panel";
    EXPECT_FALSE(fs::exists(DesignDir(1) / "wide.png.spset")) << "adding writes no setup";
}

class SetupPanel : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped()) return;
        MakePicture(1, "part.png", 500, 250, 0x0000FF);
        PartSetup setup;
        setup.OffsetX = 3;
        setup.OffsetY = 4;
        setup.PrototypeIndex = 0;
        setup.ConnX[0] = 10;
        setup.ConnY[0] = 20;
        setup.ConnExtra[5] = 77;
        MakeSetup(1, "part.png", setup);
        MakePrototypes(1, {{"hull", {kActive, 0, 0, 0, 0, 0, 0, 0}}, {"wing"}});
        OpenDesign(1);
        ClickRow(kGadgetDesignImages, 0);
        ASSERT_EQ(editor.EditorMode, kSetupPanel);
    }
    fs::path SetupFile() const { return DesignDir(1) / "part.png.spset"; }
    PartSetup Saved() const {
        PartSetup saved;
        EXPECT_NE(ReadSetupFile(SetupFile().string(), saved), 0);
        return saved;
    }
    // Lists the design again and opens the setup of one of its images.
    void ChooseImage(const std::string& name) {
        OpenDesign(1);
        ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, name));
    }
};

TEST_F(SetupPanel, ThePartImageIsCentredAtHalfSize) {
    EXPECT_FLOAT_EQ(editor.SetupZoom, 0.5f);
    EXPECT_EQ(editor.SetupOriginX + 510, 525);
    EXPECT_EQ(editor.SetupOriginY + 80, 118);
    EXPECT_EQ(Sprite_Width(kCrosshairSprite), 16);
    EXPECT_EQ(Sprite_Height(kCrosshairSprite), 16);
    EXPECT_EQ(Gadget_GetText(kGadgetSetupImageFrame), "part.png(500/250)");
    EXPECT_EQ(ScreenPixel(525, 118), 0x0000FF);
    EXPECT_EQ(ScreenPixel(774, 242), 0x0000FF);
    EXPECT_NE(ScreenPixel(524, 118), 0x0000FF);
    EXPECT_NE(ScreenPixel(775, 243), 0x0000FF);
}

TEST_F(SetupPanel, AConnectionThePrototypeDoesNotUseCannotBeChosenAndEndsTheMove) {
    ClickRow(kGadgetSetupRows, 1);  // "Connection 1": active
    EXPECT_EQ(Gadget_GetState(kGadgetSetupRows), 1);
    EXPECT_EQ(Gadget_GetText(kGadgetPointX), "10");
    EXPECT_EQ(Gadget_GetText(kGadgetPointY), "20");
    ClickRow(kGadgetSetupRows, 2);  // "Connection 2": inactive
    EXPECT_EQ(Gadget_GetState(kGadgetSetupRows), -1);
    ClickAt(575, 143);  // on the picture, with no row highlighted
    ClickGadget(kGadgetSetupOK);
    EXPECT_EQ(Saved().ConnX[0], 10);
    EXPECT_EQ(Saved().ConnY[0], 20);
}

TEST_F(SetupPanel, EitherButtonChoosesThePointAndThePrototypeThatAreSaved) {
    ClickRow(kGadgetSetupRows, 0);
    ClickRow(kGadgetSetupRows, 1, kRightButton);
    EXPECT_EQ(Gadget_GetText(kGadgetPointX), "10");
    ClickAt(575, 143);  // image pixel (100, 50)
    ClickRow(kGadgetSetupPrototype, 1, kRightButton);  // "wing"
    ClickGadget(kGadgetSetupOK);
    const PartSetup saved = Saved();
    EXPECT_EQ(saved.OffsetX, 3);
    EXPECT_EQ(saved.ConnX[0], 100);
    EXPECT_EQ(saved.ConnY[0], 50);
    EXPECT_EQ(saved.PrototypeIndex, 1);
}

TEST_F(SetupPanel, CursorKeysMoveThePointUpAndLeftToTheEdgeButNotWhileAFieldHasThem) {
    ClickRow(kGadgetSetupRows, 0);  // the display offset, (3, 4)
    HoldKey(kKeyUp, 3);
    HoldKey(kKeyLeft, 5);
    ClickGadget(kGadgetPrototypeName);
    HoldKey(kKeyDown, 2);
    HoldKey(kKeyRight, 2);
    ClickGadget(kGadgetSetupOK);
    EXPECT_EQ(Saved().OffsetX, 0);
    EXPECT_EQ(Saved().OffsetY, 1);
}

// Small pictures have a big cross-hair, cut to the picture's frame; and it
// is centred on the point at any size.
TEST_F(SetupPanel, TheCrossHairIsCentredOnThePointAndStaysInThePicturesFrame) {
    struct Case {
        const char* name;
        int width, height, x, y;  // picture and the display offset
        int screenX, screenY;     // where the offset lies on the screen
        int half;                 // half the cross-hair: 32 image pixels halved, then rounded
    };
    const Case cases[] = {
        {"small.png", 10, 10, 0, 0, 525, 55, 125},        // 250 x 250, the largest
        {"odd.png", 470, 235, 235, 117, 650, 180, 9},     // 17.02 pixels: not the 8 of 17 halved
    };
    const auto outsideFrame = [](int x, int y) { return x < 511 || x > 789 || y < 55 || y > 304; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakePicture(1, c.name, c.width, c.height, 0x0000FF);
        PartSetup setup;
        setup.OffsetX = c.x;
        setup.OffsetY = c.y;
        setup.ConnX[0] = c.width / 2;  // its marker inside the frame
        setup.ConnY[0] = c.height / 2;
        MakeSetup(1, c.name, setup);
        ChooseImage(c.name);
        const int side = Sprite_Width(kCrosshairSprite);
        const int left = c.screenX - c.half, top = c.screenY - c.half;
        std::vector<int> before;
        for (int j = 0; j < side; ++j)
            for (int i = 0; i < side; ++i) before.push_back(ScreenPixel(left + i, top + j));
        ClickRow(kGadgetSetupRows, 0);
        int drawn = 0;
        for (int j = 0; j < side; ++j)
            for (int i = 0; i < side; ++i) {
                const int mark = SpritePixel(kCrosshairSprite, i, j);
                const int screen = ScreenPixel(left + i, top + j);
                if (outsideFrame(left + i, top + j)) {
                    ASSERT_EQ(screen, before[static_cast<std::size_t>(j * side + i)]) << i << ", " << j;
                } else if (mark != 0) {
                    ASSERT_EQ(screen, mark) << i << ", " << j;
                    ++drawn;
                }
            }
        EXPECT_GT(drawn, 0);
    }
}

TEST_F(SetupPanel, APictureThatCannotBeReadSaysSoAndChangesNoSetup) {
    std::ofstream(DesignDir(1) / "broken.png") << "being painted";
    PartSetup broken;
    broken.OffsetX = 7;
    broken.ConnX[0] = 9;
    MakeSetup(1, "broken.png", broken);
    const auto stored = FileBytes(DesignDir(1) / "broken.png.spset");
    ChooseImage("part.png");
    ClickRow(kGadgetSetupRows, 1);
    HoldKey(kKeyRight, 1);
    ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, "broken.png"));
    EXPECT_EQ(Gadget_GetText(kGadgetSetupImageFrame), "broken.png: cannot be read");
    EXPECT_EQ(Saved().ConnX[0], 11) << "the setup being edited is kept";
    HoldKey(kKeyRight, 1);
    ClickAt(650, 180);
    ClickGadget(kGadgetSetupOK);
    ClickGadget(kGadgetNew);
    EXPECT_EQ(FileBytes(DesignDir(1) / "broken.png.spset"), stored);
}

// Whatever command leaves the panel, the setup is kept first.
TEST_F(SetupPanel, EveryWayOutOfThePanelSavesTheSetup) {
    MakePicture(1, "other.png", 10, 10, 0x00FF00);
    MakeSetup(1, "other.png", PartSetup{});
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"another image", [&] { ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, "other.png")); }},
        {"Mode", [] { ClickGadget(kGadgetMode); }},
        {"Quit", [] { ClickGadget(kGadgetQuit); }},
    };
    int x = Saved().OffsetX;
    for (const auto& [name, leave] : ways) {
        ChooseImage("part.png");
        ClickRow(kGadgetSetupRows, 0);
        HoldKey(kKeyRight, 1);
        leave();
        EXPECT_EQ(Saved().OffsetX, ++x) << name;
        EXPECT_NE(design.PartImageName, "part.png") << name;
    }
}

TEST_F(SetupPanel, AClickOnTheImagePlacesThePointAndTheKeysMoveItWithinTheImage) {
    ClickRow(kGadgetSetupRows, 1);
    // Image pixel (100, 50) lies at (525 + 50, 118 + 25).
    ClickAt(575, 143);
    EXPECT_EQ(design.PartSetup.ConnX[0], 100);
    EXPECT_EQ(design.PartSetup.ConnY[0], 50);
    EXPECT_EQ(Gadget_GetCellText(kGadgetSetupRows, 1, 1), "100");
    EXPECT_EQ(Gadget_GetCellText(kGadgetSetupRows, 1, 2), "50");
    EXPECT_EQ(Gadget_GetText(kGadgetPointX), "100");

    ClickAt(400, 143);  // outside the image: the point stays
    EXPECT_EQ(design.PartSetup.ConnX[0], 100);

    const int before = design.PartSetup.ConnX[0];
    HoldKey(kKeyRight, 10);
    EXPECT_EQ(design.PartSetup.ConnX[0], before + 10) << "one image pixel per frame held";
    design.PartSetup.ConnX[0] = 495;
    HoldKey(kKeyRight, 10);
    EXPECT_EQ(design.PartSetup.ConnX[0], 500) << "never past the image's width";

    ClickGadget(kGadgetSetupOK);
    EXPECT_EQ(editor.EditorMode, kDesignPanel);
    EXPECT_TRUE(design.PartImageName.empty());
    PartSetup saved;
    ASSERT_NE(ReadSetupFile(SetupFile().string(), saved), 0);
    EXPECT_EQ(saved.ConnX[0], 500);
    EXPECT_EQ(saved.ConnY[0], 50);
    EXPECT_EQ(saved.OffsetX, 3);
    EXPECT_EQ(saved.ConnExtra[5], 77) << "values the editor does not show are kept";
}

TEST_F(SetupPanel, ATypedAndConfirmedNumberMovesThePointClampedLikeTheMouse) {
    ClickRow(kGadgetSetupRows, 0);  // the display offset
    ASSERT_EQ(editor.DraggingOffset, 1);
    ClickGadget(kGadgetPointX);
    EXPECT_EQ(design.PartSetup.OffsetX, 3) << "a click into the field changes nothing";
    EXPECT_EQ(Gadget_GetCellText(kGadgetSetupRows, 0, 1), "3");
    for (int i = 0; i < 3; ++i) HoldKey(kKeyBackspace, 1);
    Testing_TypeText("42");
    Frames(2);
    EXPECT_EQ(design.PartSetup.OffsetX, 3) << "nothing moves before Enter";
    EXPECT_EQ(Gadget_GetText(kGadgetPointX), "42") << "the typing is not overwritten";
    HoldKey(kKeyReturn, 1);
    EXPECT_EQ(design.PartSetup.OffsetX, 42);
    EXPECT_EQ(Gadget_GetCellText(kGadgetSetupRows, 0, 1), "42");

    ClickGadget(kGadgetPointY);
    Testing_TypeText("999");
    Frames(1);
    HoldKey(kKeyReturn, 1);
    EXPECT_EQ(design.PartSetup.OffsetY, 250) << "clamped to the image's height";
    EXPECT_EQ(Gadget_GetText(kGadgetPointY), "250");
    EXPECT_EQ(design.PartSetup.ConnX[0], 10) << "no other point is touched";
}

// Leaving the setup panel for another design saves the setup where it belongs,
// never under the old image's name in the design opened next.
TEST_F(SetupPanel, LoadingAnotherDesignSavesTheSetupInItsOwnFolder) {
    MakePicture(2, "part.png", 10, 10, 0x00FF00);
    ClickRow(kGadgetSetupRows, 0);
    HoldKey(kKeyRight, 2);
    OpenDesign(2);
    EXPECT_TRUE(design.PartImageName.empty());
    EXPECT_FALSE(fs::exists(DesignDir(2) / "part.png.spset"));
    EXPECT_EQ(Saved().OffsetX, 5);
    ChooseImage("part.png");
    ClickRow(kGadgetSetupRows, 0);
    HoldKey(kKeyRight, 2);
    ClickGadget(kGadgetNew);
    EXPECT_EQ(Saved().OffsetX, 7);
    EXPECT_FALSE(fs::exists(DesignDir(3) / "part.png.spset"));
}

TEST_F(SetupPanel, ChoosingAnotherPrototypeEndsTheMoveAndRecoloursTheRows) {
    ClickRow(kGadgetSetupRows, 1);
    ASSERT_EQ(editor.DraggedConnection, 0);
    ClickRow(kGadgetSetupPrototype, 0);
    EXPECT_EQ(design.PartSetup.PrototypeIndex, 0);
    EXPECT_EQ(editor.DraggedConnection, -1);
    EXPECT_EQ(Gadget_GetState(kGadgetSetupRows), -1);
    EXPECT_EQ(Gadget_GetText(kGadgetPointX), "");
}

TEST_F(SetupPanel, ChoosingNoImageSavesTheSetupAndReturnsToTheDesignPanel) {
    ClickRow(kGadgetSetupRows, 1);
    HoldKey(kKeyDown, 2);  // 20 -> 22
    // An empty choice in the image list: a click below its rows.
    const GadgetRecord* list = FindGadget(kGadgetDesignImages);
    ClickAt(list->x + 20, list->y + list->height - 5);
    EXPECT_EQ(editor.EditorMode, kDesignPanel);
    EXPECT_TRUE(design.PartImageName.empty());
    PartSetup saved;
    ASSERT_NE(ReadSetupFile(SetupFile().string(), saved), 0);
    EXPECT_EQ(saved.ConnY[0], 22);
}

class PrototypeEditing : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped()) return;
        MakePrototypes(1, {{"hull", {kActive | 2, 0, 0, 0, 0, 0, 0, 0}}, {"wing"}});
        OpenDesign(1);
        ClickRow(kGadgetPrototypeList, 0);
        ASSERT_EQ(design.CurrentPrototype, 0);
    }
    std::uint32_t Mask(int prototype, int connection) const {
        return design.Prototypes.At(prototype)->ConnectionMask[static_cast<std::size_t>(connection)];
    }
};

// The names a prototype file holds (the editor's list is replaced by the file's).
std::vector<std::string> SavedNames(const fs::path& file) {
    EXPECT_NE(ReadPrototypeList(file.string(), nullptr), 0);
    std::vector<std::string> names;
    for (int p = 0; p < design.Prototypes.Count(); ++p) names.push_back(design.Prototypes.At(p)->Name);
    return names;
}

TEST_F(PrototypeEditing, ASlotIsHitWithinSixPixelsOfItsCentre) {
    // Slot 2 (connection 3) is at (202 + 66, 422 + 0).
    ClickAt(268 + 6, 422);
    EXPECT_TRUE(HasActiveFlag(Mask(0, 2))) << "6.0 px hits";
    ClickAt(268 + 6, 422 + 1);
    EXPECT_TRUE(HasActiveFlag(Mask(0, 2))) << "6.08 px misses";
    ClickAt(268, 422);
    EXPECT_FALSE(HasActiveFlag(Mask(0, 2))) << "a second left click switches it off";
}

TEST_F(PrototypeEditing, ARightClickSelectsOnlyAnActiveSlotAndShowsItsAllowedPrototypes) {
    ClickAt(202 + 33, 422, 2);  // connection 2: inactive
    EXPECT_EQ(design.SelectedProtoConnection, -1);
    ClickAt(202, 422 + 33, 2);  // connection 1: active, allows "wing"
    EXPECT_EQ(design.SelectedProtoConnection, 0);
    ASSERT_EQ(Gadget_CountItems(kGadgetCompatibility), 2);
    ClickRow(kGadgetCompatibility, 0);
    EXPECT_EQ(Mask(0, 0), kActive | 3) << "hull allowed too now";
}

TEST_F(PrototypeEditing, TypingRenamesWhereverThePointerIs) {
    ClickGadget(kGadgetPrototypeName);
    Testing_TypeText("X");
    Frames(1);
    EXPECT_EQ(Gadget_GetItemText(kGadgetPrototypeList, 0), "hullX");
    Testing_MouseMove(700, 700);
    Frames(1);
    Testing_TypeText("Y");
    Frames(1);
    EXPECT_EQ(Gadget_GetText(kGadgetPrototypeName), "hullXY");
    ClickGadget(kGadgetSave);
    EXPECT_EQ(SavedNames(DesignDir(1) / "Prototypes.pt"), (std::vector<std::string>{"hullXY", "wing"}));
}

TEST_F(PrototypeEditing, EitherButtonChoosesThePrototypeTheNameFieldRenames) {
    ClickRow(kGadgetPrototypeList, 1, kRightButton);
    EXPECT_EQ(Gadget_GetText(kGadgetPrototypeName), "wing");
    ClickGadget(kGadgetPrototypeName);
    Testing_TypeText("X");
    Frames(1);
    ClickGadget(kGadgetSave);
    EXPECT_EQ(SavedNames(DesignDir(1) / "Prototypes.pt"), (std::vector<std::string>{"hull", "wingX"}));
}

TEST_F(PrototypeEditing, SaveWritesTheListAndReloadingGivesItBack) {
    ClickGadget(kGadgetAddPrototype);
    EXPECT_EQ(design.Prototypes.Count(), 3);
    ClickGadget(kGadgetSave);
    const auto bytes = FileBytes(DesignDir(1) / "Prototypes.pt");
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 3);
    OpenDesign(1);
    ASSERT_EQ(Gadget_CountItems(kGadgetPrototypeList), 3);
    EXPECT_EQ(Gadget_GetItemText(kGadgetPrototypeList, 2), "no name2");
}

TEST_F(PrototypeEditing, ModeWithoutPrototypesSpringsBack) {
    ClickGadget(kGadgetNew);  // keeps the prototypes: clear them as a fresh design would have none
    design.Prototypes.Clear();
    ClickGadget(kGadgetMode);
    EXPECT_EQ(Gadget_GetToggleState(kGadgetMode), 0);
    EXPECT_EQ(design.TestMode, 0);
}

// A small design that grows: a hull whose connection 1 takes a wing.
class TestView : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped()) return;
        MakePicture(1, "hull.png", 40, 20, 0x0000FF);
        MakePicture(1, "wing.png", 10, 10, 0x00FF00);
        PartSetup hull;
        hull.PrototypeIndex = 0;
        hull.ConnX[0] = 0;
        hull.ConnY[0] = 10;
        MakeSetup(1, "hull.png", hull);
        PartSetup wing;
        wing.PrototypeIndex = 1;
        wing.OffsetX = 10;
        wing.OffsetY = 5;
        MakeSetup(1, "wing.png", wing);
        MakePrototypes(1, {{"hull", {kActive | 2, 0, 0, 0, 0, 0, 0, 0}}, {"wing"}});
        OpenDesign(1);
        ClickGadget(kGadgetMode);
        ASSERT_EQ(design.TestMode, 1);
    }
    // The hull is centred on (ViewX, ViewY) of the canvas.
    int HullLeft() const { return kShipCanvasScreenX + design.ViewX - 20; }
    int HullTop() const { return kShipCanvasScreenY + design.ViewY - 10; }
};

TEST_F(TestView, TheTestGroupShowsAndTheArrowsMoveTheViewFivePixelsPerFrame) {
    EXPECT_EQ(VisibleGadgets(), Range(0, 24));
    EXPECT_EQ(Gadget_GetText(kGadgetPrototypeCaption), "Design");
    const GadgetRecord* right = FindGadget(kGadgetArrowRight);
    Testing_MouseMove(right->x + 5, right->y + 5);
    Frames(1);
    const int x = design.ViewX;
    Testing_MouseButton(1, true);
    Frames(3);
    Testing_MouseButton(1, false);
    Frames(1);
    EXPECT_EQ(design.ViewX, x + 15);
    EXPECT_EQ(ScreenPixel(HullLeft() + 5, HullTop() + 5), 0x0000FF) << "the canvas shows the moved ship";
    EXPECT_EQ(ScreenPixel(HullLeft(), HullTop()), 0xFFFFFF) << "the root is outlined until something is chosen";
}

TEST_F(TestView, AClickOutsideEveryPartChangesNothing) {
    const int node = design.SelectedNode, connection = design.SelectedConnection;
    ClickAt(510, 355);
    EXPECT_EQ(design.SelectedNode, node);
    EXPECT_EQ(design.SelectedConnection, connection);
    EXPECT_EQ(editor.Palette.Count(), 0);
    EXPECT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 0);
}

TEST_F(TestView, AGreenDotOffersTheOnlyAllowedPartAndAPaletteClickAttachesIt) {
    ClickAt(HullLeft(), HullTop() + 10);  // connection 1 of the hull
    EXPECT_EQ(design.SelectedConnection, 0);
    ASSERT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 1);
    ASSERT_EQ(editor.Palette.Count(), 1);
    const GadgetRecord* button = FindGadget(editor.Palette.At(0)->Button);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->x, 905);
    EXPECT_EQ(button->y, 490);
    ClickAt(button->x + 9, button->y + 9);
    ASSERT_EQ(design.ShipNodes.Count(), 2);
    EXPECT_EQ(design.ShipNodes.At(0)->Child[0], 1);
    EXPECT_EQ(editor.Palette.Count(), 0);
    // The wing's display offset (10, 5) sits on the hull's connection point.
    EXPECT_EQ(ScreenPixel(HullLeft() - 10, HullTop() + 5), 0x00FF00);
}

TEST_F(TestView, ExportingASizeClassWritesBothPicturesAndTheChoiceCanBeMadeAgain) {
    Testing_SetDateNow(1147640820);  // 14 May 2006, 21:07
    ClickRow(kGadgetSaveAs, 2);      // "medium"
    int pictures = 0;
    for (const auto& entry : fs::directory_iterator(work_ / "ShipPics")) {
        ++pictures;
        const std::string name = entry.path().filename().string();
        const int image = Image_Load(kServiceAuto, entry.path().string(), 0);
        ASSERT_NE(image, 0) << name;
        if (name.find("medium") != std::string::npos) {
            EXPECT_EQ(name, "1 - medium - 2006.05.14-21.07.png");
            EXPECT_EQ(Image_Width(image), 48);
            EXPECT_EQ(Image_Height(image), 37);
        } else {
            EXPECT_EQ(name, "1 - 2006.05.14-21.07.png");
            EXPECT_EQ(Image_Width(image), 370);
        }
        Image_Free(image);
    }
    EXPECT_EQ(pictures, 2);
    EXPECT_EQ(Gadget_GetState(kGadgetSaveAs), -1);
}

TEST_F(TestView, ThePrototypeListKeepsItsChoiceAndTheNameStaysUntilModeIsOff) {
    ClickGadget(kGadgetMode);
    ClickRow(kGadgetPrototypeList, 0);  // "hull"
    ClickGadget(kGadgetMode);
    ClickRow(kGadgetPrototypeList, 1);
    ClickRow(kGadgetPrototypeList, 1, kRightButton);
    EXPECT_EQ(Gadget_GetState(kGadgetPrototypeList), 0);
    ClickGadget(kGadgetPrototypeName);
    Testing_TypeText("Z");
    Frames(1);
    EXPECT_EQ(Gadget_GetText(kGadgetPrototypeName), "hull") << "nothing is renamed in the test view";
    ClickGadget(kGadgetMode);
    EXPECT_FALSE(Visible(kGadgetReset));
    ClickGadget(kGadgetPrototypeName);
    Testing_TypeText("X");
    Frames(1);
    ClickGadget(kGadgetSave);
    EXPECT_EQ(SavedNames(DesignDir(1) / "Prototypes.pt"), (std::vector<std::string>{"hullX", "wing"}));
}

// Every gadget of every panel clicked, sensible or not: nothing crashes, and
// the design's files stay whole.
TEST_F(Commands, ClickingEverythingInEveryPanelNeverDamagesTheDesign) {
    MakePicture(1, "hull.png", 40, 20, 0x0000FF);
    PartSetup hull;
    hull.ConnExtra[2] = 99;
    MakeSetup(1, "hull.png", hull);
    MakePrototypes(1, {{"hull", {kActive | 1, 0, 0, 0, 0, 0, 0, 0}}});
    const auto prototypes = FileBytes(DesignDir(1) / "Prototypes.pt");
    for (int round = 0; round < 2; ++round) {
        for (const GadgetLayout& layout : kEditorLayout) {
            if (layout.number == kGadgetQuit || layout.number == kGadgetSave || layout.number == kGadgetNew) continue;
            ClickAt(layout.x + layout.width / 2, layout.y + layout.height / 2);
            ClickAt(layout.x + 3, layout.y + layout.height - 3);
        }
        if (round == 0) {
            OpenDesign(1);
            ClickRow(kGadgetDesignImages, 0);  // the second round starts in its setup
        }
    }
    EXPECT_EQ(editor.QuitRequested, 0);
    EXPECT_EQ(FileBytes(DesignDir(1) / "Prototypes.pt"), prototypes) << "untouched without Save";
    // The setup file holds what the panel showed last: points on the picture, the rest kept.
    if (Visible(kGadgetSetupOK)) ClickGadget(kGadgetSetupOK);
    PartSetup saved;
    ASSERT_NE(ReadSetupFile((DesignDir(1) / "hull.png.spset").string(), saved), 0);
    EXPECT_EQ(Values(saved), Values(design.PartSetup));
    EXPECT_EQ(saved.ConnExtra[2], 99);
    for (int i = 0; i < kConnections; ++i) {
        EXPECT_TRUE(saved.ConnX[i] >= 0 && saved.ConnX[i] <= 40 && saved.ConnY[i] >= 0 && saved.ConnY[i] <= 20) << i;
    }
    EXPECT_TRUE(saved.OffsetX >= 0 && saved.OffsetX <= 40 && saved.OffsetY >= 0 && saved.OffsetY <= 20);
}

TEST_F(Commands, RemoveTakesTheChosenImageOffTheList) {
    for (const char* name : {"a.png", "b.png"}) {
        MakePicture(1, name, 10, 10, 0x0000FF);
        MakeSetup(1, name, PartSetup{});
    }
    OpenDesign(1);
    const int b = RowOf(kGadgetDesignImages, "b.png");
    ClickRow(kGadgetDesignImages, b, kRightButton);  // chosen without opening its setup
    ClickGadget(kGadgetRemoveImage);
    ASSERT_EQ(Gadget_CountItems(kGadgetDesignImages), 1);
    EXPECT_EQ(Gadget_GetItemText(kGadgetDesignImages, 0), "a.png");
}

TEST_F(Commands, QuitEndsTheLoopAfterItsFrame) {
    ClickGadget(kGadgetQuit);
    EXPECT_EQ(editor.QuitRequested, 1);
}
