// Writes the sample design into the folder given as the first argument: part
// images with per-pixel alpha, their setup files and "Prototypes.pt", and,
// when a second argument is given, the program's icon (a small ship grown
// from the same parts) into that file.
//
// Everything is drawn with integer arithmetic only (edges are anti-aliased
// by counting 4 x 4 sample points), so every build writes the same pictures.
// The ship is seen from above, bow up.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "design_model.h"
#include "part_setup.h"
#include "prototypes.h"
#include "services.h"

namespace {

struct Rgb {
    int r = 0, g = 0, b = 0;
};

Rgb Lift(Rgb c, int d) {
    return {std::clamp(c.r + d, 0, 255), std::clamp(c.g + d, 0, 255), std::clamp(c.b + d, 0, 255)};
}
Rgb Mix(Rgb a, Rgb b, int t, int of) {
    return {a.r + (b.r - a.r) * t / of, a.g + (b.g - a.g) * t / of, a.b + (b.b - a.b) * t / of};
}

struct Rgba {
    int r = 0, g = 0, b = 0, a = 0;  // straight (not premultiplied) colour and its alpha
};

// A picture with straight alpha, handed to the services' PNG encoder at the end.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    Picture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}
    Rgba& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Rgba& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    // Lays a colour over a pixel with an alpha of 0..255 ("over" compositing).
    void Over(int x, int y, Rgb c, int alpha) {
        if (x < 0 || y < 0 || x >= width || y >= height || alpha <= 0) return;
        Rgba& d = At(x, y);
        const int rest = d.a * (255 - alpha) / 255;
        const int a = alpha + rest;
        d = {(c.r * alpha + d.r * rest) / a, (c.g * alpha + d.g * rest) / a, (c.b * alpha + d.b * rest) / a, a};
    }
};

// ---------------------------------------------------------------- shapes

// Shapes are tested at 4 x 4 points per pixel, at odd eighths of a pixel, so
// a sample never lies on a vertex row; coordinates are in eighths.
constexpr int kSub = 8;
struct Shape {
    std::function<bool(std::int64_t sx, std::int64_t sy)> contains;  // in eighths
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;                              // pixels it may touch
};

// A polygon given in whole pixels (even-odd rule).
Shape Polygon(std::vector<std::array<int, 2>> points) {
    Shape shape{nullptr, points[0][0], points[0][1], points[0][0], points[0][1]};
    for (const auto& p : points) {
        shape.x0 = std::min(shape.x0, p[0]), shape.y0 = std::min(shape.y0, p[1]);
        shape.x1 = std::max(shape.x1, p[0]), shape.y1 = std::max(shape.y1, p[1]);
    }
    for (auto& p : points) p = {p[0] * kSub, p[1] * kSub};
    shape.contains = [points](std::int64_t sx, std::int64_t sy) {
        bool inside = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const std::int64_t x0 = points[j][0], y0 = points[j][1], x1 = points[i][0], y1 = points[i][1];
            if ((y0 > sy) == (y1 > sy)) continue;
            const std::int64_t lhs = (sx - x0) * (y1 - y0), rhs = (sy - y0) * (x1 - x0);
            if (y1 > y0 ? lhs < rhs : lhs > rhs) inside = !inside;
        }
        return inside;
    };
    return shape;
}

Shape Box(int x, int y, int w, int h) { return Polygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}); }

// An ellipse inside the box (x, y, w, h).
Shape Ellipse(int x, int y, int w, int h) {
    const std::int64_t cx = (2 * x + w) * kSub / 2, cy = (2 * y + h) * kSub / 2;
    const std::int64_t rx = w * kSub / 2, ry = h * kSub / 2;
    auto contains = [=](std::int64_t sx, std::int64_t sy) {
        const std::int64_t dx = sx - cx, dy = sy - cy;
        return dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry;
    };
    return {contains, x, y, x + w, y + h};
}

// Colour of a pixel of a shape.
using Shader = std::function<Rgb(int x, int y)>;
Shader Flat(Rgb c) {
    return [c](int, int) { return c; };
}
// Metal lit from the upper left, rounded across x0..x1: lighter near the
// left third, darker at both rims.
Shader Metal(Rgb base, int x0, int x1) {
    return [=](int x, int) {
        const int t = (2 * x + 1 - x0 - x1) * 100 / std::max(1, x1 - x0);  // -100 .. 100
        const int u = t + 35;
        return Lift(base, 34 - 46 * u * u / 10000);
    };
}

