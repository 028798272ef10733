// Editing the prototype list: adding, renaming, the connections in use and
// the prototypes allowed at each.
#include <utility>

#include "editor_tables.h"
#include "prototypes.h"
#include "services.h"

namespace {

bool ValidConnection(int connection) { return connection >= 0 && connection < kConnections; }

}  // namespace

int AppendPrototype() {
    if (design.TestMode != 0 || design.Prototypes.Count() >= kMaxPrototypes) return -1;
    const int position = design.Prototypes.Count();
    Prototype& prototype = design.Prototypes.Append();
    prototype.Name = Labels[kLabelNoName] + Str(position);
    prototype.Index = static_cast<std::int8_t>(position);
    design.CurrentPrototype = position;
    return position;
}

int SetPrototypeName(PrototypePosition position, const std::string& newName) {
    const Prototype* current = std::as_const(design.Prototypes).At(position.value);
    if (!current || design.TestMode != 0) return 0;
    // The name is written as one line: line ends and zero bytes cannot be kept.
    const std::string name = CleanPrototypeName(newName);
    if (name == current->Name) return 0;
    design.Prototypes.At(position.value)->Name = name;
    return 1;
}

void ToggleConnectionActive(PrototypePosition prototype, int connection) {
    Prototype* p = design.Prototypes.At(prototype.value);
    if (!p || !ValidConnection(connection)) return;
    std::uint32_t& mask = p->ConnectionMask[connection];
    // Switching off keeps the allowed prototypes for when it comes back on.
    if (!IsConnectionOn(mask))
        mask |= ConnectionActive;
    else
        mask &= kAllowedBits;
}

int ChooseProtoConnection(PrototypePosition prototype, int connection) {
    const Prototype* p = std::as_const(design.Prototypes).At(prototype.value);
    if (!p || !ValidConnection(connection) || !HasActiveFlag(p->ConnectionMask[connection])) return 0;
    design.SelectedProtoConnection = connection;
    return 1;
}

void ToggleAllowedPrototypes(PrototypePosition prototype, const std::vector<int>& positions) {
    Prototype* p = design.Prototypes.At(prototype.value);
    if (!p || design.TestMode != 0 || !ValidConnection(design.SelectedProtoConnection)) return;
    std::uint32_t& mask = p->ConnectionMask[design.SelectedProtoConnection];
    // Positions past 23 have no bit; flipping one would hit the active flag.
    for (int k : positions)
        if (k >= 0 && k < kMaxPrototypes) mask ^= std::uint32_t{1} << k;
}
