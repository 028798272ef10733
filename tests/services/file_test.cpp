#include <sys/stat.h>

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "child_process.h"
#include "fixture.h"
#include "paths.h"

namespace {
using FileTest = ScratchTest;

std::string ReadBytes(const std::string& osPath) {
    std::ifstream in(osPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& osPath, const std::string& bytes) {
    std::ofstream(osPath, std::ios::binary) << bytes;
}
}  // namespace

TEST_F(FileTest, SeededRoundTripOfLongsDataAndLines) {
    std::mt19937 rng(1234);
    std::vector<std::int32_t> longs(200);
    for (auto& v : longs) v = static_cast<std::int32_t>(rng());
    longs[0] = INT32_MIN;
    longs[1] = -1;
    std::vector<std::uint8_t> data(777);
    for (auto& b : data) b = static_cast<std::uint8_t>(rng());

    ASSERT_NE(File_Create(1, Path("a.bin")), 0);
    for (auto v : longs) File_WriteLong(1, v);
    File_WriteData(1, data);
    File_WriteLine(1, "first line");
    File_WriteLine(1, "");
    File_WriteLine(1, "\xC3\xBC" "ber");
    File_Close(1);
    EXPECT_EQ(File_Size(Path("a.bin")), 200 * 4 + 777 + 12 + 2 + 7);

    ASSERT_NE(File_OpenRead(2, Path("a.bin")), 0);
    for (auto v : longs) ASSERT_EQ(File_ReadLong(2), v);
    std::vector<std::uint8_t> back(777);
    EXPECT_EQ(File_ReadData(2, back), 777);
    EXPECT_EQ(back, data);
    EXPECT_EQ(File_ReadLine(2), "first line");
    EXPECT_EQ(File_ReadLine(2), "");
    EXPECT_EQ(File_Eof(2), 0);
    EXPECT_EQ(File_ReadLine(2), "\xC3\xBC" "ber");
    EXPECT_NE(File_Eof(2), 0);
    EXPECT_EQ(File_ReadLong(2), 0);
    File_Close(2);
}

TEST_F(FileTest, LongsAreLittleEndianAndCutValuesKeepTheirBytes) {
    ASSERT_NE(File_Create(1, Path("l.bin")), 0);
    File_WriteLong(1, 0x01020304);
    File_Close(1);
    EXPECT_EQ(ReadBytes(OsPath("l.bin")), std::string("\x04\x03\x02\x01", 4));

    WriteBytes(OsPath("cut.bin"), std::string("\x10\x00\x00\x00\xAB\xCD", 6));
    ASSERT_NE(File_OpenRead(1, Path("cut.bin")), 0);
    EXPECT_EQ(File_ReadLong(1), 16);
    EXPECT_EQ(File_ReadLong(1), 0xCDAB);
    EXPECT_EQ(File_ReadLong(1), 0);
    File_Close(1);
}

TEST_F(FileTest, ReadLineEndings) {
    std::string bytes = "lf\ncrlf\r\ncr\rnext\r\r\nzero";
    bytes += '\0';
    bytes += "after\r";
    bytes += std::string(100000, 'x');  // no length limit
    WriteBytes(OsPath("lines.txt"), bytes);
    ASSERT_NE(File_OpenRead(3, Path("lines.txt")), 0);
    const char* expected[] = {"lf", "crlf", "cr", "next", "", "zero", "after"};
    for (const char* e : expected) EXPECT_EQ(File_ReadLine(3), e);
    EXPECT_EQ(File_ReadLine(3), std::string(100000, 'x'));
    EXPECT_NE(File_Eof(3), 0);
    EXPECT_EQ(File_ReadLine(3), "");
    File_Close(3);
}

TEST_F(FileTest, EmptyNumbersAndWrongDirectionDoNothing) {
    File_WriteLong(9, 5);
    File_WriteLine(9, "x");
    EXPECT_EQ(File_ReadLong(9), 0);
    EXPECT_EQ(File_ReadLine(9), "");
    EXPECT_EQ(File_Eof(9), 0);
    File_Close(9);
    EXPECT_EQ(File_OpenRead(1, Path("missing")), 0);
    EXPECT_EQ(File_OpenRead(1, dir_), 0);  // a directory is not a file
    EXPECT_EQ(File_Create(1, Path("no-such-dir/x.bin")), 0);
    EXPECT_EQ(File_Create(-7, Path("x.bin")), 0);
    ASSERT_NE(File_Create(1, Path("w.bin")), 0);
    EXPECT_EQ(File_ReadLong(1), 0);  // written, not read
    File_Close(1);
}

TEST_F(FileTest, CreateReplacesOnlyOnClose) {
    WriteBytes(OsPath("keep.pt"), "old contents");
    ASSERT_NE(File_Create(1, Path("keep.pt")), 0);
    File_WriteLine(1, "new");
    // Until the file is closed the previous one is intact.
    EXPECT_EQ(ReadBytes(OsPath("keep.pt")), "old contents");
    File_Close(1);
    EXPECT_EQ(ReadBytes(OsPath("keep.pt")), "new\r\n");
    // Nothing is left beside it.
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir_)) entries += e.is_regular_file();
    EXPECT_EQ(entries, 1);
    // Closed at the end of the services too, and replacing a read-only file fails.
    ASSERT_NE(File_Create(-1, Path("end.bin")), 0);
    Services_End();
    EXPECT_EQ(File_Size(Path("end.bin")), 0);
    chmod(OsPath("keep.pt").c_str(), 0444);
    if (access(OsPath("keep.pt").c_str(), W_OK) != 0) {  // root may write anyway
        EXPECT_EQ(File_Create(1, Path("keep.pt")), 0);
        EXPECT_EQ(ReadBytes(OsPath("keep.pt")), "new\r\n");
    }
}

