// The test view keeps the design's rules: a part is attached only where the
// rules allow it and nothing is attached yet, a part is swapped only for one
// of its own prototype, and the choices on offer never outlive the selection
// they were made for. The palette stays in its own area, page after page.
#include <functional>
#include <set>

#include "editor_session.h"
#include "ship_assembly.h"

namespace {

constexpr std::uint32_t kActive = ConnectionActive;
constexpr int kHullColour = 0x0000FF;
constexpr int kQuitTop = 730;

}  // namespace

// A 40 x 20 hull whose connection 1, at its left edge, takes a wing or a gun.
class ShipRules : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped()) return;
        MakePicture(1, "hull.png", 40, 20, kHullColour);
        MakePicture(1, "wing.png", 10, 10, 0x00FF00);
        MakePicture(1, "gun.png", 10, 10, 0xFF0000);
        PartSetup hull, wing, gun;
        hull.ConnY[0] = 10;
        wing.PrototypeIndex = 1;
        gun.PrototypeIndex = 2;
        MakeSetup(1, "hull.png", hull);
        MakeSetup(1, "wing.png", wing);
        MakeSetup(1, "gun.png", gun);
        MakePrototypes(1, {{"hull", {kActive | 2 | 4}}, {"wing"}, {"gun"}});
    }
    void StartTestView() {
        OpenDesign(1);
        ClickGadget(kGadgetMode);
        ASSERT_EQ(design.TestMode, 1);
    }
    // The hull is centred on (ViewX, ViewY) of the canvas at (505, 350).
    int HullLeft() const { return kShipCanvasScreenX + design.ViewX - 20; }
    int HullTop() const { return kShipCanvasScreenY + design.ViewY - 10; }
    void ClickFreeConnection() const { ClickAt(HullLeft(), HullTop() + 10); }
    void ClickHull() const { ClickAt(HullLeft() + 30, HullTop() + 5); }
    // Where row `row` of the offered prototypes is drawn while it is there.
    static int OfferedRowY(int row) {
        const GadgetRecord* g = FindGadget(kGadgetOfferedPrototypes);
        const auto& list = std::get<ColumnListRecord>(g->kindRecord);
        int y = g->y + list.headerHeight;
        for (int r = 0; r < row; ++r) y += list.rows[static_cast<std::size_t>(r)].height;
        return y + list.rows[static_cast<std::size_t>(row)].height / 2;
    }
};

TEST_F(ShipRules, AfterAnAttachTheEmptyListOffersNothingAndNothingLandsOnTheTakenConnection) {
    StartTestView();
    ClickFreeConnection();
    ASSERT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 2);
    const int listX = FindGadget(kGadgetOfferedPrototypes)->x + 20, firstRow = OfferedRowY(0);
    ClickAt(listX, firstRow);  // "wing"
    ASSERT_EQ(editor.Palette.Count(), 1);
    ClickAt(PaletteSlotX(0), PaletteSlotY(0));
    ASSERT_EQ(design.ShipNodes.Count(), 2);
    EXPECT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 0) << "the offer ends with the attach";

    // The emptied list and the palette's place: neither puts a hull on the wing's connection.
    ClickAt(listX, firstRow);
    EXPECT_EQ(editor.Palette.Count(), 0);
    ClickAt(PaletteSlotX(0), PaletteSlotY(0));
    EXPECT_EQ(design.ShipNodes.Count(), 2);
    EXPECT_EQ(std::as_const(design.ShipNodes).At(0)->Child[0], 1);
}

TEST_F(ShipRules, RowsOfAnEarlierSelectionNeverGiveAPartAnotherPrototypesPicture) {
    StartTestView();
    ClickFreeConnection();
    ASSERT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 2);
    const int listX = FindGadget(kGadgetOfferedPrototypes)->x + 20, gunRow = OfferedRowY(1);
    ClickHull();
    EXPECT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 0);
    ClickAt(listX, gunRow);
    ClickAt(PaletteSlotX(0), PaletteSlotY(0));
    EXPECT_EQ(ScreenPixel(HullLeft() + 30, HullTop() + 5), kHullColour);
    EXPECT_EQ(std::as_const(design.ShipNodes).At(0)->PrototypeIndex, 0);
}

