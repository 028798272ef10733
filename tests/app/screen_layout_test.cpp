#include <set>

#include "app_fixture.h"
#include "design_folders.h"
#include "editor_tables.h"
#include "gadget_internal.h"  // hidden, disabled and column facts: the toolkit offers no query for them

namespace {

std::set<int> Range(int first, int last) {
    std::set<int> numbers;
    for (int n = first; n <= last; ++n) numbers.insert(n);
    return numbers;
}

std::set<int> operator+(std::set<int> a, const std::set<int>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

std::set<int> VisibleGadgets() {
    std::set<int> visible;
    for (int n = 0; n < kEditorGadgetCount; ++n)
        if (const GadgetRecord* g = FindGadget(n); g && !g->hidden) visible.insert(n);
    return visible;
}

bool Disabled(int number) { return FindGadget(number) && FindGadget(number)->disabled; }

const ColumnListRecord& Columns(int number) { return *KindAs<ColumnListRecord>(FindGadget(number)); }

std::vector<int> AreaPixels(int target, int x, int y, int width, int height) {
    std::vector<int> pixels;
    if (!Draw_Begin(target)) return pixels;
    for (int yy = y; yy < y + height; ++yy)
        for (int xx = x; xx < x + width; ++xx) pixels.push_back(Draw_Point(xx, yy));
    Draw_End();
    return pixels;
}

// Pixels of a screen area that differ from the background sprite.
int PixelsOffBackground(int x, int y, int width, int height) {
    const std::vector<int> screen = AreaPixels(Draw_ScreenOutput(), x, y, width, height);
    const std::vector<int> background = AreaPixels(Draw_SpriteOutput(kBackgroundSprite), x, y, width, height);
    if (screen.empty() || screen.size() != background.size()) return -1;
    int differing = 0;
    for (std::size_t i = 0; i < screen.size(); ++i) differing += screen[i] != background[i];
    return differing;
}

}  // namespace

class Screen : public AppTest {
protected:
    void Start() {
        ASSERT_TRUE(ProvideMedia()) << "media not generated";
        ASSERT_TRUE(StartEditor()) << editor.StartupFailure;
    }

