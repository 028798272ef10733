// The command dispatch: one gadget event per frame, looked up in two tables
// (the editor's commands, then the test view's), then the part palette.
// The named steps of each command are the functions below the tables.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "app.h"
#include "design_folder_views.h"
#include "design_folders.h"
#include "editor_gadgets.h"
#include "editor_tables.h"
#include "gadget.h"
#include "history.h"
#include "kept_ship.h"
#include "part_palette.h"
#include "part_setup.h"
#include "part_setup_view.h"
#include "picture_layout.h"
#include "paths.h"
#include "prototype_views.h"
#include "prototypes.h"
#include "services.h"
#include "ship_pictures.h"
#include "ship_assembly.h"
#include "title_line.h"
#include "unsaved_work.h"

namespace {

// Pixels the view moves per frame an arrow is held.
constexpr int kViewStep = 5;

// Why a design folder's information says it cannot be opened.
constexpr const char* kNotADesignNumber = "Not a design number";

// Load panel purposes.
constexpr int kLoadNothing = 0;
constexpr int kLoadPartImages = 1;
constexpr int kLoadDesignFolder = 2;

// The file list's flags for each purpose: design folders only, or picture files only (several at once).
constexpr int kFolderChoiceFlags = kFileListGridLines | kFileListNoNavigation | kFileListNoParent | kFileListNoFiles;
constexpr int kImageChoiceFlags =
    kFileListGridLines | kFileListMultiSelect | kFileListNoNavigation | kFileListNoParent | kFileListNoDirectories;

// A design folder's sample: longer side at most this many pixels.
constexpr double kSampleSide = 50.0;
// After the name in the setup panel's caption when the picture does not decode.
constexpr const char* kUnreadablePicture = ": cannot be read";
// ... when it was not loaded for the budget of decoded pictures.
constexpr const char* kPictureOverBudget = ": too big for the picture budget, not loaded";
// After the picture's size when its setup file could never exist beside it.
constexpr const char* kSetupNameTooLong = " - name too long: this setup cannot be saved";

// ---------------------------------------------------------------- conditions
bool OutsideTestView() { return design.TestMode == 0; }

// ---------------------------------------------------------------- small actions
// A command that switches the design ends the setup being edited: it is saved
// into its own folder now, before the folder changes under its name.
void LeaveSetup() {
    if (design.PartImageName.empty()) return;
    SavePartSetup();
    design.PartImageName.clear();
}

void Quit() {
    // Unsaved prototypes are dropped only by a second click.
    if (WarnBeforeDiscard(kGadgetQuit)) {
        PlayClick();
        return;
    }
    LeaveSetup();
    editor.QuitRequested = 1;
    PlayClick();
}

void NewDesign() {
    LeaveSetup();
    Gadget_ClearItems(kGadgetDesignImages);
    Gadget_SetText(kGadgetPrototypeCaption, Labels[kLabelPrototypeCaption]);
    ClearShipChoices();
    design.TestMode = 0;
    // The panel is switched before the folder exists: it still shows the design open before.
    SetEditorMode(kDesignPanel);
    // Without a folder of its own nothing could be saved: the screen shows no design.
    if (!NewDesignFolder()) SetEditorMode(kDesignPanel);
    PlayClick();
}

// A save the file service refused before writing (a link leading out of the
// design folder) is said in the title line; other failures stay as quiet as
// they always were.
void SayRefusedSave() {
    const std::string why = File_SaveRefusal();
    if (why.empty()) return;
    std::fprintf(stderr, "keelwright: not saved: %s\n", why.c_str());
    ShowTitleMessage("Not saved: " + why);
}

// The test view's caption says when part pictures were left out for the picture budget.
void SayPartsOverBudget() {
    std::string caption = Labels[kLabelTestCaption];
    if (design.PartsOverBudget > 0)
        caption += " - " + Str(design.PartsOverBudget) + " over the picture budget, not loaded";
    Gadget_SetText(kGadgetTestCaption, caption);
}

void SaveDesign() {
    if (SavePrototypes(PrototypesPath())) MarkPrototypesSaved();
    SayRefusedSave();
    PlayClick();
}

void RemoveImage() {
    EditRemoveImage(Gadget_GetState(kGadgetDesignImages));
    SetEditorMode(kDesignPanel);
    PlayClick();
}

void ToggleAllowedPrototypes() {
    EditToggleCompatibility(Gadget_GetState(kGadgetPrototypeList));
    PlayClick();
}

void AddPrototypeCommand() {
    EditAddPrototype();  // refuses a 25th
    PlayClick();
}

void ChooseSetupPrototype() {
    EditSetupPrototype(Gadget_GetState(kGadgetSetupPrototype));
    ColorConnectionRows();
    ForgetSetupPoint();
    PlayClick();
}

void ConfirmSetup() {
    SavePartSetup();
    SayRefusedSave();
    SetEditorMode(kDesignPanel);
    design.PartImageName.clear();
    PlayClick();
}

// A refused setup row leaves no row chosen and no point to move.
void RefuseSetupRow() {
    Gadget_SetState(kGadgetSetupRows, 0);
    editor.DraggingOffset = -1;
    editor.DraggedConnection = -1;
}

void ChooseSizeClass() { ExportShipPicture(Gadget_GetState(kGadgetSaveAs)); }

void ViewUp() { MoveView(0, -kViewStep); }
void ViewDown() { MoveView(0, kViewStep); }
void ViewLeft() { MoveView(-kViewStep, 0); }
void ViewRight() { MoveView(kViewStep, 0); }

// ---------------------------------------------------------------- the tables
struct Command {
    int gadget;             // FrameGadget
    int event;              // FrameEventType
    bool (*condition)();    // nullptr: always
    void (*action)();
};

// The editor's commands: alternatives on the gadget, at most one applies.
// The lists whose choice steers an edit follow either button, as their
// selection does: the highlighted row is always the one being edited.
// clang-format off
const std::array kEditorCommands = {
    Command{kGadgetQuit,              EventType_LeftUp,  nullptr,                Quit},
    Command{kGadgetDesignImages,      EventType_LeftUp,  nullptr,                ChoosePartImage},
    Command{kGadgetNew,               EventType_LeftUp,  nullptr,                NewDesign},
    Command{kGadgetLoad,              EventType_LeftUp,  nullptr,                OpenLoadPanelForDesign},
    Command{kGadgetSave,              EventType_LeftUp,  nullptr,                SaveDesign},
    Command{kGadgetAddImages,         EventType_LeftUp,  nullptr,                OpenLoadPanelForImages},
    Command{kGadgetRemoveImage,       EventType_LeftUp,  nullptr,                RemoveImage},
    Command{kGadgetLoadOK,            EventType_LeftUp,  nullptr,                ConfirmLoadPanel},
    Command{kGadgetFileList,          EventType_LeftUp,  nullptr,                ChooseInFileList},
    Command{kGadgetMode,              EventType_LeftUp,  nullptr,                SwitchTestView},
    Command{kGadgetCompatibility,     EventType_LeftUp,  nullptr,                ToggleAllowedPrototypes},
    Command{kGadgetPrototypeList,     EventType_LeftUp,  nullptr,                ChoosePrototype},
    Command{kGadgetPrototypeList,     EventType_RightUp, nullptr,                ChoosePrototype},
    Command{kGadgetAddPrototype,      EventType_LeftUp,  OutsideTestView,        AddPrototypeCommand},
    Command{kGadgetClear,             EventType_LeftUp,  nullptr,                PlayClick},
    Command{kGadgetSetupPrototype,    EventType_LeftUp,  nullptr,                ChooseSetupPrototype},
    Command{kGadgetSetupPrototype,    EventType_RightUp, nullptr,                ChooseSetupPrototype},
    Command{kGadgetPointX,            EventType_LeftUp,  nullptr,                PlayClick},
    Command{kGadgetPointY,            EventType_LeftUp,  nullptr,                PlayClick},
    Command{kGadgetSetupRows,         EventType_LeftUp,  nullptr,                ChooseSetupPoint},
    Command{kGadgetSetupRows,         EventType_RightUp, nullptr,                ChooseSetupPoint},
    Command{kGadgetSetupOK,           EventType_LeftUp,  nullptr,                ConfirmSetup},
};

// The test view's commands, looked at only while it is on.
const std::array kTestViewCommands = {
    Command{kGadgetReset,             EventType_LeftUp,   nullptr, EditResetShip},
    Command{kGadgetRandom,            EventType_LeftUp,   nullptr, EditRandomShip},
    Command{kGadgetOfferedPrototypes, EventType_LeftUp,   nullptr, ChooseOfferedPrototype},
    Command{kGadgetSaveAs,            EventType_LeftUp,   nullptr, ChooseSizeClass},
    Command{kGadgetArrowUp,           EventType_LeftDown, nullptr, ViewUp},
    Command{kGadgetArrowLeft,         EventType_LeftDown, nullptr, ViewLeft},
    Command{kGadgetArrowRight,        EventType_LeftDown, nullptr, ViewRight},
    Command{kGadgetArrowDown,         EventType_LeftDown, nullptr, ViewDown},
};
// clang-format on

template <std::size_t N> void RunFirstMatch(const std::array<Command, N>& table, int gadget, int event) {
    for (const Command& c : table) {
        if (c.gadget != gadget || c.event != event) continue;
        if (c.condition && !c.condition()) continue;
        c.action();
        return;
    }
}

// A click on a palette button attaches its part at the selected connection, or
// swaps the selected part for it.
void ChoosePaletteButton(int gadget, int event) {
    if (event != EventType_LeftUp) return;
    if (PalettePageButton() != 0 && gadget == PalettePageButton()) {
        TurnPalettePage();
        return;
    }
    for (int k = 0; k < editor.Palette.Count(); ++k) {
        if (editor.Palette.At(k)->Button != gadget) continue;
        if (design.SelectedConnection == -1)
            EditSwapPart(k);
        else
            EditAttachPart(k);
        FreePartPalette();
        return;
    }
}

// Path of a file of the open design folder.
std::string InDesignFolder(const std::string& name) { return DesignFolderPath() + name; }

// Makes `row` the only selected row of a list; -1 selects none.
void SelectOnlyRow(int list, int row) {
    Gadget_SetState(list, -1);
    if (row >= 0) Gadget_SetItemState(list, row, 1);
}

// A picture that does not decode is never set up: the panel says so and
// offers nothing to edit, so no stored setup can change through it.
void ShowUnreadablePicture(const std::string& name) {
    design.PartImageName.clear();
    Gadget_ClearItems(kGadgetSetupRows);
    Gadget_ClearItems(kGadgetSetupPrototype);
    Gadget_SetText(kGadgetPointX, "");
    Gadget_SetText(kGadgetPointY, "");
    Gadget_SetText(kGadgetSetupImageFrame, name + (Picture_OverBudget() ? kPictureOverBudget : kUnreadablePicture));
    SetEditorMode(kSetupPanel);
    PlayClick();
}

}  // namespace

