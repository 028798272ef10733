// The test ship tree, its drawing into the canvas, its hit test and the part
// palette. The tree is walked with an explicit stack, so a chain of tens of
// thousands of nodes costs no call depth; the order is that of the natural
// recursion (a node, then per connection its dot or its whole subtree).
#include "test_ship.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>
#include <vector>

#include "editor_gadgets.h"
#include "editor_objects.h"
#include "gadget.h"
#include "interaction.h"
#include "services.h"

namespace {

using Wide = std::int64_t;

// What a walk needs of a part, looked up once per part and walk.
struct PartView {
    const Part* part = nullptr;  // the record (valid for the walk only)
    int handle = 0;              // Image_Handle of its picture
    int width = 0;               // picture size
    int height = 0;
};

// A node being walked: its picture's top-left and the next connection to visit.
struct WalkFrame {
    int position = 0;             // in ShipNodes
    const ShipNode* node = nullptr;
    const PartView* view = nullptr;
    Wide left = 0;                // anchor minus the display offset
    Wide top = 0;
    int next = 0;                 // connection to visit next; kConnections = all done
};

// The Part of an image: the first record of Parts holding it. Image 0 has none.
class PartLookup {
public:
    PartLookup() {
        const auto& parts = std::as_const(design.Parts);
        for (int p = 0; p < parts.Count(); ++p) {
            const Part* part = parts.At(p);
            if (part->Image == 0 || byImage_.contains(part->Image)) continue;
            byImage_.emplace(part->Image, PartView{part, Image_Handle(part->Image), Image_Width(part->Image),
                                                   Image_Height(part->Image)});
        }
    }
    const PartView* Find(int image) const {
        auto it = byImage_.find(image);
        return it == byImage_.end() ? nullptr : &it->second;
    }

private:
    std::unordered_map<int, PartView> byImage_;
};

// Walks the subtree of `start` with its anchor at (x, y). The visitor hears
// Enter(frame) when a node is placed, Free(frame, i, cx, cy) for each free
// connection and Leave(frame) after the node's whole subtree. Nodes without
// a part are skipped with their subtrees, child slots naming no node are
// skipped, and no node is visited twice (a damaged tree cannot loop).
template <class Visitor> void WalkShip(int start, Wide x, Wide y, Visitor& visitor) {
    const auto& nodes = std::as_const(design.ShipNodes);
    const PartLookup parts;
    std::vector<std::uint8_t> seen(static_cast<std::size_t>(nodes.Count()), 0);
    std::vector<WalkFrame> stack;
    auto enter = [&](int position, Wide ax, Wide ay) {
        const ShipNode* node = nodes.At(position);
        if (!node || seen[static_cast<std::size_t>(position)]) return;
        seen[static_cast<std::size_t>(position)] = 1;
        const PartView* view = parts.Find(node->Image);
        if (!view) return;
        WalkFrame frame{position, node, view, ax - view->part->Setup.OffsetX, ay - view->part->Setup.OffsetY, 0};
        visitor.Enter(frame);
        stack.push_back(frame);
    };
    enter(start, x, y);
    while (!stack.empty()) {
        WalkFrame& frame = stack.back();
        if (frame.next == kConnections) {
            visitor.Leave(frame);
            stack.pop_back();
            continue;
        }
        const int i = frame.next++;
        const int child = frame.node->Child[static_cast<std::size_t>(i)];
        const PartSetup& setup = frame.view->part->Setup;
        const Wide cx = frame.left + setup.ConnX[static_cast<std::size_t>(i)];
        const Wide cy = frame.top + setup.ConnY[static_cast<std::size_t>(i)];
        if (child == ChildFree) {
            visitor.Free(frame, i, cx, cy);
        } else if (child >= 0) {
            enter(child, cx, cy);  // may grow the stack: `frame` is not used afterwards
        }
    }
}

// Far-off positions from odd setup values still reach the drawing as ints,
// well off every target.
int ToPixel(Wide v) { return static_cast<int>(std::clamp<Wide>(v, -(Wide{1} << 30), Wide{1} << 30)); }

struct DrawVisitor {
    int plain = 0;  // 1: no outline, no dots
    void Enter(const WalkFrame& f) const {
        Draw_AlphaImage(f.view->handle, ToPixel(f.left), ToPixel(f.top));
        if (plain == 0 && f.position == design.HighlightedNode) {
            Draw_Mode(kDrawOutline);
            Draw_Box(ToPixel(f.left), ToPixel(f.top), f.view->width, f.view->height, kOutlineColour);
            Draw_Mode(0);
        }
    }
    void Free(const WalkFrame&, int, Wide cx, Wide cy) const {
        if (plain == 0) Draw_Circle(ToPixel(cx), ToPixel(cy), kFreeConnectionRadius, kFreeConnectionColour);
    }
    void Leave(const WalkFrame&) const {}
};

// The hit tests of a subtree in the order the walk makes them: per node its
// free connections and child subtrees in connection order, then its picture.
// Each test is an inclusive box relative to the start node's anchor (the
// reach of a free connection, or a node's picture); a free connection also
// needs the distance. Built once per shape of the ship and reused while the
// lists are unchanged; the boxes are scanned a block at a time without
// branches, so a click on the root behind ten thousand parts stays cheap.
class HitLayout {
public:
    bool Fits(int node) const {
        return built_ && start_ == node && nodesGeneration_ == design.ShipNodes.Generation() &&
               partsGeneration_ == design.Parts.Generation();
    }
    void Build(int node) {
        Begin(node, 0, 0);
        WalkShip(node, 0, 0, *this);
        Finish();
    }
    // A walk from `node` with its anchor at (originX, originY) fills the layout between these.
    void Begin(int node, Wide originX, Wide originY) {
        x0_.clear(), y0_.clear(), x1_.clear(), y1_.clear(), code_.clear();
        start_ = node;
        originX_ = originX;
        originY_ = originY;
    }
    void Finish() {
        // Padding that nothing hits fills the last block.
        while (x0_.size() % kBlock != 0) Push(1, 1, 0, 0, 0);
        built_ = true;
        nodesGeneration_ = design.ShipNodes.Generation();
        partsGeneration_ = design.Parts.Generation();
    }
    // The first test that (mx, my), relative to the start's anchor, passes; 0 for none.
    std::uint32_t Find(Wide mouseX, Wide mouseY) const {
        const std::int32_t mx = Near(mouseX), my = Near(mouseY);
        for (std::size_t base = 0; base < x0_.size(); base += kBlock) {
            const std::int32_t *x0 = &x0_[base], *y0 = &y0_[base], *x1 = &x1_[base], *y1 = &y1_[base];
            int any = 0;
            for (std::size_t i = 0; i < kBlock; ++i) any |= (mx >= x0[i]) & (mx <= x1[i]) & (my >= y0[i]) & (my <= y1[i]);
            if (!any) continue;
            for (std::size_t i = 0; i < kBlock; ++i) {
                if (mx < x0[i] || mx > x1[i] || my < y0[i] || my > y1[i]) continue;
                const std::uint32_t code = code_[base + i];
                if (code & HitNode) return code;
                // Whole pixels: sqrt(d) <= 5.0 exactly when d <= 25.
                const Wide dx = Wide{mx} - (x0[i] + kConnectionReach), dy = Wide{my} - (y0[i] + kConnectionReach);
                if (dx * dx + dy * dy <= Wide{kConnectionReach} * kConnectionReach) return code;
            }
        }
        return 0;
    }

