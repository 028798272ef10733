// The test ship: a tree of placed parts grown from a root, drawn into the
// ship canvas (sprite 6), hit-tested against the pointer, and the part
// palette of small image buttons from which parts are picked.
#pragma once

#include <cstdint>

#include "design_model.h"

// ---------------------------------------------------------------- hit codes
// Kind in bits 24..31, connection in bits 16..23, node position in bits 0..15.
inline constexpr std::uint32_t HitNode = 0x1000000;        // inside a node's image
inline constexpr std::uint32_t HitConnection = 0x2000000;  // near a free connection
inline constexpr int kHitKindShift = 24;
inline constexpr int kHitConnectionShift = 16;
inline constexpr std::uint32_t kHitNodeMask = 0xFFFF;
// Nodes a hit code can name; AttachPart refuses to grow the ship beyond.
inline constexpr int kMaxShipNodes = 0x10000;
// A free connection is hit within this distance of its point (both ends in pixels).
inline constexpr int kConnectionReach = 5;

// ---------------------------------------------------------------- canvas and palette
inline constexpr int kShipCanvasScreenX = 505;   // where the frame loop shows sprite 6
inline constexpr int kShipCanvasScreenY = 350;
inline constexpr int kStartViewX = 190;          // canvas point the root is centred on after a reset
inline constexpr int kStartViewY = 150;
inline constexpr int kMaxViewX = 350;            // the view is kept within 0..350 x 0..280
inline constexpr int kMaxViewY = 280;
inline constexpr int kOutlineColour = 0xFFFFFF;  // frame of HighlightedNode
inline constexpr int kFreeConnectionColour = 0x00FF00;  // dot on a free connection
inline constexpr int kFreeConnectionRadius = 5;
inline constexpr int kPaletteX = 905;            // first palette button
inline constexpr int kPaletteY = 490;
inline constexpr int kPaletteStep = 20;          // button pitch, both ways
inline constexpr int kPaletteColumns = 5;
inline constexpr int kPaletteRows = 12;          // rows that fit above "Quit" (y 730)
inline constexpr int kPaletteButtonSize = 18;
inline constexpr int kPaletteIconSize = 16;
inline constexpr float kPaletteIconSpan = 17.0f; // longer side of the picture on an icon

// ---------------------------------------------------------------- the tree
// Appends a root node for the first prototype (nothing when there is none).
void StartShip();
// The node's eight Child slots from the prototype's connections (inactive for no prototype).
void InitNodeConnections(int node, int prototype);
// Starts the ship again from a fresh root, centred; clears the offers.
void ResetShip();

// ---------------------------------------------------------------- drawing and hit testing
// Redraws the whole ship into sprite 6 with the root centred on (x, y);
// plain = 1 leaves out the outline and the free-connection dots.
void DrawShip(int x, int y, int plain);
// Draws a node at anchor (x, y) with its subtree onto the open drawing target.
void DrawShipNode(int node, int x, int y, int plain);
// The free connection, child or own picture of the node (anchor x, y in
// screen pixels) under MouseX/MouseY, as a hit code; 0 for nothing.
std::uint32_t HitTestShipNode(int node, int x, int y);
// What the pointer is on in the canvas on the screen, the root centred on the view:
// the hit code a click there selects; 0 for nothing.
std::uint32_t HitTestCanvas();
// Selects what a nonzero hit code names, redraws and offers the choices.
void SelectShipElement(std::uint32_t code);

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
// Empties the offered prototypes and the palette and selects the root again.
void ClearShipChoices();
// The button that turns the palette's page; 0 while every part fits on one page.
int PalettePageButton();
// Shows the palette's next page of parts, the first again after the last.
void TurnPalettePage();
// The page shown built again: its icons drawn from the parts' pictures as they are now.
void RefreshPartPalette();
// Hides (1) or shows (0) the palette while another panel covers its area.
void HidePartPalette(int hide);

// ---------------------------------------------------------------- view
// Moves the view by (dx, dy) pixels, keeps it on the canvas and redraws.
void MoveView(int dx, int dy);
// Keeps ViewX in 0..350 and ViewY in 0..280.
void ClampView();
