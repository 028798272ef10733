// The prototype list: its file "Prototypes.pt", the editing operations and
// the two views of a prototype (preview sprite 4 and gadget 11).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "design_model.h"

// Bytes of one prototype record in the file, byte-packed, little-endian.
inline constexpr int kPrototypeRecordSize = 101;
// A damaged count never makes the reader go beyond this many entries.
inline constexpr int kMaxPrototypeEntries = 1024;

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

using PrototypeRecord = std::array<std::uint8_t, kPrototypeRecordSize>;

// The 101-byte file record of a prototype (the name slot is written as zero).
PrototypeRecord EncodePrototypeRecord(const Prototype& prototype);
// Index, masks and reserved bytes from a record; the name is left alone.
// Bytes missing from a short span read as zero.
void DecodePrototypeRecord(std::span<const std::uint8_t> record, Prototype& prototype);
// The name without the CR, LF and zero bytes a name line cannot hold.
std::string CleanPrototypeName(const std::string& name);

// What reading a prototype list met, for telling a damaged file.
struct PrototypeFileReading {
    std::int64_t size = -1;       // file size; -1 missing, -2 a directory
    int opened = 0;               // nonzero when the file could be read
    std::int32_t storedCount = 0; // the count as stored
    int shortFile = 0;            // nonzero when an entry ran past the end
    int trailingData = 0;         // nonzero when bytes follow the last entry
};

// Writes every prototype to the file; nonzero when written.
int SavePrototypes(const std::string& path);
// Replaces the prototypes by the file's without touching a gadget, so it
// works without a screen; `reading` (may be null) hears what the file held.
// The list is emptied first; 0 when the file cannot be opened.
int ReadPrototypeList(const std::string& path, PrototypeFileReading* reading);
// Replaces the prototypes by the file's and adds each name as a row of gadget 13.
// The list is emptied first, so a file that cannot be opened leaves it empty; 0 then.
int LoadPrototypes(const std::string& path);

// Draws the prototype at a position into the preview sprite; nothing for none.
void DrawPrototypePreview(int position);
// Refills gadget 11 for connection SelectedProtoConnection of the prototype.
void FillCompatibilityList(int position);

// Appends "no name" + n and selects it; refuses a 25th and works only outside the test view.
void AddPrototype();
// Renames the prototype and its row of gadget 13.
void RenamePrototype(int position, const std::string& newName);
// Switches a connection on or off, keeping its allowed prototypes.
void ToggleConnectionActive(int prototype, int connection);
// Shows an active connection in the compatibility list and the preview.
void SelectProtoConnection(int prototype, int connection);
// Flips the allowed bit of every row selected in gadget 11.
void ToggleCompatibility(int prototype);
