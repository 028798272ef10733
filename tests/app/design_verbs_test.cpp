// The check and render verbs on small designs made in a scratch folder, and
// render on the sample design: findings, exit codes, determinism, bounds.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "command_line.h"
#include "design_check.h"
#include "design_model.h"
#include "design_verbs.h"
#include "part_setup.h"
#include "prototypes.h"
#include "child_process.h"
#include "render_pictures.h"
#include "scratch_folder.h"
#include "services.h"
#include "ship_growth.h"
#include "ship_assembly.h"
#include "testing.h"

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void WriteAll(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

fs::path SampleFolder() { return fs::path(KEELWRIGHT_BINARY_DIR) / "Sample"; }

// A part of a small design: its picture size and setup.
struct MiniPart {
    std::string file;
    int width = 20, height = 10;
    PartSetup setup;
};

// A design that is sound: Hull (0) takes a Gun (1) at connection 1; Gun takes nothing.
struct MiniDesign {
    std::vector<Prototype> prototypes;
    std::vector<MiniPart> parts;
    MiniDesign() {
        Prototype hull, gun;
        hull.Name = "Hull", hull.Index = 0, hull.ConnectionMask[0] = ConnectionActive | 0x2;
        gun.Name = "Gun", gun.Index = 1;
        prototypes = {hull, gun};
        MiniPart h{"hull.png", 20, 10, {}}, g{"gun.png", 6, 6, {}};
        h.setup.PrototypeIndex = 0, h.setup.ConnX[0] = 10, h.setup.ConnY[0] = 1;
        g.setup.PrototypeIndex = 1, g.setup.OffsetX = 3, g.setup.OffsetY = 6;
        parts = {h, g};
    }
    // Writes pictures, setups and "Prototypes.pt" into a folder, with the services to hand.
    void Write(const fs::path& folder) const {
        fs::create_directories(folder);
        Testing_ResetServices();
        ASSERT_NE(Sprite_Init(), 0);
        for (const MiniPart& part : parts) {
            const int image = Image_Create(kServiceAuto, part.width, part.height);
            ASSERT_NE(image, 0);
            ASSERT_NE(Draw_Begin(Draw_ImageOutput(image)), 0);
            Draw_Box(0, 0, part.width, part.height, 0x4080C0);
            Draw_End();
            ASSERT_NE(Image_Save(image, (folder / part.file).string(), kPngEncoder), 0);
            Image_Free(image);
            ASSERT_NE(WriteSetupFile((folder / (part.file + ".spset")).string(), part.setup), 0);
        }
        design = DesignState{};
        for (const Prototype& p : prototypes) design.Prototypes.Append() = p;
        ASSERT_NE(SavePrototypes((folder / "Prototypes.pt").string()), 0);
        design = DesignState{};
        Testing_ResetServices();
    }
};

// A figure of /proc/self/status ("VmRSS:", "VmHWM:"), in bytes.
std::int64_t StatusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == field && status >> word) return std::stoll(word) * 1024;
    return -1;
}

std::multiset<std::string> KindsOf(const CommandLineOutcome& outcome) {
    std::multiset<std::string> kinds;
    std::size_t at = 0;
    while ((at = outcome.out.find("\"kind\":\"", at)) != std::string::npos) {
        at += 8;
        kinds.insert(outcome.out.substr(at, outcome.out.find('"', at) - at));
    }
    return kinds;
}

}  // namespace

