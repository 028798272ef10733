// The design model: the open design folder, the part setup being edited, and
// the three lists (prototypes, parts, test ship nodes).
// Records are addressed by 0-based position; records are appended and only
// taken away from the end (undo) or as a whole list, so a position stays
// valid while its list holds it.
#pragma once

#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "design_records.h"
#include "editor_objects.h"

// The nearest integer, halves to the even one (the default rounding mode), held
// within int: every scaled coordinate of the pictures is rounded this way.
inline int RoundHalfEven(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= INT_MIN)) return INT_MIN;
    return r > INT_MAX ? INT_MAX : static_cast<int>(r);
}

// ShipNode.Child values below 0.
inline constexpr int ChildInactive = -2;  // the connection is not active in the node's prototype
inline constexpr int ChildFree = -1;      // active and nothing attached

// A prototype's position in Prototypes where the design operations and the
// screen hand one over, so that it cannot be taken for a connection, a node or
// a row. Records and globals keep the plain numbers they store.
struct PrototypePosition {
    int value = -1;  // 0-based; -1 = none
    auto operator<=>(const PrototypePosition&) const = default;
};

// A part image of the open folder with its setup.
struct Part {
    ::PartSetup Setup;                            // read from the image's setup file
    ImageNumber Image;                            // owned image; 0 = the picture failed to load
    std::string File;                             // its picture's file name in the design folder
};

// One placed part of the test ship.
struct ShipNode {
    std::int32_t PrototypeIndex = 0;              // position of the node's prototype
    ImageNumber Image;                            // the Part's image (not owned); 0 = nothing drawn or hit
    std::array<std::int32_t, kConnections> Child{}; // ChildInactive, ChildFree or a node position
};

// An ordered list addressed by position. A deque keeps every record at the
// same address while records are appended.
template <class Record> class DesignList {
public:
    // Number of records.
    int Count() const { return static_cast<int>(records_.size()); }
    // The record at a position; nullptr outside 0..Count()-1. Use it at once, never keep it.
    Record* At(int position) {
        if (!Has(position)) return nullptr;
        Touch();  // the caller may write through it
        return &records_[static_cast<std::size_t>(position)];
    }
    const Record* At(int position) const {
        return Has(position) ? &records_[static_cast<std::size_t>(position)] : nullptr;
    }
    // A new all-zero record, placed last; fill it at once, never keep it.
    Record& Append() {
        Touch();
        return records_.emplace_back();
    }
    // Removes the records from `count` on, taking back appends; owned images
    // and gadgets of those records must be freed first.
    void Truncate(int count) {
        if (count < 0 || count >= Count()) return;
        Touch();
        records_.resize(static_cast<std::size_t>(count));
    }
    // Removes every record; owned images and gadgets must be freed first.
    void Clear() {
        Touch();
        records_.clear();
    }
    // Changes with every access that may alter the list (Append, Clear, the
    // writable At), never repeating in a run: what is derived from the list
    // stays valid while this stays the same.
    std::uint64_t Generation() const { return generation_; }

private:
    bool Has(int position) const { return position >= 0 && position < Count(); }
    void Touch() {
        static std::uint64_t counter = 0;
        generation_ = ++counter;
    }
    std::deque<Record> records_;
    std::uint64_t generation_ = 0;  // see Generation()
};

// Where the test ship's parts and free connections lie, in the order a click
// tests them: boxes relative to the start node's anchor and the hit code
// each reports. The ship assembly works it out and keeps it while ShipNodes
// and Parts stay as they were when it did.
struct ShipHitCache {
    bool Built = false;                          // false until the first walk
    int Start = 0;                               // node the walk started from
    std::int64_t OriginX = 0;                    // its anchor during the walk
    std::int64_t OriginY = 0;
    std::uint64_t NodesGeneration = 0;           // ShipNodes when it was walked
    std::uint64_t PartsGeneration = 0;           // Parts when it was walked
    std::vector<std::int32_t> X0, Y0, X1, Y1;    // the boxes, in hit order
    std::vector<std::uint32_t> Code;             // what each box reports
};

// Everything of the design side. Reset by assigning a fresh value.
struct DesignState {
    std::string BaseDir;                  // current directory at start-up, ending in a separator
    int DesignFolder = -1;                // number of the open design folder, -1 = none
    std::string PartImageName;            // file name (with extension) of the image being set up
    ::PartSetup PartSetup;                // the setup being edited
    int SelectedProtoConnection = -1;     // connection shown by the compatibility list, -1 = none
    int CurrentPrototype = -1;            // position of the prototype being edited, -1 = none
    int LastPrototypeRow = -1;            // row of gadget 13 chosen by the previous click, -1 = none
    int PreviewVisible = 0;               // nonzero once the prototype preview was drawn
    int TestMode = 0;                     // 1 while the test ship view is on
    int SelectedNode = 0;                 // node the user clicked last
    int SelectedConnection = 0;           // its clicked connection, -1 = the node itself
    int HighlightedNode = 0;              // node outlined in white, -1 = none (the root at first)
    int ViewX = 190;                      // canvas point the root part is centred on
    int ViewY = 150;
    DesignList<Prototype> Prototypes;     // the open folder's prototypes
    DesignList<Part> Parts;               // parts loaded for the test ship
    int PartsOverBudget = 0;              // of those, parts whose pictures were over the picture budget
    DesignList<ShipNode> ShipNodes;       // the test ship; position 0 is the root
    ShipHitCache ShipHits;                // hit order of the last subtree drawn from the root or tested
};

extern DesignState design;

// Name of the folder the design folders live in, under BaseDir.
inline constexpr const char* kDesignsFolder = "Designs";
// Where the design folders live: BaseDir + "Designs\".
std::string DesignsPath();
// A design folder by its name (a number, or a name as the disk or the user
// gives it, not translated): DesignsPath() + name + "\".
std::string DesignFolderPath(const std::string& name);
// Folder of the open design: BaseDir + "Designs\" + n + "\" (names a
// never-created "-1" folder when none is open, so file operations fail).
std::string DesignFolderPath();
// Setup file of a part image in the open folder: the image name + ".spset".
std::string SetupPathOf(const std::string& image);
// Setup file of PartImageName in the open folder.
std::string PartSetupPath();
// Prototype list of the open folder.
std::string PrototypesPath();
