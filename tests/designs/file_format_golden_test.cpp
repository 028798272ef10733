// The bytes of the two design files, one table per format: for each case the
// format library encodes the values to exactly these bytes and decodes them
// back, and the editor writes the same bytes to disk and reads the values
// back. The worked examples of docs/file-formats.md are cases of the tables,
// taken from the document itself, offsets included. Other tests rely on
// these and do not restate byte layouts.
#include <climits>
#include <regex>
#include <sstream>

#include "designs_fixture.h"
#include "part_setup.h"
#include "part_setup_bytes.h"
#include "prototype_bytes.h"
#include "prototypes.h"

namespace {

// Bytes written as the document writes them: two hex digits each, "00 × 64"
// repeating one.
Bytes Hex(const std::string& text) {
    std::istringstream tokens(text);
    Bytes bytes;
    std::string token;
    while (tokens >> token) {
        if (token == "×") {
            tokens >> token;
            bytes.insert(bytes.end(), std::stoul(token) - 1, bytes.back());
        } else {
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
        }
    }
    return bytes;
}

// The bytes of the document's example block whose first line starts with
// `firstLine`: each line "OFFSET  BYTES  description" adds its bytes, and its
// OFFSET must be where those bytes start.
Bytes ExampleBytes(const std::string& firstLine) {
    std::ifstream in(std::filesystem::path(KEELWRIGHT_SOURCE_DIR) / "docs/file-formats.md");
    std::stringstream text;
    text << in.rdbuf();
    const std::string doc = text.str();
    const std::size_t start = doc.find("```\n" + firstLine);
    EXPECT_NE(start, std::string::npos) << firstLine;
    if (start == std::string::npos) return {};
    std::istringstream block(doc.substr(start + 4, doc.find("```", start + 4) - start - 4));
    const std::regex byteLine("^([0-9a-f]{4})    ((?:[0-9a-f]{2}(?: × \\d+)? +)*)");
    Bytes bytes;
    std::string line;
    while (std::getline(block, line)) {
        std::smatch m;
        if (!std::regex_search(line, m, byteLine)) continue;
        EXPECT_EQ(std::stoul(m[1], nullptr, 16), bytes.size()) << line;
        const Bytes more = Hex(m[2].str());
        bytes.insert(bytes.end(), more.begin(), more.end());
    }
    return bytes;
}

PartSetup SetupOf(std::int32_t x, std::int32_t y, std::int32_t prototype, const std::array<std::int32_t, 24>& connections) {
    PartSetup s;
    s.OffsetX = x;
    s.OffsetY = y;
    s.PrototypeIndex = prototype;
    for (std::size_t i = 0; i < kConnections; ++i) {
        s.ConnX[i] = connections[3 * i];
        s.ConnY[i] = connections[3 * i + 1];
        s.ConnExtra[i] = connections[3 * i + 2];
    }
    return s;
}

Prototype Kind(const std::string& name, std::int8_t index, const std::array<std::uint32_t, kConnections>& masks,
               std::uint8_t firstReserved = 0) {
    Prototype p;
    p.Name = name;
    p.Index = index;
    p.ConnectionMask = masks;
    if (firstReserved)
        for (std::size_t b = 0; b < p.reserved.size(); ++b) p.reserved[b] = static_cast<std::uint8_t>(firstReserved + b);
    return p;
}

}  // namespace