    // Walk visitor. Nodes past what a code can name are never reported, so
    // no click selects a wrong node.
    void Enter(const WalkFrame&) {}
    void Free(const WalkFrame& f, int i, Wide cx, Wide cy) {
        if (f.position >= kMaxShipNodes) return;
        Add(cx - kConnectionReach, cy - kConnectionReach, cx + kConnectionReach, cy + kConnectionReach,
            HitConnection | (static_cast<std::uint32_t>(i) << kHitConnectionShift) | static_cast<std::uint32_t>(f.position));
    }
    void Leave(const WalkFrame& f) {
        if (f.position >= kMaxShipNodes) return;
        Add(f.left, f.top, f.left + f.view->width, f.top + f.view->height, HitNode | static_cast<std::uint32_t>(f.position));
    }

private:
    static constexpr std::size_t kBlock = 32;
    // Positions are kept within +-2^30 pixels: a click is never that far from anything drawn.
    static std::int32_t Near(Wide v) { return static_cast<std::int32_t>(std::clamp<Wide>(v, -(Wide{1} << 30), Wide{1} << 30)); }
    void Add(Wide x0, Wide y0, Wide x1, Wide y1, std::uint32_t code) {
        Push(x0 - originX_, y0 - originY_, x1 - originX_, y1 - originY_, code);
    }
    void Push(Wide x0, Wide y0, Wide x1, Wide y1, std::uint32_t code) {
        x0_.push_back(Near(x0)), y0_.push_back(Near(y0)), x1_.push_back(Near(x1)), y1_.push_back(Near(y1));
        code_.push_back(code);
    }

