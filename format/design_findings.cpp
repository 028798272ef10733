// The findings that need nothing but the bytes of a design's files. Every
// finding names the file a person would open to mend it.
#include "design_findings.h"

#include <algorithm>
#include <map>

#include "part_setup_bytes.h"
#include "text_bytes.h"

namespace {

void Add(std::vector<DesignFinding>& findings, FindingKind kind, const std::string& file, const std::string& message) {
    findings.push_back({kind, file, message});
}

}  // namespace

const char* FindingKindName(FindingKind kind) {
    switch (kind) {
    case FindingKind::DamagedSetup: return "damaged-setup";
    case FindingKind::MissingPrototype: return "missing-prototype";
    case FindingKind::UndecodablePicture: return "undecodable-picture";
    case FindingKind::MissingPrototypeList: return "missing-prototype-list";
    case FindingKind::DamagedPrototypeList: return "damaged-prototype-list";
    case FindingKind::NoPrototypes: return "no-prototypes";
    case FindingKind::PrototypeWithoutPart: return "prototype-without-part";
    case FindingKind::UnreachablePrototype: return "unreachable-prototype";
    case FindingKind::ConnectionAllowsNothing: return "connection-allows-nothing";
    case FindingKind::ConnectionOutsidePicture: return "connection-outside-picture";
    case FindingKind::OffsetOutsidePicture: return "offset-outside-picture";
    case FindingKind::UnsaveableName: return "unsaveable-name";
    case FindingKind::DuplicateName: return "duplicate-name";
    case FindingKind::LinkLeavesFolder: return "link-leaves-folder";
    case FindingKind::PictureOverBudget: return "picture-over-budget";
    case FindingKind::SetupNameTooLong: return "setup-name-too-long";
    }
    return "unknown";
}

std::string QuoteName(const std::string& text) {
    static const char* const kHex = "0123456789abcdef";
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t n = Utf8SequenceLength(text, i);
        if (c == '"' || c == '\\') {
            out += '\\', out += static_cast<char>(c), ++i;
        } else if (n == 0 || IsControlSequence(text, i, n)) {
            // A C1 control shows as its two bytes, so no terminal acts on it.
            for (const std::size_t end = i + (n ? n : 1); i < end; ++i) {
                const unsigned char b = static_cast<unsigned char>(text[i]);
                out += "\\x", out += kHex[b >> 4], out += kHex[b & 15];
            }
        } else {
            out.append(text, i, n), i += n;
        }
    }
    return out + "\"";
}

// A CR, LF or zero byte would end the line; other controls and bytes that
// are no UTF-8 would not come back as they went.
bool SaveableName(const std::string& name) {
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t n = Utf8SequenceLength(name, i);
        if (n == 0 || IsControlSequence(name, i, n)) return false;
        i += n;
    }
    return true;
}

std::string PrototypeLabel(std::span<const Prototype> prototypes, int position) {
    return "prototype " + std::to_string(position) + " " + QuoteName(prototypes[static_cast<std::size_t>(position)].Name);
}

void FindMissingPrototypeList(bool isFolder, std::vector<DesignFinding>& findings) {
    Add(findings, FindingKind::MissingPrototypeList, kPrototypeFileName,
        isFolder ? "is a folder, not a prototype list" : "missing: no ship can be started");
}

void FindPrototypeListDamage(const PrototypeList& list, std::vector<DesignFinding>& findings) {
    const std::string count = std::to_string(list.storedCount);
    if (list.storedCount < 0 || list.storedCount > kMaxPrototypeEntries)
        Add(findings, FindingKind::DamagedPrototypeList, kPrototypeFileName,
            "damaged: the count " + count + " is not a number of prototypes");
    else if (list.shortFile)
        Add(findings, FindingKind::DamagedPrototypeList, kPrototypeFileName,
            "damaged: the file ends before its " + count + " prototypes");
    else if (list.trailingData)
        Add(findings, FindingKind::DamagedPrototypeList, kPrototypeFileName,
            "damaged: bytes follow the last of its " + count + " prototypes");
    if (list.prototypes.empty())
        Add(findings, FindingKind::NoPrototypes, kPrototypeFileName, "no prototypes: no ship can be started");
}

