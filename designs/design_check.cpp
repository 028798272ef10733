// The design check. Every finding names the file a person would open to mend it.
#include "design_check.h"

#include <algorithm>
#include <map>
#include <utility>

#include "design_folders.h"
#include "design_model.h"
#include "part_setup.h"
#include "prototypes.h"
#include "services.h"
#include "text_bytes.h"

namespace {

constexpr const char* kPrototypeFile = "Prototypes.pt";
constexpr const char* kSetupExtension = ".spset";
constexpr int kSetupFileBytes = 4 * kSetupFileValues;

struct Checker {
    DesignCheck result;
    void Add(FindingKind kind, const std::string& file, const std::string& message) {
        result.findings.push_back({kind, file, message});
    }
};

// Characters a name line cannot carry back and forth: control characters
// (a CR, LF or zero byte ends the line) and bytes that are no UTF-8.
bool SaveableName(const std::string& name) {
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t n = Utf8SequenceLength(name, i);
        if (n == 0 || IsControlSequence(name, i, n)) return false;
        i += n;
    }
    return true;
}

std::string PrototypeLabel(int position) {
    return "prototype " + std::to_string(position) + " " + QuoteName(std::as_const(design.Prototypes).At(position)->Name);
}

void CheckPrototypeFile(Checker& check, const PrototypeFileReading& reading) {
    const int count = design.Prototypes.Count();
    if (reading.storedCount < 0 || reading.storedCount > kMaxPrototypeEntries)
        check.Add(FindingKind::DamagedPrototypeList, kPrototypeFile,
                  "damaged: the count " + std::to_string(reading.storedCount) + " is not a number of prototypes");
    else if (reading.shortFile)
        check.Add(FindingKind::DamagedPrototypeList, kPrototypeFile,
                  "damaged: the file ends before its " + std::to_string(reading.storedCount) + " prototypes");
    else if (reading.trailingData)
        check.Add(FindingKind::DamagedPrototypeList, kPrototypeFile,
                  "damaged: bytes follow the last of its " + std::to_string(reading.storedCount) + " prototypes");
    if (count == 0) check.Add(FindingKind::NoPrototypes, kPrototypeFile, "no prototypes: no ship can be started");
}

// Rules: which prototypes each can take, only those of the design counting.
void CheckRules(Checker& check) {
    const auto& prototypes = std::as_const(design.Prototypes);
    const int count = prototypes.Count();
    const int named = std::min(count, kMaxPrototypes);
    std::vector<char> reached(static_cast<std::size_t>(count), 0);
    std::vector<int> queue;
    if (count > 0) reached[0] = 1, queue.push_back(0);
    for (std::size_t q = 0; q < queue.size(); ++q)
        for (std::uint32_t mask : prototypes.At(queue[q])->ConnectionMask) {
            if (!IsConnectionOn(mask)) continue;
            for (int k = 0; k < named; ++k)
                if ((mask & (std::uint32_t{1} << k)) && !reached[static_cast<std::size_t>(k)])
                    reached[static_cast<std::size_t>(k)] = 1, queue.push_back(k);
        }
    std::map<std::string, int> firstOfName;
    for (int p = 0; p < count; ++p) {
        const Prototype& prototype = *prototypes.At(p);
        for (int i = 0; i < kConnections; ++i) {
            const std::uint32_t mask = prototype.ConnectionMask[static_cast<std::size_t>(i)];
            const std::uint32_t existing = named >= kMaxPrototypes ? kAllowedBits : ((std::uint32_t{1} << named) - 1);
            if (IsConnectionOn(mask) && (mask & existing) == 0)
                check.Add(FindingKind::ConnectionAllowsNothing, kPrototypeFile,
                          PrototypeLabel(p) + ": connection " + std::to_string(i + 1) + " is active but allows no prototype");
        }
        if (!reached[static_cast<std::size_t>(p)])
            check.Add(FindingKind::UnreachablePrototype, kPrototypeFile,
                      PrototypeLabel(p) + " can never be attached: no rule from prototype 0 leads to it");
        if (!SaveableName(prototype.Name))
            check.Add(FindingKind::UnsaveableName, kPrototypeFile,
                      PrototypeLabel(p) + ": the name holds characters that cannot be saved");
        const auto [it, fresh] = firstOfName.emplace(prototype.Name, p);
        if (!fresh)
            check.Add(FindingKind::DuplicateName, kPrototypeFile,
                      PrototypeLabel(p) + ": the same name as prototype " + std::to_string(it->second));
    }
}

