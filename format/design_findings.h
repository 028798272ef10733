// What can be wrong in a design folder, as values: a stable kind, the file a
// person would open to mend it, and one printable line.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "design_records.h"
#include "prototype_bytes.h"

// ---------------------------------------------------------------- findings
// What a finding is about; each kind has a stable name for tools.
enum class FindingKind {
    DamagedSetup,            // a setup file of the wrong size, or unreadable
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

// The stable name of a finding kind ("missing-prototype", ...).
const char* FindingKindName(FindingKind kind);
// `text` with control characters, stray bytes and quotes shown as escapes, in quotes.
std::string QuoteName(const std::string& text);
// True when a name line can carry the name back and forth: no control
// character and nothing that is not UTF-8.
bool SaveableName(const std::string& name);

// ---------------------------------------------------------------- the checks on bytes alone
// A prototype list that is missing (`isFolder`: a folder stands in its place).
void FindMissingPrototypeList(bool isFolder, std::vector<DesignFinding>& findings);
// Damage to a prototype list that was read, and an empty list.
void FindPrototypeListDamage(const PrototypeList& list, std::vector<DesignFinding>& findings);
// A setup file that cannot be read; appends and returns false when `readable` is false.
bool FindUnreadableSetup(const std::string& image, bool readable, std::vector<DesignFinding>& findings);
// A setup file whose size is not that of a setup.
void FindSetupSize(const std::string& image, std::int64_t size, std::vector<DesignFinding>& findings);
// A setup naming no prototype of the list; returns the prototype it names, or nullptr.
const Prototype* FindSetupPrototype(const std::string& image, const PartSetup& setup,
                                    std::span<const Prototype> prototypes, std::vector<DesignFinding>& findings);
// The rules between prototypes: unreachable prototypes, active connections
// allowing nothing, unsaveable and repeated names.
void FindRuleProblems(std::span<const Prototype> prototypes, std::vector<DesignFinding>& findings);
// "prototype 3 "Hull"": how findings name a prototype.
std::string PrototypeLabel(std::span<const Prototype> prototypes, int position);
