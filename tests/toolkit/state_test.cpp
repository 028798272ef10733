// Whole-gadget operations: text, state, toggle state, hide, disable, flags.
#include <tuple>

#include "toolkit_fixture.h"

namespace {

using StateTest = ToolkitTest;

std::vector<std::string> Lines(int number) {
    std::vector<std::string> lines;
    for (int i = 0; i < Gadget_CountItems(number); ++i) lines.push_back(Gadget_GetItemText(number, i));
    return lines;
}

TEST_F(StateTest, TextRoundTripsThroughEveryKindThatHasOne) {
    Gadget_CreateText(1, 0, 0, 10, 10, "t", 0);
    Gadget_CreateTextField(2, 0, 0, 10, 10, "f", 0);
    Gadget_CreateButton(3, 0, 0, 10, 10, "b");
    Gadget_CreateFrame(4, 0, 0, 10, 10, "c");
    for (int n : {1, 2, 3, 4}) {
        const std::string text = "new " + std::to_string(n);
        Gadget_SetText(n, text);
        EXPECT_EQ(Gadget_GetText(n), text) << n;
    }
    // Kinds without a text of their own read empty and ignore a new one.
    Gadget_CreateColumnList(5, 0, 0, 10, 10, "Name", 10, 0);
    Gadget_CreateImageButton(6, 0, 0, 10, 10, 3);
    NewGadget(7, GadgetKind_ScrollBar, 0, 0, 10, 10, ScrollBarRecord{});
    for (int n : {5, 6, 7}) {
        EXPECT_EQ(Gadget_SetText(n, "x"), 0);
        EXPECT_EQ(Gadget_GetText(n), "") << n;
    }
    EXPECT_EQ(Gadget_GetItemText(5, -1), "Name\n") << "a list's titles are not its text";
}

TEST_F(StateTest, SettingATextFieldPutsTheCaretAtTheEnd) {
    Gadget_CreateTextField(1, 0, 0, 10, 10, "", 0);
    const struct {
        const char* text;
        int caret;
    } cases[] = {{"abc", 3}, {"", 0}, {"\xC3\xA4" "b", 2}};  // characters, not bytes
    for (const auto& c : cases) {
        Gadget_SetText(1, c.text);
        EXPECT_EQ(std::get<TextFieldRecord>(Record(1).kindRecord).caret, c.caret) << c.text;
    }
}

TEST_F(StateTest, EditorTextSplitsAtCarriageReturnsAndTheCharacterAfterThem) {
    Gadget_CreateEditor(1, 0, 0, 100, 100, 0);
    const struct {
        const char* text;
        std::vector<std::string> lines;
        int caretLine, caretColumn;
    } cases[] = {
        {"", {}, 0, 0},
        {"a", {"a"}, 0, 1},
        {"a\r\nb\r\n", {"a", "b"}, 1, 1},
        {"a\r\nbcd", {"a", "bcd"}, 1, 3},
        {"\r\n", {""}, 0, 0},
        {"a\r\n\r\nb", {"a", "", "b"}, 2, 1},
        {"a\rxb", {"a", "b"}, 1, 1},                      // a lone CR swallows the next character
        {"a\r", {"a"}, 0, 1},                             // even when there is none
        {"a\r\xE2\x82\xAC" "b", {"a", "b"}, 1, 1},        // a whole character, not one byte of it
        {"x\ny\r\n", {"x\ny"}, 0, 3},                     // a lone LF stays in the line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        Gadget_SetText(1, "old\r\nlines\r\nhere\r\n");
        Gadget_SetText(1, c.text);
        EXPECT_EQ(Lines(1), c.lines);
        EXPECT_EQ(Editor(1).caretLine, c.caretLine);
        EXPECT_EQ(Editor(1).caretColumn, c.caretColumn);
        std::string whole;
        for (const std::string& line : c.lines) whole += line + "\r\n";
        EXPECT_EQ(Gadget_GetText(1), whole);
    }
}

TEST_F(StateTest, ButtonStateExistsOnlyForToggleButtons) {
    Gadget_CreateButton(1, 0, 0, 10, 10, "plain");
    Gadget_CreateButton(2, 0, 0, 10, 10, "toggle", kButtonToggle);
    Gadget_CreateImageButton(3, 0, 0, 10, 10, 0);
    Gadget_CreateImageButton(4, 0, 0, 10, 10, 0, 0x1000);
    for (int n : {1, 2, 3, 4}) Gadget_SetToggleState(n, 1);
    EXPECT_EQ(Gadget_GetState(1), -1);
    EXPECT_EQ(Gadget_GetToggleState(1), -1);
    EXPECT_EQ(Gadget_GetState(2), 1);
    EXPECT_EQ(Gadget_GetToggleState(2), 1);
    EXPECT_EQ(Gadget_GetToggleState(3), -1);
    EXPECT_EQ(Gadget_GetToggleState(4), 1);

    Gadget_SetState(1, 1);
    Gadget_SetState(2, 0);
    EXPECT_EQ(Gadget_GetState(1), -1);
    EXPECT_EQ(Gadget_GetState(2), 0);
    EXPECT_EQ(std::get<ButtonRecord>(Record(1).kindRecord).state, 0);
}

TEST_F(StateTest, ImageButtonStateIsItsPicture) {
    Gadget_CreateImageButton(1, 0, 0, 10, 10, 555, kButtonToggle);
    EXPECT_EQ(Gadget_GetState(1), 555);
    Gadget_SetState(1, 777);
    EXPECT_EQ(Gadget_GetState(1), 777);
    EXPECT_EQ(Record(1).fillColor, 777);
    EXPECT_EQ(Record(1).fillMode, 2);
    EXPECT_EQ(Gadget_GetToggleState(1), 0) << "the toggle state is separate";
}

TEST_F(StateTest, ListAndEditorSelectionDifferForStateZero) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_CreateEditor(2, 0, 0, 100, 100, 0);
    AddItems(1, {"r0", "r1", "r2", "r3"});
    AddItems(2, {"l0", "l1", "l2"});

