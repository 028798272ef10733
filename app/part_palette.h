// The test ship's choices on the screen: the prototypes offered at a free
// connection (gadget 16) and the part palette of small image buttons from
// which parts are attached or swapped.
#pragma once

#include <cstdint>

#include "picture_numbers.h"

// Palette geometry.
inline constexpr int kPaletteX = 905;            // first palette button
inline constexpr int kPaletteY = 490;
inline constexpr int kPaletteStep = 20;          // button pitch, both ways
inline constexpr int kPaletteColumns = 5;
inline constexpr int kPaletteRows = 12;          // rows that fit above "Quit" (y 730)
inline constexpr int kPaletteButtonSize = 18;
inline constexpr int kPaletteIconSize = 16;
inline constexpr float kPaletteIconSpan = 17.0f; // longer side of the picture on an icon

// One button of the part palette.
struct PaletteEntry {
    ImageNumber PartImage;                        // image of the offered Part (not owned)
    ImageNumber Icon;                             // 16 x 16 image, owned
    int Button = 0;                               // image button gadget, owned
    std::int32_t PrototypeIndex = 0;              // prototype of the offered part
};

// ---------------------------------------------------------------- selection
// Selects what a nonzero hit code names, redraws and offers the choices.
void SelectShipElement(std::uint32_t code);
// Starts the ship again from a fresh root, centred; clears the offers.
void ResetShip();
// Empties the offered prototypes and the palette and selects the root again.
void ClearShipChoices();

// ---------------------------------------------------------------- choices and palette
// Offers what fits the selection: the allowed prototypes in gadget 16, or the palette.
void ShowPartChoices();
// A row of gadget 16 was clicked: offers the parts of the prototype it names.
void ChooseOfferedPrototype();
// One palette button per part of the prototype at that position.
void BuildPartPalette(int prototype);
// Frees every palette icon and button and empties the palette.
void FreePartPalette();
// A palette button was clicked while a free connection is selected: attaches its part
// there, when the connection is still free and its rules allow the part's prototype.
void AttachPart(int entry);
// A palette button was clicked while a node is selected: shows its part on that node,
// when the part is of the node's own prototype.
void SwapPart(int entry);
// The button that turns the palette's page; 0 while every part fits on one page.
int PalettePageButton();
// Shows the palette's next page of parts, the first again after the last.
void TurnPalettePage();
// The page shown built again: its icons drawn from the parts' pictures as they are now.
void RefreshPartPalette();
// Hides (1) or shows (0) the palette while another panel covers its area.
void HidePartPalette(int hide);
