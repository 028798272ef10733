// Checking a design folder without a screen: read as the editor reads it
// (the set-up part images in scan order, "Prototypes.pt") and list what
// would keep a ship from being grown or drawn as its maker meant.
#pragma once

#include <string>
#include <vector>

#include "design_findings.h"

// The outcome of a check.
struct DesignCheck {
    int readable = 0;                     // 0: the folder cannot be read (see failure)
    std::string failure;                  // why it cannot be read
    int images = 0;                       // set-up part images listed
    int prototypes = 0;                   // prototypes read
    std::vector<DesignFinding> findings;  // in the order found
};

// Checks the folder (a path, with or without a closing separator). Needs the
// image service; leaves the design model's lists empty.
DesignCheck CheckDesignFolder(const std::string& folder);
