// keelwright render: random ships of a design as PNG files, full size and in
// a size class, and one contact sheet of them all. Every file goes into the
// --out folder; nothing else is written.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "design_folders.h"
#include "design_model.h"
#include "design_verbs.h"
#include "editor_objects.h"
#include "editor_tables.h"
#include "paths.h"
#include "prototypes.h"
#include "render_pictures.h"
#include "services.h"
#include "ship_growth.h"
#include "ship_pictures.h"
#include "ship_assembly.h"
#include "utf8_path.h"
#include "verb_options.h"

namespace fs = std::filesystem;

namespace {

// The size classes in ExportWidths order.
constexpr const char* kSizeNames[] = {"tiny", "small", "medium", "large", "huge"};
constexpr int kDefaultSizeClass = 2;
// Contact sheet: cells at half the canvas up to this many ships, a quarter beyond.
constexpr int kSheetHalfCellsUpTo = 100;
constexpr int kSheetGap = 2;
constexpr int kSheetBackground = 0x303030;

struct RenderRequest {
    std::string folder;        // the design folder as given
    long long count = -1;      // ships to make
    std::uint64_t seed = 0;    // generator seed
    bool haveSeed = false;
    int sizeClass = kDefaultSizeClass;
    long long depth = kDefaultRenderDepth;
    std::string out;           // where every file goes
    int jobs = 1;              // worker processes drawing and writing the ships
};

CommandLineOutcome Usage(const std::string& why) {
    return {kVerbUnreadable, "", "keelwright render: " + why + "\nTry 'keelwright --help'.\n"};
}
CommandLineOutcome Failed(int code, const std::string& why) { return {code, "", "keelwright render: " + why + "\n"}; }

// A whole decimal number of at most 20 digits, no sign.
bool ParseCount(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text.size() > 20) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (~std::uint64_t{0} - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

// Parses the arguments; an empty `err` on success.
std::string ParseRender(const std::vector<std::string>& arguments, RenderRequest& request) {
    CLI::App parser("", "render");
    PrepareParser(parser);
    std::vector<std::string> folders;
    std::string count, seed, size, depth, jobs;
    parser.add_option("DESIGN_FOLDER", folders);
    parser.add_option("--count", count);
    parser.add_option("--seed", seed);
    parser.add_option("--size", size);
    parser.add_option("--depth", depth);
    parser.add_option("--out", request.out);
    parser.add_option("--jobs", jobs);
    if (const std::string why = ParseArguments(parser, arguments); !why.empty()) return why;
    if (folders.size() > 1) return "one design folder only";

    // The numbers are read here, in the words scripts know.
    std::uint64_t number = 0;
    const auto whole = [&](const char* option, const std::string& value) {
        return ParseCount(value, number) ? std::string()
                                         : std::string(option) + " takes a whole number of 0 or more, not '" + value + "'";
    };
    if (Given(parser, "--count")) {
        if (std::string why = whole("--count", count); !why.empty()) return why;
        if (number < 1 || number > kMaxRenderCount) return "--count is 1 to " + std::to_string(kMaxRenderCount) + ", not " + count;
        request.count = static_cast<long long>(number);
    }
    if (Given(parser, "--seed")) {
        if (std::string why = whole("--seed", seed); !why.empty()) return why;
        request.seed = number, request.haveSeed = true;
    }
    if (Given(parser, "--size")) {
        const auto* found = std::find(std::begin(kSizeNames), std::end(kSizeNames), size);
        if (found == std::end(kSizeNames)) return "--size is one of tiny, small, medium, large, huge, not '" + size + "'";
        request.sizeClass = static_cast<int>(found - std::begin(kSizeNames));
    }
    if (Given(parser, "--depth")) {
        if (std::string why = whole("--depth", depth); !why.empty()) return why;
        if (number < 1 || number > kMaxGrowthDepth) return "--depth is 1 to " + std::to_string(kMaxGrowthDepth) + ", not " + depth;
        request.depth = static_cast<long long>(number);
    }
    request.jobs = std::min(Workers_Available(), kMaxRenderJobs);
    if (Given(parser, "--jobs")) {
        if (std::string why = whole("--jobs", jobs); !why.empty()) return why;
        if (number < 1 || number > kMaxRenderJobs) return "--jobs is 1 to " + std::to_string(kMaxRenderJobs) + ", not " + jobs;
        request.jobs = static_cast<int>(number);
    }
    if (Given(parser, "--out") && request.out.empty()) return "--out needs a folder";
    if (folders.empty()) return "which design folder?";
    request.folder = folders.front();
    if (request.count < 0) return "how many ships? (--count)";
    if (!request.haveSeed) return "which seed? (--seed)";
    if (!Given(parser, "--out")) return "where to? (--out)";
    return "";
}

// The design's name for file names: the folder's own name, kept to letters,
// digits, '-', '_' and '.'.
std::string DesignName(const std::string& folder) {
    std::error_code error;
    fs::path path = fs::absolute(PathFromUtf8(folder), error).lexically_normal();
    if (!path.has_filename()) path = path.parent_path();
    std::string name = Utf8FromPath(path.filename());
    for (char& c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.'))
            c = '_';
    if (name.empty() || name == "." || name == "..") name = "design";
    return name;
}

std::string Padded(long long index) {
    std::string text = std::to_string(index);
    return std::string(text.size() < 4 ? 4 - text.size() : 0, '0') + text;
}

// The --out folder, made when missing (only the last level); "" when usable.
std::string PrepareOut(const std::string& out) {
    std::error_code error;
    const fs::file_status status = fs::status(PathFromUtf8(out), error);
    if (fs::exists(status)) return fs::is_directory(status) ? "" : "'" + out + "' is not a folder";
    if (!fs::create_directory(PathFromUtf8(out), error) || error)
        return "cannot make '" + out + "': " + (error ? error.message() : std::string("failed"));
    return "";
}

// Reads the design's parts and prototypes as the editor's test view has them;
// the part pictures wait until a ship shows them.
std::string LoadDesign(const std::string& folderArgument, PartPictures& pictures) {
    if (folderArgument.empty()) return "which design folder?";
    std::string folder = folderArgument;
    if (!IsPathSeparator(folder.back())) folder += OwnPath("\\");
    if (File_Size(folderArgument) != -2) return "'" + folderArgument + "' is not a folder";
    int scanned = 0;
    const std::vector<std::string> names = ListSetupImages(folder, &scanned);
    if (!scanned) return "cannot read '" + folderArgument + "'";
    const int hasList = ReadPrototypeList(folder + kPrototypeFileName, nullptr);
    if (!hasList && names.empty()) return "'" + folderArgument + "' is not a design folder: no Prototypes.pt and no part image with a setup";
    pictures.Prepare(folder, names);
    return "";
}

// A contact sheet cell as it travels back from a worker: one colour a pixel.
constexpr std::size_t kCellBytesPerPixel = sizeof(int);

// The open drawing target's pixels into bytes.
void CellToBytes(int width, int height, std::uint8_t* bytes) {
    std::vector<int> colours(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    Draw_ReadBlock(0, 0, width, height, colours.data());
    std::memcpy(bytes, colours.data(), colours.size() * kCellBytesPerPixel);
}

// Bytes of a cell onto the open drawing target at (left, top).
void CellFromBytes(const std::uint8_t* bytes, int width, int height, int left, int top) {
    std::vector<int> colours(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::memcpy(colours.data(), bytes, colours.size() * kCellBytesPerPixel);
    Draw_PlotBlock(left, top, width, height, colours.data());
}

// The contact sheet: near square, cells at half the canvas up to
// kSheetHalfCellsUpTo ships, a quarter beyond. It is opaque, so it is a
// sprite: its file has no alpha channel to encode. It is made when the first
// cell comes back: made before, its pages would be the workers' too, and
// every cell laid on it would first copy them.
struct ContactSheet {
    int cellW = 0, cellH = 0;  // a ship's cell
    int columns = 1;           // cells a row
    int rows = 1;              // rows of cells
    int sprite = 0;            // the sheet's sprite number, 0 until made
    std::string path;          // where it is written

    // Lays the sheet out for `count` ships.
    ContactSheet(int count, const std::string& file) : path(file) {
        const bool half = count <= kSheetHalfCellsUpTo;
        cellW = kShipCanvasWidth / (half ? 2 : 4), cellH = kShipCanvasHeight / (half ? 2 : 4);
        // The smallest column count whose square holds every ship.
        while (columns * columns < count) ++columns;
        columns = std::min(columns, half ? 10 : 25);
        rows = (count + columns - 1) / columns;
    }
    // Makes the sheet and starts its file once; false when it cannot be made.
    bool Make() {
        if (sprite) return true;
        const int width = kSheetGap + columns * (cellW + kSheetGap), height = kSheetGap + rows * (cellH + kSheetGap);
        sprite = Sprite_Create(kServiceAuto, width, height);
        if (!sprite) return false;
        if (Draw_Begin(Draw_SpriteOutput(sprite))) {
            Draw_Box(0, 0, width, height, kSheetBackground);
            Draw_End();
        }
        // Encoded a row of cells at a time as the cells come in, so little
        // is left to do once the last ship is drawn.
        Sprite_SaveBegin(sprite, path);
        return true;
    }
    int Left(int index) const { return kSheetGap + (index % columns) * (cellW + kSheetGap); }
    int Top(int index) const { return kSheetGap + (index / columns) * (cellH + kSheetGap); }
};

// Grows a ship whose every picture decodes: a part found not to decode is left
// out and the ship grown again from the same numbers.
int GrowDrawableShip(PartPictures& pictures, const ShipRandom& random, int depth, int maxNodes) {
    for (;;) {
        ShipRandom attempt = random;
        const int nodes = GrowShip(attempt, depth, maxNodes);
        if (nodes == 0 || pictures.Provide()) return nodes;
    }
}

// Every ship of the request, grown here one after the other: a part found
// not to decode is left out of every later ship, so no ship depends on which
// worker draws it.
std::vector<DesignList<ShipNode>> GrowShips(PartPictures& pictures, const RenderRequest& request) {
    std::vector<DesignList<ShipNode>> ships;
    ships.reserve(static_cast<std::size_t>(request.count));
    for (long long index = 0; index < request.count; ++index) {
        GrowDrawableShip(pictures, ShipRandomFor(request.seed, static_cast<std::uint64_t>(index)),
                         static_cast<int>(request.depth), kMaxGrowthNodes);
        ships.push_back(design.ShipNodes);
    }
    return ships;
}

// What the run says: the files written, then what went wrong.
CommandLineOutcome RenderOutcome(const RenderRequest& request, int written, const std::string& failures,
                                 const std::string& sheetName, bool sheetSaved, const PartPictures& pictures) {
    const int count = static_cast<int>(request.count);
    CommandLineOutcome outcome;
    outcome.exitCode = written == count && sheetSaved ? 0 : kVerbFindings;
    outcome.out = "wrote " + std::to_string(written) + " of " + std::to_string(count) + " ships (" +
                  kSizeNames[request.sizeClass] + ") to " + request.out + (sheetSaved ? ", sheet " + sheetName : "") + "\n";
    if (!failures.empty()) outcome.err = "keelwright render: " + failures + "\n";
    if (!sheetSaved) outcome.err += "keelwright render: cannot write " + sheetName + "\n";
    for (const std::string& path : pictures.OverBudget())
        outcome.err += "keelwright render: " + path + ": too big for the budget of decoded pictures, left out\n";
    if (!pictures.OverBudget().empty()) outcome.exitCode = kVerbFindings;
    return outcome;
}

}  // namespace

CommandLineOutcome RunRenderVerb(const std::vector<std::string>& arguments) {
    RenderRequest request;
    if (const std::string why = ParseRender(arguments, request); !why.empty()) return Usage(why);
    if (!StartHeadlessServices()) return Failed(kVerbUnreadable, "the image service cannot start");
    // A link planted where a picture goes is replaced by the picture, never written through.
    File_SetSaveLinks(kSaveReplaceLinks);

    PartPictures pictures(RenderPictureBudget());
    if (const std::string why = LoadDesign(request.folder, pictures); !why.empty()) {
        EndHeadlessServices();
        return Failed(kVerbUnreadable, why);
    }
    // A design without a drawable root makes no folder and no file.
    if (GrowDrawableShip(pictures, ShipRandom(request.seed), 1, 1) == 0) {
        EndHeadlessServices();
        return Failed(kVerbFindings, "nothing to draw: prototype 0 of '" + request.folder +
                                         "' has no part image that loads (see keelwright check)");
    }
    if (const std::string why = PrepareOut(request.out); !why.empty()) {
        EndHeadlessServices();
        return Failed(kVerbUnreadable, why);
    }
    std::string out = request.out;
    if (!IsPathSeparator(out.back())) out += OwnPath("\\");

    const int count = static_cast<int>(request.count);
    if (!Sprite_Create(kShipCanvasSprite, kShipCanvasWidth, kShipCanvasHeight)) {
        EndHeadlessServices();
        return Failed(kVerbFindings, "cannot make the pictures in memory");
    }
    const std::vector<DesignList<ShipNode>> ships = GrowShips(pictures, request);
    const std::string base = out + DesignName(request.folder) + "-seed" + std::to_string(request.seed) + "-";
    ContactSheet sheet(count, base + "sheet.png");

    // Each ship drawn and written by a worker; back come whether both files
    // were written and the ship's contact sheet cell.
    const int width = ExportWidths[static_cast<std::size_t>(request.sizeClass)];
    const int cellW = sheet.cellW, cellH = sheet.cellH;
    const std::size_t cellBytes = 1 + static_cast<std::size_t>(cellW) * static_cast<std::size_t>(cellH) * kCellBytesPerPixel;
    const auto drawAndWrite = [&](int index) {
        std::vector<std::uint8_t> result(cellBytes);
        design.ShipNodes = ships[static_cast<std::size_t>(index)];
        if (!pictures.Provide()) return result;
        DrawShip(kStartViewX, kStartViewY, 1);
        const std::string name = base + Padded(index);
        result[0] = SavePictureWithSmallCopy(kShipCanvasSprite, name + ".png", width, ShipPictureHeight(width),
                                             name + "-" + kSizeNames[request.sizeClass] + ".png") != 0;
        const int cell = Image_CreateFromSprite(kServiceAuto, kShipCanvasSprite, cellW, cellH);
        if (cell && Draw_Begin(Draw_ImageOutput(cell))) {
            CellToBytes(cellW, cellH, result.data() + 1);
            Draw_End();
        }
        if (cell) Image_Free(cell);
        return result;
    };
    int written = 0;
    std::string failures;
    const auto takeResult = [&](int index, const std::vector<std::uint8_t>& result) {
        if (result.size() != cellBytes) return;
        if (result[0]) ++written;
        else if (failures.empty())
            failures = "cannot write " + base + Padded(index) + ".png";
        if (sheet.Make() && Draw_Begin(Draw_SpriteOutput(sheet.sprite))) {
            CellFromBytes(result.data() + 1, cellW, cellH, sheet.Left(index), sheet.Top(index));
            Draw_End();
        }
        // The cells come in order: a row's last one ends the rows above its bottom.
        if (sheet.sprite && (index + 1) % sheet.columns == 0) Sprite_SaveRows(sheet.sprite, sheet.Top(index) + cellH);
    };
    if (!Workers_Run(request.jobs, count, drawAndWrite, takeResult) && failures.empty())
        failures = "a worker drawing the ships stopped early";
    const bool sheetSaved = sheet.Make() && Sprite_SaveEnd(sheet.sprite) != 0;
    EndHeadlessServices();

    return RenderOutcome(request, written, failures, sheet.path, sheetSaved, pictures);
}
