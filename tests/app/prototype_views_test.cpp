#include "design_views_fixture.h"
#include "prototypes.h"

namespace {

class PrototypeEditTest : public DesignViewsTest {
protected:
    void AddPrototypes(int n) {
        for (int k = 0; k < n; ++k) AddPrototype();
    }
    std::vector<int> CompatibilityColours() {
        std::vector<int> colours;
        for (int r = 0; r < Gadget_CountItems(kGadgetCompatibility); ++r)
            colours.push_back(RowColour(kGadgetCompatibility, r));
        return colours;
    }
};

constexpr int G = kAllowedColour;
constexpr int N = kNotAllowedColour;

}  // namespace

TEST_F(PrototypeEditTest, AddNamesSelectsAndStopsAt24) {
    AddPrototypes(2);
    ASSERT_EQ(design.Prototypes.Count(), 2);
    EXPECT_EQ(Rows(kGadgetPrototypeList), (std::vector<std::string>{"no name0", "no name1"}));
    const Prototype& added = *design.Prototypes.At(1);
    EXPECT_EQ(added.Index, 1);
    for (std::uint32_t mask : added.ConnectionMask) EXPECT_EQ(mask, 0u);
    EXPECT_EQ(Gadget_GetText(kGadgetPrototypeName), "no name1");
    EXPECT_EQ(SelectedRows(kGadgetPrototypeList), std::vector<int>{1});
    EXPECT_EQ(design.PreviewVisible, 1);
    EXPECT_EQ(design.SelectedProtoConnection, -1);

    AddPrototypes(30);
    EXPECT_EQ(design.Prototypes.Count(), kMaxPrototypes);
    EXPECT_EQ(Gadget_CountItems(kGadgetPrototypeList), kMaxPrototypes);
    EXPECT_EQ(design.Prototypes.At(23)->Name, "no name23");
    EXPECT_EQ(design.Prototypes.At(23)->Index, 23);
    EXPECT_EQ(SelectedRows(kGadgetPrototypeList), std::vector<int>{23});
}

TEST_F(PrototypeEditTest, AddRefusedInTestViewOrWhenLoadedListIsFull) {
    design.TestMode = 1;
    AddPrototype();
    EXPECT_EQ(design.Prototypes.Count(), 0);

    // 24 prototypes loaded but gadget 13 empty: still no position without a mask bit.
    design.TestMode = 0;
    for (int k = 0; k < kMaxPrototypes; ++k) design.Prototypes.Append();
    AddPrototype();
    EXPECT_EQ(design.Prototypes.Count(), kMaxPrototypes);
}

TEST_F(PrototypeEditTest, RenameFollowsTypingWithoutLineEnds) {
    AddPrototypes(3);
    RenamePrototype(1, "engine");
    EXPECT_EQ(design.Prototypes.At(1)->Name, "engine");
    EXPECT_EQ(Rows(kGadgetPrototypeList), (std::vector<std::string>{"no name0", "engine", "no name2"}));
    RenamePrototype(1, std::string("en\rgi\nne\0!", 11));
    EXPECT_EQ(design.Prototypes.At(1)->Name, "engine!");
    EXPECT_EQ(Gadget_GetItemText(kGadgetPrototypeList, 1), "engine!");
    RenamePrototype(0, "");
    EXPECT_EQ(Gadget_GetItemText(kGadgetPrototypeList, 0), "");

    // No prototype there, or in the test view: nothing changes.
    RenamePrototype(-1, "x");
    RenamePrototype(3, "x");
    design.TestMode = 1;
    RenamePrototype(2, "x");
    EXPECT_EQ(Rows(kGadgetPrototypeList), (std::vector<std::string>{"", "engine!", "no name2"}));
}

TEST_F(PrototypeEditTest, ToggleConnectionKeepsAllowedPrototypes) {
    AddPrototypes(1);
    std::uint32_t& mask = design.Prototypes.At(0)->ConnectionMask[3];
    struct Step {
        std::uint32_t before, after;
    };
    const Step steps[] = {
        {0x0, ConnectionActive},
        {ConnectionActive | 0x5, 0x5},
        {0x5, ConnectionActive | 0x5},             // switched on again: the same prototypes allowed
        {0x80000005u, 0x5},                         // unused high bits count as on and are cleared
        {0xFE000000u | 0xFFFFFF, 0xFFFFFF},
    };
    for (const Step& s : steps) {
        mask = s.before;
        ToggleConnectionActive(PrototypePosition{0}, 3);
        EXPECT_EQ(mask, s.after) << std::hex << s.before;
    }
    // Out of range: no effect, no crash.
    ToggleConnectionActive(PrototypePosition{0}, 8);
    ToggleConnectionActive(PrototypePosition{0}, -1);
    ToggleConnectionActive(PrototypePosition{5}, 0);
    EXPECT_EQ(design.Prototypes.At(0)->ConnectionMask, (std::array<std::uint32_t, 8>{0, 0, 0, 0xFFFFFF}));
}

