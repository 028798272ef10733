// The setup file layout, in one place: value k of the file is this field.
#include "part_setup_bytes.h"

#include "byte_reader.h"

namespace {

// 0 OffsetX, 1 OffsetY, 2 PrototypeIndex, then per connection i the three
// values ConnX, ConnY, ConnExtra at 3 + 3 * i.
template <class Setup> auto& SetupValue(Setup& setup, int k) {
    if (k == 0) return setup.OffsetX;
    if (k == 1) return setup.OffsetY;
    if (k == 2) return setup.PrototypeIndex;
    const auto i = static_cast<std::size_t>((k - 3) / 3);
    switch ((k - 3) % 3) {
    case 0: return setup.ConnX[i];
    case 1: return setup.ConnY[i];
    default: return setup.ConnExtra[i];
    }
}

}  // namespace

PartSetupBytes EncodePartSetup(const PartSetup& setup) {
    PartSetupBytes bytes{};
    for (int k = 0; k < kSetupFileValues; ++k) {
        const auto value = static_cast<std::uint32_t>(SetupValue(setup, k));
        for (int b = 0; b < 4; ++b) bytes[static_cast<std::size_t>(4 * k + b)] = static_cast<std::uint8_t>(value >> (8 * b));
    }
    return bytes;
}

PartSetup DecodePartSetup(std::span<const std::uint8_t> bytes) {
    PartSetup setup;
    ByteReader reader{bytes};
    for (int k = 0; k < kSetupFileValues; ++k) SetupValue(setup, k) = static_cast<std::int32_t>(reader.U32());
    return setup;
}
