// The prototype edits on the model alone; their views are the app's.
#include "designs_fixture.h"
#include "prototypes.h"

TEST_F(DesignsTest, AppendingNamesByPositionAndStopsAt24OrInTheTestView) {
    for (int k = 0; k < 30; ++k) AppendPrototype();
    ASSERT_EQ(design.Prototypes.Count(), kMaxPrototypes);
    EXPECT_EQ(design.Prototypes.At(23)->Name, "no name23");
    EXPECT_EQ(design.Prototypes.At(23)->Index, 23);
    EXPECT_EQ(design.CurrentPrototype, 23);
    EXPECT_EQ(AppendPrototype(), -1);

    design = DesignState{};
    design.TestMode = 1;
    EXPECT_EQ(AppendPrototype(), -1);
    EXPECT_EQ(design.Prototypes.Count(), 0);
}

TEST_F(DesignsTest, RenamingKeepsOneLineAndTellsAChange) {
    AppendPrototype();
    EXPECT_EQ(SetPrototypeName(PrototypePosition{0}, std::string("a\r\nb\0c", 6)), 1);
    EXPECT_EQ(design.Prototypes.At(0)->Name, "abc");
    EXPECT_EQ(SetPrototypeName(PrototypePosition{0}, "abc"), 0) << "the same name is no change";
    EXPECT_EQ(SetPrototypeName(PrototypePosition{1}, "none"), 0);
    design.TestMode = 1;
    EXPECT_EQ(SetPrototypeName(PrototypePosition{0}, "test view"), 0);
    EXPECT_EQ(design.Prototypes.At(0)->Name, "abc");
}

TEST_F(DesignsTest, ConnectionsSwitchAndAllowWithinTheMaskBits) {
    AppendPrototype();
    EXPECT_EQ(ChooseProtoConnection(PrototypePosition{0}, 2), 0) << "an inactive connection cannot be shown";
    ToggleConnectionActive(PrototypePosition{0}, 2);
    EXPECT_EQ(design.Prototypes.At(0)->ConnectionMask[2], ConnectionActive);
    ASSERT_EQ(ChooseProtoConnection(PrototypePosition{0}, 2), 1);
    EXPECT_EQ(design.SelectedProtoConnection, 2);
    for (int bad : {-1, 8}) EXPECT_EQ(ChooseProtoConnection(PrototypePosition{0}, bad), 0) << bad;

    // Positions past 23 have no bit: the active flag is never flipped by them.
    ToggleAllowedPrototypes(PrototypePosition{0}, {0, 3, 23, 24, 31, -1});
    EXPECT_EQ(design.Prototypes.At(0)->ConnectionMask[2], ConnectionActive | 0x800009u);
    ToggleAllowedPrototypes(PrototypePosition{0}, {3});
    EXPECT_EQ(design.Prototypes.At(0)->ConnectionMask[2], ConnectionActive | 0x800001u);

    // Off keeps the allowed prototypes for when it comes back on; any high bit counts as on.
    ToggleConnectionActive(PrototypePosition{0}, 2);
    EXPECT_EQ(design.Prototypes.At(0)->ConnectionMask[2], 0x800001u);
    design.Prototypes.At(0)->ConnectionMask[4] = 0x80000000u;
    ToggleConnectionActive(PrototypePosition{0}, 4);
    EXPECT_EQ(design.Prototypes.At(0)->ConnectionMask[4], 0u);

    design.TestMode = 1;
    ToggleAllowedPrototypes(PrototypePosition{0}, {5});
    EXPECT_EQ(design.Prototypes.At(0)->ConnectionMask[2], 0x800001u) << "nothing changes in the test view";
}