// ---------------------------------------------------------------- dispatch
void DispatchCommand(int gadget, int event) {
    // A click anywhere else ends a warning about unsaved work.
    const bool click = event == EventType_LeftUp || event == EventType_RightUp || event == EventType_LeftDown;
    if (click && gadget != DiscardWarningGadget()) EndDiscardWarning();
    RunFirstMatch(kEditorCommands, gadget, event);
    if (design.TestMode != 1) return;
    RunFirstMatch(kTestViewCommands, gadget, event);
    ChoosePaletteButton(gadget, event);
}

// ---------------------------------------------------------------- the named commands
void ChoosePartImage() {
    const int row = Gadget_GetState(kGadgetDesignImages);
    if (row < 0) {
        LeaveSetup();
        SetEditorMode(kDesignPanel);
        PlayClick();
        return;
    }
    const std::string name = Gadget_GetItemText(kGadgetDesignImages, row);
    if (!OpenSetupPanel(name)) {
        ShowUnreadablePicture(name);
        return;
    }
    PlayClick();
}

int OpenSetupPanel(const std::string& image) {
    // The setup being edited is written before another image is chosen.
    LeaveSetup();
    if (!Image_Load(kPartImage, InDesignFolder(image), 0)) return 0;
    design.PartImageName = image;
    LoadPartSetup();
    FitPartImage();
    SetEditorMode(kSetupPanel);
    // The list shows whose setup it is, however the panel was reached.
    for (int r = 0; r < Gadget_CountItems(kGadgetDesignImages); ++r)
        if (Gadget_GetItemText(kGadgetDesignImages, r) == image) {
            SelectOnlyRow(kGadgetDesignImages, r);
            break;
        }
    return 1;
}

