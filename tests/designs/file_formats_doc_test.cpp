// The worked examples of docs/file-formats.md are what the writers produce
// for the values they describe, byte for byte, offsets included.
#include <regex>
#include <sstream>

#include "designs_fixture.h"
#include "part_setup.h"
#include "prototypes.h"

namespace {

// The bytes of the example block whose first line starts with `firstLine`:
// each line "OFFSET  BYTES  description" adds its bytes ("00 × 64" repeats
// one), and its OFFSET must be where those bytes start.
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
        std::istringstream tokens(m[2].str());
        std::string token;
        while (tokens >> token) {
            if (token == "×") {
                tokens >> token;
                bytes.insert(bytes.end(), std::stoul(token) - 1, bytes.back());
            } else {
                bytes.push_back(static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
            }
        }
    }
    return bytes;
}

}  // namespace

TEST_F(DesignsTest, FileFormatExamplesAreWhatTheEditorWrites) {
    PartSetup hull;
    hull.OffsetX = 40;
    hull.OffsetY = 30;
    hull.PrototypeIndex = 0;
    const int points[8][2] = {{0, 20}, {30, 0}, {50, 0}, {80, 20}, {80, 40}, {0, 0}, {0, 0}, {0, 40}};
    for (int i = 0; i < kConnections; ++i) {
        hull.ConnX[i] = points[i][0];
        hull.ConnY[i] = points[i][1];
        hull.ConnExtra[i] = 0;
    }
    ASSERT_EQ(WriteSetupFile((Folder() / "Hull.png.spset").string(), hull), 1);
    const Bytes setup = ExampleBytes("offset  bytes                                     values");
    EXPECT_EQ(setup.size(), 108u);
    EXPECT_EQ(ReadBytes(Folder() / "Hull.png.spset"), setup);

    Prototype& hullKind = design.Prototypes.Append();
    hullKind.Name = "Hull";
    hullKind.Index = 0;
    hullKind.ConnectionMask[0] = hullKind.ConnectionMask[3] = ConnectionActive | (1u << 1);
    Prototype& wing = design.Prototypes.Append();
    wing.Name = "Wing";
    wing.Index = 1;
    wing.ConnectionMask[0] = ConnectionActive | 1u;
    ASSERT_EQ(SavePrototypes((Folder() / "Prototypes.pt").string()), 1);
    const Bytes list = ExampleBytes("offset  bytes                                     field");
    EXPECT_EQ(list.size(), 218u);
    EXPECT_EQ(ReadBytes(Folder() / "Prototypes.pt"), list);
}
