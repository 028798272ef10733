// Unsaved prototype edits are never dropped without a word: the Save
// button's mark, the second click "Load" and "Quit" ask for, and the list
// left beside the design's file when the editor is stopped from outside.
#include <csignal>

#include "editor_session.h"
#include "history.h"
#include "title_line.h"
#include "unsaved_work.h"

namespace {

constexpr std::uint32_t kActive = ConnectionActive;

void Undo() {
    Testing_Key(kKeyLeftCtrl, true);
    Testing_Key(kKeyZ, true);
    RunFrame();
    Testing_Key(kKeyZ, false);
    Testing_Key(kKeyLeftCtrl, false);
    RunFrame();
}

bool Warned() { return TitleLineText().find("not saved") != std::string::npos; }

}  // namespace

class UnsavedWork : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped()) return;
        MakePrototypes(1, {{"hull", {kActive}}, {"wing"}});
        MakePrototypes(2, {{"other"}});
        OpenDesign(1);
    }
    fs::path PrototypeFile() const { return DesignDir(1) / "Prototypes.pt"; }
};

TEST_F(UnsavedWork, TheSaveButtonIsMarkedWhileTheListDiffersFromItsFile) {
    EXPECT_EQ(Gadget_GetText(kGadgetSave), "Save");
    ClickGadget(kGadgetAddPrototype);
    EXPECT_EQ(Gadget_GetText(kGadgetSave), "Save *");
    Undo();
    EXPECT_EQ(Gadget_GetText(kGadgetSave), "Save") << "undone back to what the file holds";
    ClickGadget(kGadgetAddPrototype);
    ClickGadget(kGadgetSave);
    EXPECT_EQ(Gadget_GetText(kGadgetSave), "Save");
    Undo();
    EXPECT_EQ(Gadget_GetText(kGadgetSave), "Save *") << "now the file holds three";
    // "New" keeps the list, which its new folder does not hold.
    ClickGadget(kGadgetNew);
    EXPECT_EQ(design.Prototypes.Count(), 2);
    EXPECT_EQ(Gadget_GetText(kGadgetSave), "Save *");
}

TEST_F(UnsavedWork, QuitWithUnsavedEditsWarnsFirstAndQuitsOnTheSecondClick) {
    ClickRow(kGadgetPrototypeList, 0);
    ClickAt(202 + 66, 422);  // connection 3 switched on
    ASSERT_EQ(Gadget_GetText(kGadgetSave), "Save *");
    const auto onDisk = FileBytes(PrototypeFile());

    ClickGadget(kGadgetQuit);
    EXPECT_EQ(editor.QuitRequested, 0);
    EXPECT_TRUE(Warned()) << TitleLineText();
    Testing_AdvanceClock(kTitleMessageMilliseconds * 3);
    Frames(1);
    EXPECT_TRUE(Warned()) << "the warning stays until the next command";

    // Any other command ends the warning: Quit warns again.
    ClickRow(kGadgetPrototypeList, 1);
    EXPECT_FALSE(Warned());
    EXPECT_EQ(TitleLineText(), "Keelwright \u2014 Design 1");
    ClickGadget(kGadgetQuit);
    EXPECT_EQ(editor.QuitRequested, 0);
    ClickGadget(kGadgetQuit);
    EXPECT_EQ(editor.QuitRequested, 1);
    EXPECT_EQ(FileBytes(PrototypeFile()), onDisk) << "discarded, not saved";
}

TEST_F(UnsavedWork, LoadWithUnsavedEditsWarnsFirstAndOpensThePanelOnTheSecondClick) {
    ClickGadget(kGadgetAddPrototype);
    ClickGadget(kGadgetLoad);
    EXPECT_EQ(editor.EditorMode, kDesignPanel);
    EXPECT_TRUE(Warned());
    EXPECT_EQ(design.Prototypes.Count(), 3);
    ClickGadget(kGadgetLoad);
    EXPECT_EQ(editor.EditorMode, kLoadPanel);
    EXPECT_FALSE(Warned());
    const int row = RowOf(kGadgetFileList, "2");
    ClickRow(kGadgetFileList, row);
    ClickRow(kGadgetFileList, row);
    EXPECT_EQ(design.DesignFolder, 2);
    EXPECT_EQ(design.Prototypes.Count(), 1);
    EXPECT_EQ(Gadget_GetText(kGadgetSave), "Save");
}

TEST_F(UnsavedWork, WithNothingUnsavedQuitAndLoadActAtOnce) {
    ClickGadget(kGadgetAddPrototype);
    ClickGadget(kGadgetSave);
    ClickGadget(kGadgetLoad);
    EXPECT_EQ(editor.EditorMode, kLoadPanel);
    EXPECT_FALSE(Warned());
    ClickGadget(kGadgetLoadOK);
    ClickGadget(kGadgetQuit);
    EXPECT_EQ(editor.QuitRequested, 1);
}

// SIGTERM ends the loop at once; the unsaved list goes beside its file.
TEST_F(UnsavedWork, SigtermWithUnsavedEditsWritesTheRecoveredFile) {
    const auto onDisk = FileBytes(PrototypeFile());
    const fs::path recovered = DesignDir(1) / "Prototypes.pt.recovered";
    ClickGadget(kGadgetAddPrototype);

    Signals_Catch();
    std::raise(SIGTERM);
    RunFrameLoop();
    Signals_Release();

    EXPECT_EQ(FileBytes(PrototypeFile()), onDisk) << "never written over";
    ASSERT_TRUE(fs::exists(recovered));
    PrototypeFileReading reading;
    ASSERT_NE(ReadPrototypeList(recovered.string(), &reading), 0);
    EXPECT_EQ(reading.storedCount, 3);
}

TEST_F(UnsavedWork, SigtermWithNothingUnsavedWritesNothing) {
    Signals_Catch();
    std::raise(SIGINT);
    RunFrameLoop();
    Signals_Release();
    EXPECT_FALSE(fs::exists(DesignDir(1) / "Prototypes.pt.recovered"));
}
