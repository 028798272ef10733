// The editor's fixed tables, kept with the design model because the design
// operations need them and the app sits above this library.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Every caption and list entry of the editor, by index.
extern const std::array<std::string, 52> Labels;
// Widths in pixels of the five ship-picture size classes ("tiny" .. "huge").
extern const std::array<std::int32_t, 5> ExportWidths;
// (x, y) per connection point 1..8 in percent of a square's side, clockwise
// from the upper left side; read from the start each time it is used.
extern const std::array<std::int32_t, 16> ConnectionSlots;
