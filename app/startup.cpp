// Start-up sequence and the orderly end.
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app.h"
#include "disk_pictures.h"
#include "editor_tables.h"
#include "editor_gadgets.h"
#include "gadget.h"
#include "history.h"
#include "paths.h"
#include "services.h"
#include "ship_pictures.h"
#include "title_line.h"
#include "unsaved_work.h"
#include "utf8_path.h"

namespace {

struct ServiceInit {
    const char* what;  // named in the start-up failure
    int (*init)();
};

// Order matters: the 3D device and the screen hang off the sprite service.
const std::array<ServiceInit, 5> kServiceInits = {{
    {"the sprite service", Sprite_Init},
    {"the mouse", Mouse_Init},
    {"the keyboard", Key_Init},
    {"the sound service", Sound_Init},
    {"the 3D device", Device3D_Init},
}};

// Where the media lie relative to the program's folder when the workspace has
// none: the build's generated ones, then the installed ones.
const std::array<const char*, 2> kMediaBesideProgram = {"../Media/", KEELWRIGHT_INSTALLED_MEDIA};

int Fail(const std::string& what) {
    editor.StartupFailure = what;
    return 0;
}

// The workspace's own media when it has a Media folder, else the program's;
// said on stderr, as nothing would be drawn without them.
std::string MediaFolder() {
    const std::string own = design.BaseDir + "Media";
    if (File_Size(own) == kFileIsDirectory) return own + OwnPath("\\");
    const std::string program = ProgramDirectory();
    for (const char* relative : kMediaBesideProgram) {
        if (program.empty()) break;
        const std::string folder = Utf8FromPath(PathFromUtf8(program + relative).lexically_normal());
        if (File_Size(folder) != kFileIsDirectory) continue;
        std::fprintf(stderr, "keelwright: no Media folder in %s; using %s\n", design.BaseDir.c_str(), folder.c_str());
        return folder;
    }
    std::fprintf(stderr, "keelwright: no Media folder in %s nor beside the program; nothing will be drawn\n",
                 design.BaseDir.c_str());
    return own + OwnPath("\\");
}

void LoadMedia() {
    const std::string media = MediaFolder();
    // A missing file leaves its number empty; every later use of it then does nothing.
    Sound_Load(kClickSound, media + "Button.wav");
    Sprite_Load(kPointerSourceSprite, media + "Mouse.png", 0);
    Sprite_Load(kBackgroundSprite, media + "BG.png", 0);
    Image_Load(kCrosshairImage, media + "Crosshair solid.png", 0);
    Image_Load(kArrowUpImage, media + "BtnUp.png", 0);
    Image_Load(kArrowDownImage, media + "BtnDown.png", 0);
    Image_Load(kArrowLeftImage, media + "BtnLeft.png", 0);
    Image_Load(kArrowRightImage, media + "BtnRight.png", 0);
}

// Whether BaseDir holds a folder of exactly this name that files can be created in.
bool WritableFolder(const std::string& name) {
    const int scan = Dir_Examine(kServiceAuto, design.BaseDir, name);
    if (!scan) return false;
    bool writable = false;
    while (Dir_Next(scan))
        if (Dir_EntryName(scan) == name)
            writable = Dir_EntryType(scan) == kEntryDirectory && !(Dir_EntryAttributes(scan) & kAttrReadOnly);
    Dir_Finish(scan);
    return writable;
}

// Saves fail silently later on, so say once, at start, when none can succeed.
void WarnWhenNothingCanBeSaved() {
    std::string where;
    for (const char* name : {kDesignsFolder, kShipPicturesFolder})
        if (!WritableFolder(name)) where += (where.empty() ? "" : " or ") + design.BaseDir + name;
    if (!where.empty())
        std::fprintf(stderr, "keelwright: nothing can be saved in %s (not a writable folder)\n", where.c_str());
}

}  // namespace

int StartEditor(int scale) {
    editor = EditorState{};
    interaction = InteractionState{};
    ResetTitleLine();
    ResetHistory();
    ResetUnsavedWork();
    ResetChangedPictures();
    Gadget_Init();

    for (const ServiceInit& service : kServiceInits) {
        if (!service.init()) return Fail("cannot initialise " + std::string(service.what));
    }

    // The fixed tables are constants of the program; the design model starts
    // with its four lists empty and its start values.
    design = DesignState{};

    // Every path hangs off the base directory; without it none can be trusted.
    design.BaseDir = CurrentDirectory();
    if (design.BaseDir.empty()) return Fail("cannot read the current directory");
    // Both usually exist already; later saves into a missing one fail quietly.
    Dir_Create(design.BaseDir + kDesignsFolder);
    Dir_Create(design.BaseDir + kShipPicturesFolder);
    WarnWhenNothingCanBeSaved();

    // Without a screen nothing could be seen or clicked, so stop rather than run blind.
    // The screen keeps its layout; the window shows each of its pixels as a scale x scale block.
    if (scale < 1) scale = Window_FittingScale(kScreenWidth, kScreenHeight);
    if (!Window_Open(0, 0, 0, kScreenWidth * scale, kScreenHeight * scale, kProgramTitle, kWindowSystemMenu))
        return Fail("cannot open the window");
    if (!Screen_OpenInWindow(Window_Handle(0), 0, 0, kScreenWidth, kScreenHeight, 0, 0, 0)) {
        Window_Close(0);
        return Fail("cannot open the screen in the window");
    }

    LoadMedia();
    Sprite_Create(kPreviewSprite, kPreviewWidth, kPreviewHeight);
    Sprite_Create(kShipCanvasSprite, kShipCanvasWidth, kShipCanvasHeight);

    // Gadgets draw over the background without a fill of their own.
    Gadget_SetDefaultFillMode(0);
    Gadget_SetDefaultTextColor(kEditorTextColour);
    CreateEditorGadgets();
    SetEditorMode(kDesignPanel);
    for (std::size_t i = 0; i < ExportWidths.size(); ++i) Gadget_AddItem(kGadgetSaveAs, -1, Labels[kLabelFirstSizeClass + i]);

    SetMousePointer(0);
    return 1;
}

void EndEditor() {
    Gadget_FreeAll();
    Window_Close(0);
    FinalCleanup();
}

void FinalCleanup() {
    Gadget_End();
    Services_End();
}