    // A press and release over (x, y), one frame each, then the frame that reports the release.
    void Click(int x, int y) {
        Testing_MouseMove(x, y);
        RunFrame();
        Testing_MouseButton(1, true);
        RunFrame();
        Testing_MouseButton(1, false);
        RunFrame();
    }
};

TEST_F(Screen, AllGadgetsInTheTablesOrderWithTheirColumnsAndSizeClasses) {
    Start();
    std::vector<int> order;
    for (const GadgetRecord& g : toolkit.records) order.push_back(g.number);
    std::vector<int> table;
    for (const GadgetLayout& layout : kEditorLayout) table.push_back(layout.number);
    EXPECT_EQ(order, table) << "drawn and hit-tested in creation order";

    const ColumnListRecord& files = Columns(kGadgetFileList);
    EXPECT_EQ(files.title[0], "Name");
    EXPECT_EQ(files.title[1], "Type");
    EXPECT_LT(files.columnWidth[2], 1) << "size and date columns removed";
    EXPECT_EQ(files.directory.rfind(design.BaseDir, 0), 0u);

    const ColumnListRecord& rows = Columns(kGadgetSetupRows);
    EXPECT_EQ((std::vector<std::string>{rows.title[0], rows.title[1], rows.title[2]}),
              (std::vector<std::string>{"Connections", "x", "y"}));
    EXPECT_EQ((std::vector<int>{rows.columnWidth[0], rows.columnWidth[1], rows.columnWidth[2]}),
              (std::vector<int>{120, 45, 45}));

    std::vector<std::string> sizes;
    for (int r = 0; r < Gadget_CountItems(kGadgetSaveAs); ++r) sizes.push_back(Gadget_GetItemText(kGadgetSaveAs, r));
    EXPECT_EQ(sizes, (std::vector<std::string>{"tiny", "small", "medium", "large", "huge"}));
    EXPECT_EQ(FindGadget(kGadgetTitle)->textColor, 0xCCB7B5);
    EXPECT_EQ(FindGadget(kGadgetSetupRows)->fillMode, 0);
}

// The captions a person reads on each panel's buttons and frames.
TEST_F(Screen, GadgetsShowTheirCaptions) {
    Start();
    const struct {
        int gadget;
        const char* caption;
    } captions[] = {
        {kGadgetQuit, "Quit"},         {kGadgetNew, "New"},          {kGadgetLoad, "Load"},
        {kGadgetSave, "Save"},         {kGadgetAddImages, "Add"},    {kGadgetRemoveImage, "Remove"},
        {kGadgetMode, "Mode"},         {kGadgetPreviewFrame, "View"}, {kGadgetAddPrototype, "Add"},
        {kGadgetShipFrame, "Design"},  {kGadgetReset, "Reset"},      {kGadgetRandom, "Random"},
        {kGadgetLoadOK, "OK"},         {kGadgetSetupFrame, "Setup Part"},
        {kGadgetSetupImageFrame, "Images with a setup"},             {kGadgetClear, "Clear"},
        {kGadgetSetupOK, "OK"},        {kGadgetTitle, "No Design"},
    };
    for (const auto& c : captions) EXPECT_EQ(Gadget_GetText(c.gadget), c.caption) << c.gadget;
}

// At start only gadgets 0..5 show, "Save" greyed: the panels' places show the
// bare background, and a click on "Save" or on the hidden "Add" reports nothing.
TEST_F(Screen, StartShowsOnlyTheDesignButtonsWithSaveDisabled) {
    Start();
    EXPECT_EQ(VisibleGadgets(), Range(0, 5));
    EXPECT_TRUE(Disabled(kGadgetSave));
    for (int n : {kGadgetQuit, kGadgetNew, kGadgetLoad}) EXPECT_FALSE(Disabled(n)) << n;
    EXPECT_EQ(editor.EditorMode, kDesignPanel);

    Testing_MouseMove(1010, 5);
    RunFrame();
    EXPECT_EQ(PixelsOffBackground(500, 20, 500, 280), 0) << "no panel frame";
    EXPECT_EQ(PixelsOffBackground(10, 320, 490, 280), 0) << "no prototype group";
    EXPECT_EQ(PixelsOffBackground(270, 45, 80, 43), 0) << "no Add and Remove";
    EXPECT_GT(PixelsOffBackground(10, 20, 380, 20), 0) << "the title line";
    EXPECT_GT(PixelsOffBackground(10, 95, 80, 18), 0) << "the greyed Save button";

    Click(50, 104);
    EXPECT_NE(editor.FrameGadget, kGadgetSave) << "a disabled button reports nothing";
    Click(310, 54);
    EXPECT_NE(editor.FrameGadget, kGadgetAddImages) << "a hidden button reports nothing";
    Click(50, 79);
    EXPECT_EQ(editor.FrameGadget, kGadgetLoad);
    EXPECT_EQ(editor.FrameEventType, EventType_LeftUp);
}

TEST_F(Screen, PanelsShowTheirGroupsAndEndAnyPointMove) {
    const std::set<int> always = Range(0, 5), designGroup = Range(6, 7), prototype = Range(8, 14),
                        test = Range(15, 24), load = Range(25, 28), setup = Range(29, 36);
    const struct {
        const char* name;
        bool open;
        int testMode;
        std::vector<int> modes;
        std::set<int> visible;
        bool saveDisabled;
    } cases[] = {
        {"no design", false, 0, {0}, always, true},
        {"design open", true, 0, {0}, always + designGroup + prototype, false},
        {"test view on", true, 1, {0}, always + designGroup + prototype + test, false},
        {"load over the design", true, 1, {0, 1}, always + designGroup + prototype + test + load, false},
        {"load without design", false, 0, {0, 1}, always + load, true},
        {"setup", true, 1, {0, 2}, always + prototype + setup, true},
        {"load from setup", true, 0, {0, 2, 1}, always + prototype + load, true},
        {"back from setup", true, 0, {0, 2, 0}, always + designGroup + prototype, false},
        {"back without design", false, 0, {2, 0}, always, true},
    };
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        design.DesignFolder = c.open ? 4 : -1;
        design.TestMode = c.testMode;
        for (int mode : c.modes) {
            editor.DraggingOffset = 1;
            editor.DraggedConnection = 3;
            SetEditorMode(mode);
            EXPECT_EQ(editor.EditorMode, mode);
            EXPECT_EQ(editor.DraggingOffset, -1);
            EXPECT_EQ(editor.DraggedConnection, -1);
        }
        EXPECT_EQ(VisibleGadgets(), c.visible);
        EXPECT_EQ(Disabled(kGadgetSave), c.saveDisabled);
    }
}

// A new design through the real screen: its title, then its buttons answer clicks.
TEST_F(Screen, NewDesignShowsItsTitleAndItsPanel) {
    Start();
    ASSERT_TRUE(NewDesignFolder());
    EXPECT_EQ(Gadget_GetText(kGadgetTitle), "Design: 1");
    SetEditorMode(kDesignPanel);
    Click(310, 54);
    EXPECT_EQ(editor.FrameGadget, kGadgetAddImages);
    Click(50, 104);
    EXPECT_EQ(editor.FrameGadget, kGadgetSave);
    EXPECT_GT(PixelsOffBackground(120, 370, 260, 200), 0) << "the preview frame";
}
