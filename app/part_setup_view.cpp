// The part setup panel's lists, filled from the setup being edited.
#include "part_setup_view.h"

#include <utility>

#include "editor_gadgets.h"
#include "editor_tables.h"
#include "gadget.h"
#include "part_setup.h"
#include "services.h"

namespace {

// The prototype a setup names, or nullptr when it names none of this folder.
const Prototype* SetupPrototype() { return std::as_const(design.Prototypes).At(design.PartSetup.PrototypeIndex); }

std::string SetupRow(int label, std::int32_t x, std::int32_t y) {
    return Labels[static_cast<std::size_t>(label)] + "\n" + Str(x) + "\n" + Str(y);
}

}  // namespace

int LoadPartSetup() {
    Gadget_ClearItems(kGadgetSetupRows);
    const int read = ReadPartSetup();
    const PartSetup& setup = design.PartSetup;

    Gadget_ClearItems(kGadgetSetupPrototype);
    const auto& prototypes = std::as_const(design.Prototypes);
    for (int p = 0; p < prototypes.Count(); ++p) Gadget_AddItem(kGadgetSetupPrototype, -1, prototypes.At(p)->Name);

    Gadget_AddItem(kGadgetSetupRows, -1, SetupRow(kLabelOffset, setup.OffsetX, setup.OffsetY));
    for (int i = 0; i < kConnections; ++i)
        Gadget_AddItem(kGadgetSetupRows, -1,
                       SetupRow(kLabelFirstConnection + i, setup.ConnX[static_cast<std::size_t>(i)],
                                setup.ConnY[static_cast<std::size_t>(i)]));

    ColorConnectionRows();
    // A prototype the folder does not have is shown as no choice.
    if (SetupPrototype()) Gadget_SetItemState(kGadgetSetupPrototype, setup.PrototypeIndex, 1);
    return read;
}

void ColorConnectionRows() {
    const Prototype* prototype = SetupPrototype();
    for (int i = 0; i < kConnections; ++i) {
        const bool active = prototype && HasActiveFlag(prototype->ConnectionMask[static_cast<std::size_t>(i)]);
        Gadget_SetItemColor(kGadgetSetupRows, i + 1, 1, active ? kActiveRowColour : kInactiveRowColour);
    }
}
