// Choosing among a design's part images: which count as set up, and the
// setup being edited is kept when another image is chosen.
#include "editor_session.h"

namespace {

constexpr std::uint32_t kActive = ConnectionActive;

}  // namespace

class PartImageChoice : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped()) return;
        MakePicture(1, "a.png", 40, 20, 0x0000FF);
        MakePicture(1, "b.png", 40, 20, 0x00FF00);
        MakePrototypes(1, {{"hull", {kActive, 0, 0, 0, 0, 0, 0, 0}}});
    }
};

TEST_F(PartImageChoice, AnEmptySetupFileIsASetup) {
    std::ofstream(DesignDir(1) / "a.png.spset");
    ClickGadget(kGadgetLoad);
    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "1"));
    EXPECT_NE(Gadget_GetText(kGadgetFolderInfo).find("Images with a setup: 1"), std::string::npos);
    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "1"));
    ASSERT_EQ(RowOf(kGadgetDesignImages, "a.png"), 0);
    ClickGadget(kGadgetMode);
    EXPECT_EQ(design.ShipNodes.Count(), 1) << "its part grows the test ship";
}

TEST_F(PartImageChoice, ChoosingAnotherImageSavesTheSetupBeingEdited) {
    PartSetup a;
    a.PrototypeIndex = 0;
    a.ConnX[0] = 7;
    MakeSetup(1, "a.png", a);
    OpenDesign(1);
    ClickGadget(kGadgetAddImages);
    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "b.png"));
    ClickGadget(kGadgetLoadOK);
    ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, "a.png"));
    ClickRow(kGadgetSetupRows, 0);
    HoldKey(kKeyRight, 3);
    ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, "b.png"));
    EXPECT_EQ(design.PartImageName, "b.png");
    PartSetup saved;
    ASSERT_NE(ReadSetupFile((DesignDir(1) / "a.png.spset").string(), saved), 0);
    EXPECT_EQ(saved.OffsetX, 3);
    EXPECT_EQ(saved.ConnX[0], 7);
    EXPECT_EQ(design.PartSetup.ConnX[0], 7) << "b starts from a's connection points";
}
