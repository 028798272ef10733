// The test ship across a change of setups: its tree is put aside before the
// parts are read again and grown back onto the new parts.
#pragma once

#include <string>
#include <vector>

#include "design_model.h"

// One node put aside, its part named by picture file (image numbers do not survive a new read).
struct KeptShipNode {
    ShipNode node;     // as it was, children by position
    std::string file;  // picture file of its part, empty when it had none
};

// ---------------------------------------------------------------- kept ship
std::vector<KeptShipNode> KeepShip(); // the ship's nodes with their parts' files
// Rebuilds ShipNodes from what was kept: a node stays when a part of its file
// exists for its prototype, drawn with that part's new setup; a node whose
// part is gone leaves with everything hanging from it. The root gone: no ship.
void RestoreShip(const std::vector<KeptShipNode>& kept);