TEST(CheckVerb, EachKindOfFindingIsCaught) {
    ScratchFolder scratch;
    const struct {
        const char* kind;  // the finding expected ("" = none at all)
        void (*spoil)(MiniDesign&, const fs::path&);  // applied after/before writing, as each needs
        bool afterWriting;
    } cases[] = {
        {"", [](MiniDesign&, const fs::path&) {}, false},
        {"missing-prototype", [](MiniDesign& d, const fs::path&) { d.parts[1].setup.PrototypeIndex = 7; }, false},
        {"missing-prototype", [](MiniDesign& d, const fs::path&) { d.parts[1].setup.PrototypeIndex = -1; }, false},
        {"undecodable-picture", [](MiniDesign&, const fs::path& f) { WriteAll(f / "gun.png", "\x89PNG broken"); }, true},
        {"damaged-setup", [](MiniDesign&, const fs::path& f) { fs::resize_file(f / "gun.png.spset", 12); }, true},
        {"damaged-prototype-list",
         [](MiniDesign&, const fs::path& f) { WriteAll(f / "Prototypes.pt", ReadAll(f / "Prototypes.pt") + "xyz"); }, true},
        {"damaged-prototype-list",
         [](MiniDesign&, const fs::path& f) { fs::resize_file(f / "Prototypes.pt", 150); }, true},
        {"damaged-prototype-list",
         [](MiniDesign&, const fs::path& f) {
             std::string bytes = ReadAll(f / "Prototypes.pt");
             bytes[3] = '\x80';  // a negative count
             WriteAll(f / "Prototypes.pt", bytes);
         }, true},
        {"missing-prototype-list", [](MiniDesign&, const fs::path& f) { fs::remove(f / "Prototypes.pt"); }, true},
        {"no-prototypes", [](MiniDesign&, const fs::path& f) { WriteAll(f / "Prototypes.pt", std::string(4, '\0')); }, true},
        {"prototype-without-part", [](MiniDesign& d, const fs::path&) { d.parts.pop_back(); }, false},
        {"unreachable-prototype", [](MiniDesign& d, const fs::path&) { d.prototypes[0].ConnectionMask[0] = ConnectionActive; }, false},
        {"connection-allows-nothing",
         [](MiniDesign& d, const fs::path&) { d.prototypes[0].ConnectionMask[0] = ConnectionActive | 0x2 | 0x800000; d.prototypes[0].ConnectionMask[2] = ConnectionActive | 0x4; d.parts[0].setup.ConnX[2] = 5; }, false},
        {"connection-outside-picture", [](MiniDesign& d, const fs::path&) { d.parts[0].setup.ConnX[0] = 21; }, false},
        {"connection-outside-picture", [](MiniDesign& d, const fs::path&) { d.parts[0].setup.ConnY[0] = -1; }, false},
        // A corner is a place like any other; only past the picture's edges is a point lost.
        {"", [](MiniDesign& d, const fs::path&) { d.parts[0].setup.ConnX[0] = 0, d.parts[0].setup.ConnY[0] = 0, d.parts[1].setup.OffsetX = 6; }, false},
        {"offset-outside-picture", [](MiniDesign& d, const fs::path&) { d.parts[1].setup.OffsetY = 7; }, false},
        {"offset-outside-picture", [](MiniDesign& d, const fs::path&) { d.parts[0].setup.OffsetX = -1; }, false},
        {"unsaveable-name", [](MiniDesign& d, const fs::path&) { d.prototypes[1].Name = "Gun\t2"; }, false},
        {"unsaveable-name", [](MiniDesign& d, const fs::path&) { d.prototypes[1].Name = "Gun\xff"; }, false},
        {"duplicate-name", [](MiniDesign& d, const fs::path&) { d.prototypes[1].Name = "Hull"; }, false},
        {"link-leaves-folder",
         [](MiniDesign&, const fs::path& f) {
             fs::rename(f / "gun.png.spset", f.parent_path() / (f.filename().string() + "-gun.spset"));
             fs::create_symlink(f.parent_path() / (f.filename().string() + "-gun.spset"), f / "gun.png.spset");
         }, true},
        // 250 bytes: with ".spset" longer than a file name can be.
        {"setup-name-too-long", [](MiniDesign&, const fs::path& f) { WriteAll(f / (std::string(246, 'n') + ".png"), "x"); }, true},
    };
    int serial = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " #" + std::to_string(serial));
        const fs::path folder = scratch.Path() / ("d" + std::to_string(serial++));
        MiniDesign mini;
        if (!c.afterWriting) c.spoil(mini, folder);
        mini.Write(folder);
        if (c.afterWriting) c.spoil(mini, folder);
        const CommandLineOutcome json = HandleCommandLine({"check", folder.string(), "--json"});
        const CommandLineOutcome text = HandleCommandLine({"check", folder.string()});
        const std::multiset<std::string> kinds = KindsOf(json);
        if (std::string(c.kind).empty()) {
            EXPECT_EQ(json.exitCode, 0) << json.out;
            EXPECT_TRUE(kinds.empty()) << json.out;
            EXPECT_EQ(text.out, "0 findings in 2 part images and 2 prototypes\n");
        } else {
            EXPECT_EQ(json.exitCode, kVerbFindings) << json.out;
            EXPECT_TRUE(kinds.contains(c.kind)) << json.out;
            EXPECT_EQ(text.exitCode, kVerbFindings);
            // One line per finding plus the summary, in both forms.
            EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), std::count(json.out.begin(), json.out.end(), '\n'));
            EXPECT_TRUE(Has(json.out, "{\"summary\":{\"findings\":" + std::to_string(kinds.size())));
        }
        EXPECT_EQ(json.err, "");
        // Every JSON line stays printable ASCII or UTF-8 without control characters.
        for (char ch : json.out) EXPECT_TRUE(ch == '\n' || static_cast<unsigned char>(ch) >= 0x20);
    }
}

