// Undo and redo against the command they reverse, frame for frame on the
// same screen, headless with the manual clock:
//  - a part attached from the palette to the end of a 65,535-node test ship
//    (making it 65,536), then Ctrl+Z and Ctrl+Y;
//  - on a design of 24 prototypes and 2,000 part images: "Remove" of an image,
//    and a connection switched in the prototype preview, each then undone and
//    redone.
// Prints "NAME: MEDIAN us, RATIO x FLOOR", the floor being the frame of the
// command itself; the target is 1.5 at most.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app.h"
#include "editor_bench.h"
#include "editor_gadgets.h"
#include "gadget.h"
#include "history.h"
#include "part_palette.h"
#include "part_setup.h"
#include "prototypes.h"
#include "services.h"
#include "ship_assembly.h"

namespace {

constexpr int kRuns = 15;
constexpr int kImages = 2000;
constexpr int kChainNodes = kMaxShipNodes - 1;

double Timed(void (*work)()) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times.empty() ? 0.0 : times[times.size() / 2];
}

// A click at (x, y) as four frames; the time of frame `acting` (0..3), the
// one in which the command is carried out.
double ClickFrame(int x, int y, int acting) {
    double times[4];
    Testing_MouseMove(x, y);
    times[0] = Timed(RunFrame);
    Testing_MouseButton(1, true);
    times[1] = Timed(RunFrame);
    Testing_MouseButton(1, false);
    times[2] = Timed(RunFrame);
    times[3] = Timed(RunFrame);
    return times[acting];
}

// Ctrl+`key` pressed: the time of the frame that acts on it.
double CtrlKeyFrame(int key) {
    Testing_Key(kKeyLeftCtrl, true);
    Testing_Key(key, true);
    const double us = Timed(RunFrame);
    Testing_Key(key, false);
    Testing_Key(kKeyLeftCtrl, false);
    RunFrame();
    return us;
}

int CentreX(int gadget) {
    const GadgetLayout* g = FindGadgetLayout(gadget);
    return g->x + g->width / 2;
}
int CentreY(int gadget) {
    const GadgetLayout* g = FindGadgetLayout(gadget);
    return g->y + g->height / 2;
}

// Design 1: 2,000 small part images with setups, 24 prototypes whose
// connection 1 allows prototype 0, the first part a prototype 0 chain link.
void MakeDesign(const fs::path& work) {
    const fs::path folder = work / "Designs" / "1";
    fs::create_directories(folder);
    const int image = Image_Create(kServiceAuto, 8, 8);
    if (Draw_Begin(Draw_ImageOutput(image))) {
        Draw_Box(0, 0, 8, 8, 0x4080C0);
        Draw_End();
    }
    for (int k = 0; k < kImages; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "part%04d.png", k);
        Image_Save(image, (folder / name).string(), kPngEncoder);
        PartSetup setup;
        setup.PrototypeIndex = k % kMaxPrototypes;
        setup.ConnX[0] = 8;
        WriteSetupFile((folder / (std::string(name) + ".spset")).string(), setup);
    }
    Image_Free(image);
    std::vector<Prototype> prototypes(kMaxPrototypes);
    for (int p = 0; p < kMaxPrototypes; ++p) {
        prototypes[static_cast<std::size_t>(p)].Name = "prototype" + std::to_string(p);
        prototypes[static_cast<std::size_t>(p)].Index = static_cast<std::int8_t>(p);
        prototypes[static_cast<std::size_t>(p)].ConnectionMask[0] = ConnectionActive | 1;
    }
    WritePrototypeFile((folder / "Prototypes.pt").string(), prototypes);
}

void OpenDesignOne() {
    OpenLoadPanelForDesign();
    for (int r = 0; r < Gadget_CountItems(kGadgetFileList); ++r)
        if (Gadget_GetCellText(kGadgetFileList, r, 0) == "1") Gadget_SetItemState(kGadgetFileList, r, 1);
    ConfirmLoadPanel();
}

struct Figures {
    std::vector<double> command, undo, redo;
};

