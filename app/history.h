// Undo and redo. Every edit of the open design goes through one of the Edit
// functions below: it makes the change as the command always did and keeps
// a small step saying what changed, which Ctrl+Z takes back and Ctrl+Y (or
// Ctrl+Shift+Z) makes again, showing it in the panel where it was made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------- bounds
inline constexpr int kHistorySteps = 1000;                        // steps kept; the oldest go first
inline constexpr std::size_t kHistoryByteBudget = std::size_t{4} << 20;  // steps past this go too, oldest first

// ---------------------------------------------------------------- edits of the prototype list and the image list
int EditAddPrototype();                                        // "Add" (prototype); nonzero when one was added
// Renames through the name field; typing during one visit of the field (`visit`) is one step.
void EditRenamePrototype(int position, const std::string& name, int visit);
void EditToggleConnection(int prototype, int connection);      // a connection of the preview switched on or off
void EditToggleCompatibility(int prototype);                   // the rows chosen in the compatibility list flipped
void EditAddImages(const std::vector<std::string>& names);     // names appended to the image list
void EditRemoveImage(int row);                                 // a row of the image list removed

// ---------------------------------------------------------------- edits of the part setup being edited
void EditSetupPrototype(int prototype);                        // the setup's prototype choice
// A setup point (-1 the display offset, 0..7 a connection) moved to (x, y);
// moves of one `gesture` (nonzero: one held cursor key) are one step.
void EditSetupPoint(int point, std::int32_t x, std::int32_t y, int gesture);

// ---------------------------------------------------------------- edits of the test view's ship
void EditAttachPart(int entry);   // palette entry attached at the selected free connection
void EditSwapPart(int entry);     // palette entry shown on the selected node
void EditResetShip();             // "Reset"
void EditRandomShip();            // "Random": a new ship grown by the design's rules
void EditDetachSelected();        // Delete: the selected part and all below it taken off

// ---------------------------------------------------------------- undo and redo
int UndoEdit();                   // takes back the newest step; nonzero when there was one
int RedoEdit();                   // makes the newest undone step again; nonzero when there was one
void FollowHistoryKeys();         // every frame: Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z; Delete in the test view
void ResetHistory();              // a fresh history: another design, "New", start-up
void DropShipSteps();             // the test view's ship is gone: its steps go with it
int UndoSteps();                  // steps that can be taken back
int RedoSteps();                  // steps that can be made again
std::size_t HistoryBytes();       // memory the steps hold, counted as the budget counts it
