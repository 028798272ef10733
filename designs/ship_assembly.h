// The ship assembly: a tree of placed parts grown from a root, drawn into the
// ship canvas (sprite 6), hit-tested at a point, and the selection parts are
// attached at.
#pragma once

#include <cstdint>
#include <vector>

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

// ---------------------------------------------------------------- canvas
inline constexpr int kShipCanvasScreenX = 505;   // where the frame loop shows sprite 6
inline constexpr int kShipCanvasScreenY = 350;
inline constexpr int kStartViewX = 190;          // canvas point the root is centred on after a reset
inline constexpr int kStartViewY = 150;
inline constexpr int kMaxViewX = 350;            // the view is kept within 0..350 x 0..280
inline constexpr int kMaxViewY = 280;
inline constexpr int kOutlineColour = 0xFFFFFF;  // frame of HighlightedNode
inline constexpr int kFreeConnectionColour = 0x00FF00;  // dot on a free connection
inline constexpr int kFreeConnectionRadius = 5;

// ---------------------------------------------------------------- the tree
// Appends a root node for the first prototype (nothing when there is none).
void StartShip();
// The node's eight Child slots from the prototype's connections (inactive for no prototype).
void InitNodeConnections(int node, PrototypePosition prototype);
// Starts the ship again from a fresh root, selected and centred, and draws it.
void RestartShip();

// ---------------------------------------------------------------- drawing and hit testing
// Redraws the whole ship into sprite 6 with the root centred on (x, y);
// plain = 1 leaves out the outline and the free-connection dots.
void DrawShip(int x, int y, int plain);
// The free connection, child or own picture of the node (anchor x, y in
// screen pixels) under the point (px, py), as a hit code; 0 for nothing.
std::uint32_t HitTestShipNode(int node, int x, int y, int px, int py);
// What the screen point (px, py) is on in the canvas, the root centred on the
// view: the hit code a click there selects; 0 for nothing.
std::uint32_t HitTestCanvas(int px, int py);

// ---------------------------------------------------------------- selection and attaching
// Selects what a nonzero hit code names and redraws; nonzero when it named something.
int SelectShipHit(std::uint32_t code);
// Selects the root, outlined, as when the view first opens.
void SelectShipRoot();
// The prototypes (positions) the selected free connection allows; none while a node is selected.
std::vector<PrototypePosition> PrototypesAllowedAtSelection();
// The selected connection is free and active, and its rules allow the prototype.
bool MayAttach(PrototypePosition prototype);
// Attaches a part (its image and prototype) at the selected free connection
// when MayAttach allows it and the ship can grow, and redraws; nonzero when attached.
int AttachPartAtSelection(ImageNumber image, PrototypePosition prototype);
// Shows another part (its image) on the selected node when it is of the
// node's own prototype, and redraws; nonzero when swapped.
int SwapPartAtSelection(ImageNumber image, PrototypePosition prototype);

// ---------------------------------------------------------------- view
// Moves the view by (dx, dy) pixels, keeps it on the canvas and redraws.
void MoveView(int dx, int dy);
