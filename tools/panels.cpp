// Panel pictures: the editor's real screen, run headless through whole
// frames, saved as 1024 x 768 PNGs.
//
//   panels OUTPUT_FOLDER [MEDIA_FOLDER]
//
// Writes start.png (the screen at start), load.png (the load panel choosing
// a design folder), design.png (the design panel with a design open),
// test.png (the same with the test view's gadgets) and setup.png (the
// part-setup panel). The editor runs in a fresh temporary folder holding a
// copy of MEDIA_FOLDER ("Media" of the current directory by default) and a
// small sample design made here.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "app.h"
#include "design_folders.h"
#include "editor_tables.h"
#include "gadget.h"
#include "part_setup.h"
#include "prototypes.h"
#include "services.h"
#include "testing.h"

namespace fs = std::filesystem;

namespace {

// The load panel choosing a design folder: folders only, no "..", no navigation.
constexpr int kFolderChoiceFlags = kFileListGridLines | kFileListNoFiles | kFileListNoParent | kFileListNoNavigation;

// A part picture: a filled body with a lighter inner band.
void WritePart(const std::string& path, int width, int height, int body, int band) {
    const int image = Image_Create(kServiceAuto, width, height);
    if (image && Draw_Begin(Draw_ImageOutput(image))) {
        Draw_Box(0, 0, width, height, 0xFF00FF);
        Draw_Box(2, height / 4, width - 4, height / 2, body);
        Draw_Box(width / 4, height / 3, width / 2, height / 3, band);
        Draw_End();
        Image_Save(image, path, kPngEncoder);
    }
    Image_Free(image);
}

// Design 1: three set-up parts, one picture without a setup, two prototypes.
void MakeSampleDesign() {
    NewDesignFolder();
    const std::string folder = DesignFolderPath();
    WritePart(folder + "hull.png", 96, 48, 0x705030, 0xA08060);
    WritePart(folder + "gun.png", 32, 24, 0x404040, 0x808080);
    WritePart(folder + "mast.png", 16, 64, 0x305070, 0x6090B0);
    WritePart(folder + "sketch.png", 40, 40, 0x303030, 0x505050);

    AddPrototype();
    AddPrototype();
    RenamePrototype(0, "hull");
    RenamePrototype(1, "gun");
    Prototype& hull = *design.Prototypes.At(0);
    hull.ConnectionMask[0] = ConnectionActive | 2;
    hull.ConnectionMask[3] = ConnectionActive | 3;
    design.Prototypes.At(1)->ConnectionMask[7] = ConnectionActive | 1;
    SavePrototypes(PrototypesPath());

    PartSetup setup;
    setup.OffsetX = 48;
    setup.OffsetY = 24;
    setup.PrototypeIndex = 0;
    setup.ConnX[0] = 0;
    setup.ConnY[0] = 16;
    setup.ConnX[3] = 96;
    setup.ConnY[3] = 16;
    WriteSetupFile(folder + "hull.png.spset", setup);
    setup = PartSetup{};
    setup.PrototypeIndex = 1;
    WriteSetupFile(folder + "gun.png.spset", setup);
    WriteSetupFile(folder + "mast.png.spset", setup);
}

// A few frames with the pointer out of the way, then the screen as a PNG.
bool Shoot(const fs::path& output) {
    Testing_MouseMove(1012, 600);
    for (int i = 0; i < 3; ++i) RunFrame();
    const int shot = Sprite_Grab(kServiceAuto, 0, 0, kScreenWidth, kScreenHeight);
    const bool saved = shot && Sprite_Save(shot, output.string(), kPngEncoder);
    Sprite_Free(shot);
    if (!saved) std::fprintf(stderr, "panels: could not write %s\n", output.c_str());
    return saved;
}

void ChooseRow(int gadget, const std::string& cell) {
    for (int r = 0; r < Gadget_CountItems(gadget); ++r)
        Gadget_SetItemState(gadget, r, Gadget_GetCellText(gadget, r, 0) == cell);
}

bool ShootPanels(const fs::path& out) {
    bool ok = Shoot(out / "start.png");
    MakeSampleDesign();

    // The load panel as "Load" leaves it, the sample folder chosen once.
    Gadget_ClearItems(kGadgetDesignImages);
    SetEditorMode(kLoadPanel);
    Gadget_SetText(kGadgetLoadFrame, Labels[39]);
    Gadget_SetText(kGadgetFileList, design.BaseDir + "Designs\\");
    Gadget_SetFlags(kGadgetFileList, kFolderChoiceFlags);
    ChooseRow(kGadgetFileList, "1");
    Gadget_SetText(kGadgetFolderInfo, Labels[1] + " 1\r\n" + Labels[12] + ": 4\r\n" + Labels[15] + ": 3\r\n" +
                                          Labels[9] + ": 2\r\n\r\n" + Labels[48] + ": ");
    ok = Shoot(out / "load.png") && ok;

    // Opened: the design panel with its images and prototypes, one prototype chosen.
    OpenDesignFolder();
    SetEditorMode(kDesignPanel);
    Gadget_SetItemState(kGadgetPrototypeList, 0, 1);
    Gadget_SetText(kGadgetPrototypeName, design.Prototypes.At(0)->Name);
    design.SelectedProtoConnection = 3;
    FillCompatibilityList(0);
    DrawPrototypePreview(0);
    ok = Shoot(out / "design.png") && ok;

    design.TestMode = 1;
    Gadget_SetText(kGadgetPrototypeCaption, Labels[41]);
    SetEditorMode(kDesignPanel);
    ok = Shoot(out / "test.png") && ok;
    design.TestMode = 0;
    Gadget_SetText(kGadgetPrototypeCaption, Labels[40]);

    // The part-setup panel for hull.png, its display offset chosen.
    ChooseRow(kGadgetDesignImages, "hull.png");
    design.PartImageName = "hull.png";
    LoadPartSetup();
    Gadget_SetText(kGadgetSetupImageFrame, design.PartImageName + "(96/48)");
    SetEditorMode(kSetupPanel);
    Gadget_SetItemState(kGadgetSetupRows, 0, 1);
    Gadget_SetText(kGadgetPointX, Str(design.PartSetup.OffsetX));
    Gadget_SetText(kGadgetPointY, Str(design.PartSetup.OffsetY));
    ok = Shoot(out / "setup.png") && ok;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: panels OUTPUT_FOLDER [MEDIA_FOLDER]\n");
        return 2;
    }
    std::error_code error;
    const fs::path out = fs::absolute(argv[1]);
    const fs::path media = fs::absolute(argc > 2 ? fs::path(argv[2]) : fs::path("Media"));
    fs::create_directories(out, error);

    const fs::path work = fs::temp_directory_path() / ("keelwright-panels-" + std::to_string(::getpid()));
    fs::remove_all(work, error);
    fs::create_directories(work / "Media");
    // Without media the screen is drawn on black, still worth a look.
    fs::copy(media, work / "Media", fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    const fs::path home = fs::current_path();
    fs::current_path(work);

    Testing_UseHeadlessDrivers();
    Testing_UseManualClock(true);  // frames pace themselves without sleeping
    bool ok = false;
    if (StartEditor()) {
        ok = ShootPanels(out);
        EndEditor();
    } else {
        std::fprintf(stderr, "panels: %s\n", editor.StartupFailure.c_str());
        FinalCleanup();
    }
    fs::current_path(home, error);
    fs::remove_all(work, error);
    return ok ? 0 : 1;
}
