// The prototype list against what "Save" last wrote or the design's file held.
#include "unsaved_work.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "editor_gadgets.h"
#include "editor_tables.h"
#include "gadget.h"
#include "prototypes.h"
#include "title_line.h"

namespace {

// After the Save button's label while the list is unsaved.
constexpr const char* kUnsavedMark = " *";
// No button waits for a second click ("Quit" is gadget 0).
constexpr int kNoWarning = -1;

struct UnsavedWorkState {
    std::vector<Prototype> saved;  // the list as the design's file holds it
    int warningGadget = kNoWarning; // "Load" or "Quit" waiting for a second click
    std::string shownLabel;        // what the Save button was last given, empty before the first frame
};
UnsavedWorkState unsaved;

std::string LabelOf(int gadget) {
    const GadgetLayout* layout = FindGadgetLayout(gadget);
    return layout && layout->label >= 0 ? Labels[static_cast<std::size_t>(layout->label)] : std::string();
}

}  // namespace

void MarkPrototypesSaved() { unsaved.saved = PrototypeValues(); }

void ForgetSavedPrototypes() { unsaved.saved.clear(); }

bool PrototypesUnsaved() {
    const auto& prototypes = std::as_const(design.Prototypes);
    if (static_cast<std::size_t>(prototypes.Count()) != unsaved.saved.size()) return true;
    for (int p = 0; p < prototypes.Count(); ++p)
        if (!(*prototypes.At(p) == unsaved.saved[static_cast<std::size_t>(p)])) return true;
    return false;
}

void ShowSaveMark() {
    const std::string label = LabelOf(kGadgetSave) + (PrototypesUnsaved() ? kUnsavedMark : "");
    if (label == unsaved.shownLabel) return;
    Gadget_SetText(kGadgetSave, label);
    unsaved.shownLabel = label;
}

void ResetUnsavedWork() { unsaved = UnsavedWorkState{}; }

int WarnBeforeDiscard(int gadget) {
    if (!PrototypesUnsaved() || unsaved.warningGadget == gadget) {
        EndDiscardWarning();
        return 0;
    }
    unsaved.warningGadget = gadget;
    ShowTitleNotice("Prototypes not saved - click " + LabelOf(gadget) + " again to discard them");
    return 1;
}

int DiscardWarningGadget() { return unsaved.warningGadget; }

void EndDiscardWarning() {
    if (unsaved.warningGadget == kNoWarning) return;
    unsaved.warningGadget = kNoWarning;
    ClearTitleMessage();
}

int WriteRecoveredPrototypes() {
    if (design.DesignFolder < 0 || !PrototypesUnsaved()) return 0;
    const std::string path = PrototypesPath() + kRecoveredSuffix;
    const std::vector<Prototype> values = PrototypeValues();
    if (!WritePrototypeFile(path, values)) {
        std::fprintf(stderr, "keelwright: unsaved prototypes could not be kept in %s\n", path.c_str());
        return 0;
    }
    std::fprintf(stderr, "keelwright: unsaved prototypes kept in %s\n", path.c_str());
    return 1;
}
