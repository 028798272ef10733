// Export and import of a design of 24 prototypes and 2,000 set-up parts,
// against their floor measured in the same run: reading the same files
// (list, setups, pictures) and writing the same bytes with the safe save.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_util.h"
#include "design_exchange.h"
#include "design_model.h"
#include "editor_objects.h"
#include "part_setup.h"
#include "prototypes.h"
#include "services.h"
#include "testing.h"

namespace {

constexpr const char* kFloor = "FLOOR";
constexpr int kRuns = 5;
constexpr int kPrototypes = 24;
constexpr int kParts = 2000;

std::string PartName(int n) { return "part" + std::to_string(n) + ".png"; }

// Pictures of a few sizes, setups pointing at every prototype, full rules.
bool MakeDesign(const std::string& folder) {
    std::filesystem::create_directories(folder);
    for (int p = 0; p < kPrototypes; ++p) {
        Prototype& prototype = design.Prototypes.Append();
        prototype.Name = "Prototype " + std::to_string(p);
        prototype.Index = static_cast<std::int8_t>(p);
        for (int i = 0; i < kConnections; ++i)
            prototype.ConnectionMask[static_cast<std::size_t>(i)] = (i % 2 ? ConnectionActive : 0) | ((0x5A5A5Au << i) & kAllowedBits);
    }
    if (!SavePrototypes(folder + "Prototypes.pt")) return false;
    design.Prototypes.Clear();
    std::vector<std::string> pictures;
    for (int k = 0; k < 8; ++k) {
        const int image = Image_Create(kServiceAuto, 24 + 8 * k, 16 + 4 * k);
        pictures.push_back(folder + "picture" + std::to_string(k) + ".bin");
        if (!image || !Image_Save(image, pictures.back(), kPngEncoder)) return false;
        Image_Free(image);
    }
    for (int n = 0; n < kParts; ++n) {
        PartSetup setup;
        setup.PrototypeIndex = n % kPrototypes;
        setup.OffsetX = n % 30, setup.OffsetY = n % 20;
        for (int i = 0; i < kConnections; ++i) setup.ConnX[static_cast<std::size_t>(i)] = i * 3, setup.ConnY[static_cast<std::size_t>(i)] = n % 7;
        if (link(pictures[static_cast<std::size_t>(n % 8)].c_str(), (folder + PartName(n)).c_str()) != 0) return false;
        if (!WriteSetupFile(folder + PartName(n) + ".spset", setup)) return false;
    }
    for (const std::string& picture : pictures) std::filesystem::remove(picture);
    return true;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(File_Size(path), 0)));
    if (File_OpenRead(kDesignFile, path)) {
        File_ReadData(kDesignFile, bytes);
        File_Close(kDesignFile);
    }
    return bytes;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (!File_Create(kDesignFile, path)) return false;
    File_WriteData(kDesignFile, bytes);
    return File_Close(kDesignFile) != 0;
}

}  // namespace

int main() {
    Testing_UseHeadlessDrivers();
    if (!Sprite_Init()) return 1;
    char pattern[] = "/tmp/keelwright-bench-exchange-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const std::string base = std::string(pattern) + "/";
    const std::string from = base + "from/", into = base + "into/", floorInto = base + "floor/", json = base + "design.json";
    if (!MakeDesign(from)) return 1;
    std::filesystem::create_directories(into);
    std::filesystem::create_directories(floorInto);

    // The floor: the same files read, the same bytes written, each through the file service.
    std::vector<std::string> names{"Prototypes.pt"};
    for (int n = 0; n < kParts; ++n) names.push_back(PartName(n) + ".spset");
    bool sound = true;
    const double floorRead = MedianMicros(kRuns, [&] {
        for (const std::string& name : names) sound = !ReadBytes(from + name).empty() && sound;
        for (int n = 0; n < kParts; ++n) sound = !ReadBytes(from + PartName(n)).empty() && sound;
    });
    std::vector<std::vector<std::uint8_t>> contents;
    for (const std::string& name : names) contents.push_back(ReadBytes(from + name));
    const double floorWrite = MedianMicros(kRuns, [&] {
        for (std::size_t k = 0; k < names.size(); ++k) sound = WriteBytes(floorInto + names[k], contents[k]) && sound;
    });
    const double floor = floorRead + floorWrite;

    std::size_t jsonBytes = 0;
    const double exportTime = MedianMicros(kRuns, [&] {
        DesignDocument document;
        sound = ReadDesignDocument(from, document).exitCode == 0 && document.parts.size() == kParts && sound;
        const std::string text = DesignDocumentToJson(document);
        jsonBytes = text.size();
        sound = WriteBytes(json, {text.begin(), text.end()}) && sound;
    });
    const double importTime = MedianMicros(kRuns, [&] {
        const std::vector<std::uint8_t> bytes = ReadBytes(json);
        const DocumentReading reading = DesignDocumentFromJson({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        sound = reading.valid && WriteDesignDocument(reading.document, into).exitCode == 0 && sound;
    });
    for (const std::string& name : names)
        sound = ReadBytes(into + name) == ReadBytes(from + name) && sound;
    if (!sound) std::fprintf(stderr, "exchange bench: a step failed or the files differ\n");

    std::printf("design: %d prototypes, %d parts, %zu bytes of JSON\n", kPrototypes, kParts, jsonBytes);
    Report("floor_read", floorRead, floor, kFloor);
    Report("floor_write", floorWrite, floor, kFloor);
    Report("export", exportTime, floor, kFloor);
    Report("import", importTime, floor, kFloor);
    Report("export_plus_import", exportTime + importTime, floor, kFloor);
    Services_End();
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return sound ? 0 : 1;
}