    bool built_ = false;
    int start_ = 0;                     // node the layout was walked from
    Wide originX_ = 0;                  // its anchor during the walk
    Wide originY_ = 0;
    std::uint64_t nodesGeneration_ = 0; // ShipNodes and Parts when it was walked
    std::uint64_t partsGeneration_ = 0;
    std::vector<std::int32_t> x0_, y0_, x1_, y1_;  // the boxes, in hit order
    std::vector<std::uint32_t> code_;              // what each reports
};

struct ShipState {
    HitLayout hits;         // hit order of the last subtree drawn from the root or tested
    int paletteProto = -1;  // prototype whose parts the palette offers, -1 = none
    int paletteFirst = 0;   // the first of its parts (in Parts order) on the page shown
    int pageButton = 0;     // the button turning the page, 0 = one page holds them all
    int pageIcon = 0;       // its icon
    int paletteHidden = 0;  // 1 while another panel covers the palette's area
};
ShipState ship;

// Drawing the whole ship lays out its hit order on the way, so the first
// click after a change finds it ready.
struct DrawAndLayOut {
    DrawVisitor draw;
    HitLayout& hits;
    void Enter(const WalkFrame& f) { draw.Enter(f); }
    void Free(const WalkFrame& f, int i, Wide cx, Wide cy) {
        draw.Free(f, i, cx, cy);
        hits.Free(f, i, cx, cy);
    }
    void Leave(const WalkFrame& f) { hits.Leave(f); }
};

const ShipNode* NodeAt(int position) { return std::as_const(design.ShipNodes).At(position); }

// Builds one palette icon: the picture scaled so its longer side is 17
// pixels, centred on (8, 8), cut off at the icon's edges.
void DrawPaletteIcon(int icon, int image) {
    const int w = Image_Width(image), h = Image_Height(image);
    if (image == 0 || w < 1 || h < 1 || !Draw_Begin(Draw_ImageOutput(icon))) return;
    const float s = kPaletteIconSpan / static_cast<float>(std::max(w, h));
    const float half = static_cast<float>(kPaletteIconSize) / 2.0f;
    const float sw = static_cast<float>(w) * s, sh = static_cast<float>(h) * s;
    Draw_Image(Image_Handle(image), RoundHalfEven(half - sw / 2.0f), RoundHalfEven(half - sh / 2.0f),
               RoundHalfEven(sw), RoundHalfEven(sh));
    Draw_End();
}

// The selected connection is free and active, and its rules allow the prototype.
bool MayAttach(int prototype) {
    const ShipNode* node = NodeAt(design.SelectedNode);
    const int c = design.SelectedConnection;
    if (!node || c < 0 || c >= kConnections || node->Child[static_cast<std::size_t>(c)] != ChildFree) return false;
    const auto& prototypes = std::as_const(design.Prototypes);
    const Prototype* own = prototypes.At(node->PrototypeIndex);
    if (!own || prototype < 0 || prototype >= std::min(prototypes.Count(), kMaxPrototypes)) return false;
    const std::uint32_t mask = own->ConnectionMask[static_cast<std::size_t>(c)];
    return IsConnectionOn(mask) && (mask & (std::uint32_t{1} << prototype)) != 0;
}

void HideIfCovered(int gadget) {
    if (gadget > 0 && ship.paletteHidden) Gadget_Hide(gadget, 1);
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
    ship.paletteProto = prototype;
    ship.paletteFirst = first;
    auto slotButton = [](int slot, int icon) {
        const int button = Gadget_CreateImageButton(kGadgetAuto, kPaletteX + kPaletteStep * (slot % kPaletteColumns),
                                                    kPaletteY + kPaletteStep * (slot / kPaletteColumns),
                                                    kPaletteButtonSize, kPaletteButtonSize, Image_Handle(icon));
        HideIfCovered(button);
        return button;
    };
    for (int slot = 0; slot < perPage && first + slot < count; ++slot) {
        const Part& part = *parts.At(offered[static_cast<std::size_t>(first + slot)]);
        const int icon = Image_Create(kServiceAuto, kPaletteIconSize, kPaletteIconSize);
        if (icon) DrawPaletteIcon(icon, part.Image);
        const int button = slotButton(slot, icon);
        PaletteEntry& entry = design.Palette.Append();
        entry.PartImage = part.Image;
        entry.Icon = icon;
        entry.Button = button;
        entry.PrototypeIndex = prototype;
    }
    if (count > slots) {
        ship.pageIcon = Image_Create(kServiceAuto, kPaletteIconSize, kPaletteIconSize);
        if (ship.pageIcon && Draw_Begin(Draw_ImageOutput(ship.pageIcon))) {
            Draw_Image(Image_Handle(kArrowRightImage), 0, 0, kPaletteIconSize, kPaletteIconSize);
            Draw_End();
        }
        ship.pageButton = slotButton(slots - 1, ship.pageIcon);
    }
}

}  // namespace

