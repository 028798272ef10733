#include "app_fixture.h"

class Startup : public AppTest {
protected:
    // Without a base directory no path could be trusted: start-up stops before
    // making folders or opening the window, whether the directory is gone or
    // cannot be read.
    void ExpectRefusedWithoutACurrentDirectory() const {
        const bool rootHadDesigns = fs::exists("/Designs");
        EXPECT_EQ(StartEditor(), 0);
        EXPECT_EQ(editor.StartupFailure, "cannot read the current directory");
        EXPECT_EQ(design.BaseDir, "");
        EXPECT_EQ(Window_Handle(0), 0);
        EXPECT_EQ(fs::exists("/Designs"), rootHadDesigns) << "nothing made at the root";
        EXPECT_FALSE(fs::exists(work_ / "Designs"));
    }
};

// A failing service initialisation stops start-up before anything after it:
// no tables read, no folders made, no window.
TEST_F(Startup, StopsAtTheFirstFailingService) {
    const struct {
        const char* fail;
        const char* named;
    } cases[] = {
        {"sprite", "cannot initialise the sprite service"},
        {"mouse", "cannot initialise the mouse"},
        {"keyboard", "cannot initialise the keyboard"},
        {"sound", "cannot initialise the sound service"},
        {"3d", "cannot initialise the 3D device"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fail);
        Testing_ResetServices();
        Testing_FailInit(c.fail);
        EXPECT_EQ(StartEditor(), 0);
        EXPECT_EQ(editor.StartupFailure, c.named);
        EXPECT_EQ(Window_Handle(0), 0);
        EXPECT_EQ(Screen_Width(), 0);
        EXPECT_EQ(design.BaseDir, "");
        EXPECT_FALSE(fs::exists(work_ / "Designs"));
        FinalCleanup();
    }
}

TEST_F(Startup, WindowOrScreenFailureIsReportedAfterTheFolders) {
    const struct {
        const char* fail;
        const char* named;
    } cases[] = {
        {"window", "cannot open the window"},
        {"screen", "cannot open the screen in the window"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fail);
        Testing_ResetServices();
        Testing_FailInit(c.fail);
        EXPECT_EQ(StartEditor(), 0);
        EXPECT_EQ(editor.StartupFailure, c.named);
        EXPECT_EQ(Window_Handle(0), 0) << "no window is left open";
        EXPECT_EQ(design.BaseDir, CurrentDirectory());
        EXPECT_TRUE(fs::is_directory(work_ / "Designs"));
        EXPECT_TRUE(fs::is_directory(work_ / "ShipPics"));
        FinalCleanup();
    }
}

TEST_F(Startup, RefusesWhenTheCurrentDirectoryCannotBeRead) {
    Testing_FailInit("cwd");
    ExpectRefusedWithoutACurrentDirectory();
}

TEST_F(Startup, RefusesWhenTheCurrentDirectoryIsGone) {
    fs::remove_all(work_);
    ExpectRefusedWithoutACurrentDirectory();
}

TEST_F(Startup, StartValues) {
    ASSERT_TRUE(StartEditor()) << editor.StartupFailure;
    EXPECT_EQ(editor.StartupFailure, "");
    EXPECT_EQ(design.BaseDir, CurrentDirectory());
    EXPECT_EQ(interaction.MouseX, 0);
    EXPECT_EQ(interaction.MouseY, 0);
    EXPECT_EQ(editor.FrameEvent, 0);
    EXPECT_EQ(editor.FrameGadget, 0);
    EXPECT_EQ(editor.FrameEventType, 0);
    EXPECT_EQ(editor.QuitRequested, 0);
    EXPECT_EQ(interaction.ClickVolume, 10);
    EXPECT_EQ(editor.EditorMode, 0);
    EXPECT_EQ(editor.LoadPurpose, 0);
    EXPECT_EQ(editor.PreviewZoom, 0.0f);
    EXPECT_EQ(editor.SampleScale, 0);
    EXPECT_EQ(editor.SetupZoom, 0.0f);
    EXPECT_EQ(editor.DraggingOffset, -1);
    EXPECT_EQ(editor.DraggedConnection, -1);
    EXPECT_EQ(design.DesignFolder, -1);
    EXPECT_EQ(design.SelectedProtoConnection, -1);
    EXPECT_EQ(design.TestMode, 0);
    EXPECT_EQ(design.ViewX, 190);
    EXPECT_EQ(design.ViewY, 150);
    EXPECT_EQ(design.Prototypes.Count(), 0);
    EXPECT_EQ(design.Parts.Count(), 0);
    EXPECT_EQ(design.ShipNodes.Count(), 0);
    EXPECT_EQ(editor.Palette.Count(), 0);
}

