#include "ship_fixture.h"

namespace {

constexpr std::uint32_t kOpaqueBlue = 0xFF0000FF, kHalfRed = 0x80FF0000, kGreen = 0xFF00C000;
constexpr std::uint32_t kOn = ConnectionActive;

std::uint32_t AtConnection(int i, int node) { return HitConnection | (static_cast<std::uint32_t>(i) << 16) | node; }

// Root: 40 x 30 with free connections 0 (0, 15), 1 (20, 0), 2 (24, 0) and 3 (40, 15).
class ShipGeometry : public ShipTest {
protected:
    void SetUp() override {
        ShipTest::SetUp();
        AddPrototype({{0, kOn | 2}, {1, kOn | 2 | 4}, {2, kOn}, {3, kOn}});
        AddPrototype({});
        AddPrototype({});
        root = AddPart(40, 30, 0, kOpaqueBlue, 0, 0, {{0, 0, 15}, {1, 20, 0}, {2, 24, 0}, {3, 40, 15}});
        child = AddPart(20, 20, 1, kHalfRed, 10, 10);
        StartShip();
    }
    int root = 0, child = 0;
};

}  // namespace

TEST_F(ShipGeometry, HitsFreeConnectionsThenChildrenThenTheNode) {
    ASSERT_EQ(design.ShipNodes.Count(), 1);
    EXPECT_EQ(design.ShipNodes.At(0)->Image, root);
    const struct {
        int x, y;
        std::uint32_t code;
    } before[] = {
        {97, 111, AtConnection(0, 0)},   // 3 left, 4 up: distance 5.0
        {96, 111, 0},                    // 4 and 4: about 5.66
        {122, 96, AtConnection(1, 0)},   // within reach of 1 and 2: the lower wins
        {130, 120, HitNode},             // on the picture
        {137, 115, AtConnection(3, 0)},  // within reach of 3 before the picture is tried
        {140, 130, HitNode},             // bottom-right corner, ends included
        {141, 131, 0},
    };
    for (const auto& c : before) EXPECT_EQ(HitAt(c.x, c.y, 0, 100, 100), c.code) << c.x << "," << c.y;

    // A child on connection 3, overlapping its parent: it is found first; its connection has no dot left.
    AddNode(child, 1, 0, 3);
    EXPECT_EQ(HitAt(135, 110, 0, 100, 100), HitNode | 1);
    EXPECT_EQ(HitAt(149, 124, 0, 100, 100), HitNode | 1);
    EXPECT_EQ(HitAt(129, 110, 0, 100, 100), HitNode | 0);
    EXPECT_EQ(HitAt(143, 115, 0, 100, 100), HitNode | 1);
}

TEST_F(ShipGeometry, DrawsBlendedPartsOutlineAndDotsUnlessPlain) {
    AddNode(child, 1, 0, 3);
    // Root centred on (190, 150): top-left (170, 135); the child's top-left (200, 140).
    DrawShip(190, 150, 0);
    // Black canvas, the highlighted root's outline, its inside, dots on free connections 0 and 2.
    for (auto [x, y, colour] : {std::array{0, 0, 0}, {170, 135, 0xFFFFFF}, {209, 164, 0xFFFFFF}, {185, 145, 0xFF0000},
                                {170, 150, 0x00FF00}, {194, 138, 0x00FF00}})
        EXPECT_EQ(CanvasPixel(x, y), colour) << x << "," << y;
    const int overParent = CanvasPixel(205, 150), overBlack = CanvasPixel(215, 150);
    EXPECT_NEAR(overParent & 0xFF, 128, 2) << "half red over blue";
    EXPECT_NEAR(overParent >> 16, 127, 2);
    EXPECT_NEAR(overBlack & 0xFF, 128, 2);
    EXPECT_EQ(overBlack >> 8, 0);

    DrawShip(190, 150, 1);
    for (auto [x, y, colour] : {std::array{170, 135, 0xFF0000}, {170, 150, 0xFF0000}, {194, 138, 0xFF0000}, {168, 150, 0}})
        EXPECT_EQ(CanvasPixel(x, y), colour) << "plain: " << x << "," << y;
}

