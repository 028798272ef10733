// Whole-gadget operations: text, state, toggle state, hiding, disabling and
// flags, kind by kind.
#include "gadget_internal.h"
#include "services.h"

namespace {

// Splits the text into lines at each CR, which takes the character after it
// (normally the LF) along. A trailing line end opens no further line.
void SetEditorText(int number, GadgetRecord& g, const std::string& text) {
    Gadget_ClearItems(number);
    auto* e = KindAs<EditorRecord>(&g);
    e->caretLine = 0;
    e->caretColumn = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t cr = text.find('\r', pos);
        if (cr == std::string::npos) {
            Gadget_AddItem(number, -1, text.substr(pos));
            break;
        }
        Gadget_AddItem(number, -1, text.substr(pos, cr - pos));
        pos = cr + 1;
        if (pos < text.size()) pos += Utf8CharacterBytes(text, pos);
    }
    if (!e->lines.empty()) {
        e->caretLine = static_cast<int>(e->lines.size()) - 1;
        e->caretColumn = Len(e->lines.back().text);
    }
}

}  // namespace

void ScrollBar_SetValue(ScrollBarRecord& bar, int value) {
    // Lower limit first, so that the upper one wins when they cross.
    long long v = value;
    if (v < bar.minimum) v = bar.minimum;
    const long long top = static_cast<long long>(bar.maximum) - bar.page + 1;
    if (v > top) v = top;
    bar.value = static_cast<int>(v);
}

std::string Gadget_GetText(int number) {
    GadgetRecord* g = FindGadget(number);
    if (!g) return {};
    if (auto* r = KindAs<TextRecord>(g)) return r->text;
    if (auto* r = KindAs<TextFieldRecord>(g)) return r->text;
    if (auto* r = KindAs<ButtonRecord>(g)) return r->text;
    if (auto* r = KindAs<FrameRecord>(g)) return r->text;
    if (auto* e = KindAs<EditorRecord>(g)) {
        std::string all;
        for (const LineRecord& line : e->lines) {
            all += line.text;
            all += "\r\n";
        }
        return all;
    }
    if (g->kind == GadgetKind_FileList) return std::get<ColumnListRecord>(g->kindRecord).directory;
    return {};
}

int Gadget_SetText(int number, const std::string& text) {
    GadgetRecord* g = FindGadget(number);
    if (!g) return 0;
    if (auto* plain = KindAs<TextRecord>(g)) plain->text = text;
    else if (auto* button = KindAs<ButtonRecord>(g)) button->text = text;
    else if (auto* frame = KindAs<FrameRecord>(g)) frame->text = text;
    else if (auto* field = KindAs<TextFieldRecord>(g)) {
        field->text = text;
        field->caret = Len(text);
    } else if (g->kind == GadgetKind_Editor) {
        SetEditorText(number, *g, text);
    } else if (g->kind == GadgetKind_FileList) {
        std::get<ColumnListRecord>(g->kindRecord).directory = text;
        FileList_Refill(number, text);
    }
    return 0;
}

int Gadget_GetState(int number) {
    GadgetRecord* g = FindGadget(number);
    if (!g) return -1;
    if (auto* b = KindAs<ButtonRecord>(g)) return b->toggle ? b->state : -1;
    if (auto* e = KindAs<EditorRecord>(g)) {
        for (size_t i = 0; i < e->lines.size(); ++i)
            if (e->lines[i].selected != 0) return static_cast<int>(i);
        return -1;
    }
    if (auto* l = KindAs<ColumnListRecord>(g)) {
        for (size_t i = 0; i < l->rows.size(); ++i)
            if (l->rows[i].selected != 0) return static_cast<int>(i);
        return -1;
    }
    if (auto* s = KindAs<ScrollBarRecord>(g)) return s->value;
    // Gadget_SetState stores an image button's picture; reading gives it back.
    if (g->kind == GadgetKind_ImageButton) return g->fillColor;
    return -1;
}

int Gadget_SetState(int number, int state) {
    GadgetRecord* g = FindGadget(number);
    if (!g) return 0;
    if (auto* b = KindAs<ButtonRecord>(g)) {
        if (b->toggle) b->state = state;
    } else if (auto* e = KindAs<EditorRecord>(g)) {
        for (size_t i = 0; i < e->lines.size(); ++i)
            e->lines[i].selected = (state >= 0 && static_cast<size_t>(state) == i) ? 1 : 0;
    } else if (auto* l = KindAs<ColumnListRecord>(g)) {
        for (RowRecord& row : l->rows) row.selected = 0;
        if (state >= 0 && static_cast<size_t>(state) < l->rows.size()) l->rows[static_cast<size_t>(state)].selected = state;
    } else if (auto* s = KindAs<ScrollBarRecord>(g)) {
        ScrollBar_SetValue(*s, state);
    } else if (g->kind == GadgetKind_ImageButton) {
        g->fillColor = state;
    }
    return 0;
}

int Gadget_GetToggleState(int number) {
    GadgetRecord* g = FindGadget(number);
    if (auto* b = KindAs<ButtonRecord>(g)) return b->toggle ? b->state : -1;
    if (auto* b = KindAs<ImageButtonRecord>(g)) return b->toggle ? b->state : -1;
    return -1;
}

int Gadget_SetToggleState(int number, int state) {
    GadgetRecord* g = FindGadget(number);
    if (auto* button = KindAs<ButtonRecord>(g)) {
        if (button->toggle) button->state = state;
    } else if (auto* image = KindAs<ImageButtonRecord>(g)) {
        if (image->toggle) image->state = state;
    }
    return 0;
}

int Gadget_Hide(int number, int hide) {
    GadgetRecord* g = FindGadget(number);
    if (!g) return 0;
    g->hidden = hide;
    if (GadgetRecord* bar = OwnScrollBar(g)) bar->hidden = hide;
    return 0;
}

int Gadget_Disable(int number, int disable) {
    GadgetRecord* g = FindGadget(number);
    if (!g) return 0;
    g->disabled = disable;
    return 0;
}

int Gadget_SetFlags(int number, int flags) {
    GadgetRecord* g = FindGadget(number);
    if (!g) return 0;
    if (g->kind == GadgetKind_FileList) {
        auto& l = std::get<ColumnListRecord>(g->kindRecord);
        l.fileListFlags = flags;
        l.flags = FileList_ConvertFlags(flags);
        const std::string directory = l.directory;  // the refill rewrites it
        FileList_Refill(number, directory);
        return 0;
    }
    std::visit([flags](auto& r) { r.flags = flags; }, g->kindRecord);
    return 0;
}
