// The test ship tree, its drawing into the canvas and its hit test. The tree is walked with an explicit stack, so a chain of tens of
// thousands of nodes costs no call depth; the order is that of the natural
// recursion (a node, then per connection its dot or its whole subtree).
#include "ship_assembly.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>
#include <vector>

#include "editor_objects.h"
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
            if (!part->Image || byImage_.contains(part->Image)) continue;
            byImage_.emplace(part->Image, PartView{part, Image_Handle(part->Image), Image_Width(part->Image),
                                                   Image_Height(part->Image)});
        }
    }
    const PartView* Find(ImageNumber image) const {
        auto it = byImage_.find(image);
        return it == byImage_.end() ? nullptr : &it->second;
    }

private:
    std::unordered_map<ImageNumber, PartView> byImage_;
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
    explicit HitLayout(ShipHitCache& cache) : cache_(cache) {}
    bool Fits(int node) const {
        return cache_.Built && cache_.Start == node && cache_.NodesGeneration == design.ShipNodes.Generation() &&
               cache_.PartsGeneration == design.Parts.Generation();
    }
    void Build(int node) {
        Begin(node, 0, 0);
        WalkShip(node, 0, 0, *this);
        Finish();
    }
    // A walk from `node` with its anchor at (originX, originY) fills the layout between these.
    void Begin(int node, Wide originX, Wide originY) {
        cache_.X0.clear(), cache_.Y0.clear(), cache_.X1.clear(), cache_.Y1.clear(), cache_.Code.clear();
        cache_.Start = node;
        cache_.OriginX = originX;
        cache_.OriginY = originY;
    }
    void Finish() {
        // Padding that nothing hits fills the last block.
        while (cache_.X0.size() % kBlock != 0) Push(1, 1, 0, 0, 0);
        cache_.Built = true;
        cache_.NodesGeneration = design.ShipNodes.Generation();
        cache_.PartsGeneration = design.Parts.Generation();
    }
    // The first test that (mx, my), relative to the start's anchor, passes; 0 for none.
    std::uint32_t Find(Wide mouseX, Wide mouseY) const {
        const std::int32_t mx = Near(mouseX), my = Near(mouseY);
        for (std::size_t base = 0; base < cache_.X0.size(); base += kBlock) {
            const std::int32_t *x0 = &cache_.X0[base], *y0 = &cache_.Y0[base], *x1 = &cache_.X1[base], *y1 = &cache_.Y1[base];
            int any = 0;
            for (std::size_t i = 0; i < kBlock; ++i) any |= (mx >= x0[i]) & (mx <= x1[i]) & (my >= y0[i]) & (my <= y1[i]);
            if (!any) continue;
            for (std::size_t i = 0; i < kBlock; ++i) {
                if (mx < x0[i] || mx > x1[i] || my < y0[i] || my > y1[i]) continue;
                const std::uint32_t code = cache_.Code[base + i];
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
        Push(x0 - cache_.OriginX, y0 - cache_.OriginY, x1 - cache_.OriginX, y1 - cache_.OriginY, code);
    }
    void Push(Wide x0, Wide y0, Wide x1, Wide y1, std::uint32_t code) {
        cache_.X0.push_back(Near(x0)), cache_.Y0.push_back(Near(y0)), cache_.X1.push_back(Near(x1)), cache_.Y1.push_back(Near(y1));
        cache_.Code.push_back(code);
    }

    ShipHitCache& cache_;  // kept with the design, so it resets with it
};

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

}  // namespace

void InitNodeConnections(int node, PrototypePosition prototype) {
    const Prototype* p = std::as_const(design.Prototypes).At(prototype.value);
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
    ImageNumber image;
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
    InitNodeConnections(position, PrototypePosition{0});
}

void DrawShip(int x, int y, int plain) {
    if (!Draw_Begin(Draw_SpriteOutput(kShipCanvasSprite))) return;
    Draw_Box(0, 0, kShipCanvasWidth, kShipCanvasHeight, 0x000000);
    const ShipNode* root = NodeAt(0);
    if (root && root->Image) {
        // Floor division: the root's picture is centred on (x, y).
        const Wide w = Image_Width(root->Image), h = Image_Height(root->Image);
        const Wide ax = Wide{x} - w / 2, ay = Wide{y} - h / 2;
        HitLayout hits(design.ShipHits);
        DrawAndLayOut visitor{DrawVisitor{plain}, hits};
        hits.Begin(0, ax, ay);
        WalkShip(0, ax, ay, visitor);
        hits.Finish();
    }
    Draw_End();
}

std::uint32_t HitTestShipNode(int node, int x, int y, int px, int py) {
    HitLayout hits(design.ShipHits);
    if (!hits.Fits(node)) hits.Build(node);
    return hits.Find(Wide{px} - x, Wide{py} - y);
}