void CheckParts(Checker& check, const std::string& folder, const std::vector<std::string>& names) {
    const auto& prototypes = std::as_const(design.Prototypes);
    std::vector<char> drawn(static_cast<std::size_t>(prototypes.Count()), 0);
    for (const std::string& name : names) {
        const std::string setupName = name + kSetupExtension;
        const std::int64_t size = File_Size(folder + setupName);
        PartSetup setup;
        if (!ReadSetupFile(folder + setupName, setup)) {
            check.Add(FindingKind::DamagedSetup, setupName, "cannot be read");
            continue;
        }
        if (size != kSetupFileBytes)
            check.Add(FindingKind::DamagedSetup, setupName,
                      "damaged: " + std::to_string(size) + " bytes where a setup has " + std::to_string(kSetupFileBytes));
        const int image = Image_Load(kServiceAuto, folder + name, 0);
        if (!image) check.Add(FindingKind::UndecodablePicture, name, "the picture cannot be decoded");
        const int w = image ? Image_Width(image) : 0, h = image ? Image_Height(image) : 0;
        // The editor keeps every point within 0..width and 0..height, both ends included.
        auto outside = [&](std::int32_t x, std::int32_t y) { return image && (x < 0 || y < 0 || x > w || y > h); };
        const std::string picture = " lies outside the " + std::to_string(w) + " x " + std::to_string(h) + " picture";
        if (outside(setup.OffsetX, setup.OffsetY))
            check.Add(FindingKind::OffsetOutsidePicture, setupName,
                      "display offset (" + std::to_string(setup.OffsetX) + ", " + std::to_string(setup.OffsetY) + ")" +
                          picture);
        const Prototype* prototype = prototypes.At(setup.PrototypeIndex);
        if (!prototype) {
            check.Add(FindingKind::MissingPrototype, setupName,
                      setup.PrototypeIndex == -1 ? std::string("no prototype chosen")
                                                 : "prototype " + std::to_string(setup.PrototypeIndex) +
                                                       " does not exist (the design has " +
                                                       std::to_string(prototypes.Count()) + ")");
        } else {
            if (image) drawn[static_cast<std::size_t>(setup.PrototypeIndex)] = 1;
            for (int i = 0; i < kConnections; ++i) {
                if (!IsConnectionOn(prototype->ConnectionMask[static_cast<std::size_t>(i)])) continue;
                const std::int32_t x = setup.ConnX[static_cast<std::size_t>(i)], y = setup.ConnY[static_cast<std::size_t>(i)];
                const std::string point = "connection " + std::to_string(i + 1) + " (" + std::to_string(x) + ", " +
                                          std::to_string(y) + ")";
                if (outside(x, y)) check.Add(FindingKind::ConnectionOutsidePicture, setupName, point + picture);
            }
        }
        if (image) Image_Free(image);
    }
    for (int p = 0; p < prototypes.Count(); ++p)
        if (!drawn[static_cast<std::size_t>(p)])
            check.Add(FindingKind::PrototypeWithoutPart, kPrototypeFile,
                      PrototypeLabel(p) + " has no part image: a ship cannot show it");
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

DesignCheck CheckDesignFolder(const std::string& path) {
    Checker check;
    design.Prototypes.Clear();
    FreeDesignParts();
    std::string folder = path;
    if (folder.empty() || folder.back() != '/') folder += '/';
    const std::int64_t size = path.empty() ? -1 : File_Size(path);
    int scanned = 0;
    const std::vector<std::string> names = size == -2 ? ListSetupImages(folder, &scanned) : std::vector<std::string>{};
    if (size != -2 || !scanned) {
        check.result.failure = size == -1 ? "no such folder" : size >= 0 ? "not a folder" : "the folder cannot be read";
        return check.result;
    }
    PrototypeFileReading reading;
    const int hasList = ReadPrototypeList(folder + kPrototypeFile, &reading);
    if (!hasList && names.empty()) {
        check.result.failure = std::string("not a design folder: no ") + kPrototypeFile + " and no part image with a setup";
        return check.result;
    }
    check.result.readable = 1;
    check.result.images = static_cast<int>(names.size());
    check.result.prototypes = design.Prototypes.Count();
    if (!hasList)
        check.Add(FindingKind::MissingPrototypeList, kPrototypeFile,
                  reading.size == -2 ? "is a folder, not a prototype list" : "missing: no ship can be started");
    else
        CheckPrototypeFile(check, reading);
    CheckParts(check, folder, names);
    CheckRules(check);
    design.Prototypes.Clear();
    return check.result;
}