namespace {
// What the saved file held whenever its replacement was pushed to the disk.
std::vector<std::string> targetAtSync;
std::string syncTarget;
int RecordSync(int descriptor) {
    targetAtSync.push_back(ReadBytes(syncTarget));
    return fsync(descriptor);
}
}  // namespace

TEST_F(FileTest, ASavedFileIsOnTheDiskBeforeItReplacesTheOld) {
    syncTarget = OsPath("keep.pt");
    WriteBytes(syncTarget, "old");
    Testing_SetFileSync(RecordSync);
    ASSERT_NE(File_Create(1, Path("keep.pt")), 0);
    File_WriteLine(1, "new");
    File_Close(1);
    Testing_SetFileSync(nullptr);
    EXPECT_EQ(targetAtSync, std::vector<std::string>{"old"});
    EXPECT_EQ(ReadBytes(syncTarget), "new\r\n");
}

TEST_F(FileTest, AutomaticNumbersAreFreshReferences) {
    const int a = File_Create(-1, Path("a"));
    const int b = File_Create(-1, Path("b"));
    EXPECT_GE(a, kServiceReferenceBase);
    EXPECT_GT(b, a);
    File_WriteLong(a, 1);
    File_WriteLong(b, 2);
    File_Close(a);
    File_Close(b);
    EXPECT_EQ(File_Size(Path("a")), 4);
    EXPECT_EQ(File_Size(Path("b")), 4);
}

TEST_F(FileTest, SizeOfMissingAndDirectory) {
    WriteBytes(OsPath("five"), "12345");
    EXPECT_EQ(File_Size(Path("five")), 5);
    EXPECT_EQ(File_Size(Path("missing")), -1);
    EXPECT_LT(File_Size(dir_), 0);
    EXPECT_LT(File_Size(dir_ + "/"), 0);
}

TEST_F(FileTest, CurrentDirectoryEndsWithSeparator) {
    const std::string cwd = CurrentDirectory();
    ASSERT_FALSE(cwd.empty());
    EXPECT_EQ(cwd.back(), '/');
    EXPECT_EQ(File_Size(cwd), -2);
}

TEST_F(FileTest, DirCreateTrimsAndFailsWhenPresent) {
    EXPECT_NE(Dir_Create(Path("Designs/  ")), 0);
    EXPECT_TRUE(std::filesystem::is_directory(OsPath("Designs")));
    EXPECT_EQ(Dir_Create(Path("Designs")), 0);
    EXPECT_NE(Dir_Create(Path("Designs/1/")), 0);
    EXPECT_EQ(Dir_Create(Path("a/b/c")), 0);  // one level only
    EXPECT_NE(Dir_Create(Path("a\\b")), 0);    // a backslash is a letter of the name
    EXPECT_TRUE(std::filesystem::is_directory(OsPath("a\\b")));
    EXPECT_EQ(Dir_Create(""), 0);
}

