// The part setup panel's two lists: the prototype choice (gadget 34) and the
// display offset and connection rows (gadget 36).
#pragma once

// Text colours of the connection rows of gadget 36: in use by the setup's prototype, or not.
inline constexpr int kActiveRowColour = 0xC0C0C0;
inline constexpr int kInactiveRowColour = 0x707070;

// Reads the setup of design.PartImageName (defaults when it has none) and fills gadgets 34
// and 36; nonzero when the file was read.
int LoadPartSetup();
// Greys the connection rows of gadget 36 by whether the setup's prototype uses them.
void ColorConnectionRows();
