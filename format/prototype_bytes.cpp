// The record layout of "Prototypes.pt", in one place.
#include "prototype_bytes.h"

#include <cstddef>
#include <tuple>

#include "byte_reader.h"

namespace {

constexpr std::size_t kNameSlotOffset = 0;   // 4 bytes: meaningless on disk, written as zero
constexpr std::size_t kIndexOffset = 4;      // signed 8-bit
constexpr std::size_t kMaskOffset = 5;       // 8 x unsigned 32-bit, unaligned
constexpr std::size_t kReservedOffset = 37;  // 64 bytes, kept as read
static_assert(kReservedOffset + std::tuple_size_v<decltype(Prototype::reserved)> == kPrototypeRecordSize);
static_assert(kMaskOffset + 4 * kConnections == kReservedOffset);

void PutU32(std::uint8_t* out, std::uint32_t value) {
    for (std::size_t b = 0; b < 4; ++b) out[b] = static_cast<std::uint8_t>(value >> (8 * b));
}

}  // namespace

PrototypeRecord EncodePrototypeRecord(const Prototype& prototype) {
    PrototypeRecord record{};
    PutU32(&record[kNameSlotOffset], 0);
    record[kIndexOffset] = static_cast<std::uint8_t>(prototype.Index);
    for (int i = 0; i < kConnections; ++i) PutU32(&record[kMaskOffset + 4 * i], prototype.ConnectionMask[i]);
    for (std::size_t b = 0; b < prototype.reserved.size(); ++b) record[kReservedOffset + b] = prototype.reserved[b];
    return record;
}

void DecodePrototypeRecord(std::span<const std::uint8_t> record, Prototype& prototype) {
    ByteReader reader{record};
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

std::vector<std::uint8_t> EncodePrototypeList(std::span<const Prototype> prototypes) {
    std::vector<std::uint8_t> bytes(4);
    PutU32(bytes.data(), static_cast<std::uint32_t>(prototypes.size()));
    for (const Prototype& prototype : prototypes) {
        const PrototypeRecord record = EncodePrototypeRecord(prototype);
        bytes.insert(bytes.end(), record.begin(), record.end());
        // A line break inside a name would shift every later entry on reading.
        const std::string name = CleanPrototypeName(prototype.Name);
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

PrototypeList DecodePrototypeList(std::span<const std::uint8_t> bytes) {
    PrototypeList list;
    ByteReader reader{bytes};
    list.storedCount = static_cast<std::int32_t>(reader.U32());
    if (bytes.size() < 4) list.shortFile = true;
    // A damaged count must not run away: no real list comes near the bound.
    // Past the end the reads give zeros and empty lines, so a short file
    // yields empty prototypes for its missing entries.
    const std::int32_t count = list.storedCount;
    const int entries = count < 0 ? 0 : (count > kMaxPrototypeEntries ? kMaxPrototypeEntries : count);
    list.prototypes.reserve(static_cast<std::size_t>(entries));
    for (int k = 0; k < entries; ++k) {
        if (reader.AtEnd()) list.shortFile = true;
        Prototype& prototype = list.prototypes.emplace_back();
        const auto record = reader.Take(kPrototypeRecordSize);
        if (record.size() < kPrototypeRecordSize) list.shortFile = true;
        DecodePrototypeRecord(record, prototype);
        prototype.Name = CleanPrototypeName(reader.Line());
    }
    list.trailingData = !reader.AtEnd();
    return list;
}