TEST_F(ShipGeometry, AFreeConnectionOffersItsPrototypesAndPalette) {
    for (int i = 0; i < 6; ++i) AddPart(20, 20, 1, kHalfRed);  // seven parts of prototype 1
    const int other = AddPart(8, 8, 2, kGreen);
    SelectShipElement(HitAt(100, 115, 0, 100, 100));
    EXPECT_EQ(design.SelectedNode, 0);
    EXPECT_EQ(design.SelectedConnection, 0);
    EXPECT_EQ(design.HighlightedNode, -1);
    EXPECT_EQ(Rows(kGadgetOfferedPrototypes), std::vector<std::string>{"proto1\n1"});
    ASSERT_EQ(design.Palette.Count(), 7) << "the only choice goes straight to the palette";
    const int positions[7][2] = {{905, 490}, {925, 490}, {945, 490}, {965, 490}, {985, 490}, {905, 510}, {925, 510}};
    for (int k = 0; k < 7; ++k) {
        const GadgetRecord* button = FindGadget(design.Palette.At(k)->Button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ((std::array<int, 4>{button->kind, button->x, button->y, button->width}),
                  (std::array<int, 4>{GadgetKind_ImageButton, positions[k][0], positions[k][1], 18}));
    }
    const PaletteEntry first = *design.Palette.At(0);

    // Two allowed prototypes: the user picks one; the old palette is gone.
    SelectShipElement(HitAt(120, 100, 0, 100, 100));
    EXPECT_EQ(Rows(kGadgetOfferedPrototypes), (std::vector<std::string>{"proto1\n1", "proto2\n2"}));
    EXPECT_EQ(design.Palette.Count(), 0);
    EXPECT_EQ(Gadget_Kind(first.Button), 0);
    EXPECT_EQ(Image_Width(first.Icon), 0);
    Gadget_SetState(kGadgetOfferedPrototypes, 1);
    ChooseOfferedPrototype();
    ASSERT_EQ(design.Palette.Count(), 1);
    EXPECT_EQ(design.Palette.At(0)->PartImage, other);
    Gadget_SetState(kGadgetOfferedPrototypes, -1);
    ChooseOfferedPrototype();
    EXPECT_EQ(design.Palette.Count(), 0) << "no row names no prototype";

    // A click on the root itself offers its prototype's parts for swapping.
    SelectShipElement(HitAt(130, 120, 0, 100, 100));
    EXPECT_EQ(design.SelectedConnection, -1);
    EXPECT_EQ(design.HighlightedNode, 0);
    EXPECT_EQ(design.Palette.Count(), 1);
}

TEST_F(ShipGeometry, IconScalesTheLongerSideTo17Pixels) {
    const int wide = AddPart(34, 17, 2, kGreen);
    BuildPartPalette(2);
    ASSERT_EQ(design.Palette.Count(), 1);
    const PaletteEntry& e = *design.Palette.At(0);
    EXPECT_EQ(e.PartImage, wide);
    EXPECT_EQ(Image_Width(e.Icon), 16);
    const int icon = Draw_ImageOutput(e.Icon);
    // 17 x 8 at (0, 4); the 17th column falls off the icon.
    for (auto [x, y, colour] : {std::array{0, 3, 0}, {0, 4, 0x00C000}, {15, 11, 0x00C000}, {8, 12, 0}})
        EXPECT_EQ(Pixel(icon, x, y), colour) << x << "," << y;
}

TEST_F(ShipGeometry, AttachSwapMoveAndReset) {
    for (int i = 0; i < 3; ++i) AddNode(child, 1);
    design.SelectedNode = 0;
    design.SelectedConnection = 1;
    BuildPartPalette(1);
    AttachPart(0);
    ASSERT_EQ(design.ShipNodes.Count(), 5);
    EXPECT_EQ(design.ShipNodes.At(0)->Child[1], 4);
    EXPECT_EQ(design.ShipNodes.At(4)->Image, child);
    EXPECT_EQ(design.ShipNodes.At(4)->Child[0], ChildInactive);
    EXPECT_EQ(design.Palette.Count(), 0);
    EXPECT_EQ(design.SelectedConnection, 1);

    const int other = AddPart(20, 20, 1, kGreen);
    design.SelectedNode = 4;
    design.SelectedConnection = -1;
    BuildPartPalette(1);
    SwapPart(1);
    EXPECT_EQ(design.ShipNodes.At(4)->Image, other);
    EXPECT_EQ(design.Palette.Count(), 0);

    design.ViewX = 348;
    design.ViewY = 3;
    MoveView(5, 0);
    MoveView(5, -5);
    EXPECT_EQ(design.ViewX, 350);
    EXPECT_EQ(design.ViewY, 0);
    EXPECT_EQ(CanvasPixel(349, 10), 0xFF0000) << "redrawn around (350, 0)";

    Gadget_AddItem(kGadgetOfferedPrototypes, -1, "proto1\n1");
    ResetShip();
    EXPECT_EQ(design.ShipNodes.Count(), 1);
    EXPECT_EQ(design.ShipNodes.At(0)->Child[0], ChildFree);
    EXPECT_EQ(design.ViewX, 190);
    EXPECT_EQ(design.ViewY, 150);
    EXPECT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 0);
    EXPECT_EQ(CanvasPixel(349, 10), 0);
}