void InitNodeConnections(int node, int prototype) {
    const Prototype* p = std::as_const(design.Prototypes).At(prototype);
    ShipNode* n = design.ShipNodes.At(node);
    if (!n) return;
    // A prototype that is not there (setup files from elsewhere) has no active connection.
    for (int i = 0; i < kConnections; ++i)
        n->Child[static_cast<std::size_t>(i)] =
            p && IsConnectionOn(p->ConnectionMask[static_cast<std::size_t>(i)]) ? ChildFree : ChildInactive;
}

void StartShip() {
    const Prototype* first = std::as_const(design.Prototypes).At(0);
    if (!first) return;
    const std::int32_t prototypeIndex = first->Index;
    int image = 0;
    const auto& parts = std::as_const(design.Parts);
    for (int p = 0; p < parts.Count(); ++p)
        if (parts.At(p)->Setup.PrototypeIndex == prototypeIndex) {
            image = parts.At(p)->Image;
            break;
        }
    const int position = design.ShipNodes.Count();
    ShipNode& root = design.ShipNodes.Append();
    root.PrototypeIndex = prototypeIndex;
    root.Image = image;
    InitNodeConnections(position, 0);
}

void DrawShip(int x, int y, int plain) {
    if (!Draw_Begin(Draw_SpriteOutput(kShipCanvasSprite))) return;
    Draw_Box(0, 0, kShipCanvasWidth, kShipCanvasHeight, 0x000000);
    const ShipNode* root = NodeAt(0);
    if (root && root->Image != 0) {
        // Floor division: the root's picture is centred on (x, y).
        const Wide w = Image_Width(root->Image), h = Image_Height(root->Image);
        const Wide ax = Wide{x} - w / 2, ay = Wide{y} - h / 2;
        DrawAndLayOut visitor{DrawVisitor{plain}, ship.hits};
        ship.hits.Begin(0, ax, ay);
        WalkShip(0, ax, ay, visitor);
        ship.hits.Finish();
    }
    Draw_End();
}

