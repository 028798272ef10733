// The editor's window on a desktop: its screen shown at a whole factor with
// every click landing where it does at factor 1, the title line naming the
// design or a passing message, and the wheel scrolling the list under it.
#include <map>

#include "editor_session.h"
#include "editor_gadgets.h"
#include "title_line.h"

namespace {

// What a press and release at the centre of each visible gadget of the
// layout table reaches, at one factor: gadget number -> the event's gadget.
std::map<int, int> GadgetsHit(int scale) {
    std::map<int, int> hit;
    for (const GadgetLayout& layout : kEditorLayout) {
        const GadgetRecord* g = FindGadget(layout.number);
        if (!g || g->hidden) continue;
        // The last window pixel of the centre's block: it must still name the centre.
        const int x = (g->x + g->width / 2) * scale + scale - 1, y = (g->y + g->height / 2) * scale + scale - 1;
        Testing_MouseMove(x, y);
        RunFrame();
        Testing_MouseButton(1, true);
        RunFrame();
        const int pressed = editor.FrameEvent == GadgetEvent ? editor.FrameGadget : -1;
        // Released off every gadget: the click is not taken, so the screen stays as it is.
        Testing_MouseMove(0, 767 * scale);
        Testing_MouseButton(1, false);
        RunFrame();
        hit[layout.number] = pressed;
    }
    return hit;
}

}  // namespace

class ScaledEditor : public AppTest {
protected:
    void Start(int scale) {
        if (!fs::exists(work_ / "Media")) {
            ASSERT_TRUE(ProvideMedia()) << "media not built: " << BuiltMediaFolder();
        }
        ASSERT_TRUE(StartEditor(scale)) << editor.StartupFailure;
        RunFrame();
    }
    void Restart(int scale) {
        FinalCleanup();
        Testing_ResetServices();
        editor = EditorState{};
        interaction = InteractionState{};
        design = DesignState{};
        Start(scale);
    }
    static void ClickWindow(int x, int y) {
        Testing_MouseMove(x, y);
        RunFrame();
        Testing_MouseButton(1, true);
        RunFrame();
        Testing_MouseButton(1, false);
        RunFrame();
        RunFrame();
    }
};

TEST_F(ScaledEditor, PressesAtFactorsTwoAndThreeReachTheGadgetsTheyReachAtOne) {
    std::map<int, int> atOne;
    for (int scale : {1, 2, 3}) {
        SCOPED_TRACE(scale);
        Restart(scale);
        ASSERT_EQ(Screen_Scale(), scale);
        EXPECT_EQ(Testing_WindowWidth(), 1024 * scale);
        EXPECT_EQ(Testing_WindowHeight(), 768 * scale);
        // A design open (the panel follows at the second "New"): the design panel shows most of the table.
        const GadgetRecord* make = FindGadget(kGadgetNew);
        ClickWindow((make->x + 5) * scale, (make->y + 5) * scale);
        ClickWindow((make->x + 5) * scale, (make->y + 5) * scale);
        ASSERT_GE(design.DesignFolder, 0);
        const std::map<int, int> hit = GadgetsHit(scale);
        if (scale == 1) {
            atOne = hit;
            int own = 0;
            for (const auto& [number, reached] : hit) own += reached == number;
            EXPECT_GE(own, 8) << "the table's buttons answer their own centres";
        } else {
            EXPECT_EQ(hit, atOne);
        }
    }
}

TEST_F(ScaledEditor, AClickOnNewAtFactorTwoMakesADesignAndTheShotStaysScreenSized) {
    Start(2);
    // "New" spans (10, 45) .. (90, 63) on the screen; window (100, 108) is screen (50, 54).
    ClickWindow(100, 108);
    EXPECT_GE(design.DesignFolder, 0);
    EXPECT_TRUE(fs::is_directory(work_ / "Designs" / std::to_string(design.DesignFolder)));

    // The window shows the screen's pixels doubled, the pointer's included.
    const int x = 50, y = 54;
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
            if (!Draw_Begin(Draw_ScreenOutput())) FAIL();
            const int colour = Draw_Point(x, y);
            Draw_End();
            EXPECT_EQ(Testing_WindowPixel(2 * x + dx, 2 * y + dy), colour);
        }

    Testing_Key(kKeyScrollLock, true);
    RunFrame();
    Testing_Key(kKeyScrollLock, false);
    RunFrame();
    int shots = 0;
    for (const auto& entry : fs::directory_iterator(work_ / "ScreenShots")) {
        const std::string name = entry.path().filename().string();
        if (name.find("_TN") != std::string::npos) continue;
        ++shots;
        const int image = Image_Load(kServiceAuto, entry.path().string(), 0);
        EXPECT_EQ(Image_Width(image), 1024) << name;
        EXPECT_EQ(Image_Height(image), 768) << name;
        Image_Free(image);
    }
    EXPECT_EQ(shots, 1);
}

