// FileList refill from real temporary directories: the directory with
// its patterns, the listing flags, every cell type, navigation and sorting.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "toolkit_fixture.h"
#include "lists_internal.h"
#include "services.h"
#include "testing.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 4;
constexpr int kHeader = 20;
// Columns of a new FileList: Name 0..150, Size 150..220, Type 220..270, Modified 270..370.
constexpr int kNameX = 75, kSizeX = 185, kTypeX = 245;

class FileListTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        char pattern[] = "/tmp/keelwright-filelist-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        ToolkitTest::TearDown();
        std::error_code ignored;
        fs::permissions(root_, fs::perms::owner_all, ignored);
        fs::remove_all(root_, ignored);
    }

    // The directory as the program writes it: ending in "\".
    std::string Dir(const std::string& sub = "") const { return root_ + "/" + (sub.empty() ? "" : sub + "/"); }

    void MakeFile(const std::string& relative, size_t bytes) const {
        std::ofstream out(root_ + "/" + relative, std::ios::binary);
        out << std::string(bytes, 'x');
    }
    void MakeDir(const std::string& relative) const { fs::create_directories(root_ + "/" + relative); }

    ColumnListRecord& List(int number = kFiles) { return *KindAs<ColumnListRecord>(FindGadget(number)); }

    std::vector<std::string> Cells(int cell, int number = kFiles) {
        std::vector<std::string> out;
        for (const auto& row : List(number).rows) out.emplace_back(List_RowCell(row.text, cell));
        return out;
    }
    std::vector<std::string> Names(int number = kFiles) { return Cells(FileList_NameCell(List(number)), number); }
    std::set<std::string> NameSet(int number = kFiles) {
        const auto names = Names(number);
        return {names.begin(), names.end()};
    }
    int RowOf(const std::string& name) {
        const auto names = Names();
        const auto it = std::find(names.begin(), names.end(), name);
        return it == names.end() ? -1 : static_cast<int>(it - names.begin());
    }

    void Step(int x, int y, int eventType) {
        List().headerHeight = kHeader;
        toolkit.mouseX = x;
        toolkit.mouseY = y;
        toolkit.buttonState = 0;
        toolkit.eventType = eventType;
        List_MouseStep(*FindGadget(kFiles));
    }
    void ClickRow(int row, int eventType = EventType_LeftUp) {
        int y = kHeader;
        for (int r = 0; r < row; ++r) y += List().rows[r].height;
        Step(30, y + 1, eventType);
    }
    void ClickHeader(int x) { Step(x, 5, EventType_LeftUp); }

    std::string root_;
};

TEST_F(FileListTest, RefillListsParentDirectoriesThenFilesWithTheirCells) {
    MakeDir("sub1");
    MakeDir("sub2");
    MakeFile("a.txt", 1023);
    MakeFile("b.png", 1536);
    MakeFile("noext", 0);
    MakeFile("archive.TAR.GZ", 2048);
    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir(), 0);

    EXPECT_EQ(List().directory, Dir() + "*.*");
    const auto& rows = List().rows;
    ASSERT_EQ(rows.size(), 7u);
    const auto names = Names();
    EXPECT_EQ(names[0], "..");
    for (int r = 0; r < 3; ++r) EXPECT_EQ(rows[r].entryType, kEntryDirectory) << r;
    for (int r = 3; r < 7; ++r) EXPECT_EQ(rows[r].entryType, kEntryFile) << r;
    EXPECT_EQ(std::set<std::string>(names.begin() + 1, names.begin() + 3), (std::set<std::string>{"sub1", "sub2"}));

    struct Expected {
        const char* name;
        const char* size;
        const char* type;
    };
    for (const auto& e : {Expected{"a.txt", "0 kB", "txt"}, Expected{"b.png", "1 kB", "png"},
                          Expected{"noext", "0 kB", ""}, Expected{"archive.TAR.GZ", "2 kB", "GZ"},
                          Expected{"sub1", nullptr, "DIR"}, Expected{"..", nullptr, "DIR"}}) {
        const int r = RowOf(e.name);
        ASSERT_GE(r, 0) << e.name;
        const std::string& text = rows[r].text;
        if (e.size) {
            EXPECT_EQ(List_RowCell(text, 2), e.size) << e.name;
        }
        EXPECT_EQ(List_RowCell(text, 3), e.type) << e.name;
        EXPECT_TRUE(std::regex_match(std::string(List_RowCell(text, 4)),
                                     std::regex(R"(\d{4}\.\d\d\.\d\d \d\d:\d\d)")))
            << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4) << "every cell ends with a line feed";
        EXPECT_EQ(text.back(), '\n');
        EXPECT_GT(rows[r].height, 0);
    }
    EXPECT_TRUE(std::regex_match(std::string(List_RowCell(rows[RowOf("sub1")].text, 2)), std::regex(R"(\d+ kB)")));
}

