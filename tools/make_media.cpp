// Writes the editor's media (background, pointer, cross-hair, arrow faces,
// click sound) into the folder given as the first argument. Everything is
// computed with integer and plain floating arithmetic only, so every build
// writes the same pictures and sound.
//
// Black (0, 0, 0) is the sprites' transparent colour: only the see-through
// parts of the pointer and the cross-hair use it.
#include <algorithm>
#include <cstdlib>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "services.h"

namespace {

struct Rgb {
    int r = 0, g = 0, b = 0;
};

Rgb Lift(Rgb c, int dr, int dg, int db) {
    return {std::clamp(c.r + dr, 0, 255), std::clamp(c.g + dg, 0, 255), std::clamp(c.b + db, 0, 255)};
}

int Pack(Rgb c) { return c.r + c.g * 256 + c.b * 65536; }

// A picture in memory, handed to the services' PNG encoder at the end.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Picture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgb& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    void Plot(int x, int y, Rgb c) {
        if (Inside(x, y)) At(x, y) = c;
    }
    void Fill(int x, int y, int w, int h, Rgb c) {
        for (int yy = y; yy < y + h; ++yy)
            for (int xx = x; xx < x + w; ++xx) Plot(xx, yy, c);
    }
    void Outline(int x, int y, int w, int h, Rgb c) {
        for (int i = 0; i < w; ++i) Plot(x + i, y, c), Plot(x + i, y + h - 1, c);
        for (int i = 0; i < h; ++i) Plot(x, y + i, c), Plot(x + w - 1, y + i, c);
    }
    void Line(int x0, int y0, int x1, int y1, Rgb c) {
        const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            Plot(x0, y0, c);
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) err += dy, x0 += sx;
            if (e2 <= dx) err += dx, y0 += sy;
        }
    }
    void DashedLine(int x0, int x1, int y, int dash, int gap, Rgb c) {
        for (int x = x0; x <= x1; x += dash + gap)
            for (int i = 0; i < dash && x + i <= x1; ++i) Plot(x + i, y, c);
    }
};

// Hands the picture to the image service in horizontal runs of one colour.
bool Save(const Picture& picture, const std::string& path) {
    constexpr int kWorkImage = 0;
    if (!Image_Create(kWorkImage, picture.width, picture.height)) return false;
    if (!Draw_Begin(Draw_ImageOutput(kWorkImage))) return false;
    for (int y = 0; y < picture.height; ++y) {
        int x = 0;
        while (x < picture.width) {
            const Rgb c = picture.pixels[static_cast<size_t>(y) * picture.width + x];
            int end = x + 1;
            while (end < picture.width) {
                const Rgb d = picture.pixels[static_cast<size_t>(y) * picture.width + end];
                if (d.r != c.r || d.g != c.g || d.b != c.b) break;
                ++end;
            }
            Draw_Box(x, y, end - x, 1, Pack(c));
            x = end;
        }
    }
    Draw_End();
    const int saved = Image_Save(kWorkImage, path, kPngEncoder);
    Image_Free(kWorkImage);
    return saved != 0;
}

// ---------------------------------------------------------------- background

struct Rect {
    int x, y, w, h;
};

// Areas of the fixed screen layout that get a lighter panel behind them.
constexpr std::array<Rect, 3> kPanels = {{
    {4, 12, 394, 292},    // design: title, design images, New/Load/Save, Add/Remove
    {4, 312, 489, 294},   // prototype: title, parts, view, connections
    {494, 12, 514, 750},  // load, part setup and test views, Quit
}};
// Title lines, slightly lifted.
constexpr std::array<Rect, 2> kTitleBands = {{{8, 18, 384, 24}, {8, 318, 481, 24}}};
// Recessed wells behind the lists that show whenever their panel does.
constexpr std::array<Rect, 2> kWells = {{{88, 43, 154, 254}, {8, 368, 481, 204}}};

