// "Prototypes.pt" through the file services: the bytes are the format's.
#include <utility>

#include "prototypes.h"
#include "services.h"

namespace {

constexpr std::size_t kReadChunk = 65536;

}  // namespace

int WritePrototypeFile(const std::string& path, std::span<const Prototype> prototypes) {
    if (!File_Create(kDesignFile, path)) return 0;
    File_WriteData(kDesignFile, EncodePrototypeList(prototypes));
    return File_Close(kDesignFile);
}

int SavePrototypes(const std::string& path) { return WritePrototypeFile(path, PrototypeValues()); }

int ReadPrototypeList(const std::string& path, PrototypeFileReading* reading) {
    design.Prototypes.Clear();
    PrototypeFileReading found;
    found.size = File_Size(path);
    if (found.size < 0 || !File_OpenRead(kDesignFile, path)) {
        if (reading) *reading = found;
        return 0;
    }
    found.opened = 1;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[kReadChunk];
    for (int got = 1; got > 0 && static_cast<std::int64_t>(bytes.size()) < kMaxPrototypeListBytes;) {
        got = File_ReadData(kDesignFile, chunk);
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    const bool cut = !File_Eof(kDesignFile);
    File_Close(kDesignFile);
    PrototypeList list = DecodePrototypeList(bytes);
    for (Prototype& prototype : list.prototypes) design.Prototypes.Append() = std::move(prototype);
    found.storedCount = list.storedCount;
    found.shortFile = list.shortFile;
    found.trailingData = list.trailingData || cut;
    if (reading) *reading = found;
    return 1;
}

std::vector<Prototype> PrototypeValues() {
    std::vector<Prototype> values;
    const auto& prototypes = std::as_const(design.Prototypes);
    for (int p = 0; p < prototypes.Count(); ++p) values.push_back(*prototypes.At(p));
    return values;
}
