// Drawing shared by the toolkit's render_*.cpp files and scrollbar.cpp.
// Everything here draws onto the target that is open at the time.
#pragma once

#include <string>

#include "gadget_internal.h"

// Colours the toolkit paints with itself.
inline constexpr int kColourWhite = 0xFFFFFF;           // light edge of raised borders; focused field
inline constexpr int kColourGrey = 0x808080;            // dark edge of raised borders; disabled face; caret
inline constexpr int kColourFrameOuter = 9478052;       // outer light edge of the double frame; etched frame
inline constexpr int kColourFrameInnerLight = 6448230;  // inner light edge of the double frame
inline constexpr int kColourFrameInnerDark = 15068655;  // inner dark edge of the double frame
inline constexpr int kColourSelection = 255;            // selected rows (pure red)
inline constexpr int kColourBlack = 0;                  // sort marks, arrows, Editor background

inline constexpr int kScrollBarVertical = 1;            // ScrollBarRecord flags
inline constexpr int kScrollBarWidth = 14;              // width of a list's or Editor's own bar

// Border styles.
enum class BorderStyle { Raised, Sunken };

// Shapes (render_borders.cpp).
void DrawBevelBorder(int x, int y, int width, int height, BorderStyle style);
void DrawBoxBorder(int x, int y, int width, int height, BorderStyle style);
void DrawFrameBorder(int x, int y, int width, int height, int captionWidth, int frameFlags);
void DrawTriangle(int x1, int y1, int x2, int y2, int x3, int y3);

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

// Scroll-bar upkeep while drawing (scrollbar.cpp). Both create, reset or free
// the owner's bar (number + 2000) and return its record, nullptr when none.
ScrollBarRecord* List_UpkeepScrollBar(GadgetRecord& list, ColumnListRecord& r, int headerHeight);
ScrollBarRecord* Editor_UpkeepScrollBar(GadgetRecord& editor, EditorRecord& r);
// Thumb length for a track of `track` pixels; never divides by zero.
int ScrollBar_ThumbLength(int page, int track, int minimum, int maximum);