TEST_F(FileTest, DirScanMatchesPatternsWithoutCase) {
    for (const char* name : {"b.png", "A.PNG", "c.PnG", "notes.txt", "noext", ".hidden.png"})
        WriteBytes(OsPath(name), "xx");
    Dir_Create(Path("sub"));
    chmod(OsPath("notes.txt").c_str(), 0444);

    struct Entry {
        int type;
        std::int64_t size;
        int attributes;
    };
    auto scan = [&](const std::string& pattern) {
        std::vector<std::string> names;
        std::map<std::string, Entry> info;
        EXPECT_NE(Dir_Examine(4, dir_, pattern), 0);
        while (Dir_Next(4)) {
            const std::string n = Dir_EntryName(4);
            names.push_back(n);
            info[n] = Entry{Dir_EntryType(4), Dir_EntrySize(4), Dir_EntryAttributes(4)};
        }
        EXPECT_EQ(Dir_Next(4), 0);
        Dir_Finish(4);
        return std::make_pair(names, info);
    };
    auto [png, pngInfo] = scan("*.png");
    EXPECT_EQ(png, (std::vector<std::string>{".hidden.png", "A.PNG", "b.png", "c.PnG"}));
    EXPECT_EQ(pngInfo["b.png"].type, kEntryFile);
    EXPECT_EQ(pngInfo["b.png"].size, 2);
    EXPECT_EQ(pngInfo["b.png"].attributes, kAttrNormal);
    EXPECT_EQ(pngInfo[".hidden.png"].attributes & kAttrHidden, kAttrHidden);

    auto [all, allInfo] = scan("");
    EXPECT_EQ(all, (std::vector<std::string>{".", "..", ".hidden.png", "A.PNG", "b.png", "c.PnG", "noext",
                                             "notes.txt", "sub"}));
    EXPECT_EQ(allInfo["sub"].type, kEntryDirectory);
    EXPECT_EQ(allInfo["sub"].attributes & kAttrDirectory, kAttrDirectory);
    EXPECT_EQ(allInfo["."].type, kEntryDirectory);
    if (access(OsPath("notes.txt").c_str(), W_OK) != 0) {
        EXPECT_EQ(allInfo["notes.txt"].attributes & kAttrReadOnly, kAttrReadOnly);
    }
    EXPECT_EQ(scan("*.*").first, all);
    EXPECT_EQ(scan("?.png").first, (std::vector<std::string>{"A.PNG", "b.png", "c.PnG"}));
    EXPECT_EQ(scan("*.txt").first, (std::vector<std::string>{"notes.txt"}));

    // Dates are local wall-clock seconds of the entry's times.
    ASSERT_NE(Dir_Examine(5, dir_ + "/", "b.png"), 0);
    ASSERT_NE(Dir_Next(5), 0);
    const std::int64_t modified = Dir_EntryDate(5, 2);
    EXPECT_LE(std::llabs(modified - Date_Now()), 120);
    Dir_Finish(5);
    EXPECT_EQ(Dir_Next(5), 0);
    EXPECT_EQ(Dir_EntryName(5), "");
    EXPECT_EQ(Dir_Examine(5, Path("missing"), "*.*"), 0);
}

TEST_F(FileTest, CloseReportsAFailedCommitAndKeepsThePreviousFile) {
    WriteBytes(OsPath("keep.pt"), "old contents");
    ASSERT_NE(File_Create(1, Path("small.pt")), 0);
    File_WriteLine(1, "fits");
    EXPECT_NE(File_Close(1), 0);
    EXPECT_EQ(File_Close(1), 0);  // nothing open any more
    ASSERT_NE(File_OpenRead(2, Path("keep.pt")), 0);
    EXPECT_NE(File_Close(2), 0);
    // A disk that fills up mid-save: the write fails at the flush on close.
    EXPECT_TRUE(PassesInChild([&] {
        LimitFileSize(4096);
        if (!File_Create(1, Path("keep.pt"))) return false;
        File_WriteData(1, std::vector<std::uint8_t>(100000, 7));
        return File_Close(1) == 0;
    }));
    EXPECT_EQ(ReadBytes(OsPath("keep.pt")), "old contents");
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir_)) entries += e.is_regular_file();
    EXPECT_EQ(entries, 2);  // no temporary file left behind
}

TEST_F(FileTest, ReadersOpenRegularFilesOnly) {
    // Named like design files, but a FIFO without a writer and a device.
    for (const char* name : {"Prototypes.pt", "x.png", "x.png.spset", "click.wav"})
        ASSERT_EQ(mkfifo(OsPath(name).c_str(), 0600), 0) << name;
    EXPECT_TRUE(PassesInChild(
        [&] {
            Sound_Init();
            bool refused = true;
            for (const std::string& path : {Path("Prototypes.pt"), Path("x.png.spset"), std::string("/dev/zero")})
                refused = refused && File_OpenRead(1, path) == 0;
            for (const std::string& path : {Path("x.png"), std::string("/dev/zero")})
                refused = refused && Image_Load(1, path, 0) == 0 && Sprite_Load(1, path, 0) == 0;
            return refused && Sound_Load(1, Path("click.wav")) == 0 && Sound_Load(1, "/dev/zero") == 0;
        },
        10));
}

