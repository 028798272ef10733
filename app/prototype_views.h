// The prototype list on the screen: its rows (gadget 13), the compatibility
// list (gadget 11), the preview (sprite 4) and the edits made through them.
#pragma once

#include <string>

// Preview picture geometry and colours.
inline constexpr int kPreviewSquareX = 75;        // top-left of the white 100 x 100 square
inline constexpr int kPreviewSquareY = 45;
inline constexpr int kPreviewSquareSide = 100;
inline constexpr int kDotRadius = 6;
inline constexpr int kRingRadius = 8;
inline constexpr int kActiveDotColour = 0x008000;
inline constexpr int kInactiveDotColour = 0x909090;
inline constexpr int kSelectedRingColour = 0x00FF00;
// Compatibility list text colours.
inline constexpr int kAllowedColour = 0x00FF00;
inline constexpr int kNotAllowedColour = 0xC0C0C0;

// ---------------------------------------------------------------- views
// Fills gadget 13 with the prototype names, afresh.
void ShowPrototypeList();
// Draws the prototype at a position into the preview sprite; nothing for none.
void DrawPrototypePreview(int position);
// Refills gadget 11 for connection SelectedProtoConnection of the prototype.
void FillCompatibilityList(int position);

// ---------------------------------------------------------------- edits through the views
// Appends "no name" + n and selects it; refuses a 25th and works only outside the test view.
void AddPrototype();
// Renames the prototype and its row of gadget 13.
void RenamePrototype(int position, const std::string& newName);
// Shows an active connection in the compatibility list and the preview.
void SelectProtoConnection(int prototype, int connection);
// Flips the allowed bit of every row selected in gadget 11.
void ToggleCompatibility(int prototype);
