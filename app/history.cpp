// The undo history: a bounded list of small steps, one record per kind of
// edit, each knowing how to make its change again (Apply) and take it back
// (Revert). A step stores what changed, never a copy of the design, except
// for a ship replaced as a whole ("Reset", "Random"), which stores both
// ships' nodes.
#include "history.h"

#include <algorithm>
#include <deque>
#include <utility>
#include <variant>

#include "app.h"
#include "design_verbs.h"
#include "editor_gadgets.h"
#include "gadget.h"
#include "part_palette.h"
#include "part_setup.h"
#include "part_setup_view.h"
#include "prototype_views.h"
#include "prototypes.h"
#include "services.h"
#include "ship_assembly.h"
#include "ship_growth.h"
#include "title_line.h"
#include "unsaved_work.h"

namespace {

// What is selected on the ship: restored with the steps that change it.
struct ShipSelection {
    int node = 0;        // SelectedNode
    int connection = -1; // SelectedConnection, -1 the node itself
    int highlighted = 0; // HighlightedNode
};

ShipSelection CurrentShipSelection() {
    return {design.SelectedNode, design.SelectedConnection, design.HighlightedNode};
}

// ---------------------------------------------------------------- showing a step where it was made

// The prototype list in front with `position` chosen (none for -1), its
// connection `connection` shown when that is active.
void ShowPrototype(int position, int connection) {
    ShowDesignPanel();
    if (design.TestMode != 0) LeaveTestView();
    const Prototype* prototype = std::as_const(design.Prototypes).At(position);
    if (!prototype) position = -1;
    if (position != design.CurrentPrototype) design.SelectedProtoConnection = -1;
    if (prototype && connection >= 0 && connection < kConnections &&
        HasActiveFlag(prototype->ConnectionMask[static_cast<std::size_t>(connection)]))
        design.SelectedProtoConnection = connection;
    design.CurrentPrototype = position;
    design.LastPrototypeRow = position;
    Gadget_SetState(kGadgetPrototypeList, -1);
    if (position >= 0) Gadget_SetItemState(kGadgetPrototypeList, position, 1);
    Gadget_SetText(kGadgetPrototypeName, prototype ? prototype->Name : std::string());
    FillCompatibilityList(position);
    DrawPrototypePreview(position);
}

// The setup panel of `image` in front, its setup read from its file when it
// was left; false when the picture cannot be shown.
bool ShowSetupOf(const std::string& image) {
    if (editor.EditorMode == kSetupPanel && design.PartImageName == image) return true;
    if (OpenSetupPanel(image)) return true;
    ShowDesignPanel();
    return false;
}

// Writes a setup value into the file of an image whose panel cannot be opened.
template <class Change> void ChangeSetupFile(const std::string& image, Change change) {
    const std::string path = SetupPathOf(image);
    PartSetup setup;
    if (!ReadSetupFile(path, setup)) return;
    change(setup);
    WriteSetupFile(path, setup);
}

// The ship as a step leaves it: redrawn with `selection`; the choices on
// offer follow the selection when `offer`, else none are offered.
void ShowShip(const ShipSelection& selection, bool offer) {
    ShowDesignPanel();
    design.SelectedNode = selection.node;
    design.SelectedConnection = selection.connection;
    design.HighlightedNode = selection.highlighted;
    Gadget_ClearItems(kGadgetOfferedPrototypes);
    FreePartPalette();
    DrawShip(design.ViewX, design.ViewY, 0);
    if (offer) ShowPartChoices();
}

std::vector<ShipNode> ShipNodeValues() {
    const auto& nodes = std::as_const(design.ShipNodes);
    std::vector<ShipNode> values;
    values.reserve(static_cast<std::size_t>(nodes.Count()));
    for (int n = 0; n < nodes.Count(); ++n) values.push_back(*nodes.At(n));
    return values;
}

void SetShipNodes(const std::vector<ShipNode>& values) {
    design.ShipNodes.Clear();
    for (const ShipNode& node : values) design.ShipNodes.Append() = node;
}

// ---------------------------------------------------------------- the steps

struct AddPrototypeStep {
    int position = 0;  // where the new prototype went
    void Apply() const {
        ShowPrototype(design.CurrentPrototype, -1);
        AddPrototype();
    }
    void Revert() const {
        ShowPrototype(-1, -1);
        design.Prototypes.Truncate(position);
        ShowPrototypeList();
        ShowPrototype(position - 1, -1);
    }
    std::size_t Heap() const { return 0; }
};

struct RenameStep {
    int position = 0;    // the prototype renamed
    int visit = 0;       // the visit of the name field that typed it
    std::string before;  // its names
    std::string after;
    void Set(const std::string& name) const {
        ShowPrototype(position, -1);
        RenamePrototype(position, name);
        ShowPrototype(position, -1);
    }
    void Apply() const { Set(after); }
    void Revert() const { Set(before); }
    std::size_t Heap() const { return before.capacity() + after.capacity(); }
};

// A connection switched, or the prototypes allowed at it changed.
struct MaskStep {
    int prototype = 0;
    int connection = 0;
    std::uint32_t before = 0;  // the connection's mask
    std::uint32_t after = 0;
    void Set(std::uint32_t mask) const {
        if (Prototype* p = design.Prototypes.At(prototype)) p->ConnectionMask[static_cast<std::size_t>(connection)] = mask;
        // A change of the allowed prototypes shows them; a switch only the dot.
        const bool allowedChanged = ((before ^ after) & kAllowedBits) != 0;
        const int shown = prototype == design.CurrentPrototype ? design.SelectedProtoConnection : -1;
        ShowPrototype(prototype, allowedChanged ? connection : shown);
    }
    void Apply() const { Set(after); }
    void Revert() const { Set(before); }
    std::size_t Heap() const { return 0; }
};

struct AddImagesStep {
    int first = 0;                   // row of the first name added
    std::vector<std::string> names;  // the rows added, in order
    void Apply() const {
        ShowDesignPanel();
        for (const std::string& name : names) Gadget_AddItem(kGadgetDesignImages, -1, name);
    }
    void Revert() const {
        ShowDesignPanel();
        for (std::size_t k = 0; k < names.size(); ++k) Gadget_RemoveItem(kGadgetDesignImages, first);
        Gadget_SetState(kGadgetDesignImages, -1);
    }
    std::size_t Heap() const {
        std::size_t bytes = names.capacity() * sizeof(std::string);
        for (const std::string& name : names) bytes += name.capacity();
        return bytes;
    }
};

struct RemoveImageStep {
    int row = 0;       // where the name was
    std::string name;  // the row's text
    void Apply() const {
        ShowDesignPanel();
        Gadget_RemoveItem(kGadgetDesignImages, row);
    }
    void Revert() const {
        ShowDesignPanel();
        Gadget_AddItem(kGadgetDesignImages, row, name);
        Gadget_SetState(kGadgetDesignImages, -1);
        Gadget_SetItemState(kGadgetDesignImages, row, 1);
    }
    std::size_t Heap() const { return name.capacity(); }
};

struct SetupPrototypeStep {
    std::string image;          // the part image whose setup changed
    std::int32_t before = -1;   // its PrototypeIndex
    std::int32_t after = -1;
    void Set(std::int32_t value) const {
        if (!ShowSetupOf(image)) {
            ChangeSetupFile(image, [&](PartSetup& setup) { setup.PrototypeIndex = value; });
            return;
        }
        design.PartSetup.PrototypeIndex = value;
        ColorConnectionRows();
        Gadget_SetState(kGadgetSetupPrototype, -1);
        if (value >= 0 && value < Gadget_CountItems(kGadgetSetupPrototype))
            Gadget_SetItemState(kGadgetSetupPrototype, value, 1);
        // As the choice itself: no point stays chosen.
        SelectSetupPoint(-1);
    }
    void Apply() const { Set(after); }
    void Revert() const { Set(before); }
    std::size_t Heap() const { return image.capacity(); }
};

struct SetupPointStep {
    std::string image;  // the part image whose setup changed
    int point = 0;      // -1 the display offset, 0..7 a connection
    int gesture = 0;    // the held key that moved it, 0 none
    std::int32_t beforeX = 0, beforeY = 0;
    std::int32_t afterX = 0, afterY = 0;
    void Set(std::int32_t x, std::int32_t y) const {
        auto place = [&](PartSetup& setup) {
            if (point < 0) {
                setup.OffsetX = x, setup.OffsetY = y;
            } else {
                setup.ConnX[static_cast<std::size_t>(point)] = x, setup.ConnY[static_cast<std::size_t>(point)] = y;
            }
        };
        if (!ShowSetupOf(image)) {
            ChangeSetupFile(image, place);
            return;
        }
        place(design.PartSetup);
        Gadget_SetItemText(kGadgetSetupRows, point + 1, Str(x), 1);
        Gadget_SetItemText(kGadgetSetupRows, point + 1, Str(y), 2);
        // The point moved is the one chosen, as it was when it moved.
        SelectSetupPoint(point + 1);
    }
    void Apply() const { Set(afterX, afterY); }
    void Revert() const { Set(beforeX, beforeY); }
    std::size_t Heap() const { return image.capacity(); }
};

struct AttachStep {
    int parent = 0;      // node the part hangs from
    int connection = 0;  // at which of its connections
    ShipNode node;       // the node attached, last in the list
    void Apply() const {
        const int position = design.ShipNodes.Count();
        if (ShipNode* p = design.ShipNodes.At(parent)) p->Child[static_cast<std::size_t>(connection)] = position;
        design.ShipNodes.Append() = node;
        ShowShip({parent, connection, -1}, false);
    }
    void Revert() const {
        design.ShipNodes.Truncate(design.ShipNodes.Count() - 1);
        if (ShipNode* p = design.ShipNodes.At(parent)) p->Child[static_cast<std::size_t>(connection)] = ChildFree;
        ShowShip({parent, connection, -1}, true);
    }
    std::size_t Heap() const { return 0; }
};

struct SwapStep {
    int node = 0;    // the node whose part changed
    ImageNumber before;  // its images
    ImageNumber after;
    void Set(ImageNumber image) const {
        if (ShipNode* n = design.ShipNodes.At(node)) n->Image = image;
        ShowShip({node, -1, node}, true);
    }
    void Apply() const { Set(after); }
    void Revert() const { Set(before); }
    std::size_t Heap() const { return 0; }
};

// The node taken off with its subtree: they stay in the list, unreachable.
struct DetachStep {
    int parent = 0;
    int connection = 0;
    int child = 0;  // the node that hung there
    void Set(int value) const {
        if (ShipNode* p = design.ShipNodes.At(parent)) p->Child[static_cast<std::size_t>(connection)] = value;
    }
    void Apply() const {
        Set(ChildFree);
        ShowShip({parent, connection, -1}, true);
    }
    void Revert() const {
        Set(child);
        ShowShip({child, -1, child}, true);
    }
    std::size_t Heap() const { return 0; }
};

// A ship replaced as a whole: "Reset" and "Random".
struct ReplaceShipStep {
    std::vector<ShipNode> before;  // the nodes
    std::vector<ShipNode> after;
    int beforeViewX = 0, beforeViewY = 0;  // where the view was
    ShipSelection beforeSelection;
    void Apply() const {
        SetShipNodes(after);
        design.ViewX = kStartViewX;
        design.ViewY = kStartViewY;
        ShowShip({}, false);
    }
    void Revert() const {
        SetShipNodes(before);
        design.ViewX = beforeViewX;
        design.ViewY = beforeViewY;
        ShowShip(beforeSelection, true);
    }
    std::size_t Heap() const { return (before.capacity() + after.capacity()) * sizeof(ShipNode); }
};

using Step = std::variant<AddPrototypeStep, RenameStep, MaskStep, AddImagesStep, RemoveImageStep, SetupPrototypeStep,
                          SetupPointStep, AttachStep, SwapStep, DetachStep, ReplaceShipStep>;

bool IsShipStep(const Step& step) {
    return std::holds_alternative<AttachStep>(step) || std::holds_alternative<SwapStep>(step) ||
           std::holds_alternative<DetachStep>(step) || std::holds_alternative<ReplaceShipStep>(step);
}

std::size_t StepBytes(const Step& step) {
    return sizeof(Step) + std::visit([](const auto& s) { return s.Heap(); }, step);
}

// ---------------------------------------------------------------- the history

struct HistoryState {
    std::deque<Step> done;    // steps to undo, the newest last
    std::deque<Step> undone;  // steps to redo, the next one last
    std::size_t bytes = 0;    // StepBytes of all of them
    bool mayMerge = false;    // the newest step was just recorded: typing or a held key may add to it
    bool undoKeyWasDown = false;  // Z in the previous frame: one press is one undo
    bool redoKeyWasDown = false;  // Y in the previous frame
    bool deleteKeyWasDown = false;  // Delete or Backspace in the previous frame
    bool ctrlWasDown = false;     // Ctrl in the previous frame: a quick Ctrl+Z may straddle two frames
    bool shiftWasDown = false;    // Shift in the previous frame
};
HistoryState history;

void Forget(std::deque<Step>& steps) {
    for (const Step& s : steps) history.bytes -= StepBytes(s);
    steps.clear();
}

// Keeps the history within its bounds, the oldest steps going first; the
// newest always stays.
void Trim() {
    while (history.done.size() > 1 &&
           (history.done.size() > static_cast<std::size_t>(kHistorySteps) || history.bytes > kHistoryByteBudget)) {
        history.bytes -= StepBytes(history.done.front());
        history.done.pop_front();
    }
}

// A new edit: the redo steps go, any warning about unsaved work ends.
void Record(Step step) {
    Forget(history.undone);
    history.bytes += StepBytes(step);
    history.done.push_back(std::move(step));
    history.mayMerge = true;
    Trim();
    EndDiscardWarning();
}

// The newest step, when it may still grow and is of kind T.
template <class T> T* Mergeable() {
    if (!history.mayMerge || history.done.empty()) return nullptr;
    return std::get_if<T>(&history.done.back());
}

// Replaces the newest step by a grown one, keeping the byte count right.
template <class T> void Regrow(T& step, const T& grown) {
    history.bytes -= StepBytes(Step{step});
    step = grown;
    history.bytes += StepBytes(Step{step});
    Trim();
}

bool CtrlHeld() { return Key_Down(kKeyLeftCtrl) || Key_Down(kKeyRightCtrl); }
bool ShiftHeld() { return Key_Down(kKeyLeftShift) || Key_Down(kKeyRightShift); }
bool TextFieldFocused() { return Gadget_Kind(Gadget_GetActive()) == GadgetKind_TextField; }

}  // namespace

