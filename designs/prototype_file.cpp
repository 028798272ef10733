// "Prototypes.pt": a signed 32-bit count, then per prototype its 101-byte
// record and its name as a CR LF line.
#include <cstddef>
#include <span>
#include <utility>

#include "gadget.h"
#include "prototypes.h"
#include "services.h"

namespace {

// The record layout, in one place.
constexpr std::size_t kNameSlotOffset = 0;   // 4 bytes: meaningless on disk, written as zero
constexpr std::size_t kIndexOffset = 4;      // signed 8-bit
constexpr std::size_t kMaskOffset = 5;       // 8 x unsigned 32-bit, unaligned
constexpr std::size_t kReservedOffset = 37;  // 64 bytes, kept as read
static_assert(kReservedOffset + std::tuple_size_v<decltype(Prototype::reserved)> == kPrototypeRecordSize);
static_assert(kMaskOffset + 4 * kConnections == kReservedOffset);

// Little-endian reads from a byte span. Past the end every read gives zero,
// and stays there.
struct RecordReader {
    std::span<const std::uint8_t> bytes;  // what there is to read
    std::size_t position = 0;             // next byte
    bool ended = false;                   // sticky: a read went past the end

    std::uint8_t Byte() {
        if (ended || position >= bytes.size()) {
            ended = true;
            return 0;
        }
        return bytes[position++];
    }
    std::uint32_t U32() {
        std::uint32_t value = 0;
        for (int b = 0; b < 4; ++b) value |= std::uint32_t{Byte()} << (8 * b);
        return value;
    }
};

void PutU32(PrototypeRecord& record, std::size_t offset, std::uint32_t value) {
    for (std::size_t b = 0; b < 4; ++b) record[offset + b] = static_cast<std::uint8_t>(value >> (8 * b));
}

}  // namespace

PrototypeRecord EncodePrototypeRecord(const Prototype& prototype) {
    PrototypeRecord record{};
    PutU32(record, kNameSlotOffset, 0);
    record[kIndexOffset] = static_cast<std::uint8_t>(prototype.Index);
    for (int i = 0; i < kConnections; ++i) PutU32(record, kMaskOffset + 4 * i, prototype.ConnectionMask[i]);
    for (std::size_t b = 0; b < prototype.reserved.size(); ++b) record[kReservedOffset + b] = prototype.reserved[b];
    return record;
}

void DecodePrototypeRecord(std::span<const std::uint8_t> record, Prototype& prototype) {
    RecordReader reader{record};
    reader.U32();  // the name slot means nothing on disk
    prototype.Index = static_cast<std::int8_t>(reader.Byte());
    for (auto& mask : prototype.ConnectionMask) mask = reader.U32();
    for (auto& byte : prototype.reserved) byte = reader.Byte();
}

std::string CleanPrototypeName(const std::string& name) {
    std::string clean;
    clean.reserve(name.size());
    for (char c : name)
        if (c != '\r' && c != '\n' && c != '\0') clean += c;
    return clean;
}

int SavePrototypes(const std::string& path) {
    if (!File_Create(kDesignFile, path)) return 0;
    File_WriteLong(kDesignFile, design.Prototypes.Count());
    for (int p = 0; p < design.Prototypes.Count(); ++p) {
        const Prototype& prototype = *design.Prototypes.At(p);
        const PrototypeRecord record = EncodePrototypeRecord(prototype);
        File_WriteData(kDesignFile, record);
        // A line break inside a name would shift every later entry on reading.
        File_WriteLine(kDesignFile, CleanPrototypeName(prototype.Name));
    }
    return File_Close(kDesignFile);
}

int ReadPrototypeList(const std::string& path, PrototypeFileReading* reading) {
    design.Prototypes.Clear();
    PrototypeFileReading found;
    found.size = File_Size(path);
    if (found.size < 0 || !File_OpenRead(kDesignFile, path)) {
        if (reading) *reading = found;
        return 0;
    }
    found.opened = 1;
    // A damaged count must not run away: no real list comes near the bound.
    // Past the end of the file the reads give zeros and empty lines, so a
    // short file yields empty prototypes for its missing entries.
    const std::int32_t count = File_ReadLong(kDesignFile);
    found.storedCount = count;
    const int entries = count < 0 ? 0 : (count > kMaxPrototypeEntries ? kMaxPrototypeEntries : count);
    for (int k = 0; k < entries; ++k) {
        if (File_Eof(kDesignFile)) found.shortFile = 1;
        Prototype& prototype = design.Prototypes.Append();
        PrototypeRecord record{};
        if (File_ReadData(kDesignFile, record) < kPrototypeRecordSize) found.shortFile = 1;
        DecodePrototypeRecord(record, prototype);
        prototype.Name = CleanPrototypeName(File_ReadLine(kDesignFile));
    }
    if (found.size < 4) found.shortFile = 1;
    found.trailingData = !File_Eof(kDesignFile);
    File_Close(kDesignFile);
    if (reading) *reading = found;
    return 1;
}

int LoadPrototypes(const std::string& path) {
    const int read = ReadPrototypeList(path, nullptr);
    for (int k = 0; k < design.Prototypes.Count(); ++k)
        Gadget_AddItem(kGadgetPrototypeList, -1, std::as_const(design.Prototypes).At(k)->Name);
    return read;
}
