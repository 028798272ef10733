// The gadget registry: numbers to records, number allocation, record order,
// the toolkit's start and end, and the defaults new gadgets inherit.
#include <algorithm>
#include <iterator>

#include "gadget_internal.h"
#include "services.h"

ToolkitState toolkit;

namespace {

// Beyond this a requested number would make the registry absurdly large;
// such a request is served like an automatic one.
constexpr int kMaxGadgetNumber = 1000000;

void GrowRegistry(int top) {
    toolkit.registryTop = top;
    toolkit.registry.resize(static_cast<size_t>(top) + 1, nullptr);
}

}  // namespace

int Gadget_Init() {
    toolkit = ToolkitState{};
    toolkit.registry.assign(static_cast<size_t>(kInitialRegistryTop) + 1, nullptr);
    Font_Load(kToolkitFont, "Standard", 9, kFontBold);
    return 0;
}

int Gadget_End() {
    return Gadget_FreeAll();
}

int Gadget_SetDefaultFillMode(int mode) {
    toolkit.defaultFillMode = mode;
    return 0;
}

int Gadget_SetDefaultTextColor(int colour) {
    toolkit.defaultTextColor = colour;
    return 0;
}

int Gadget_GetActive() {
    return toolkit.activeGadget;
}

int Gadget_Kind(int number) {
    const GadgetRecord* g = FindGadget(number);
    return g ? g->kind : 0;
}

GadgetRecord* FindGadget(int number) {
    if (number < 0 || number > toolkit.registryTop || static_cast<size_t>(number) >= toolkit.registry.size())
        return nullptr;
    GadgetRecord* g = toolkit.registry[static_cast<size_t>(number)];
    if (!g || g->number != number) return nullptr;
    toolkit.lastAccessed = g;
    return g;
}

GadgetRecord* FindGadgetBySelf(GadgetSelf self) {
    if (!self) return nullptr;
    for (GadgetRecord& g : toolkit.records)
        if (g.self == self) return &g;
    return nullptr;
}

int AllocateGadgetNumber(int requested) {
    // The registry only exists after Gadget_Init; a creation before it still
    // gets a registry of the standard size.
    if (toolkit.registry.empty()) GrowRegistry(std::max(toolkit.registryTop, kInitialRegistryTop));
    if (requested < 0 || requested > kMaxGadgetNumber) {
        for (int n = 1; n <= toolkit.registryTop; ++n)
            if (!toolkit.registry[static_cast<size_t>(n)]) return n;
        const int n = toolkit.registryTop + 1;
        GrowRegistry(toolkit.registryTop + kRegistryGrowth);
        return n;
    }
    if (requested > toolkit.registryTop) GrowRegistry(requested + kRegistryGrowth);
    return requested;
}

GadgetRecord& NewGadget(int number, int kind, int x, int y, int width, int height, KindRecord kindRecord) {
    // The new record goes right after the one touched last, so a gadget made
    // while the program runs is drawn and hit-tested next to its neighbours.
    auto where = toolkit.records.end();
    if (toolkit.lastAccessed) {
        for (auto it = toolkit.records.begin(); it != toolkit.records.end(); ++it)
            if (&*it == toolkit.lastAccessed) {
                where = std::next(it);
                break;
            }
    }
    GadgetRecord& g = *toolkit.records.emplace(where);
    g.kind = kind;

    g.number = AllocateGadgetNumber(number);
    toolkit.registry[static_cast<size_t>(g.number)] = &g;
    g.self = toolkit.nextSelf;
    ++toolkit.nextSelf.value;

    g.x = x;
    g.y = y;
    g.width = width;
    g.height = height;

    g.textColor = toolkit.defaultTextColor;
    g.disabledTextColor = toolkit.defaultDisabledTextColor;
    g.fillMode = toolkit.defaultFillMode;
    g.fillColor = toolkit.defaultFillColor;
    g.hidden = 0;
    g.disabled = 0;

    // Out-of-range requests were numbered automatically; focus says so too.
    toolkit.activeGadget = (number < 0 || number > kMaxGadgetNumber) ? -1 : number;

    if (kind == GadgetKind_ImageButton) g.fillMode = 2;
    if (kind == GadgetKind_Frame) g.fillMode = 0;

    g.kindRecord = std::move(kindRecord);
    toolkit.lastAccessed = &g;
    return g;
}

void DeleteGadgetRecord(GadgetRecord& record) {
    if (record.number >= 0 && static_cast<size_t>(record.number) < toolkit.registry.size() &&
        toolkit.registry[static_cast<size_t>(record.number)] == &record)
        toolkit.registry[static_cast<size_t>(record.number)] = nullptr;
    if (toolkit.lastAccessed == &record) toolkit.lastAccessed = nullptr;
    for (auto it = toolkit.records.begin(); it != toolkit.records.end(); ++it)
        if (&*it == &record) {
            toolkit.records.erase(it);
            return;
        }
}
