// The draw pass: every visible gadget, every frame, onto the screen's back
// buffer, in record order with the focused gadget last so it lies on top.
#include <algorithm>
#include <type_traits>
#include <vector>

#include "render_internal.h"
#include "services.h"

void SelectKindFont(int font) {
    if (font == 0 || font == -1) return;
    const int handle = Font_Handle(font);
    if (handle != 0) Draw_Font(handle);
}

int GadgetTextColour(const GadgetRecord& g, int itemColour) {
    if (g.disabled) return g.disabledTextColor;
    return itemColour != -1 ? itemColour : g.textColor;
}

namespace {

// Background every kind starts with (an ImageButton paints its own image).
void DrawCommonStart(const GadgetRecord& g) {
    if (g.fillMode == 1) {
        Draw_Box(g.x, g.y, g.width, g.height, g.disabled ? kColourGrey : g.fillColor);
    } else if (g.fillMode == 2 && g.kind != GadgetKind_ImageButton) {
        Draw_Image(g.fillColor, g.x, g.y, g.width, g.height);
    }
    Draw_Mode(kDrawTransparent);
}

void DrawGadget(GadgetRecord& g) {
    DrawCommonStart(g);
    std::visit(
        [&](auto& r) {
            using T = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<T, TextRecord>) DrawText(g, r);
            else if constexpr (std::is_same_v<T, TextFieldRecord>) DrawTextField(g, r);
            else if constexpr (std::is_same_v<T, ButtonRecord>) DrawButton(g, r);
            else if constexpr (std::is_same_v<T, ImageButtonRecord>) DrawImageButton(g, r);
            else if constexpr (std::is_same_v<T, FrameRecord>) DrawFrame(g, r);
            else if constexpr (std::is_same_v<T, ScrollBarRecord>) DrawScrollBar(g, r);
            else if constexpr (std::is_same_v<T, ColumnListRecord>) DrawList(g, r);
            else if constexpr (std::is_same_v<T, EditorRecord>) DrawEditor(g, r);
        },
        g.kindRecord);
}

}  // namespace

int Gadget_DrawAll() {
    if (!Draw_Begin(Draw_ScreenOutput())) return 0;

    // Focused gadgets are deferred by identity: drawing a list can create or
    // free a scroll bar (which takes the focus), so records may come and go
    // during the walk. std::list keeps the walk's iterator valid through that,
    // as long as the record being drawn stays, which it does.
    std::vector<int> deferred;
    const int firstNewSelf = toolkit.nextSelf;
    for (auto it = toolkit.records.begin(); it != toolkit.records.end(); ++it) {
        GadgetRecord& g = *it;
        toolkit.lastAccessed = &g;
        if (g.number == toolkit.activeGadget) {
            deferred.push_back(g.self);
            continue;
        }
        if (!g.hidden) DrawGadget(g);
    }
    // A focused list drawn here may make its scroll bar; the walk has passed,
    // so the new bar (which now has the focus) is drawn here too.
    for (size_t i = 0; i < deferred.size(); ++i) {
        GadgetRecord* g = FindGadgetBySelf(deferred[i]);
        if (!g || g->hidden) continue;
        toolkit.lastAccessed = g;
        const int selfBefore = toolkit.nextSelf;
        DrawGadget(*g);
        if (toolkit.nextSelf == selfBefore) continue;
        for (const GadgetRecord& made : toolkit.records)
            if (made.self >= firstNewSelf && made.number == toolkit.activeGadget &&
                std::find(deferred.begin(), deferred.end(), made.self) == deferred.end())
                deferred.push_back(made.self);
    }
    Draw_End();

    // New records go after the one accessed last; after a pass that is the
    // focused gadget when there is one.
    if (GadgetRecord* active = FindGadget(toolkit.activeGadget)) toolkit.lastAccessed = active;
    return 0;
}
