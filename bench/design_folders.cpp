// Opening a design folder of many part images against its floor, measured
// in the same run: a bare readdir + stat of every image and its setup file.
// Two sizes, so a cost growing faster than the folder shows as a rising ratio.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_util.h"
#include "design_folder_views.h"
#include "design_folders.h"
#include "editor_gadgets.h"
#include "design_model.h"
#include "gadget.h"
#include "services.h"
#include "testing.h"

namespace {

constexpr const char* kFloor = "FLOOR";
constexpr int kRuns = 9;

long ReaddirStatWithSetups(const std::string& dir) {
    long total = 0;
    DIR* d = opendir(dir.c_str());
    if (!d) return 0;
    struct stat st {};
    while (dirent* e = readdir(d)) {
        const std::string path = dir + e->d_name;
        if (stat(path.c_str(), &st) == 0) total += e->d_name[0];
        if (stat((path + ".spset").c_str(), &st) == 0) total += 1;
    }
    closedir(d);
    return total;
}

// Design folder <images> with that many pictures, each with a setup file (hard links, cheap to make).
bool MakeFolder(int images) {
    const std::string dir = DesignFolderPath(std::to_string(images));
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "p0.png") << "x";
    std::ofstream(dir + "p0.png.spset") << std::string(108, '\0');
    for (int i = 1; i < images; ++i) {
        const std::string name = dir + "p" + std::to_string(i) + ".png";
        if (link((dir + "p0.png").c_str(), name.c_str()) != 0) return false;
        if (link((dir + "p0.png.spset").c_str(), (name + ".spset").c_str()) != 0) return false;
    }
    return true;
}

}  // namespace

int main() {
    Testing_UseHeadlessDrivers();
    if (!Sprite_Init()) return 1;
    Gadget_Init();
    char pattern[] = "/tmp/keelwright-bench-folders-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    design.BaseDir = std::string(pattern) + "/";
    for (const GadgetLayout& layout : kEditorLayout) CreateLayoutGadget(layout, DesignsPath());

    volatile long sink = 0;
    for (int images : {2000, 8000}) {
        if (!MakeFolder(images)) return 1;
        const std::string dir = DesignFolderPath(std::to_string(images));
        const double floor = MedianMicros(kRuns, [&] { sink = sink + ReaddirStatWithSetups(dir); });
        Gadget_SetText(kGadgetFileList, DesignsPath());
        for (int r = 0; r < Gadget_CountItems(kGadgetFileList); ++r)
            Gadget_SetItemState(kGadgetFileList, r, Gadget_GetCellText(kGadgetFileList, r, 0) == std::to_string(images));
        const double open = MedianMicros(kRuns, [&] {
            Gadget_ClearItems(kGadgetDesignImages);
            OpenDesignFolder();
        });
        if (Gadget_CountItems(kGadgetDesignImages) != images)
            std::fprintf(stderr, "listed %d images\n", Gadget_CountItems(kGadgetDesignImages));
        const std::string floorName = "readdir_stat_" + std::to_string(images) + "_images";
        Report(floorName.c_str(), floor, floor, kFloor);
        Report(("open_design_folder_" + std::to_string(images) + "_images").c_str(), open, floor, kFloor);
    }

    Gadget_End();
    Services_End();
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return 0;
}
