// A whole design folder to a JSON document and back: export reads the files
// as the editor reads them, import writes them as the editor's Save would,
// through the same safe-replacing file service.
#pragma once

#include <string>

#include "design_json.h"

// Exit codes shared by export and import.
inline constexpr int kExchangeNotWritten = 1;  // a file could not be written
inline constexpr int kExchangeRefused = 2;     // nothing read or written: see the reason

// What an export or import did.
struct ExchangeOutcome {
    int exitCode = 0;           // 0, kExchangeNotWritten or kExchangeRefused
    std::string reason;         // one line when exitCode is not 0
    int written = 0;            // import: files written
};

// Reads the folder (a path, with or without a closing separator) into a
// document. Needs the image service (for the pictures' sizes); leaves the
// design model's prototype list empty.
ExchangeOutcome ReadDesignDocument(const std::string& folder, DesignDocument& document);
// Writes "Prototypes.pt" (when the document has a list) and each part's
// setup file into an existing folder. Everything is checked first, so a
// refusal writes nothing. The design model is not touched.
ExchangeOutcome WriteDesignDocument(const DesignDocument& document, const std::string& folder);