TEST_F(PrototypeEditTest, CompatibilityListShowsTheSelectedConnection) {
    AddPrototypes(3);
    Prototype& p = *design.Prototypes.At(1);
    p.ConnectionMask[2] = ConnectionActive | 0x4 | 0x1;

    // Nothing selected: empty even with a prototype chosen.
    Gadget_AddItem(kGadgetCompatibility, -1, "stale");
    FillCompatibilityList(1);
    EXPECT_EQ(Gadget_CountItems(kGadgetCompatibility), 0);

    // An inactive connection cannot be selected.
    SelectProtoConnection(1, 0);
    EXPECT_EQ(design.SelectedProtoConnection, -1);
    EXPECT_EQ(Gadget_CountItems(kGadgetCompatibility), 0);

    SelectProtoConnection(1, 2);
    EXPECT_EQ(design.SelectedProtoConnection, 2);
    EXPECT_EQ(Rows(kGadgetCompatibility), Rows(kGadgetPrototypeList));
    EXPECT_EQ(CompatibilityColours(), (std::vector<int>{G, N, G}));

    // Another prototype without that connection keeps the selection but allows nothing.
    FillCompatibilityList(0);
    EXPECT_EQ(CompatibilityColours(), (std::vector<int>{N, N, N}));
    FillCompatibilityList(-1);
    EXPECT_EQ(Gadget_CountItems(kGadgetCompatibility), 0);
    FillCompatibilityList(7);
    EXPECT_EQ(Gadget_CountItems(kGadgetCompatibility), 0);
}

TEST_F(PrototypeEditTest, ToggleCompatibilityFlipsSelectedRows) {
    AddPrototypes(4);
    Prototype& p = *design.Prototypes.At(0);
    p.ConnectionMask[5] = ConnectionActive | 0x2;
    SelectProtoConnection(0, 5);
    Gadget_SetItemState(kGadgetCompatibility, 0, 1);
    Gadget_SetItemState(kGadgetCompatibility, 1, 1);
    Gadget_SetItemState(kGadgetCompatibility, 3, 1);
    ToggleCompatibility(0);
    EXPECT_EQ(p.ConnectionMask[5], ConnectionActive | 0x9);
    EXPECT_TRUE(SelectedRows(kGadgetCompatibility).empty());
    EXPECT_EQ(CompatibilityColours(), (std::vector<int>{G, N, N, G}));

    // In the test view, or with no connection shown, nothing flips.
    Gadget_SetItemState(kGadgetCompatibility, 0, 1);
    design.TestMode = 1;
    ToggleCompatibility(0);
    design.TestMode = 0;
    design.SelectedProtoConnection = -1;
    ToggleCompatibility(0);
    EXPECT_EQ(p.ConnectionMask[5], ConnectionActive | 0x9);
}

TEST_F(PrototypeEditTest, RowsPastTheMaskBitsNeverTouchTheActiveFlag) {
    // 30 prototypes from a file written elsewhere.
    for (int k = 0; k < 30; ++k) {
        design.Prototypes.Append().Name = "p" + std::to_string(k);
        Gadget_AddItem(kGadgetPrototypeList, -1, "p" + std::to_string(k));
    }
    Prototype& p = *design.Prototypes.At(2);
    p.ConnectionMask[1] = ConnectionActive | 0x800000;
    SelectProtoConnection(2, 1);
    ASSERT_EQ(Gadget_CountItems(kGadgetCompatibility), 30);
    EXPECT_EQ(RowColour(kGadgetCompatibility, 23), G);
    // Bit 24 is the active flag, not prototype 24.
    EXPECT_EQ(RowColour(kGadgetCompatibility, 24), N);
    for (int r = 23; r < 30; ++r) Gadget_SetItemState(kGadgetCompatibility, r, 1);
    ToggleCompatibility(2);
    EXPECT_EQ(p.ConnectionMask[1], ConnectionActive);
    EXPECT_TRUE(SelectedRows(kGadgetCompatibility).empty());
}
