// Drawing shared by the toolkit's render_*.cpp files and scrollbar.cpp.
// Everything here draws onto the target that is open at the time.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "gadget_internal.h"
#include "layout.h"

// Colours the toolkit paints with itself.
inline constexpr int kColourWhite = 0xFFFFFF;           // light edge of raised borders; focused field
inline constexpr int kColourGrey = 0x808080;            // dark edge of raised borders; disabled face; caret
inline constexpr int kColourFrameOuter = 9478052;       // outer light edge of the double frame; etched frame
inline constexpr int kColourFrameInnerLight = 6448230;  // inner light edge of the double frame
inline constexpr int kColourFrameInnerDark = 15068655;  // inner dark edge of the double frame
inline constexpr int kColourSelection = 255;            // selected rows (pure red)
inline constexpr int kColourBlack = 0;                  // sort marks, arrows, Editor background


// The services' drawing with 64-bit arguments (render_borders.cpp).
void Line(Coord x, Coord y, Coord dx, Coord dy, int colour);        // (x, y) to (x + dx, y + dy)
void LineXY(Coord x1, Coord y1, Coord x2, Coord y2, int colour);    // both end points included
void Box(Coord x, Coord y, Coord width, Coord height, int colour);  // a negative size reaches back
void Text(Coord x, Coord y, const std::string& text, int colour);

// Border styles.
enum class BorderStyle { Raised, Sunken };

// Shapes (render_borders.cpp).
void DrawBevelBorder(Coord x, Coord y, Coord width, Coord height, BorderStyle style);
void DrawBoxBorder(Coord x, Coord y, Coord width, Coord height, BorderStyle style);
void DrawFrameBorder(Coord x, Coord y, Coord width, Coord height, Coord captionWidth, int frameFlags);
void DrawTriangle(Coord x1, Coord y1, Coord x2, Coord y2, Coord x3, Coord y3);

// Helpers of the draw pass (render.cpp).
void SelectKindFont(int font);                      // selects font unless it is 0 or -1
int GadgetTextColour(const GadgetRecord& g, int itemColour = -1);  // disabled / item / own colour

// One gadget of each kind (render_controls.cpp, render_lists.cpp, render_editor.cpp).
void DrawText(GadgetRecord& g, TextRecord& r);
void DrawTextField(GadgetRecord& g, TextFieldRecord& r);
void DrawButton(GadgetRecord& g, ButtonRecord& r);
void DrawImageButton(GadgetRecord& g, ImageButtonRecord& r);
void DrawFrame(GadgetRecord& g, FrameRecord& r);
void DrawScrollBar(GadgetRecord& g, ScrollBarRecord& r);
void DrawList(GadgetRecord& g, ColumnListRecord& r);
void DrawEditor(GadgetRecord& g, EditorRecord& r);

// Scroll-bar upkeep of the layout step (scrollbar.cpp). Both create, reset or
// free the owner's bar (number + 2000) and return its record, nullptr when
// none; a list's needs its headerHeight measured first.
ScrollBarRecord* List_UpkeepScrollBar(GadgetRecord& list, ColumnListRecord& r);
ScrollBarRecord* Editor_UpkeepScrollBar(GadgetRecord& editor, EditorRecord& r);
// Thumb length for a track of `track` pixels; never divides by zero.
int ScrollBar_ThumbLength(int page, int track, int minimum, int maximum);
// A 64-bit size or position in the int range (scroll-bar records hold ints).
int ClampToInt(std::int64_t v);
