// A design as one JSON document, for games and for reviewing changes: every
// prototype and every set-up part, both ways. The document carries whatever
// the two files hold that the editor would write back, so a design goes to
// JSON and back to the very same bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "design_model.h"

// The document's "format" and "version" values.
inline constexpr const char* kDesignDocumentFormat = "keelwright-design";
inline constexpr int kDesignDocumentVersion = 1;

// A set-up part image: its file name, its picture's size and its setup.
struct DocumentPart {
    std::string image;          // file name inside the design folder, bytes as on disk
    int width = -1;             // picture size in pixels; -1 when the picture does not decode
    int height = -1;
    PartSetup setup;            // the content of its setup file
};

// Everything the document holds.
struct DesignDocument {
    bool hasPrototypeList = false;       // false: the folder has no "Prototypes.pt"
    std::vector<Prototype> prototypes;   // in list order
    std::vector<DocumentPart> parts;     // in file-name order
};

// The outcome of reading a document.
struct DocumentReading {
    bool valid = false;         // false: see `error`, `document` is empty
    std::string error;          // where and what, one line
    DesignDocument document;    // what was read
};

// The document as pretty-printed JSON (two-space indent, closing line feed).
// Names that are no UTF-8 are written as {"hex": "..."}.
std::string DesignDocumentToJson(const DesignDocument& document);
// Reads and validates a document: every field checked, nothing guessed.
DocumentReading DesignDocumentFromJson(std::string_view text);
// Why an image name is no file name that stays inside a folder on every
// system (a slash of either kind, "..", a drive, a control character, empty),
// or "" when it is one.
std::string UnportableImageNameReason(const std::string& name);
