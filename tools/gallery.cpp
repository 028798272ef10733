// Gadget gallery: one gadget of every kind and state on the editor's
// background, run headless through the real frame steps and saved as PNG.
//
//   gallery OUTPUT.png [FOLDER]
//
// FOLDER is what the file list shows (the current directory by default).
// The background is "Media\BG.png" from the current directory when there is
// one, else a plain dark fill.
//
// Only one gadget can hold the focus or the pressed mouse button at a time,
// so the states that exclude each other (the held button, the field in
// overwrite mode) are grabbed from the frame that shows them and pasted over
// the final frame, where the insert-mode field has the focus.
#include <cstdio>
#include <string>
#include <vector>

#include "editor_state.h"
#include "gadget.h"
#include "services.h"
#include "testing.h"

namespace {

// Gadget numbers.
namespace id {
enum : int {
    ButtonRaised = 1, ButtonHeld, ToggleIn, ToggleOut, ButtonAlignLeft, ButtonAlignRight, ButtonDisabled,
    ImageButton, ImageToggle, TextPlain, TextCentred, TextRight, FieldInsert, FieldOverwrite,
    FieldMasked, FieldUpper, FieldDisabled, FieldReadOnly, ListImages, ListScrolled, FileList,
    Editor, FrameButtons, FrameTexts, FrameLists, FrameEditor, FrameEtched, FrameDouble,
    FramePlain, TextDisabled, ListDisabled, FieldFilled,
};
}  // namespace id

struct Rect {
    int x, y, width, height;
};

struct Capture {
    int sprite;
    Rect area;
};

bool haveBackground = false;

void Frame() {
    Mouse_Examine();
    Key_Examine();
    if (haveBackground) {
        Sprite_Display(kBackgroundSprite, 0, 0);
    } else if (Draw_Begin(Draw_ScreenOutput())) {
        Draw_Box(0, 0, kScreenWidth, kScreenHeight, 0x30241E);
        Draw_End();
    }
    Gadget_Layout();
    Gadget_DrawAll();
    Gadget_ProcessEvents();
}

// The move is taken in at once, so a button event queued after it carries
// the new position.
void MoveMouse(int x, int y) {
    Testing_MouseMove(x, y);
    Mouse_Examine();
}

// Runs a frame with the left button going down over (x, y), then one with it
// going up again: the gadget there takes the focus (and a toggle flips).
void Click(int x, int y) {
    MoveMouse(x, y);
    Testing_MouseButton(1, true);
    Frame();
    Testing_MouseButton(1, false);
    Frame();
}

// Holds a key for exactly one frame.
void HoldKey(int scanCode) {
    Testing_Key(scanCode, true);
    Frame();
    Testing_Key(scanCode, false);
}

Capture Grab(Rect r) {
    // A margin for the caret and the border's outer pixels.
    Rect a{r.x - 3, r.y - 3, r.width + 7, r.height + 7};
    return {Sprite_Grab(kServiceAuto, a.x, a.y, a.width, a.height), a};
}

// A small picture for rows and image buttons: a framed square with a diagonal.
int MakeIcon(int size, int colour) {
    const int image = Image_Create(kServiceAuto, size, size);
    if (image && Draw_Begin(Draw_ImageOutput(image))) {
        Draw_Box(0, 0, size, size, colour);
        Draw_Box(2, 2, size - 4, size - 4, 0xF0F0F0);
        Draw_LineXY(3, size - 4, size - 4, 3, colour);
        Draw_LineXY(3, 3, size - 4, size - 4, 0x202020);
        Draw_End();
    }
    return Image_Handle(image);
}

void CreateButtons(int icon, int iconPressed) {
    Gadget_CreateFrame(id::FrameButtons, 20, 30, 310, 200, "Buttons");
    Gadget_CreateButton(id::ButtonRaised, 40, 52, 130, 26, "Raised");
    Gadget_CreateButton(id::ButtonHeld, 180, 52, 130, 26, "Held down");
    Gadget_CreateButton(id::ToggleIn, 40, 90, 130, 26, "Toggle in", kButtonToggle);
    Gadget_SetToggleState(id::ToggleIn, 1);
    Gadget_CreateButton(id::ToggleOut, 180, 90, 130, 26, "Toggle out", kButtonToggle);
    Gadget_CreateButton(id::ButtonAlignLeft, 40, 128, 130, 26, "Left", kButtonAlignLeft);
    Gadget_CreateButton(id::ButtonAlignRight, 180, 128, 130, 26, "Right", kButtonAlignRight);
    Gadget_CreateButton(id::ButtonDisabled, 40, 170, 130, 40, "Disabled", kButtonAlignTop);
    Gadget_Disable(id::ButtonDisabled, 1);
    Gadget_CreateImageButton(id::ImageButton, 190, 170, 40, 40, icon);
    Gadget_CreateImageButton(id::ImageToggle, 250, 170, 40, 40, iconPressed, kButtonToggle);
    Gadget_SetToggleState(id::ImageToggle, 1);
}

void CreateTexts() {
    Gadget_CreateFrame(id::FrameTexts, 20, 255, 310, 300, "Texts and fields", kFrameDouble);
    Gadget_CreateText(id::TextPlain, 35, 275, 280, 20, "Plain text", 0);
    Gadget_CreateText(id::TextCentred, 35, 300, 280, 26, "Centred, sunken", kTextCentred | kTextBordered);
    Gadget_CreateText(id::TextRight, 35, 332, 280, 20, "Right-aligned", kTextRightAligned);
    Gadget_CreateTextField(id::FieldInsert, 35, 360, 280, 24, "Focused, insert", 0);
    Gadget_CreateTextField(id::FieldOverwrite, 35, 392, 280, 24, "Focused, overwrite", 0);
    Gadget_CreateTextField(id::FieldMasked, 35, 424, 135, 24, "secret", kFieldMasked);
    Gadget_CreateTextField(id::FieldUpper, 180, 424, 135, 24, "Upper", kFieldUpperCase);
    Gadget_CreateTextField(id::FieldReadOnly, 35, 456, 135, 24, "Read-only", kFieldReadOnly);
    Gadget_CreateText(id::TextDisabled, 180, 458, 135, 20, "Disabled text", 0);
    Gadget_Disable(id::TextDisabled, 1);
    Gadget_CreateTextField(id::FieldDisabled, 180, 490, 135, 24, "Disabled field", 0);
    Gadget_Disable(id::FieldDisabled, 1);
    // A solid fill takes dark text.
    Gadget_SetDefaultFillMode(1);
    Gadget_SetDefaultTextColor(0);
    Gadget_CreateTextField(id::FieldFilled, 35, 490, 135, 24, "Filled field", 0);
    Gadget_SetDefaultTextColor(kEditorTextColour);
    Gadget_SetDefaultFillMode(0);
}

void CreateLists(const std::string& folder, int rowIcon) {
    Gadget_CreateFrame(id::FrameLists, 350, 30, 330, 720, "Lists", kFrameDouble);

    // Grid, row images, full-row selection shown without the focus.
    Gadget_CreateColumnList(id::ListImages, 365, 52, 300, 170, "Part", 110, kListGridLines | kListKeepSelection | kListFullRowSelect);
    Gadget_AddColumn(id::ListImages, 1, "Size", 70);
    Gadget_AddColumn(id::ListImages, 2, "Kind", 90);
    const char* names[] = {"Bow", "Hull", "Bridge", "Engine", "Cargo", "Stern", "Mast"};
    for (int i = 0; i < 7; ++i) {
        const std::string row = std::string(names[i]) + "\n" + std::to_string(12 + i * 7) + " kB\n" +
                                (i % 2 ? "inner" : "outer");
        Gadget_AddItem(id::ListImages, -1, row, i % 3 == 2 ? 0 : rowIcon);
    }
    Gadget_SetItemState(id::ListImages, 2, 1);
    Gadget_SetItemState(id::ListImages, 3, 1);
    Gadget_SetItemColor(id::ListImages, 5, 2, 0x3A5A3A);
    Gadget_SetItemColor(id::ListImages, 5, 1, 0xFFFFFF);

    // More rows than fit: the list makes its scroll bar; selection in the first column.
    Gadget_CreateColumnList(id::ListScrolled, 365, 240, 286, 150, "Connection", 120, kListGridLines | kListKeepSelection);
    Gadget_AddColumn(id::ListScrolled, 1, "x", 60);
    Gadget_AddColumn(id::ListScrolled, 2, "y", 60);
    for (int i = 0; i < 30; ++i)
        Gadget_AddItem(id::ListScrolled, -1, "Slot " + std::to_string(i) + "\n" + std::to_string(i * 13 % 97) +
                                              "\n" + std::to_string(i * 29 % 83));
    Gadget_SetItemState(id::ListScrolled, 4, 1);

    // A file list over a real folder, grid lines, no navigation.
    Gadget_CreateFileList(id::FileList, 365, 408, 300, 180, folder, kFileListGridLines | kFileListNoNavigation);
    Gadget_RemoveColumn(id::FileList, 3);  // "Modified" would not fit

    Gadget_SetDefaultFillMode(1);
    Gadget_SetDefaultTextColor(0);
    Gadget_CreateColumnList(id::ListDisabled, 365, 606, 300, 130, "Disabled list", 160, kListGridLines | kListKeepSelection);
    Gadget_AddItem(id::ListDisabled, -1, "first row");
    Gadget_AddItem(id::ListDisabled, -1, "second row");
    Gadget_SetItemState(id::ListDisabled, 1, 1);
    Gadget_Disable(id::ListDisabled, 1);
    Gadget_SetDefaultTextColor(kEditorTextColour);
    Gadget_SetDefaultFillMode(0);
}

void CreateEditorAndFrames() {
    Gadget_CreateFrame(id::FrameEditor, 700, 30, 310, 250, "Editor");
    Gadget_CreateEditor(id::Editor, 715, 52, 265, 210, kFieldReadOnly);
    for (int i = 0; i < 40; ++i)
        Gadget_AddItem(id::Editor, -1, "Line " + std::to_string(i + 1) + (i % 4 == 0 ? " of the read-only Editor" : ""));
    Gadget_SetItemColor(id::Editor, 3, 2, 0x5A3A30);
    Gadget_SetItemColor(id::Editor, 6, 1, 0x80FF80);

    Gadget_CreateFrame(id::FrameEtched, 700, 310, 310, 80, "Etched frame", 0);
    Gadget_CreateFrame(id::FrameDouble, 700, 420, 310, 80, "Double frame", kFrameDouble);
    Gadget_CreateFrame(id::FramePlain, 700, 530, 310, 80, "Plain frame", kFramePlain);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gallery OUTPUT.png [FOLDER]\n");
        return 2;
    }
    const std::string output = argv[1];

