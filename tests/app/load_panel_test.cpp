// Opening, making and leaving design folders through the load panel and
// "New": what opens, what stays open, and what the screen keeps showing.
#include "editor_session.h"

namespace {

constexpr std::uint32_t kActive = ConnectionActive;

}  // namespace

class LoadPanel : public EditorSession {
protected:
    // A click on the column titles of a list.
    static void ClickHeader(int number) {
        const GadgetRecord* g = FindGadget(number);
        ASSERT_NE(g, nullptr);
        const auto* list = std::get_if<ColumnListRecord>(&g->kindRecord);
        ASSERT_NE(list, nullptr);
        ClickAt(g->x + 20, g->y + list->headerHeight / 2);
    }
    // The prototype count a saved prototype file starts with.
    int SavedPrototypes(int folder) const {
        const std::vector<std::uint8_t> bytes = FileBytes(DesignDir(folder) / "Prototypes.pt");
        return bytes.size() < 4 ? -1 : bytes[0];
    }
};

TEST_F(LoadPanel, SortingByAColumnTitleNeverOpensTheChosenFolder) {
    fs::create_directories(DesignDir(7));
    ClickGadget(kGadgetLoad);
    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "7"));
    for (int sorts = 0; sorts < 3; ++sorts) {
        ClickHeader(kGadgetFileList);
        EXPECT_EQ(design.DesignFolder, -1) << "sort " << sorts;
        EXPECT_EQ(editor.EditorMode, kLoadPanel);
    }
    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "7"));
    EXPECT_EQ(design.DesignFolder, 7) << "the folder chosen again opens";
}

TEST_F(LoadPanel, OnlyAFolderNamedExactlyByItsNumberOpens) {
    MakePrototypes(7, {{"hull"}});
    const std::string names[] = {"7 (copy)", "7-backup", "007", "12abc"};
    for (const std::string& name : names) {
        fs::create_directories(work_ / "Designs" / name);
        SCOPED_TRACE(name);
        ClickGadget(kGadgetLoad);
        ClickRow(kGadgetFileList, RowOf(kGadgetFileList, name));
        EXPECT_EQ(editor.InfoText,
                  "Design " + name + "\r\nImages: 0\r\nImages with a setup: 0\r\nPrototype(s): 0\r\n"
                  "Not a design number\r\nSample: ");
        ClickRow(kGadgetFileList, RowOf(kGadgetFileList, name));
        EXPECT_EQ(editor.EditorMode, kLoadPanel) << "the refusal stays readable";
        EXPECT_EQ(design.DesignFolder, -1);
        EXPECT_EQ(Gadget_GetText(kGadgetTitle), "No Design");
        EXPECT_EQ(design.Prototypes.Count(), 0);
    }
    ClickGadget(kGadgetLoad);
    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "7"));
    EXPECT_EQ(editor.InfoText.find("Not a design"), std::string::npos);
}

TEST_F(LoadPanel, NewWithoutAFolderShowsNoDesign) {
    MakePrototypes(1, {{"hull"}});
    OpenDesign(1);
    ASSERT_TRUE(Enabled(kGadgetSave));
    fs::remove_all(work_ / "Designs");
    std::ofstream(work_ / "Designs") << "not a folder";
    ClickGadget(kGadgetNew);
    EXPECT_EQ(design.DesignFolder, -1);
    EXPECT_EQ(Gadget_GetText(kGadgetTitle), "No Design");
    EXPECT_FALSE(Enabled(kGadgetSave));
    EXPECT_FALSE(Visible(kGadgetAddImages));
}

TEST_F(LoadPanel, NewTakesTheNextNumberThatReallyBecomesAFolder) {
    fs::create_directories(DesignDir(1));
    std::ofstream(work_ / "Designs" / "2") << "a file";
    fs::create_symlink("nowhere", work_ / "Designs" / "3");
    ClickGadget(kGadgetNew);
    EXPECT_EQ(Gadget_GetText(kGadgetTitle), "Design: 4");
    ClickGadget(kGadgetNew);
    EXPECT_EQ(Gadget_GetText(kGadgetTitle), "Design: 5");
    ClickGadget(kGadgetAddPrototype);
    ClickGadget(kGadgetSave);
    EXPECT_EQ(SavedPrototypes(5), 1);
}

TEST_F(LoadPanel, OkWithoutAChoiceKeepsTheOpenDesignWithItsEdits) {
    MakePicture(1, "hull.png", 20, 10, 0x0000FF);
    MakeSetup(1, "hull.png", PartSetup{});
    MakePrototypes(1, {{"hull"}});
    OpenDesign(1);
    ClickGadget(kGadgetAddPrototype);
    ClickGadget(kGadgetLoad);
    ClickGadget(kGadgetLoadOK);
    EXPECT_EQ(editor.EditorMode, kDesignPanel);
    EXPECT_EQ(design.DesignFolder, 1);
    EXPECT_EQ(Gadget_GetText(kGadgetTitle), "Design: 1");
    EXPECT_EQ(Gadget_CountItems(kGadgetDesignImages), 1);
    ASSERT_TRUE(Enabled(kGadgetSave));
    ClickGadget(kGadgetSave);
    EXPECT_EQ(SavedPrototypes(1), 2);
}

TEST_F(LoadPanel, SwitchingBetweenAddAndLoadLeavesNoPictureOfTheOther) {
    MakePicture(1, "wide.png", 85, 40, 0x0000FF);
    MakePicture(1, "sample.png", 20, 10, 0x00FF00);
    MakeSetup(1, "sample.png", PartSetup{});
    OpenDesign(1);
    ClickGadget(kGadgetAddImages);
    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "wide.png"));
    ASSERT_EQ(ScreenPixel(900, 100), 0x0000FF);
    ClickGadget(kGadgetLoad);
    EXPECT_NE(ScreenPixel(900, 100), 0x0000FF) << "Add's picture over the folder list";

    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "1"));
    ASSERT_EQ(ScreenPixel(860, 155), 0x00FF00);
    ClickGadget(kGadgetAddImages);
    EXPECT_NE(ScreenPixel(860, 155), 0x00FF00) << "the folder's sample over the picture list";
}

TEST_F(LoadPanel, AnotherDesignOpensWithoutThePreviousPrototypeShown) {
    MakePrototypes(1, {{"hull", {kActive | 1, 0, 0, 0, 0, 0, 0, 0}}});
    MakePrototypes(2, {{"mast"}});
    MakePicture(1, "hull.png", 8, 8, 0x0000FF);
    MakeSetup(1, "hull.png", PartSetup{});
    OpenDesign(1);
    ASSERT_EQ(Gadget_CountItems(kGadgetDesignImages), 1);
    ClickRow(kGadgetPrototypeList, 0);
    ClickAt(202, 422 + 33, 2);  // connection 1: its allowed prototypes listed
    ASSERT_EQ(Gadget_CountItems(kGadgetCompatibility), 1);
    ASSERT_EQ(Gadget_GetText(kGadgetPrototypeName), "hull");
    ASSERT_EQ(ScreenPixel(207, 427), 0xFFFFFF);  // inside the preview's square
    OpenDesign(2);
    EXPECT_EQ(Gadget_GetText(kGadgetPrototypeName), "");
    EXPECT_EQ(Gadget_CountItems(kGadgetCompatibility), 0);
    EXPECT_NE(ScreenPixel(207, 427), 0xFFFFFF) << "the old preview";
    EXPECT_EQ(Gadget_CountItems(kGadgetDesignImages), 0) << "the old design's images";
}