void DrawShipNode(int node, int x, int y, int plain) {
    DrawVisitor visitor{plain};
    WalkShip(node, x, y, visitor);
}

std::uint32_t HitTestShipNode(int node, int x, int y) {
    if (!ship.hits.Fits(node)) ship.hits.Build(node);
    return ship.hits.Find(Wide{interaction.MouseX} - x, Wide{interaction.MouseY} - y);
}

std::uint32_t HitTestCanvas() {
    // Read-only: a writable look at the nodes would count as a change and lay the hits out again.
    const ShipNode* root = NodeAt(0);
    if (!root || root->Image == 0) return 0;
    const int w = Image_Width(root->Image) / 2, h = Image_Height(root->Image) / 2;
    return HitTestShipNode(0, design.ViewX - w + kShipCanvasScreenX, design.ViewY - h + kShipCanvasScreenY);
}

void SelectShipElement(std::uint32_t code) {
    const std::uint32_t kind = code >> kHitKindShift;
    const int node = static_cast<int>(code & kHitNodeMask);
    const int connection = static_cast<int>((code >> kHitConnectionShift) & 0xFF);
    if (!NodeAt(node)) return;
    if (kind == (HitNode >> kHitKindShift)) {
        design.SelectedNode = node;
        design.SelectedConnection = -1;
        design.HighlightedNode = node;
    } else if (kind == (HitConnection >> kHitKindShift) && connection < kConnections) {
        design.SelectedNode = node;
        design.SelectedConnection = connection;
        design.HighlightedNode = -1;
    } else {
        return;
    }
    DrawShip(design.ViewX, design.ViewY, 0);
    FreePartPalette();
    ShowPartChoices();
}

void ShowPartChoices() {
    // Rows offered for an earlier selection go with it.
    Gadget_ClearItems(kGadgetOfferedPrototypes);
    const ShipNode* node = NodeAt(design.SelectedNode);
    if (!node) return;
    if (design.SelectedConnection == -1) {
        BuildPartPalette(node->PrototypeIndex);
        return;
    }
    const auto& prototypes = std::as_const(design.Prototypes);
    const Prototype* own = prototypes.At(node->PrototypeIndex);
    if (!own || design.SelectedConnection < 0 || design.SelectedConnection >= kConnections) return;
    const std::uint32_t mask = own->ConnectionMask[static_cast<std::size_t>(design.SelectedConnection)];
    // Only the 24 allowed bits name prototypes.
    const int named = std::min(prototypes.Count(), kMaxPrototypes);
    for (int k = 0; k < named; ++k)
        if (mask & (std::uint32_t{1} << k))
            Gadget_AddItem(kGadgetOfferedPrototypes, -1, prototypes.At(k)->Name + "\n" + Str(k));
    if (Gadget_CountItems(kGadgetOfferedPrototypes) == 1)
        BuildPartPalette(Val(StringField(Gadget_GetItemText(kGadgetOfferedPrototypes, 0), 2, '\n')));
}

void ChooseOfferedPrototype() {
    // Only a row on offer names a prototype: the header of an empty list names none.
    const int row = Gadget_GetState(kGadgetOfferedPrototypes);
    FreePartPalette();
    if (row >= 0) {
        const int prototype = Val(StringField(Gadget_GetItemText(kGadgetOfferedPrototypes, row), 2, '\n'));
        if (MayAttach(prototype)) BuildPartPalette(prototype);
    }
    PlayClick();
}

void BuildPartPalette(int prototype) { BuildPalettePage(prototype, 0); }

int PalettePageButton() { return ship.pageButton; }

void TurnPalettePage() {
    const int prototype = ship.paletteProto;
    if (prototype < 0 || ship.pageButton == 0) return;
    const int next = ship.paletteFirst + kPaletteColumns * kPaletteRows - 1;
    FreePartPalette();
    BuildPalettePage(prototype, next);
    PlayClick();
}

