// The Windows side of files and folders: names beyond ASCII, devices that are
// no files, and saves that replace a file whole or not at all.
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "fixture.h"
#include "paths.h"

namespace {
using WindowsFiles = ScratchTest;

namespace fs = std::filesystem;

// "Schiffe Ärger", as the program's texts spell it (UTF-8).
const std::string kGermanName = "Schiffe \xC3\x84rger";

fs::path Native(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string ReadBytes(const std::string& path) {
    std::ifstream in(Native(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(Native(path), std::ios::binary) << bytes;
}

// Names in a folder whose beginning is `prefix`.
int CountNamed(const std::string& folder, const std::string& prefix) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(Native(folder))) {
        const std::u8string name = entry.path().filename().u8string();
        if (std::string(name.begin(), name.end()).rfind(prefix, 0) == 0) ++count;
    }
    return count;
}

int FailSync(int) { return -1; }

}  // namespace

TEST_F(WindowsFiles, NamesBeyondAsciiAreWrittenReadAndListed) {
    const std::string folder = Path(kGermanName);
    ASSERT_NE(Dir_Create(folder), 0);
    const std::string file = folder + "\\Pr\xC3\xBC" "fung.pt";
    ASSERT_NE(File_Create(1, file), 0);
    File_WriteLine(1, "\xC3\xA9t\xC3\xA9");
    ASSERT_EQ(File_Close(1), 1);
    EXPECT_EQ(ReadBytes(file), "\xC3\xA9t\xC3\xA9\r\n");
    EXPECT_EQ(File_Size(file), 7);
    ASSERT_NE(File_OpenRead(2, file), 0);
    EXPECT_EQ(File_ReadLine(2), "\xC3\xA9t\xC3\xA9");
    File_Close(2);

    ASSERT_NE(Dir_Examine(3, folder, "*.pt"), 0);
    ASSERT_NE(Dir_Next(3), 0);
    EXPECT_EQ(Dir_EntryName(3), "Pr\xC3\xBC" "fung.pt");
    EXPECT_EQ(Dir_EntryType(3), kEntryFile);
    EXPECT_EQ(Dir_EntrySize(3), 7);
    EXPECT_EQ(Dir_Next(3), 0);
    Dir_Finish(3);
}

TEST_F(WindowsFiles, DevicesAreNoFiles) {
    for (const char* device : {"NUL", "nul.txt", "CON", "com1", "LPT9.pt", "AUX"}) {
        SCOPED_TRACE(device);
        EXPECT_EQ(File_OpenRead(1, Path(device)), 0);
        EXPECT_EQ(File_Create(2, Path(device)), 0);
    }
    EXPECT_EQ(CountNamed(dir_, ".kw-save-"), 0);
}

TEST_F(WindowsFiles, AFolderIsNoFileToRead) {
    ASSERT_NE(Dir_Create(Path("Designs")), 0);
    EXPECT_EQ(File_OpenRead(1, Path("Designs")), 0);
    EXPECT_EQ(File_Size(Path("Designs")), kFileIsDirectory);
    EXPECT_EQ(File_Size(Path("missing")), kFileMissing);
}

TEST_F(WindowsFiles, ASaveReplacesTheFileWholeAndLeavesNoTemporary) {
    const std::string file = Path("Prototypes.pt");
    WriteBytes(file, "old");
    ASSERT_NE(File_Create(1, file), 0);
    File_WriteLine(1, "new");
    EXPECT_EQ(ReadBytes(file), "old") << "replaced only when closed";
    ASSERT_EQ(File_Close(1), 1);
    EXPECT_EQ(ReadBytes(file), "new\r\n");
    EXPECT_EQ(CountNamed(dir_, ".kw-save-"), 0);
}

TEST_F(WindowsFiles, ASaveThatCannotReachTheDiskKeepsTheOldFile) {
    const std::string file = Path("Prototypes.pt");
    WriteBytes(file, "old");
    Testing_SetFileSync(FailSync);
    ASSERT_NE(File_Create(1, file), 0);
    File_WriteLine(1, "new");
    EXPECT_EQ(File_Close(1), 0);
    Testing_SetFileSync(nullptr);
    EXPECT_EQ(ReadBytes(file), "old");
    EXPECT_EQ(CountNamed(dir_, ".kw-save-"), 0);
}

TEST_F(WindowsFiles, AReadOnlyFileIsNotReplaced) {
    const std::string file = Path("locked.pt");
    WriteBytes(file, "kept");
    fs::permissions(Native(file), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(File_Create(1, file), 0);
    EXPECT_EQ(ReadBytes(file), "kept");
    ASSERT_NE(Dir_Examine(2, dir_, "locked.pt"), 0);
    ASSERT_NE(Dir_Next(2), 0);
    EXPECT_NE(Dir_EntryAttributes(2) & kAttrReadOnly, 0);
    Dir_Finish(2);
    fs::permissions(Native(file), fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(WindowsFiles, BothSeparatorsNameTheSameFile) {
    WriteBytes(Path("a.png"), "x");
    EXPECT_EQ(File_Same(dir_ + "/a.png", dir_ + "\\a.png"), 1);
    EXPECT_EQ(File_CopyNew(Path("a.png"), Path("b.png")), kCopyDone);
    EXPECT_EQ(File_Same(Path("a.png"), Path("b.png")), 0);
    EXPECT_EQ(File_CopyNew(Path("a.png"), Path("b.png")), kCopyNameTaken);
    EXPECT_TRUE(IsPathSeparator('\\'));
    EXPECT_EQ(OwnPath("Designs\\1\\"), "Designs\\1\\") << "Windows takes the program's own paths as they are";
}

TEST_F(WindowsFiles, AFileWrittenIntoTheWatchedFolderIsSeen) {
    ASSERT_NE(Watch_Folder(dir_), 0);
    EXPECT_EQ(Watch_NextChange(), "");
    WriteBytes(Path("wing.png"), "new picture");
    std::string seen;
    for (int i = 0; i < 100 && seen.empty(); ++i) {
        seen = Watch_NextChange();
        if (seen.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(seen, "wing.png");
    Watch_End();
}

TEST_F(WindowsFiles, TheUsersWorkspaceIsInTheirDocuments) {
    const std::string workspace = Process_UserWorkspace();
    ASSERT_GT(workspace.size(), 11u);
    EXPECT_EQ(workspace.substr(workspace.size() - 11), "\\Keelwright");
    EXPECT_EQ(File_Size(workspace.substr(0, workspace.size() - 11)), kFileIsDirectory);
}