// ---------------------------------------------------------------- edits

int EditAddPrototype() {
    const int position = design.Prototypes.Count();
    AddPrototype();
    if (design.Prototypes.Count() != position + 1) return 0;
    Record(AddPrototypeStep{position});
    return 1;
}

void EditRenamePrototype(int position, const std::string& name, int visit) {
    const Prototype* prototype = std::as_const(design.Prototypes).At(position);
    if (!prototype) return;
    const std::string before = prototype->Name;
    RenamePrototype(position, name);
    const std::string after = std::as_const(design.Prototypes).At(position)->Name;
    if (after == before) return;
    if (RenameStep* open = Mergeable<RenameStep>(); open && open->position == position && open->visit == visit) {
        RenameStep grown = *open;
        grown.after = after;
        Regrow(*open, grown);
        return;
    }
    Record(RenameStep{position, visit, before, after});
}

namespace {

// Runs an edit of one connection's mask and records what it changed.
template <class Edit> void EditMask(int prototype, int connection, Edit edit) {
    const Prototype* p = std::as_const(design.Prototypes).At(prototype);
    if (!p || connection < 0 || connection >= kConnections) {
        edit();
        return;
    }
    const std::uint32_t before = p->ConnectionMask[static_cast<std::size_t>(connection)];
    edit();
    const std::uint32_t after = std::as_const(design.Prototypes).At(prototype)->ConnectionMask[static_cast<std::size_t>(connection)];
    if (after != before) Record(MaskStep{prototype, connection, before, after});
}

}  // namespace