TEST_F(FileListTest, PatternsSelectFilesAndAreStoredInTheDirectory) {
    for (const char* f : {"a.txt", "b.png", "C.PNG", "d.jpg", "e.JpG", "f.gif", "archive.TAR.GZ", "noext"}) MakeFile(f, 10);
    MakeDir("folder.png");
    struct Case {
        std::string spec;  // after the directory
        std::string directory;
        std::set<std::string> files;
    };
    const std::set<std::string> all = {"a.txt", "b.png", "C.PNG", "d.jpg", "e.JpG", "f.gif", "archive.TAR.GZ", "noext"};
    const Case cases[] = {
        {"*.PNG;*.jpg", "*.png;*.jpg", {"b.png", "C.PNG", "d.jpg", "e.JpG"}},
        {"*.gz", "*.gz", {"archive.TAR.GZ"}},
        {"", "*.*", all},
        {"*.*", "*.*", all},
        {";*.txt", "*.txt", {"a.txt"}},
        {"noext", "*.", {"noext"}},
        {"*.txt;*", "*.txt;*.", {"a.txt", "noext"}},
        {"*.png;*.*", "*.png;*.*", all},
    };
    for (const auto& c : cases) {
        Gadget_FreeAll();
        Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir() + c.spec, 0);
        EXPECT_EQ(List().directory, Dir() + c.directory) << c.spec;
        std::set<std::string> files, directories;
        for (const auto& row : List().rows)
            (row.entryType == kEntryFile ? files : directories).insert(std::string(List_RowCell(row.text, 1)));
        EXPECT_EQ(files, c.files) << c.spec;
        EXPECT_EQ(directories, (std::set<std::string>{"..", "folder.png"})) << "patterns never hide directories";
    }
}

TEST_F(FileListTest, FlagsHideFilesParentAndDirectories) {
    MakeDir("sub");
    MakeFile("file.txt", 1);
    struct Case {
        int flags;
        std::set<std::string> names;
    };
    const Case cases[] = {
        {0, {"..", "sub", "file.txt"}},
        {kFileListNoFiles, {"..", "sub"}},
        {kFileListNoParent, {"sub", "file.txt"}},
        {kFileListNoDirectories, {"file.txt"}},
        {kFileListNoFiles | kFileListNoParent, {"sub"}},
        {kFileListNoParent | kFileListNoDirectories, {"file.txt"}},
        {kFileListNoFiles | kFileListNoDirectories, {}},
        {kFileListNoNavigation | kFileListNoHeaderSort, {"..", "sub", "file.txt"}},
    };
    for (const auto& c : cases) {
        Gadget_FreeAll();
        Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir(), c.flags);
        EXPECT_EQ(NameSet(), c.names) << "flags " << c.flags;
        EXPECT_EQ(List().fileListFlags, c.flags);
    }
}