TEST_F(ShipGeometry, DamagedTreesAndStrayPrototypesAreSkipped) {
    // Child slots naming no node, an odd negative, and the root itself.
    ShipNode& r = *design.ShipNodes.At(0);
    r.Child = {99, -7, 0, ChildFree, ChildInactive, ChildInactive, ChildInactive, ChildInactive};
    DrawShip(190, 150, 0);
    EXPECT_EQ(HitAt(130, 120, 0, 100, 100), HitNode | 0);
    EXPECT_EQ(HitAt(140, 115, 0, 100, 100), AtConnection(3, 0));

    // A node of prototype 30: no connections, no choices, even with a part claiming it.
    AddPart(20, 20, 30, kGreen);
    const int stray = AddNode(child, 30, 0, 3);
    for (int c : design.ShipNodes.At(stray)->Child) EXPECT_EQ(c, ChildInactive);
    SelectShipElement(HitNode | stray);
    EXPECT_EQ(design.Palette.Count(), 0);
    design.ShipNodes.At(stray)->Child[0] = ChildFree;
    SelectShipElement(HitConnection | stray);
    EXPECT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 0);
    EXPECT_EQ(design.Palette.Count(), 0);
    SelectShipElement(HitNode | 77);  // no such node
    EXPECT_EQ(design.SelectedNode, stray);
}

TEST_F(ShipGeometry, DeepChainsNeedNoDeepRecursion) {
    const int link = AddPart(12, 12, 2, kGreen, 0, 0, {{0, 1, 0}});
    design.Prototypes.At(2)->ConnectionMask[0] = kOn;
    int last = AddNode(link, 2, 0, 0);
    for (int i = 0; i < 50000; ++i) last = AddNode(link, 2, last, 0);
    DrawShip(190, 150, 0);
    // Each link starts one pixel right of its parent, the first at (100, 115): the deepest lies on top.
    const int left = 100 + last - 1;
    EXPECT_EQ(HitAt(left + 10, 125, 0, 100, 100), HitNode | static_cast<std::uint32_t>(last));
    EXPECT_EQ(HitAt(left + 4, 119, 0, 100, 100), AtConnection(0, last));
    EXPECT_EQ(HitAt(left + 12, 115, 0, 100, 100), HitNode | static_cast<std::uint32_t>(last));
}

TEST_F(ShipGeometry, NoNodeBeyondWhatAHitCodeCanName) {
    while (design.ShipNodes.Count() < kMaxShipNodes) design.ShipNodes.Append();
    design.SelectedNode = 0;
    design.SelectedConnection = 1;
    BuildPartPalette(1);
    AttachPart(0);
    EXPECT_EQ(design.ShipNodes.Count(), kMaxShipNodes);
    EXPECT_EQ(design.ShipNodes.At(0)->Child[1], ChildFree);
    EXPECT_EQ(design.Palette.Count(), 0);

    // Made by hand all the same, it is never reported as node 0.
    const int far = AddPart(10, 10, 1, kGreen, -100, -100);
    AddNode(far, 1, 0, 1);
    EXPECT_EQ(HitAt(225, 205, 0, 100, 100), 0u);
    EXPECT_EQ(HitAt(130, 120, 0, 100, 100), HitNode | 0);
}