TEST_F(Startup, LeftoversOfAnEarlierRunAreCleared) {
    editor.QuitRequested = 1;
    interaction.ClickVolume = 99;
    editor.FrameEventType = 4;
    editor.PreviewZoom = 2.5f;
    design.DesignFolder = 4;
    design.ViewX = 7;
    design.ShipNodes.Append();
    ASSERT_TRUE(StartEditor()) << editor.StartupFailure;
    EXPECT_EQ(design.DesignFolder, -1);
    EXPECT_EQ(design.ViewX, 190);
    EXPECT_EQ(design.ShipNodes.Count(), 0);
    EXPECT_EQ(editor.QuitRequested, 0);
    EXPECT_EQ(interaction.ClickVolume, 10);
    EXPECT_EQ(editor.FrameEventType, 0);
    EXPECT_EQ(editor.PreviewZoom, 0.0f);
}

TEST_F(Startup, OpensTheScreenAndMakesTheFoldersAndWorkSprites) {
    fs::create_directories(work_ / "Designs" / "3");  // an existing folder is no failure
    ASSERT_TRUE(StartEditor()) << editor.StartupFailure;
    EXPECT_NE(Window_Handle(0), 0);
    EXPECT_EQ(Screen_Width(), 1024);
    EXPECT_EQ(Screen_Height(), 768);
    EXPECT_TRUE(fs::is_directory(work_ / "Designs" / "3"));
    EXPECT_TRUE(fs::is_directory(work_ / "ShipPics"));
    EXPECT_EQ(Sprite_Width(kPreviewSprite), 245);
    EXPECT_EQ(Sprite_Height(kPreviewSprite), 185);
    EXPECT_EQ(Sprite_Width(kShipCanvasSprite), 370);
    EXPECT_EQ(Sprite_Height(kShipCanvasSprite), 290);
}

TEST_F(Startup, LoadsTheMediaUnderTheirNumbers) {
    if (!ProvideMedia()) GTEST_SKIP() << "generated media not built: " << BuiltMediaFolder();
    ASSERT_TRUE(StartEditor()) << editor.StartupFailure;
    EXPECT_EQ(Sprite_Width(kBackgroundSprite), 1024);
    EXPECT_EQ(Sprite_Height(kBackgroundSprite), 768);
    EXPECT_GT(Sprite_Width(kPointerSourceSprite), 0);
    // The drawn pointer is a copy of the loaded one.
    EXPECT_EQ(Sprite_Width(kPointerSprite), Sprite_Width(kPointerSourceSprite));
    EXPECT_EQ(Sprite_Height(kPointerSprite), Sprite_Height(kPointerSourceSprite));
    EXPECT_EQ(SpritePixel(kPointerSprite, 0, 0), SpritePixel(kPointerSourceSprite, 0, 0));
    EXPECT_GT(Image_Width(kCrosshairImage), 0);
    EXPECT_EQ(Image_Width(kCrosshairImage), Image_Height(kCrosshairImage));
    for (ImageNumber image : {kArrowUpImage, kArrowDownImage, kArrowLeftImage, kArrowRightImage}) {
        EXPECT_EQ(Image_Width(image), 25) << image.value;
        EXPECT_EQ(Image_Height(image), 25) << image.value;
    }
}

TEST_F(Startup, MissingMediaLeaveTheirNumbersEmpty) {
    fs::create_directories(work_ / "Media");  // the workspace's own, empty
    ASSERT_TRUE(StartEditor()) << editor.StartupFailure;
    EXPECT_EQ(Sprite_Width(kBackgroundSprite), 0);
    EXPECT_EQ(Sprite_Width(kPointerSourceSprite), 0);
    EXPECT_EQ(Sprite_Width(kPointerSprite), 0);
    EXPECT_EQ(Image_Width(kArrowUpImage), 0);
    PlayClick();  // an empty sound number plays nothing
}

TEST_F(Startup, SetMousePointerOnlyKnowsKindZero) {
    if (!ProvideMedia()) GTEST_SKIP() << "generated media not built: " << BuiltMediaFolder();
    ASSERT_TRUE(StartEditor()) << editor.StartupFailure;
    Sprite_Free(kPointerSprite);
    SetMousePointer(1);
    EXPECT_EQ(Sprite_Width(kPointerSprite), 0);
    SetMousePointer(0);
    EXPECT_EQ(Sprite_Width(kPointerSprite), Sprite_Width(kPointerSourceSprite));
    // Without a source picture, kind 0 leaves no stale pointer behind.
    Sprite_Free(kPointerSourceSprite);
    SetMousePointer(0);
    EXPECT_EQ(Sprite_Width(kPointerSprite), 0);
}

TEST_F(Startup, EndClosesTheWindow) {
    ASSERT_TRUE(StartEditor()) << editor.StartupFailure;
    EndEditor();
    EXPECT_EQ(Window_Handle(0), 0);
    EXPECT_EQ(Screen_Width(), 0);
}