TEST(CheckVerb, APrototypeListLinkedOutOfTheFolderIsAFindingNeverRead) {
    ScratchFolder scratch;
    MiniDesign secret;
    secret.prototypes[1].Name = "SECRET";
    secret.prototypes[0].ConnectionMask[0] = ConnectionActive | 0x1;  // SECRET unreachable: a finding names it
    secret.Write(scratch.Path() / "private");
    MiniDesign().Write(scratch.Path() / "d");
    fs::remove(scratch.Path() / "d" / "Prototypes.pt");
    fs::create_symlink(scratch.Path() / "private" / "Prototypes.pt", scratch.Path() / "d" / "Prototypes.pt");
    const CommandLineOutcome json = HandleCommandLine({"check", "d", "--json"});
    EXPECT_TRUE(KindsOf(json).contains("link-leaves-folder")) << json.out;
    EXPECT_FALSE(Has(json.out, "SECRET")) << json.out;
    // A link to a name of the same folder is read as the file it names.
    fs::copy_file(scratch.Path() / "private" / "Prototypes.pt", scratch.Path() / "d" / "list.pt");
    fs::remove(scratch.Path() / "d" / "Prototypes.pt");
    fs::create_symlink("list.pt", scratch.Path() / "d" / "Prototypes.pt");
    EXPECT_TRUE(Has(HandleCommandLine({"check", "d", "--json"}).out, "SECRET"));
}

TEST(CheckVerb, PicturesOverTheBudgetAreFindings) {
    ScratchFolder scratch;
    MiniDesign().Write(scratch.Path() / "d");
    Picture_SetBudget(300);  // the 6 x 6 gun fits, the 20 x 10 hull does not
    const CommandLineOutcome json = HandleCommandLine({"check", "d", "--json"});
    EXPECT_EQ(KindsOf(json).count("picture-over-budget"), 1u) << json.out;
    EXPECT_TRUE(Has(json.out, "hull.png")) << json.out;
    EXPECT_FALSE(KindsOf(json).contains("undecodable-picture")) << json.out;
    EXPECT_TRUE(KindsOf(HandleCommandLine({"check", "d", "--json"})).empty()) << "the budget was the run's only";
}