TEST_F(FileTest, SafeSavingKeepsPermissionsLinksAndLongNames) {
    auto save = [&](const std::string& name, const std::string& line) {
        if (!File_Create(1, Path(name))) return 0;
        File_WriteLine(1, line);
        return File_Close(1);
    };
    auto mode = [&](const std::string& name) {
        struct stat st {};
        return stat(OsPath(name).c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
    };
    WriteBytes(OsPath("private.pt"), "old");
    chmod(OsPath("private.pt").c_str(), 0600);
    ASSERT_NE(save("private.pt", "new"), 0);
    EXPECT_EQ(mode("private.pt"), 0600);
    EXPECT_EQ(ReadBytes(OsPath("private.pt")), "new\r\n");

    // Through a link to a name of the same folder: the real file gets the
    // contents, the link stays a link.
    WriteBytes(OsPath("list.pt"), "old");
    chmod(OsPath("list.pt").c_str(), 0640);
    std::filesystem::create_symlink("list.pt", OsPath("link.pt"));
    ASSERT_NE(save("link.pt", "through"), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(OsPath("link.pt")));
    EXPECT_EQ(ReadBytes(OsPath("list.pt")), "through\r\n");
    EXPECT_EQ(mode("list.pt"), 0640);
    EXPECT_EQ(File_SaveRefusal(), "");

    // The longest names a folder holds save too, pictures as well as files.
    const std::string longName = std::string(251, 'n') + ".png";
    ASSERT_NE(save(longName, "long"), 0);
    EXPECT_EQ(ReadBytes(OsPath(longName)), "long\r\n");
    ASSERT_NE(Image_Create(1, 2, 2), 0);
    EXPECT_NE(Image_Save(1, Path(longName), kPngEncoder), 0);
    EXPECT_EQ(Image_Load(2, Path(longName), 0), 1);
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir_)) entries += e.is_regular_file() && !e.is_symlink();
    EXPECT_EQ(entries, 3);  // private.pt, list.pt and the long one: nothing left beside them
}

TEST_F(FileTest, ALinkAtASavedNameIsFollowedOnlyToANameOfTheSameFolder) {
    namespace fs = std::filesystem;
    fs::create_directory(OsPath("sub"));
    WriteBytes(OsPath("sub/target"), "old");
    WriteBytes(OsPath("plain"), "old");
    const struct {
        const char* target;  // where the link at "link.pt" points
        bool saved;          // the save goes through
    } cases[] = {
        {"plain", true},      {"sub/target", false}, {"../outside", false}, {"missing", false},
        {"link.pt", false},   {"/etc/hostname", false}, {".", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        fs::remove(OsPath("link.pt"));
        fs::create_symlink(c.target, OsPath("link.pt"));
        const bool saved = File_Create(1, Path("link.pt")) != 0 && (File_WriteLine(1, "new"), File_Close(1) != 0);
        EXPECT_EQ(saved, c.saved);
        EXPECT_TRUE(fs::is_symlink(OsPath("link.pt"))) << "the link stays a link";
        EXPECT_EQ(File_SaveRefusal().empty(), c.saved) << File_SaveRefusal();
        EXPECT_EQ(File_LinkKind(Path("link.pt")), c.saved ? kLinkInside : kLinkOutside);
    }
    EXPECT_EQ(ReadBytes(OsPath("sub/target")), "old");
    EXPECT_FALSE(fs::exists(OsPath("missing")));
    EXPECT_EQ(ReadBytes(OsPath("plain")), "new\r\n");

    // Where links are replaced, the file takes the link's place and its target is left alone.
    File_SetSaveLinks(kSaveReplaceLinks);
    fs::remove(OsPath("link.pt"));
    fs::create_symlink("sub/target", OsPath("link.pt"));
    ASSERT_NE(File_Create(1, Path("link.pt")), 0);
    File_WriteLine(1, "replaced");
    ASSERT_NE(File_Close(1), 0);
    EXPECT_FALSE(fs::is_symlink(OsPath("link.pt")));
    EXPECT_EQ(ReadBytes(OsPath("sub/target")), "old");
}

TEST_F(FileTest, ASaveRemovesOurOwnTemporariesLeftForAnHour) {
    namespace fs = std::filesystem;
    for (const char* name : {".kw-save-stale1", ".kw-save-fresh1", ".other-stale"}) WriteBytes(OsPath(name), "cut");
    const auto twoHoursAgo = fs::file_time_type::clock::now() - std::chrono::hours(2);
    fs::last_write_time(OsPath(".kw-save-stale1"), twoHoursAgo);
    fs::last_write_time(OsPath(".other-stale"), twoHoursAgo);
    ASSERT_NE(File_Create(1, Path("list.pt")), 0);
    ASSERT_NE(File_Close(1), 0);
    EXPECT_FALSE(fs::exists(OsPath(".kw-save-stale1")));
    EXPECT_TRUE(fs::exists(OsPath(".kw-save-fresh1"))) << "another save may be writing it";
    EXPECT_TRUE(fs::exists(OsPath(".other-stale"))) << "not ours";
}
