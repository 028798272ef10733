// Undo and redo through whole frames: each kind of edit taken back with
// Ctrl+Z and made again with Ctrl+Y or Ctrl+Shift+Z, checked on the files
// Save and OK write, on the lists and on the test ship; the history's bounds.
#include <functional>
#include <utility>

#include "editor_session.h"
#include "history.h"
#include "prototype_bytes.h"
#include "ship_assembly.h"

namespace {

constexpr std::uint32_t kActive = ConnectionActive;
constexpr int kRightButton = 2;

// Ctrl (and Shift) held while `key` is pressed, for one frame each way.
void PressWithCtrl(int key, bool shift = false) {
    Testing_Key(kKeyLeftCtrl, true);
    if (shift) Testing_Key(kKeyLeftShift, true);
    Testing_Key(key, true);
    RunFrame();
    Testing_Key(key, false);
    if (shift) Testing_Key(kKeyLeftShift, false);
    Testing_Key(kKeyLeftCtrl, false);
    RunFrame();
}
void Undo() { PressWithCtrl(kKeyZ); }
void Redo() { PressWithCtrl(kKeyY); }
void RedoWithShift() { PressWithCtrl(kKeyZ, true); }

// Nodes reachable from the root, the root included.
int ReachableNodes() {
    const auto& nodes = std::as_const(design.ShipNodes);
    if (nodes.Count() == 0) return 0;
    std::vector<int> stack{0};
    std::vector<bool> seen(static_cast<std::size_t>(nodes.Count()), false);
    int count = 0;
    while (!stack.empty()) {
        const int n = stack.back();
        stack.pop_back();
        if (n < 0 || n >= nodes.Count() || seen[static_cast<std::size_t>(n)]) continue;
        seen[static_cast<std::size_t>(n)] = true;
        ++count;
        for (std::int32_t child : nodes.At(n)->Child) stack.push_back(child);
    }
    return count;
}

}  // namespace

// A hull (40 x 20) whose connection 1, at its left edge, takes a wing or a gun.
class History : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped()) return;
        MakePicture(1, "hull.png", 40, 20, 0x0000FF);
        MakePicture(1, "wing.png", 10, 10, 0x00FF00);
        MakePicture(1, "gun.png", 10, 10, 0xFF0000);
        PartSetup hull, wing, gun;
        hull.ConnY[0] = 10;
        wing.PrototypeIndex = 1;
        gun.PrototypeIndex = 2;
        MakeSetup(1, "hull.png", hull);
        MakeSetup(1, "wing.png", wing);
        MakeSetup(1, "gun.png", gun);
        MakePrototypes(1, {{"hull", {kActive | 2 | 4}}, {"wing"}, {"gun"}});
        OpenDesign(1);
    }
    fs::path PrototypeFile() const { return DesignDir(1) / "Prototypes.pt"; }
    // What "Save" writes now.
    std::vector<std::uint8_t> SavedList() {
        ClickGadget(kGadgetSave);
        return FileBytes(PrototypeFile());
    }
    PartSetup SavedSetup(const std::string& image) const {
        PartSetup saved;
        EXPECT_NE(ReadSetupFile((DesignDir(1) / (image + ".spset")).string(), saved), 0);
        return saved;
    }
    std::vector<std::string> ImageRows() const {
        std::vector<std::string> rows;
        for (int r = 0; r < Gadget_CountItems(kGadgetDesignImages); ++r) rows.push_back(Gadget_GetItemText(kGadgetDesignImages, r));
        return rows;
    }
    void StartTestView() {
        ClickGadget(kGadgetMode);
        ASSERT_EQ(design.TestMode, 1);
    }
    int HullLeft() const { return kShipCanvasScreenX + design.ViewX - 20; }
    int HullTop() const { return kShipCanvasScreenY + design.ViewY - 10; }
    // The hull's free connection chosen, then the only wing part attached there.
    void AttachWing() {
        ClickAt(HullLeft(), HullTop() + 10);
        ASSERT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 2);
        ClickRow(kGadgetOfferedPrototypes, 0);
        ASSERT_GE(editor.Palette.Count(), 1);
        ClickAt(PaletteSlotX(0), PaletteSlotY(0));
    }
};

