// Growing a random ship on the design's own rules.
#include "ship_growth.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "design_model.h"
#include "ship_assembly.h"

namespace {

// One connection in four stays free, so ships differ in shape as well as in parts.
constexpr int kLeaveFreeOneIn = 4;

// Positions of the parts of a prototype that have a picture, in Parts order.
std::vector<int> DrawablePartsOf(int prototype) {
    std::vector<int> found;
    const auto& parts = std::as_const(design.Parts);
    for (int p = 0; p < parts.Count(); ++p)
        if (parts.At(p)->Setup.PrototypeIndex == prototype && parts.At(p)->Image) found.push_back(p);
    return found;
}

}  // namespace

std::uint64_t ShipRandom::Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int ShipRandom::Below(int n) {
    if (n < 1) return 0;
    // Rejection keeps every value equally likely.
    const std::uint64_t range = static_cast<std::uint64_t>(n);
    const std::uint64_t limit = ~std::uint64_t{0} - (~std::uint64_t{0} % range);
    std::uint64_t v = Next();
    while (v >= limit) v = Next();
    return static_cast<int>(v % range);
}

ShipRandom ShipRandomFor(std::uint64_t seed, std::uint64_t index) {
    ShipRandom mix(seed ^ (index * 0xD1B54A32D192ED03ull));
    return ShipRandom(mix.Next());
}

int GrowShip(ShipRandom& random, int depth, int maxNodes) {
    design.ShipNodes.Clear();
    StartShip();
    // The root is the first part of prototype 0 whose picture loaded, not merely its first part.
    if (const ShipNode* start = std::as_const(design.ShipNodes).At(0); start && !start->Image) {
        const std::vector<int> drawable = DrawablePartsOf(start->PrototypeIndex);
        if (!drawable.empty())
            design.ShipNodes.At(0)->Image = std::as_const(design.Parts).At(drawable.front())->Image;
    }
    const ShipNode* root = std::as_const(design.ShipNodes).At(0);
    if (!root || !root->Image) return 0;
    depth = std::clamp(depth, 1, kMaxGrowthDepth);
    maxNodes = std::clamp(maxNodes, 1, kMaxShipNodes);

    // The drawable parts of each prototype an allowed bit can name, looked up once.
    const auto& prototypes = std::as_const(design.Prototypes);
    const int named = std::min(prototypes.Count(), kMaxPrototypes);
    std::vector<std::vector<int>> partsOf(static_cast<std::size_t>(named));
    for (int k = 0; k < named; ++k) partsOf[static_cast<std::size_t>(k)] = DrawablePartsOf(k);

    std::vector<int> level{0};  // depth of each node, by position; the root is 1
    level[0] = 1;
    for (int n = 0; n < design.ShipNodes.Count() && design.ShipNodes.Count() < maxNodes; ++n) {
        if (level[static_cast<std::size_t>(n)] >= depth) continue;
        for (int i = 0; i < kConnections && design.ShipNodes.Count() < maxNodes; ++i) {
            const ShipNode& node = *std::as_const(design.ShipNodes).At(n);
            if (node.Child[static_cast<std::size_t>(i)] != ChildFree) continue;
            const Prototype* own = prototypes.At(node.PrototypeIndex);
            if (!own) continue;
            const std::uint32_t mask = own->ConnectionMask[static_cast<std::size_t>(i)];
            std::vector<int> allowed;
            for (int k = 0; k < named; ++k)
                if ((mask & (std::uint32_t{1} << k)) && !partsOf[static_cast<std::size_t>(k)].empty()) allowed.push_back(k);
            if (allowed.empty() || random.Below(kLeaveFreeOneIn) == 0) continue;
            const int prototype = allowed[static_cast<std::size_t>(random.Below(static_cast<int>(allowed.size())))];
            const std::vector<int>& choices = partsOf[static_cast<std::size_t>(prototype)];
            const int part = choices[static_cast<std::size_t>(random.Below(static_cast<int>(choices.size())))];
            // As AttachPart: the slot names the position the new node gets.
            const int position = design.ShipNodes.Count();
            design.ShipNodes.At(n)->Child[static_cast<std::size_t>(i)] = position;
            ShipNode& added = design.ShipNodes.Append();
            added.Image = std::as_const(design.Parts).At(part)->Image;
            added.PrototypeIndex = prototype;
            InitNodeConnections(position, PrototypePosition{prototype});
            level.push_back(level[static_cast<std::size_t>(n)] + 1);
        }
    }
    return design.ShipNodes.Count();
}
