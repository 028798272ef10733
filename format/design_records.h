// The two records of a design and the constants of their files. Plain C++20,
// no other library: a game can read designs with this alone.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// ---------------------------------------------------------------- connections
// Connection points per part and per prototype.
inline constexpr int kConnections = 8;
// Bit 24 of a connection mask: the connection point is in use.
inline constexpr std::uint32_t ConnectionActive = 0x1000000;
// Bits 0..23 of a connection mask: the prototypes allowed there, by position.
inline constexpr std::uint32_t kAllowedBits = 0xFFFFFF;
// Masks address 24 prototypes; the editor makes no more.
inline constexpr int kMaxPrototypes = 24;

// "Active" has two readings. The active flag alone (bit 24) is what the
// editor shows; any of bits 24..31 counts as switched on where a connection
// is switched or given a child slot on a ship.
inline bool HasActiveFlag(std::uint32_t mask) { return (mask & ConnectionActive) != 0; }
inline bool IsConnectionOn(std::uint32_t mask) { return (mask & ~kAllowedBits) != 0; }

// ---------------------------------------------------------------- file names
// The prototype list of a design folder.
inline constexpr const char* kPrototypeFileName = "Prototypes.pt";
// Part images, and the setup file beside each ("Hull.png" -> "Hull.png.spset").
inline constexpr const char* kImageExtension = ".png";
inline constexpr const char* kSetupExtension = ".spset";

// ---------------------------------------------------------------- records
// The setup of one part image; also the exact content of its setup file.
struct PartSetup {
    std::int32_t OffsetX = 0;                           // image point placed on the parent's connection
    std::int32_t OffsetY = 0;
    std::int32_t PrototypeIndex = 0;                    // position in the prototype list, -1 = not assigned
    std::array<std::int32_t, kConnections> ConnX{};     // connection points from the image's top-left
    std::array<std::int32_t, kConnections> ConnY{};
    std::array<std::int32_t, kConnections> ConnExtra{}; // stored and carried, never interpreted
    bool operator==(const PartSetup&) const = default;
};

// One named kind of part (its file record is 101 bytes, see prototype_bytes.h).
struct Prototype {
    std::string Name;                                          // no CR, LF or zero byte
    std::int8_t Index = 0;                                     // own position, written at creation
    std::array<std::uint32_t, kConnections> ConnectionMask{};  // ConnectionActive | allowed bits
    std::array<std::uint8_t, 64> reserved{};                   // unused; kept as the file held it
    bool operator==(const Prototype&) const = default;
};