// Paints a shape with its anti-aliased edge; opacity 0..255.
void Paint(Picture& p, const Shape& shape, const Shader& shader, int opacity = 255) {
    for (int y = std::max(0, shape.y0); y < std::min(p.height, shape.y1 + 1); ++y)
        for (int x = std::max(0, shape.x0); x < std::min(p.width, shape.x1 + 1); ++x) {
            int covered = 0;
            for (int j = 0; j < 4; ++j)
                for (int i = 0; i < 4; ++i) covered += shape.contains(x * kSub + 1 + 2 * i, y * kSub + 1 + 2 * j);
            if (covered) p.Over(x, y, shader(x, y), opacity * covered / 16);
        }
}

// A seam or panel line: one pixel wide, only where the picture already has paint.
void Seam(Picture& p, int x0, int y0, int x1, int y1, int darken) {
    const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i) {
        const int x = x0 + (steps ? (x1 - x0) * i / steps : 0), y = y0 + (steps ? (y1 - y0) * i / steps : 0);
        if (x < 0 || y < 0 || x >= p.width || y >= p.height) continue;
        Rgba& d = p.At(x, y);
        if (d.a < 200) continue;
        d = {std::max(0, d.r - darken), std::max(0, d.g - darken), std::max(0, d.b - darken), d.a};
    }
}

void Rivet(Picture& p, int x, int y) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height || p.At(x, y).a < 200) return;
    p.Over(x, y, {220, 226, 236}, 200);
}

// A picture mirrored left to right.
Picture Mirrored(const Picture& p) {
    Picture m(p.width, p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) m.At(x, y) = p.At(p.width - 1 - x, y);
    return m;
}

// ---------------------------------------------------------------- colours

const Rgb kSteel{112, 124, 142}, kGunmetal{70, 76, 88}, kHullPaint{96, 118, 150}, kTrim{186, 72, 52};
const Rgb kGlass{90, 200, 240}, kGlow{255, 170, 60}, kIonGlow{120, 190, 255}, kDark{36, 40, 48};

// ---------------------------------------------------------------- the parts

Picture HullHeavy() {
    Picture p(44, 60);
    const auto outline = Polygon({{8, 0}, {36, 0}, {44, 10}, {44, 52}, {38, 60}, {6, 60}, {0, 52}, {0, 10}});
    Paint(p, outline, Metal(kHullPaint, 0, 44));
    Paint(p, Box(16, 4, 12, 52), Metal(kSteel, 16, 28));  // spine
    Paint(p, Box(3, 22, 38, 4), Flat(kTrim), 220);         // stripe
    for (int y : {12, 32, 46}) Seam(p, 2, y, 41, y, 30);
    Seam(p, 16, 4, 16, 55, 24), Seam(p, 27, 4, 27, 55, 24);
    for (int y : {6, 16, 38, 50}) Rivet(p, 5, y), Rivet(p, 38, y);
    Paint(p, Ellipse(18, 36, 8, 8), Flat(kDark));  // hatch
    return p;
}

Picture HullLight() {
    Picture p(36, 52);
    const auto outline = Polygon({{10, 0}, {26, 0}, {36, 14}, {34, 46}, {28, 52}, {8, 52}, {2, 46}, {0, 14}});
    Paint(p, outline, Metal(kSteel, 0, 36));
    Paint(p, Polygon({{12, 6}, {24, 6}, {28, 20}, {8, 20}}), Metal(kHullPaint, 8, 28));
    for (int y : {20, 34}) Seam(p, 2, y, 33, y, 28);
    Seam(p, 18, 20, 18, 50, 20);
    for (int y : {26, 40}) Rivet(p, 6, y), Rivet(p, 29, y);
    Paint(p, Box(4, 44, 28, 3), Flat(kTrim), 200);
    return p;
}

