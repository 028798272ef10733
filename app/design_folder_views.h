// Design folders on the screen: the title (gadget 2), the part images of the
// open design (gadget 1) and the folder chosen in the file list (gadget 26).
#pragma once

// Creates the next numbered folder and opens it; nonzero when the folder was made.
// Otherwise no design is open: DesignFolder is -1 and the title "No Design".
int NewDesignFolder();
// Opens the folder of the row selected in the file list (gadget 26); nonzero when
// it was opened. Without a row, or for a name that is no design number, nothing changes.
int OpenDesignFolder();
// Rebuilds Parts from the rows of gadget 1, freeing the old parts' images;
// clears ShipNodes. Returns the number of parts.
int LoadSetupParts();