TEST_F(FileListTest, SortByNameFlagSortsDirectoriesThenFiles) {
    for (const char* d : {"zeta", "Alpha", "beta"}) MakeDir(d);
    for (const char* f : {"b.txt", "A.txt", "c.txt", "_x.txt"}) MakeFile(f, 1);
    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir(), kFileListSortByName);
    EXPECT_EQ(Names(), (std::vector<std::string>{"..", "Alpha", "beta", "zeta", "A.txt", "_x.txt", "b.txt", "c.txt"}));
    // Without "..", the first directory is sorted like the others.
    Gadget_FreeAll();
    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir(), kFileListSortByName | kFileListNoParent);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "beta", "zeta", "A.txt", "_x.txt", "b.txt", "c.txt"}));
    Gadget_FreeAll();
    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir(), kFileListSortByName | kFileListNoDirectories);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A.txt", "_x.txt", "b.txt", "c.txt"}));
}

TEST_F(FileListTest, HeaderClicksSortFilesBySizeAndKeepDirectoriesInPlace) {
    for (const char* d : {"d2", "d1", "d3"}) MakeDir(d);
    MakeFile("mid.txt", 3000);   // 2 kB
    MakeFile("small.txt", 100);  // 0 kB
    MakeFile("big.txt", 5000);   // 4 kB
    MakeFile("huge.txt", 11000); // 10 kB: numeric, not text order
    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir(), 0);
    const auto initial = Names();
    const std::vector<std::string> dirs(initial.begin(), initial.begin() + 4);
    ASSERT_EQ(dirs[0], "..");

    ClickHeader(kSizeX);  // descending
    EXPECT_EQ(List().sortState[1], 1);
    std::vector<std::string> expected = dirs;
    for (const char* f : {"huge.txt", "big.txt", "mid.txt", "small.txt"}) expected.push_back(f);
    EXPECT_EQ(Names(), expected);

    ClickHeader(kSizeX);  // ascending
    EXPECT_EQ(List().sortState[1], 0);
    expected.resize(4);
    for (const char* f : {"small.txt", "mid.txt", "big.txt", "huge.txt"}) expected.push_back(f);
    EXPECT_EQ(Names(), expected);

    ClickHeader(kSizeX);  // no mark: no sorting
    EXPECT_EQ(List().sortState[1], -1);
    EXPECT_EQ(Names(), expected);

    ClickHeader(kNameX);  // by name, descending, directories and files apart
    EXPECT_EQ(List().sortState[0], 1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"..", "d3", "d2", "d1", "small.txt", "mid.txt", "huge.txt",
                                                 "big.txt"}));
    ClickHeader(kTypeX);  // all the same type: still ".." first and directories before files
    EXPECT_EQ(Names()[0], "..");
    for (int r = 1; r < 4; ++r) EXPECT_EQ(List().rows[r].entryType, kEntryDirectory);
}

TEST_F(FileListTest, HeaderSortWithoutParentRowAndWithNoHeaderSort) {
    for (const char* d : {"b", "a", "c"}) MakeDir(d);
    MakeFile("y.txt", 1);
    MakeFile("x.txt", 1);
    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir(), kFileListNoParent);
    ClickHeader(kNameX);
    ClickHeader(kNameX);  // ascending
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "x.txt", "y.txt"}));

    Gadget_FreeAll();
    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir(), kFileListNoParent | kFileListNoHeaderSort);
    const auto before = Names();
    ClickHeader(kNameX);
    EXPECT_EQ(List().sortState[0], 1);
    ClickHeader(kNameX);
    EXPECT_EQ(List().sortState[0], 0);
    EXPECT_EQ(Names(), before);
}

