// The draw pass: every visible gadget, every frame, onto the screen's back
// buffer, in record order with the focused gadget last so it lies on top;
// and the layout step before it, the only one of the two that may change
// the registry (scroll bars come and go there).
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

// The order the draw pass visits gadgets in: record order, the focused one
// put off to the end (it lies on top). `visit` may create gadgets, as the
// layout step does: a new focused one is put off too, so the layout meets
// each gadget in the order the drawing then does.
template <class Visit> void InDrawingOrder(Visit visit) {
    std::vector<GadgetSelf> deferred;
    const GadgetSelf firstNewSelf = toolkit.nextSelf;
    // std::list keeps the walk's iterator valid while records are inserted
    // or freed, as long as the one being visited stays, which it does.
    for (auto it = toolkit.records.begin(); it != toolkit.records.end(); ++it) {
        GadgetRecord& g = *it;
        toolkit.lastAccessed = &g;
        if (g.number == toolkit.activeGadget) {
            deferred.push_back(g.self);
            continue;
        }
        if (!g.hidden) visit(g);
    }
    // Visiting a focused list may make its scroll bar, which takes the
    // focus; the walk has passed, so the new bar is visited here too.
    for (size_t i = 0; i < deferred.size(); ++i) {
        GadgetRecord* g = FindGadgetBySelf(deferred[i]);
        if (!g || g->hidden) continue;
        toolkit.lastAccessed = g;
        const GadgetSelf selfBefore = toolkit.nextSelf;
        visit(*g);
        if (toolkit.nextSelf == selfBefore) continue;
        for (const GadgetRecord& made : toolkit.records)
            if (made.self >= firstNewSelf && made.number == toolkit.activeGadget &&
                std::find(deferred.begin(), deferred.end(), made.self) == deferred.end())
                deferred.push_back(made.self);
    }
    // New records go after the one accessed last; after a pass that is the
    // focused gadget when there is one.
    if (GadgetRecord* active = FindGadget(toolkit.activeGadget)) toolkit.lastAccessed = active;
}

// What a gadget's drawing needs settled first: a list's header height (in
// its font) and the scroll bars of lists and Editors.
void LayOutGadget(GadgetRecord& g) {
    if (auto* list = KindAs<ColumnListRecord>(&g)) {
        SelectKindFont(list->font);
        list->headerHeight = Draw_TextHeight(list->title[0]);
        List_UpkeepScrollBar(g, *list);
    } else if (auto* editor = KindAs<EditorRecord>(&g)) {
        // An Editor whose sprite could not be made is never drawn, so it keeps no bar.
        if (editor->sprite != 0) Editor_UpkeepScrollBar(g, *editor);
    }
}

}  // namespace

int Gadget_Layout() {
    // Header heights are measured as they are drawn, on the screen.
    if (!Draw_Begin(Draw_ScreenOutput())) return 0;
    InDrawingOrder(LayOutGadget);
    Draw_End();
    return 0;
}

int Gadget_DrawAll() {
    if (!Draw_Begin(Draw_ScreenOutput())) return 0;
    InDrawingOrder(DrawGadget);
    Draw_End();
    return 0;
}