void ShowDesignPanel() {
    LeaveSetup();
    if (editor.EditorMode == kDesignPanel) return;
    SetEditorMode(kDesignPanel);
    editor.LoadPurpose = kLoadNothing;
    editor.PreviewZoom = 0.0f;
    editor.SampleScale = 0;
}

void LeaveTestView() {
    Gadget_SetToggleState(kGadgetMode, 0);
    Gadget_SetText(kGadgetPrototypeCaption, Labels[kLabelPrototypeCaption]);
    ClearShipChoices();
    design.TestMode = 0;
    // The ship is built afresh when the view opens again: its steps are over.
    DropShipSteps();
    if (editor.EditorMode == kDesignPanel) SetEditorMode(kDesignPanel);
}

void FitPartImage() {
    const int width = Image_Width(kPartImage);
    const int height = Image_Height(kPartImage);
    editor.SetupZoom = std::min(kSetupPictureSide / static_cast<float>(width), kSetupPictureSide / static_cast<float>(height));
    editor.SetupOriginX = RoundHalfEven((kSetupAreaWidth - static_cast<float>(width) * editor.SetupZoom) / 2.0f);
    editor.SetupOriginY = RoundHalfEven((kSetupAreaHeight - static_cast<float>(height) * editor.SetupZoom) / 2.0f);
    const int side = CrosshairSide();
    Sprite_Create(kCrosshairSprite, side, side);
    Gadget_SetText(kGadgetSetupImageFrame, design.PartImageName + "(" + Str(width) + "/" + Str(height) + ")" +
                                               (SetupNameFits(design.PartImageName) ? "" : kSetupNameTooLong));
}

