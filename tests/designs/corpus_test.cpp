// Replays the fuzzers' regression corpus through both readers and checks the
// results against a plain reading of the same bytes.
#include <algorithm>

#include "designs_fixture.h"
#include "part_setup.h"
#include "prototypes.h"

namespace {

const std::filesystem::path kCorpus = std::filesystem::path(KEELWRIGHT_SOURCE_DIR) / "tests/designs/corpus";

std::vector<std::filesystem::path> CorpusFiles(const char* kind) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus / kind))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Byte k of the file, zero past its end.
std::uint8_t ByteAt(const Bytes& bytes, std::size_t k) { return k < bytes.size() ? bytes[k] : 0; }
std::int32_t LongAt(const Bytes& bytes, std::size_t k) {
    std::uint32_t v = 0;
    for (std::size_t b = 0; b < 4; ++b) v |= std::uint32_t{ByteAt(bytes, k + b)} << (8 * b);
    return static_cast<std::int32_t>(v);
}

// What a line read gives at `at`, moving `at` past the line end.
std::string LineAt(const Bytes& bytes, std::size_t& at) {
    std::string line;
    while (at < bytes.size()) {
        const char c = static_cast<char>(bytes[at++]);
        if (c == '\n' || c == '\0') break;
        if (c == '\r') {
            if (at < bytes.size() && bytes[at] == '\n') ++at;
            break;
        }
        line += c;
    }
    return line;
}

}  // namespace

TEST_F(DesignsTest, PrototypeCorpusReadsAsItsBytesSay) {
    const auto files = CorpusFiles("prototypes");
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const Bytes bytes = ReadBytes(file);
        const std::filesystem::path copy = Folder() / "Prototypes.pt";
        std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
        PrototypeFileReading reading;
        ReadPrototypeList(copy.string(), &reading);
        // The editor's reader and the format's agree on every byte.
        const PrototypeList decoded = DecodePrototypeList(bytes);
        EXPECT_EQ(PrototypeValues(), decoded.prototypes);
        EXPECT_EQ(reading.storedCount, decoded.storedCount);
        EXPECT_EQ(reading.shortFile != 0, decoded.shortFile);
        EXPECT_EQ(reading.trailingData != 0, decoded.trailingData);

        const std::int32_t count = LongAt(bytes, 0);
        const int expected = count < 0 ? 0 : std::min(count, kMaxPrototypeEntries);
        ASSERT_EQ(design.Prototypes.Count(), expected);
        std::size_t at = 4;
        for (int p = 0; p < expected; ++p) {
            const Prototype& prototype = *design.Prototypes.At(p);
            EXPECT_EQ(prototype.Index, static_cast<std::int8_t>(ByteAt(bytes, at + 4))) << p;
            for (int i = 0; i < kConnections; ++i)
                EXPECT_EQ(prototype.ConnectionMask[i], static_cast<std::uint32_t>(LongAt(bytes, at + 5 + 4 * i)));
            EXPECT_EQ(prototype.reserved[63], ByteAt(bytes, at + 100)) << p;
            at = std::min(at + kPrototypeRecordSize, bytes.size());
            EXPECT_EQ(prototype.Name, LineAt(bytes, at)) << p;
        }
        // Whatever was read saves and reads back the same, as the format writes it.
        SavePrototypes(copy.string());
        EXPECT_EQ(ReadBytes(copy), EncodePrototypeList(decoded.prototypes));
        std::vector<Prototype> first(static_cast<std::size_t>(expected));
        for (int p = 0; p < expected; ++p) first[static_cast<std::size_t>(p)] = *design.Prototypes.At(p);
        ReadPrototypeList(copy.string(), nullptr);
        ASSERT_EQ(design.Prototypes.Count(), expected);
        for (int p = 0; p < expected; ++p) {
            EXPECT_EQ(design.Prototypes.At(p)->Name, first[static_cast<std::size_t>(p)].Name);
            EXPECT_EQ(design.Prototypes.At(p)->ConnectionMask, first[static_cast<std::size_t>(p)].ConnectionMask);
            EXPECT_EQ(design.Prototypes.At(p)->reserved, first[static_cast<std::size_t>(p)].reserved);
        }
    }
}

TEST_F(DesignsTest, SetupCorpusReadsAsItsBytesSay) {
    const auto files = CorpusFiles("spset");
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const Bytes bytes = ReadBytes(file);
        PartSetup setup;
        ASSERT_EQ(ReadSetupFile(file.string(), setup), 1);
        EXPECT_EQ(setup.OffsetX, LongAt(bytes, 0));
        EXPECT_EQ(setup.OffsetY, LongAt(bytes, 4));
        EXPECT_EQ(setup.PrototypeIndex, LongAt(bytes, 8));
        for (int i = 0; i < kConnections; ++i) {
            EXPECT_EQ(setup.ConnX[i], LongAt(bytes, 12 + 12 * i));
            EXPECT_EQ(setup.ConnY[i], LongAt(bytes, 16 + 12 * i));
            EXPECT_EQ(setup.ConnExtra[i], LongAt(bytes, 20 + 12 * i));
        }
        // The format reads the same bytes to the same setup.
        EXPECT_EQ(DecodePartSetup(bytes), setup);
    }
}
