// Loads a design folder made with the editor and prints its prototypes and
// parts: what a game needs to build ships from the design.
//
//   load_design path/to/Designs/1
#include <keelwright/design_folder.h>

#include <iostream>
#include <string>

namespace {

// The prototype's name, or its number when the design has no such prototype.
std::string PrototypeName(const DesignFolder& design, std::int32_t index) {
    const auto& prototypes = design.prototypeList.prototypes;
    if (index < 0 || index >= static_cast<std::int32_t>(prototypes.size())) return "#" + std::to_string(index);
    return prototypes[static_cast<std::size_t>(index)].Name;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: load_design DESIGN_FOLDER\n";
        return 2;
    }
    const DesignFolder design = ReadDesignFolder(argv[1]);
    if (!design.readable) {
        std::cerr << argv[1] << ": " << design.failure << "\n";
        return 1;
    }

    const auto& prototypes = design.prototypeList.prototypes;
    std::cout << prototypes.size() << " prototypes\n";
    for (std::size_t p = 0; p < prototypes.size(); ++p) {
        const Prototype& prototype = prototypes[p];
        std::cout << "  " << p << " " << prototype.Name << "\n";
        for (int c = 0; c < kConnections; ++c) {
            const std::uint32_t mask = prototype.ConnectionMask[static_cast<std::size_t>(c)];
            if (!HasActiveFlag(mask)) continue;
            std::cout << "    connection " << c + 1 << " takes:";
            for (int k = 0; k < kMaxPrototypes && k < static_cast<int>(prototypes.size()); ++k)
                if (mask & (std::uint32_t{1} << k)) std::cout << " " << PrototypeName(design, k);
            std::cout << "\n";
        }
    }

    std::cout << design.parts.size() << " parts\n";
    for (const DesignPart& part : design.parts) {
        const PartSetup& setup = part.setup;
        std::cout << "  " << part.image << ": " << PrototypeName(design, setup.PrototypeIndex) << ", offset ("
                  << setup.OffsetX << ", " << setup.OffsetY << ")";
        // Only the connections its prototype uses mean anything.
        const std::size_t own = static_cast<std::size_t>(setup.PrototypeIndex);
        for (int c = 0; c < kConnections && own < prototypes.size(); ++c) {
            const auto i = static_cast<std::size_t>(c);
            if (HasActiveFlag(prototypes[own].ConnectionMask[i]))
                std::cout << ", connection " << c + 1 << " at (" << setup.ConnX[i] << ", " << setup.ConnY[i] << ")";
        }
        std::cout << "\n";
    }

    for (const DesignFinding& finding : design.findings)
        std::cout << "note: " << finding.file << ": " << finding.message << "\n";
    return 0;
}