Picture CockpitDart() {
    Picture p(28, 36);
    Paint(p, Polygon({{14, 0}, {26, 24}, {28, 36}, {0, 36}, {2, 24}}), Metal(kHullPaint, 0, 28));
    // The canopy is glass: the hull shows through it.
    Paint(p, Polygon({{14, 8}, {20, 22}, {18, 30}, {10, 30}, {8, 22}}), Flat(kGlass), 150);
    Paint(p, Polygon({{13, 12}, {15, 12}, {16, 20}, {12, 20}}), Flat({230, 250, 255}), 170);  // glint
    Seam(p, 2, 33, 25, 33, 30);
    return p;
}

Picture CockpitBubble() {
    Picture p(32, 30);
    Paint(p, Polygon({{6, 8}, {26, 8}, {32, 30}, {0, 30}}), Metal(kSteel, 0, 32));
    Paint(p, Ellipse(7, 0, 18, 22), Flat(kGlass), 140);
    Paint(p, Ellipse(11, 3, 5, 8), Flat({235, 250, 255}), 160);
    Seam(p, 1, 27, 30, 27, 30);
    return p;
}

Picture SectionCargo() {
    Picture p(40, 40);
    const auto chamfered = Polygon({{3, 0}, {37, 0}, {40, 3}, {40, 37}, {37, 40}, {3, 40}, {0, 37}, {0, 3}});
    Paint(p, chamfered, Metal(kHullPaint, 0, 40));
    for (int x : {4, 22})
        for (int y : {4, 22}) Paint(p, Box(x, y, 14, 14), Metal(kGunmetal, x, x + 14));  // cargo pods
    for (int y : {0, 20}) Seam(p, 0, y, 39, y, 26);
    for (int x : {4, 17, 22, 35})
        for (int y : {4, 17, 22, 35}) Rivet(p, x, y);
    return p;
}

Picture SectionArmour() {
    Picture p(44, 32);
    Paint(p, Polygon({{0, 0}, {44, 0}, {40, 32}, {4, 32}}), Metal(kSteel, 0, 44));
    for (int i = 0; i < 4; ++i) Paint(p, Box(3 + i, 3 + 7 * i, 38 - 2 * i, 4), Metal(kGunmetal, 3, 41), 230);
    Paint(p, Box(18, 0, 8, 32), Flat(kTrim), 170);
    return p;
}

// Left wings; the right ones are their mirror images.
Picture WingSwept() {
    Picture p(56, 36);
    const auto wing = Polygon({{56, 2}, {56, 22}, {3, 35}, {0, 31}, {8, 24}});
    Paint(p, wing, Metal(kHullPaint, 0, 56));
    Paint(p, Polygon({{56, 2}, {56, 6}, {9, 27}, {8, 24}}), Flat(kTrim), 210);  // leading edge
    Seam(p, 40, 9, 42, 25, 30), Seam(p, 24, 16, 26, 29, 30);
    Paint(p, Ellipse(2, 28, 5, 5), Flat({255, 60, 60}), 230);  // port light
    return p;
}

Picture WingDelta() {
    Picture p(48, 40);
    Paint(p, Polygon({{48, 0}, {48, 36}, {4, 36}, {0, 32}}), Metal(kSteel, 0, 48));
    Paint(p, Polygon({{48, 0}, {48, 5}, {6, 34}, {0, 32}}), Flat(kGunmetal), 230);
    Paint(p, Box(4, 36, 44, 3), Flat(kDark), 200);  // flap
    Seam(p, 34, 12, 34, 35, 28), Seam(p, 20, 22, 20, 35, 28);
    Paint(p, Ellipse(1, 30, 5, 5), Flat({255, 60, 60}), 230);
    return p;
}

// Exhaust: bright at the nozzle, fading out; alpha carries the fade.
void Exhaust(Picture& p, int x, int y, int w, int length, Rgb glow) {
    for (int k = 0; k < length; ++k) {
        const int alpha = 230 - 220 * k / length;
        const int narrow = w * k / (3 * length);
        Paint(p, Box(x + narrow, y + k, w - 2 * narrow, 1), Flat(Mix({255, 250, 220}, glow, k, length)), alpha);
    }
}

