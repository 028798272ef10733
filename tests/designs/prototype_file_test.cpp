#include <random>

#include "child_process.h"
#include "designs_fixture.h"
#include "part_setup.h"
#include "prototypes.h"

namespace {

class PrototypeFileTest : public DesignsTest {
protected:
    std::string Path() const { return (Folder() / "Prototypes.pt").string(); }

    // A file of count entries given as (record, name line) pairs.
    void WriteList(std::int32_t count, const std::vector<std::pair<Prototype, std::string>>& entries) {
        Bytes bytes;
        PutLong(bytes, count);
        for (const auto& [prototype, line] : entries) {
            const PrototypeRecord record = EncodePrototypeRecord(prototype);
            bytes.insert(bytes.end(), record.begin(), record.end());
            bytes.insert(bytes.end(), line.begin(), line.end());
        }
        WriteBytes(Path(), bytes);
    }
    static std::vector<std::string> PrototypeNames() {
        std::vector<std::string> names;
        for (const Prototype& prototype : PrototypeValues()) names.push_back(prototype.Name);
        return names;
    }
};

void ExpectSamePrototype(const Prototype& a, const Prototype& b) {
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.Index, b.Index);
    EXPECT_EQ(a.ConnectionMask, b.ConnectionMask);
    EXPECT_EQ(a.reserved, b.reserved);
}

}  // namespace

TEST_F(PrototypeFileTest, SeededRoundTrip) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::uint32_t> any32;
    std::uniform_int_distribution<int> byte(0, 255), length(0, 20);
    for (int round = 0; round < 20; ++round) {
        design.Prototypes.Clear();
        std::vector<Prototype> written;
        const int count = round % 26;
        for (int p = 0; p < count; ++p) {
            Prototype prototype;
            for (int c = length(rng); c > 0; --c) {
                char ch = static_cast<char>(byte(rng));
                if (ch == '\r' || ch == '\n' || ch == '\0') ch = 'x';
                prototype.Name += ch;
            }
            prototype.Index = static_cast<std::int8_t>(byte(rng));
            for (auto& mask : prototype.ConnectionMask) mask = any32(rng);
            for (auto& b : prototype.reserved) b = static_cast<std::uint8_t>(byte(rng));
            design.Prototypes.Append() = prototype;
            written.push_back(prototype);
        }
        SavePrototypes(Path());
        design.Prototypes.Clear();
        ReadPrototypeList(Path(), nullptr);
        ASSERT_EQ(design.Prototypes.Count(), count);
        for (int p = 0; p < count; ++p) ExpectSamePrototype(*design.Prototypes.At(p), written[static_cast<std::size_t>(p)]);
    }
}

TEST_F(PrototypeFileTest, CountsWithoutEntries) {
    struct Case {
        std::int32_t count;
        int expected;  // prototypes after loading a file holding just one entry
    };
    const Case cases[] = {{0, 0}, {-1, 0}, {INT32_MIN, 0}, {1, 1}, {3, 3}};
    Prototype only;
    only.Index = 0;
    only.ConnectionMask[2] = ConnectionActive | 0x5;
    for (const Case& c : cases) {
        WriteList(c.count, {{only, "hull\r\n"}});
        design.Prototypes.Clear();
        ReadPrototypeList(Path(), nullptr);
        ASSERT_EQ(design.Prototypes.Count(), c.expected) << c.count;
        if (c.expected == 0) continue;
        EXPECT_EQ(design.Prototypes.At(0)->Name, "hull");
        EXPECT_EQ(design.Prototypes.At(0)->ConnectionMask[2], ConnectionActive | 0x5);
        // Entries missing from a short file are empty prototypes.
        for (int p = 1; p < c.expected; ++p) {
            const Prototype& missing = *design.Prototypes.At(p);
            EXPECT_EQ(missing.Name, "");
            for (std::uint32_t mask : missing.ConnectionMask) EXPECT_EQ(mask, 0u);
        }
    }
}

TEST_F(PrototypeFileTest, AbsurdCountIsBounded) {
    WriteList(2000000000, {{Prototype{}, "a\r\n"}});
    ReadPrototypeList(Path(), nullptr);
    EXPECT_EQ(design.Prototypes.Count(), kMaxPrototypeEntries);
}

