// The bytes of "Prototypes.pt": a signed 32-bit little-endian count, then per
// prototype its 101-byte record and its name as a line ending in CR LF.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "design_records.h"

// Bytes of one prototype record, byte-packed, little-endian.
inline constexpr int kPrototypeRecordSize = 101;
// A damaged count never makes a reader go beyond this many entries.
inline constexpr int kMaxPrototypeEntries = 1024;
// Reads of a list file stop here: no list of kMaxPrototypeEntries sane entries comes near it.
inline constexpr std::int64_t kMaxPrototypeListBytes = std::int64_t{64} << 20;

using PrototypeRecord = std::array<std::uint8_t, kPrototypeRecordSize>;

// ---------------------------------------------------------------- one record
// The 101-byte record of a prototype (the name slot is written as zero).
PrototypeRecord EncodePrototypeRecord(const Prototype& prototype);
// Index, masks and reserved bytes from a record; the name is left alone.
// Bytes missing from a short span read as zero.
void DecodePrototypeRecord(std::span<const std::uint8_t> record, Prototype& prototype);
// The name without the CR, LF and zero bytes a name line cannot hold.
std::string CleanPrototypeName(const std::string& name);

// ---------------------------------------------------------------- the whole file
// What a prototype list file held.
struct PrototypeList {
    std::vector<Prototype> prototypes;  // as many as the count says, within 0..kMaxPrototypeEntries
    std::int32_t storedCount = 0;       // the count as stored
    bool shortFile = false;             // an entry ran past the end (missing bytes read as zero)
    bool trailingData = false;          // bytes follow the last entry
};

// The file's bytes for a list of prototypes, each name cleaned.
std::vector<std::uint8_t> EncodePrototypeList(std::span<const Prototype> prototypes);
// Reads a list from a file's bytes; never fails: damage shows in the flags.
PrototypeList DecodePrototypeList(std::span<const std::uint8_t> bytes);