void EditToggleConnection(int prototype, int connection) {
    EditMask(prototype, connection, [&] { ToggleConnectionActive(PrototypePosition{prototype}, connection); });
}

void EditToggleCompatibility(int prototype) {
    EditMask(prototype, design.SelectedProtoConnection, [&] { ToggleCompatibility(prototype); });
}

void EditAddImages(const std::vector<std::string>& names) {
    if (names.empty()) return;
    const int first = Gadget_CountItems(kGadgetDesignImages);
    for (const std::string& name : names) Gadget_AddItem(kGadgetDesignImages, -1, name);
    Record(AddImagesStep{first, names});
}

void EditRemoveImage(int row) {
    if (row < 0 || row >= Gadget_CountItems(kGadgetDesignImages)) return;
    RemoveImageStep step{row, Gadget_GetItemText(kGadgetDesignImages, row)};
    Gadget_RemoveItem(kGadgetDesignImages, row);
    Record(std::move(step));
}

void EditSetupPrototype(int prototype) {
    const std::int32_t before = design.PartSetup.PrototypeIndex;
    design.PartSetup.PrototypeIndex = prototype;
    if (prototype != before && !design.PartImageName.empty())
        Record(SetupPrototypeStep{design.PartImageName, before, prototype});
}

void EditSetupPoint(int point, std::int32_t x, std::int32_t y, int gesture) {
    if (point < -1 || point >= kConnections) return;
    PartSetup& setup = design.PartSetup;
    std::int32_t& tx = point < 0 ? setup.OffsetX : setup.ConnX[static_cast<std::size_t>(point)];
    std::int32_t& ty = point < 0 ? setup.OffsetY : setup.ConnY[static_cast<std::size_t>(point)];
    if (tx == x && ty == y) return;
    SetupPointStep step{design.PartImageName, point, gesture, tx, ty, x, y};
    tx = x, ty = y;
    if (design.PartImageName.empty()) return;
    if (SetupPointStep* open = Mergeable<SetupPointStep>();
        open && gesture != 0 && open->gesture == gesture && open->point == point && open->image == step.image) {
        SetupPointStep grown = *open;
        grown.afterX = x, grown.afterY = y;
        Regrow(*open, grown);
        return;
    }
    Record(std::move(step));
}

