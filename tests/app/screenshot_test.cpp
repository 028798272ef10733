#include <algorithm>
#include <fstream>
#include <vector>

#include "app_fixture.h"
#include "ship_pictures.h"

namespace {

class Screenshot : public AppTest {
protected:
    void Start() {
        if (!ProvideMedia()) GTEST_SKIP() << "generated media not built: " << BuiltMediaFolder();
        ASSERT_TRUE(StartEditor()) << editor.StartupFailure;
    }
    std::vector<std::string> Shots() const {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& e : fs::directory_iterator(work_ / "ScreenShots", ignored)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Holds Scroll Lock over three frames, lets it go and runs three more
    // frames; the clock when the frame after the release started.
    std::string HoldAndReleaseScrollLock() {
        Testing_Key(kKeyScrollLock, true);
        for (int i = 0; i < 3; ++i) RunFrame();
        Testing_Key(kKeyScrollLock, false);
        const std::string released = Str(ElapsedMilliseconds());
        for (int i = 0; i < 3; ++i) RunFrame();
        return released;
    }
};

}  // namespace

TEST_F(Screenshot, OneShotPerReleaseWithoutThePointer) {
    Start();
    Testing_MouseMove(300, 200);
    RunFrame();
    EXPECT_TRUE(Shots().empty());
    const std::string name = "KeelwrightScreen" + HoldAndReleaseScrollLock();
    ASSERT_EQ(Shots(), (std::vector<std::string>{name + ".png", name + "_TN.png"}));

    ASSERT_NE(Image_Load(1, (work_ / "ScreenShots" / (name + ".png")).string(), 0), 0);
    EXPECT_EQ(Image_Width(1), 1024);
    EXPECT_EQ(Image_Height(1), 768);
    ASSERT_NE(Draw_Begin(Draw_ImageOutput(1)), 0);
    const int underPointer = Draw_Point(302, 206);
    Draw_End();
    EXPECT_EQ(underPointer, SpritePixel(kBackgroundSprite, 302, 206)) << "grabbed before the pointer is drawn";
    EXPECT_NE(underPointer, SpritePixel(kPointerSprite, 2, 6));
    ASSERT_NE(Image_Load(2, (work_ / "ScreenShots" / (name + "_TN.png")).string(), 0), 0);
    EXPECT_EQ(Image_Width(2), 102);
    EXPECT_EQ(Image_Height(2), 77);
}

TEST_F(Screenshot, ASecondShotUnderATakenNameGetsACounterForBothFiles) {
    Start();
    const std::string name = "KeelwrightScreen" + Str(ElapsedMilliseconds());
    SaveScreenshot("KeelwrightScreen");
    SaveScreenshot("KeelwrightScreen");
    std::vector<std::string> expected = {name + ".png", name + "_TN.png", name + " (2).png", name + "_TN (2).png"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Shots(), expected);
}

TEST_F(Screenshot, ABlockedFolderWritesNothingAndTheEditorGoesOn) {
    Start();
    std::ofstream(work_ / "ScreenShots") << "not a folder";
    HoldAndReleaseScrollLock();
    EXPECT_TRUE(fs::is_regular_file(work_ / "ScreenShots"));
    EXPECT_EQ(std::count_if(fs::directory_iterator(work_), fs::directory_iterator(),
                            [](const fs::directory_entry& e) { return e.path().extension() == ".png"; }),
              0);
    EXPECT_EQ(editor.QuitRequested, 0);
}
