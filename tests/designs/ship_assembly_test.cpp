#include "ship_fixture.h"


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

TEST_F(ShipGeometry, AttachSwapMoveAndRestart) {
    for (int i = 0; i < 3; ++i) AddNode(child, 1);
    design.SelectedNode = 0;
    design.SelectedConnection = 1;
    EXPECT_EQ(PrototypesAllowedAtSelection(), (std::vector<PrototypePosition>{PrototypePosition{1}, PrototypePosition{2}}));
    EXPECT_EQ(AttachPartAtSelection(child, PrototypePosition{0}), 0) << "prototype 0 is not allowed there";
    ASSERT_EQ(AttachPartAtSelection(child, PrototypePosition{1}), 1);
    ASSERT_EQ(design.ShipNodes.Count(), 5);
    EXPECT_EQ(design.ShipNodes.At(0)->Child[1], 4);
    EXPECT_EQ(design.ShipNodes.At(4)->Image, child);
    EXPECT_EQ(design.ShipNodes.At(4)->Child[0], ChildInactive);
    EXPECT_EQ(design.SelectedConnection, 1);
    EXPECT_EQ(AttachPartAtSelection(child, PrototypePosition{1}), 0) << "the connection is taken now";
    EXPECT_EQ(PrototypesAllowedAtSelection(), (std::vector<PrototypePosition>{PrototypePosition{1}, PrototypePosition{2}})) << "what the rules allow, taken or not";

    const ImageNumber other = AddPart(20, 20, 1, kGreen);
    design.SelectedNode = 4;
    design.SelectedConnection = -1;
    EXPECT_TRUE(PrototypesAllowedAtSelection().empty());
    EXPECT_EQ(SwapPartAtSelection(other, PrototypePosition{2}), 0) << "another prototype breaks the rules";
    EXPECT_EQ(SwapPartAtSelection(other, PrototypePosition{1}), 1);
    EXPECT_EQ(design.ShipNodes.At(4)->Image, other);

    design.ViewX = 348;
    design.ViewY = 3;
    MoveView(5, 0);
    MoveView(5, -5);
    EXPECT_EQ(design.ViewX, 350);
    EXPECT_EQ(design.ViewY, 0);
    EXPECT_EQ(CanvasPixel(349, 10), 0xFF0000) << "redrawn around (350, 0)";

    RestartShip();
    EXPECT_EQ(design.ShipNodes.Count(), 1);
    EXPECT_EQ(design.ShipNodes.At(0)->Child[0], ChildFree);
    EXPECT_EQ(design.ViewX, 190);
    EXPECT_EQ(design.ViewY, 150);
    EXPECT_EQ(design.SelectedNode, 0);
    EXPECT_EQ(design.SelectedConnection, -1);
    EXPECT_EQ(design.HighlightedNode, 0);
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
    EXPECT_EQ(SelectShipHit(HitNode | stray), 1);
    design.ShipNodes.At(stray)->Child[0] = ChildFree;
    EXPECT_EQ(SelectShipHit(HitConnection | stray), 1);
    EXPECT_TRUE(PrototypesAllowedAtSelection().empty());
    EXPECT_FALSE(MayAttach(PrototypePosition{0}));
    EXPECT_EQ(SelectShipHit(HitNode | 77), 0) << "no such node";
    EXPECT_EQ(SelectShipHit(0x3000000 | stray), 0) << "no such kind";
    EXPECT_EQ(design.SelectedNode, stray);
}

TEST_F(ShipGeometry, NoNodeBeyondWhatAHitCodeCanName) {
    while (design.ShipNodes.Count() < kMaxShipNodes) design.ShipNodes.Append();
    design.SelectedNode = 0;
    design.SelectedConnection = 1;
    EXPECT_TRUE(MayAttach(PrototypePosition{1}));
    EXPECT_EQ(AttachPartAtSelection(child, PrototypePosition{1}), 0);
    EXPECT_EQ(design.ShipNodes.Count(), kMaxShipNodes);
    EXPECT_EQ(design.ShipNodes.At(0)->Child[1], ChildFree);

    // Made by hand all the same, it is never reported as node 0.
    const ImageNumber far = AddPart(10, 10, 1, kGreen, -100, -100);
    AddNode(far, 1, 0, 1);
    EXPECT_EQ(HitAt(225, 205, 0, 100, 100), 0u);
    EXPECT_EQ(HitAt(130, 120, 0, 100, 100), HitNode | 0);
}

TEST_F(ShipGeometry, ASelectionIsRedrawnAtOnce) {
    DrawShip(190, 150, 0);
    ASSERT_EQ(CanvasPixel(170, 135), 0xFFFFFF) << "the root starts outlined";
    ASSERT_EQ(SelectShipHit(AtConnection(0, 0)), 1);
    EXPECT_EQ(design.HighlightedNode, -1);
    EXPECT_EQ(CanvasPixel(170, 135), 0xFF0000) << "a chosen connection leaves no node outlined";
    ASSERT_EQ(SelectShipHit(HitNode | 0), 1);
    EXPECT_EQ(CanvasPixel(170, 135), 0xFFFFFF);
}

TEST_F(ShipGeometry, AKeptDesignHitTestsTheShipItKept) {
    // What a click finds belongs to the design state: putting a kept state
    // back finds its own ship, and a fresh state finds nothing.
    EXPECT_EQ(HitAt(130, 120, 0, 100, 100), HitNode | 0);
    const DesignState kept = design;
    AddNode(child, 1, 0, 3);
    EXPECT_EQ(HitAt(135, 110, 0, 100, 100), HitNode | 1);
    design = kept;
    EXPECT_EQ(HitAt(135, 110, 0, 100, 100), HitNode | 0);
    design = DesignState{};
    EXPECT_EQ(HitAt(135, 110, 0, 100, 100), 0u);
    design = kept;
}
