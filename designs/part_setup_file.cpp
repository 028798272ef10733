// The part setup file and the two setup gadgets it fills.
#include <string>
#include <string_view>

#include "editor_tables.h"
#include "gadget.h"
#include "part_setup.h"
#include "services.h"

namespace {

// The file layout, in one place: value k of the file is this field.
// 0 OffsetX, 1 OffsetY, 2 PrototypeIndex, then per connection i the three
// values ConnX, ConnY, ConnExtra at 3 + 3 * i.
std::int32_t& SetupValue(PartSetup& setup, int k) {
    if (k == 0) return setup.OffsetX;
    if (k == 1) return setup.OffsetY;
    if (k == 2) return setup.PrototypeIndex;
    const int i = (k - 3) / 3;
    switch ((k - 3) % 3) {
    case 0: return setup.ConnX[i];
    case 1: return setup.ConnY[i];
    default: return setup.ConnExtra[i];
    }
}

// The prototype a setup names, or nullptr when it names none of this folder.
const Prototype* SetupPrototype() { return design.Prototypes.At(design.PartSetup.PrototypeIndex); }

std::string SetupRow(int label, std::int32_t x, std::int32_t y) {
    return Labels[label] + "\n" + Str(x) + "\n" + Str(y);
}

}  // namespace

int WriteSetupFile(const std::string& path, const PartSetup& setup) {
    if (!File_Create(kDesignFile, path)) return 0;
    PartSetup values = setup;
    for (int k = 0; k < kSetupFileValues; ++k) File_WriteLong(kDesignFile, SetupValue(values, k));
    return File_Close(kDesignFile);
}

int ReadSetupFile(const std::string& path, PartSetup& setup) {
    if (!File_OpenRead(kDesignFile, path)) return 0;
    PartSetup read;
    // The file service gives 0 for every value past the end, so a short file
    // leaves the rest zero; bytes after the 27th value are ignored.
    for (int k = 0; k < kSetupFileValues; ++k) SetupValue(read, k) = File_ReadLong(kDesignFile);
    File_Close(kDesignFile);
    setup = read;
    return 1;
}

bool SetupNameFits(const std::string& imageName) {
    constexpr std::size_t kMaxFileNameBytes = 255;
    return imageName.size() + std::string_view(".spset").size() <= kMaxFileNameBytes;
}

int SavePartSetup() {
    // Without an image there is no file name to write to.
    if (design.PartImageName.empty()) return 0;
    return WriteSetupFile(PartSetupPath(), design.PartSetup);
}

int LoadPartSetup() {
    Gadget_ClearItems(kGadgetSetupRows);
    PartSetup& setup = design.PartSetup;
    const int read = !design.PartImageName.empty() && ReadSetupFile(PartSetupPath(), setup);
    if (!read) {
        // A new setup starts at the connection points the last one left.
        setup.OffsetX = 0;
        setup.OffsetY = 0;
        setup.PrototypeIndex = -1;
    }

    Gadget_ClearItems(kGadgetSetupPrototype);
    for (int p = 0; p < design.Prototypes.Count(); ++p)
        Gadget_AddItem(kGadgetSetupPrototype, -1, design.Prototypes.At(p)->Name);

    Gadget_AddItem(kGadgetSetupRows, -1, SetupRow(30, setup.OffsetX, setup.OffsetY));
    for (int i = 0; i < kConnections; ++i)
        Gadget_AddItem(kGadgetSetupRows, -1, SetupRow(31 + i, setup.ConnX[i], setup.ConnY[i]));

    ColorConnectionRows();
    // A prototype the folder does not have is shown as no choice.
    if (SetupPrototype()) Gadget_SetItemState(kGadgetSetupPrototype, setup.PrototypeIndex, 1);
    return read;
}

void ColorConnectionRows() {
    const Prototype* prototype = SetupPrototype();
    for (int i = 0; i < kConnections; ++i) {
        const bool active = prototype && HasActiveFlag(prototype->ConnectionMask[i]);
        Gadget_SetItemColor(kGadgetSetupRows, i + 1, 1, active ? kActiveRowColour : kInactiveRowColour);
    }
}
