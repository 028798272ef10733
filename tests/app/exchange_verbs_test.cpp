// export and import through the command line: the round trip gives back the
// very bytes the editor wrote, on the sample, the fuzz corpora and generated
// designs; a bad document or an unportable name writes nothing at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <random>

#include "command_line.h"
#include "design_exchange.h"
#include "design_json.h"
#include "design_model.h"
#include "design_verbs.h"
#include "part_setup.h"
#include "prototypes.h"
#include "scratch_folder.h"
#include "services.h"
#include "testing.h"
#include "text_bytes.h"

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void WriteAll(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

fs::path SampleFolder() { return fs::path(KEELWRIGHT_BINARY_DIR) / "Sample"; }
fs::path Corpus(const char* kind) { return fs::path(KEELWRIGHT_SOURCE_DIR) / "tests/designs/corpus" / kind; }

// Every file of a folder (not below it), name -> bytes.
std::map<std::string, std::string> FolderFiles(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadAll(entry.path());
    return files;
}

// Only the design files: what import writes.
std::map<std::string, std::string> DesignFiles(const fs::path& folder) {
    std::map<std::string, std::string> files = FolderFiles(folder);
    std::erase_if(files, [](const auto& file) {
        const std::string& name = file.first;
        return name != "Prototypes.pt" && !name.ends_with(".spset");
    });
    return files;
}

// The design written to JSON, and that JSON imported into a fresh folder.
struct RoundTrip {
    CommandLineOutcome exported, imported;
    fs::path into;
};
RoundTrip ExportThenImport(const fs::path& from, const fs::path& into) {
    RoundTrip trip;
    trip.into = into;
    const fs::path json = into.parent_path() / (into.filename().string() + ".json");
    trip.exported = HandleCommandLine({"export", from.string(), "--out", json.string()});
    fs::create_directories(into);
    if (trip.exported.exitCode == 0) trip.imported = HandleCommandLine({"import", json.string(), into.string()});
    return trip;
}

// What the editor's own Save writes for the files it reads in a folder.
std::map<std::string, std::string> EditorResave(const fs::path& from, const fs::path& into) {
    fs::create_directories(into);
    Testing_ResetServices();
    design = DesignState{};
    if (fs::exists(from / "Prototypes.pt")) {
        ReadPrototypeList((from / "Prototypes.pt").string(), nullptr);
        SavePrototypes((into / "Prototypes.pt").string());
    }
    for (const auto& [name, bytes] : FolderFiles(from)) {
        PartSetup setup;
        if (name.ends_with(".spset") && ReadSetupFile((from / name).string(), setup))
            WriteSetupFile((into / name).string(), setup);
    }
    design = DesignState{};
    Testing_ResetServices();
    return DesignFiles(into);
}

// A design made of random records, written by the editor's own writers.
void WriteRandomDesign(const fs::path& folder, std::uint32_t seed) {
    std::mt19937 random(seed);
    const auto pick = [&](std::uint32_t n) { return static_cast<std::uint32_t>(random() % n); };
    fs::create_directories(folder);
    Testing_ResetServices();
    design = DesignState{};
    const int prototypes = static_cast<int>(pick(kMaxPrototypes + 1));
    for (int p = 0; p < prototypes; ++p) {
        Prototype& prototype = design.Prototypes.Append();
        // Names in UTF-8 and in 8-bit encodings, never holding a line end or zero byte.
        const char* const names[] = {"Hull", "Fl\xc3\xbcgel", "Fl\xfcgel", "", "\xe2\x82\xac uro", "\xed\xa0\x80",
                                     "tab\there", "\xc2\x85", "caf\xe9 \x80\x9f"};
        prototype.Name = names[pick(std::size(names))] + std::to_string(p);
        prototype.Index = pick(8) == 0 ? static_cast<std::int8_t>(random()) : static_cast<std::int8_t>(p);
        for (auto& mask : prototype.ConnectionMask) {
            mask = random() & (pick(4) == 0 ? 0xFFFFFFFFu : (ConnectionActive | ((1u << std::max(prototypes, 1)) - 1)));
        }
        if (pick(4) == 0)
            for (auto& byte : prototype.reserved) byte = static_cast<std::uint8_t>(random());
    }
    if (pick(6) != 0) SavePrototypes((folder / "Prototypes.pt").string());
    const int parts = 1 + static_cast<int>(pick(12));
    for (int n = 0; n < parts; ++n) {
        PartSetup setup;
        std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX), small(-5, 300);
        auto value = [&] { return pick(5) == 0 ? any(random) : small(random); };
        setup.OffsetX = value(), setup.OffsetY = value();
        setup.PrototypeIndex = pick(3) == 0 ? value() : static_cast<std::int32_t>(pick(prototypes + 1)) - 1;
        for (int i = 0; i < kConnections; ++i)
            setup.ConnX[i] = value(), setup.ConnY[i] = value(), setup.ConnExtra[i] = pick(4) == 0 ? value() : 0;
        const std::string image = (n % 3 == 2 ? "Teil \xe4 " : "part ") + std::to_string(n) + ".png";
        // The picture need not decode: its size is then unknown.
        WriteAll(folder / image, "not a picture");
        WriteSetupFile((folder / (image + ".spset")).string(), setup);
    }
    design = DesignState{};
    Testing_ResetServices();
}

}  // namespace

