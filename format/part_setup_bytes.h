// The bytes of a part setup file ("Hull.png.spset"): 27 signed 32-bit
// little-endian values: offset x, offset y, prototype, then x, y and extra
// per connection.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "design_records.h"

// Values and bytes of a setup file.
inline constexpr int kSetupFileValues = 27;
inline constexpr int kSetupFileBytes = 4 * kSetupFileValues;

using PartSetupBytes = std::array<std::uint8_t, kSetupFileBytes>;

// The file's bytes for a setup.
PartSetupBytes EncodePartSetup(const PartSetup& setup);
// A setup from a file's bytes: values past the end read as zero (a value cut
// short keeps the bytes it has), bytes after the 27th value are ignored.
PartSetup DecodePartSetup(std::span<const std::uint8_t> bytes);