TEST_F(FileListTest, ClickingASelectedDirectoryOpensIt) {
    MakeDir("sub/deeper");
    MakeFile("top.txt", 1);
    MakeFile("sub/inner.txt", 1);
    MakeFile("sub/inner.png", 1);
    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir() + "*.txt", 0);
    int sub = RowOf("sub");
    ASSERT_GE(sub, 0);

    ClickRow(sub);  // selects
    EXPECT_EQ(List().rows[sub].selected, 1);
    EXPECT_EQ(List().directory, Dir() + "*.txt");
    ClickRow(sub, EventType_RightUp);  // a right click never opens
    EXPECT_EQ(List().directory, Dir() + "*.txt");
    ClickRow(sub);  // opens
    EXPECT_EQ(List().directory, Dir("sub") + "*.txt");
    EXPECT_EQ(NameSet(), (std::set<std::string>{"..", "deeper", "inner.txt"}));
    for (const auto& row : List().rows) EXPECT_EQ(row.selected, 0);

    const int up = RowOf("..");
    ClickRow(up);
    ClickRow(up);
    EXPECT_EQ(List().directory, Dir() + "*.txt");
    EXPECT_EQ(NameSet(), (std::set<std::string>{"..", "sub", "top.txt"}));

    // A refill outside a click does not open the selected row.
    sub = RowOf("sub");
    ClickRow(sub);
    FileList_Refill(kFiles, List().directory);
    EXPECT_EQ(List().directory, Dir() + "*.txt");
    // A selected file is not opened either.
    const int file = RowOf("top.txt");
    ClickRow(file);
    ClickRow(file);
    EXPECT_EQ(List().directory, Dir() + "*.txt");
}

TEST_F(FileListTest, NoNavigationFlagNeverNavigates) {
    MakeDir("sub");
    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir(), kFileListNoNavigation);
    const int sub = RowOf("sub");
    ClickRow(sub);
    ClickRow(sub);
    EXPECT_EQ(List().directory, Dir() + "*.*");
    EXPECT_EQ(List().rows[sub].selected, 1) << "the second click leaves the selection alone";
}

// The editor switches folders with Gadget_SetText and its flags with
// Gadget_SetFlags; after either, a Shift click starts afresh (a plain click)
// rather than reaching back to a row of the old listing.
TEST_F(FileListTest, RefillForgetsTheShiftAnchor) {
    MakeDir("big");
    MakeDir("small");
    for (int i = 0; i < 8; ++i) MakeFile("big/f" + std::to_string(i) + ".txt", 1);
    for (int i = 0; i < 3; ++i) MakeFile("small/s" + std::to_string(i) + ".txt", 1);
    const int flags = kFileListMultiSelect | kFileListNoParent | kFileListNoNavigation;
    for (const bool bySetFlags : {false, true}) {
        SCOPED_TRACE(bySetFlags ? "Gadget_SetFlags" : "Gadget_SetText");
        Gadget_CreateFileList(kFiles, 0, 0, 400, 300, bySetFlags ? Dir("small") : Dir("big"), flags);
        ASSERT_EQ(List().rows.size(), bySetFlags ? 3u : 8u);
        ClickRow(bySetFlags ? 2 : 6);
        if (bySetFlags) Gadget_SetFlags(kFiles, flags | kFileListSortByName);
        else Gadget_SetText(kFiles, Dir("small"));
        ASSERT_EQ(List().rows.size(), 3u);
        Testing_Key(kKeyLeftShift, true);
        Key_Examine();
        ClickRow(1);
        Testing_Key(kKeyLeftShift, false);
        Key_Examine();
        for (int r = 0; r < 3; ++r) EXPECT_EQ(List().rows[r].selected, r == 1 ? 1 : 0) << "row " << r;
        EXPECT_EQ(List().anchorRow, 1);
    }
}

TEST_F(FileListTest, ParentOfTheRootGivesAnEmptyList) {
    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, "/", 0);
    const int up = RowOf("..");
    if (up < 0) GTEST_SKIP() << "the root directory has no \"..\" entry here";
    ClickRow(up);
    ClickRow(up);
    EXPECT_EQ(List().directory, "*.*");
    EXPECT_TRUE(List().rows.empty());
}

