#include "designs_fixture.h"
#include "paths.h"

#include <type_traits>

#include "prototypes.h"
#include "ship_assembly.h"

// A part's image, a sprite and a plain number (a row, a gadget, a position)
// never stand in for one another without a word at the call.
static_assert(!std::is_convertible_v<int, ImageNumber> && !std::is_convertible_v<ImageNumber, int>);
static_assert(!std::is_convertible_v<int, SpriteNumber> && !std::is_convertible_v<SpriteNumber, int>);
static_assert(!std::is_constructible_v<ImageNumber, SpriteNumber> && !std::is_constructible_v<SpriteNumber, ImageNumber>);
static_assert(!std::is_invocable_v<decltype(&AttachPartAtSelection), int, int>);
// Nor is a prototype's position taken for a node or a connection.
static_assert(!std::is_invocable_v<decltype(&InitNodeConnections), int, int>);
static_assert(!std::is_invocable_v<decltype(&ChooseProtoConnection), int, int>);
static_assert(!std::is_convertible_v<int, PrototypePosition> && !std::is_convertible_v<PrototypePosition, int>);

TEST(DesignModel, StartValues) {
    const DesignState fresh;
    EXPECT_EQ(fresh.DesignFolder, -1);
    EXPECT_EQ(fresh.PartImageName, "");
    EXPECT_EQ(fresh.SelectedProtoConnection, -1);
    EXPECT_EQ(fresh.PreviewVisible, 0);
    EXPECT_EQ(fresh.TestMode, 0);
    EXPECT_EQ(fresh.SelectedNode, 0);
    EXPECT_EQ(fresh.SelectedConnection, 0);
    // The root is outlined until the first selection.
    EXPECT_EQ(fresh.HighlightedNode, 0);
    EXPECT_EQ(fresh.ViewX, 190);
    EXPECT_EQ(fresh.ViewY, 150);
    EXPECT_EQ(fresh.PartSetup.PrototypeIndex, 0);
    EXPECT_EQ(fresh.Prototypes.Count() + fresh.Parts.Count() + fresh.ShipNodes.Count(), 0);
}

TEST(DesignModel, ListPositions) {
    DesignList<ShipNode> nodes;
    EXPECT_EQ(nodes.At(0), nullptr);
    ShipNode& root = nodes.Append();
    for (int child : root.Child) EXPECT_EQ(child, 0);
    EXPECT_EQ(root.Image, ImageNumber{});
    root.Image = ImageNumber{5};
    for (int k = 1; k < 1000; ++k) nodes.Append().PrototypeIndex = k;
    // Appending never moves a record: the root is where it was.
    EXPECT_EQ(nodes.At(0), &root);
    EXPECT_EQ(nodes.At(0)->Image, ImageNumber{5});
    EXPECT_EQ(nodes.Count(), 1000);
    EXPECT_EQ(nodes.At(999)->PrototypeIndex, 999);
    for (int outside : {-1, 1000, -2147483647 - 1, 2147483647}) EXPECT_EQ(nodes.At(outside), nullptr) << outside;
    nodes.Clear();
    EXPECT_EQ(nodes.Count(), 0);
    EXPECT_EQ(nodes.At(0), nullptr);
    // A fresh record after a clear is zero again.
    EXPECT_EQ(nodes.Append().Image, ImageNumber{});

    DesignList<Prototype> prototypes;
    const Prototype& p = prototypes.Append();
    EXPECT_EQ(p.Name, "");
    EXPECT_EQ(p.Index, 0);
    for (std::uint32_t mask : p.ConnectionMask) EXPECT_EQ(mask, 0u);
    for (std::uint8_t byte : p.reserved) EXPECT_EQ(byte, 0);
}

TEST(DesignModel, Paths) {
    design = DesignState{};
    design.BaseDir = "/home/a\\b/";
    const std::string base = design.BaseDir;
    // No folder open: a folder "-1" that is never created.
    EXPECT_EQ(DesignFolderPath(), base + OwnPath("Designs\\-1\\"));
    design.DesignFolder = 12;
    design.PartImageName = "Hull.png";
    EXPECT_EQ(DesignFolderPath(), base + OwnPath("Designs\\12\\"));
    EXPECT_EQ(PartSetupPath(), base + OwnPath("Designs\\12\\Hull.png.spset"));
    EXPECT_EQ(PrototypesPath(), base + OwnPath("Designs\\12\\Prototypes.pt"));
    // Any folder by name; a name from the disk is never translated.
    EXPECT_EQ(DesignsPath(), base + OwnPath("Designs\\"));
    EXPECT_EQ(DesignFolderPath("7"), base + OwnPath("Designs\\7\\"));
    EXPECT_EQ(DesignFolderPath("x\\y"), base + OwnPath("Designs\\") + "x\\y" + OwnPath("\\"));
    design = DesignState{};
}