Picture EngineTwin() {
    Picture p(28, 26);
    Paint(p, Box(2, 0, 24, 10), Metal(kGunmetal, 2, 26));
    for (int x : {2, 16}) Paint(p, Polygon({{x, 10}, {x + 10, 10}, {x + 9, 14}, {x + 1, 14}}), Flat(kDark));
    for (int x : {3, 17}) Exhaust(p, x, 14, 8, 12, kGlow);
    return p;
}

Picture EngineIon() {
    Picture p(20, 30);
    Paint(p, Polygon({{2, 0}, {18, 0}, {16, 12}, {4, 12}}), Metal(kSteel, 2, 18));
    Paint(p, Ellipse(5, 9, 10, 6), Flat(kIonGlow), 240);
    Exhaust(p, 5, 14, 10, 16, kIonGlow);
    return p;
}

Picture GunLaser() {
    Picture p(8, 22);
    Paint(p, Box(3, 0, 2, 14), Flat({210, 214, 222}));
    Paint(p, Ellipse(0, 13, 8, 9), Metal(kGunmetal, 0, 8));
    Paint(p, Box(3, 0, 2, 2), Flat({255, 80, 80}), 230);  // emitter
    return p;
}

Picture GunCannon() {
    Picture p(12, 18);
    Paint(p, Box(4, 0, 4, 10), Metal(kSteel, 4, 8));
    Paint(p, Ellipse(0, 8, 12, 10), Metal(kGunmetal, 0, 12));
    Paint(p, Box(4, 0, 4, 2), Flat(kDark));  // muzzle
    return p;
}

// ---------------------------------------------------------------- the design

// Prototype positions, which are also the bits of the compatibility masks.
// Left and right wings are kinds of their own, so each side takes only its own.
enum PrototypeId { kHull, kCockpit, kSection, kLeftWing, kRightWing, kEngine, kGun, kPrototypeCount };
constexpr std::array<const char*, kPrototypeCount> kPrototypeNames = {
    "Hull", "Cockpit", "Section", "Left wing", "Right wing", "Engine", "Gun"};

// Connection slots used, in the order of the preview's dots: 0 on the left,
// 1 on top, 3 on the right, 6 at the bottom.
constexpr int kLeft = 0, kFront = 1, kRight = 3, kBack = 6;

constexpr std::uint32_t Allow(std::initializer_list<int> prototypes) {
    std::uint32_t mask = ConnectionActive;
    for (int p : prototypes) mask |= 1u << p;
    return mask;
}

Prototype MakePrototype(PrototypeId id) {
    Prototype p;
    p.Name = kPrototypeNames[id];
    p.Index = static_cast<std::int8_t>(id);
    auto& m = p.ConnectionMask;
    switch (id) {
        case kHull:  // the root: bow, both wings, and the rest of the ship behind it
            m[kFront] = Allow({kCockpit}), m[kLeft] = Allow({kLeftWing}), m[kRight] = Allow({kRightWing});
            m[kBack] = Allow({kSection, kEngine});
            break;
        case kCockpit: m[kFront] = Allow({kGun}); break;
        case kSection:  // sections chain, so the ship grows as long as wanted
            m[kLeft] = Allow({kLeftWing}), m[kRight] = Allow({kRightWing}), m[kBack] = Allow({kSection, kEngine});
            break;
        case kLeftWing:
        case kRightWing: m[kFront] = Allow({kGun}), m[kBack] = Allow({kEngine}); break;
        default: break;  // engines and guns end a branch
    }
    return p;
}

struct Point {
    int x = 0, y = 0;
};
struct Connection {
    int slot = 0;  // connection number 0..7
    Point at;      // in the image, on its edge
};
struct SamplePart {
    const char* file;                  // image file name
    PrototypeId prototype;             // what kind of part it is
    Picture picture;                   // what it looks like
    Point offset;                      // the point that sits on the parent's connection
    std::vector<Connection> connections;
};