// Each edit of the prototype list: after it, Save writes one list; after
// Ctrl+Z the list as it was, and after a redo (either key) the edited one.
TEST_F(History, EachPrototypeEditIsUndoneAndRedoneAsSaveWritesIt) {
    struct Edit {
        const char* name;
        std::function<void()> make;
    };
    const Edit edits[] = {
        {"add", [] { ClickGadget(kGadgetAddPrototype); }},
        {"rename: one visit of the field is one step",
         [] {
             ClickRow(kGadgetPrototypeList, 1);
             ClickGadget(kGadgetPrototypeName);
             Testing_TypeText("X");
             Frames(1);
             Testing_TypeText("Y");
             Frames(1);
             ASSERT_EQ(std::as_const(design.Prototypes).At(1)->Name, "wingXY");
         }},
        {"connection switched on",
         [] {
             ClickRow(kGadgetPrototypeList, 0);
             ClickAt(202 + 66, 422);  // connection 3
         }},
        {"compatibility flipped",
         [] {
             ClickRow(kGadgetPrototypeList, 0);
             ClickAt(202, 422 + 33, kRightButton);  // connection 1, active
             ClickRow(kGadgetCompatibility, 0);
         }},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        const auto before = SavedList();
        edit.make();
        const auto after = SavedList();
        ASSERT_NE(after, before);
        EXPECT_EQ(UndoSteps(), 1);
        Undo();
        EXPECT_EQ(SavedList(), before);
        EXPECT_EQ(Gadget_CountItems(kGadgetPrototypeList), design.Prototypes.Count());
        Redo();
        EXPECT_EQ(SavedList(), after);
        Undo();
        RedoWithShift();
        EXPECT_EQ(SavedList(), after);
        Undo();
        EXPECT_EQ(SavedList(), before);
        ClickRow(kGadgetPrototypeList, 0);  // choosing is no edit: nothing to undo, the next edit starts afresh
        EXPECT_EQ(UndoSteps(), 0);
        EXPECT_EQ(RedoSteps(), 1);
        ResetHistory();
    }
}

TEST_F(History, UndoInsideTheNameFieldTakesBackTheWholeRenameAndShowsTheName) {
    ClickRow(kGadgetPrototypeList, 0);
    ClickGadget(kGadgetPrototypeName);
    for (const char* typed : {"a", "b", "c"}) {
        Testing_TypeText(typed);
        Frames(1);
    }
    Undo();
    EXPECT_EQ(std::as_const(design.Prototypes).At(0)->Name, "hull");
    EXPECT_EQ(Gadget_GetText(kGadgetPrototypeName), "hull");
    EXPECT_EQ(Gadget_GetItemText(kGadgetPrototypeList, 0), "hull");
    // Typing on after the undo is a new step and the redo is gone.
    Testing_TypeText("d");
    Frames(1);
    EXPECT_EQ(std::as_const(design.Prototypes).At(0)->Name, "hulld");
    EXPECT_EQ(RedoSteps(), 0);
    Redo();
    EXPECT_EQ(std::as_const(design.Prototypes).At(0)->Name, "hulld");
    Undo();
    EXPECT_EQ(std::as_const(design.Prototypes).At(0)->Name, "hull");
}

TEST_F(History, AddingAndRemovingImagesIsUndoneInTheList) {
    const std::vector<std::string> start = ImageRows();
    ClickGadget(kGadgetAddImages);
    ClickRow(kGadgetFileList, RowOf(kGadgetFileList, "gun.png"));
    ClickGadget(kGadgetLoadOK);
    std::vector<std::string> added = start;
    added.push_back("gun.png");
    ASSERT_EQ(ImageRows(), added);

    // The row chosen opens its setup; back on the design panel it is the one removed.
    ClickRow(kGadgetDesignImages, 1);
    ClickGadget(kGadgetSetupOK);
    EXPECT_EQ(UndoSteps(), 1) << "choosing is no edit";
    ClickGadget(kGadgetRemoveImage);
    std::vector<std::string> removed = added;
    removed.erase(removed.begin() + 1);
    ASSERT_EQ(ImageRows(), removed);

    Undo();
    EXPECT_EQ(ImageRows(), added);
    EXPECT_EQ(Gadget_GetState(kGadgetDesignImages), 1) << "the row put back is the chosen one";
    Undo();
    EXPECT_EQ(ImageRows(), start);
    Undo();
    EXPECT_EQ(ImageRows(), start) << "nothing more to undo";
    Redo();
    Redo();
    EXPECT_EQ(ImageRows(), removed);
}

