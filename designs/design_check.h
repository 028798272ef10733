// Checking a design folder without a screen: read as the editor reads it
// (the set-up part images in scan order, "Prototypes.pt") and list what
// would keep a ship from being grown or drawn as its maker meant.
#pragma once

#include <string>
#include <vector>

// What a finding is about; each kind has a stable name for tools.
enum class FindingKind {
    DamagedSetup,            // a setup file of the wrong size
    MissingPrototype,        // a setup naming no prototype of the design
    UndecodablePicture,      // a listed part image that does not decode
    MissingPrototypeList,    // no "Prototypes.pt"
    DamagedPrototypeList,    // a count that does not fit the file
    NoPrototypes,            // an empty prototype list
    PrototypeWithoutPart,    // no drawable part image names the prototype
    UnreachablePrototype,    // cannot be attached anywhere from prototype 0
    ConnectionAllowsNothing, // an active connection allowing no prototype of the design
    ConnectionOutsidePicture,// a connection point of a setup outside its image
    OffsetOutsidePicture,    // the display offset of a setup outside its image
    UnsaveableName,          // a name holding characters a name cannot keep
    DuplicateName,           // two prototypes of one name
    LinkLeavesFolder,        // a link that leads out of the folder: never read
    PictureOverBudget,       // a picture that would take the decoded pictures over the budget
    SetupNameTooLong,        // an image whose setup file's name would be too long to exist
};

// One thing wrong: the file it is in and what is wrong, in words.
struct DesignFinding {
    FindingKind kind = FindingKind::DamagedSetup;  // what sort of thing
    std::string file;                              // file name inside the folder
    std::string message;                           // one line, printable
};

// The outcome of a check.
struct DesignCheck {
    int readable = 0;                     // 0: the folder cannot be read (see failure)
    std::string failure;                  // why it cannot be read
    int images = 0;                       // set-up part images listed
    int prototypes = 0;                   // prototypes read
    std::vector<DesignFinding> findings;  // in the order found
};

// The stable name of a finding kind ("missing-prototype", ...).
const char* FindingKindName(FindingKind kind);
// Checks the folder (a path, with or without a closing separator). Needs the
// image service; leaves the design model's lists empty.
DesignCheck CheckDesignFolder(const std::string& folder);
// `text` with control characters, stray bytes and quotes shown as escapes, in quotes.
std::string QuoteName(const std::string& text);
