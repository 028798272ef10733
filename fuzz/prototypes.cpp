// Fuzzes the "Prototypes.pt" reader: any bytes load without harm, the list
// stays bounded and clean, and what was loaded saves and loads back the same.
#include <vector>

#include "fuzz_support.h"
#include "prototypes.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile("Prototypes.pt", data, size);
    ReadPrototypeList(path, nullptr);
    ShowPrototypeList();
    const int count = design.Prototypes.Count();
    FUZZ_CHECK(count <= kMaxPrototypeEntries);
    FUZZ_CHECK(Gadget_CountItems(kGadgetPrototypeList) == count);
    std::vector<Prototype> loaded;
    for (int p = 0; p < count; ++p) {
        const Prototype& prototype = *design.Prototypes.At(p);
        FUZZ_CHECK(prototype.Name.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
        FUZZ_CHECK(Gadget_GetItemText(kGadgetPrototypeList, p) == prototype.Name);
        loaded.push_back(prototype);
    }

    const std::string again = FuzzDirectory() + "again.pt";
    SavePrototypes(again);
    ReadPrototypeList(again, nullptr);
    FUZZ_CHECK(design.Prototypes.Count() == count);
    for (int p = 0; p < count; ++p) {
        const Prototype& prototype = *design.Prototypes.At(p);
        const Prototype& before = loaded[static_cast<std::size_t>(p)];
        FUZZ_CHECK(prototype.Name == before.Name && prototype.Index == before.Index);
        FUZZ_CHECK(prototype.ConnectionMask == before.ConnectionMask && prototype.reserved == before.reserved);
    }
    // The format alone reads the bytes as the editor does, and writes what its save wrote.
    const PrototypeList decoded = DecodePrototypeList(std::span<const std::uint8_t>(data, size));
    FUZZ_CHECK(decoded.prototypes == loaded);
    FILE* file = fopen(again.c_str(), "rb");
    FUZZ_CHECK(file != nullptr);
    std::vector<std::uint8_t> saved;
    for (int c; (c = fgetc(file)) != EOF;) saved.push_back(static_cast<std::uint8_t>(c));
    fclose(file);
    FUZZ_CHECK(EncodePrototypeList(decoded.prototypes) == saved);
    return 0;
}
