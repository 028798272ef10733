// The part setup file through the file services.
#include <string>
#include <string_view>

#include "part_setup.h"
#include "services.h"

int WriteSetupFile(const std::string& path, const PartSetup& setup) {
    if (!File_Create(kDesignFile, path)) return 0;
    File_WriteData(kDesignFile, EncodePartSetup(setup));
    return File_Close(kDesignFile);
}

int ReadSetupFile(const std::string& path, PartSetup& setup) {
    if (!File_OpenRead(kDesignFile, path)) return 0;
    // A short file leaves the rest zero; bytes after the 27th value are ignored.
    PartSetupBytes bytes{};
    const int got = File_ReadData(kDesignFile, bytes);
    File_Close(kDesignFile);
    setup = DecodePartSetup(std::span<const std::uint8_t>(bytes.data(), static_cast<std::size_t>(got)));
    return 1;
}

bool SetupNameFits(const std::string& imageName) {
    constexpr std::size_t kMaxFileNameBytes = 255;
    return imageName.size() + std::string_view(kSetupExtension).size() <= kMaxFileNameBytes;
}

int SavePartSetup() {
    // Without an image there is no file name to write to.
    if (design.PartImageName.empty()) return 0;
    return WriteSetupFile(PartSetupPath(), design.PartSetup);
}

int ReadPartSetup() {
    PartSetup& setup = design.PartSetup;
    const int read = !design.PartImageName.empty() && ReadSetupFile(PartSetupPath(), setup);
    if (!read) {
        // A new setup starts at the connection points the last one left.
        setup.OffsetX = 0;
        setup.OffsetY = 0;
        setup.PrototypeIndex = -1;
    }
    return read;
}