TEST(ExchangeVerbs, SampleComesBackByteForByte) {
    if (!fs::exists(SampleFolder() / "Prototypes.pt")) GTEST_SKIP() << "no sample design built at " << SampleFolder();
    ScratchFolder scratch;
    const RoundTrip trip = ExportThenImport(SampleFolder(), scratch.Path() / "copy");
    ASSERT_EQ(trip.exported.exitCode, 0) << trip.exported.err;
    ASSERT_EQ(trip.imported.exitCode, 0) << trip.imported.err;
    const auto original = DesignFiles(SampleFolder());
    ASSERT_GT(original.size(), 1u);
    EXPECT_EQ(DesignFiles(trip.into), original);
    EXPECT_TRUE(trip.imported.out.starts_with("wrote " + std::to_string(original.size()) + " files")) << trip.imported.out;
}

TEST(ExchangeVerbs, GeneratedDesignsComeBackByteForByte) {
    ScratchFolder scratch;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const fs::path from = scratch.Path() / ("made" + std::to_string(seed));
        WriteRandomDesign(from, seed);
        const RoundTrip trip = ExportThenImport(from, scratch.Path() / ("back" + std::to_string(seed)));
        ASSERT_EQ(trip.exported.exitCode, 0) << trip.exported.err;
        ASSERT_EQ(trip.imported.exitCode, 0) << trip.imported.err;
        EXPECT_EQ(DesignFiles(trip.into), DesignFiles(from));
        // Exported twice, a design gives the same document.
        const std::string json = ReadAll(scratch.Path() / ("back" + std::to_string(seed) + ".json"));
        EXPECT_TRUE(IsWellFormedUtf8(json));
        EXPECT_EQ(HandleCommandLine({"export", from.string()}).out, json);
    }
}

TEST(ExchangeVerbs, CorpusFilesComeBackAsTheEditorWouldSaveThem) {
    ScratchFolder scratch;
    int serial = 0;
    for (const char* kind : {"prototypes", "spset"}) {
        for (const auto& entry : fs::directory_iterator(Corpus(kind))) {
            SCOPED_TRACE(entry.path().filename().string());
            const fs::path from = scratch.Path() / ("corpus" + std::to_string(serial++));
            fs::create_directories(from);
            if (std::string(kind) == "prototypes") {
                fs::copy_file(entry.path(), from / "Prototypes.pt");
            } else {
                WriteAll(from / "Ship.png", "");
                fs::copy_file(entry.path(), from / "Ship.png.spset");
            }
            const auto expected = EditorResave(from, from.string() + "-resaved");
            const RoundTrip trip = ExportThenImport(from, from.string() + "-back");
            ASSERT_EQ(trip.exported.exitCode, 0) << trip.exported.err;
            ASSERT_EQ(trip.imported.exitCode, 0) << trip.imported.err;
            EXPECT_EQ(DesignFiles(trip.into), expected);
        }
    }
    EXPECT_GT(serial, 10);
}

