// The JSON form of a design. Writing uses an ordered object so the fields
// read in a sensible order; reading checks every field and refuses what the
// files could not hold, naming the place ("parts[3].offset.x: ...").
#include "design_json.h"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <set>
#include <nlohmann/json.hpp>

#include "text_bytes.h"

namespace {

using OrderedJson = nlohmann::ordered_json;
using Json = nlohmann::json;

// Bits 25..31 of a connection mask: never set by the editor, carried as a number.
constexpr int kUnusedBitsShift = 25;
constexpr std::int64_t kUnusedBitsMax = 0x7F;

// ---------------------------------------------------------------- writing

OrderedJson NameValue(const std::string& name) {
    if (IsWellFormedUtf8(name)) return name;
    return OrderedJson::object({{"hex", HexFromBytes(name)}});
}

bool AllZero(const std::array<std::uint8_t, 64>& bytes) {
    for (std::uint8_t b : bytes)
        if (b != 0) return false;
    return true;
}

OrderedJson PrototypeValue(const std::vector<Prototype>& prototypes, int position) {
    const Prototype& prototype = prototypes[static_cast<std::size_t>(position)];
    OrderedJson out = OrderedJson::object();
    out["index"] = position;
    out["name"] = NameValue(prototype.Name);
    if (prototype.Index != position) out["storedIndex"] = prototype.Index;
    OrderedJson connections = OrderedJson::array();
    for (std::uint32_t mask : prototype.ConnectionMask) {
        OrderedJson connection = OrderedJson::object();
        connection["active"] = HasActiveFlag(mask);
        OrderedJson allows = OrderedJson::array();
        for (int k = 0; k < kMaxPrototypes; ++k) {
            if (!(mask & (std::uint32_t{1} << k))) continue;
            OrderedJson allowed = OrderedJson::object();
            allowed["index"] = k;
            if (k < static_cast<int>(prototypes.size())) allowed["name"] = NameValue(prototypes[static_cast<std::size_t>(k)].Name);
            allows.push_back(std::move(allowed));
        }
        connection["allows"] = std::move(allows);
        if (mask >> kUnusedBitsShift) connection["unusedBits"] = mask >> kUnusedBitsShift;
        connections.push_back(std::move(connection));
    }
    out["connections"] = std::move(connections);
    if (!AllZero(prototype.reserved))
        out["reserved"] = HexFromBytes({reinterpret_cast<const char*>(prototype.reserved.data()), prototype.reserved.size()});
    return out;
}

OrderedJson PointValue(std::int32_t x, std::int32_t y) { return OrderedJson::object({{"x", x}, {"y", y}}); }

OrderedJson PartValue(const DocumentPart& part) {
    OrderedJson out = OrderedJson::object();
    const PartSetup& setup = part.setup;
    out["image"] = NameValue(part.image);
    out["width"] = part.width < 0 ? OrderedJson() : OrderedJson(part.width);
    out["height"] = part.height < 0 ? OrderedJson() : OrderedJson(part.height);
    out["prototype"] = setup.PrototypeIndex;
    out["offset"] = PointValue(setup.OffsetX, setup.OffsetY);
    OrderedJson connections = OrderedJson::array();
    for (std::size_t i = 0; i < kConnections; ++i) {
        OrderedJson point = PointValue(setup.ConnX[i], setup.ConnY[i]);
        if (setup.ConnExtra[i] != 0) point["extra"] = setup.ConnExtra[i];
        connections.push_back(std::move(point));
    }
    out["connections"] = std::move(connections);
    return out;
}

// ---------------------------------------------------------------- reading

// Reads fields in order; the first fault sticks and later reads fail at once.
class DocumentReader {
public:
    const std::string& Error() const { return error_; }