Rgb BaseColour(int y) {
    // Deep navy, a little darker towards the bottom.
    const Rgb top{17, 32, 60}, bottom{9, 19, 39};
    return {top.r + (bottom.r - top.r) * y / 767, top.g + (bottom.g - top.g) * y / 767,
            top.b + (bottom.b - top.b) * y / 767};
}

void DrawGrid(Picture& p, const Rect& area, int minorLift, int majorLift) {
    for (int y = area.y; y < area.y + area.h; ++y)
        for (int x = area.x; x < area.x + area.w; ++x) {
            const bool major = x % 64 == 0 || y % 64 == 0;
            const bool minor = x % 16 == 0 || y % 16 == 0;
            if (!major && !minor) continue;
            const int lift = major ? majorLift : minorLift;
            p.At(x, y) = Lift(p.At(x, y), lift / 2, lift * 3 / 4, lift);
        }
}

void DrawShipSketch(Picture& p) {
    // A faint side view of a ship in the free corner below the prototype panel.
    const Rgb ink{52, 86, 134}, faint{36, 62, 100};
    const std::array<std::array<int, 2>, 7> hull = {
        {{52, 690}, {444, 690}, {476, 676}, {436, 734}, {96, 734}, {64, 720}, {52, 690}}};
    for (size_t i = 0; i + 1 < hull.size(); ++i) p.Line(hull[i][0], hull[i][1], hull[i + 1][0], hull[i + 1][1], ink);
    p.Outline(150, 662, 110, 29, ink);   // deckhouse
    p.Outline(170, 646, 64, 17, ink);    // bridge
    for (int i = 0; i < 5; ++i) p.Outline(176 + i * 12, 650, 6, 6, faint);  // bridge windows
    p.Line(284, 652, 278, 690, ink);     // funnel
    p.Line(304, 652, 302, 690, ink);
    p.Line(284, 652, 304, 652, ink);
    p.Line(340, 628, 340, 690, ink);     // mast
    p.Line(328, 642, 352, 642, ink);
    p.Line(340, 628, 444, 690, faint);   // stays
    p.Line(340, 628, 260, 662, faint);
    p.DashedLine(64, 452, 718, 6, 4, faint);  // waterline
    // Dimension line with end ticks.
    p.Line(52, 750, 476, 750, faint);
    p.Line(52, 744, 52, 756, faint);
    p.Line(476, 744, 476, 756, faint);
    p.Line(52, 750, 58, 747, faint), p.Line(52, 750, 58, 753, faint);
    p.Line(476, 750, 470, 747, faint), p.Line(476, 750, 470, 753, faint);
}

Picture MakeBackground() {
    Picture p(1024, 768);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.At(x, y) = BaseColour(y);
    DrawGrid(p, {0, 0, 1024, 768}, 6, 12);

    const Rgb border{50, 78, 120}, highlight{64, 96, 144};
    for (const Rect& r : kPanels) {
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) p.At(x, y) = Lift(BaseColour(y), 7, 11, 16);
        DrawGrid(p, r, 4, 8);
        p.Outline(r.x, r.y, r.w, r.h, border);
        for (int x = r.x + 1; x < r.x + r.w - 1; ++x) p.At(x, r.y + 1) = highlight;
    }
    for (const Rect& r : kTitleBands)
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) p.At(x, y) = Lift(p.At(x, y), 6, 8, 12);
    for (const Rect& r : kWells) {
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) p.At(x, y) = Lift(p.At(x, y), -6, -9, -12);
        p.Outline(r.x, r.y, r.w, r.h, {34, 56, 90});
    }
    DrawShipSketch(p);
    // Blueprint corner marks.
    const Rgb mark{70, 104, 156};
    for (const Rect& r : kPanels) {
        const int xs[2] = {r.x + 3, r.x + r.w - 4}, ys[2] = {r.y + 3, r.y + r.h - 4};
        for (int cx : xs)
            for (int cy : ys) p.Line(cx - 2, cy, cx + 2, cy, mark), p.Line(cx, cy - 2, cx, cy + 2, mark);
    }
    return p;
}