    Gadget_SetState(1, 2);
    EXPECT_EQ(Gadget_GetState(1), 2);
    EXPECT_EQ(Gadget_GetItemState(1, 2), 2) << "the row's selected takes the state itself";
    Gadget_SetItemState(1, 3, 1);
    Gadget_SetState(1, 0);
    EXPECT_EQ(Gadget_GetState(1), -1) << "0 leaves no row selected";
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Gadget_GetItemState(1, i), 0);
    Gadget_SetState(1, 3);
    Gadget_SetState(1, 9);
    EXPECT_EQ(Gadget_GetState(1), -1) << "past the end only clears";

    Gadget_SetState(2, 0);
    EXPECT_EQ(Gadget_GetState(2), 0) << "0 selects line 0";
    EXPECT_EQ(Gadget_GetItemState(2, 0), 1);
    Gadget_SetItemState(2, 2, 1);
    Gadget_SetState(2, 1);
    EXPECT_EQ((std::vector<int>{Gadget_GetItemState(2, 0), Gadget_GetItemState(2, 1), Gadget_GetItemState(2, 2)}),
              (std::vector<int>{0, 1, 0}));
    Gadget_SetState(2, -1);
    EXPECT_EQ(Gadget_GetState(2), -1);
}

TEST_F(StateTest, ScrollBarValueIsClampedLowerLimitFirst) {
    const struct {
        int minimum, maximum, page, state, value;
    } cases[] = {
        {0, 100, 10, 95, 91}, {0, 100, 10, -5, 0},  {0, 100, 10, 50, 50}, {0, 100, 10, 91, 91},
        {10, 5, 10, 0, -4},   // limits cross: the upper one wins
        {0, 2147483647, -2147483647 - 1, 5, 5},  // no overflow in maximum - page + 1
    };
    NewGadget(2001, GadgetKind_ScrollBar, 0, 0, 10, 100, ScrollBarRecord{});
    for (const auto& c : cases) {
        auto& bar = std::get<ScrollBarRecord>(Record(2001).kindRecord);
        bar.minimum = c.minimum;
        bar.maximum = c.maximum;
        bar.page = c.page;
        Gadget_SetState(2001, c.state);
        EXPECT_EQ(bar.value, c.value) << c.minimum << " " << c.maximum << " " << c.page << " " << c.state;
        EXPECT_EQ(Gadget_GetState(2001), c.value);
    }
}

TEST_F(StateTest, HidingAListOrEditorHidesItsScrollBarButDisablingDoesNot) {
    Gadget_CreateColumnList(1, 0, 0, 100, 100, "Name", 100, 0);
    Gadget_CreateEditor(2, 0, 0, 100, 100, 0);
    Gadget_CreateText(3, 0, 0, 10, 10, "t", 0);
    Gadget_CreateText(2003, 0, 0, 10, 10, "not a bar of 3", 0);
    for (int n : {1, 2}) AttachScrollBar(n);
    for (int n : {1, 2, 3}) {
        Gadget_Hide(n, 1);
        Gadget_Disable(n, 1);
    }
    EXPECT_EQ(std::make_tuple(Record(1).hidden, Record(2001).hidden, Record(2).hidden, Record(2002).hidden),
              std::make_tuple(1, 1, 1, 1));
    EXPECT_EQ(std::make_tuple(Record(1).disabled, Record(2001).disabled, Record(2002).disabled),
              std::make_tuple(1, 0, 0));
    EXPECT_EQ(std::make_tuple(Record(3).hidden, Record(2003).hidden), std::make_tuple(1, 0));
    Gadget_Hide(1, 0);
    EXPECT_EQ(std::make_tuple(Record(1).hidden, Record(2001).hidden), std::make_tuple(0, 0));
}

TEST_F(StateTest, SetFlagsReplacesTheKindFlagsButNotTheToggle) {
    Gadget_CreateButton(1, 0, 0, 10, 10, "b", 0);
    Gadget_CreateImageButton(2, 0, 0, 10, 10, 0, kButtonToggle);
    Gadget_SetFlags(1, kButtonToggle);
    Gadget_SetFlags(2, 0);
    EXPECT_EQ(std::get<ButtonRecord>(Record(1).kindRecord).flags, kButtonToggle);
    EXPECT_EQ(Gadget_GetToggleState(1), -1);
    EXPECT_EQ(std::get<ImageButtonRecord>(Record(2).kindRecord).flags, 0);
    EXPECT_EQ(Gadget_GetToggleState(2), 0);
}

TEST_F(StateTest, FileListFlagsAreConvertedAgainAndItsColumnsKept) {
    Gadget_CreateFileList(1, 0, 0, 300, 200, "", 0);
    Gadget_SetFlags(1, kFileListKeepSelection | kFileListGridLines);
    EXPECT_EQ(List(1).fileListFlags, kFileListKeepSelection | kFileListGridLines);
    EXPECT_EQ(List(1).flags, kListGridLines | kListKeepSelection);
    EXPECT_EQ(Gadget_GetItemText(1, -1), "Name\nSize\nType\nModified\n");
}

}  // namespace
