// Random ships: a test ship grown without a person, each choice (leave a free
// connection empty or not, which allowed prototype, which of its parts) taken
// from a seeded generator that gives the same numbers on every machine.
#pragma once

#include <cstdint>

// Growth bounds: parts from the root to the farthest leaf, and parts per ship.
inline constexpr int kMaxGrowthDepth = 64;
inline constexpr int kMaxGrowthNodes = 256;

// A small generator written out (SplitMix64), so its numbers do not depend on
// the standard library in use.
class ShipRandom {
public:
    explicit ShipRandom(std::uint64_t seed) : state_(seed) {}
    // The next 64 random bits.
    std::uint64_t Next();
    // A number in 0..n-1 (0 for n < 1), unbiased.
    int Below(int n);

private:
    std::uint64_t state_ = 0;  // advanced by a fixed odd step per number
};

// The generator of ship `index` of a run with `seed`: ship k is the same
// whatever the number of ships asked for.
ShipRandom ShipRandomFor(std::uint64_t seed, std::uint64_t index);

// Replaces ShipNodes by a ship grown from prototype 0 as the test view grows
// one: StartShip (the root taking the first of prototype 0's parts whose
// picture loaded), then, breadth first, each free connection of a node less
// than `depth` parts from the root either stays free or gets a part of a
// prototype the connection allows, attached as AttachPart attaches it. Only
// parts whose picture loaded are chosen. Stops at `maxNodes` parts. Returns
// the number of nodes; 0 when the design has no root part to draw.
int GrowShip(ShipRandom& random, int depth, int maxNodes);
