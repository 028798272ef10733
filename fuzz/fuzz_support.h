// What the fuzz targets share: headless services, the gadgets the design
// readers fill, and a scratch directory for the input file.
#pragma once

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "design_model.h"
#include "editor_gadgets.h"
#include "gadget.h"
#include "part_setup_view.h"
#include "prototype_views.h"
#include "services.h"
#include "testing.h"

// Checked in every build type: a fuzz target must stop on a broken property.
#define FUZZ_CHECK(condition)                                                  \
    do {                                                                       \
        if (!(condition)) {                                                    \
            fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition,     \
                    __FILE__, __LINE__);                                       \
            abort();                                                           \
        }                                                                      \
    } while (0)

inline std::string& FuzzDirectory() {
    static std::string directory;
    return directory;
}

// Headless services and the scratch directory: all the picture loader needs.
inline void FuzzSetUpServices() {
    Testing_UseHeadlessDrivers();
    Sprite_Init();
    char pattern[] = "/tmp/keelwright-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) abort();
    FuzzDirectory() = std::string(pattern) + "/";
}

// As above, plus the gadgets the design readers fill.
inline void FuzzSetUp() {
    FuzzSetUpServices();
    Gadget_Init();
    for (int number : {kGadgetPrototypeList, kGadgetSetupPrototype, kGadgetSetupRows})
        CreateLayoutGadget(*FindGadgetLayout(number));
}

// Puts the input into a file of the scratch directory and returns its path.
inline std::string FuzzInputFile(const char* name, const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzDirectory() + name;
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) abort();
    if (size && fwrite(data, 1, size, file) != size) abort();
    fclose(file);
    return path;
}
