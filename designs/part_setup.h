// The part setup file: 27 little-endian signed 32-bit values beside each
// part image (Hull.png -> Hull.png.spset), and its two setup gadgets.
#pragma once

#include <string>

#include "design_model.h"

// Values in a setup file: offset x, offset y, prototype, then x, y, extra per connection.
inline constexpr int kSetupFileValues = 27;
// Text colours of the connection rows of gadget 36: in use by the setup's prototype, or not.
inline constexpr int kActiveRowColour = 0xC0C0C0;
inline constexpr int kInactiveRowColour = 0x707070;

// Whether a setup file can exist beside an image of this name: the name with
// ".spset" must fit in a file name (255 bytes).
bool SetupNameFits(const std::string& imageName);
// Writes a setup to a file through the safe-replacing file service; nonzero on success.
int WriteSetupFile(const std::string& path, const PartSetup& setup);
// Reads a setup file (zeros past its end); 0 and `setup` untouched when it cannot be opened.
int ReadSetupFile(const std::string& path, PartSetup& setup);

// Saves design.PartSetup as the setup file of design.PartImageName; nonzero when written.
int SavePartSetup();
// Reads the setup of design.PartImageName (defaults when it has none) and fills gadgets 34
// and 36; nonzero when the file was read.
int LoadPartSetup();
// Greys the connection rows of gadget 36 by whether the setup's prototype uses them.
void ColorConnectionRows();
