// Fuzzes the JSON import: any bytes are refused with a reason or give a
// document that writes only into its folder, reads back as written, and
// prints as JSON that reads back to the same document.
#include <filesystem>
#include <string_view>

#include "design_exchange.h"
#include "fuzz_support.h"
#include "part_setup.h"
#include "prototypes.h"

namespace {

bool SamePrototype(const Prototype& a, const Prototype& b) {
    return a.Name == b.Name && a.Index == b.Index && a.ConnectionMask == b.ConnectionMask && a.reserved == b.reserved;
}
bool SameSetup(const PartSetup& a, const PartSetup& b) {
    return a.OffsetX == b.OffsetX && a.OffsetY == b.OffsetY && a.PrototypeIndex == b.PrototypeIndex && a.ConnX == b.ConnX &&
           a.ConnY == b.ConnY && a.ConnExtra == b.ConnExtra;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzSetUpServices();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const DocumentReading reading = DesignDocumentFromJson(text);
    if (!reading.valid) {
        FUZZ_CHECK(!reading.error.empty());
        return 0;
    }
    const DesignDocument& document = reading.document;

    // Printed and read again, the document is the same: a fixed point after one pass.
    const std::string json = DesignDocumentToJson(document);
    const DocumentReading again = DesignDocumentFromJson(json);
    FUZZ_CHECK(again.valid);
    FUZZ_CHECK(DesignDocumentToJson(again.document) == json);

    // Written into a fresh folder, nothing lands beside it, and the files read back as the document.
    namespace fs = std::filesystem;
    const fs::path scratch = FuzzDirectory(), folder = scratch / "design";
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directory(folder);
    const ExchangeOutcome written = WriteDesignDocument(document, folder.string());
    FUZZ_CHECK(written.exitCode == 0);
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(scratch)) entries += entry.path().filename() == "design" ? 1 : 1000;
    FUZZ_CHECK(entries == 1);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) files += entry.is_regular_file() ? 1 : 1000;
    FUZZ_CHECK(files == written.written);

    if (document.hasPrototypeList) {
        FUZZ_CHECK(ReadPrototypeList((folder / "Prototypes.pt").string(), nullptr));
        FUZZ_CHECK(design.Prototypes.Count() == static_cast<int>(document.prototypes.size()));
        for (int p = 0; p < design.Prototypes.Count(); ++p)
            FUZZ_CHECK(SamePrototype(*design.Prototypes.At(p), document.prototypes[static_cast<std::size_t>(p)]));
        design.Prototypes.Clear();
    }
    for (const DocumentPart& part : document.parts) {
        PartSetup setup;
        setup.PrototypeIndex = 12345;
        FUZZ_CHECK(ReadSetupFile((folder / (part.image + ".spset")).string(), setup));
        FUZZ_CHECK(SameSetup(setup, part.setup));
    }
    return 0;
}
