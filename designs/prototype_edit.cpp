// Editing the prototype list: adding, renaming, the connections in use and
// the prototypes allowed at each, and the compatibility list (gadget 11).
#include "editor_tables.h"
#include "gadget.h"
#include "prototypes.h"
#include "services.h"

namespace {

bool ValidConnection(int connection) { return connection >= 0 && connection < kConnections; }

}  // namespace

void FillCompatibilityList(int position) {
    Gadget_ClearItems(kGadgetCompatibility);
    const Prototype* prototype = design.Prototypes.At(position);
    if (!prototype || !ValidConnection(design.SelectedProtoConnection)) return;
    const std::uint32_t mask = prototype->ConnectionMask[design.SelectedProtoConnection];
    const int rows = Gadget_CountItems(kGadgetPrototypeList);
    for (int r = 0; r < rows; ++r) {
        Gadget_AddItem(kGadgetCompatibility, -1, Gadget_GetItemText(kGadgetPrototypeList, r));
        // Rows past the 24 mask bits can never be allowed (bit 24 is the active flag).
        const bool allowed = r < kMaxPrototypes && (mask & (std::uint32_t{1} << r));
        Gadget_SetItemColor(kGadgetCompatibility, r, 1, allowed ? kAllowedColour : kNotAllowedColour);
    }
}

void AddPrototype() {
    if (design.TestMode != 0) return;
    const int n = Gadget_CountItems(kGadgetPrototypeList);
    // The list itself is checked too: a position past 23 has no mask bit.
    if (n >= kMaxPrototypes || design.Prototypes.Count() >= kMaxPrototypes) return;

    const int position = design.Prototypes.Count();
    Prototype& prototype = design.Prototypes.Append();
    prototype.Name = Labels[45] + Str(n);
    prototype.Index = static_cast<std::int8_t>(position);
    design.CurrentPrototype = position;

    Gadget_ClearItems(kGadgetPrototypeList);
    for (int p = 0; p < design.Prototypes.Count(); ++p)
        Gadget_AddItem(kGadgetPrototypeList, -1, design.Prototypes.At(p)->Name);
    Gadget_SetText(kGadgetPrototypeName, prototype.Name);
    FillCompatibilityList(position);
    DrawPrototypePreview(position);
    Gadget_SetState(kGadgetPrototypeList, 0);
    Gadget_SetItemState(kGadgetPrototypeList, Gadget_CountItems(kGadgetPrototypeList) - 1, 1);
}

void RenamePrototype(int position, const std::string& newName) {
    Prototype* prototype = design.Prototypes.At(position);
    if (!prototype || design.TestMode != 0) return;
    // The name is written as one line: line ends and zero bytes cannot be kept.
    const std::string name = CleanPrototypeName(newName);
    if (name == prototype->Name) return;
    prototype->Name = name;
    Gadget_SetItemText(kGadgetPrototypeList, position, name);
}

void ToggleConnectionActive(int prototype, int connection) {
    Prototype* p = design.Prototypes.At(prototype);
    if (!p || !ValidConnection(connection)) return;
    std::uint32_t& mask = p->ConnectionMask[connection];
    // Switching off keeps the allowed prototypes for when it comes back on.
    if (!IsConnectionOn(mask))
        mask |= ConnectionActive;
    else
        mask &= kAllowedBits;
}

void SelectProtoConnection(int prototype, int connection) {
    const Prototype* p = design.Prototypes.At(prototype);
    if (!p || !ValidConnection(connection) || !HasActiveFlag(p->ConnectionMask[connection])) return;
    design.SelectedProtoConnection = connection;
    FillCompatibilityList(prototype);
    DrawPrototypePreview(prototype);
}

void ToggleCompatibility(int prototype) {
    Prototype* p = design.Prototypes.At(prototype);
    if (!p || design.TestMode != 0 || !ValidConnection(design.SelectedProtoConnection)) return;
    std::uint32_t& mask = p->ConnectionMask[design.SelectedProtoConnection];
    const int rows = Gadget_CountItems(kGadgetPrototypeList);
    for (int r = 0; r < rows; ++r) {
        if (!Gadget_GetItemState(kGadgetCompatibility, r)) continue;
        // Rows past 23 have no bit; flipping one would hit the active flag.
        if (r < kMaxPrototypes) mask ^= std::uint32_t{1} << r;
        Gadget_SetItemState(kGadgetCompatibility, r, 0);
    }
    FillCompatibilityList(prototype);
}
