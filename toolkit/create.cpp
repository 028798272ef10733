// Creating gadgets of every kind, and removing one or all of them.
#include <algorithm>
#include <cstdint>

#include "gadget_internal.h"
#include "services.h"

namespace {

// What a creation returns: the chosen number for automatic numbering (also
// given to requests outside the registry's range), the record's identity for
// a number the caller fixed.
int CreationResult(int requested, const GadgetRecord& g) {
    return g.number != requested ? g.number : g.self.value;
}

// An Editor draws through its own sprite; nobody else frees it.
void ReleaseEditorSprite(GadgetRecord& g) {
    if (auto* e = KindAs<EditorRecord>(&g); e && e->sprite != 0) {
        Sprite_Free(e->sprite);
        e->sprite = 0;
    }
}

GadgetRecord& CreateColumnListRecord(int number, int x, int y, int width, int height, const std::string& title,
                                     int titleWidth, int flags) {
    ColumnListRecord list;
    list.font = toolkit.currentFont;
    list.headerTextColor = toolkit.defaultHeaderTextColor;
    list.headerColor = toolkit.defaultHeaderColor;
    list.gridColor = toolkit.defaultGridColor;
    list.anchorRow = -1;
    list.flags = flags;
    list.title[0] = title;
    list.columnWidth[0] = titleWidth;
    list.sortState.fill(-1);
    GadgetRecord& g = NewGadget(number, GadgetKind_ColumnList, x, y, width, height, std::move(list));
    g.fillColor = 0xFFFFFF;
    return g;
}

}  // namespace

int FileList_ConvertFlags(int fileListFlags) {
    static constexpr struct {
        int fileListBit, listBit;
    } kMap[] = {
        {kFileListKeepSelection, kListKeepSelection},
        {kFileListMultiSelect, kListMultiSelect},
        {kFileListGridLines, kListGridLines},
        {kFileListFullRowSelect, kListFullRowSelect},
    };
    int listFlags = 0;
    for (const auto& m : kMap)
        if (fileListFlags & m.fileListBit) listFlags |= m.listBit;
    return listFlags;
}

int Gadget_CreateText(int number, int x, int y, int width, int height, const std::string& text, int flags) {
    TextRecord r;
    r.text = text;
    r.font = toolkit.currentFont;
    r.flags = flags;
    return CreationResult(number, NewGadget(number, GadgetKind_Text, x, y, width, height, std::move(r)));
}

int Gadget_CreateTextField(int number, int x, int y, int width, int height, const std::string& text,
                           int flags) {
    TextFieldRecord r;
    r.text = text;
    r.font = toolkit.currentFont;
    r.flags = flags;
    r.caret = 0;
    r.overwrite = 0;
    return CreationResult(number, NewGadget(number, GadgetKind_TextField, x, y, width, height, std::move(r)));
}

int Gadget_CreateEditor(int number, int x, int y, int width, int height, int flags) {
    EditorRecord r;
    r.font = toolkit.currentFont;
    r.flags = flags;
    // One pixel wider and taller than the gadget; a size the sprite service
    // cannot make leaves the Editor without a sprite (it then draws nothing).
    const std::int64_t spriteWidth = std::int64_t{width} + 1, spriteHeight = std::int64_t{height} + 1;
    r.sprite = spriteWidth <= INT32_MAX && spriteHeight <= INT32_MAX
                   ? Sprite_Create(kServiceAuto, static_cast<int>(spriteWidth), static_cast<int>(spriteHeight))
                   : 0;
    return CreationResult(number, NewGadget(number, GadgetKind_Editor, x, y, width, height, std::move(r)));
}

int Gadget_CreateButton(int number, int x, int y, int width, int height, const std::string& text, int flags) {
    ButtonRecord r;
    r.text = text;
    r.font = toolkit.currentFont;
    r.flags = flags;
    r.toggle = (flags & kButtonToggle) ? 1 : 0;
    r.state = 0;
    return CreationResult(number, NewGadget(number, GadgetKind_Button, x, y, width, height, std::move(r)));
}

int Gadget_CreateColumnList(int number, int x, int y, int width, int height, const std::string& title,
                            int titleWidth, int flags) {
    return CreationResult(number, CreateColumnListRecord(number, x, y, width, height, title, titleWidth, flags));
}

int Gadget_CreateFileList(int number, int x, int y, int width, int height, const std::string& directory,
                          int flags) {
    GadgetRecord& g = CreateColumnListRecord(number, x, y, width, height, "Name", 150, FileList_ConvertFlags(flags));
    const int result = CreationResult(number, g);
    const int n = g.number;
    g.kind = GadgetKind_FileList;
    auto& list = std::get<ColumnListRecord>(g.kindRecord);
    list.fileListFlags = flags;
    list.columnContent[0] = 1;
    Gadget_AddColumn(n, 1, "GT_Explorer_Column_Size", 70);
    Gadget_AddColumn(n, 2, "GT_Explorer_Column_Type", 50);
    Gadget_AddColumn(n, 3, "GT_Explorer_Column_Modified", 100);
    FileList_Refill(n, directory);
    return result;
}

int Gadget_CreateFrame(int number, int x, int y, int width, int height, const std::string& text, int flags) {
    FrameRecord r;
    r.text = text;
    r.font = toolkit.currentFont;
    r.flags = flags;
    return CreationResult(number, NewGadget(number, GadgetKind_Frame, x, y, width, height, std::move(r)));
}

int Gadget_CreateImageButton(int number, int x, int y, int width, int height, int image, int flags) {
    ImageButtonRecord r;
    r.flags = flags;
    r.toggle = (flags & kButtonToggle) ? 1 : 0;
    r.state = 0;
    GadgetRecord& g = NewGadget(number, GadgetKind_ImageButton, x, y, width, height, std::move(r));
    g.fillColor = image;
    return CreationResult(number, g);
}

int Gadget_Free(int number) {
    GadgetRecord* g = FindGadget(number);
    if (!g) return 0;
    // By identity, not by number + 2000: that number may since have been
    // given to another gadget, which must survive.
    if (GadgetRecord* bar = OwnScrollBar(g)) DeleteGadgetRecord(*bar);
    if (auto* e = KindAs<EditorRecord>(g)) {
        e->lines.clear();
        e->lines.shrink_to_fit();
        e->scrollBar = {};
    } else if (auto* l = KindAs<ColumnListRecord>(g)) {
        l->rows.clear();
        l->rows.shrink_to_fit();
        l->rowsHaveImages = 0;
        l->scrollBar = {};
    }
    ReleaseEditorSprite(*g);
    DeleteGadgetRecord(*g);
    return 0;
}

int Gadget_FreeAll() {
    for (GadgetRecord& g : toolkit.records) ReleaseEditorSprite(g);
    toolkit.records.clear();
    std::fill(toolkit.registry.begin(), toolkit.registry.end(), nullptr);
    toolkit.lastAccessed = nullptr;
    toolkit.defaultTextColor = 0;
    toolkit.defaultFillMode = 1;
    toolkit.defaultFillColor = 0xC0C0C0;
    toolkit.eventType = 0;
    toolkit.activeGadget = 0;
    return 0;
}
