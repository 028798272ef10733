// The test ship kept across "Mode": parts found again by their picture files.
#include "kept_ship.h"

#include <unordered_map>
#include <utility>

#include "prototypes.h"

namespace {

struct NewPart {
    ImageNumber image;          // the part read anew
    std::int32_t prototype = 0; // its prototype by the new setup
};

// Copies the kept subtree under `from` into ShipNodes, depth first; its new position.
int Grow(const std::vector<KeptShipNode>& kept, int from, const std::unordered_map<std::string, NewPart>& parts,
         std::vector<bool>& visited) {
    const KeptShipNode& k = kept[static_cast<std::size_t>(from)];
    visited[static_cast<std::size_t>(from)] = true;
    const int position = design.ShipNodes.Count();
    ShipNode& added = design.ShipNodes.Append();
    added.PrototypeIndex = k.node.PrototypeIndex;
    added.Image = parts.at(k.file).image;
    const Prototype* prototype = std::as_const(design.Prototypes).At(k.node.PrototypeIndex);
    for (std::size_t i = 0; i < kConnections; ++i) {
        // The prototype decides which connections are active now, as for a new node.
        const bool active = prototype && IsConnectionOn(prototype->ConnectionMask[i]);
        std::int32_t child = active ? ChildFree : ChildInactive;
        const std::int32_t old = k.node.Child[i];
        if (active && old >= 0 && old < static_cast<std::int32_t>(kept.size()) &&
            !visited[static_cast<std::size_t>(old)]) {
            const KeptShipNode& c = kept[static_cast<std::size_t>(old)];
            const auto part = parts.find(c.file);
            if (part != parts.end() && part->second.prototype == c.node.PrototypeIndex)
                child = Grow(kept, old, parts, visited);
        }
        design.ShipNodes.At(position)->Child[i] = child;
    }
    return position;
}

}  // namespace

std::vector<KeptShipNode> KeepShip() {
    std::unordered_map<ImageNumber, std::string> fileOfImage;
    for (int p = 0; p < design.Parts.Count(); ++p) {
        const Part* part = std::as_const(design.Parts).At(p);
        if (part->Image) fileOfImage.emplace(part->Image, part->File);
    }
    std::vector<KeptShipNode> kept;
    for (int n = 0; n < design.ShipNodes.Count(); ++n) {
        const ShipNode& node = *std::as_const(design.ShipNodes).At(n);
        const auto file = fileOfImage.find(node.Image);
        kept.push_back({node, file == fileOfImage.end() ? std::string() : file->second});
    }
    return kept;
}

void RestoreShip(const std::vector<KeptShipNode>& kept) {
    design.ShipNodes.Clear();
    std::unordered_map<std::string, NewPart> parts;
    for (int p = 0; p < design.Parts.Count(); ++p) {
        const Part* part = std::as_const(design.Parts).At(p);
        if (part->Image) parts.emplace(part->File, NewPart{part->Image, part->Setup.PrototypeIndex});
    }
    if (kept.empty()) return;
    const auto root = parts.find(kept.front().file);
    if (root == parts.end() || root->second.prototype != kept.front().node.PrototypeIndex) return;
    std::vector<bool> visited(kept.size(), false);
    Grow(kept, 0, parts, visited);
}
