// The folder the editor works in, as the user gives it: its name is taken as
// it is, and one without media of its own still shows the editor.
#include "editor_session.h"
#include "paths.h"
#include "utf8_path.h"

namespace {

// Starts the editor in a folder below the scratch folder, with or without its own media.
class Workspace : public EditorSession {
protected:
    void SetUp() override { AppTest::SetUp(); }
    void StartIn(const std::string& name, bool ownMedia) {
        work_ = scratch_->Path() / name;
        fs::create_directories(work_);
        fs::current_path(work_);
        if (ownMedia && !ProvideMedia()) GTEST_SKIP() << "generated media not built";
        ASSERT_TRUE(StartEditor()) << editor.StartupFailure;
        Frames(1);
    }
};

}  // namespace

TEST_F(Workspace, ABackslashInItsPathIsPartOfTheName) {
    StartIn("my\\designs", true);
    ClickGadget(kGadgetNew);
    ClickGadget(kGadgetNew);
    ClickGadget(kGadgetAddPrototype);
    ClickGadget(kGadgetSave);
    EXPECT_TRUE(fs::exists(DesignDir(2) / "Prototypes.pt"));
    EXPECT_FALSE(fs::exists(scratch_->Path() / "my")) << "the name was split at the backslash";
    OpenDesign(1);
}

TEST_F(Workspace, WithoutMediaOfItsOwnTheProgramsAreUsedAndNamed) {
    if (!fs::exists(BuiltMediaFolder() / "BG.png")) GTEST_SKIP() << "generated media not built";
    // Both folders are named as the system writes them: absolute, ending in its separator.
    const std::string separator = OwnPath("\\");
    const std::string media = Utf8FromPath(fs::absolute(BuiltMediaFolder()).lexically_normal()) + separator;
    testing::internal::CaptureStderr();
    StartIn("bare", false);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Sprite_Width(kBackgroundSprite), 1024);
    EXPECT_GT(Sprite_Width(kPointerSprite), 0);
    const std::string bare = Utf8FromPath(work_.lexically_normal()) + separator;
    EXPECT_NE(said.find("no Media folder in " + bare + "; using " + media + "\n"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(work_ / "Media")) << "nothing is copied into the user's folder";
}
