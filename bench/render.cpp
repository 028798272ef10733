// keelwright render of 100 ships of the sample design at depth 6: the time
// per ship (growing, drawing, both PNG files and the contact sheet cell, the
// design read once per run), and the growing and drawing alone, each against
// one DrawShip of the same ships (the floor: the drawing any picture of the
// ship needs).
// Prints "NAME: MEDIAN us, RATIO x FLOOR". Headless (dummy driver).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_util.h"
#include "design_folders.h"
#include "design_model.h"
#include "design_verbs.h"
#include "editor_objects.h"
#include "prototypes.h"
#include "services.h"
#include "ship_growth.h"
#include "ship_assembly.h"
#include "testing.h"

namespace fs = std::filesystem;

namespace {

constexpr int kShips = 100;
constexpr int kDepth = 6;
constexpr std::uint64_t kSeed = 1;

// Mean DrawShip time per ship over the same 100 ships render makes, median of runs.
double DrawShipFloor(const std::string& sample) {
    StartHeadlessServices();
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
    std::vector<double> runs;
    for (int run = 0; run < 7; ++run) {
        double total = 0;
        for (const auto& ship : ships) {
            design.ShipNodes = ship;
            const auto t0 = std::chrono::steady_clock::now();
            DrawShip(kStartViewX, kStartViewY, 1);
            total += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
        }
        runs.push_back(total / kShips);
    }
    EndHeadlessServices();
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
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
    const double render = MedianMicros(3, [&] {
        const CommandLineOutcome outcome =
            RunRenderVerb({sample, "--count", std::to_string(kShips), "--seed", std::to_string(kSeed), "--depth",
                           std::to_string(kDepth), "--out", out.string()});
        failures += outcome.exitCode != 0;
    }) / kShips;
    const double floor = DrawShipFloor(sample);
    const double growAndDraw = GrowAndDraw(sample);
    std::error_code ignored;
    fs::remove_all(out, ignored);
    if (failures) std::fprintf(stderr, "bench_render: render failed\n");
    Report("render per ship (100 ships, depth 6)", render, floor, "DrawShip of the same ship");
    // The same without the two PNG files and the sheet cell: what growing adds to drawing.
    Report("grow and draw per ship (100 ships, depth 6)", growAndDraw, floor, "DrawShip of the same ship");
    return failures ? 1 : 0;
}