// A setup edit undone after its panel was left opens that image's panel
// again with the value as it was; OK then writes it.
TEST_F(History, ASetupPointMoveUndoneAfterOKReopensThePanelAndOKWritesItBack) {
    ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, "hull.png"));
    ASSERT_EQ(editor.EditorMode, kSetupPanel);
    ClickRow(kGadgetSetupRows, 1);  // connection 1 at (0, 10)
    const int left = editor.SetupOriginX + 510, top = editor.SetupOriginY + 80;
    ClickAt(left + RoundHalfEven(30 * editor.SetupZoom), top + RoundHalfEven(5 * editor.SetupZoom));
    ClickGadget(kGadgetSetupOK);
    EXPECT_EQ(SavedSetup("hull.png").ConnX[0], 30);
    EXPECT_EQ(SavedSetup("hull.png").ConnY[0], 5);
    ASSERT_EQ(editor.EditorMode, kDesignPanel);

    Undo();
    EXPECT_EQ(editor.EditorMode, kSetupPanel);
    EXPECT_EQ(design.PartImageName, "hull.png");
    EXPECT_EQ(Gadget_GetCellText(kGadgetSetupRows, 1, 1), "0");
    EXPECT_EQ(Gadget_GetCellText(kGadgetSetupRows, 1, 2), "10");
    EXPECT_EQ(Gadget_GetText(kGadgetPointX), "0");
    ClickGadget(kGadgetSetupOK);
    EXPECT_EQ(SavedSetup("hull.png").ConnX[0], 0);
    EXPECT_EQ(SavedSetup("hull.png").ConnY[0], 10);

    Redo();
    ClickGadget(kGadgetSetupOK);
    EXPECT_EQ(SavedSetup("hull.png").ConnX[0], 30);
}

TEST_F(History, OneHeldKeyAndOneTypedValueAreOneStepEach) {
    ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, "hull.png"));
    ClickRow(kGadgetSetupRows, 0);  // display offset (0, 0)
    HoldKey(kKeyRight, 6);
    HoldKey(kKeyDown, 3);
    ClickGadget(kGadgetPointX);
    for (int i = 0; i < 3; ++i) HoldKey(kKeyBackspace, 1);
    Testing_TypeText("17");
    Frames(1);
    HoldKey(kKeyReturn, 1);
    ASSERT_EQ(design.PartSetup.OffsetX, 17);
    const int movedY = design.PartSetup.OffsetY;
    ASSERT_GT(movedY, 1);
    ClickGadget(kGadgetClear);  // only clicks
    EXPECT_EQ(UndoSteps(), 3);

    Undo();
    const int afterRight = design.PartSetup.OffsetX;
    EXPECT_GT(afterRight, 1) << "the typed value taken back";
    EXPECT_NE(afterRight, 17);
    EXPECT_EQ(design.PartSetup.OffsetY, movedY);
    Undo();
    EXPECT_EQ(design.PartSetup.OffsetY, 0) << "the whole hold of the down key at once";
    EXPECT_EQ(design.PartSetup.OffsetX, afterRight);
    Undo();
    EXPECT_EQ(design.PartSetup.OffsetX, 0);
    ClickGadget(kGadgetSetupOK);
    EXPECT_EQ(SavedSetup("hull.png").OffsetX, 0);
    EXPECT_EQ(SavedSetup("hull.png").OffsetY, 0);
}

TEST_F(History, TheSetupsPrototypeChoiceIsUndoneInItsPanel) {
    ClickRow(kGadgetDesignImages, RowOf(kGadgetDesignImages, "gun.png"));
    ClickRow(kGadgetSetupPrototype, 1);  // "wing"
    ClickGadget(kGadgetSetupOK);
    ASSERT_EQ(SavedSetup("gun.png").PrototypeIndex, 1);
    Undo();
    EXPECT_EQ(editor.EditorMode, kSetupPanel);
    EXPECT_EQ(Gadget_GetState(kGadgetSetupPrototype), 2);
    ClickGadget(kGadgetSetupOK);
    EXPECT_EQ(SavedSetup("gun.png").PrototypeIndex, 2);
}

