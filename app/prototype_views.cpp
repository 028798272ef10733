// The prototype list's gadgets: rows, compatibility list and the edits
// made through them. The list itself is the design model's.
#include "prototype_views.h"

#include <utility>
#include <vector>

#include "editor_gadgets.h"
#include "gadget.h"
#include "prototypes.h"
#include "services.h"

void ShowPrototypeList() {
    Gadget_ClearItems(kGadgetPrototypeList);
    const auto& prototypes = std::as_const(design.Prototypes);
    for (int p = 0; p < prototypes.Count(); ++p) Gadget_AddItem(kGadgetPrototypeList, -1, prototypes.At(p)->Name);
}

void FillCompatibilityList(int position) {
    Gadget_ClearItems(kGadgetCompatibility);
    const Prototype* prototype = std::as_const(design.Prototypes).At(position);
    const int connection = design.SelectedProtoConnection;
    if (!prototype || connection < 0 || connection >= kConnections) return;
    const std::uint32_t mask = prototype->ConnectionMask[static_cast<std::size_t>(connection)];
    const int rows = Gadget_CountItems(kGadgetPrototypeList);
    for (int r = 0; r < rows; ++r) {
        Gadget_AddItem(kGadgetCompatibility, -1, Gadget_GetItemText(kGadgetPrototypeList, r));
        // Rows past the 24 mask bits can never be allowed (bit 24 is the active flag).
        const bool allowed = r < kMaxPrototypes && (mask & (std::uint32_t{1} << r));
        Gadget_SetItemColor(kGadgetCompatibility, r, 1, allowed ? kAllowedColour : kNotAllowedColour);
    }
}

void AddPrototype() {
    // The list itself is checked too: a row past 23 has no mask bit.
    if (Gadget_CountItems(kGadgetPrototypeList) >= kMaxPrototypes) return;
    const int position = AppendPrototype();
    if (position < 0) return;
    ShowPrototypeList();
    Gadget_SetText(kGadgetPrototypeName, std::as_const(design.Prototypes).At(position)->Name);
    FillCompatibilityList(position);
    DrawPrototypePreview(position);
    Gadget_SetState(kGadgetPrototypeList, 0);
    Gadget_SetItemState(kGadgetPrototypeList, Gadget_CountItems(kGadgetPrototypeList) - 1, 1);
}

void RenamePrototype(int position, const std::string& newName) {
    if (SetPrototypeName(PrototypePosition{position}, newName))
        Gadget_SetItemText(kGadgetPrototypeList, position, std::as_const(design.Prototypes).At(position)->Name);
}

void SelectProtoConnection(int prototype, int connection) {
    if (!ChooseProtoConnection(PrototypePosition{prototype}, connection)) return;
    FillCompatibilityList(prototype);
    DrawPrototypePreview(prototype);
}

void ToggleCompatibility(int prototype) {
    if (!std::as_const(design.Prototypes).At(prototype) || design.TestMode != 0) return;
    const int connection = design.SelectedProtoConnection;
    if (connection < 0 || connection >= kConnections) return;
    std::vector<int> chosen;
    const int rows = Gadget_CountItems(kGadgetPrototypeList);
    for (int r = 0; r < rows; ++r) {
        if (!Gadget_GetItemState(kGadgetCompatibility, r)) continue;
        chosen.push_back(r);
        Gadget_SetItemState(kGadgetCompatibility, r, 0);
    }
    ToggleAllowedPrototypes(PrototypePosition{prototype}, chosen);
    FillCompatibilityList(prototype);
}