// ---------------------------------------------------------------- pointer, cross-hair, arrows

Picture MakePointer() {
    // 'O' outline, '#' fill, '.' see-through; the tip is the hot spot at (0, 0).
    static const char* const kShape[] = {
        "O...........", "OO..........", "O#O.........", "O##O........", "O###O.......",
        "O####O......", "O#####O.....", "O######O....", "O#######O...", "O########O..",
        "O#########O.", "O######OOOOO", "O###O##O....", "O##OO##O....", "O#O..O##O...",
        "OO...O##O...", "O.....O##O..", "......O##O..", ".......OO...",
    };
    const int h = static_cast<int>(std::size(kShape)), w = 12;
    Picture p(w, h);
    const Rgb outline{12, 18, 36}, fill{236, 240, 250};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (kShape[y][x] == 'O') p.At(x, y) = outline;
            else if (kShape[y][x] == '#') p.At(x, y) = fill;
        }
    return p;
}

Picture MakeCrosshair() {
    constexpr int kSize = 32;
    Picture p(kSize, kSize);
    const Rgb ink{96, 224, 255}, edge{20, 60, 88};
    // Centre between pixels 15 and 16; squared distances doubled to stay integral.
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int dx = 2 * x - 31, dy = 2 * y - 31;
            const int d2 = dx * dx + dy * dy;
            if (d2 >= 4 * 10 * 10 && d2 <= 4 * 12 * 12) p.At(x, y) = ink;
            else if (d2 > 4 * 12 * 12 && d2 <= 4 * 13 * 13) p.At(x, y) = edge;
        }
    for (int i = 1; i < kSize - 1; ++i) {
        if (i >= 12 && i <= 19) continue;  // an open centre keeps the point itself visible
        for (int t = 15; t <= 16; ++t) p.At(i, t) = ink, p.At(t, i) = ink;
    }
    return p;
}

enum class Direction { Up, Down, Left, Right };

Picture MakeArrowFace(Direction direction) {
    constexpr int kSize = 25;
    Picture p(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            p.At(x, y) = {58 - 28 * y / 24, 88 - 38 * y / 24, 136 - 52 * y / 24};
    // An upward triangle, then turned: rows 6..17, half width growing to 7.
    auto inTriangle = [](int x, int y) { return y >= 6 && y <= 17 && std::abs(x - 12) * 11 <= (y - 6) * 7; };
    auto turn = [direction](int x, int y, int& ux, int& uy) {
        switch (direction) {
            case Direction::Up: ux = x, uy = y; break;
            case Direction::Down: ux = x, uy = 24 - y; break;
            case Direction::Left: ux = y, uy = x; break;
            case Direction::Right: ux = y, uy = 24 - x; break;
        }
    };
    const Rgb shadow{14, 24, 44}, arrow{222, 228, 244};
    for (int pass = 0; pass < 2; ++pass)
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                int ux = 0, uy = 0;
                turn(pass == 0 ? x - 1 : x, pass == 0 ? y - 1 : y, ux, uy);
                if (inTriangle(ux, uy)) p.At(x, y) = pass == 0 ? shadow : arrow;
            }
    return p;
}

// ---------------------------------------------------------------- click sound

