// Reading a whole design folder with the standard library alone: the
// prototype list, every set-up part image's setup, and what is wrong, as
// values. Damaged or odd files never stop the reading.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "design_findings.h"
#include "design_records.h"
#include "prototype_bytes.h"

// A part image of the folder that has a setup file.
struct DesignPart {
    std::string image;            // the image's file name, as on disk ("Hull.png")
    PartSetup setup;              // its setup ("Hull.png.spset"); zeros where the file was short
    std::int64_t setupSize = 0;   // bytes of the setup file
};

// A design folder as read.
struct DesignFolder {
    bool readable = false;                // false: nothing could be read, see `failure`
    std::string failure;                  // why, in words
    bool hasPrototypeList = false;        // "Prototypes.pt" was there and read
    PrototypeList prototypeList;          // the prototypes and what their file met
    std::vector<std::string> images;      // part images with a setup file, in scan order
    std::vector<DesignPart> parts;        // the parts whose setup could be read, in scan order
    std::vector<DesignFinding> findings;  // what is wrong, in the order found (pictures are not decoded)
};

// Reads a design folder. Never throws for anything on the disk.
DesignFolder ReadDesignFolder(const std::filesystem::path& folder);

// ---------------------------------------------------------------- helpers shared with the editor
// A part image name: ends in ".png" in any case.
bool IsPartImageName(const std::string& name);
// The order a folder's names are listed in: without regard to ASCII case, byte order breaking ties.
bool DesignNameLess(const std::string& a, const std::string& b);
