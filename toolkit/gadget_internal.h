// The toolkit's own data: gadget records, kind records, items, the registry
// and the toolkit-wide state. Only toolkit/*.cpp include this.
#pragma once

#include <array>
#include <list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "gadget.h"

inline constexpr int kToolkitFont = 2;               // font number the toolkit loads and owns
inline constexpr int kInitialRegistryTop = 2100;     // highest number of a fresh registry
inline constexpr int kRegistryGrowth = 50;           // entries added beyond the highest number asked for
inline constexpr int kMaxColumns = 16;               // columns of a ColumnList / FileList

// A gadget record's identity: unique in the run and never reused, unlike
// its number, which the program may give to another gadget. A type of its
// own, so a number is never looked up as an identity or the other way round.
struct GadgetSelf {
    int value = 0;                                   // 0 names no record
    explicit operator bool() const { return value != 0; }
    auto operator<=>(const GadgetSelf&) const = default;
};

// One row of a ColumnList or FileList.
struct RowRecord {
    std::string text;        // cells separated by line feeds (rows from a directory end with one)
    int selected = 0;        // nonzero = selected
    int font = -1;           // -1 = the list's font
    int height = 0;          // row height in pixels
    int backColor = -1;      // -1 = none
    int textColor = -1;      // -1 = the gadget's textColor
    int image = 0;           // image handle, 0 = none
    int entryType = 0;       // FileList: 1 file, 2 directory; 0 otherwise
};

// One line of an Editor.
struct LineRecord {
    std::string text;        // the line, without line end
    int selected = 0;        // nonzero = selected
    int font = -1;           // -1 = the Editor's font
    int height = 0;          // line height in pixels
    int backColor = -1;      // -1 = none
    int textColor = -1;      // -1 = the gadget's textColor
};

struct TextRecord {
    std::string text;        // the label
    int font = 0;            // font number
    int flags = 0;           // creation flags
};

struct TextFieldRecord {
    std::string text;        // the field's text
    int font = 0;            // font number
    int flags = 0;           // creation flags
    int caret = 0;           // character position of the text cursor
    int overwrite = 0;       // nonzero: typing replaces the character at the caret
};

struct EditorRecord {
    std::vector<LineRecord> lines; // the lines in display order
    int sprite = 0;          // reference of the off-screen sprite (width + 1 by height + 1)
    int flags = 0;           // creation flags
    int font = 0;            // font number
    int contentHeight = 0;   // sum of the line heights (computed while drawing)
    GadgetSelf scrollBar;    // the Editor's scroll bar record, none yet at first
    int caretColumn = 0;     // character position in the caret's line
    int overwrite = 0;       // as in TextFieldRecord
    int caretLine = 0;       // index of the caret's line
    unsigned long long drawnSignature = 0; // what the sprite shows; unchanged content is not redrawn
};

struct ButtonRecord {
    std::string text;        // caption
    int font = 0;            // font number
    int toggle = 0;          // nonzero for a toggle button
    int state = 0;           // toggle buttons: nonzero = pressed in
    int flags = 0;           // creation flags
};

// ColumnList and FileList.
struct ColumnListRecord {
    std::vector<RowRecord> rows;                   // the rows in display order
    std::array<std::string, kMaxColumns> title{};  // column titles
    std::array<int, kMaxColumns> columnWidth{};    // pixels; a column exists while >= 1
    std::array<int, kMaxColumns> sortState{};      // -1 none, 0 ascending, 1 descending
    int font = 0;                                  // font number; new rows take it
    int headerTextColor = 0;                       // header caption colour
    int headerColor = 0xC0C0C0;                    // header band colour
    int gridColor = 0xC0C0C0;                      // grid line colour
    int headerHeight = 0;                          // header band height (computed while drawing)
    int flags = 0;                                 // list flags
    int rowsHaveImages = 0;                        // nonzero while some row has an image
    int contentHeight = 0;                         // sum of the row heights (computed while drawing)
    GadgetSelf scrollBar;                          // the list's scroll bar record, none at first
    int anchorRow = -1;                            // row of the last selection click
    std::string directory;                         // FileList: directory followed by its patterns
    std::array<int, kMaxColumns> columnContent{};  // FileList: 1 name .. 7 accessed, 0 none
    int fileListFlags = 0;                         // FileList: flags as the program gave them
};

struct ScrollBarRecord {
    int minimum = 0;         // lowest value
    int maximum = 0;         // highest value
    int page = 1;            // visible part of the range
    int value = 0;           // current value
    int thumbLength = 10;    // thumb length in pixels
    int flags = 0;           // 1 = vertical
};

struct ImageButtonRecord {
    int toggle = 0;          // nonzero for a toggle button
    int state = 0;           // toggle buttons: nonzero = pressed in
    int flags = 0;           // creation flags
};

struct FrameRecord {
    std::string text;        // caption
    int font = 0;            // font number
    int flags = 0;           // border style
};

using KindRecord = std::variant<TextRecord, TextFieldRecord, EditorRecord, ButtonRecord, ColumnListRecord,
                                ScrollBarRecord, ImageButtonRecord, FrameRecord>;