std::vector<std::uint8_t> MakeClickWav() {
    constexpr int kRate = 44100;
    constexpr int kSamples = kRate * 30 / 1000;
    std::vector<std::int16_t> samples(kSamples);
    // Two decaying partials from rotation recurrences (no library sine, so the
    // bytes do not depend on the maths library), plus a brief soft noise tick.
    const double pi = 3.14159265358979323846;
    struct Partial {
        double c, s, x = 1.0, y = 0.0, amplitude, decay;
    };
    auto partial = [&](double hz, double amplitude, double decay) {
        const double w = 2.0 * pi * hz / kRate;
        // Taylor series: good to far below one 16-bit step at these angles.
        const double w2 = w * w;
        const double c = 1.0 - w2 / 2.0 + w2 * w2 / 24.0 - w2 * w2 * w2 / 720.0;
        const double s = w - w * w2 / 6.0 + w * w2 * w2 / 120.0 - w * w2 * w2 * w2 / 5040.0;
        return Partial{c, s, 1.0, 0.0, amplitude, decay};
    };
    std::array<Partial, 2> partials = {partial(1250.0, 5200.0, 0.99655), partial(520.0, 3600.0, 0.99780)};
    std::uint32_t noise = 12345;
    double noiseLevel = 1800.0, smoothed = 0.0;
    for (int i = 0; i < kSamples; ++i) {
        double v = 0.0;
        for (Partial& q : partials) {
            v += q.y * q.amplitude;
            const double x = q.x * q.c - q.y * q.s;
            q.y = q.x * q.s + q.y * q.c;
            q.x = x;
            q.amplitude *= q.decay;
        }
        noise = noise * 1664525u + 1013904223u;
        const double white = static_cast<double>(static_cast<int>(noise >> 16) - 32768) / 32768.0;
        smoothed += (white - smoothed) * 0.35;
        v += smoothed * noiseLevel;
        noiseLevel *= 0.985;
        // 1 ms fade in and 4 ms fade out: no pops at either end.
        const int in = std::min(i, 44), out = std::min(kSamples - 1 - i, 176);
        v = v * in / 44.0 * out / 176.0;
        const long rounded = v < 0 ? static_cast<long>(v - 0.5) : static_cast<long>(v + 0.5);
        samples[i] = static_cast<std::int16_t>(std::clamp(rounded, -32767L, 32767L));
    }

    std::vector<std::uint8_t> wav;
    auto put32 = [&](std::uint32_t v) {
        for (int k = 0; k < 4; ++k) wav.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
    };
    auto put16 = [&](std::uint16_t v) {
        wav.push_back(static_cast<std::uint8_t>(v));
        wav.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto tag = [&](const char* t) { wav.insert(wav.end(), t, t + 4); };
    const std::uint32_t dataBytes = kSamples * 2;
    tag("RIFF");
    put32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);           // PCM
    put16(1);           // mono
    put32(kRate);
    put32(kRate * 2);   // bytes per second
    put16(2);           // block align
    put16(16);          // bits per sample
    tag("data");
    put32(dataBytes);
    for (std::int16_t s : samples) put16(static_cast<std::uint16_t>(s));
    return wav;
}

bool SaveBytes(const std::vector<std::uint8_t>& bytes, const std::string& path) {
    constexpr int kWorkFile = 0;
    if (!File_Create(kWorkFile, path)) return false;
    File_WriteData(kWorkFile, bytes);
    File_Close(kWorkFile);
    return File_Size(path) == static_cast<std::int64_t>(bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_media OUTPUT_FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    Dir_Create(folder);

    struct Output {
        const char* name;
        Picture picture;
    };
    const std::array<Output, 7> pictures = {{
        {"BG.png", MakeBackground()},
        {"Mouse.png", MakePointer()},
        {"Crosshair solid.png", MakeCrosshair()},
        {"BtnUp.png", MakeArrowFace(Direction::Up)},
        {"BtnDown.png", MakeArrowFace(Direction::Down)},
        {"BtnLeft.png", MakeArrowFace(Direction::Left)},
        {"BtnRight.png", MakeArrowFace(Direction::Right)},
    }};
    int failures = 0;
    for (const Output& out : pictures) {
        if (!Save(out.picture, folder + out.name)) {
            std::fprintf(stderr, "make_media: cannot write %s%s\n", folder.c_str(), out.name);
            ++failures;
        }
    }
    if (!SaveBytes(MakeClickWav(), folder + "Button.wav")) {
        std::fprintf(stderr, "make_media: cannot write %sButton.wav\n", folder.c_str());
        ++failures;
    }
    Services_End();
    return failures == 0 ? 0 : 1;
}
