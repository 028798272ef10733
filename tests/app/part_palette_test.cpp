// The offered prototypes and the part palette, on the test ship's geometry.
#include "design_views_fixture.h"
#include "designs/ship_fixture.h"
#include "part_palette.h"

namespace {

class PaletteTest : public ShipGeometry {
protected:
    void SetUp() override {
        ShipGeometry::SetUp();
        CreateDesignGadgets();
    }
    void TearDown() override {
        FreePartPalette();
        editor = EditorState{};
        Gadget_End();
        ShipGeometry::TearDown();
    }
};

}  // namespace

TEST_F(PaletteTest, AFreeConnectionOffersItsPrototypesAndPalette) {
    for (int i = 0; i < 6; ++i) AddPart(20, 20, 1, kHalfRed);  // seven parts of prototype 1
    const ImageNumber other = AddPart(8, 8, 2, kGreen);
    SelectShipElement(HitAt(100, 115, 0, 100, 100));
    EXPECT_EQ(design.SelectedNode, 0);
    EXPECT_EQ(design.SelectedConnection, 0);
    EXPECT_EQ(design.HighlightedNode, -1);
    EXPECT_EQ(Rows(kGadgetOfferedPrototypes), std::vector<std::string>{"proto1\n1"});
    ASSERT_EQ(editor.Palette.Count(), 7) << "the only choice goes straight to the palette";
    const int positions[7][2] = {{905, 490}, {925, 490}, {945, 490}, {965, 490}, {985, 490}, {905, 510}, {925, 510}};
    for (int k = 0; k < 7; ++k) {
        const GadgetRecord* button = FindGadget(editor.Palette.At(k)->Button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ((std::array<int, 4>{button->kind, button->x, button->y, button->width}),
                  (std::array<int, 4>{GadgetKind_ImageButton, positions[k][0], positions[k][1], 18}));
    }
    const PaletteEntry first = *editor.Palette.At(0);

    // Two allowed prototypes: the user picks one; the old palette is gone.
    SelectShipElement(HitAt(120, 100, 0, 100, 100));
    EXPECT_EQ(Rows(kGadgetOfferedPrototypes), (std::vector<std::string>{"proto1\n1", "proto2\n2"}));
    EXPECT_EQ(editor.Palette.Count(), 0);
    EXPECT_EQ(Gadget_Kind(first.Button), 0);
    EXPECT_EQ(Image_Width(first.Icon), 0);
    Gadget_SetState(kGadgetOfferedPrototypes, 1);
    ChooseOfferedPrototype();
    ASSERT_EQ(editor.Palette.Count(), 1);
    EXPECT_EQ(editor.Palette.At(0)->PartImage, other);
    Gadget_SetState(kGadgetOfferedPrototypes, -1);
    ChooseOfferedPrototype();
    EXPECT_EQ(editor.Palette.Count(), 0) << "no row names no prototype";

    // A click on the root itself offers its prototype's parts for swapping.
    SelectShipElement(HitAt(130, 120, 0, 100, 100));
    EXPECT_EQ(design.SelectedConnection, -1);
    EXPECT_EQ(design.HighlightedNode, 0);
    EXPECT_EQ(editor.Palette.Count(), 1);
}

TEST_F(PaletteTest, IconScalesTheLongerSideTo17Pixels) {
    const ImageNumber wide = AddPart(34, 17, 2, kGreen);
    BuildPartPalette(2);
    ASSERT_EQ(editor.Palette.Count(), 1);
    const PaletteEntry& e = *editor.Palette.At(0);
    EXPECT_EQ(e.PartImage, wide);
    EXPECT_EQ(Image_Width(e.Icon), 16);
    const int icon = Draw_ImageOutput(e.Icon);
    // 17 x 8 at (0, 4); the 17th column falls off the icon.
    for (auto [x, y, colour] : {std::array{0, 3, 0}, {0, 4, 0x00C000}, {15, 11, 0x00C000}, {8, 12, 0}})
        EXPECT_EQ(Pixel(icon, x, y), colour) << x << "," << y;
}

TEST_F(PaletteTest, AttachSwapMoveAndReset) {
    for (int i = 0; i < 3; ++i) AddNode(child, 1);
    design.SelectedNode = 0;
    design.SelectedConnection = 1;
    BuildPartPalette(1);
    AttachPart(0);
    ASSERT_EQ(design.ShipNodes.Count(), 5);
    EXPECT_EQ(design.ShipNodes.At(0)->Child[1], 4);
    EXPECT_EQ(design.ShipNodes.At(4)->Image, child);
    EXPECT_EQ(design.ShipNodes.At(4)->Child[0], ChildInactive);
    EXPECT_EQ(editor.Palette.Count(), 0);
    EXPECT_EQ(design.SelectedConnection, 1);

    const ImageNumber other = AddPart(20, 20, 1, kGreen);
    design.SelectedNode = 4;
    design.SelectedConnection = -1;
    BuildPartPalette(1);
    SwapPart(1);
    EXPECT_EQ(design.ShipNodes.At(4)->Image, other);
    EXPECT_EQ(editor.Palette.Count(), 0);

    design.ViewX = 348;
    BuildPartPalette(1);
    Gadget_AddItem(kGadgetOfferedPrototypes, -1, "proto1\n1");
    ResetShip();
    EXPECT_EQ(design.ShipNodes.Count(), 1);
    EXPECT_EQ(design.ViewX, 190);
    EXPECT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 0);
    EXPECT_EQ(editor.Palette.Count(), 0);
}

TEST_F(PaletteTest, StrayPrototypesOfferNothing) {
    // A node of prototype 30: no connections, no choices, even with a part claiming it.
    AddPart(20, 20, 30, kGreen);
    const int stray = AddNode(child, 30, 0, 3);
    SelectShipElement(HitNode | stray);
    EXPECT_EQ(editor.Palette.Count(), 0);
    design.ShipNodes.At(stray)->Child[0] = ChildFree;
    SelectShipElement(HitConnection | stray);
    EXPECT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 0);
    EXPECT_EQ(editor.Palette.Count(), 0);
    SelectShipElement(HitNode | 77);  // no such node
    EXPECT_EQ(design.SelectedNode, stray);
}

TEST_F(PaletteTest, NoNodeBeyondWhatAHitCodeCanName) {
    while (design.ShipNodes.Count() < kMaxShipNodes) design.ShipNodes.Append();
    design.SelectedNode = 0;
    design.SelectedConnection = 1;
    BuildPartPalette(1);
    AttachPart(0);
    EXPECT_EQ(design.ShipNodes.Count(), kMaxShipNodes);
    EXPECT_EQ(design.ShipNodes.At(0)->Child[1], ChildFree);
    EXPECT_EQ(editor.Palette.Count(), 0);
}
