// Directory scans with Windows-style, case-insensitive patterns. What the
// system says of a folder and its entries comes from its own side
// (dir_posix.cpp, dir_windows.cpp).
#include <algorithm>

#include "numbered_table.h"
#include "paths.h"

namespace svc {
namespace {

struct DirScan {
    std::string directory;           // OS path ending in a separator
    std::vector<std::string> names;  // matching entries, in order
    std::size_t next = 0;            // index of the next entry
    bool hasEntry = false;           // an entry is current
    std::string name;                // current entry
    bool factsOk = false;            // facts of the current entry are valid
    EntryFacts facts;                // its facts
};

NumberedTable<DirScan> scans(Kind::None, nullptr);

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// '*' any run, '?' any one character; "*.*" matches every name, dotted or not.
bool Matches(const char* pattern, const char* name) {
    const char* starP = nullptr;
    const char* starN = nullptr;
    while (*name) {
        if (*pattern == '*') {
            starP = pattern++;
            starN = name;
        } else if (*pattern == '?' || Lower(*pattern) == Lower(*name)) {
            ++pattern;
            ++name;
        } else if (starP) {
            pattern = starP + 1;
            name = ++starN;
        } else {
            return false;
        }
    }
    // What is left of the pattern may only be stars, or a ".*" after a star.
    while (*pattern == '*' || (*pattern == '.' && pattern[1] == '*')) pattern += *pattern == '*' ? 1 : 2;
    return *pattern == '\0';
}

bool CaseInsensitiveLess(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = Lower(a[i]), y = Lower(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    if (a.size() != b.size()) return a.size() < b.size();
    // Names differing only in case: byte order, so the scan does not follow the file system's.
    return a < b;
}

DirScan* FindScan(int number) { return scans.Find(number); }

// The current entry's facts, or null when there is none.
const EntryFacts* EntryInfo(int number) {
    DirScan* d = FindScan(number);
    return d && d->hasEntry && d->factsOk ? &d->facts : nullptr;
}

}  // namespace

void EndDirs() { scans.Clear(); }

}  // namespace svc

using namespace svc;

int Dir_Create(const std::string& path) {
    std::string p = path;
    while (!p.empty() && (p.back() == ' ' || IsPathSeparator(p.back()))) p.pop_back();
    if (p.empty()) return 0;
    return MakeFolder(p) ? 1 : 0;
}

int Dir_Examine(int number, const std::string& directory, const std::string& pattern) {
    const int key = scans.Claim(number);
    if (key < 0) return 0;
    std::string dir = directory;
    if (dir.empty() || !IsPathSeparator(dir.back())) dir += '/';
    const std::string pat = pattern.empty() ? "*.*" : pattern;
    std::vector<std::string> all;
    if (!ListFolder(dir, all)) return 0;
    DirScan scan;
    scan.directory = dir;
    for (std::string& name : all)
        if (Matches(pat.c_str(), name.c_str())) scan.names.push_back(std::move(name));
    // Sorted without regard to case, so "." and ".." come first; byte order breaks ties.
    std::sort(scan.names.begin(), scan.names.end(), CaseInsensitiveLess);
    return scans.Store(number, key, std::move(scan));
}

int Dir_Next(int number) {
    DirScan* d = FindScan(number);
    if (!d) return 0;
    if (d->next >= d->names.size()) {
        d->hasEntry = false;
        return 0;
    }
    d->name = d->names[d->next++];
    d->hasEntry = true;
    d->facts = EntryFacts{};
    d->factsOk = ExamineEntry(d->directory + d->name, d->facts);
    return 1;
}

std::string Dir_EntryName(int number) {
    DirScan* d = FindScan(number);
    return d && d->hasEntry ? d->name : "";
}

int Dir_EntryType(int number) {
    DirScan* d = FindScan(number);
    if (!d || !d->hasEntry) return 0;
    return d->factsOk && d->facts.directory ? kEntryDirectory : kEntryFile;
}

std::int64_t Dir_EntrySize(int number) {
    const EntryFacts* facts = EntryInfo(number);
    return facts && !facts->directory ? facts->size : 0;
}

int Dir_EntryAttributes(int number) {
    DirScan* d = FindScan(number);
    if (!d || !d->hasEntry) return 0;
    int bits = d->factsOk ? d->facts.attributes : 0;
    if (d->factsOk && d->facts.directory) bits |= kAttrDirectory;
    if (EntryReadOnly(d->directory + d->name, d->facts)) bits |= kAttrReadOnly;
    if (!d->name.empty() && d->name[0] == '.' && d->name != "." && d->name != "..") bits |= kAttrHidden;
    if (bits == 0) bits = kAttrNormal;
    return bits;
}

std::int64_t Dir_EntryDate(int number, int which) {
    const EntryFacts* facts = EntryInfo(number);
    if (!facts) return 0;
    return LocalSeconds(which == 1 ? facts->accessed : which == 2 ? facts->modified : facts->created);
}

void Dir_Finish(int number) { scans.Free(number); }