TEST(RenderVerb, LinksInTheOutFolderAreReplacedNeverWrittenThrough) {
    ScratchFolder scratch;
    MiniDesign().Write(scratch.Path() / "d");
    fs::create_directories("o");
    WriteAll("private", "mine");
    fs::permissions("private", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(scratch.Path() / "private", "o/d-seed1-0000.png");
    fs::create_symlink(scratch.Path() / "made", "o/d-seed1-sheet.png");
    for (int run = 0; run < 2; ++run) {
        const CommandLineOutcome outcome = HandleCommandLine({"render", "d", "--count", "1", "--seed", "1", "--out", "o"});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    }
    EXPECT_EQ(ReadAll("private"), "mine");
    EXPECT_FALSE(fs::exists("made"));
    int files = 0;
    for (const auto& entry : fs::directory_iterator("o")) {
        EXPECT_FALSE(fs::is_symlink(entry.symlink_status())) << entry.path();
        EXPECT_NE(entry.path().filename().string().rfind(".kw-save-", 0), 0u) << entry.path();
        ++files;
    }
    EXPECT_EQ(files, 3);  // the ship, its small copy and the sheet
}

TEST(CheckVerb, FindingsNameTheFileAndTheThing) {
    ScratchFolder scratch;
    MiniDesign mini;
    mini.parts[1].setup.PrototypeIndex = 9;
    mini.prototypes[0].ConnectionMask[0] = ConnectionActive | 0x1;  // a cycle: Hull on Hull
    mini.parts[0].setup.ConnX[0] = 99;
    mini.Write(scratch.Path() / "d");
    const CommandLineOutcome text = HandleCommandLine({"check", (scratch.Path() / "d").string()});
    EXPECT_TRUE(Has(text.out, "gun.png.spset: prototype 9 does not exist (the design has 2)\n")) << text.out;
    EXPECT_TRUE(Has(text.out, "Prototypes.pt: prototype 1 \"Gun\" can never be attached")) << text.out;
    EXPECT_TRUE(Has(text.out, "Prototypes.pt: prototype 1 \"Gun\" has no part image")) << text.out;

    // A file name that would break the line is shown quoted.
    fs::rename(scratch.Path() / "d" / "hull.png", scratch.Path() / "d" / "hu\nll.png");
    fs::rename(scratch.Path() / "d" / "hull.png.spset", scratch.Path() / "d" / "hu\nll.png.spset");
    const CommandLineOutcome quoted = HandleCommandLine({"check", (scratch.Path() / "d").string()});
    EXPECT_TRUE(Has(quoted.out, "\"hu\\x0all.png.spset\": connection 1 (99, 1) lies outside the 20 x 10 picture\n")) << quoted.out;
}

TEST(CheckVerb, NamesDifferingOnlyInCaseComeInByteOrder) {
    ScratchFolder scratch;
    MiniDesign mini;
    for (const char* name : {"ab.png", "aB.png", "AB.png", "Ab.png"}) {
        MiniPart part{name, 4, 4, {}};
        part.setup.PrototypeIndex = 9;
        mini.parts.push_back(part);
    }
    mini.Write("d");
    const CommandLineOutcome text = HandleCommandLine({"check", "d"});
    const std::size_t at[] = {text.out.find("AB.png.spset"), text.out.find("Ab.png.spset"), text.out.find("aB.png.spset"),
                              text.out.find("ab.png.spset")};
    for (std::size_t k = 0; k < 4; ++k) ASSERT_NE(at[k], std::string::npos) << text.out;
    EXPECT_TRUE(at[0] < at[1] && at[1] < at[2] && at[2] < at[3]) << text.out;
}

TEST(CheckVerb, UnreadableFoldersAndWrongCommandLines) {
    ScratchFolder scratch;
    fs::create_directories("empty");
    WriteAll("file", "x");
    fs::create_directories("pictures");
    WriteAll("pictures/a.png", "x");  // no setup: not a part image of a design
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        const char* err;
    } cases[] = {
        {{"check", "missing"}, kVerbUnreadable, "\"missing\": no such folder"},
        {{"check", "file"}, kVerbUnreadable, "\"file\": not a folder"},
        {{"check", "empty"}, kVerbUnreadable, "not a design folder"},
        {{"check", "pictures"}, kVerbUnreadable, "not a design folder"},
        {{"check", ""}, kVerbUnreadable, "no such folder"},
        {{"check"}, kVerbUnreadable, "which design folder?"},
        {{"check", "a", "b"}, kVerbUnreadable, "one design folder only"},
        {{"check", "--bogus", "a"}, kVerbUnreadable, "unknown option '--bogus'"},
    };
    for (const auto& c : cases) {
        const CommandLineOutcome outcome = HandleCommandLine(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments.back();
        EXPECT_TRUE(Has(outcome.err, c.err)) << outcome.err;
    }
    EXPECT_TRUE(Has(HandleCommandLine({"--help"}).out, "Each ship has at most 256 parts."));
}

// A "\\" in a folder named on the command line is part of its name, never a separator.
TEST(DesignVerbs, FoldersAreTakenAsTheyAreNamed) {
    ScratchFolder scratch;
    MiniDesign().Write("made");
    fs::rename("made", "de\\sign");
    fs::create_directories("de/sign");  // where a translated name would lead
    const CommandLineOutcome check = HandleCommandLine({"check", "de\\sign"});
    EXPECT_EQ(check.exitCode, 0) << check.err << check.out;
    const CommandLineOutcome render =
        HandleCommandLine({"render", "de\\sign", "--count", "1", "--seed", "1", "--out", "o\\ut"});
    ASSERT_EQ(render.exitCode, 0) << render.err;
    EXPECT_TRUE(fs::is_directory("o\\ut"));
    EXPECT_FALSE(fs::exists("o"));
    EXPECT_TRUE(fs::is_empty("de/sign"));
}

TEST(RenderVerb, SameSeedSameBytesAndShipsIndependentOfCount) {
    ScratchFolder scratch;
    const std::string sample = SampleFolder().string();
    ASSERT_TRUE(fs::exists(SampleFolder() / "Prototypes.pt")) << "the sample design is built with the project";
    auto render = [&](const char* out, const char* count, const char* seed) {
        return HandleCommandLine({"render", sample, "--count", count, "--seed", seed, "--size=tiny", "--out", out});
    };
    const CommandLineOutcome first = render("a", "4", "42");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_TRUE(Has(first.out, "wrote 4 of 4 ships (tiny)"));
    ASSERT_EQ(render("b", "4", "42").exitCode, 0);
    SetRenderPictureBudget(1);  // every picture put back once its ship is drawn
    ASSERT_EQ(render("e", "4", "42").exitCode, 0);
    SetRenderPictureBudget(0);
    ASSERT_EQ(render("c", "3", "42").exitCode, 0);
    ASSERT_EQ(render("d", "4", "43").exitCode, 0);

    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator("a")) names.insert(entry.path().filename().string());
    const std::set<std::string> expected = {"Sample-seed42-0000.png", "Sample-seed42-0000-tiny.png", "Sample-seed42-0001.png",
                                            "Sample-seed42-0001-tiny.png", "Sample-seed42-0002.png", "Sample-seed42-0002-tiny.png",
                                            "Sample-seed42-0003.png", "Sample-seed42-0003-tiny.png", "Sample-seed42-sheet.png"};
    EXPECT_EQ(names, expected);
    for (const std::string& name : names) {
        EXPECT_EQ(ReadAll(fs::path("a") / name), ReadAll(fs::path("b") / name)) << name;
        EXPECT_EQ(ReadAll(fs::path("a") / name), ReadAll(fs::path("e") / name)) << name;
    }
    EXPECT_EQ(ReadAll("a/Sample-seed42-0002.png"), ReadAll("c/Sample-seed42-0002.png"));
    int differing = 0;
    for (int k = 0; k < 4; ++k) {
        const std::string n = "-000" + std::to_string(k) + ".png";
        differing += ReadAll("a/Sample-seed42" + n) != ReadAll("d/Sample-seed43" + n);
    }
    EXPECT_GE(differing, 3);

    // Sizes: the canvas, the size class, and a sheet of 2 x 2 half-size cells.
    Testing_ResetServices();
    ASSERT_NE(Sprite_Init(), 0);
    const struct { const char* file; int w, h; } sizes[] = {
        {"a/Sample-seed42-0001.png", 370, 290}, {"a/Sample-seed42-0001-tiny.png", 24, 18}, {"a/Sample-seed42-sheet.png", 376, 296}};
    for (const auto& s : sizes) {
        const int image = Image_Load(kServiceAuto, s.file, 0);
        ASSERT_NE(image, 0) << s.file;
        EXPECT_EQ(Image_Width(image), s.w) << s.file;
        EXPECT_EQ(Image_Height(image), s.h) << s.file;
    }
    Testing_ResetServices();
    // The sheet is opaque, so its file carries no alpha channel (colour type 2 in the header).
    const auto sheet = ReadAll("a/Sample-seed42-sheet.png");
    ASSERT_GT(sheet.size(), 25u);
    EXPECT_EQ(sheet[25], 2);
}

