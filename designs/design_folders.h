// Design folders: numbered directories under BaseDir + "Designs\". A new
// folder gets one more than the largest number any entry is named; opening
// one reads its prototypes and lists its set-up part images.
#pragma once

#include <string>
#include <vector>

// Largest folder number; a Designs folder already holding it gets no new one.
inline constexpr int kMaxDesignFolder = 2147483647;

// The design number a folder name is exactly ("7"; not "007", "+7", "7 (copy)"), else -1.
int DesignNumber(const std::string& name);
// Creates the next numbered folder and makes it the open one; its number, or
// 0 when none was made (then no design is open: DesignFolder is -1).
int CreateDesignFolder();
// Opens a design folder by number: the test ship and the old design's current
// prototype go, the prototypes are read from its "Prototypes.pt" (none without
// one). Returns the part images with a setup file, in scan order.
std::vector<std::string> OpenDesign(int folder);

// The part images of a folder (path ending in a separator) that have a setup
// file, in scan order: what the image list shows. `scanned` (may be null) is
// 0 when the folder could not be scanned.
std::vector<std::string> ListSetupImages(const std::string& folder, int* scanned);
// Rebuilds Parts from the named images of a folder (those whose setup file
// cannot be read are left out), freeing the old parts' images; clears
// ShipNodes. Returns the number of parts.
int LoadPartsFrom(const std::string& folder, const std::vector<std::string>& names);
// Frees the parts' images and empties Parts and ShipNodes.
void FreeDesignParts();

// The title of an open design for a folder number: "Design: n".
std::string DesignTitle(int folder);