    bool Fail(const std::string& where, const std::string& what) {
        if (error_.empty()) error_ = (where.empty() ? std::string("the document") : where) + ": " + what;
        return false;
    }
    // An object holding every required key and nothing beyond the optional ones.
    bool Object(const Json& value, const std::string& where, std::initializer_list<const char*> required,
                std::initializer_list<const char*> optional) {
        if (!error_.empty()) return false;
        if (!value.is_object()) return Fail(where, "must be an object");
        for (const char* key : required)
            if (!value.contains(key)) return Fail(where, std::string("lacks \"") + key + "\"");
        for (const auto& [key, unused] : value.items()) {
            bool known = false;
            for (const char* k : required) known = known || key == k;
            for (const char* k : optional) known = known || key == k;
            if (!known) return Fail(where, "unknown field \"" + Printable(key) + "\"");
        }
        return true;
    }
    bool Integer(const Json& value, const std::string& where, std::int64_t low, std::int64_t high, std::int64_t& out) {
        if (!error_.empty()) return false;
        if (value.is_number_unsigned()) {
            const auto v = value.get<std::uint64_t>();
            if (v > static_cast<std::uint64_t>(high)) return Fail(where, Range(low, high));
            out = static_cast<std::int64_t>(v);
            return true;
        }
        if (!value.is_number_integer()) return Fail(where, "must be a whole number");
        const auto v = value.get<std::int64_t>();
        if (v < low || v > high) return Fail(where, Range(low, high));
        out = v;
        return true;
    }
    bool Int32(const Json& value, const std::string& where, std::int32_t& out) {
        std::int64_t v = 0;
        if (!Integer(value, where, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), v))
            return false;
        out = static_cast<std::int32_t>(v);
        return true;
    }
    // A name: a string, or {"hex": "..."} for bytes that are no UTF-8.
    bool Name(const Json& value, const std::string& where, std::string& out) {
        if (!error_.empty()) return false;
        if (value.is_string()) {
            out = value.get<std::string>();
            return true;
        }
        if (!value.is_object()) return Fail(where, "must be a string or {\"hex\": \"...\"}");
        if (!Object(value, where, {"hex"}, {})) return false;
        const Json& hex = value["hex"];
        if (!hex.is_string() || !BytesFromHex(hex.get<std::string>(), out))
            return Fail(where + ".hex", "must be a string of hex digits, two per byte");
        return true;
    }
    // Anything for the reader of a message: control characters and stray bytes as \xNN.
    static std::string Printable(const std::string& text) {
        std::string out;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t n = Utf8SequenceLength(text, at);
            if (n == 0 || IsControlSequence(text, at, n)) {
                for (std::size_t k = 0; k < (n ? n : 1); ++k) out += "\\x" + HexFromBytes(text.substr(at + k, 1));
                at += n ? n : 1;
            } else {
                out.append(text, at, n), at += n;
            }
        }
        return out;
    }

private:
    static std::string Range(std::int64_t low, std::int64_t high) {
        return "must be from " + std::to_string(low) + " to " + std::to_string(high);
    }
    std::string error_;
};

std::string At(const std::string& where, std::size_t index) { return where + "[" + std::to_string(index) + "]"; }

bool ReadConnectionMask(DocumentReader& reader, const Json& value, const std::string& where,
                        std::uint32_t& mask, std::vector<std::pair<int, std::string>>& namedAllows,
                        std::vector<std::string>& namedWhere) {
    if (!reader.Object(value, where, {"active", "allows"}, {"unusedBits"})) return false;
    if (!value["active"].is_boolean()) return reader.Fail(where + ".active", "must be true or false");
    mask = value["active"].get<bool>() ? ConnectionActive : 0;
    const Json& allows = value["allows"];
    if (!allows.is_array()) return reader.Fail(where + ".allows", "must be an array");
    for (std::size_t a = 0; a < allows.size(); ++a) {
        const std::string place = At(where + ".allows", a);
        if (!reader.Object(allows[a], place, {"index"}, {"name"})) return false;
        std::int64_t k = 0;
        if (!reader.Integer(allows[a]["index"], place + ".index", 0, kMaxPrototypes - 1, k)) return false;
        const std::uint32_t bit = std::uint32_t{1} << k;
        if (mask & bit) return reader.Fail(place + ".index", "prototype " + std::to_string(k) + " is listed twice");
        mask |= bit;
        if (allows[a].contains("name")) {
            std::string name;
            if (!reader.Name(allows[a]["name"], place + ".name", name)) return false;
            namedAllows.emplace_back(static_cast<int>(k), std::move(name));
            namedWhere.push_back(place + ".name");
        }
    }
    if (value.contains("unusedBits")) {
        std::int64_t bits = 0;
        if (!reader.Integer(value["unusedBits"], where + ".unusedBits", 0, kUnusedBitsMax, bits)) return false;
        mask |= static_cast<std::uint32_t>(bits) << kUnusedBitsShift;
    }
    return true;
}