TEST_F(History, ANewEditDropsTheRedoSteps) {
    ClickGadget(kGadgetAddPrototype);
    ClickGadget(kGadgetAddPrototype);
    Undo();
    EXPECT_EQ(RedoSteps(), 1);
    ClickRow(kGadgetPrototypeList, 0);
    ClickAt(202 + 66, 422);  // connection 3 switched on
    EXPECT_EQ(RedoSteps(), 0);
    Redo();
    EXPECT_EQ(design.Prototypes.Count(), 4);
    EXPECT_EQ(UndoSteps(), 2);
}

TEST_F(History, OpeningADesignOrNewStartsAFreshHistory) {
    ClickGadget(kGadgetAddPrototype);
    ClickGadget(kGadgetSave);
    OpenDesign(1);
    EXPECT_EQ(UndoSteps(), 0);
    ClickGadget(kGadgetAddPrototype);
    ClickGadget(kGadgetNew);
    EXPECT_EQ(UndoSteps(), 0);
    EXPECT_EQ(RedoSteps(), 0);
}

TEST_F(History, TestViewEditsAreUndoneOnTheShip) {
    StartTestView();
    AttachWing();
    ASSERT_EQ(ReachableNodes(), 2);
    Undo();
    EXPECT_EQ(design.ShipNodes.Count(), 1);
    EXPECT_EQ(std::as_const(design.ShipNodes).At(0)->Child[0], ChildFree);
    EXPECT_EQ(Gadget_CountItems(kGadgetOfferedPrototypes), 2) << "the freed connection is chosen again";
    Redo();
    ASSERT_EQ(ReachableNodes(), 2);
    const ImageNumber wingImage = std::as_const(design.ShipNodes).At(1)->Image;

    // Delete takes the wing off; the node stays in the list.
    ClickAt(HullLeft() + 5, HullTop() + 15);  // on the wing, over the hull's left end
    ASSERT_EQ(design.SelectedNode, 1);
    HoldKey(kKeyDelete, 1);
    EXPECT_EQ(ReachableNodes(), 1);
    EXPECT_EQ(design.ShipNodes.Count(), 2);
    Undo();
    EXPECT_EQ(ReachableNodes(), 2);
    Redo();
    EXPECT_EQ(ReachableNodes(), 1);
    Undo();

    // The root stays whatever is pressed.
    ClickAt(HullLeft() + 30, HullTop() + 5);
    ASSERT_EQ(design.SelectedNode, 0);
    HoldKey(kKeyBackspace, 1);
    EXPECT_EQ(ReachableNodes(), 2);

    // Reset, then Random: each one step back to the ship before.
    ClickGadget(kGadgetReset);
    EXPECT_EQ(ReachableNodes(), 1);
    Undo();
    EXPECT_EQ(ReachableNodes(), 2);
    EXPECT_EQ(std::as_const(design.ShipNodes).At(1)->Image, wingImage);
    ClickGadget(kGadgetRandom);
    const std::vector<ImageNumber> grown = [] {
        std::vector<ImageNumber> images;
        for (int n = 0; n < design.ShipNodes.Count(); ++n) images.push_back(std::as_const(design.ShipNodes).At(n)->Image);
        return images;
    }();
    Undo();
    EXPECT_EQ(ReachableNodes(), 2);
    EXPECT_EQ(std::as_const(design.ShipNodes).At(1)->Image, wingImage);
    Redo();
    ASSERT_EQ(design.ShipNodes.Count(), static_cast<int>(grown.size()));
    for (int n = 0; n < design.ShipNodes.Count(); ++n) EXPECT_EQ(std::as_const(design.ShipNodes).At(n)->Image, grown[static_cast<std::size_t>(n)]);
}

