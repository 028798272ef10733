// The part setup file beside each part image (Hull.png -> Hull.png.spset),
// read and written through the file services; the bytes are the format's.
#pragma once

#include <string>

#include "design_model.h"
#include "part_setup_bytes.h"

// Whether a setup file can exist beside an image of this name: the name with
// ".spset" must fit in a file name (255 bytes).
bool SetupNameFits(const std::string& imageName);
// Writes a setup to a file through the safe-replacing file service; nonzero on success.
int WriteSetupFile(const std::string& path, const PartSetup& setup);
// Reads a setup file (zeros past its end); 0 and `setup` untouched when it cannot be opened.
int ReadSetupFile(const std::string& path, PartSetup& setup);

// Saves design.PartSetup as the setup file of design.PartImageName; nonzero when written.
int SavePartSetup();
// Reads the setup of design.PartImageName into design.PartSetup; without a
// file, a new setup keeps the last connection points with no offset and no
// prototype. Nonzero when the file was read.
int ReadPartSetup();