bool ReadPrototypes(DocumentReader& reader, const Json& list, std::vector<Prototype>& out) {
    if (!list.is_array()) return reader.Fail("prototypes", "must be an array or null");
    // The editor reads at most this many entries of a file.
    constexpr std::size_t kMostEntries = 1024;
    if (list.size() > kMostEntries) return reader.Fail("prototypes", "more than 1024 entries");
    std::vector<std::pair<int, std::string>> namedAllows;
    std::vector<std::string> namedWhere;
    for (std::size_t p = 0; p < list.size(); ++p) {
        const std::string where = At("prototypes", p);
        const Json& value = list[p];
        if (!reader.Object(value, where, {"index", "name", "connections"}, {"storedIndex", "reserved"})) return false;
        Prototype prototype;
        std::int64_t index = 0;
        if (!reader.Integer(value["index"], where + ".index", 0, static_cast<std::int64_t>(kMostEntries), index)) return false;
        if (static_cast<std::size_t>(index) != p)
            return reader.Fail(where + ".index", "must be the entry's position, " + std::to_string(p));
        if (!reader.Name(value["name"], where + ".name", prototype.Name)) return false;
        if (prototype.Name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            return reader.Fail(where + ".name", "a name cannot hold a line break or a zero byte");
        std::int64_t stored = static_cast<std::int8_t>(p);
        if (value.contains("storedIndex") &&
            !reader.Integer(value["storedIndex"], where + ".storedIndex", std::numeric_limits<std::int8_t>::min(),
                            std::numeric_limits<std::int8_t>::max(), stored))
            return false;
        prototype.Index = static_cast<std::int8_t>(stored);
        const Json& connections = value["connections"];
        if (!connections.is_array() || connections.size() != kConnections)
            return reader.Fail(where + ".connections", "must be an array of 8 connections");
        for (std::size_t i = 0; i < kConnections; ++i)
            if (!ReadConnectionMask(reader, connections[i], At(where + ".connections", i), prototype.ConnectionMask[i],
                                    namedAllows, namedWhere))
                return false;
        if (value.contains("reserved")) {
            std::string bytes;
            const Json& reserved = value["reserved"];
            if (!reserved.is_string() || !BytesFromHex(reserved.get<std::string>(), bytes) ||
                bytes.size() != prototype.reserved.size())
                return reader.Fail(where + ".reserved", "must be 64 bytes as 128 hex digits");
            for (std::size_t b = 0; b < bytes.size(); ++b) prototype.reserved[b] = static_cast<std::uint8_t>(bytes[b]);
        }
        out.push_back(std::move(prototype));
    }
    // A name beside an allowed index must be that prototype's: a list
    // reordered by hand would otherwise allow the wrong prototypes.
    for (std::size_t n = 0; n < namedAllows.size(); ++n) {
        const auto& [k, name] = namedAllows[n];
        if (k >= static_cast<int>(out.size()))
            return reader.Fail(namedWhere[n], "names prototype " + std::to_string(k) + ", which the document does not have");
        if (out[static_cast<std::size_t>(k)].Name != name)
            return reader.Fail(namedWhere[n], "\"" + DocumentReader::Printable(name) + "\" is not the name of prototype " +
                                                  std::to_string(k));
    }
    return true;
}

bool ReadPoint(DocumentReader& reader, const Json& value, const std::string& where, std::int32_t& x, std::int32_t& y,
               std::int32_t* extra) {
    if (extra ? !reader.Object(value, where, {"x", "y"}, {"extra"}) : !reader.Object(value, where, {"x", "y"}, {}))
        return false;
    if (!reader.Int32(value["x"], where + ".x", x) || !reader.Int32(value["y"], where + ".y", y)) return false;
    if (extra && value.contains("extra")) return reader.Int32(value["extra"], where + ".extra", *extra);
    return true;
}

bool ReadSize(DocumentReader& reader, const Json& value, const std::string& where, int& out) {
    if (value.is_null()) {
        out = -1;
        return true;
    }
    std::int64_t v = 0;
    if (!reader.Integer(value, where, 0, std::numeric_limits<int>::max(), v)) return false;
    out = static_cast<int>(v);
    return true;
}

bool ReadParts(DocumentReader& reader, const Json& list, std::vector<DocumentPart>& out) {
    if (!list.is_array()) return reader.Fail("parts", "must be an array");
    std::set<std::string> seen;
    for (std::size_t n = 0; n < list.size(); ++n) {
        const std::string where = At("parts", n);
        const Json& value = list[n];
        if (!reader.Object(value, where, {"image", "prototype", "offset", "connections"}, {"width", "height"}))
            return false;
        DocumentPart part;
        if (!reader.Name(value["image"], where + ".image", part.image)) return false;
        const std::string unportable = UnportableImageNameReason(part.image);
        if (!unportable.empty()) return reader.Fail(where + ".image", unportable);
        if (!seen.insert(part.image).second)
            return reader.Fail(where + ".image", "\"" + DocumentReader::Printable(part.image) + "\" is listed twice");
        if (value.contains("width") && !ReadSize(reader, value["width"], where + ".width", part.width)) return false;
        if (value.contains("height") && !ReadSize(reader, value["height"], where + ".height", part.height)) return false;
        PartSetup& setup = part.setup;
        if (!reader.Int32(value["prototype"], where + ".prototype", setup.PrototypeIndex)) return false;
        if (!ReadPoint(reader, value["offset"], where + ".offset", setup.OffsetX, setup.OffsetY, nullptr)) return false;
        const Json& connections = value["connections"];
        if (!connections.is_array() || connections.size() != kConnections)
            return reader.Fail(where + ".connections", "must be an array of 8 points");
        for (std::size_t i = 0; i < kConnections; ++i)
            if (!ReadPoint(reader, connections[i], At(where + ".connections", i), setup.ConnX[i], setup.ConnY[i],
                           &setup.ConnExtra[i]))
                return false;
        out.push_back(std::move(part));
    }
    return true;
}

}  // namespace