// One gadget, any kind. The kind record lives inside it and dies with it.
struct GadgetRecord {
    int number = 0;              // registry index
    GadgetSelf self;             // identity, unique in the run, never reused
    int kind = 0;                // GadgetKind_* code
    KindRecord kindRecord;       // the kind's own fields
    int x = 0, y = 0;            // top-left corner in screen pixels
    int width = 0, height = 0;   // size in pixels
    int hidden = 0;              // nonzero: not drawn, not tested for input
    int disabled = 0;            // nonzero: grey face, no input
    int textColor = 0;           // text colour
    int disabledTextColor = 0x808080; // text colour while disabled
    int fillMode = 1;            // 0 none, 1 box in fillColor, 2 fillColor is an image handle
    int fillColor = 0xC0C0C0;    // colour or image handle
};

// All toolkit-wide state. Reset by assigning a fresh value.
struct ToolkitState {
    std::list<GadgetRecord> records;          // drawing and hit-test order; stable addresses
    std::vector<GadgetRecord*> registry;      // number -> record (non-owning); nullptr = free
    int registryTop = kInitialRegistryTop;    // highest valid number
    GadgetSelf nextSelf{1};                   // next record identity
    GadgetRecord* lastAccessed = nullptr;     // a new record is inserted right after this one
    int currentFont = kToolkitFont;           // font number given to new kind records
    int defaultTextColor = 0;                 // textColor of new gadgets
    int defaultDisabledTextColor = 0x808080;  // disabledTextColor of new gadgets
    int defaultFillMode = 1;                  // fillMode of new gadgets
    int defaultFillColor = 0xC0C0C0;          // fillColor of new gadgets
    int defaultHeaderTextColor = 0;           // headerTextColor of new lists
    int defaultHeaderColor = 0xC0C0C0;        // headerColor of new lists
    int defaultGridColor = 0xC0C0C0;          // gridColor of new lists

    // Per-frame input state of the event step.
    int eventGadget = 0;         // gadget of this frame's event, -1 none
    int eventType = 0;           // EventType_* of this frame
    int eventInHeader = 0;       // nonzero when this frame's click fell on a list's column titles
    int activeGadget = -1;       // gadget with the keyboard focus, -1 none
    int mouseX = 0, mouseY = 0;  // mouse position this frame
    int buttonState = 0;         // 1 left held, else 2 right held, else 0
    int buttonHeld = 0;          // button held in the previous frame
    int wheelDelta = 0;          // wheel notches this frame
    int dragOffset = 0;          // scroll-bar thumb grab offset, 0 = no drag
    int columnDrag = 0;          // column resize state of a list header, 0 = none
    int columnDragGrab = 0;      // pointer offset from the dragged column's right edge at grab time
    GadgetSelf columnDragList;   // the list whose column is being dragged
};

extern ToolkitState toolkit;

// Registry access shared by the toolkit's files.
GadgetRecord* FindGadget(int number);                 // lookup by number; nullptr when not found
GadgetRecord* FindGadgetBySelf(GadgetSelf self);      // lookup by identity; nullptr when gone
GadgetRecord& NewGadget(int number, int kind, int x, int y, int width, int height, KindRecord kindRecord);
void DeleteGadgetRecord(GadgetRecord& record);        // unlinks and destroys one record

// Number allocation and lookup (registry.cpp). FindGadget also records the
// record as the one accessed last.
int AllocateGadgetNumber(int requested);              // the number a creation with `requested` takes

// Shared between the toolkit's files.
int FileList_ConvertFlags(int fileListFlags);         // FileList flags -> the ColumnList flags they imply
void ScrollBar_SetValue(ScrollBarRecord& bar, int value);  // clamp: lower limit first, the upper one wins
GadgetSelf Gadget_CreateScrollBar(int number, int x, int y, int width, int height, int minimum, int maximum,
                                  int page, int flags);  // a list's or Editor's own bar
int List_MeasureRowHeight(const GadgetRecord& list, const RowRecord& row);   // with the row's font
int Editor_MeasureLineHeight(const GadgetRecord& editor, const LineRecord& line);
void List_MouseStep(GadgetRecord& list);              // column resize, header sort clicks, row selection
void List_EndFrame();                                 // a column drag ends with the frame its button is let go

// Text helpers (text.cpp).
// Cell `cell` (from 1; below 1 counts as 1) of a row text: up to the next line
// feed; empty past the last.
std::string_view List_RowCell(std::string_view text, long long cell);

// The list's or Editor's own scroll bar, found by identity (its number may
// have been taken over by another gadget since); nullptr when it has none.
GadgetRecord* OwnScrollBar(const GadgetRecord* owner);

template <class T> T* KindAs(GadgetRecord* g) { return g ? std::get_if<T>(&g->kindRecord) : nullptr; }
inline bool IsList(const GadgetRecord* g) {
    return g && (g->kind == GadgetKind_ColumnList || g->kind == GadgetKind_FileList);
}
