// Numbering, opening and reading back the parts of design folders.
#include "design_folders.h"

#include <cstdint>
#include <utility>

#include "design_model.h"
#include "editor_tables.h"
#include "part_setup.h"
#include "paths.h"
#include "prototypes.h"
#include "services.h"

namespace {

// Part images and the setup file beside each.
constexpr const char* kImagePattern = "*.png";
// Digits of the largest folder number.
constexpr std::size_t kMaxDesignDigits = 10;

void FreeShip() { design.ShipNodes.Clear(); }

}  // namespace

std::string DesignTitle(int folder) { return Labels[kLabelDesign] + ": " + Str(folder); }

int DesignNumber(const std::string& name) {
    if (name.empty() || name.size() > kMaxDesignDigits || name[0] < '1' || name[0] > '9') return -1;
    std::int64_t value = 0;
    for (const char c : name) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value <= kMaxDesignFolder ? static_cast<int>(value) : -1;
}

int CreateDesignFolder() {
    design.DesignFolder = -1;
    if (!Dir_Examine(kDesignScan, DesignsPath(), "*.*")) return 0;
    // Any entry holding a number takes it, a file or a broken link as much as
    // a folder: the new folder must really be made under its number.
    std::int64_t largest = 0;
    while (Dir_Next(kDesignScan)) {
        const std::int64_t v = DesignNumber(Dir_EntryName(kDesignScan));
        if (v > largest) largest = v;
    }
    Dir_Finish(kDesignScan);
    // The last number is taken: refuse rather than wrap to a negative folder.
    if (largest >= kMaxDesignFolder) return 0;

    const int folder = static_cast<int>(largest + 1);
    if (!Dir_Create(DesignsPath() + Str(folder))) return 0;
    design.DesignFolder = folder;
    FreeShip();
    return folder;
}

std::vector<std::string> OpenDesign(int folder) {
    design.DesignFolder = folder;
    design.Prototypes.Clear();
    // Positions of the old list mean nothing in the new one.
    design.CurrentPrototype = -1;
    design.LastPrototypeRow = -1;
    design.SelectedProtoConnection = -1;
    design.PreviewVisible = 0;
    std::vector<std::string> images = ListSetupImages(DesignFolderPath(), nullptr);
    if (File_Size(PrototypesPath()) >= 0) ReadPrototypeList(PrototypesPath(), nullptr);
    return images;
}

void FreeDesignParts() {
    // The nodes refer to the images about to be freed.
    FreeShip();
    for (int p = 0; p < design.Parts.Count(); ++p) {
        Part* part = design.Parts.At(p);
        if (part->Image) Image_Free(part->Image);
    }
    design.Parts.Clear();
}

std::vector<std::string> ListSetupImages(const std::string& folder, int* scanned) {
    std::vector<std::string> names;
    const int ok = Dir_Examine(kDesignScan, folder, kImagePattern);
    if (scanned) *scanned = ok;
    if (!ok) return names;
    while (Dir_Next(kDesignScan)) {
        if (Dir_EntryType(kDesignScan) != kEntryFile) continue;
        std::string name = Dir_EntryName(kDesignScan);
        // Only images that were set up; a directory of the setup's name does not count.
        if (File_Size(folder + name + kSetupExtension) >= 0) names.push_back(std::move(name));
    }
    Dir_Finish(kDesignScan);
    return names;
}

int LoadPartsFrom(const std::string& folder, const std::vector<std::string>& names) {
    FreeDesignParts();
    design.PartsOverBudget = 0;
    for (const std::string& name : names) {
        PartSetup setup;
        // A short file reads as zeros past its end; a missing one gives no part.
        if (!ReadSetupFile(folder + name + kSetupExtension, setup)) continue;
        Part& part = design.Parts.Append();
        part.Setup = setup;
        part.Image = ImageNumber{Image_Load(kServiceAuto, folder + name, 0)};
        part.File = name;
        if (!part.Image && Picture_OverBudget()) ++design.PartsOverBudget;
    }
    return design.Parts.Count();
}
