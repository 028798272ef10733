// Creating every kind of gadget, and freeing one or all.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "toolkit_fixture.h"

namespace {

using CreateTest = ToolkitTest;

struct Creation {
    const char* name;
    int kind;
    std::function<int(int number)> create;
};

const std::vector<Creation>& AllCreations() {
    static const std::vector<Creation> all = {
        {"Text", GadgetKind_Text, [](int n) { return Gadget_CreateText(n, 1, 2, 30, 40, "t", 0); }},
        {"TextField", GadgetKind_TextField, [](int n) { return Gadget_CreateTextField(n, 1, 2, 30, 40, "t", 0); }},
        {"Editor", GadgetKind_Editor, [](int n) { return Gadget_CreateEditor(n, 1, 2, 30, 40, 0); }},
        {"Button", GadgetKind_Button, [](int n) { return Gadget_CreateButton(n, 1, 2, 30, 40, "b"); }},
        {"ColumnList", GadgetKind_ColumnList,
         [](int n) { return Gadget_CreateColumnList(n, 1, 2, 30, 40, "Name", 100, 0); }},
        {"FileList", GadgetKind_FileList, [](int n) { return Gadget_CreateFileList(n, 1, 2, 30, 40, "", 0); }},
        {"Frame", GadgetKind_Frame, [](int n) { return Gadget_CreateFrame(n, 1, 2, 30, 40, "f"); }},
        {"ImageButton", GadgetKind_ImageButton, [](int n) { return Gadget_CreateImageButton(n, 1, 2, 30, 40, 7); }},
    };
    return all;
}

TEST_F(CreateTest, EveryKindTakesTheCommonStepsAndReturnsSelfOrTheChosenNumber) {
    Gadget_SetDefaultTextColor(0x123456);
    for (const Creation& c : AllCreations()) {
        SCOPED_TRACE(c.name);
        const int self = c.create(40);
        GadgetRecord& g = Record(40);
        EXPECT_EQ(g.kind, c.kind);
        EXPECT_EQ(self, g.self.value);
        EXPECT_NE(self, 0);
        EXPECT_EQ(Gadget_GetActive(), 40);
        EXPECT_EQ(Gadget_Kind(40), c.kind);
        EXPECT_EQ(std::tie(g.x, g.y, g.width, g.height), std::make_tuple(1, 2, 30, 40));
        EXPECT_EQ(g.textColor, 0x123456);
        EXPECT_EQ(g.hidden, 0);
        EXPECT_EQ(g.disabled, 0);

        const int chosen = c.create(kGadgetAuto);
        EXPECT_EQ(Gadget_Kind(chosen), c.kind);
        EXPECT_EQ(Gadget_GetActive(), -1);
        Gadget_FreeAll();
        Gadget_SetDefaultTextColor(0x123456);
    }
}

TEST_F(CreateTest, ToggleButtonsComeFromAnyOfBits1_2And0x1000) {
    const struct {
        int flags, toggle;
    } cases[] = {{0, 0}, {0x1003, 1}, {0x100, 0}, {0x2, 1}, {0x1, 1}, {0x1000, 1}, {0x2200, 0}};
    for (const auto& c : cases) {
        Gadget_CreateButton(1, 0, 0, 10, 10, "b", c.flags);
        Gadget_CreateImageButton(2, 0, 0, 10, 10, 0, c.flags);
        const auto& button = std::get<ButtonRecord>(Record(1).kindRecord);
        const auto& image = std::get<ImageButtonRecord>(Record(2).kindRecord);
        EXPECT_EQ(button.toggle, c.toggle) << std::hex << c.flags;
        EXPECT_EQ(button.flags, c.flags);
        EXPECT_EQ(button.state, 0);
        EXPECT_EQ(image.toggle, c.toggle) << std::hex << c.flags;
        EXPECT_EQ(image.flags, c.flags);
    }
}

TEST_F(CreateTest, ColumnListStartsWithOneColumnWhiteAndUnsorted) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "Parts", 120, kListGridLines | kListMultiSelect);
    const ColumnListRecord& l = List(1);
    EXPECT_EQ(Record(1).fillColor, 0xFFFFFF);
    EXPECT_EQ(Gadget_GetItemText(1, -1), "Parts\n");
    EXPECT_EQ(l.anchorRow, -1);
    for (int s : l.sortState) EXPECT_EQ(s, -1);
}