void RefreshPartPalette() {
    const int prototype = ship.paletteProto, first = ship.paletteFirst;
    if (prototype < 0) return;
    FreePartPalette();
    BuildPalettePage(prototype, first);
    HidePartPalette(ship.paletteHidden);
}

void HidePartPalette(int hide) {
    ship.paletteHidden = hide;
    const auto& palette = std::as_const(design.Palette);
    for (int p = 0; p < palette.Count(); ++p)
        if (palette.At(p)->Button > 0) Gadget_Hide(palette.At(p)->Button, hide);
    if (ship.pageButton > 0) Gadget_Hide(ship.pageButton, hide);
}

void FreePartPalette() {
    const auto& palette = std::as_const(design.Palette);
    for (int p = 0; p < palette.Count(); ++p) {
        const PaletteEntry& entry = *palette.At(p);
        // A creation that failed left 0, which names the setup image and the
        // "Quit" button: never free those.
        if (entry.Icon != 0) Image_Free(entry.Icon);
        if (entry.Button > 0) Gadget_Free(entry.Button);
    }
    design.Palette.Clear();
    if (ship.pageIcon != 0) Image_Free(ship.pageIcon);
    if (ship.pageButton > 0) Gadget_Free(ship.pageButton);
    ship.pageIcon = ship.pageButton = 0;
    ship.paletteProto = -1;
}

void ClearShipChoices() {
    Gadget_ClearItems(kGadgetOfferedPrototypes);
    FreePartPalette();
    // The root, outlined, as when the view first opens.
    design.SelectedNode = 0;
    design.SelectedConnection = -1;
    design.HighlightedNode = 0;
}

void AttachPart(int entry) {
    const PaletteEntry* chosen = std::as_const(design.Palette).At(entry);
    const int connection = design.SelectedConnection;
    // The hit code has 16 bits for a node: a node it could not name is not made.
    if (chosen && MayAttach(chosen->PrototypeIndex) && design.ShipNodes.Count() < kMaxShipNodes) {
        const int position = design.ShipNodes.Count();
        const int image = chosen->PartImage, prototype = chosen->PrototypeIndex;
        design.ShipNodes.At(design.SelectedNode)->Child[static_cast<std::size_t>(connection)] = position;
        ShipNode& node = design.ShipNodes.Append();
        node.Image = image;
        node.PrototypeIndex = prototype;
        InitNodeConnections(position, prototype);
        Gadget_ClearItems(kGadgetOfferedPrototypes);
        DrawShip(design.ViewX, design.ViewY, 0);
    }
    FreePartPalette();
}

void SwapPart(int entry) {
    const PaletteEntry* chosen = std::as_const(design.Palette).At(entry);
    const ShipNode* node = NodeAt(design.SelectedNode);
    // A part of another prototype would break the rules its children were attached by.
    if (chosen && node && design.SelectedConnection == -1 && chosen->PrototypeIndex == node->PrototypeIndex) {
        design.ShipNodes.At(design.SelectedNode)->Image = chosen->PartImage;
        DrawShip(design.ViewX, design.ViewY, 0);
    }
    FreePartPalette();
}

void ResetShip() {
    design.ShipNodes.Clear();
    StartShip();
    ClearShipChoices();
    design.ViewX = kStartViewX;
    design.ViewY = kStartViewY;
    DrawShip(kStartViewX, kStartViewY, 0);
    PlayClick();
}

void ClampView() {
    design.ViewX = std::clamp(design.ViewX, 0, kMaxViewX);
    design.ViewY = std::clamp(design.ViewY, 0, kMaxViewY);
}

void MoveView(int dx, int dy) {
    // Summed wide and clamped, so no step can overflow.
    design.ViewX = static_cast<int>(std::clamp<Wide>(Wide{design.ViewX} + dx, 0, kMaxViewX));
    design.ViewY = static_cast<int>(std::clamp<Wide>(Wide{design.ViewY} + dy, 0, kMaxViewY));
    DrawShip(design.ViewX, design.ViewY, 0);
}
