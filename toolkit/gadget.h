// Keelwright's screen gadget toolkit: buttons, texts, text fields, editors,
// lists, file lists, frames and image buttons drawn on the services' screen.
// The toolkit owns every gadget; the program holds only gadget numbers.
// Numbers 0..1999 are the program's; a list's or Editor's scroll bar is its
// owner's number + 2000. Every operation on an unknown number does nothing
// and returns its not-found result (0, -1 or an empty text).
#pragma once

#include <string>

// The value Gadget_ProcessEvents returns when a gadget event is pending.
inline constexpr int GadgetEvent = 13100;
// Asks the toolkit to choose the gadget number.
inline constexpr int kGadgetAuto = -1;
// Offset of a list's or Editor's own scroll bar number.
inline constexpr int kScrollBarNumberOffset = 2000;

// Event types (Gadget_EventType).
inline constexpr int EventType_None = 0;      // nothing happened
inline constexpr int EventType_Gadget = 1;    // the mouse is over a gadget
inline constexpr int EventType_LeftDown = 2;  // every frame the left button is held
inline constexpr int EventType_RightDown = 3; // every frame the right (not left) button is held
inline constexpr int EventType_LeftUp = 4;    // the frame after the left button was let go
inline constexpr int EventType_RightUp = 5;   // the frame after the right button was let go
inline constexpr int EventType_Wheel = 6;     // the wheel moved with no button held

// Gadget kind codes (5, 6, 7, 8 and 11 are never assigned).
inline constexpr int GadgetKind_Text = 1;
inline constexpr int GadgetKind_TextField = 2;
inline constexpr int GadgetKind_Editor = 3;
inline constexpr int GadgetKind_Button = 4;
inline constexpr int GadgetKind_ColumnList = 9;
inline constexpr int GadgetKind_ScrollBar = 10;
inline constexpr int GadgetKind_ImageButton = 12;
inline constexpr int GadgetKind_Frame = 13;
inline constexpr int GadgetKind_FileList = 14;

// Creation flags. Each kind keeps its flags word as passed; these are the bits
// that act, named by the kind that reads them.
inline constexpr int kTextCentred = 0x1;            // Text, TextField: centred horizontally and vertically
inline constexpr int kTextRightAligned = 0x2;       // Text, TextField: right-aligned
inline constexpr int kTextBordered = 0x20000;       // Text: sunken border
inline constexpr int kFieldUpperCase = 0x8;         // TextField: shown in upper case
inline constexpr int kFieldLowerCase = 0x10;        // TextField: shown in lower case
inline constexpr int kFieldMasked = 0x20;           // TextField: every character shown as "*"
inline constexpr int kFieldReadOnly = 0x800;        // TextField, Editor: no caret, no editing
inline constexpr int kFieldDigitsOnly = 0x2000;     // TextField, Editor: only 0..9 typed
inline constexpr int kFieldNoBorder = 0x20000;      // TextField, Editor: no border
inline constexpr int kButtonToggle = 0x1003;        // Button, ImageButton: any of these bits makes a toggle
inline constexpr int kButtonAlignLeft = 0x100;      // Button: caption left-aligned
inline constexpr int kButtonAlignRight = 0x200;     // Button: caption right-aligned
inline constexpr int kButtonAlignTop = 0x2000;      // Button: caption at the top
inline constexpr int kListMultiSelect = 0x4;        // ColumnList: several rows with Shift or Ctrl
inline constexpr int kListKeepSelection = 0x8;      // ColumnList: selection shown without the focus
inline constexpr int kListGridLines = 0x10000;      // ColumnList: grid lines
inline constexpr int kListFullRowSelect = 0x40000000; // ColumnList: highlight spans the whole row
inline constexpr int kFrameDouble = 1;              // Frame flags value: double border
inline constexpr int kFramePlain = 3;               // Frame flags value: plain white border

