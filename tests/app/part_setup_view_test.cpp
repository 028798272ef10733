#include "design_views_fixture.h"
#include "part_setup.h"

namespace {

class PartSetupViewTest : public DesignViewsTest {
protected:
    std::vector<int> ConnectionRowColours() {
        std::vector<int> colours;
        for (int row = 1; row <= kConnections; ++row) colours.push_back(RowColour(kGadgetSetupRows, row));
        return colours;
    }
};

}  // namespace

TEST_F(PartSetupViewTest, LoadFillsRowsAndColoursByPrototype) {
    AddTwoPrototypes();
    PartSetup s;
    s.OffsetX = 5;
    s.OffsetY = 6;
    s.PrototypeIndex = 1;
    for (int i = 0; i < kConnections; ++i) {
        s.ConnX[i] = 10 * i;
        s.ConnY[i] = -i;
        s.ConnExtra[i] = 77;
    }
    ASSERT_EQ(WriteSetupFile((Folder() / "Gun.png.spset").string(), s), 1);
    design.PartImageName = "Gun.png";
    Gadget_AddItem(kGadgetSetupPrototype, -1, "stale");
    Gadget_AddItem(kGadgetSetupRows, -1, "stale");
    LoadPartSetup();

    EXPECT_EQ(design.PartSetup, s);
    EXPECT_EQ(Rows(kGadgetSetupPrototype), (std::vector<std::string>{"hull", "gun"}));
    EXPECT_EQ(SelectedRows(kGadgetSetupPrototype), std::vector<int>{1});
    const std::vector<std::string> rows = Rows(kGadgetSetupRows);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0], "Display Offset\n5\n6");
    EXPECT_EQ(rows[1], "Connection 1\n0\n0");
    EXPECT_EQ(rows[8], "Connection 8\n70\n-7");
    EXPECT_EQ(Gadget_GetCellText(kGadgetSetupRows, 4, 1), "30");
    const int L = kActiveRowColour, D = kInactiveRowColour;
    EXPECT_EQ(ConnectionRowColours(), (std::vector<int>{L, D, D, L, D, D, D, D}));
    // The display offset row keeps its own colour.
    EXPECT_EQ(RowColour(kGadgetSetupRows, 0), -1);

    // Another prototype for the same setup recolours the rows.
    design.PartSetup.PrototypeIndex = 0;
    ColorConnectionRows();
    EXPECT_EQ(ConnectionRowColours(), std::vector<int>(8, D));
}

TEST_F(PartSetupViewTest, PrototypeNoneOrUnknownGivesDarkRowsAndNoChoice) {
    AddTwoPrototypes();
    for (std::int32_t prototype : {-1, 2, 99, -5}) {
        PartSetup s;
        s.PrototypeIndex = prototype;
        design.PartSetup = s;
        design.PartImageName = "Hull.png";
        SavePartSetup();
        design.PartSetup = PartSetup{};
        LoadPartSetup();
        // Stored as it was; shown as no choice.
        EXPECT_EQ(design.PartSetup.PrototypeIndex, prototype);
        EXPECT_EQ(ConnectionRowColours(), std::vector<int>(8, kInactiveRowColour)) << prototype;
        EXPECT_TRUE(SelectedRows(kGadgetSetupPrototype).empty()) << prototype;
        EXPECT_EQ(Gadget_CountItems(kGadgetSetupPrototype), 2);
    }
}

TEST_F(PartSetupViewTest, NeverSetUpImageStartsFromTheLastConnectionPoints) {
    AddTwoPrototypes();
    design.PartImageName = "A.png";
    LoadPartSetup();
    EXPECT_EQ(design.PartSetup.PrototypeIndex, -1);
    design.PartSetup.OffsetX = 12;
    design.PartSetup.OffsetY = 13;
    design.PartSetup.PrototypeIndex = 1;
    for (int i = 0; i < kConnections; ++i) {
        design.PartSetup.ConnX[i] = 40 + i;
        design.PartSetup.ConnY[i] = 50 + i;
    }
    // A as the editor left it; B was never set up.
    ASSERT_EQ(WriteSetupFile(PartSetupPath(), design.PartSetup), 1);
    design.PartImageName = "B.png";
    EXPECT_EQ(LoadPartSetup(), 0);
    EXPECT_EQ(design.PartSetup.OffsetX, 0);
    EXPECT_EQ(design.PartSetup.OffsetY, 0);
    EXPECT_EQ(design.PartSetup.PrototypeIndex, -1);
    for (int i = 0; i < kConnections; ++i) {
        EXPECT_EQ(design.PartSetup.ConnX[i], 40 + i);
        EXPECT_EQ(design.PartSetup.ConnY[i], 50 + i);
    }
    EXPECT_EQ(Gadget_GetItemText(kGadgetSetupRows, 0), "Display Offset\n0\n0");
    EXPECT_EQ(Gadget_GetItemText(kGadgetSetupRows, 3), "Connection 3\n42\n52");
    EXPECT_FALSE(std::filesystem::exists(Folder() / "B.png.spset"));

    // A comes back as saved.
    design.PartImageName = "A.png";
    EXPECT_EQ(LoadPartSetup(), 1);
    EXPECT_EQ(design.PartSetup.OffsetX, 12);
    EXPECT_EQ(SelectedRows(kGadgetSetupPrototype), std::vector<int>{1});
}