bool FindUnreadableSetup(const std::string& image, bool readable, std::vector<DesignFinding>& findings) {
    if (!readable) Add(findings, FindingKind::DamagedSetup, image + kSetupExtension, "cannot be read");
    return readable;
}

void FindSetupSize(const std::string& image, std::int64_t size, std::vector<DesignFinding>& findings) {
    if (size != kSetupFileBytes)
        Add(findings, FindingKind::DamagedSetup, image + kSetupExtension,
            "damaged: " + std::to_string(size) + " bytes where a setup has " + std::to_string(kSetupFileBytes));
}

const Prototype* FindSetupPrototype(const std::string& image, const PartSetup& setup,
                                    std::span<const Prototype> prototypes, std::vector<DesignFinding>& findings) {
    const std::int64_t index = setup.PrototypeIndex;
    if (index >= 0 && index < static_cast<std::int64_t>(prototypes.size())) return &prototypes[static_cast<std::size_t>(index)];
    Add(findings, FindingKind::MissingPrototype, image + kSetupExtension,
        index == -1 ? std::string("no prototype chosen")
                    : "prototype " + std::to_string(index) + " does not exist (the design has " +
                          std::to_string(prototypes.size()) + ")");
    return nullptr;
}

void FindRuleProblems(std::span<const Prototype> prototypes, std::vector<DesignFinding>& findings) {
    const int count = static_cast<int>(prototypes.size());
    const int named = std::min(count, kMaxPrototypes);
    // Which prototypes each can take, only those of the design counting.
    std::vector<char> reached(static_cast<std::size_t>(count), 0);
    std::vector<int> queue;
    if (count > 0) reached[0] = 1, queue.push_back(0);
    for (std::size_t q = 0; q < queue.size(); ++q)
        for (std::uint32_t mask : prototypes[static_cast<std::size_t>(queue[q])].ConnectionMask) {
            if (!IsConnectionOn(mask)) continue;
            for (int k = 0; k < named; ++k)
                if ((mask & (std::uint32_t{1} << k)) && !reached[static_cast<std::size_t>(k)])
                    reached[static_cast<std::size_t>(k)] = 1, queue.push_back(k);
        }
    const std::uint32_t existing = named >= kMaxPrototypes ? kAllowedBits : ((std::uint32_t{1} << named) - 1);
    std::map<std::string, int> firstOfName;
    for (int p = 0; p < count; ++p) {
        const Prototype& prototype = prototypes[static_cast<std::size_t>(p)];
        for (int i = 0; i < kConnections; ++i) {
            const std::uint32_t mask = prototype.ConnectionMask[static_cast<std::size_t>(i)];
            if (IsConnectionOn(mask) && (mask & existing) == 0)
                Add(findings, FindingKind::ConnectionAllowsNothing, kPrototypeFileName,
                    PrototypeLabel(prototypes, p) + ": connection " + std::to_string(i + 1) +
                        " is active but allows no prototype");
        }
        if (!reached[static_cast<std::size_t>(p)])
            Add(findings, FindingKind::UnreachablePrototype, kPrototypeFileName,
                PrototypeLabel(prototypes, p) + " can never be attached: no rule from prototype 0 leads to it");
        if (!SaveableName(prototype.Name))
            Add(findings, FindingKind::UnsaveableName, kPrototypeFileName,
                PrototypeLabel(prototypes, p) + ": the name holds characters that cannot be saved");
        const auto [it, fresh] = firstOfName.emplace(prototype.Name, p);
        if (!fresh)
            Add(findings, FindingKind::DuplicateName, kPrototypeFileName,
                PrototypeLabel(prototypes, p) + ": the same name as prototype " + std::to_string(it->second));
    }
}