TEST_F(CreateTest, FileListConvertsItsFlagsAndAddsThreeKeyedColumns) {
    const struct {
        int fileListFlags, listFlags;
    } cases[] = {
        {0, 0},
        {0x1000000, 0x8},
        {0x200000, 0x4},
        {0x400000, 0x10000},
        {0x2000000, 0x40000000},
        {0x400008, 0x10000},  // the program's: bit 8 stays with the FileList
        {0x3600000 | 0x1000000 | 0xFF, 0x4001000C},
    };
    for (const auto& c : cases) {
        const int n = Gadget_CreateFileList(kGadgetAuto, 0, 0, 300, 200, "", c.fileListFlags);
        SCOPED_TRACE(c.fileListFlags);
        ASSERT_GE(n, 1);
        EXPECT_EQ(Gadget_Kind(n), GadgetKind_FileList);
        const ColumnListRecord& l = List(n);
        EXPECT_EQ(l.flags, c.listFlags);
        EXPECT_EQ(l.fileListFlags, c.fileListFlags);
        EXPECT_EQ(Gadget_GetItemText(n, -1), "Name\nSize\nType\nModified\n");
        EXPECT_EQ((std::vector<int>(l.columnWidth.begin(), l.columnWidth.begin() + 5)),
                  (std::vector<int>{150, 70, 50, 100, 0}));
        EXPECT_EQ((std::vector<int>(l.columnContent.begin(), l.columnContent.begin() + 5)),
                  (std::vector<int>{1, 2, 3, 6, 0}));
        EXPECT_EQ(Record(n).fillColor, 0xFFFFFF);
        Gadget_Free(n);
    }
}