std::string PreviewedPicture() {
    const int row = Gadget_GetState(kGadgetFileList);
    if (editor.EditorMode != kLoadPanel || editor.LoadPurpose != kLoadPartImages || editor.PreviewZoom <= 0.0f || row < 0)
        return "";
    return Gadget_GetCellText(kGadgetFileList, row, 0);
}

void FitPreviewImage() {
    const float w = static_cast<float>(Image_Width(kPreviewImage));
    const float h = static_cast<float>(Image_Height(kPreviewImage));
    editor.PreviewZoom = h > w ? kLoadPreviewSide / h : kLoadPreviewSide / w;
}

void OpenLoadPanelForDesign() {
    // Unsaved prototypes are dropped only by a second click.
    if (WarnBeforeDiscard(kGadgetLoad)) {
        PlayClick();
        return;
    }
    LeaveSetup();
    Gadget_SetText(kGadgetPrototypeCaption, Labels[kLabelPrototypeCaption]);
    ClearShipChoices();
    design.TestMode = 0;
    DropShipSteps();
    // The open design keeps its image list until another one is opened.
    SetEditorMode(kLoadPanel);
    Gadget_SetText(kGadgetLoadFrame, Labels[kLabelLoadDesign]);
    Gadget_SetText(kGadgetFileList, DesignsPath());
    Gadget_SetFlags(kGadgetFileList, kFolderChoiceFlags);
    editor.LoadPurpose = kLoadDesignFolder;
    editor.LastFileListRow = -1;
    editor.PreviewZoom = 0.0f;  // a picture chosen for "Add" belongs to that panel only
    PlayClick();
}

void OpenLoadPanelForImages() {
    SetEditorMode(kLoadPanel);
    Gadget_SetText(kGadgetLoadFrame, Labels[kLabelLoadImage]);
    Gadget_SetText(kGadgetFileList, InDesignFolder("*.png"));
    Gadget_SetFlags(kGadgetFileList, kImageChoiceFlags);
    editor.LoadPurpose = kLoadPartImages;
    Gadget_SetText(kGadgetFolderInfo, "");
    // Nothing is chosen in the refilled list yet.
    editor.PreviewZoom = 0.0f;
    editor.SampleScale = 0;
    PlayClick();
}

