// Panel pictures: the editor's real screen, run headless through whole
// frames, saved as 1024 x 768 PNGs.
//
//   panels OUTPUT_FOLDER [MEDIA_FOLDER [SAMPLE_FOLDER]]
//
// Writes start.png (the screen at start), load.png (the load panel choosing
// a design folder), design.png (the design panel with a design open),
// test.png (the test view with a ship grown a few parts deep) and setup.png
// (the part-setup panel). The editor runs in a fresh temporary folder holding
// a copy of MEDIA_FOLDER ("Media" of the current directory by default) and,
// as design 1, a copy of SAMPLE_FOLDER (the build's "Sample") or else a small
// design made here.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "app.h"
#include "design_folder_views.h"
#include "editor_gadgets.h"
#include "part_palette.h"
#include "part_setup_view.h"
#include "prototype_views.h"
#include "design_folders.h"
#include "editor_tables.h"
#include "gadget.h"
#include "part_setup.h"
#include "prototypes.h"
#include "services.h"
#include "ship_assembly.h"
#include "testing.h"

namespace fs = std::filesystem;

namespace {

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

// The open design folder as the operating system names it.
fs::path DesignFolderOnDisk() { return fs::path(DesignFolderPath()); }

// Design 1 as a copy of a sample folder.
void CopySampleDesign(const fs::path& sample) {
    NewDesignFolder();
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(sample, error))
        if (entry.is_regular_file()) fs::copy_file(entry.path(), DesignFolderOnDisk() / entry.path().filename(), error);
}

// Grows the test ship breadth first, attaching at every free connection the
// first part on offer, until it has `nodes` nodes or nothing more fits;
// then offers the choices at the next free connection.
void GrowShip(int nodes) {
    for (int n = 0; n < design.ShipNodes.Count(); ++n)
        for (int i = 0; i < kConnections; ++i) {
            if (design.ShipNodes.At(n)->Child[static_cast<std::size_t>(i)] != ChildFree) continue;
            SelectShipElement(HitConnection | (static_cast<std::uint32_t>(i) << kHitConnectionShift) |
                              static_cast<std::uint32_t>(n));
            if (editor.Palette.Count() == 0 && Gadget_CountItems(kGadgetOfferedPrototypes) > 0) {
                Gadget_SetItemState(kGadgetOfferedPrototypes, 0, 1);
                ChooseOfferedPrototype();
            }
            if (design.ShipNodes.Count() >= nodes) return;
            if (editor.Palette.Count() > 0) AttachPart(0);
        }
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

bool ShootPanels(const fs::path& out, const fs::path& sample) {
    bool ok = Shoot(out / "start.png");
    if (!sample.empty() && fs::is_directory(sample))
        CopySampleDesign(sample);
    else
        MakeSampleDesign();

    // "Load", design 1 chosen once: its information and sample.
    OpenLoadPanelForDesign();
    RunFrame();  // the file list reads the folder when drawn
    ChooseRow(kGadgetFileList, "1");
    ChooseInFileList();
    ok = Shoot(out / "load.png") && ok;

    // Chosen again: opened. The first prototype chosen, its second active
    // connection shown in the compatibility list.
    ChooseInFileList();
    Gadget_SetItemState(kGadgetPrototypeList, 0, 1);
    ChoosePrototype();
    const Prototype& first = *design.Prototypes.At(0);
    for (int i = 0, active = 0; i < kConnections; ++i)
        if (HasActiveFlag(first.ConnectionMask[static_cast<std::size_t>(i)]) && active++ == 1)
            SelectProtoConnection(0, i);
    ok = Shoot(out / "design.png") && ok;

    // "Mode": the test view with a ship grown from the sample.
    Gadget_SetToggleState(kGadgetMode, 1);
    SwitchTestView();
    GrowShip(9);
    DrawShip(design.ViewX, design.ViewY, 0);
    ok = Shoot(out / "test.png") && ok;
    Gadget_SetToggleState(kGadgetMode, 0);
    SwitchTestView();

    // A hull (or the first image) in the setup panel, its display offset chosen.
    std::string name = Gadget_GetCellText(kGadgetDesignImages, 0, 0);
    for (int r = Gadget_CountItems(kGadgetDesignImages) - 1; r >= 0; --r)
        if (Gadget_GetCellText(kGadgetDesignImages, r, 0).find("ull") != std::string::npos)
            name = Gadget_GetCellText(kGadgetDesignImages, r, 0);
    ChooseRow(kGadgetDesignImages, name);
    ChoosePartImage();
    Gadget_SetItemState(kGadgetSetupRows, 0, 1);
    ChooseSetupPoint();
    ok = Shoot(out / "setup.png") && ok;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: panels OUTPUT_FOLDER [MEDIA_FOLDER [SAMPLE_FOLDER]]\n");
        return 2;
    }
    std::error_code error;
    const fs::path out = fs::absolute(argv[1]);
    const fs::path media = fs::absolute(argc > 2 ? fs::path(argv[2]) : fs::path("Media"));
    const fs::path sample = argc > 3 ? fs::absolute(argv[3]) : fs::path();
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
        ok = ShootPanels(out, sample);
        EndEditor();
    } else {
        std::fprintf(stderr, "panels: %s\n", editor.StartupFailure.c_str());
        FinalCleanup();
    }
    fs::current_path(home, error);
    fs::remove_all(work, error);
    return ok ? 0 : 1;
}