TEST_F(CreateTest, FileListIsFilledFromItsDirectory) {
    const auto dir = std::filesystem::temp_directory_path() / ("kw_create_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    for (const char* name : {"a.png", "b.png"}) std::ofstream(dir / name) << "x";
    const std::string wanted = (dir / "*.png").string();
    Gadget_CreateFileList(3, 0, 0, 300, 200, wanted, kFileListNoParent);
    EXPECT_EQ(Gadget_CountItems(3), 2);
    std::vector<std::string> names = {Gadget_GetCellText(3, 0, 0), Gadget_GetCellText(3, 1, 0)};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.png", "b.png"}));
    EXPECT_EQ(Gadget_GetCellText(3, 1, 2), "png");
    std::filesystem::remove_all(dir);
}

TEST_F(CreateTest, CreatingANumberTwiceLeavesTheFirstInPlaceButUnreachable) {
    Gadget_CreateText(5, 0, 0, 10, 10, "first", 0);
    Gadget_CreateButton(5, 0, 0, 10, 10, "second");
    EXPECT_EQ(Gadget_Kind(5), GadgetKind_Button);
    EXPECT_EQ(Gadget_GetText(5), "second");
    EXPECT_EQ(toolkit.records.size(), 2u) << "the first is still drawn and hit-tested";
    Gadget_Free(5);
    EXPECT_EQ(FindGadget(5), nullptr);
    ASSERT_EQ(toolkit.records.size(), 1u);
    EXPECT_EQ(std::get<TextRecord>(toolkit.records.front().kindRecord).text, "first");
}

TEST_F(CreateTest, EditorDrawsThroughItsOwnSpriteWhichFreeingReleases) {
    Gadget_CreateEditor(1, 0, 0, 120, 80, 0);
    const int sprite = Editor(1).sprite;
    ASSERT_NE(sprite, 0);
    EXPECT_EQ(Sprite_Width(sprite), 121);
    EXPECT_EQ(Sprite_Height(sprite), 81);
    EXPECT_TRUE(Editor(1).lines.empty());
    EXPECT_EQ(std::tie(Editor(1).caretLine, Editor(1).caretColumn), std::make_tuple(0, 0));
    Gadget_Free(1);
    EXPECT_EQ(Sprite_Width(sprite), 0);

    Gadget_CreateEditor(2, 0, 0, 10, 10, 0);
    const int second = Editor(2).sprite;
    Gadget_FreeAll();
    EXPECT_EQ(Sprite_Width(second), 0);

    Sprite_Create(0, 5, 5);  // the program's sprite 0 is not the toolkit's to free
    Gadget_CreateEditor(3, 0, 0, -10, -10, 0);  // no sprite can be made
    Gadget_Free(3);
    EXPECT_EQ(Sprite_Width(0), 5);
}

TEST_F(CreateTest, FreeingAListOrEditorTakesItsScrollBarAlong) {
    for (const Creation& c : AllCreations()) {
        if (c.kind != GadgetKind_Editor && c.kind != GadgetKind_ColumnList && c.kind != GadgetKind_FileList)
            continue;
        SCOPED_TRACE(c.name);
        c.create(7);
        AddItems(7, {"a", "b"});
        AttachScrollBar(7);
        ASSERT_EQ(Gadget_Kind(2007), GadgetKind_ScrollBar);
        Gadget_Free(7);
        EXPECT_EQ(FindGadget(7), nullptr);
        EXPECT_EQ(FindGadget(2007), nullptr);
        EXPECT_TRUE(toolkit.records.empty());
    }
}

TEST_F(CreateTest, FreeingTakesOnlyTheGadgetsOwnScrollBar) {
    Gadget_CreateText(7, 0, 0, 10, 10, "t", 0);
    Gadget_CreateText(2007, 0, 0, 10, 10, "not 7's", 0);
    Gadget_Free(7);
    EXPECT_EQ(Gadget_GetText(2007), "not 7's");

    Gadget_CreateColumnList(8, 0, 0, 100, 100, "Name", 100, 0);
    const GadgetSelf barSelf = AttachScrollBar(8);
    Gadget_CreateText(2008, 0, 0, 10, 10, "took the bar's number", 0);
    Gadget_Free(8);
    EXPECT_EQ(Gadget_GetText(2008), "took the bar's number");
    EXPECT_EQ(FindGadgetBySelf(barSelf), nullptr) << "the list's own bar went with it";
    EXPECT_EQ(toolkit.records.size(), 2u);
}

TEST_F(CreateTest, FreeAllEmptiesEveryNumberAndResetsTheDefaults) {
    Gadget_CreateText(2150, 0, 0, 1, 1, "", 0);
    Gadget_CreateColumnList(0, 0, 0, 1, 1, "", 10, 0);
    AddItems(0, {"x"});
    Gadget_SetDefaultTextColor(0xCCB7B5);
    Gadget_SetDefaultFillMode(0);
    toolkit.defaultFillColor = 0x123;
    toolkit.eventType = EventType_LeftUp;
    Gadget_FreeAll();
    EXPECT_TRUE(toolkit.records.empty());
    EXPECT_EQ(toolkit.registryTop, 2200) << "the registry never shrinks";
    for (int n = 0; n <= toolkit.registryTop; ++n) ASSERT_EQ(FindGadget(n), nullptr) << n;
    EXPECT_EQ(std::tie(toolkit.defaultTextColor, toolkit.defaultFillMode, toolkit.defaultFillColor),
              std::make_tuple(0, 1, 0xC0C0C0));
    EXPECT_EQ(toolkit.eventType, 0);
    EXPECT_EQ(Gadget_GetActive(), 0);
    EXPECT_EQ(Gadget_CreateText(kGadgetAuto, 0, 0, 1, 1, "", 0), 1);
    Gadget_CreateText(2150, 0, 0, 1, 1, "again", 0);
    EXPECT_EQ(Gadget_GetText(2150), "again");
    EXPECT_EQ(Record(2150).textColor, 0);
}

}  // namespace
