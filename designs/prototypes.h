// The prototype list of the open design: its file "Prototypes.pt", read and
// written through the file services, and the edits of the list.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "design_model.h"
#include "prototype_bytes.h"

// What reading a prototype list met, for telling a damaged file.
struct PrototypeFileReading {
    std::int64_t size = -1;       // file size; -1 missing, -2 a directory
    int opened = 0;               // nonzero when the file could be read
    std::int32_t storedCount = 0; // the count as stored
    int shortFile = 0;            // nonzero when an entry ran past the end
    int trailingData = 0;         // nonzero when bytes follow the last entry
};

// ---------------------------------------------------------------- the file
// Writes a list of prototypes as a prototype list file, replacing it safely; nonzero when written.
int WritePrototypeFile(const std::string& path, std::span<const Prototype> prototypes);
// Writes every prototype of the design to the file, as WritePrototypeFile; nonzero when written.
int SavePrototypes(const std::string& path);
// Replaces the prototypes by the file's; `reading` (may be null) hears what
// the file held. The list is emptied first, so a file that cannot be opened
// leaves it empty; 0 then.
int ReadPrototypeList(const std::string& path, PrototypeFileReading* reading);
// The prototypes as a plain list, in order.
std::vector<Prototype> PrototypeValues();

// ---------------------------------------------------------------- edits
// Appends "no name" + n as the current prototype; its position, or -1 when
// refused (a 25th, or in the test view).
int AppendPrototype();
// Renames a prototype, without the characters a name line cannot hold;
// nonzero when the name changed.
int SetPrototypeName(PrototypePosition position, const std::string& newName);
// Switches a connection on or off, keeping its allowed prototypes.
void ToggleConnectionActive(PrototypePosition prototype, int connection);
// Makes an active connection of the prototype the one shown; nonzero when it is.
int ChooseProtoConnection(PrototypePosition prototype, int connection);
// Flips the allowed bit of each listed prototype position at the shown
// connection; nothing in the test view.
void ToggleAllowedPrototypes(PrototypePosition prototype, const std::vector<int>& positions);
