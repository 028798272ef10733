// keelwright render of the sample design at depth 6:
//  - 100 ships, the time per ship (growing, drawing, both PNG files and the
//    contact sheet cell, the design read once per run) against the work any
//    render of those ships asks for, measured in the same run: drawing the
//    ship, and encoding its two pictures with the same encoder settings and
//    writing them with the program's own safe save;
//  - growing and drawing alone, against one DrawShip of the same ships;
//  - 200 ships with --jobs 2 against the same with --jobs 1.
// Prints "NAME: MEDIAN us, RATIO x FLOOR". Headless (dummy driver).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench_util.h"
#include "design_folders.h"
#include "design_model.h"
#include "design_verbs.h"
#include "editor_tables.h"
#include "editor_objects.h"
#include "prototypes.h"
#include "services.h"
#include "ship_growth.h"
#include "ship_pictures.h"
#include "ship_assembly.h"
#include "testing.h"

namespace fs = std::filesystem;

namespace {

constexpr int kShips = 100;
constexpr int kManyShips = 200;
constexpr int kDepth = 6;
constexpr std::uint64_t kSeed = 1;
// Runs of each render measurement; the median is reported.
constexpr int kRuns = 7;

// The same 100 ships render makes, grown once.
std::vector<DesignList<ShipNode>> SampleShips(const std::string& sample) {
    const std::string folder = sample + "/";
    ReadPrototypeList(folder + "Prototypes.pt", nullptr);
    LoadPartsFrom(folder, ListSetupImages(folder, nullptr));
    Sprite_Create(kShipCanvasSprite, kShipCanvasWidth, kShipCanvasHeight);
    std::vector<DesignList<ShipNode>> ships;
    for (int i = 0; i < kShips; ++i) {
        ShipRandom random = ShipRandomFor(kSeed, static_cast<std::uint64_t>(i));
        GrowShip(random, kDepth, kMaxGrowthNodes);
        ships.push_back(design.ShipNodes);
    }
    return ships;
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Mean time per ship of `work` over the same ships, median of runs.
double PerShip(const std::vector<DesignList<ShipNode>>& ships, int runs, const std::function<void(int)>& work) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        double total = 0;
        for (int i = 0; i < kShips; ++i) {
            design.ShipNodes = ships[static_cast<std::size_t>(i)];
            const auto t0 = std::chrono::steady_clock::now();
            work(i);
            total += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
        }
        times.push_back(total / kShips);
    }
    return Median(times);
}

// The first floor: one DrawShip per ship.
double DrawFloor(const std::string& sample) {
    StartHeadlessServices();
    const std::vector<DesignList<ShipNode>> ships = SampleShips(sample);
    const double draw = PerShip(ships, 7, [](int) { DrawShip(kStartViewX, kStartViewY, 1); });
    EndHeadlessServices();
    return draw;
}

// The second, one run of it: the drawing plus both pictures encoded as render
// encodes them and written with the program's safe save.
double WriteFloor(const std::string& sample, const fs::path& out) {
    StartHeadlessServices();
    const std::vector<DesignList<ShipNode>> ships = SampleShips(sample);
    fs::create_directories(out);
    const int width = ExportWidths[2];
    const double drawAndWrite = PerShip(ships, 1, [&](int i) {
        DrawShip(kStartViewX, kStartViewY, 1);
        const std::string name = (out / ("ship" + std::to_string(i))).string();
        Sprite_Save(kShipCanvasSprite, name + ".png", kPngEncoder);
        const int small = Image_CreateFromSprite(kServiceAuto, kShipCanvasSprite, width, ShipPictureHeight(width));
        Image_Save(small, name + "-medium.png", kPngEncoder);
        Image_Free(small);
    });
    EndHeadlessServices();
    return drawAndWrite;
}

// Mean time per ship of growing it and drawing it, the work of render before
// any file is written; median of runs.
double GrowAndDraw(const std::string& sample) {
    StartHeadlessServices();
    const std::string folder = sample + "/";
    ReadPrototypeList(folder + "Prototypes.pt", nullptr);
    LoadPartsFrom(folder, ListSetupImages(folder, nullptr));
    Sprite_Create(kShipCanvasSprite, kShipCanvasWidth, kShipCanvasHeight);
    const double perRun = MedianMicros(7, [] {
        for (int i = 0; i < kShips; ++i) {
            ShipRandom random = ShipRandomFor(kSeed, static_cast<std::uint64_t>(i));
            GrowShip(random, kDepth, kMaxGrowthNodes);
            DrawShip(kStartViewX, kStartViewY, 1);
        }
    });
    EndHeadlessServices();
    return perRun / kShips;
}

// Wall time of one render run, in microseconds; counts a failed run.
double RenderRun(const std::string& sample, int ships, int jobs, const fs::path& out, int& failures) {
    const auto t0 = std::chrono::steady_clock::now();
    const CommandLineOutcome outcome =
        RunRenderVerb({sample, "--count", std::to_string(ships), "--seed", std::to_string(kSeed), "--depth",
                       std::to_string(kDepth), "--jobs", std::to_string(jobs), "--out", out.string()});
    failures += outcome.exitCode != 0;
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main() {
    Testing_UseHeadlessDrivers();
    const std::string sample = (fs::path(KEELWRIGHT_BENCH_BINARY_DIR) / "Sample").string();
    if (!fs::exists(sample + "/Prototypes.pt")) {
        std::fprintf(stderr, "bench_render: no sample design in %s\n", sample.c_str());
        return 1;
    }
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path out = base / ("keelwright-bench-render-" + std::to_string(::getpid()));
    int failures = 0;
    // Each measurement and its floor alternated, so both see the same machine.
    RenderRun(sample, kShips, 1, out, failures);
    std::vector<double> render, writeFloor;
    for (int run = 0; run < kRuns; ++run) {
        render.push_back(RenderRun(sample, kShips, 1, out, failures) / kShips);
        writeFloor.push_back(WriteFloor(sample, out / "floor"));
    }
    const double drawFloor = DrawFloor(sample);
    const double growAndDraw = GrowAndDraw(sample);
    // Many ships, one worker against two.
    std::vector<double> one, two;
    for (int run = 0; run < kRuns; ++run) {
        one.push_back(RenderRun(sample, kManyShips, 1, out / "one", failures));
        two.push_back(RenderRun(sample, kManyShips, 2, out / "two", failures));
    }
    std::error_code ignored;
    fs::remove_all(out, ignored);
    if (failures) std::fprintf(stderr, "bench_render: render failed\n");
    Report("render per ship (100 ships, depth 6)", Median(render), Median(writeFloor), "drawing and writing the same ship");
    Report("draw and write per ship (100 ships, depth 6)", Median(writeFloor), drawFloor, "DrawShip of the same ship");
    // What growing adds to drawing.
    Report("grow and draw per ship (100 ships, depth 6)", growAndDraw, drawFloor, "DrawShip of the same ship");
    Report("render 200 ships --jobs 2", Median(two), Median(one), "render 200 ships --jobs 1");
    return failures ? 1 : 0;
}