void EditAttachPart(int entry) {
    const int count = design.ShipNodes.Count();
    const int parent = design.SelectedNode, connection = design.SelectedConnection;
    AttachPart(entry);
    if (design.ShipNodes.Count() != count + 1) return;
    Record(AttachStep{parent, connection, *std::as_const(design.ShipNodes).At(count)});
}

void EditSwapPart(int entry) {
    const ShipNode* node = std::as_const(design.ShipNodes).At(design.SelectedNode);
    if (!node) return;
    const int position = design.SelectedNode;
    const ImageNumber before = node->Image;
    SwapPart(entry);
    const ImageNumber after = std::as_const(design.ShipNodes).At(position)->Image;
    if (after != before) Record(SwapStep{position, before, after});
}

namespace {

// Replaces the ship by what `grow` makes of it, as one step; nothing when it grew none.
template <class Grow> void ReplaceShip(Grow grow) {
    ReplaceShipStep step;
    step.before = ShipNodeValues();
    step.beforeViewX = design.ViewX, step.beforeViewY = design.ViewY;
    step.beforeSelection = CurrentShipSelection();
    if (!grow()) {
        SetShipNodes(step.before);
        return;
    }
    // One step even when the ship came out the same: the click was the user's.
    step.after = ShipNodeValues();
    Record(std::move(step));
}

}  // namespace