TEST_F(PrototypeFileTest, NameLines) {
    // An empty name, a name ended by LF alone, and a last name ended by a zero byte.
    Bytes bytes;
    PutLong(bytes, 3);
    const PrototypeRecord record = EncodePrototypeRecord(Prototype{});
    const std::string lines[] = {std::string("\r\n"), std::string("mid\n"), std::string("nul\0tail", 8)};
    for (const std::string& line : lines) {
        bytes.insert(bytes.end(), record.begin(), record.end());
        bytes.insert(bytes.end(), line.begin(), line.end());
    }
    WriteBytes(Path(), bytes);
    ReadPrototypeList(Path(), nullptr);
    ASSERT_EQ(design.Prototypes.Count(), 3);
    EXPECT_EQ(PrototypeNames(), (std::vector<std::string>{"", "mid", "nul"}));
}

TEST_F(PrototypeFileTest, ReadingReplacesTheList) {
    design.Prototypes.Append().Name = "old";
    // Missing file: the list is emptied before trying it.
    EXPECT_EQ(ReadPrototypeList(Path(), nullptr), 0);
    EXPECT_EQ(design.Prototypes.Count(), 0);

    design.Prototypes.Append().Name = "saved";
    EXPECT_EQ(SavePrototypes(Path()), 1);
    design.Prototypes.Append().Name = "unsaved";
    EXPECT_EQ(ReadPrototypeList(Path(), nullptr), 1);
    EXPECT_EQ(PrototypeNames(), (std::vector<std::string>{"saved"}));
}

TEST_F(PrototypeFileTest, NamesAreWrittenAsOneLine) {
    // A line end inside a name would shift every later entry on reading.
    design.Prototypes.Append().Name = std::string("a\r\nb\0c", 6);
    design.Prototypes.Append().Name = "second";
    SavePrototypes(Path());
    ReadPrototypeList(Path(), nullptr);
    ASSERT_EQ(design.Prototypes.Count(), 2);
    EXPECT_EQ(design.Prototypes.At(0)->Name, "abc");
    EXPECT_EQ(design.Prototypes.At(1)->Name, "second");
}

TEST_F(PrototypeFileTest, SaveWithoutFolderWritesNothing) {
    design.Prototypes.Append().Name = "first";
    EXPECT_EQ(SavePrototypes((root / "Designs" / "-1" / "Prototypes.pt").string()), 0);
    EXPECT_FALSE(std::filesystem::exists(root / "Designs" / "-1"));
    EXPECT_EQ(design.Prototypes.Count(), 1);
}

TEST(PrototypeRecord, DecodeShortSpanGivesZeros) {
    Prototype full;
    full.Index = -3;
    for (int i = 0; i < kConnections; ++i) full.ConnectionMask[i] = 0x11223344u + i;
    full.reserved.fill(0xAB);
    const PrototypeRecord record = EncodePrototypeRecord(full);
    EXPECT_EQ(record[4], 0xFD);
    EXPECT_EQ(record[5], 0x44);
    EXPECT_EQ(record[37], 0xAB);

    Prototype cut;
    cut.reserved.fill(1);
    // Cut inside the third mask: two of its bytes kept, the rest zero.
    DecodePrototypeRecord(std::span(record).first(15), cut);
    EXPECT_EQ(cut.Index, -3);
    EXPECT_EQ(cut.ConnectionMask[1], 0x11223345u);
    EXPECT_EQ(cut.ConnectionMask[2], 0x3346u);
    EXPECT_EQ(cut.ConnectionMask[7], 0u);
    for (std::uint8_t b : cut.reserved) EXPECT_EQ(b, 0);
}

TEST_F(PrototypeFileTest, SaversReportAFailedWriteAndKeepThePreviousFiles) {
    const std::string setupPath = (Folder() / "hull.png.spset").string();
    design.Prototypes.Append().Name = "old";
    ASSERT_NE(SavePrototypes(Path()), 0);
    ASSERT_NE(WriteSetupFile(setupPath, PartSetup{}), 0);
    const Bytes oldList = ReadBytes(Path()), oldSetup = ReadBytes(setupPath);
    for (int p = 0; p < 500; ++p) design.Prototypes.Append().Name = std::string(200, 'n');
    PartSetup changed;
    changed.OffsetX = 5;
    EXPECT_TRUE(PassesInChild([&] {
        LimitFileSize(60);  // both files need more than this
        return SavePrototypes(Path()) == 0 && WriteSetupFile(setupPath, changed) == 0;
    }));
    EXPECT_EQ(ReadBytes(Path()), oldList);
    EXPECT_EQ(ReadBytes(setupPath), oldSetup);
}
