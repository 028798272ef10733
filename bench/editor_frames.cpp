// The editor's busiest frames, headless, with the pacing sleep taken out by
// the manual clock: the setup panel with a large part image and its markers
// while a cursor key moves the point; the test view with a 200-node ship
// while an arrow button is held; the load panel listing 2,000 design folders.
// Each against the floor of copying one screen.
// Prints "NAME: MEDIAN us, RATIO x memcpy".
#include <cstdio>
#include <string>
#include <vector>

#include "app.h"
#include "editor_bench.h"
#include "design_folders.h"
#include "editor_gadgets.h"
#include "gadget.h"
#include "part_setup.h"
#include "prototypes.h"
#include "services.h"
#include "ship_assembly.h"

namespace {

constexpr int kRuns = 100;

// A design folder 1 with one large part image set up for a prototype whose
// eight connections are all in use, and a small part for the ship.
void MakeDesign(const fs::path& work) {
    const fs::path folder = work / "Designs" / "1";
    fs::create_directories(folder);
    const int big = Image_Create(kServiceAuto, 2000, 1500);
    if (Draw_Begin(Draw_ImageOutput(big))) {
        for (int y = 0; y < 1500; y += 50) Draw_Box(0, y, 2000, 25, 0x406080 + y);
        Draw_End();
    }
    Image_Save(big, (folder / "big.png").string(), kPngEncoder);
    Image_Free(big);
    const int small = Image_Create(kServiceAuto, 32, 24);
    Image_Save(small, (folder / "small.png").string(), kPngEncoder);
    Image_Free(small);

    PartSetup setup;
    setup.PrototypeIndex = 0;
    for (int i = 0; i < kConnections; ++i) {
        setup.ConnX[static_cast<std::size_t>(i)] = 200 * i;
        setup.ConnY[static_cast<std::size_t>(i)] = 150 * i;
    }
    WriteSetupFile((folder / "big.png.spset").string(), setup);
    PartSetup part;
    part.PrototypeIndex = 0;
    part.OffsetX = 16;
    part.OffsetY = 12;
    for (int i = 0; i < kConnections; ++i) {
        part.ConnX[static_cast<std::size_t>(i)] = (i * 7) % 32;
        part.ConnY[static_cast<std::size_t>(i)] = (i * 5) % 24;
    }
    WriteSetupFile((folder / "small.png.spset").string(), part);
}

// Opens design 1 through the load panel, as "Load" and two choices do.
void OpenDesignOne() {
    OpenLoadPanelForDesign();
    for (int r = 0; r < Gadget_CountItems(kGadgetFileList); ++r)
        if (Gadget_GetCellText(kGadgetFileList, r, 0) == "1") Gadget_SetItemState(kGadgetFileList, r, 1);
    ConfirmLoadPanel();
    // One prototype with four connections in use, allowing itself on each.
    Prototype& p = design.Prototypes.Append();
    p.Name = "hull";
    for (int i = 0; i < kConnections; i += 2) p.ConnectionMask[static_cast<std::size_t>(i)] = ConnectionActive | 1;
    Gadget_AddItem(kGadgetPrototypeList, -1, p.Name);
}

double Frames(int key, int mouseX, int mouseY, bool leftHeld) {
    Testing_MouseMove(mouseX, mouseY);
    if (leftHeld) Testing_MouseButton(1, true);
    if (key) Testing_Key(key, true);
    RunFrame();
    int flip = 0;
    const double us = MedianMicros(kRuns, [&] {
        // Keep a held key moving the point back and forth within the picture.
        if (key && (++flip % 40) == 0) {
            Testing_Key(key, false);
            key = key == kKeyRight ? kKeyLeft : kKeyRight;
            Testing_Key(key, true);
        }
        RunFrame();
    });
    if (key) Testing_Key(key, false);
    if (leftHeld) Testing_MouseButton(1, false);
    RunFrame();
    return us;
}

}  // namespace

int main(int, char** argv) {
    const fs::path work = EnterBenchWorkspace(argv[0], "keelwright-bench-frames");
    for (int n = 2; n <= 2001; ++n) fs::create_directories(work / "Designs" / std::to_string(n));
    if (!StartEditor()) {
        std::fprintf(stderr, "keelwright: %s\n", editor.StartupFailure.c_str());
        return 1;
    }
    MakeDesign(work);

    const double floor = ScreenCopyFloor(200);

    // The load panel listing 2,000 design folders, the pointer over the list.
    OpenLoadPanelForDesign();
    Report("load_panel_2000_folders", Frames(0, 600, 150, false), floor, "memcpy");

    // The setup panel: a 2000 x 1500 picture, a connection being moved by a held key, seven markers.
    OpenDesignOne();
    for (int r = 0; r < Gadget_CountItems(kGadgetDesignImages); ++r)
        if (Gadget_GetItemText(kGadgetDesignImages, r) == "big.png") Gadget_SetItemState(kGadgetDesignImages, r, 1);
    ChoosePartImage();

    Gadget_SetItemState(kGadgetSetupRows, 1, 1);
    ChooseSetupPoint();
    Report("setup_panel_large_image", Frames(kKeyRight, 700, 600, false), floor, "memcpy");
    if (editor.EditorMode != kSetupPanel || editor.DraggedConnection != 0)
        std::fprintf(stderr, "the setup panel was not measured with a point moving\n");
    SetEditorMode(kDesignPanel);
    design.PartImageName.clear();

    // The test view: a 200-node ship redrawn in every frame the left arrow is held.
    Gadget_SetToggleState(kGadgetMode, 1);
    SwitchTestView();
    ImageNumber smallPart;
    for (int p = 0; p < design.Parts.Count(); ++p)
        if (Image_Width(design.Parts.At(p)->Image) == 32) smallPart = design.Parts.At(p)->Image;
    design.ShipNodes.At(0)->Image = smallPart;
    // A tree four children wide, as a person grows it: the leaves keep their free connections.
    for (int n = 1; n < 200; ++n) {
        design.ShipNodes.Append().Image = smallPart;
        InitNodeConnections(n, PrototypePosition{0});
        design.ShipNodes.At((n - 1) / 4)->Child[static_cast<std::size_t>(2 * ((n - 1) % 4))] = n;
    }
    Report("draw_ship_200_nodes", MedianMicros(kRuns, [] { DrawShip(design.ViewX, design.ViewY, 0); }), floor, "memcpy");
    const int viewBefore = design.ViewX;
    Report("test_view_200_nodes_arrow_held", Frames(0, 600, 690, true), floor, "memcpy");
    // The figure means nothing unless the held arrow really moved and redrew the ship.
    if (design.TestMode != 1 || design.ViewX >= viewBefore)
        std::fprintf(stderr, "the test view did not move (TestMode %d, ViewX %d -> %d)\n", design.TestMode, viewBefore,
                     design.ViewX);

    EndEditor();
    LeaveBenchWorkspace(work);
    return 0;
}