// The contact sheet, written a row of cells at a time as the ships come
// back: each cell is its ship halved, the last row half full, the rest the
// sheet's background.
TEST(RenderVerb, EachSheetCellIsItsShipHalved) {
    ScratchFolder scratch;
    const std::string sample = SampleFolder().string();
    ASSERT_TRUE(fs::exists(SampleFolder() / "Prototypes.pt")) << "the sample design is built with the project";
    const CommandLineOutcome run =
        HandleCommandLine({"render", sample, "--count", "5", "--seed", "11", "--jobs", "2", "--out", "s"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Testing_ResetServices();
    ASSERT_NE(Sprite_Init(), 0);
    constexpr int kColumns = 3, kGap = 2, kCellW = 185, kCellH = 145;
    const int sheet = Image_Load(kServiceAuto, "s/Sample-seed11-sheet.png", 0);
    ASSERT_NE(sheet, 0);
    ASSERT_EQ(Image_Width(sheet), kGap + kColumns * (kCellW + kGap));
    ASSERT_EQ(Image_Height(sheet), kGap + 2 * (kCellH + kGap));
    const auto pixelOf = [](int image, int x, int y) {
        Draw_Begin(Draw_ImageOutput(image));
        const int colour = Draw_Point(x, y);
        Draw_End();
        return colour;
    };
    for (int k = 0; k < 6; ++k) {
        const int left = kGap + (k % kColumns) * (kCellW + kGap), top = kGap + (k / kColumns) * (kCellH + kGap);
        int ship = 0;
        if (k < 5) {
            ship = Image_Load(kServiceAuto, "s/Sample-seed11-000" + std::to_string(k) + ".png", 0);
            ASSERT_NE(ship, 0) << k;
            ASSERT_NE(Image_Resize(ship, kCellW, kCellH, 0), 0);
        }
        int wrong = 0;
        for (int y = 0; y < kCellH; y += 3)
            for (int x = 0; x < kCellW; x += 3)
                wrong += pixelOf(sheet, left + x, top + y) != (ship ? pixelOf(ship, x, y) : 0x303030);
        EXPECT_EQ(wrong, 0) << "cell " << k;
        if (ship) Image_Free(ship);
    }
    EXPECT_EQ(pixelOf(sheet, 0, 0), 0x303030);
    EXPECT_EQ(pixelOf(sheet, Image_Width(sheet) - 1, Image_Height(sheet) - 1), 0x303030);
    Testing_ResetServices();
}

// Workers draw and write the ships; which one draws a ship changes no byte,
// even where a part found broken on the way changes the later ships.
TEST(RenderVerb, FilesDoNotDependOnTheNumberOfWorkers) {
    ScratchFolder scratch;
    const std::string sample = SampleFolder().string();
    ASSERT_TRUE(fs::exists(SampleFolder() / "Prototypes.pt")) << "the sample design is built with the project";
    fs::copy(sample, "sample", fs::copy_options::recursive);
    // A part picture that does not decode: found by some ship, left out of the later ones.
    std::vector<std::string> pictures;
    for (const auto& entry : fs::directory_iterator("sample"))
        if (entry.path().extension() == ".png") pictures.push_back(entry.path().string());
    std::sort(pictures.begin(), pictures.end());
    ASSERT_GT(pictures.size(), 3u);
    WriteAll(pictures[3], "\x89PNG broken");
    const char* const jobs[] = {"1", "2", "3", "7"};
    for (const char* j : jobs) {
        const CommandLineOutcome outcome = HandleCommandLine(
            {"render", "sample", "--count", "9", "--seed", "5", "--size=small", "--jobs", j, "--out", std::string("out") + j});
        ASSERT_EQ(outcome.exitCode, 0) << j << ": " << outcome.err;
        EXPECT_TRUE(Has(outcome.out, "wrote 9 of 9 ships (small)")) << outcome.out;
    }
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator("out1")) names.insert(entry.path().filename().string());
    EXPECT_EQ(names.size(), 2u * 9 + 1);
    for (const char* j : jobs) {
        std::set<std::string> theirs;
        for (const auto& entry : fs::directory_iterator(std::string("out") + j)) theirs.insert(entry.path().filename().string());
        EXPECT_EQ(theirs, names) << j;
        for (const std::string& name : names)
            EXPECT_EQ(ReadAll(fs::path("out1") / name), ReadAll(fs::path(std::string("out") + j) / name)) << j << " " << name;
    }
}

TEST(RenderVerb, BadInputIsRefusedAndNothingIsWrittenElsewhere) {
    ScratchFolder scratch;
    MiniDesign mini;
    mini.Write("mini");
    WriteAll("file", "x");
    fs::create_directories("not-design");
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        const char* err;
    } cases[] = {
        {{"mini", "--count", "0", "--seed", "1", "--out", "o"}, kVerbUnreadable, "--count is 1 to 1000, not 0"},
        {{"mini", "--count", "10000000", "--seed", "1", "--out", "o"}, kVerbUnreadable, "--count is 1 to 1000"},
        {{"mini", "--count", "99999999999999999999999", "--seed", "1", "--out", "o"}, kVerbUnreadable, "whole number"},
        {{"mini", "--count", "-3", "--seed", "1", "--out", "o"}, kVerbUnreadable, "whole number"},
        {{"mini", "--count", "2", "--seed", "1", "--depth", "0", "--out", "o"}, kVerbUnreadable, "--depth is 1 to 64, not 0"},
        {{"mini", "--count", "2", "--seed", "1", "--depth", "1000000", "--out", "o"}, kVerbUnreadable, "--depth is 1 to 64"},
        {{"mini", "--count", "2", "--seed", "x", "--out", "o"}, kVerbUnreadable, "--seed takes a whole number"},
        {{"mini", "--count", "2", "--seed", "1", "--jobs", "0", "--out", "o"}, kVerbUnreadable, "--jobs is 1 to 64, not 0"},
        {{"mini", "--count", "2", "--seed", "1", "--jobs", "65", "--out", "o"}, kVerbUnreadable, "--jobs is 1 to 64, not 65"},
        {{"mini", "--count", "2", "--seed", "1", "--jobs", "two", "--out", "o"}, kVerbUnreadable, "--jobs takes a whole number"},
        {{"mini", "--count", "2", "--seed", "1", "--size", "vast", "--out", "o"}, kVerbUnreadable, "--size is one of"},
        {{"mini", "--count", "2", "--out", "o"}, kVerbUnreadable, "which seed?"},
        {{"mini", "--count", "2", "--seed", "1"}, kVerbUnreadable, "where to?"},
        {{"mini", "--seed", "1", "--out", "o"}, kVerbUnreadable, "how many ships?"},
        {{"mini", "--count", "2", "--seed", "1", "--out"}, kVerbUnreadable, "--out needs a value"},
        {{"mini", "--count", "2", "--seed", "1", "--out", "file"}, kVerbUnreadable, "'file' is not a folder"},
        {{"mini", "--count", "2", "--seed", "1", "--out", "no/such/o"}, kVerbUnreadable, "cannot make 'no/such/o'"},
        {{"missing", "--count", "2", "--seed", "1", "--out", "o"}, kVerbUnreadable, "'missing' is not a folder"},
        {{"not-design", "--count", "2", "--seed", "1", "--out", "o"}, kVerbUnreadable, "is not a design folder"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"render"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const CommandLineOutcome outcome = HandleCommandLine(arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.err;
        EXPECT_TRUE(Has(outcome.err, c.err)) << outcome.err;
        EXPECT_FALSE(fs::exists("o")) << outcome.err;
    }
    // A root prototype without a picture: nothing to draw, said so.
    fs::remove("mini/hull.png");
    const CommandLineOutcome empty = HandleCommandLine({"render", "mini", "--count", "1", "--seed", "1", "--out", "o"});
    EXPECT_EQ(empty.exitCode, kVerbFindings);
    EXPECT_TRUE(Has(empty.err, "nothing to draw")) << empty.err;
    EXPECT_FALSE(fs::exists("o"));

    // A good run writes into --out only (made when missing).
    mini.Write("mini");
    const auto before = fs::directory_iterator(".");
    const CommandLineOutcome good = HandleCommandLine({"render", "mini", "--count", "3", "--seed", "5", "--out", "o"});
    EXPECT_EQ(good.exitCode, 0) << good.err;
    std::set<std::string> top, inMini;
    for (const auto& e : fs::directory_iterator(".")) top.insert(e.path().filename().string());
    for (const auto& e : fs::directory_iterator("mini")) inMini.insert(e.path().filename().string());
    EXPECT_EQ(top, (std::set<std::string>{"file", "mini", "not-design", "o"}));
    EXPECT_EQ(inMini.size(), 5u);
    EXPECT_EQ(std::distance(fs::directory_iterator("o"), fs::directory_iterator()), 7);
}

TEST(RenderVerb, ARootPartThatDoesNotLoadGivesWayToTheNext) {
    ScratchFolder scratch;
    MiniDesign mini;
    mini.parts.push_back({"hull2.png", 20, 10, mini.parts[0].setup});
    mini.Write("mini");
    WriteAll("mini/hull.png", "\x89PNG broken");
    const CommandLineOutcome outcome = HandleCommandLine({"render", "mini", "--count", "1", "--seed", "1", "--out", "o"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_TRUE(Has(outcome.out, "wrote 1 of 1 ships")) << outcome.err;
}

// Pictures no ship shows are never decoded: eight parts of 16 MiB each, of a
// prototype no rule reaches, cost nothing.
TEST(RenderVerb, OnlyThePicturesAShipShowsAreDecoded) {
    ScratchFolder scratch;
    MiniDesign mini;
    Prototype spare;
    spare.Name = "Spare", spare.Index = 2;
    mini.prototypes.push_back(spare);
    mini.Write("big");
    Testing_ResetServices();
    ASSERT_NE(Sprite_Init(), 0);
    constexpr int kSide = 2048;
    const int image = Image_Create(kServiceAuto, kSide, kSide);
    ASSERT_NE(Draw_Begin(Draw_ImageOutput(image)), 0);
    for (int k = 0; k < 4 * kSide; ++k) Draw_Plot((k * 131) % kSide, k / 4, (k * 40503) & 0xFFFFFF);  // not all one colour
    Draw_End();
    ASSERT_NE(Image_Save(image, "big/spare0.png", kPngEncoder), 0);
    ASSERT_NE(Image_Load(image, "big/spare0.png", 0), 0) << "the picture itself loads";
    Testing_ResetServices();
    PartSetup setup;
    setup.PrototypeIndex = 2;
    for (int p = 0; p < 8; ++p) {
        const std::string name = "big/spare" + std::to_string(p) + ".png";
        if (p > 0) fs::copy_file("big/spare0.png", name);
        ASSERT_NE(WriteSetupFile(name + ".spset", setup), 0);
    }
    EXPECT_TRUE(PassesInChild([] {
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts afresh
        const std::int64_t before = StatusBytes("VmRSS:");
        const CommandLineOutcome outcome = HandleCommandLine({"render", "big", "--count", "2", "--seed", "1", "--out", "o"});
        return outcome.exitCode == 0 && StatusBytes("VmHWM:") - before < (std::int64_t{64} << 20);
    }, 60));
}

TEST(ShipGrowth, CyclesStopAtTheCapsAndDepthBoundsTheTree) {
    Testing_ResetServices();
    ASSERT_NE(Sprite_Init(), 0);
    design = DesignState{};
    // One prototype allowed at all eight of its own connections.
    Prototype self;
    self.Name = "Self";
    for (auto& mask : self.ConnectionMask) mask = ConnectionActive | 0x1;
    design.Prototypes.Append() = self;
    Part& part = design.Parts.Append();
    part.Image = ImageNumber{Image_Create(kServiceAuto, 4, 4)};
    const struct { int depth, maxNodes, atMost, atLeast; } cases[] = {
        {1, kMaxGrowthNodes, 1, 1},
        {2, kMaxGrowthNodes, 9, 2},
        {kMaxGrowthDepth, kMaxGrowthNodes, kMaxGrowthNodes, kMaxGrowthNodes},
        {1000000, 1000000, kMaxShipNodes, 1000},
    };
    for (const auto& c : cases) {
        ShipRandom random(3);
        const int nodes = GrowShip(random, c.depth, c.maxNodes);
        EXPECT_LE(nodes, c.atMost) << c.depth;
        EXPECT_GE(nodes, c.atLeast) << c.depth;
        // Every child slot names a later node, as AttachPart leaves them.
        for (int n = 0; n < design.ShipNodes.Count(); ++n)
            for (int child : design.ShipNodes.At(n)->Child) EXPECT_TRUE(child == ChildFree || child > n);
    }
    design = DesignState{};
    Testing_ResetServices();
}

TEST(ShipGrowth, TheGeneratorIsFixed) {
    // Written out, not the library's: these numbers hold on every machine.
    ShipRandom random(0);
    EXPECT_EQ(random.Next(), 0xE220A8397B1DCDAFull);
    EXPECT_EQ(random.Next(), 0x6E789E6AA1B965F4ull);
    int seen[5] = {};
    for (int i = 0; i < 5000; ++i) ++seen[random.Below(5)];
    for (int count : seen) EXPECT_NEAR(count, 1000, 150);
    EXPECT_EQ(random.Below(0), 0);
}
