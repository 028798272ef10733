// Fuzzes the part setup reader: any bytes read without harm, fill the setup
// gadgets, and write and read back the same 27 values.
#include "fuzz_support.h"
#include "part_setup.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzSetUp();
    // A folder whose "Designs\0\" is the scratch directory, and two prototypes to colour by.
    design.BaseDir = FuzzDirectory();
    mkdir((FuzzDirectory() + "Designs").c_str(), 0700);
    mkdir((FuzzDirectory() + "Designs/0").c_str(), 0700);
    design.DesignFolder = 0;
    design.PartImageName = "Part.png";
    design.Prototypes.Append().ConnectionMask.fill(ConnectionActive);
    design.Prototypes.Append();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile("Designs/0/Part.png.spset", data, size);
    PartSetup read;
    FUZZ_CHECK(ReadSetupFile(path, read) == 1);
    LoadPartSetup();
    FUZZ_CHECK(Gadget_CountItems(kGadgetSetupRows) == 9);
    FUZZ_CHECK(Gadget_CountItems(kGadgetSetupPrototype) == 2);

    const std::string again = FuzzDirectory() + "again.spset";
    FUZZ_CHECK(WriteSetupFile(again, read) == 1);
    PartSetup back;
    FUZZ_CHECK(ReadSetupFile(again, back) == 1);
    FUZZ_CHECK(back.OffsetX == read.OffsetX && back.OffsetY == read.OffsetY);
    FUZZ_CHECK(back.PrototypeIndex == read.PrototypeIndex);
    FUZZ_CHECK(back.ConnX == read.ConnX && back.ConnY == read.ConnY && back.ConnExtra == read.ConnExtra);
    FUZZ_CHECK(DecodePartSetup(std::span<const std::uint8_t>(data, size)) == read);
    return 0;
}