// Offsets: the hull is only ever the root, whose offset (0, 0) centres it on
// the test canvas; every other part is placed by the middle of the edge that
// meets its parent.
std::vector<SamplePart> MakeParts() {
    std::vector<SamplePart> parts;
    parts.push_back({"HullHeavy.png", kHull, HullHeavy(), {0, 0},
                     {{kLeft, {0, 30}}, {kFront, {22, 0}}, {kRight, {44, 30}}, {kBack, {22, 60}}}});
    parts.push_back({"HullLight.png", kHull, HullLight(), {0, 0},
                     {{kLeft, {0, 26}}, {kFront, {18, 0}}, {kRight, {35, 26}}, {kBack, {18, 52}}}});
    parts.push_back({"CockpitDart.png", kCockpit, CockpitDart(), {14, 36}, {{kFront, {14, 0}}}});
    parts.push_back({"CockpitBubble.png", kCockpit, CockpitBubble(), {16, 30}, {{kFront, {16, 1}}}});
    parts.push_back({"SectionCargo.png", kSection, SectionCargo(), {20, 0},
                     {{kLeft, {0, 20}}, {kRight, {40, 20}}, {kBack, {20, 40}}}});
    parts.push_back({"SectionArmour.png", kSection, SectionArmour(), {22, 0},
                     {{kLeft, {1, 12}}, {kRight, {43, 12}}, {kBack, {22, 32}}}});
    // A left wing meets the hull with its right edge, a right wing with its left.
    parts.push_back({"WingSweptLeft.png", kLeftWing, WingSwept(), {56, 12}, {{kFront, {30, 14}}, {kBack, {30, 28}}}});
    parts.push_back({"WingSweptRight.png", kRightWing, Mirrored(WingSwept()), {0, 12},
                     {{kFront, {26, 14}}, {kBack, {26, 28}}}});
    parts.push_back({"WingDeltaLeft.png", kLeftWing, WingDelta(), {48, 18}, {{kFront, {26, 15}}, {kBack, {26, 38}}}});
    parts.push_back({"WingDeltaRight.png", kRightWing, Mirrored(WingDelta()), {0, 18},
                     {{kFront, {22, 15}}, {kBack, {22, 38}}}});
    parts.push_back({"EngineTwin.png", kEngine, EngineTwin(), {14, 0}, {}});
    parts.push_back({"EngineIon.png", kEngine, EngineIon(), {10, 0}, {}});
    parts.push_back({"GunLaser.png", kGun, GunLaser(), {4, 21}, {}});
    parts.push_back({"GunCannon.png", kGun, GunCannon(), {6, 17}, {}});
    return parts;
}

PartSetup SetupOf(const SamplePart& part) {
    PartSetup s;
    s.OffsetX = part.offset.x;
    s.OffsetY = part.offset.y;
    s.PrototypeIndex = part.prototype;
    for (const Connection& c : part.connections) s.ConnX[c.slot] = c.at.x, s.ConnY[c.slot] = c.at.y;
    return s;
}

// ---------------------------------------------------------------- output

// Hands the picture to the image service in runs of one colour and alpha.
bool Save(const Picture& picture, const std::string& path) {
    constexpr int kWorkImage = 0;
    if (!Image_Create(kWorkImage, picture.width, picture.height)) return false;
    if (!Draw_Begin(Draw_ImageOutput(kWorkImage))) return false;
    auto same = [](const Rgba& a, const Rgba& b) {
        // A clear pixel has no colour worth keeping: all clear pixels are one run.
        if (a.a == 0 || b.a == 0) return a.a == b.a;
        return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
    };
    for (int y = 0; y < picture.height; ++y) {
        int x = 0;
        while (x < picture.width) {
            const Rgba& c = picture.At(x, y);
            int end = x + 1;
            while (end < picture.width && same(picture.At(end, y), c)) ++end;
            const Rgba colour = c.a == 0 ? Rgba{} : c;
            Draw_AlphaBox(x, y, end - x, 1, colour.r + colour.g * 256 + colour.b * 65536, colour.a);
            x = end;
        }
    }
    Draw_End();
    const int saved = Image_Save(kWorkImage, path, kPngEncoder);
    Image_Free(kWorkImage);
    return saved != 0;
}

// Lays a part onto a picture as the test view does: its offset on the anchor.
Point Place(Picture& canvas, const SamplePart& part, Point anchor) {
    const Point topLeft{anchor.x - part.offset.x, anchor.y - part.offset.y};
    for (int y = 0; y < part.picture.height; ++y)
        for (int x = 0; x < part.picture.width; ++x) {
            const Rgba& c = part.picture.At(x, y);
            canvas.Over(topLeft.x + x, topLeft.y + y, {c.r, c.g, c.b}, c.a);
        }
    return topLeft;
}