void EditResetShip() {
    ReplaceShip([] {
        ResetShip();
        return true;
    });
}

void EditRandomShip() {
    ReplaceShip([] {
        ShipRandom random = ShipRandomFor(static_cast<std::uint64_t>(ElapsedMilliseconds()),
                                          static_cast<std::uint64_t>(++editor.RandomShips));
        if (GrowShip(random, kDefaultRenderDepth, kMaxGrowthNodes) == 0) return false;
        Gadget_ClearItems(kGadgetOfferedPrototypes);
        FreePartPalette();
        SelectShipRoot();
        design.ViewX = kStartViewX;
        design.ViewY = kStartViewY;
        DrawShip(kStartViewX, kStartViewY, 0);
        return true;
    });
    PlayClick();
}

void EditDetachSelected() {
    const int child = design.SelectedNode;
    // The root stays; a free connection selected has nothing to take off.
    if (design.TestMode != 1 || design.SelectedConnection != -1 || child <= 0) return;
    const auto& nodes = std::as_const(design.ShipNodes);
    for (int n = 0; n < nodes.Count(); ++n) {
        for (int i = 0; i < kConnections; ++i) {
            if (nodes.At(n)->Child[static_cast<std::size_t>(i)] != child) continue;
            const DetachStep step{n, i, child};
            step.Apply();
            Record(step);
            PlayClick();
            return;
        }
    }
}

