// The design check: the findings on the files' bytes are the format's; the
// pictures are decoded here, through the image service.
#include "design_check.h"

#include <utility>

#include "design_folders.h"
#include "design_model.h"
#include "part_setup.h"
#include "prototypes.h"
#include "paths.h"
#include "services.h"

namespace {

constexpr const char* kLeavesFolder = "a link leading out of the folder: not read";

void Add(DesignCheck& check, FindingKind kind, const std::string& file, const std::string& message) {
    check.findings.push_back({kind, file, message});
}

void CheckParts(DesignCheck& check, const std::string& folder, const std::vector<std::string>& names,
                const std::vector<Prototype>& prototypes) {
    std::vector<char> drawn(prototypes.size(), 0);
    for (const std::string& name : names) {
        const std::string setupName = name + kSetupExtension;
        bool linkedOut = false;
        for (const std::string& file : {setupName, name})
            if (File_LinkKind(folder + file) == kLinkOutside) {
                Add(check, FindingKind::LinkLeavesFolder, file, kLeavesFolder);
                linkedOut = true;
            }
        if (linkedOut) continue;
        const std::int64_t size = File_Size(folder + setupName);
        PartSetup setup;
        if (!FindUnreadableSetup(name, ReadSetupFile(folder + setupName, setup), check.findings)) continue;
        FindSetupSize(name, size, check.findings);
        const int image = Image_Load(kServiceAuto, folder + name, 0);
        if (!image && Picture_OverBudget())
            Add(check, FindingKind::PictureOverBudget, name, "too big for the budget of decoded pictures: not loaded");
        else if (!image)
            Add(check, FindingKind::UndecodablePicture, name, "the picture cannot be decoded");
        const int w = image ? Image_Width(image) : 0, h = image ? Image_Height(image) : 0;
        // The editor keeps every point within 0..width and 0..height, both ends included.
        auto outside = [&](std::int32_t x, std::int32_t y) { return image && (x < 0 || y < 0 || x > w || y > h); };
        const std::string picture = " lies outside the " + std::to_string(w) + " x " + std::to_string(h) + " picture";
        if (outside(setup.OffsetX, setup.OffsetY))
            Add(check, FindingKind::OffsetOutsidePicture, setupName,
                "display offset (" + std::to_string(setup.OffsetX) + ", " + std::to_string(setup.OffsetY) + ")" + picture);
        if (const Prototype* prototype = FindSetupPrototype(name, setup, prototypes, check.findings)) {
            if (image) drawn[static_cast<std::size_t>(setup.PrototypeIndex)] = 1;
            for (int i = 0; i < kConnections; ++i) {
                if (!IsConnectionOn(prototype->ConnectionMask[static_cast<std::size_t>(i)])) continue;
                const std::int32_t x = setup.ConnX[static_cast<std::size_t>(i)], y = setup.ConnY[static_cast<std::size_t>(i)];
                const std::string point = "connection " + std::to_string(i + 1) + " (" + std::to_string(x) + ", " +
                                          std::to_string(y) + ")";
                if (outside(x, y)) Add(check, FindingKind::ConnectionOutsidePicture, setupName, point + picture);
            }
        }
        if (image) Image_Free(image);
    }
    for (std::size_t p = 0; p < prototypes.size(); ++p)
        if (!drawn[p])
            Add(check, FindingKind::PrototypeWithoutPart, kPrototypeFileName,
                PrototypeLabel(prototypes, static_cast<int>(p)) + " has no part image: a ship cannot show it");
}

// Part images whose setup could never be saved: the name with ".spset" is longer than a file name can be.
void CheckSetupNames(DesignCheck& check, const std::string& folder) {
    if (!Dir_Examine(kDesignScan, folder, "*.png")) return;
    while (Dir_Next(kDesignScan)) {
        const std::string name = Dir_EntryName(kDesignScan);
        if (Dir_EntryType(kDesignScan) == kEntryFile && !SetupNameFits(name))
            Add(check, FindingKind::SetupNameTooLong, name,
                "the name is too long for a setup file beside it: its setup can never be saved");
    }
    Dir_Finish(kDesignScan);
}

}  // namespace

DesignCheck CheckDesignFolder(const std::string& path) {
    DesignCheck check;
    design.Prototypes.Clear();
    FreeDesignParts();
    std::string folder = path;
    if (folder.empty() || !IsPathSeparator(folder.back())) folder += OwnPath("\\");
    const std::int64_t size = path.empty() ? -1 : File_Size(path);
    int scanned = 0;
    const std::vector<std::string> names = size == -2 ? ListSetupImages(folder, &scanned) : std::vector<std::string>{};
    if (size != -2 || !scanned) {
        check.failure = size == -1 ? "no such folder" : size >= 0 ? "not a folder" : "the folder cannot be read";
        return check;
    }
    PrototypeFileReading reading;
    const bool listLinkedOut = File_LinkKind(folder + kPrototypeFileName) == kLinkOutside;
    const int hasList = listLinkedOut ? 0 : ReadPrototypeList(folder + kPrototypeFileName, &reading);
    const std::vector<Prototype> prototypes = PrototypeValues();
    design.Prototypes.Clear();
    if (!hasList && !listLinkedOut && names.empty()) {
        check.failure = std::string("not a design folder: no ") + kPrototypeFileName + " and no part image with a setup";
        return check;
    }
    check.readable = 1;
    check.images = static_cast<int>(names.size());
    check.prototypes = static_cast<int>(prototypes.size());
    if (listLinkedOut) {
        Add(check, FindingKind::LinkLeavesFolder, kPrototypeFileName, kLeavesFolder);
    } else if (!hasList) {
        FindMissingPrototypeList(reading.size == -2, check.findings);
    } else {
        PrototypeList list;
        list.storedCount = reading.storedCount;
        list.shortFile = reading.shortFile != 0;
        list.trailingData = reading.trailingData != 0;
        list.prototypes = prototypes;
        FindPrototypeListDamage(list, check.findings);
    }
    CheckParts(check, folder, names, prototypes);
    CheckSetupNames(check, folder);
    FindRuleProblems(prototypes, check.findings);
    return check;
}