std::uint32_t HitTestCanvas(int px, int py) {
    // Read-only: a writable look at the nodes would count as a change and lay the hits out again.
    const ShipNode* root = NodeAt(0);
    if (!root || !root->Image) return 0;
    const int w = Image_Width(root->Image) / 2, h = Image_Height(root->Image) / 2;
    return HitTestShipNode(0, design.ViewX - w + kShipCanvasScreenX, design.ViewY - h + kShipCanvasScreenY, px, py);
}

int SelectShipHit(std::uint32_t code) {
    const std::uint32_t kind = code >> kHitKindShift;
    const int node = static_cast<int>(code & kHitNodeMask);
    const int connection = static_cast<int>((code >> kHitConnectionShift) & 0xFF);
    if (!NodeAt(node)) return 0;
    if (kind == (HitNode >> kHitKindShift)) {
        design.SelectedNode = node;
        design.SelectedConnection = -1;
        design.HighlightedNode = node;
    } else if (kind == (HitConnection >> kHitKindShift) && connection < kConnections) {
        design.SelectedNode = node;
        design.SelectedConnection = connection;
        design.HighlightedNode = -1;
    } else {
        return 0;
    }
    DrawShip(design.ViewX, design.ViewY, 0);
    return 1;
}

void SelectShipRoot() {
    design.SelectedNode = 0;
    design.SelectedConnection = -1;
    design.HighlightedNode = 0;
}

std::vector<PrototypePosition> PrototypesAllowedAtSelection() {
    std::vector<PrototypePosition> allowed;
    const ShipNode* node = NodeAt(design.SelectedNode);
    const int c = design.SelectedConnection;
    if (!node || c < 0 || c >= kConnections) return allowed;
    const auto& prototypes = std::as_const(design.Prototypes);
    const Prototype* own = prototypes.At(node->PrototypeIndex);
    if (!own) return allowed;
    const std::uint32_t mask = own->ConnectionMask[static_cast<std::size_t>(c)];
    // Only the 24 allowed bits name prototypes.
    const int named = std::min(prototypes.Count(), kMaxPrototypes);
    for (int k = 0; k < named; ++k)
        if (mask & (std::uint32_t{1} << k)) allowed.push_back(PrototypePosition{k});
    return allowed;
}

bool MayAttach(PrototypePosition position) {
    const int prototype = position.value;
    const ShipNode* node = NodeAt(design.SelectedNode);
    const int c = design.SelectedConnection;
    if (!node || c < 0 || c >= kConnections || node->Child[static_cast<std::size_t>(c)] != ChildFree) return false;
    const auto& prototypes = std::as_const(design.Prototypes);
    const Prototype* own = prototypes.At(node->PrototypeIndex);
    if (!own || prototype < 0 || prototype >= std::min(prototypes.Count(), kMaxPrototypes)) return false;
    const std::uint32_t mask = own->ConnectionMask[static_cast<std::size_t>(c)];
    return IsConnectionOn(mask) && (mask & (std::uint32_t{1} << prototype)) != 0;
}

int AttachPartAtSelection(ImageNumber image, PrototypePosition prototype) {
    // The hit code has 16 bits for a node: a node it could not name is not made.
    if (!MayAttach(prototype) || design.ShipNodes.Count() >= kMaxShipNodes) return 0;
    const int position = design.ShipNodes.Count();
    design.ShipNodes.At(design.SelectedNode)->Child[static_cast<std::size_t>(design.SelectedConnection)] = position;
    ShipNode& node = design.ShipNodes.Append();
    node.Image = image;
    node.PrototypeIndex = prototype.value;
    InitNodeConnections(position, prototype);
    DrawShip(design.ViewX, design.ViewY, 0);
    return 1;
}

int SwapPartAtSelection(ImageNumber image, PrototypePosition prototype) {
    const ShipNode* node = NodeAt(design.SelectedNode);
    // A part of another prototype would break the rules its children were attached by.
    if (!node || design.SelectedConnection != -1 || prototype.value != node->PrototypeIndex) return 0;
    design.ShipNodes.At(design.SelectedNode)->Image = image;
    DrawShip(design.ViewX, design.ViewY, 0);
    return 1;
}

void RestartShip() {
    design.ShipNodes.Clear();
    StartShip();
    SelectShipRoot();
    design.ViewX = kStartViewX;
    design.ViewY = kStartViewY;
    DrawShip(kStartViewX, kStartViewY, 0);
}

void MoveView(int dx, int dy) {
    // Summed wide and clamped, so no step can overflow.
    design.ViewX = static_cast<int>(std::clamp<Wide>(Wide{design.ViewX} + dx, 0, kMaxViewX));
    design.ViewY = static_cast<int>(std::clamp<Wide>(Wide{design.ViewY} + dy, 0, kMaxViewY));
    DrawShip(design.ViewX, design.ViewY, 0);
}
