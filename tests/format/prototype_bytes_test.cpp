#include <climits>

#include "format_fixture.h"
#include "prototype_bytes.h"

namespace {

Prototype Sample(const std::string& name, std::int8_t index) {
    Prototype p;
    p.Name = name;
    p.Index = index;
    for (int i = 0; i < kConnections; ++i) p.ConnectionMask[static_cast<std::size_t>(i)] = 0x01000000u * static_cast<std::uint32_t>(i) + 0x00010203u;
    for (std::size_t b = 0; b < p.reserved.size(); ++b) p.reserved[b] = static_cast<std::uint8_t>(0xA0 + b);
    return p;
}

// One record, one name line.
void PutEntry(Bytes& bytes, const Prototype& p, const std::string& line) {
    const PrototypeRecord record = EncodePrototypeRecord(p);
    bytes.insert(bytes.end(), record.begin(), record.end());
    PutText(bytes, line);
}

}  // namespace

TEST(PrototypeBytes, DamageShowsInTheFlagsAndNeverStopsTheReading) {
    const Prototype one = Sample("one", 0);
    Bytes whole;
    PutLong(whole, 1);
    PutEntry(whole, one, "one\r\n");
    Bytes countOnly;
    PutLong(countOnly, 1);
    Bytes cutRecord(whole.begin(), whole.begin() + 50);
    Bytes extra = whole;
    extra.push_back('!');
    Bytes negative;
    PutLong(negative, 0xFFFFFFFFu);
    Bytes huge;
    PutLong(huge, INT_MAX);
    PutEntry(huge, one, "one\r\n");
    const struct Case {
        const char* what;
        Bytes bytes;
        std::size_t entries;
        std::int32_t stored;
        bool shortFile, trailing;
    } cases[] = {
        {"no bytes", {}, 0, 0, true, false},
        {"a cut count", {5, 0}, 5, 5, true, false},
        {"no entries", {0, 0, 0, 0}, 0, 0, false, false},
        {"a count without its entry", countOnly, 1, 1, true, false},
        {"a record cut short", cutRecord, 1, 1, true, false},
        {"whole", whole, 1, 1, false, false},
        {"a byte after the last entry", extra, 1, 1, false, true},
        {"a negative count", negative, 0, -1, false, false},
        {"an absurd count", huge, kMaxPrototypeEntries, INT_MAX, true, false},
    };
    for (const Case& c : cases) {
        const PrototypeList list = DecodePrototypeList(c.bytes);
        EXPECT_EQ(list.prototypes.size(), c.entries) << c.what;
        EXPECT_EQ(list.storedCount, c.stored) << c.what;
        EXPECT_EQ(list.shortFile, c.shortFile) << c.what;
        EXPECT_EQ(list.trailingData, c.trailing) << c.what;
    }
    // The cut record keeps its 46 bytes after the count; the rest reads as zero.
    const PrototypeList cut = DecodePrototypeList(cutRecord);
    EXPECT_EQ(cut.prototypes[0].Index, 0);
    EXPECT_EQ(cut.prototypes[0].ConnectionMask[0], one.ConnectionMask[0]);
    EXPECT_EQ(cut.prototypes[0].reserved[63], 0);
}

TEST(PrototypeBytes, NameLinesEndAtLfCrLfALoneCrOrAZeroByte) {
    Bytes bytes;
    PutLong(bytes, 5);
    for (const std::string& line : {std::string("crlf\r\n"), std::string("lf\n"), std::string("cr\r"), std::string("nul\0", 4),
                                    std::string("last")})
        PutEntry(bytes, Prototype{}, line);
    const PrototypeList list = DecodePrototypeList(bytes);
    ASSERT_EQ(list.prototypes.size(), 5u);
    std::vector<std::string> names;
    for (const Prototype& p : list.prototypes) names.push_back(p.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"crlf", "lf", "cr", "nul", "last"}));
    EXPECT_FALSE(list.shortFile) << "the last line may end with the file";
}

TEST(PrototypeBytes, EightBitNamesAreKeptAsTheirBytes) {
    const std::string latin1 = "Kr\xE4n";
    const PrototypeList back = DecodePrototypeList(EncodePrototypeList(std::vector<Prototype>{Sample(latin1, 0)}));
    ASSERT_EQ(back.prototypes.size(), 1u);
    EXPECT_EQ(back.prototypes[0].Name, latin1);
    EXPECT_EQ(CleanPrototypeName(std::string("\r\na\0", 4)), "a");
}