    Testing_UseHeadlessDrivers();
    Testing_UseManualClock(true);  // the field's editing pause must not sleep
    if (!Sprite_Init() || !Mouse_Init() || !Key_Init()) return 1;
    if (!Window_Open(0, 0, 0, kScreenWidth, kScreenHeight, "Gallery", 0) ||
        !Screen_OpenInWindow(Window_Handle(0), 0, 0, kScreenWidth, kScreenHeight, 0, 0, 0)) {
        return 1;
    }
    std::string folder = argc > 2 ? argv[2] : CurrentDirectory();
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    haveBackground = Sprite_Load(kBackgroundSprite, "Media\\BG.png", 0) != 0;

    Gadget_Init();
    Gadget_SetDefaultFillMode(0);
    Gadget_SetDefaultTextColor(kEditorTextColour);
    CreateButtons(MakeIcon(38, 0x3070C0), MakeIcon(38, 0xC07030));
    CreateTexts();
    CreateLists(folder, MakeIcon(16, 0x3070C0));
    CreateEditorAndFrames();

    // First frame: lists and the Editor find they need scroll bars.
    MoveMouse(5, 5);
    Frame();
    Gadget_SetState(id::Editor + kScrollBarNumberOffset, 37);      // a line cut off at the top
    Gadget_SetState(id::ListScrolled + kScrollBarNumberOffset, 3); // scrolled a few rows down
    Click(365 + 160, 52 + 5);                 // "Size" title: descending mark

