// Design folders: numbered directories under BaseDir + "Designs\". A new
// folder gets one more than the largest number any entry is named; opening one lists its
// set-up part images in gadget 1 and loads its prototypes; the parts of the
// test ship are read back from the rows of gadget 1.
#pragma once

#include <string>
#include <vector>

// Largest folder number; a Designs folder already holding it gets no new one.
inline constexpr int kMaxDesignFolder = 2147483647;

// The design number a folder name is exactly ("7"; not "007", "+7", "7 (copy)"), else -1.
int DesignNumber(const std::string& name);
// Creates the next numbered folder and opens it; nonzero when the folder was made.
// Otherwise no design is open: DesignFolder is -1 and the title "No Design".
int NewDesignFolder();
// Opens the folder of the row selected in the file list (gadget 26); nonzero when
// it was opened. Without a row, or for a name that is no design number, nothing changes.
int OpenDesignFolder();
// Rebuilds Parts from the rows of gadget 1 that have a setup file, freeing the old
// parts' images; clears ShipNodes. Returns the number of parts.
int LoadSetupParts();

// The part images of a folder (path ending in a separator) that have a setup
// file, in scan order: what the image list shows. `scanned` (may be null) is
// 0 when the folder could not be scanned.
std::vector<std::string> ListSetupImages(const std::string& folder, int* scanned);
// Rebuilds Parts from the named images of a folder, as LoadSetupParts does,
// without a gadget. Returns the number of parts.
int LoadPartsFrom(const std::string& folder, const std::vector<std::string>& names);
// Frees the parts' images and empties Parts and ShipNodes.
void FreeDesignParts();

// Gadget 2's title for a folder number: "Design: n".
std::string DesignTitle(int folder);