TEST_F(ScaledEditor, ADragAtFactorsTwoAndThreeMovesAScrollBarAsAtOne) {
    for (int n = 1; n <= 60; ++n) fs::create_directories(work_ / "Designs" / std::to_string(n));
    std::vector<int> values;
    for (int scale : {1, 2, 3}) {
        SCOPED_TRACE(scale);
        Restart(scale);
        const GadgetRecord* load = FindGadget(kGadgetLoad);
        ClickWindow((load->x + 5) * scale, (load->y + 5) * scale);
        const GadgetRecord* bar = OwnScrollBar(FindGadget(kGadgetFileList));
        ASSERT_NE(bar, nullptr);
        // The thumb grabbed near the top of the track and dragged 60 screen pixels down.
        const int x = bar->x + bar->width / 2, y = bar->y + 14;
        Testing_MouseMove(x * scale, y * scale);
        RunFrame();
        Testing_MouseButton(1, true);
        RunFrame();
        for (int step = 1; step <= 6; ++step) {
            Testing_MouseMove(x * scale, (y + 10 * step) * scale);
            RunFrame();
        }
        Testing_MouseButton(1, false);
        RunFrame();
        values.push_back(std::get<ScrollBarRecord>(OwnScrollBar(FindGadget(kGadgetFileList))->kindRecord).value);
    }
    EXPECT_GT(values[0], 0) << "the drag moved the list";
    EXPECT_EQ(values[1], values[0]);
    EXPECT_EQ(values[2], values[0]);
}

class TitleLine : public EditorSession {};

TEST_F(TitleLine, NamesTheDesignAndLetsAMessagePassFewSecondsLater) {
    EXPECT_EQ(Window_Title(0), "Keelwright");
    MakePicture(7, "hull.png", 10, 10, 0xFFFFFF);
    MakeSetup(7, "hull.png", PartSetup{});
    OpenDesign(7);
    EXPECT_EQ(Window_Title(0), "Keelwright \u2014 Design 7");

    ShowTitleMessage("first");
    ShowTitleMessage("second");  // the newest wins
    Frames(1);
    EXPECT_EQ(Window_Title(0), "Keelwright \u2014 second");
    Testing_AdvanceClock(kTitleMessageMilliseconds / 2);
    ShowTitleMessage("third");  // a new message has its own few seconds
    Frames(1);
    Testing_AdvanceClock(kTitleMessageMilliseconds / 2 + 100);
    Frames(1);
    EXPECT_EQ(Window_Title(0), "Keelwright \u2014 third");
    Testing_AdvanceClock(kTitleMessageMilliseconds / 2);
    Frames(1);
    EXPECT_EQ(Window_Title(0), "Keelwright \u2014 Design 7");
}

class Wheel : public EditorSession {};

TEST_F(Wheel, ANotchScrollsTheListUnderThePointerThreeRows) {
    for (int n = 1; n <= 40; ++n) fs::create_directories(work_ / "Designs" / std::to_string(n));
    ClickGadget(kGadgetLoad);
    ASSERT_GT(Gadget_CountItems(kGadgetFileList), 20);
    const GadgetRecord* list = FindGadget(kGadgetFileList);
    const auto topRow = [&] {
        const GadgetRecord* bar = OwnScrollBar(FindGadget(kGadgetFileList));
        return bar ? std::get<ScrollBarRecord>(bar->kindRecord).value : -1;
    };
    ASSERT_EQ(topRow(), 0);
    Testing_MouseMove(list->x + 20, list->y + list->height / 2);
    Frames(1);
    Testing_MouseWheel(-1);  // towards the user: further down the list
    Frames(1);
    EXPECT_EQ(topRow(), 3);
    Testing_MouseWheel(-2);
    Frames(1);
    EXPECT_EQ(topRow(), 9);
    Testing_MouseWheel(5);  // past the top: stops there
    Frames(1);
    EXPECT_EQ(topRow(), 0);
    // Away from the list, the list stays.
    Testing_MouseMove(list->x - 30, list->y + list->height / 2);
    Frames(1);
    Testing_MouseWheel(-1);
    Frames(1);
    EXPECT_EQ(topRow(), 0);
}
