// Files changed by other programs (the folder watch), pictures read again in
// place, and copies that never overwrite.
#include <unistd.h>

#include <fstream>
#include <set>
#include <vector>

#include "fixture.h"

namespace fs = std::filesystem;

namespace {

class DiskChanges : public ScratchTest {
protected:
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(OsPath(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(OsPath(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Every name the watch reports now.
    static std::multiset<std::string> Changes() {
        std::multiset<std::string> names;
        for (std::string n = Watch_NextChange(); !n.empty(); n = Watch_NextChange()) names.insert(n);
        return names;
    }
    // A one-colour PNG file of the given size; its bytes.
    std::string Picture(const std::string& name, int width, int height, int colour) const {
        const int image = Image_Create(kServiceAuto, width, height);
        EXPECT_NE(image, 0);
        Draw_Begin(Draw_ImageOutput(image));
        Draw_Box(0, 0, width, height, colour);
        Draw_End();
        EXPECT_NE(Image_Save(image, Path(name), kPngEncoder), 0);
        Image_Free(image);
        return Read(name);
    }
    static int Pixel(int image, int x, int y) {
        if (!Draw_Begin(Draw_ImageOutput(image))) return -1;
        const int c = Draw_Point(x, y);
        Draw_End();
        return c;
    }
};

}  // namespace

TEST_F(DiskChanges, TheWatchReportsWrittenAndRenamedInFilesOncePerPoll) {
    EXPECT_EQ(Watch_NextChange(), "") << "nothing watched";
    fs::create_directory(OsPath("sub"));
    ASSERT_NE(Watch_Folder(dir_), 0);
    EXPECT_TRUE(Changes().empty());

    Write("in place.png", "one");
    Write("in place.png", "two");  // two writes, one report
    Write("elsewhere.tmp", "x");
    fs::rename(OsPath("elsewhere.tmp"), OsPath("safe.png"));  // how safe-saving programs replace a file
    Write("sub/deeper.png", "x");                             // not in the folder itself
    fs::create_directory(OsPath("new folder"));
    EXPECT_EQ(Changes(), (std::multiset<std::string>{"in place.png", "elsewhere.tmp", "safe.png"}));
    EXPECT_TRUE(Changes().empty());

    fs::remove(OsPath("safe.png"));  // a deletion changes no picture
    EXPECT_TRUE(Changes().empty());

    Watch_End();
    Write("after.png", "x");
    EXPECT_TRUE(Changes().empty());
    EXPECT_EQ(Watch_Folder(OsPath("no such folder")), 0);
    EXPECT_EQ(Watch_Folder(OsPath("in place.png")), 0) << "a file is no folder";
}

TEST_F(DiskChanges, AReloadKeepsNumberAndHandleAndAFailedOneKeepsThePicture) {
    ASSERT_NE(Sprite_Init(), 0);
    Picture("part.png", 4, 3, 0x0000FF);
    ASSERT_NE(Image_Load(7, Path("part.png"), 0), 0);
    const int handle = Image_Handle(7);
    const std::string bigger = Picture("other.png", 6, 5, 0x00FF00);
    Write("part.png", bigger);
    ASSERT_NE(Image_Reload(7, Path("part.png")), 0);
    EXPECT_EQ(Image_Handle(7), handle);
    EXPECT_EQ(Image_Width(7), 6);
    EXPECT_EQ(Pixel(7, 5, 4), 0x00FF00);

    // Caught half-written, then gone: the last good picture stays.
    Write("part.png", bigger.substr(0, bigger.size() / 2));
    EXPECT_EQ(Image_Reload(7, Path("part.png")), 0);
    fs::remove(OsPath("part.png"));
    EXPECT_EQ(Image_Reload(7, Path("part.png")), 0);
    EXPECT_EQ(Image_Width(7), 6);
    EXPECT_EQ(Pixel(7, 0, 0), 0x00FF00);
    EXPECT_EQ(Image_Reload(8, Path("other.png")), 0) << "an empty number stays empty";
    EXPECT_EQ(Image_Width(8), 0);
}

TEST_F(DiskChanges, ACopyTakesOnlyAFreeNameAndNeverFollowsALink) {
    Write("from.png", "picture bytes");
    Write("taken.png", "mine");
    fs::create_directory(OsPath("outside"));
    fs::create_symlink(OsPath("outside/victim.png"), OsPath("link.png"));

    EXPECT_EQ(File_CopyNew(Path("from.png"), Path("new.png")), kCopyDone);
    EXPECT_EQ(Read("new.png"), "picture bytes");
    EXPECT_EQ(File_CopyNew(Path("from.png"), Path("taken.png")), kCopyNameTaken);
    EXPECT_EQ(Read("taken.png"), "mine");
    EXPECT_EQ(File_CopyNew(Path("from.png"), Path("link.png")), kCopyNameTaken);
    EXPECT_FALSE(fs::exists(OsPath("outside/victim.png"))) << "nothing written through the link";
    EXPECT_EQ(File_CopyNew(Path("missing.png"), Path("made.png")), kCopyFailed);
    EXPECT_FALSE(fs::exists(OsPath("made.png")));
    EXPECT_EQ(File_CopyNew(Path("outside"), Path("folder.png")), kCopyFailed) << "a folder is not copied";
    EXPECT_FALSE(fs::exists(OsPath("folder.png")));

    EXPECT_NE(File_Same(Path("from.png"), dir_ + "/./from.png"), 0);
    EXPECT_EQ(File_Same(Path("from.png"), Path("new.png")), 0) << "equal bytes, another file";
    EXPECT_EQ(File_Same(Path("from.png"), Path("missing.png")), 0);
}
