// The editor's fixed tables, kept with the design model because the design
// operations need them and the app sits above this library.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Every caption and list entry of the editor, by index.
extern const std::array<std::string, 52> Labels;
// The Labels the code names (the screen's layout table holds its own captions).
inline constexpr int kLabelDesign = 1;              // "Design", before a folder number
inline constexpr int kLabelPrototypes = 9;          // "Prototype(s)"
inline constexpr int kLabelLoadImage = 11;          // "Load an image as part of a ship"
inline constexpr int kLabelImages = 12;             // "Images"
inline constexpr int kLabelImagesWithSetup = 15;    // "Images with a setup"
inline constexpr int kLabelX = 18;                  // "x"
inline constexpr int kLabelY = 19;                  // "y"
inline constexpr int kLabelTestCaption = 21;        // "Test the parts"
inline constexpr int kLabelFirstSizeClass = 24;     // "tiny", then one per ExportWidths entry up to "huge"
inline constexpr int kLabelNoDesign = 29;           // "No Design"
inline constexpr int kLabelOffset = 30;             // "Display Offset"
inline constexpr int kLabelFirstConnection = 31;    // "Connection 1", then up to "Connection 8"
inline constexpr int kLabelLoadDesign = 39;         // "Load an existing design"
inline constexpr int kLabelPrototypeCaption = 40;   // "Prototyp"
inline constexpr int kLabelDesignCaption = 41;      // "Design"
inline constexpr int kLabelNoName = 45;             // "no name", before a new prototype's number
inline constexpr int kLabelSample = 48;             // "Sample"
// Widths in pixels of the five ship-picture size classes ("tiny" .. "huge").
extern const std::array<std::int32_t, 5> ExportWidths;
// (x, y) per connection point 1..8 in percent of a square's side, clockwise
// from the upper left side; read from the start each time it is used.
extern const std::array<std::int32_t, 16> ConnectionSlots;