// FileList flags: the low bits are the file list's own, the high bits turn
// into the ColumnList bits above at creation.
inline constexpr int kFileListNoFiles = 1;          // files are not listed
inline constexpr int kFileListNoParent = 2;         // ".." is not listed
inline constexpr int kFileListNoDirectories = 4;    // directories (".." included) are not listed
inline constexpr int kFileListNoNavigation = 8;     // selected rows are never opened
inline constexpr int kFileListNoHeaderSort = 32;    // header clicks only cycle the marks
inline constexpr int kFileListSortByName = 64;      // every refill sorts directories, then files
inline constexpr int kFileListMultiSelect = 0x200000;    // -> kListMultiSelect
inline constexpr int kFileListGridLines = 0x400000;      // -> kListGridLines
inline constexpr int kFileListKeepSelection = 0x1000000; // -> kListKeepSelection
inline constexpr int kFileListFullRowSelect = 0x2000000; // -> kListFullRowSelect

// ---------------------------------------------------------------- start, end and defaults
int Gadget_Init();                                   // empty registry (0..2100), font 2, defaults
int Gadget_End();                                    // frees every gadget
int Gadget_SetDefaultFillMode(int mode);             // fill mode of gadgets created afterwards
int Gadget_SetDefaultTextColor(int colour);          // text colour of gadgets created afterwards
int Gadget_GetActive();                              // gadget with the keyboard focus, -1 none
int Gadget_Kind(int number);                         // kind code, 0 when not found

// ---------------------------------------------------------------- creation and removal
// Each returns the record's identity for a fixed number, the chosen number for -1.
int Gadget_CreateText(int number, int x, int y, int width, int height, const std::string& text,
                      int flags);
int Gadget_CreateTextField(int number, int x, int y, int width, int height, const std::string& text,
                           int flags);
int Gadget_CreateEditor(int number, int x, int y, int width, int height, int flags);
int Gadget_CreateButton(int number, int x, int y, int width, int height, const std::string& text,
                        int flags = 0);
int Gadget_CreateColumnList(int number, int x, int y, int width, int height, const std::string& title,
                            int titleWidth, int flags);
int Gadget_CreateFileList(int number, int x, int y, int width, int height, const std::string& directory,
                          int flags);
int Gadget_CreateFrame(int number, int x, int y, int width, int height, const std::string& text,
                       int flags = 0);
int Gadget_CreateImageButton(int number, int x, int y, int width, int height, int image, int flags = 0);
int Gadget_Free(int number);                         // frees the gadget, its items and scroll bar
int Gadget_FreeAll();                                // frees every gadget, resets the defaults

// ---------------------------------------------------------------- whole-gadget state
std::string Gadget_GetText(int number);
int Gadget_SetText(int number, const std::string& text);
int Gadget_GetState(int number);
int Gadget_SetState(int number, int state);
int Gadget_GetToggleState(int number);
int Gadget_SetToggleState(int number, int state);
int Gadget_Hide(int number, int hide);
int Gadget_Disable(int number, int disable);
int Gadget_SetFlags(int number, int flags);

// ---------------------------------------------------------------- items (list rows, Editor lines)
int Gadget_AddItem(int number, int position, const std::string& text, int image = 0);
int Gadget_CountItems(int number);
int Gadget_ClearItems(int number);
int Gadget_RemoveItem(int number, int item);
std::string Gadget_GetItemText(int number, int item);
std::string Gadget_GetCellText(int number, int item, int column);
int Gadget_SetItemText(int number, int item, const std::string& text, int column = -1);
int Gadget_GetItemState(int number, int item);
int Gadget_SetItemState(int number, int item, int state);
int Gadget_SetItemColor(int number, int item, int which, int colour);  // which: 1 text, 2 back

// ---------------------------------------------------------------- columns and file lists
int Gadget_AddColumn(int number, int position, const std::string& title, int width);
int Gadget_RemoveColumn(int number, int column);
int FileList_Refill(int number, const std::string& directorySpec);
int SortRows(int number, int column, int compareType, int order, int firstRow, int endRow);

// ---------------------------------------------------------------- per frame
int Gadget_ProcessEvents();                          // GadgetEvent or 0; once per frame, after Mouse_Examine and Key_Examine
int Gadget_EventGadget();                            // gadget of the last event, -1 none
int Gadget_EventType();                              // EventType_* of the last event
int Gadget_EventInHeader();                          // nonzero when the last event's click fell on a list's column titles
int Gadget_Layout();                                 // before drawing: header heights, scroll bars made, reset or freed
int Gadget_DrawAll();                                // draws every visible gadget on the screen; adds, frees or moves none
