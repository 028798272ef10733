// The workspace the program makes for the user on the first start: the
// sample as design 1 and the media, and never a file of the user's touched.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "paths.h"
#include "scratch_folder.h"
#include "user_workspace.h"
#include "utf8_path.h"

namespace {

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A program folder as the release lays it out: Media and Sample beside the program.
class UserWorkspace : public testing::Test {
protected:
    void SetUp() override {
        program_ = scratch_.Path() / "program";
        Write(program_ / "Media" / "BG.png", "background");
        Write(program_ / "Media" / "Button.wav", "click");
        Write(program_ / "Sample" / "Prototypes.pt", "prototypes");
        Write(program_ / "Sample" / "hull.png", "hull");
        fs::create_directories(program_ / "Sample" / "not a file");
    }
    bool Prepare(const fs::path& workspace) {
        return PrepareUserWorkspace(Utf8FromPath(workspace), Utf8FromPath(program_) + OwnPath("\\"));
    }

    ScratchFolder scratch_;
    fs::path program_;
};

TEST_F(UserWorkspace, TheFirstStartMakesItWithTheSampleAsDesignOneAndTheMedia) {
    // Spaces and letters beyond ASCII, as in a user's own folder names.
    const fs::path work = scratch_.Path() / PathFromUtf8("Schiffe \xC3\x84rger") / "Keelwright";
    fs::create_directories(work.parent_path());
    ASSERT_TRUE(Prepare(work));
    EXPECT_EQ(Read(work / "Designs" / "1" / "Prototypes.pt"), "prototypes");
    EXPECT_EQ(Read(work / "Designs" / "1" / "hull.png"), "hull");
    EXPECT_FALSE(fs::exists(work / "Designs" / "1" / "not a file")) << "only files are copied";
    EXPECT_EQ(Read(work / "Media" / "BG.png"), "background");
    EXPECT_EQ(Read(work / "Media" / "Button.wav"), "click");
}

TEST_F(UserWorkspace, AnExistingOneKeepsTheUsersFilesAndGetsOnlyMissingMedia) {
    const fs::path work = scratch_.Path() / "Keelwright";
    Write(work / "Media" / "BG.png", "the user's own background");
    Write(work / "Designs" / "7" / "Prototypes.pt", "the user's design");
    ASSERT_TRUE(Prepare(work));
    EXPECT_EQ(Read(work / "Media" / "BG.png"), "the user's own background");
    EXPECT_EQ(Read(work / "Media" / "Button.wav"), "click");
    EXPECT_FALSE(fs::exists(work / "Designs" / "1")) << "the sample goes only into a new workspace";
    EXPECT_EQ(Read(work / "Designs" / "7" / "Prototypes.pt"), "the user's design");
}

TEST_F(UserWorkspace, AFileInItsPlaceIsNoWorkspace) {
    const fs::path work = scratch_.Path() / "Keelwright";
    Write(work, "a file");
    EXPECT_FALSE(Prepare(work));
    EXPECT_EQ(Read(work), "a file");
}

TEST_F(UserWorkspace, AFolderThatCannotBeMadeIsNoWorkspace) {
    EXPECT_FALSE(Prepare(scratch_.Path() / "missing" / "Keelwright"));
    EXPECT_FALSE(fs::exists(scratch_.Path() / "missing"));
}

}  // namespace