TEST_F(FileListTest, DirectoriesThatCannotBeExaminedGiveAnEmptyList) {
    MakeFile("keep.txt", 1);
    struct Case {
        std::string spec, directory;
    };
    const Case cases[] = {
        {Dir() + "missing/", Dir() + "missing/*.*"},
        {Dir() + "keep.txt/*.txt", Dir() + "keep.txt/*.txt"},  // a file, not a directory
        {"", "C:\\*.*"},
    };
    for (const auto& c : cases) {
        Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir(), 0);
        ASSERT_FALSE(List().rows.empty());
        Gadget_SetText(kFiles, c.spec);
        EXPECT_TRUE(List().rows.empty()) << c.spec;
        EXPECT_EQ(List().directory, c.directory);
        EXPECT_EQ(List().rowsHaveImages, 0);
    }
}

TEST_F(FileListTest, UnreadableDirectoryGivesAnEmptyList) {
    if (geteuid() == 0) GTEST_SKIP() << "running as root: permissions do not stop reading";
    MakeFile("keep.txt", 1);
    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir(), 0);
    ASSERT_FALSE(List().rows.empty());
    ASSERT_EQ(chmod(root_.c_str(), 0), 0);
    FileList_Refill(kFiles, Dir());
    EXPECT_TRUE(List().rows.empty());
}

TEST_F(FileListTest, NameColumnAnywhereStillNavigatesAndSorts) {
    MakeDir("sub");
    MakeFile("sub/in.txt", 1);
    MakeFile("b.txt", 1);
    MakeFile("a.txt", 1);
    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir(), kFileListSortByName);
    Gadget_AddColumn(kFiles, 0, "GT_Explorer_Column_Size", 60);
    FileList_Refill(kFiles, List().directory);
    ASSERT_EQ(FileList_NameCell(List()), 2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"..", "sub", "a.txt", "b.txt"}));
    ClickRow(1);
    ClickRow(1);
    EXPECT_EQ(List().directory, Dir("sub") + "*.*");
    EXPECT_EQ(Names(), (std::vector<std::string>{"..", "in.txt"}));
}

TEST_F(FileListTest, DateAndAttributeColumns) {
    MakeFile("dated.txt", 1);
    std::tm local{};
    local.tm_year = 2006 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 14;
    local.tm_hour = 9;
    local.tm_min = 5;
    local.tm_sec = 30;
    local.tm_isdst = -1;
    const std::time_t modified = std::mktime(&local);
    local.tm_year = 2007 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 2;
    local.tm_hour = 3;
    local.tm_min = 4;
    local.tm_isdst = -1;
    const std::time_t accessed = std::mktime(&local);
    const struct timespec times[2] = {{accessed, 0}, {modified, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (root_ + "/dated.txt").c_str(), times, 0), 0);

    Gadget_CreateFileList(kFiles, 0, 0, 400, 300, Dir() + "*.txt", kFileListNoParent | kFileListNoDirectories);
    Gadget_AddColumn(kFiles, 4, "GT_Explorer_Column_Accessed", 100);
    Gadget_AddColumn(kFiles, 5, "GT_Explorer_Column_Created", 100);
    Gadget_AddColumn(kFiles, 6, "GT_Explorer_Column_Attributes", 40);
    Gadget_AddColumn(kFiles, 7, "Notes", 40);  // not file data: no cell
    FileList_Refill(kFiles, List().directory);
    ASSERT_EQ(List().rows.size(), 1u);
    const std::string text = List().rows[0].text;
    EXPECT_EQ(List_RowCell(text, 4), "2006.03.14 09:05");
    EXPECT_EQ(List_RowCell(text, 5), "2007.01.02 03:04");
    EXPECT_TRUE(std::regex_match(std::string(List_RowCell(text, 6)), std::regex(R"(\d{4}\.\d\d\.\d\d \d\d:\d\d)")));
    EXPECT_TRUE(std::regex_match(std::string(List_RowCell(text, 7)), std::regex("R?H?S?A?C?N?"))) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
}

}  // namespace
