// The offered prototypes and the part palette. The ship itself, its
// selection and the attaching rules are the design model's.
#include "part_palette.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "app.h"
#include "editor_gadgets.h"
#include "gadget.h"
#include "interaction.h"
#include "services.h"
#include "ship_assembly.h"

namespace {

struct PaletteState {
    int paletteProto = -1;  // prototype whose parts the palette offers, -1 = none
    int paletteFirst = 0;   // the first of its parts (in Parts order) on the page shown
    int pageButton = 0;     // the button turning the page, 0 = one page holds them all
    ImageNumber pageIcon;   // its icon
    int paletteHidden = 0;  // 1 while another panel covers the palette's area
};
PaletteState palette;

// Builds one palette icon: the picture scaled so its longer side is 17
// pixels, centred on (8, 8), cut off at the icon's edges.
void DrawPaletteIcon(ImageNumber icon, ImageNumber image) {
    const int w = Image_Width(image), h = Image_Height(image);
    if (!image || w < 1 || h < 1 || !Draw_Begin(Draw_ImageOutput(icon))) return;
    const float s = kPaletteIconSpan / static_cast<float>(std::max(w, h));
    const float half = static_cast<float>(kPaletteIconSize) / 2.0f;
    const float sw = static_cast<float>(w) * s, sh = static_cast<float>(h) * s;
    Draw_Image(Image_Handle(image), RoundHalfEven(half - sw / 2.0f), RoundHalfEven(half - sh / 2.0f),
               RoundHalfEven(sw), RoundHalfEven(sh));
    Draw_End();
}

void HideIfCovered(int gadget) {
    if (gadget > 0 && palette.paletteHidden) Gadget_Hide(gadget, 1);
}

// One page of the palette from the `first`-th part of the prototype on (the
// first page when that is past the last part). Parts that do not fit one page
// share pages, the last slot of each turning to the next.
void BuildPalettePage(int prototype, int first) {
    if (!std::as_const(design.Prototypes).At(prototype)) return;  // names no prototype: nothing to offer
    std::vector<int> offered;
    const auto& parts = std::as_const(design.Parts);
    for (int q = 0; q < parts.Count(); ++q)
        if (parts.At(q)->Setup.PrototypeIndex == prototype) offered.push_back(q);
    const int count = static_cast<int>(offered.size());
    const int slots = kPaletteColumns * kPaletteRows;
    const int perPage = count > slots ? slots - 1 : slots;
    if (first < 0 || first >= count) first = 0;
    palette.paletteProto = prototype;
    palette.paletteFirst = first;
    auto slotButton = [](int slot, ImageNumber icon) {
        const int button = Gadget_CreateImageButton(kGadgetAuto, kPaletteX + kPaletteStep * (slot % kPaletteColumns),
                                                    kPaletteY + kPaletteStep * (slot / kPaletteColumns),
                                                    kPaletteButtonSize, kPaletteButtonSize, Image_Handle(icon));
        HideIfCovered(button);
        return button;
    };
    for (int slot = 0; slot < perPage && first + slot < count; ++slot) {
        const Part& part = *parts.At(offered[static_cast<std::size_t>(first + slot)]);
        const ImageNumber icon{Image_Create(kServiceAuto, kPaletteIconSize, kPaletteIconSize)};
        if (icon) DrawPaletteIcon(icon, part.Image);
        const int button = slotButton(slot, icon);
        PaletteEntry& entry = editor.Palette.Append();
        entry.PartImage = part.Image;
        entry.Icon = icon;
        entry.Button = button;
        entry.PrototypeIndex = prototype;
    }
    if (count > slots) {
        palette.pageIcon = ImageNumber{Image_Create(kServiceAuto, kPaletteIconSize, kPaletteIconSize)};
        if (palette.pageIcon && Draw_Begin(Draw_ImageOutput(palette.pageIcon))) {
            Draw_Image(Image_Handle(kArrowRightImage), 0, 0, kPaletteIconSize, kPaletteIconSize);
            Draw_End();
        }
        palette.pageButton = slotButton(slots - 1, palette.pageIcon);
    }
}

}  // namespace

