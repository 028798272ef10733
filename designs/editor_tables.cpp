#include "editor_tables.h"

const std::array<std::string, 52> Labels = {
    "OK", "Design", "New", "Save", "Load", "Reset", "Quit", "Random", "Keelwright", "Prototype(s)",
    "Save as", "Load an image as part of a ship", "Images", "Part", "Connections", "Images with a setup",
    "Clear", "Typ", "x", "y", "Setup Part", "Test the parts", "Add", "Remove", "tiny", "small", "medium",
    "large", "huge", "No Design", "Display Offset", "Connection 1", "Connection 2", "Connection 3",
    "Connection 4", "Connection 5", "Connection 6", "Connection 7", "Connection 8",
    "Load an existing design", "Prototyp", "Design", "Mode", "Parts", "View", "no name", "active",
    "select prototype", "Sample", " ", " ", " ",
};

const std::array<std::int32_t, 5> ExportWidths = {24, 32, 48, 64, 96};

const std::array<std::int32_t, 16> ConnectionSlots = {
    0, 33, 33, 0, 66, 0, 100, 33, 100, 66, 66, 100, 33, 100, 0, 66,
};
