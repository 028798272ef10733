// List costs against their floors, measured in the same run:
//   refilling a FileList from 10,000 files sorted by name vs a bare readdir + stat pass;
//   adding 10,000 rows to a ColumnList vs push_back of 10,000 strings.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "gadget.h"
#include "bench_util.h"
#include "services.h"
#include "testing.h"

namespace {

constexpr const char* kFloor = "FLOOR";
constexpr int kEntries = 10000;
constexpr int kRuns = 15;



// What any listing must at least do: read every entry and stat it.
long ReaddirStat(const std::string& dir) {
    long total = 0;
    DIR* d = opendir(dir.c_str());
    if (!d) return 0;
    struct stat st {};
    while (dirent* e = readdir(d)) {
        const std::string path = dir + "/" + e->d_name;
        if (stat(path.c_str(), &st) == 0) total += static_cast<long>(st.st_size) + e->d_name[0];
    }
    closedir(d);
    return total;
}

}  // namespace

int main() {
    Testing_UseHeadlessDrivers();
    if (!Sprite_Init() || !Window_Open(0, 0, 0, 1024, 768, "bench", 0) ||
        !Screen_OpenInWindow(Window_Handle(0), 0, 0, 1024, 768, 0, 0, 0)) {
        std::fprintf(stderr, "no screen\n");
        return 1;
    }
    Gadget_Init();

    char pattern[] = "/tmp/keelwright-bench-lists-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const std::string dir = pattern;
    // A few real files, the rest hard links to them (cheap to make, listed alike).
    for (int i = 0; i < 8; ++i) std::ofstream(dir + "/file" + std::to_string(i) + ".dat") << std::string(i * 700, 'x');
    for (int i = 8; i < kEntries; ++i) {
        const std::string target = dir + "/file" + std::to_string(i % 8) + ".dat";
        if (link(target.c_str(), (dir + "/file" + std::to_string(i) + ".dat").c_str()) != 0) return 1;
    }

    volatile long sink = 0;
    const double floorScan = MedianMicros(kRuns, [&] { sink = sink + ReaddirStat(dir); });
    Gadget_CreateFileList(1, 0, 0, 400, 300, dir + "/", 64);
    const double refill = MedianMicros(kRuns, [&] { FileList_Refill(1, dir + "/"); });
    if (Gadget_CountItems(1) != kEntries + 1) {
        std::fprintf(stderr, "refill listed %d rows\n", Gadget_CountItems(1));
        return 1;
    }
    for (int row = 2; row < kEntries + 1; ++row)
        if (Gadget_GetItemText(1, row - 1) > Gadget_GetItemText(1, row)) {
            std::fprintf(stderr, "refill did not sort by name at row %d\n", row);
            return 1;
        }
    Report("readdir_stat_10000", floorScan, floorScan, kFloor);
    Report("filelist_refill_10000_by_name", refill, floorScan, kFloor);

    std::vector<std::string> texts;
    for (int i = 0; i < kEntries; ++i) texts.push_back("row " + std::to_string(i) + "\n" + std::to_string(i) + " kB\n");
    const double floorPush = MedianMicros(kRuns, [&] {
        std::vector<std::string> v;
        for (const auto& t : texts) v.push_back(t);
        sink = sink + static_cast<long>(v.size());
    });
    Gadget_CreateColumnList(2, 0, 0, 400, 300, "Name", 150, 0);
    const double add = MedianMicros(kRuns, [&] {
        Gadget_ClearItems(2);
        for (const auto& t : texts) Gadget_AddItem(2, -1, t);
    });
    Report("push_back_10000_strings", floorPush, floorPush, kFloor);
    Report("columnlist_add_10000_rows", add, floorPush, kFloor);

    Gadget_End();
    Services_End();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return 0;
}