std::string DesignDocumentToJson(const DesignDocument& document) {
    OrderedJson out = OrderedJson::object();
    out["format"] = kDesignDocumentFormat;
    out["version"] = kDesignDocumentVersion;
    if (document.hasPrototypeList) {
        OrderedJson prototypes = OrderedJson::array();
        for (std::size_t p = 0; p < document.prototypes.size(); ++p)
            prototypes.push_back(PrototypeValue(document.prototypes, static_cast<int>(p)));
        out["prototypes"] = std::move(prototypes);
    } else {
        out["prototypes"] = nullptr;
    }
    OrderedJson parts = OrderedJson::array();
    for (const DocumentPart& part : document.parts) parts.push_back(PartValue(part));
    out["parts"] = std::move(parts);
    // Every string was made UTF-8 above; strict would only catch a fault here.
    return out.dump(2, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
}

DocumentReading DesignDocumentFromJson(std::string_view text) {
    DocumentReading reading;
    Json root;
    try {
        root = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& error) {
        reading.error = "not JSON: at byte " + std::to_string(error.byte) + ": " + DocumentReader::Printable(error.what());
        return reading;
    } catch (const Json::exception& error) {
        // A number too large for a double is reported this way.
        reading.error = "not JSON: " + DocumentReader::Printable(error.what());
        return reading;
    }
    DocumentReader reader;
    DesignDocument document;
    if (reader.Object(root, "", {"format", "version", "prototypes", "parts"}, {})) {
        if (root["format"] != kDesignDocumentFormat)
            reader.Fail("format", std::string("must be \"") + kDesignDocumentFormat + "\"");
        else if (root["version"] != kDesignDocumentVersion)
            reader.Fail("version", "must be " + std::to_string(kDesignDocumentVersion));
        else if (!root["prototypes"].is_null() && !ReadPrototypes(reader, root["prototypes"], document.prototypes))
            ;
        else if (ReadParts(reader, root["parts"], document.parts))
            document.hasPrototypeList = !root["prototypes"].is_null();
    }
    if (!reader.Error().empty()) {
        reading.error = reader.Error();
        return reading;
    }
    reading.valid = true;
    reading.document = std::move(document);
    return reading;
}

std::string UnportableImageNameReason(const std::string& name) {
    if (name.empty()) return "an empty file name";
    if (name.find_first_of("/\\") != std::string::npos) return "a file name cannot hold a slash";
    if (name.find("..") != std::string::npos) return "a file name cannot hold \"..\"";
    if (name == ".") return "\".\" is no file name";
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (name.size() >= 2 && letter(name[0]) && name[1] == ':') return "a file name cannot start with a drive";
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t n = Utf8SequenceLength(name, at);
        if (n == 0) {
            // Bytes of an 8-bit encoding: only those below 0x20 are controls there too.
            if (static_cast<unsigned char>(name[at]) < 0x20) return "a file name cannot hold a control character";
            ++at;
            continue;
        }
        if (IsControlSequence(name, at, n)) return "a file name cannot hold a control character";
        at += n;
    }
    return "";
}