std::string DesignFolderInfo(const std::string& folder) {
    const std::string dir = DesignFolderPath(folder);
    int images = 0;
    int setups = 0;
    editor.SampleScale = 0;
    if (Dir_Examine(kDesignScan, dir, "*.*")) {
        while (Dir_Next(kDesignScan)) {
            if (Dir_EntryType(kDesignScan) != kEntryFile) continue;
            const std::string name = Dir_EntryName(kDesignScan);
            const std::size_t dot = name.rfind('.');
            const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
            if (extension == "spset") {
                // The first setup's picture is the folder's sample.
                if (setups == 0 && Image_Load(kPreviewImage, dir + name.substr(0, name.size() - 6), 0)) {
                    const double w = Image_Width(kPreviewImage);
                    const double h = Image_Height(kPreviewImage);
                    editor.SampleScale = RoundHalfEven(h > w ? kSampleSide / h : kSampleSide / w);
                }
                ++setups;
            } else if (extension == "png") {
                ++images;
            }
        }
        Dir_Finish(kDesignScan);
    }
    int prototypes = 0;
    if (File_OpenRead(kDesignFile, dir + kPrototypeFileName)) {
        prototypes = File_ReadLong(kDesignFile);
        File_Close(kDesignFile);
    }
    // A folder that cannot be opened says so on the line before the sample's.
    const std::string refusal = DesignNumber(folder) < 1 ? kNotADesignNumber : "";
    return Labels[kLabelDesign] + " " + folder + "\r\n" + Labels[kLabelImages] + ": " + Str(images) + "\r\n" +
           Labels[kLabelImagesWithSetup] + ": " + Str(setups) + "\r\n" + Labels[kLabelPrototypes] + ": " +
           Str(prototypes) + "\r\n" + refusal + "\r\n" + Labels[kLabelSample] + ": ";
}

void ChooseInFileList() {
    const int row = Gadget_GetState(kGadgetFileList);
    // A click on a column title only sorts: the chosen row went with its folder.
    if (Gadget_EventInHeader()) {
        editor.LastFileListRow = row;
        PlayClick();
        return;
    }
    if (editor.LoadPurpose == kLoadPartImages) {
        editor.PreviewZoom = 0.0f;
        if (row >= 0 && Image_Load(kPreviewImage, InDesignFolder(Gadget_GetCellText(kGadgetFileList, row, 0)), 0))
            FitPreviewImage();
    }
    if (editor.LoadPurpose == kLoadDesignFolder && row >= 0) {
        editor.InfoText = DesignFolderInfo(Gadget_GetCellText(kGadgetFileList, row, 0));
        Gadget_SetText(kGadgetFolderInfo, editor.InfoText);
        // The same folder chosen twice in a row opens it; one that names no
        // design keeps the panel open, its information saying why.
        if (row == editor.LastFileListRow && OpenDesignFolder()) {
            SetEditorMode(kDesignPanel);
            editor.LoadPurpose = kLoadNothing;
            editor.PreviewZoom = 0.0f;
            editor.SampleScale = 0;
        }
    }
    editor.LastFileListRow = row;
    PlayClick();
}

void ConfirmLoadPanel() {
    if (editor.LoadPurpose == kLoadPartImages) {
        if (Gadget_GetState(kGadgetFileList) >= 0) {
            std::vector<std::string> names;
            const int rows = Gadget_CountItems(kGadgetFileList);
            for (int i = 0; i < rows; ++i)
                if (Gadget_GetItemState(kGadgetFileList, i))
                    names.push_back(StringField(Gadget_GetItemText(kGadgetFileList, i), 1, '\n'));
            EditAddImages(names);
        }
        PlayClick();
    }
    if (editor.LoadPurpose == kLoadDesignFolder) OpenDesignFolder();
    SetEditorMode(kDesignPanel);
    editor.LoadPurpose = kLoadNothing;
    editor.PreviewZoom = 0.0f;
    editor.SampleScale = 0;
}

void ExportShipPicture(int sizeClass) {
    if (sizeClass >= 0 && sizeClass < static_cast<int>(ExportWidths.size()) &&
        SaveShipPicture(sizeClass, Gadget_GetItemText(kGadgetSaveAs, sizeClass)))
        PlayClick();
    // The same size can be chosen again at once.
    Gadget_SetState(kGadgetSaveAs, -1);
}

void SwitchTestView() {
    // The test view reads the setups from their files.
    LeaveSetup();
    if (Gadget_GetToggleState(kGadgetMode) == 1) {
        if (design.Prototypes.Count() > 0) {
            Gadget_SetText(kGadgetPrototypeCaption, Labels[kLabelDesignCaption]);
            // The ship built so far grows back onto the parts as their setups are now.
            const std::vector<KeptShipNode> kept = KeepShip();
            LoadSetupParts();
            SayPartsOverBudget();
            RestoreShip(kept);
            if (design.ShipNodes.Count() == 0) StartShip();
            ClearShipChoices();
            DrawShip(design.ViewX, design.ViewY, 0);
            design.TestMode = 1;
        } else {
            // Nothing to test: the toggle springs back.
            Gadget_SetToggleState(kGadgetMode, 0);
        }
    } else {
        LeaveTestView();
    }
    SetEditorMode(kDesignPanel);
    PlayClick();
}