TEST_F(ShipRules, LeavingTheSelectionClearsTheChoices) {
    StartTestView();
    const struct {
        const char* how;
        std::function<void()> leave;
    } cases[] = {
        {"Reset", [] { ClickGadget(kGadgetReset); }},
        {"Mode off and on", [] {
             ClickGadget(kGadgetMode);
             ClickGadget(kGadgetMode);
         }},
        {"Load", [this] { OpenDesign(1); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        ClickFreeConnection();
        ClickRow(kGadgetOfferedPrototypes, 0);
        ASSERT_EQ(editor.Palette.Count(), 1);
        c.leave();
        EXPECT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 0);
        EXPECT_EQ(editor.Palette.Count(), 0);
        EXPECT_EQ(design.SelectedConnection, -1);
        EXPECT_EQ(design.HighlightedNode, 0);
    }
}

TEST_F(ShipRules, AClickThatSelectsNothingKeepsTheHitLayout) {
    StartTestView();
    const std::uint64_t nodes = design.ShipNodes.Generation(), parts = design.Parts.Generation();
    ClickAt(kShipCanvasScreenX + 5, kShipCanvasScreenY + 5);
    EXPECT_EQ(design.ShipNodes.Generation(), nodes);
    EXPECT_EQ(design.Parts.Generation(), parts);
}

TEST_F(ShipRules, TheMediumPictureRoundsItsShrunkColours) {
    StartTestView();
    ClickRow(kGadgetSaveAs, 2);  // "medium", 48 x 37
    int image = 0;
    for (const auto& entry : fs::directory_iterator(work_ / "ShipPics"))
        if (entry.path().filename().string().find("medium") != std::string::npos)
            image = Image_Load(kServiceAuto, entry.path().string(), 0);
    ASSERT_NE(image, 0);
    ASSERT_NE(Draw_Begin(Draw_ImageOutput(image)), 0);
    // The hull's lower edge covers 39.1 % of one pixel (99.8 of 255) and 10.1 % of its neighbour (25.7).
    EXPECT_EQ(Draw_Point(22, 20), 100);
    EXPECT_EQ(Draw_Point(27, 20), 26);
    Draw_End();
}

// Many parts of the hull's prototype: the palette pages within its own area,
// and no other panel's gadget lies under it.
TEST_F(ShipRules, EveryPartIsReachableWithinThePalettesArea) {
    constexpr int kParts = 76;
    for (int p = 1; p < kParts; ++p) {
        const std::string name = "hull" + std::to_string(p) + ".png";
        MakePicture(1, name, 4, 4, p);
        MakeSetup(1, name, PartSetup{});
    }
    StartTestView();
    ClickHull();
    // Under the setup panel the palette is neither shown nor clicked: its "OK" is.
    const int button = std::as_const(editor.Palette).At(12)->Button;
    ClickRow(kGadgetDesignImages, 0);
    ASSERT_EQ(editor.EditorMode, kSetupPanel);
    EXPECT_FALSE(Visible(button));
    ClickGadget(kGadgetSetupOK);
    EXPECT_EQ(editor.EditorMode, kDesignPanel);
    EXPECT_TRUE(Visible(button));

    std::set<ImageNumber> offered;
    for (int page = 0; page < 2; ++page) {
        std::vector<int> buttons{PalettePageButton()};
        for (int k = 0; k < editor.Palette.Count(); ++k) {
            buttons.push_back(std::as_const(editor.Palette).At(k)->Button);
            offered.insert(std::as_const(editor.Palette).At(k)->PartImage);
        }
        for (int number : buttons) {
            const GadgetRecord* b = FindGadget(number);
            ASSERT_NE(b, nullptr);
            EXPECT_GE(b->x, kPaletteX);
            EXPECT_LE(b->x + b->width, kPaletteX + kPaletteStep * kPaletteColumns);
            EXPECT_GE(b->y, kPaletteY);
            EXPECT_LT(b->y + b->height, kQuitTop);
        }
        if (page == 0) ClickGadget(PalettePageButton());
    }
    EXPECT_EQ(offered.size(), static_cast<std::size_t>(kParts));

    // The last part, on the last page, is one click away; the palette then goes.
    const PaletteEntry last = *std::as_const(editor.Palette).At(editor.Palette.Count() - 1);
    ClickGadget(last.Button);
    EXPECT_EQ(std::as_const(design.ShipNodes).At(0)->Image, last.PartImage);
    EXPECT_EQ(editor.Palette.Count(), 0);
}
