// The design tests' set-up with the gadgets the design views fill (numbers,
// kinds and flags as the editor's layout makes them) and the preview sprite.
#pragma once

#include <string>
#include <vector>

#include "app.h"
#include "design_folder_views.h"
#include "designs/designs_fixture.h"
#include "editor_gadgets.h"
#include "gadget.h"
#include "gadget_internal.h"  // row colours: the toolkit offers no query for them
#include "part_setup_view.h"
#include "prototype_views.h"

// The gadgets of the layout table but the file list, and the preview sprite.
inline void CreateDesignGadgets() {
    Gadget_Init();
    Gadget_SetDefaultFillMode(0);
    Gadget_SetDefaultTextColor(kEditorTextColour);
    for (const GadgetLayout& layout : kEditorLayout)
        if (layout.shape != GadgetShape::FileList) CreateLayoutGadget(layout);
    Gadget_AddColumn(kGadgetSetupRows, 1, "x", 45);
    Gadget_AddColumn(kGadgetSetupRows, 2, "y", 45);
    ASSERT_NE(Sprite_Create(kPreviewSprite, 245, 185), 0);
}

// Rows of a list gadget.
inline std::vector<std::string> Rows(int gadget) {
    std::vector<std::string> rows;
    for (int r = 0; r < Gadget_CountItems(gadget); ++r) rows.push_back(Gadget_GetItemText(gadget, r));
    return rows;
}
// The text colour of one row; -2 for no such row.
inline int RowColour(int gadget, int row) {
    auto* list = KindAs<ColumnListRecord>(FindGadget(gadget));
    if (!list || row < 0 || row >= static_cast<int>(list->rows.size())) return -2;
    return list->rows[static_cast<std::size_t>(row)].textColor;
}
// The selected rows of a list gadget.
inline std::vector<int> SelectedRows(int gadget) {
    std::vector<int> rows;
    for (int r = 0; r < Gadget_CountItems(gadget); ++r)
        if (Gadget_GetItemState(gadget, r)) rows.push_back(r);
    return rows;
}

class DesignViewsTest : public DesignsTest {
protected:
    void SetUp() override {
        DesignsTest::SetUp();
        CreateDesignGadgets();
    }
    void TearDown() override {
        Gadget_End();
        DesignsTest::TearDown();
    }
};