void ChoosePrototype() {
    // The list only shows the prototypes then: a click leaves the choice where it was.
    if (design.TestMode != 0) {
        SelectOnlyRow(kGadgetPrototypeList, design.CurrentPrototype);
        return;
    }
    const int row = Gadget_GetState(kGadgetPrototypeList);
    if (row >= 0) {
        design.CurrentPrototype = row;
        Gadget_SetText(kGadgetPrototypeName, design.Prototypes.At(row) ? design.Prototypes.At(row)->Name : "");
        // Choosing the same prototype again keeps the selected connection.
        if (row != design.LastPrototypeRow) design.SelectedProtoConnection = -1;
        FillCompatibilityList(row);
        DrawPrototypePreview(row);
    } else {
        design.SelectedProtoConnection = -1;
        design.CurrentPrototype = -1;
        Gadget_SetText(kGadgetPrototypeName, "");
        FillCompatibilityList(-1);
        DrawPrototypePreview(-1);  // the last preview stays on the screen
    }
    design.LastPrototypeRow = row;
    PlayClick();
}

void ChooseSetupPoint() {
    if (SelectSetupPoint(Gadget_GetState(kGadgetSetupRows))) PlayClick();
}

void ForgetSetupPoint() {
    Gadget_SetState(kGadgetSetupRows, 0);
    Gadget_SetText(kGadgetPointX, "");
    Gadget_SetText(kGadgetPointY, "");
    editor.DraggingOffset = -1;
    editor.DraggedConnection = -1;
}

int SelectSetupPoint(int row) {
    if (row < 0) {
        editor.DraggingOffset = -1;
        editor.DraggedConnection = -1;
        return 0;
    }
    SelectOnlyRow(kGadgetSetupRows, row);
    const PartSetup& setup = design.PartSetup;
    // Without a prototype no point of the image means anything yet.
    if (setup.PrototypeIndex < 0) {
        RefuseSetupRow();
        return 0;
    }
    if (row == 0) {
        Gadget_SetText(kGadgetPointX, Str(setup.OffsetX));
        Gadget_SetText(kGadgetPointY, Str(setup.OffsetY));
        editor.DraggingOffset = 1;
        editor.DraggedConnection = -1;
    } else {
        const int j = row - 1;
        // A connection the setup's prototype does not use cannot stay selected.
        const Prototype* prototype = design.Prototypes.At(setup.PrototypeIndex);
        if (j >= kConnections || !prototype || !HasActiveFlag(prototype->ConnectionMask[j])) {
            RefuseSetupRow();
            return 0;
        }
        Gadget_SetText(kGadgetPointX, Str(setup.ConnX[j]));
        Gadget_SetText(kGadgetPointY, Str(setup.ConnY[j]));
        editor.DraggingOffset = -1;
        editor.DraggedConnection = j;
    }
    const int side = CrosshairSide();
    if (Draw_Begin(Draw_SpriteOutput(kCrosshairSprite))) {
        Draw_Image(Image_Handle(kCrosshairImage), 0, 0, side, side);
        Draw_End();
    }
    return 1;
}

void FollowNameField() {
    const int active = Gadget_GetActive() == kGadgetPrototypeName ? 1 : 0;
    if (active && !editor.NameFieldActive) ++editor.NameFieldVisit;
    editor.NameFieldActive = active;
    if (!active) return;
    const int row = Gadget_GetState(kGadgetPrototypeList);
    if (design.TestMode == 0) EditRenamePrototype(row, Gadget_GetText(kGadgetPrototypeName), editor.NameFieldVisit);
    // Where nothing can be renamed the typing is undone: the field shows the name, never another text.
    const Prototype* prototype = design.Prototypes.At(row);
    const std::string name = prototype ? prototype->Name : std::string();
    if (Gadget_GetText(kGadgetPrototypeName) != name) Gadget_SetText(kGadgetPrototypeName, name);
}