TEST_F(DesignsTest, PartSetupFilesByteForByte) {
    const struct Case {
        const char* what;
        PartSetup setup;
        Bytes bytes;
    } cases[] = {
        {"the document's example",
         SetupOf(40, 30, 0, {0, 20, 0, 30, 0, 0, 50, 0, 0, 80, 20, 0, 80, 40, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0}),
         ExampleBytes("offset  bytes                                     values")},
        {"extremes, signed, little-endian, each value in its place",
         SetupOf(INT_MAX, INT_MIN, -1,
               {100, -200, 0x01020304, 101, -201, 0x02040608, 102, -202, 0x0306090C, 103, -203, 0x04080C10,
                104, -204, 0x050A0F14, 105, -205, 0x060C1218, 106, -206, 0x070E151C, 107, -207, 0x08101820}),
         Hex("ff ff ff 7f  00 00 00 80  ff ff ff ff "
             "64 00 00 00  38 ff ff ff  04 03 02 01 "
             "65 00 00 00  37 ff ff ff  08 06 04 02 "
             "66 00 00 00  36 ff ff ff  0c 09 06 03 "
             "67 00 00 00  35 ff ff ff  10 0c 08 04 "
             "68 00 00 00  34 ff ff ff  14 0f 0a 05 "
             "69 00 00 00  33 ff ff ff  18 12 0c 06 "
             "6a 00 00 00  32 ff ff ff  1c 15 0e 07 "
             "6b 00 00 00  31 ff ff ff  20 18 10 08")},
        {"a fresh setup", PartSetup{}, Hex("00 × 108")},
    };
    const std::string path = (Folder() / "Hull.png.spset").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.bytes.size(), 108u);
        const PartSetupBytes encoded = EncodePartSetup(c.setup);
        EXPECT_EQ(Bytes(encoded.begin(), encoded.end()), c.bytes);
        EXPECT_EQ(DecodePartSetup(c.bytes), c.setup);

        ASSERT_EQ(WriteSetupFile(path, c.setup), 1);
        EXPECT_EQ(ReadBytes(path), c.bytes);
        PartSetup read = SetupOf(9, 9, 9, {});
        ASSERT_EQ(ReadSetupFile(path, read), 1);
        EXPECT_EQ(read, c.setup);
    }
}

TEST_F(DesignsTest, PrototypeListsByteForByte) {
    constexpr std::uint32_t kOn = ConnectionActive;
    const std::vector<Prototype> documented = {Kind("Hull", 0, {kOn | 2, 0, 0, kOn | 2}), Kind("Wing", 1, {kOn | 1})};
    const std::vector<Prototype> everyField = {
        Kind("Kr\xE4n", -3, {0x00010203, 0x01010203, 0x02010203, 0x03010203, 0x04010203, 0x05010203, 0x06010203, 0x07010203},
             0xA0),
        Kind("", 1, {})};
    const struct Case {
        const char* what;
        std::vector<Prototype> written;
        Bytes bytes;
        std::vector<Prototype> read;  // what reading the bytes gives
    } cases[] = {
        {"the document's example", documented, ExampleBytes("offset  bytes                                     field"),
         documented},
        {"no prototypes", {}, Hex("00 00 00 00"), {}},
        {"every field, an 8-bit name kept as its bytes, an empty name", everyField,
         Hex("02 00 00 00 "
             "00 00 00 00  fd "                                  // name slot, Index -3
             "03 02 01 00  03 02 01 01  03 02 01 02  03 02 01 03 "  // masks 0..3 at odd offsets
             "03 02 01 04  03 02 01 05  03 02 01 06  03 02 01 07 "
             "a0 a1 a2 a3 a4 a5 a6 a7 a8 a9 aa ab ac ad ae af "      // reserved, kept
             "b0 b1 b2 b3 b4 b5 b6 b7 b8 b9 ba bb bc bd be bf "
             "c0 c1 c2 c3 c4 c5 c6 c7 c8 c9 ca cb cc cd ce cf "
             "d0 d1 d2 d3 d4 d5 d6 d7 d8 d9 da db dc dd de df "
             "4b 72 e4 6e 0d 0a "
             "00 00 00 00  01  00 × 32  00 × 64  0d 0a"),
         everyField},
        {"line ends and zero bytes cannot be part of a name", {Kind(std::string("a\r\nb\0c", 6), 0, {})},
         Hex("01 00 00 00  00 × 101  61 62 63 0d 0a"), {Kind("abc", 0, {})}},
    };
    const std::string path = (Folder() / "Prototypes.pt").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(EncodePrototypeList(c.written), c.bytes);
        const PrototypeList decoded = DecodePrototypeList(c.bytes);
        EXPECT_EQ(decoded.prototypes, c.read);
        EXPECT_EQ(decoded.storedCount, static_cast<std::int32_t>(c.read.size()));
        EXPECT_FALSE(decoded.shortFile || decoded.trailingData);

        design.Prototypes.Clear();
        for (const Prototype& p : c.written) design.Prototypes.Append() = p;
        ASSERT_EQ(SavePrototypes(path), 1);
        EXPECT_EQ(ReadBytes(path), c.bytes);
        design.Prototypes.Clear();
        design.Prototypes.Append().Name = "left over";
        ReadPrototypeList(path, nullptr);
        EXPECT_EQ(PrototypeValues(), c.read);
    }
}