TEST(ExchangeVerbs, NamesThatAreNoUtf8TravelAsTheirBytes) {
    ScratchFolder scratch;
    Testing_ResetServices();
    design = DesignState{};
    design.Prototypes.Append().Name = "Fl\xfcgel";
    design.Prototypes.Append().Name = "Wing";
    design.Prototypes.At(1)->ConnectionMask[0] = ConnectionActive | 0x1;
    fs::create_directories("d");
    SavePrototypes("d/Prototypes.pt");
    WriteSetupFile("d/Gr\xfc\xdf.png.spset", PartSetup{});
    WriteAll("d/Gr\xfc\xdf.png", "");
    design = DesignState{};
    const CommandLineOutcome exported = HandleCommandLine({"export", "d"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_TRUE(IsWellFormedUtf8(exported.out));
    EXPECT_NE(exported.out.find("\"name\": {\n        \"hex\": \"466cfc67656c\"\n      }"), std::string::npos) << exported.out;
    EXPECT_NE(exported.out.find("\"hex\": \"4772fcdf2e706e67\""), std::string::npos) << exported.out;
    // The allowed prototype is named too, the same way.
    EXPECT_NE(exported.out.find("\"index\": 0,\n              \"name\": {\n                \"hex\": \"466cfc67656c\""), std::string::npos) << exported.out;
}

TEST(ExchangeVerbs, ExportRefusesWhatIsNoDesign) {
    ScratchFolder scratch;
    fs::create_directories("empty");
    WriteAll("file", "x");
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        const char* err;
    } cases[] = {
        {{"export"}, kVerbUnreadable, "which design folder?"},
        {{"export", "a", "b"}, kVerbUnreadable, "one design folder only"},
        {{"export", "--bogus", "a"}, kVerbUnreadable, "unknown option '--bogus'"},
        {{"export", "a", "--out"}, kVerbUnreadable, "--out needs a value"},
        {{"export", "a", "--out", ""}, kVerbUnreadable, "--out needs a file name"},
        {{"export", "missing"}, kVerbUnreadable, "no such folder"},
        {{"export", "file"}, kVerbUnreadable, "not a folder"},
        {{"export", "empty"}, kVerbUnreadable, "not a design folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        const CommandLineOutcome outcome = HandleCommandLine(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
}

TEST(ExchangeVerbs, ExportToAFileReplacesItWhole) {
    ScratchFolder scratch;
    WriteRandomDesign("d", 7);
    WriteAll("out.json", std::string(100000, 'x'));
    const CommandLineOutcome outcome = HandleCommandLine({"export", "d", "--out=out.json"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(ReadAll("out.json"), HandleCommandLine({"export", "d"}).out);
    // A file that cannot be made is reported, and nothing else is touched.
    const CommandLineOutcome failed = HandleCommandLine({"export", "d", "--out", "no/such/folder/out.json"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("cannot write"), std::string::npos) << failed.err;
}

// A document that imports well, to spoil one field at a time.
const char* const kGoodDocument = R"({
  "format": "keelwright-design", "version": 1,
  "prototypes": [
    {"index": 0, "name": "Hull", "connections": [
      {"active": true, "allows": [{"index": 1, "name": "Gun"}]}, {"active": false, "allows": []},
      {"active": false, "allows": []}, {"active": false, "allows": []}, {"active": false, "allows": []},
      {"active": false, "allows": []}, {"active": false, "allows": []}, {"active": false, "allows": []}]},
    {"index": 1, "name": {"hex": "47756e"}, "connections": [
      {"active": false, "allows": []}, {"active": false, "allows": []}, {"active": false, "allows": []},
      {"active": false, "allows": []}, {"active": false, "allows": []}, {"active": false, "allows": []},
      {"active": false, "allows": []}, {"active": false, "allows": [], "unusedBits": 3}]}
  ],
  "parts": [
    {"image": "hull.png", "width": 20, "height": 10, "prototype": 0, "offset": {"x": 10, "y": 5},
     "connections": [{"x": 10, "y": 1}, {"x": 0, "y": 0}, {"x": 0, "y": 0}, {"x": 0, "y": 0},
                     {"x": 0, "y": 0}, {"x": 0, "y": 0}, {"x": 0, "y": 0}, {"x": 0, "y": 0, "extra": -7}]},
    {"image": "gun.png", "width": null, "height": null, "prototype": 1, "offset": {"x": 3, "y": 6},
     "connections": [{"x": 0, "y": 0}, {"x": 0, "y": 0}, {"x": 0, "y": 0}, {"x": 0, "y": 0},
                     {"x": 0, "y": 0}, {"x": 0, "y": 0}, {"x": 0, "y": 0}, {"x": 0, "y": 0}]}
  ]
})";

std::string Spoilt(const std::string& from, const std::string& to) {
    std::string text = kGoodDocument;
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(ExchangeVerbs, ImportWritesTheFilesTheEditorReads) {
    ScratchFolder scratch;
    fs::create_directories("d");
    WriteAll("doc.json", kGoodDocument);
    const CommandLineOutcome outcome = HandleCommandLine({"import", "doc.json", "d"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "wrote 3 files into \"d\"\n");
    Testing_ResetServices();
    design = DesignState{};
    ASSERT_NE(ReadPrototypeList("d/Prototypes.pt", nullptr), 0);
    ASSERT_EQ(design.Prototypes.Count(), 2);
    EXPECT_EQ(design.Prototypes.At(0)->ConnectionMask[0], ConnectionActive | 0x2);
    EXPECT_EQ(design.Prototypes.At(1)->Name, "Gun");
    EXPECT_EQ(design.Prototypes.At(1)->Index, 1);
    EXPECT_EQ(design.Prototypes.At(1)->ConnectionMask[7], 3u << 25);
    PartSetup setup;
    ASSERT_NE(ReadSetupFile("d/hull.png.spset", setup), 0);
    EXPECT_EQ(setup.OffsetX, 10);
    EXPECT_EQ(setup.ConnY[0], 1);
    EXPECT_EQ(setup.ConnExtra[7], -7);
    EXPECT_EQ(fs::file_size("d/gun.png.spset"), 108u);
    design = DesignState{};
}

TEST(ExchangeVerbs, ImportRefusesBadDocumentsBeforeWritingAnything) {
    ScratchFolder scratch;
    const struct {
        std::string document;
        const char* err;  // part of the reason given
    } cases[] = {
        {"", "not JSON"},
        {"{\"format\": ", "not JSON"},
        {"[1e99999]", "not JSON"},
        {Spoilt("\"x\": 10, \"y\": 5", "\"x\": 1e400, \"y\": 5"), "not JSON"},
        {"[]", "must be an object"},
        {Spoilt("\"keelwright-design\"", "\"other\""), "format: must be"},
        {Spoilt("\"version\": 1", "\"version\": 2"), "version: must be 1"},
        {Spoilt("\"version\": 1,", "\"version\": 1, \"extra\": 0,"), "unknown field \"extra\""},
        {Spoilt("\"index\": 1, \"name\": {", "\"index\": 2, \"name\": {"), "prototypes[1].index: must be the entry's position"},
        {Spoilt("{\"index\": 1, \"name\": \"Gun\"}", "{\"index\": 24}"), "allows[0].index: must be from 0 to 23"},
        {Spoilt("{\"index\": 1, \"name\": \"Gun\"}", "{\"index\": 1}, {\"index\": 1}"), "listed twice"},
        {Spoilt("{\"index\": 1, \"name\": \"Gun\"}", "{\"index\": 1, \"name\": \"Hull\"}"), "is not the name of prototype 1"},
        {Spoilt("{\"index\": 1, \"name\": \"Gun\"}", "{\"index\": 5, \"name\": \"Gun\"}"), "does not have"},
        {Spoilt("\"name\": \"Hull\"", "\"name\": \"Hu\\nll\""), "cannot hold a line break"},
        {Spoilt("\"name\": \"Hull\"", "\"name\": \"Hu\\u0000ll\""), "cannot hold a line break or a zero byte"},
        {Spoilt("\"47756e\"", "\"47756\""), "hex digits"},
        {Spoilt("\"47756e\"", "\"4775zz\""), "hex digits"},
        {Spoilt("\"unusedBits\": 3", "\"unusedBits\": 128"), "unusedBits: must be from 0 to 127"},
        {Spoilt("{\"active\": true, \"allows\"", "{\"active\": 1, \"allows\""), "must be true or false"},
        {Spoilt("{\"active\": false, \"allows\": []}, {\"active\": false, \"allows\": [], \"unusedBits\": 3}",
                "{\"active\": false, \"allows\": [], \"unusedBits\": 3}"),
         "prototypes[1].connections: must be an array of 8 connections"},
        {Spoilt("\"x\": 10, \"y\": 5", "\"x\": 2147483648, \"y\": 5"), "offset.x: must be from -2147483648 to 2147483647"},
        {Spoilt("\"x\": 10, \"y\": 5", "\"x\": 1.5, \"y\": 5"), "offset.x: must be a whole number"},
        {Spoilt("\"x\": 10, \"y\": 5", "\"x\": \"10\", \"y\": 5"), "offset.x: must be a whole number"},
        {Spoilt("\"prototype\": 1", "\"prototype\": -2147483649"), "parts[1].prototype: must be from"},
        {Spoilt("\"extra\": -7", "\"extra\": -7, \"z\": 0"), "unknown field \"z\""},
        {Spoilt("\"width\": 20", "\"width\": -20"), "width: must be from 0"},
        {Spoilt("\"height\": 10", "\"height\": \"10\""), "parts[0].height: must be a whole number"},
        {Spoilt("\"gun.png\"", "\"hull.png\""), "listed twice"},
        // Names that would write outside the folder, or nowhere portable.
        {Spoilt("\"gun.png\"", "\"../gun.png\""), "parts[1].image: a file name cannot hold a slash"},
        {Spoilt("\"gun.png\"", "\"..\""), "cannot hold \"..\""},
        {Spoilt("\"gun.png\"", "\"gun..png\""), "cannot hold \"..\""},
        {Spoilt("\"gun.png\"", "\"sub/gun.png\""), "cannot hold a slash"},
        {Spoilt("\"gun.png\"", "\"sub\\\\gun.png\""), "cannot hold a slash"},
        {Spoilt("\"gun.png\"", "\"/tmp/gun.png\""), "cannot hold a slash"},
        {Spoilt("\"gun.png\"", "\"C:gun.png\""), "cannot start with a drive"},
        {Spoilt("\"gun.png\"", "\"a:gun.png\""), "cannot start with a drive"},
        {Spoilt("\"gun.png\"", "\"gun\\u0007.png\""), "control character"},
        {Spoilt("\"gun.png\"", "\"gun\\u0085.png\""), "control character"},
        {Spoilt("\"gun.png\"", "{\"hex\": \"67756e0a2e706e67\"}"), "control character"},
        {Spoilt("\"gun.png\"", "\"\""), "an empty file name"},
        {Spoilt("\"gun.png\"", "\".\""), "is no file name"},
    };
    int serial = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err + std::string(" #") + std::to_string(serial));
        const fs::path folder = "d" + std::to_string(serial++);
        fs::create_directories(folder);
        WriteAll(folder / "Prototypes.pt", "kept");
        WriteAll("doc.json", c.document);
        const CommandLineOutcome outcome = HandleCommandLine({"import", "doc.json", folder.string()});
        EXPECT_EQ(outcome.exitCode, kVerbUnreadable);
        EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find("nothing written"), std::string::npos) << outcome.err;
        EXPECT_EQ(FolderFiles(folder), (std::map<std::string, std::string>{{"Prototypes.pt", "kept"}}));
        EXPECT_EQ(FolderFiles(scratch.Path()).size(), 1u);  // doc.json alone
    }
}

TEST(ExchangeVerbs, ImportRefusesAWrongCommandLineOrFolder) {
    ScratchFolder scratch;
    WriteAll("doc.json", kGoodDocument);
    WriteAll("file", "x");
    fs::create_directories("d/hull.png.spset");
    const struct {
        std::vector<std::string> arguments;
        const char* err;
    } cases[] = {
        {{"import"}, "which file?"},
        {{"import", "doc.json"}, "into which design folder?"},
        {{"import", "doc.json", "a", "b"}, "one file and one design folder only"},
        {{"import", "--force", "doc.json", "d"}, "unknown option '--force'"},
        {{"import", "missing.json", "d"}, "no such file"},
        {{"import", "d", "d"}, "a folder, not a file"},
        {{"import", "doc.json", "missing"}, "no such folder"},
        {{"import", "doc.json", "file"}, "not a folder"},
        // A folder where a setup file should go stops the import before anything is written.
        {{"import", "doc.json", "d"}, "'hull.png.spset' is a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        const CommandLineOutcome outcome = HandleCommandLine(c.arguments);
        EXPECT_EQ(outcome.exitCode, kVerbUnreadable);
        EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
    }
    EXPECT_FALSE(fs::exists("d/Prototypes.pt"));
    EXPECT_FALSE(fs::exists("d/gun.png.spset"));
    EXPECT_FALSE(fs::exists("missing"));
}

TEST(ExchangeVerbs, FuzzSeedsImportOrAreRefusedWhole) {
    ScratchFolder scratch;
    int serial = 0, imported = 0;
    for (const auto& entry : fs::directory_iterator(Corpus("design_json"))) {
        SCOPED_TRACE(entry.path().filename().string());
        const fs::path folder = "d" + std::to_string(serial++);
        fs::create_directories(folder);
        const CommandLineOutcome outcome = HandleCommandLine({"import", entry.path().string(), folder.string()});
        if (outcome.exitCode == 0) {
            ++imported;
            EXPECT_EQ(outcome.out, "wrote " + std::to_string(FolderFiles(folder).size()) +
                                       (FolderFiles(folder).size() == 1 ? " file" : " files") + " into \"" +
                                       folder.string() + "\"\n");
        } else {
            EXPECT_EQ(outcome.exitCode, kVerbUnreadable) << outcome.err;
            EXPECT_TRUE(FolderFiles(folder).empty());
        }
    }
    EXPECT_GT(imported, 2);
}

// Reading borrows the model's prototype list and gives it back empty, so
// nothing of one design lingers into the next; writing leaves the model be.
TEST(ExchangeVerbs, ReadingAndWritingLeaveTheModelsListEmpty) {
    ScratchFolder scratch;
    fs::create_directories("d");
    fs::create_directories("e");
    WriteAll("doc.json", kGoodDocument);
    ASSERT_EQ(HandleCommandLine({"import", "doc.json", "d"}).exitCode, 0);
    WriteAll("d/hull.png", "");
    WriteAll("d/gun.png", "");
    Testing_ResetServices();
    ASSERT_NE(Sprite_Init(), 0);
    design = DesignState{};
    design.Prototypes.Append().Name = "left over";
    DesignDocument document;
    ASSERT_EQ(ReadDesignDocument("d", document).exitCode, 0);
    EXPECT_EQ(document.prototypes.size(), 2u);
    EXPECT_EQ(document.parts.size(), 2u);
    EXPECT_EQ(design.Prototypes.Count(), 0);
    design.Prototypes.Append().Name = "left over";
    ASSERT_EQ(WriteDesignDocument(document, "e").exitCode, 0);
    ASSERT_EQ(design.Prototypes.Count(), 1);
    EXPECT_EQ(design.Prototypes.At(0)->Name, "left over");
    EXPECT_EQ(DesignFiles("e"), DesignFiles("d"));
    design = DesignState{};
    Testing_ResetServices();
}