Point ConnectionPoint(const SamplePart& part, Point topLeft, int slot) {
    for (const Connection& c : part.connections)
        if (c.slot == slot) return {topLeft.x + c.at.x, topLeft.y + c.at.y};
    return topLeft;
}

// The icon: a ship grown from the sample's parts on a dark rounded tile,
// drawn at twice the size and halved.
Picture MakeIcon(const std::vector<SamplePart>& parts) {
    auto part = [&](const char* file) -> const SamplePart& {
        for (const SamplePart& p : parts)
            if (std::string(p.file) == file) return p;
        return parts.front();
    };
    Picture big(256, 256);
    Paint(big, Polygon({{24, 8}, {232, 8}, {248, 24}, {248, 232}, {232, 248}, {24, 248}, {8, 232}, {8, 24}}),
          [](int, int y) { return Mix({26, 46, 84}, {10, 20, 40}, y, 256); });
    for (int k = 32; k < 240; k += 32) {
        Paint(big, Box(k, 12, 1, 232), Flat({60, 96, 150}), 90);
        Paint(big, Box(12, k, 232, 1), Flat({60, 96, 150}), 90);
    }
    const SamplePart& hull = part("HullHeavy.png");
    const Point hullAt = Place(big, hull, {128 - hull.picture.width / 2, 120 - hull.picture.height / 2});
    const SamplePart& wingL = part("WingSweptLeft.png");
    const SamplePart& wingR = part("WingSweptRight.png");
    const Point wingLAt = Place(big, wingL, ConnectionPoint(hull, hullAt, kLeft));
    const SamplePart& cockpit = part("CockpitDart.png");
    const Point cockpitAt = Place(big, cockpit, ConnectionPoint(hull, hullAt, kFront));
    Place(big, part("GunLaser.png"), ConnectionPoint(cockpit, cockpitAt, kFront));
    const Point wingRAt = Place(big, wingR, ConnectionPoint(hull, hullAt, kRight));
    const SamplePart& section = part("SectionCargo.png");
    const Point sectionAt = Place(big, section, ConnectionPoint(hull, hullAt, kBack));
    Place(big, part("EngineTwin.png"), ConnectionPoint(section, sectionAt, kBack));
    Place(big, part("GunCannon.png"), ConnectionPoint(wingL, wingLAt, kFront));
    Place(big, part("GunCannon.png"), ConnectionPoint(wingR, wingRAt, kFront));

    Picture icon(128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            // Averaged with alpha weights, so clear pixels do not darken the edge.
            int r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < 2; ++j)
                for (int i = 0; i < 2; ++i) {
                    const Rgba& c = big.At(2 * x + i, 2 * y + j);
                    r += c.r * c.a, g += c.g * c.a, b += c.b * c.a, a += c.a;
                }
            if (a > 0) icon.At(x, y) = {r / a, g / a, b / a, a / 4};
        }
    return icon;
}

bool SaveSetup(const SamplePart& part, const std::string& path) { return WriteSetupFile(path, SetupOf(part)) != 0; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_sample DESIGN_FOLDER [ICON.png]\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    Dir_Create(folder);

    int failures = 0;
    auto check = [&](bool ok, const std::string& path) {
        if (ok) return;
        std::fprintf(stderr, "make_sample: cannot write %s\n", path.c_str());
        ++failures;
    };
    const std::vector<SamplePart> parts = MakeParts();
    for (const SamplePart& part : parts) {
        check(Save(part.picture, folder + part.file), folder + part.file);
        const std::string setup = folder + part.file + kSetupExtension;
        check(SaveSetup(part, setup), setup);
    }
    for (int id = 0; id < kPrototypeCount; ++id) design.Prototypes.Append() = MakePrototype(PrototypeId(id));
    // Written last: the build takes its presence as the sign the sample is complete.
    check(SavePrototypes(folder + "Prototypes.pt") != 0, folder + "Prototypes.pt");
    if (argc == 3) check(Save(MakeIcon(parts), argv[2]), argv[2]);
    Services_End();
    return failures == 0 ? 0 : 1;
}
