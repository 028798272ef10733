// The screen's table: every gadget of the editor, in creation order.
#include "editor_gadgets.h"

#include "editor_objects.h"
#include "editor_tables.h"
#include "gadget.h"
#include "services.h"

namespace {

using enum GadgetShape;

// Flag sets of the table.
constexpr int kCaption = kTextCentred | kTextBordered;            // centred, bordered title lines
constexpr int kChoiceList = kListGridLines | kListKeepSelection;  // lists whose choice stays visible
constexpr int kDesignFileList = kFileListGridLines | kFileListNoNavigation;

}  // namespace

// clang-format off
const std::array<GadgetLayout, kEditorGadgetCount> kEditorLayout = {{
//   number                     shape        x    y    w    h   label flags            extra
    {kGadgetQuit,               Button,      895, 730, 100, 25,  6,   0,               0},
    {kGadgetTitle,              Text,        10,  20,  380, 20,  29,  kCaption,        0},
    {kGadgetDesignImages,       ColumnList,  90,  45,  150, 250, 1,   kListGridLines,  150},
    {kGadgetNew,                Button,      10,  45,  80,  18,  2,   0,               0},
    {kGadgetLoad,               Button,      10,  70,  80,  18,  4,   0,               0},
    {kGadgetSave,               Button,      10,  95,  80,  18,  3,   0,               0},
    {kGadgetAddImages,          Button,      270, 45,  80,  18,  22,  0,               0},
    {kGadgetRemoveImage,        Button,      270, 70,  80,  18,  23,  0,               0},
    {kGadgetPrototypeCaption,   Text,        10,  320, 480, 20,  40,  kCaption,        0},
    {kGadgetMode,               Button,      10,  345, 80,  18,  42,  kButtonToggle,   0},
    {kGadgetPrototypeName,      TextField,   110, 345, 180, 18,  -1,  kTextCentred,    0},
    {kGadgetPrototypeList,      ColumnList,  10,  370, 110, 200, 43,  kChoiceList,     110},
    {kGadgetPreviewFrame,       Frame,       120, 370, 260, 200, 44,  0,               0},
    {kGadgetCompatibility,      ColumnList,  380, 370, 110, 200, 14,  kChoiceList,     110},
    {kGadgetAddPrototype,       Button,      10,  580, 80,  18,  22,  0,               0},
    {kGadgetTestCaption,        Text,        500, 320, 380, 20,  21,  kCaption,        0},
    {kGadgetShipFrame,          Frame,       500, 345, 380, 300, 1,   0,               0},
    {kGadgetOfferedPrototypes,  ColumnList,  900, 345, 100, 120, 13,  kListGridLines,  100},
    {kGadgetReset,              Button,      500, 655, 80,  18,  5,   0,               0},
    {kGadgetArrowUp,            ImageButton, 615, 655, 25,  25,  -1,  0,               kArrowUpImage.value},
    {kGadgetArrowLeft,          ImageButton, 590, 680, 25,  25,  -1,  0,               kArrowLeftImage.value},
    {kGadgetArrowRight,         ImageButton, 640, 680, 25,  25,  -1,  0,               kArrowRightImage.value},
    {kGadgetArrowDown,          ImageButton, 615, 705, 25,  25,  -1,  0,               kArrowDownImage.value},
    {kGadgetRandom,             Button,      680, 655, 80,  18,  7,   0,               0},
    {kGadgetSaveAs,             ColumnList,  770, 655, 110, 100, 10,  kListGridLines,  110},
    {kGadgetLoadFrame,          Frame,       500, 20,  500, 280, 11,  0,               0},
    {kGadgetFileList,           FileList,    510, 40,  280, 250, -1,  kDesignFileList, 0},
    {kGadgetFolderInfo,         Editor,      810, 40,  180, 180, -1,  kFieldReadOnly,  0},
    {kGadgetLoadOK,             Button,      910, 270, 80,  18,  0,   0,               0},
    {kGadgetSetupFrame,         Frame,       500, 20,  500, 550, 20,  0,               0},
    {kGadgetSetupImageFrame,    Frame,       510, 40,  280, 280, 15,  0,               0},
    {kGadgetPointX,             TextField,   810, 40,  80,  18,  -1,  kTextCentred,    0},
    {kGadgetPointY,             TextField,   810, 60,  80,  18,  -1,  kTextCentred,    0},
    {kGadgetClear,              Button,      810, 80,  80,  18,  16,  0,               0},
    {kGadgetSetupPrototype,     ColumnList,  810, 120, 180, 200, 47,  kChoiceList,     180},
    {kGadgetSetupRows,          ColumnList,  510, 350, 280, 200, 14,  kChoiceList,     120},
    {kGadgetSetupOK,            Button,      910, 532, 80,  18,  0,   0,               0},
}};
// clang-format on

const GadgetLayout* FindGadgetLayout(int number) {
    for (const GadgetLayout& layout : kEditorLayout)
        if (layout.number == number) return &layout;
    return nullptr;
}

int CreateLayoutGadget(const GadgetLayout& g, const std::string& fileListDirectory) {
    const std::string caption = g.label >= 0 ? Labels[static_cast<std::size_t>(g.label)] : std::string();
    switch (g.shape) {
    case Text: return Gadget_CreateText(g.number, g.x, g.y, g.width, g.height, caption, g.flags);
    case TextField: return Gadget_CreateTextField(g.number, g.x, g.y, g.width, g.height, caption, g.flags);
    case Editor: return Gadget_CreateEditor(g.number, g.x, g.y, g.width, g.height, g.flags);
    case Button: return Gadget_CreateButton(g.number, g.x, g.y, g.width, g.height, caption, g.flags);
    case ColumnList:
        return Gadget_CreateColumnList(g.number, g.x, g.y, g.width, g.height, caption, g.extra, g.flags);
    case FileList: return Gadget_CreateFileList(g.number, g.x, g.y, g.width, g.height, fileListDirectory, g.flags);
    case Frame: return Gadget_CreateFrame(g.number, g.x, g.y, g.width, g.height, caption, g.flags);
    case ImageButton:
        return Gadget_CreateImageButton(g.number, g.x, g.y, g.width, g.height, Image_Handle(g.extra), g.flags);
    }
    return 0;
}
