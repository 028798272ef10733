// The editor's screen: its 37 gadgets, made from the layout table, and the
// three panels switched by hiding, showing, enabling and disabling them.
#include <initializer_list>
#include <string>

#include "app.h"
#include "editor_gadgets.h"
#include "editor_tables.h"
#include "gadget.h"
#include "part_palette.h"
#include "paths.h"
#include "ship_assembly.h"

namespace {

// The file list shows the design folders by name and type only.
constexpr int kFileListModifiedColumn = 3;
constexpr int kFileListSizeColumn = 1;
// The setup rows list gets an "x" and a "y" column beside the point's name.
constexpr int kSetupCoordinateWidth = 45;

enum : int { kShow = 0, kHide = 1 };
enum : int { kEnable = 0, kDisable = 1 };

void HideGadgets(int first, int last, int hide) {
    for (int number = first; number <= last; ++number) Gadget_Hide(number, hide);
}

void HideGadgets(std::initializer_list<int> numbers, int hide) {
    for (int number : numbers) Gadget_Hide(number, hide);
}

}  // namespace

void CreateEditorGadgets() {
    const std::string designs = DesignsPath();
    for (const GadgetLayout& layout : kEditorLayout) {
        CreateLayoutGadget(layout, designs);
        if (layout.number == kGadgetFileList) {
            // Removing 3 first keeps column 1 where it is.
            Gadget_RemoveColumn(kGadgetFileList, kFileListModifiedColumn);
            Gadget_RemoveColumn(kGadgetFileList, kFileListSizeColumn);
        } else if (layout.number == kGadgetSetupRows) {
            Gadget_AddColumn(kGadgetSetupRows, 1, Labels[kLabelX], kSetupCoordinateWidth);
            Gadget_AddColumn(kGadgetSetupRows, 2, Labels[kLabelY], kSetupCoordinateWidth);
        }
    }
}

void SetEditorMode(int mode) {
    if (mode == kDesignPanel) {
        HideGadgets({kGadgetLoadFrame, kGadgetFileList, kGadgetFolderInfo, kGadgetLoadOK, kGadgetSetupFrame,
                     kGadgetClear, kGadgetPointX, kGadgetPointY, kGadgetSetupRows, kGadgetSetupImageFrame,
                     kGadgetSetupPrototype, kGadgetSetupOK},
                    kHide);
        if (design.DesignFolder == -1) {
            HideGadgets(kGadgetAddImages, kGadgetRemoveImage, kHide);
            Gadget_Disable(kGadgetSave, kDisable);
            HideGadgets(kGadgetTestCaption, kGadgetArrowRight, kHide);
            HideGadgets(kGadgetPrototypeCaption, kGadgetAddPrototype, kHide);
        } else {
            HideGadgets(kGadgetAddImages, kGadgetRemoveImage, kShow);
            Gadget_Disable(kGadgetSave, kEnable);
            HideGadgets(kGadgetTestCaption, kGadgetArrowRight, design.TestMode != 0 ? kShow : kHide);
            HideGadgets(kGadgetPrototypeCaption, kGadgetAddPrototype, kShow);
        }
    } else if (mode == kLoadPanel) {
        HideGadgets(kGadgetLoadFrame, kGadgetLoadOK, kShow);
        HideGadgets(kGadgetSetupFrame, kGadgetSetupRows, kHide);
    } else if (mode == kSetupPanel) {
        HideGadgets(kGadgetLoadFrame, kGadgetLoadOK, kHide);
        HideGadgets(kGadgetAddImages, kGadgetRemoveImage, kHide);
        Gadget_Disable(kGadgetSave, kDisable);
        HideGadgets(kGadgetTestCaption, kGadgetArrowRight, kHide);
        HideGadgets(kGadgetSetupFrame, kGadgetSetupRows, kShow);
    }
    // The palette's buttons lie where the setup panel's lower half is.
    HidePartPalette(mode == kDesignPanel ? 0 : 1);
    editor.EditorMode = mode;
    // No setup point is being moved in a fresh panel.
    editor.DraggingOffset = -1;
    editor.DraggedConnection = -1;
}
