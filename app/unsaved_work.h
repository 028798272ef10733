// Unsaved prototype edits: the prototype list is written only by "Save", so
// while it differs from what its file last held the Save button says so,
// "Load" and "Quit" ask for a second click before dropping it, and a stop
// from outside leaves it beside the design's file.
#pragma once

#include <string>

// Suffix of the file an unsaved list is left in when the editor is stopped from outside.
inline constexpr const char* kRecoveredSuffix = ".recovered";

// ---------------------------------------------------------------- the saved list
void MarkPrototypesSaved();     // the list as it is now is what the design's file holds
void ForgetSavedPrototypes();   // the design's file holds no list (a new folder)
bool PrototypesUnsaved();       // the list differs from what the file holds
void ShowSaveMark();            // every frame: "Save *" on the button while unsaved
void ResetUnsavedWork();        // start-up: nothing saved, nothing warned

// ---------------------------------------------------------------- dropping unsaved work
// "Load" or "Quit" clicked: nonzero when the click only warned (the list is
// unsaved and the previous command was not a click of the same button).
int WarnBeforeDiscard(int gadget);
int DiscardWarningGadget();     // the button a warning waits for a second click of, -1 none
void EndDiscardWarning();       // another command: the warning ends and the title returns
// After SIGINT or SIGTERM: an unsaved list is written beside the design's
// file, never over it, and stderr says where; nonzero when written.
int WriteRecoveredPrototypes();