void SelectShipElement(std::uint32_t code) {
    if (!SelectShipHit(code)) return;
    FreePartPalette();
    ShowPartChoices();
}

void ShowPartChoices() {
    // Rows offered for an earlier selection go with it.
    Gadget_ClearItems(kGadgetOfferedPrototypes);
    const ShipNode* node = std::as_const(design.ShipNodes).At(design.SelectedNode);
    if (!node) return;
    if (design.SelectedConnection == -1) {
        BuildPartPalette(node->PrototypeIndex);
        return;
    }
    for (const PrototypePosition k : PrototypesAllowedAtSelection())
        Gadget_AddItem(kGadgetOfferedPrototypes, -1, std::as_const(design.Prototypes).At(k.value)->Name + "\n" + Str(k.value));
    if (Gadget_CountItems(kGadgetOfferedPrototypes) == 1)
        BuildPartPalette(Val(StringField(Gadget_GetItemText(kGadgetOfferedPrototypes, 0), 2, '\n')));
}

void ChooseOfferedPrototype() {
    // Only a row on offer names a prototype: the header of an empty list names none.
    const int row = Gadget_GetState(kGadgetOfferedPrototypes);
    FreePartPalette();
    if (row >= 0) {
        const int prototype = Val(StringField(Gadget_GetItemText(kGadgetOfferedPrototypes, row), 2, '\n'));
        if (MayAttach(PrototypePosition{prototype})) BuildPartPalette(prototype);
    }
    PlayClick();
}

void BuildPartPalette(int prototype) { BuildPalettePage(prototype, 0); }

int PalettePageButton() { return palette.pageButton; }

void TurnPalettePage() {
    const int prototype = palette.paletteProto;
    if (prototype < 0 || palette.pageButton == 0) return;
    const int next = palette.paletteFirst + kPaletteColumns * kPaletteRows - 1;
    FreePartPalette();
    BuildPalettePage(prototype, next);
    PlayClick();
}

void RefreshPartPalette() {
    const int prototype = palette.paletteProto, first = palette.paletteFirst;
    if (prototype < 0) return;
    FreePartPalette();
    BuildPalettePage(prototype, first);
    HidePartPalette(palette.paletteHidden);
}

void HidePartPalette(int hide) {
    palette.paletteHidden = hide;
    const auto& entries = std::as_const(editor.Palette);
    for (int p = 0; p < entries.Count(); ++p)
        if (entries.At(p)->Button > 0) Gadget_Hide(entries.At(p)->Button, hide);
    if (palette.pageButton > 0) Gadget_Hide(palette.pageButton, hide);
}

void FreePartPalette() {
    const auto& entries = std::as_const(editor.Palette);
    for (int p = 0; p < entries.Count(); ++p) {
        const PaletteEntry& entry = *entries.At(p);
        // A creation that failed left 0, which names the setup image and the
        // "Quit" button: never free those.
        if (entry.Icon) Image_Free(entry.Icon);
        if (entry.Button > 0) Gadget_Free(entry.Button);
    }
    editor.Palette.Clear();
    if (palette.pageIcon) Image_Free(palette.pageIcon);
    if (palette.pageButton > 0) Gadget_Free(palette.pageButton);
    palette.pageIcon = ImageNumber{};
    palette.pageButton = 0;
    palette.paletteProto = -1;
}

void ClearShipChoices() {
    Gadget_ClearItems(kGadgetOfferedPrototypes);
    FreePartPalette();
    SelectShipRoot();
}

void AttachPart(int entry) {
    const PaletteEntry* chosen = std::as_const(editor.Palette).At(entry);
    if (chosen && AttachPartAtSelection(chosen->PartImage, PrototypePosition{chosen->PrototypeIndex}))
        Gadget_ClearItems(kGadgetOfferedPrototypes);
    FreePartPalette();
}

void SwapPart(int entry) {
    const PaletteEntry* chosen = std::as_const(editor.Palette).At(entry);
    if (chosen) SwapPartAtSelection(chosen->PartImage, PrototypePosition{chosen->PrototypeIndex});
    FreePartPalette();
}

void ResetShip() {
    Gadget_ClearItems(kGadgetOfferedPrototypes);
    FreePartPalette();
    RestartShip();
    PlayClick();
}