// ---------------------------------------------------------------- undo and redo

namespace {

// Takes the newest step of `from` back (revert) or makes it again, and puts
// it on `to`; 0 when `from` is empty.
int MoveStep(std::deque<Step>& from, std::deque<Step>& to, bool revert) {
    history.mayMerge = false;
    EndDiscardWarning();
    if (from.empty()) return 0;
    Step step = std::move(from.back());
    from.pop_back();
    std::visit([revert](const auto& s) { revert ? s.Revert() : s.Apply(); }, step);
    to.push_back(std::move(step));
    return 1;
}

}  // namespace

int UndoEdit() { return MoveStep(history.done, history.undone, true); }

int RedoEdit() { return MoveStep(history.undone, history.done, false); }

void FollowHistoryKeys() {
    const bool z = Key_Down(kKeyZ) != 0, y = Key_Down(kKeyY) != 0;
    const bool erase = Key_Down(kKeyDelete) != 0 || Key_Down(kKeyBackspace) != 0;
    const bool zPressed = z && !history.undoKeyWasDown, yPressed = y && !history.redoKeyWasDown;
    const bool erasePressed = erase && !history.deleteKeyWasDown;
    history.undoKeyWasDown = z, history.redoKeyWasDown = y, history.deleteKeyWasDown = erase;
    const bool ctrl = CtrlHeld(), shift = ShiftHeld();
    const bool withCtrl = ctrl || history.ctrlWasDown, withShift = shift || history.shiftWasDown;
    history.ctrlWasDown = ctrl, history.shiftWasDown = shift;
    if (withCtrl) {
        if (zPressed && withShift)
            RedoEdit();
        else if (zPressed)
            UndoEdit();
        else if (yPressed)
            RedoEdit();
        return;
    }
    // In a text field the erasing keys erase text.
    if (erasePressed && !TextFieldFocused() && editor.EditorMode == kDesignPanel) EditDetachSelected();
}

void ResetHistory() { history = HistoryState{}; }

void DropShipSteps() {
    for (std::deque<Step>* steps : {&history.done, &history.undone}) {
        std::deque<Step> kept;
        for (Step& s : *steps) {
            if (IsShipStep(s))
                history.bytes -= StepBytes(s);
            else
                kept.push_back(std::move(s));
        }
        *steps = std::move(kept);
    }
    history.mayMerge = false;
}

int UndoSteps() { return static_cast<int>(history.done.size()); }
int RedoSteps() { return static_cast<int>(history.undone.size()); }
std::size_t HistoryBytes() { return history.bytes; }