TEST_F(History, RandomGrowsAShipByTheDesignsRules) {
    StartTestView();
    const auto& nodes = std::as_const(design.ShipNodes);
    bool grewSomething = false;
    for (int i = 0; i < 8; ++i) {
        ClickGadget(kGadgetRandom);
        ASSERT_GE(nodes.Count(), 1);
        EXPECT_EQ(nodes.At(0)->PrototypeIndex, 0);
        // Only the hull's connection 1 takes parts, and only wings or guns.
        for (int n = 1; n < nodes.Count(); ++n) EXPECT_NE(nodes.At(n)->PrototypeIndex, 0);
        for (int c = 1; c < kConnections; ++c) EXPECT_EQ(nodes.At(0)->Child[static_cast<std::size_t>(c)], ChildInactive);
        EXPECT_LE(nodes.Count(), 2);
        grewSomething = grewSomething || nodes.Count() == 2;
    }
    EXPECT_TRUE(grewSomething) << "eight ships and not one part attached";
    EXPECT_EQ(UndoSteps(), 8) << "each Random is one step";
}

TEST_F(History, SwappingAPartIsUndone) {
    MakePicture(1, "wing2.png", 10, 10, 0x00FFFF);
    PartSetup wing2;
    wing2.PrototypeIndex = 1;
    MakeSetup(1, "wing2.png", wing2);
    OpenDesign(1);
    StartTestView();
    AttachWing();
    const ImageNumber first = std::as_const(design.ShipNodes).At(1)->Image;
    ClickAt(HullLeft() + 5, HullTop() + 15);
    ASSERT_EQ(design.SelectedNode, 1);
    ASSERT_EQ(editor.Palette.Count(), 2) << "the wing's own prototype's parts";
    ClickAt(PaletteSlotX(1), PaletteSlotY(1));
    const ImageNumber second = std::as_const(design.ShipNodes).At(1)->Image;
    ASSERT_NE(second, first);
    Undo();
    EXPECT_EQ(std::as_const(design.ShipNodes).At(1)->Image, first);
    Redo();
    EXPECT_EQ(std::as_const(design.ShipNodes).At(1)->Image, second);
}

TEST_F(History, LeavingTheTestViewDropsItsStepsOnly) {
    ClickGadget(kGadgetAddPrototype);
    StartTestView();
    AttachWing();
    EXPECT_EQ(UndoSteps(), 2);
    ClickGadget(kGadgetMode);
    EXPECT_EQ(UndoSteps(), 1);
    Undo();
    EXPECT_EQ(design.Prototypes.Count(), 3);
}

TEST_F(History, APrototypeEditUndoneInTheTestViewShowsThePrototypeList) {
    ClickGadget(kGadgetAddPrototype);
    StartTestView();
    Undo();
    EXPECT_EQ(design.TestMode, 0);
    EXPECT_EQ(Gadget_GetToggleState(kGadgetMode), 0);
    EXPECT_EQ(design.Prototypes.Count(), 3);
    EXPECT_TRUE(Visible(kGadgetAddPrototype));
}

// The bounds: at least 500 steps, each small, within the byte budget; a
// ship replaced as a whole is one step however many nodes it had.
TEST_F(History, TheHistoryKeepsItsStepsWithinItsBounds) {
    ClickRow(kGadgetPrototypeList, 0);
    const std::uint32_t start = std::as_const(design.Prototypes).At(0)->ConnectionMask[2];
    for (int i = 0; i < kHistorySteps + 200; ++i) EditToggleConnection(0, 2);
    EXPECT_EQ(UndoSteps(), kHistorySteps);
    EXPECT_GE(UndoSteps(), 500);
    EXPECT_LE(HistoryBytes(), std::size_t{kHistorySteps} * 256) << "a step stores what changed, not the design";
    for (int i = 0; i < kHistorySteps; ++i) ASSERT_EQ(UndoEdit(), 1);
    EXPECT_EQ(UndoEdit(), 0);
    // 1200 flips, the oldest 200 gone: an even number are left undone.
    EXPECT_EQ(std::as_const(design.Prototypes).At(0)->ConnectionMask[2], start);
    EXPECT_LE(HistoryBytes(), kHistoryByteBudget);

    // Two resets of the largest ship: the older goes for the budget.
    StartTestView();
    ResetHistory();
    for (int i = 0; i < 2; ++i) {
        design.ShipNodes.Clear();
        for (int n = 0; n < kMaxShipNodes; ++n) design.ShipNodes.Append().Child.fill(ChildInactive);
        EditResetShip();
    }
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_LE(HistoryBytes(), kHistoryByteBudget);
    EXPECT_EQ(UndoEdit(), 1);
    EXPECT_EQ(design.ShipNodes.Count(), kMaxShipNodes) << "the big ship comes back";
}