    std::vector<Capture> captures;
    // The field in overwrite mode: focus it, caret into the text, Insert.
    Click(40, 400);
    MoveMouse(5, 5);
    HoldKey(kKeyEnd);
    for (int i = 0; i < 5; ++i) HoldKey(kKeyLeft);
    HoldKey(kKeyInsert);
    Frame();
    captures.push_back(Grab({35, 392, 280, 24}));

    // The button held down.
    MoveMouse(240, 60);
    Testing_MouseButton(1, true);
    Frame();
    Frame();
    captures.push_back(Grab({180, 52, 130, 26}));
    Testing_MouseButton(1, false);
    Frame();

    // Final frame: the insert-mode field has the focus, its caret inside the text.
    Click(40, 370);
    MoveMouse(5, 5);
    HoldKey(kKeyEnd);
    for (int i = 0; i < 7; ++i) HoldKey(kKeyLeft);
    Frame();
    for (const Capture& c : captures) Sprite_Display(c.sprite, c.area.x, c.area.y);

    const int shot = Sprite_Grab(kServiceAuto, 0, 0, kScreenWidth, kScreenHeight);
    const bool saved = shot && Sprite_Save(shot, output, kPngEncoder);
    Gadget_End();
    Services_End();
    if (!saved) {
        std::fprintf(stderr, "gallery: could not write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
