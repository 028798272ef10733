// The design folder operations as the screen shows them.
#include "design_folder_views.h"

#include <string>
#include <vector>

#include "design_folders.h"
#include "design_model.h"
#include "editor_gadgets.h"
#include "editor_tables.h"
#include "gadget.h"
#include "history.h"
#include "prototype_views.h"
#include "unsaved_work.h"

int NewDesignFolder() {
    Gadget_SetText(kGadgetTitle, Labels[kLabelNoDesign]);
    const int folder = CreateDesignFolder();
    if (folder) Gadget_SetText(kGadgetTitle, DesignTitle(folder));
    // The prototypes go on into the new folder, which holds no list yet.
    ResetHistory();
    ForgetSavedPrototypes();
    return folder != 0;
}

int OpenDesignFolder() {
    const int row = Gadget_GetState(kGadgetFileList);
    if (row < 0) return 0;
    const int folder = DesignNumber(Gadget_GetCellText(kGadgetFileList, row, 0));
    if (folder < 1) return 0;
    const std::vector<std::string> images = OpenDesign(folder);
    ResetHistory();
    MarkPrototypesSaved();
    Gadget_SetText(kGadgetTitle, DesignTitle(folder));
    // Nothing of the old design's current prototype may stay on the screen.
    Gadget_SetText(kGadgetPrototypeName, "");
    ShowPrototypeList();
    FillCompatibilityList(-1);
    Gadget_ClearItems(kGadgetDesignImages);
    for (const std::string& name : images) Gadget_AddItem(kGadgetDesignImages, -1, name);
    return 1;
}

int LoadSetupParts() {
    std::vector<std::string> names;
    const int rows = Gadget_CountItems(kGadgetDesignImages);
    for (int r = 0; r < rows; ++r) names.push_back(Gadget_GetCellText(kGadgetDesignImages, r, 0));
    return LoadPartsFrom(DesignFolderPath(), names);
}