void ReportFigures(const char* name, const Figures& f) {
    const double command = Median(f.command);
    std::printf("%s_command: %.1f us\n", name, command);
    Report((std::string(name) + "_undo").c_str(), Median(f.undo), command, "command");
    Report((std::string(name) + "_redo").c_str(), Median(f.redo), command, "command");
}

}  // namespace

int main(int, char** argv) {
    const fs::path work = EnterBenchWorkspace(argv[0], "keelwright-bench-history");
    if (!StartEditor()) {
        std::fprintf(stderr, "keelwright: %s\n", editor.StartupFailure.c_str());
        return 1;
    }
    MakeDesign(work);
    OpenDesignOne();
    RunFrame();
    if (design.Prototypes.Count() != kMaxPrototypes || Gadget_CountItems(kGadgetDesignImages) != kImages) {
        std::fprintf(stderr, "design 1 did not open as made\n");
        return 1;
    }

    // "Remove" of the first image, undone and redone.
    Figures remove;
    for (int i = 0; i < kRuns; ++i) {
        Gadget_SetState(kGadgetDesignImages, -1);
        Gadget_SetItemState(kGadgetDesignImages, 0, 1);
        remove.command.push_back(ClickFrame(CentreX(kGadgetRemoveImage), CentreY(kGadgetRemoveImage), 2));
        remove.undo.push_back(CtrlKeyFrame(kKeyZ));
        remove.redo.push_back(CtrlKeyFrame(kKeyY));
        UndoEdit();
    }
    if (Gadget_CountItems(kGadgetDesignImages) != kImages) std::fprintf(stderr, "the image list was not restored\n");
    ReportFigures("remove_image_2000", remove);

    // Connection 3 of prototype 0 switched in the preview, undone and redone.
    Gadget_SetItemState(kGadgetPrototypeList, 0, 1);
    ChoosePrototype();
    RunFrame();
    Figures toggle;
    for (int i = 0; i < kRuns; ++i) {
        toggle.command.push_back(ClickFrame(202 + 66, 422, 3));
        toggle.undo.push_back(CtrlKeyFrame(kKeyZ));
        toggle.redo.push_back(CtrlKeyFrame(kKeyY));
        UndoEdit();
    }
    if (UndoSteps() != 0) std::fprintf(stderr, "the connection was not switched by the clicks\n");
    ReportFigures("switch_connection_24_prototypes", toggle);

    // The test view: a chain of 65,535 parts, a part attached at its free end.
    Gadget_SetToggleState(kGadgetMode, 1);
    SwitchTestView();
    design.ShipNodes.Clear();
    ImageNumber link;
    for (int p = 0; p < design.Parts.Count(); ++p)
        if (std::as_const(design.Parts).At(p)->Setup.PrototypeIndex == 0) link = std::as_const(design.Parts).At(p)->Image;
    for (int n = 0; n < kChainNodes; ++n) {
        ShipNode& node = design.ShipNodes.Append();
        node.Image = link;
        node.Child.fill(ChildInactive);
        node.Child[0] = n + 1 < kChainNodes ? n + 1 : ChildFree;
    }
    DrawShip(design.ViewX, design.ViewY, 0);
    RunFrame();
    Figures attach;
    for (int i = 0; i < kRuns; ++i) {
        design.SelectedNode = kChainNodes - 1;
        design.SelectedConnection = 0;
        design.HighlightedNode = -1;
        FreePartPalette();
        BuildPartPalette(0);
        RunFrame();
        attach.command.push_back(ClickFrame(kPaletteX + kPaletteButtonSize / 2, kPaletteY + kPaletteButtonSize / 2, 2));
        attach.undo.push_back(CtrlKeyFrame(kKeyZ));
        attach.redo.push_back(CtrlKeyFrame(kKeyY));
        UndoEdit();
    }
    if (design.ShipNodes.Count() != kChainNodes || UndoSteps() != 0) std::fprintf(stderr, "the attach was not measured\n");
    ReportFigures("attach_65536_nodes", attach);

    EndEditor();
    LeaveBenchWorkspace(work);
    return 0;
}
