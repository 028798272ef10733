// The test ship and its pictures against plain floors:
//  - DrawShip of a 200-node ship of 64 x 48 translucent parts, against a plain
//    loop alpha-blending as many pixels into a 370 x 290 buffer;
//  - the canvas hit test of the editor's click on a 10,000-node ship, drawn
//    first as the editor draws it (a miss, so every test is made), against a
//    plain loop over the same nodes' rectangles;
//  - a chain of 50,000 nodes, each hanging from the one before, drawn and
//    hit-tested (no recursion as deep as the chain), against a plain walk
//    down the same chain testing each node's rectangle;
//  - SaveScreenshot, against saving the screen once as PNG (same encoder
//    settings, same file system: /dev/shm when there is one).
// Prints "NAME: MEDIAN us, RATIO x FLOOR" per figure. Headless (dummy driver).
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "design_model.h"
#include "services.h"
#include "ship_pictures.h"
#include "ship_assembly.h"
#include "testing.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPartW = 64, kPartH = 48;

// Per-pixel alpha over the whole range, so no pixel takes a shortcut.
std::uint32_t PartPixel(int x, int y) {
    const std::uint32_t a = static_cast<std::uint32_t>((x * 4 + y * 5) & 0xFF);
    return (a << 24) | (static_cast<std::uint32_t>(x * 3) << 16) | (static_cast<std::uint32_t>(y * 5) << 8) | 0x40u;
}

void Be(std::string& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out += static_cast<char>(v >> s);
}
std::uint32_t Crc(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}
void Chunk(std::string& png, const std::string& type, const std::string& data) {
    Be(png, static_cast<std::uint32_t>(data.size()));
    png += type + data;
    Be(png, Crc(type + data));
}

// The part picture as an RGBA PNG file (stored deflate: small and exact).
void WritePartPng(const fs::path& path) {
    std::string raw;
    for (int y = 0; y < kPartH; ++y) {
        raw += '\0';
        for (int x = 0; x < kPartW; ++x) {
            const std::uint32_t p = PartPixel(x, y);
            for (int shift : {16, 8, 0, 24}) raw += static_cast<char>(p >> shift);
        }
    }
    std::string z = "\x78\x01\x01";
    const std::uint32_t n = static_cast<std::uint32_t>(raw.size());
    z += static_cast<char>(n & 0xFF);
    z += static_cast<char>(n >> 8);
    z += static_cast<char>(~n & 0xFF);
    z += static_cast<char>((~n >> 8) & 0xFF);
    z += raw;
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
    Be(z, (b << 16) | a);
    std::string ihdr;
    Be(ihdr, kPartW);
    Be(ihdr, kPartH);
    ihdr += std::string("\x08\x06\x00\x00\x00", 5);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", "");
    std::ofstream(path, std::ios::binary) << png;
}

// A ship of `count` nodes grown breadth first: each node's free connections
// take the next nodes. Connections sit near the part's middle, so the ship
// stays on the canvas.
void BuildShip(int count, ImageNumber image, int connections) {
    design.ShipNodes.Clear();
    design.Prototypes.Clear();
    design.Parts.Clear();
    Prototype& p = design.Prototypes.Append();
    for (int i = 0; i < connections; ++i) p.ConnectionMask[static_cast<std::size_t>(i)] = ConnectionActive;
    Part& part = design.Parts.Append();
    part.Image = image;
    part.Setup.OffsetX = kPartW / 2;
    part.Setup.OffsetY = kPartH / 2;
    const int dx[4] = {8, -8, 0, 0}, dy[4] = {0, 0, 6, -6};
    for (int i = 0; i < 4; ++i) {
        part.Setup.ConnX[static_cast<std::size_t>(i)] = kPartW / 2 + dx[i];
        part.Setup.ConnY[static_cast<std::size_t>(i)] = kPartH / 2 + dy[i];
    }
    StartShip();
    for (int parent = 0; design.ShipNodes.Count() < count; ++parent)
        for (int i = 0; i < connections && design.ShipNodes.Count() < count; ++i) {
            const int position = design.ShipNodes.Count();
            design.ShipNodes.At(parent)->Child[static_cast<std::size_t>(i)] = position;
            ShipNode& node = design.ShipNodes.Append();
            node.Image = image;
            InitNodeConnections(position, PrototypePosition{0});
        }
}

std::uint32_t Blend(std::uint32_t s, std::uint32_t d) {
    const std::uint32_t a = s >> 24, na = 255 - a;
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t c = (((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * na + 127) / 255;
        out |= c << shift;
    }
    return out;
}

}  // namespace

int main() {
    Testing_UseHeadlessDrivers();
    if (!Sprite_Init() || !Window_Open(0, 0, 0, 1024, 768, "bench", kWindowSystemMenu) ||
        !Screen_OpenInWindow(Window_Handle(0), 0, 0, 1024, 768, 0, 0, 0)) {
        std::fprintf(stderr, "services did not start\n");
        return 1;
    }
    const fs::path work = (fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
                          ("keelwright-bench-ship-" + std::to_string(::getpid()));
    fs::create_directories(work);
    design.BaseDir = work.string() + "/";
    WritePartPng(work / "part.png");
    const ImageNumber image{Image_Load(kServiceAuto, (work / "part.png").string(), 0)};
    Sprite_Create(kShipCanvasSprite, kShipCanvasWidth, kShipCanvasHeight);

    // ---- DrawShip: 200 nodes against blending 200 x 64 x 48 pixels.
    BuildShip(200, image, 4);
    std::vector<std::uint32_t> source(static_cast<std::size_t>(kPartW) * kPartH), canvas(370 * 290, 0xFF000000u);
    for (int y = 0; y < kPartH; ++y)
        for (int x = 0; x < kPartW; ++x) source[static_cast<std::size_t>(y * kPartW + x)] = PartPixel(x, y);
    const int runs = 51;
    const double blendFloor = MedianMicros(runs, [&] {
        for (int n = 0; n < 200; ++n) {
            const int ox = (n * 7) % (370 - kPartW), oy = (n * 5) % (290 - kPartH);
            for (int y = 0; y < kPartH; ++y) {
                std::uint32_t* row = &canvas[static_cast<std::size_t>((oy + y) * 370 + ox)];
                const std::uint32_t* src = &source[static_cast<std::size_t>(y * kPartW)];
                for (int x = 0; x < kPartW; ++x) row[x] = Blend(src[x], row[x]);
            }
        }
    });
    std::printf("blend_200_parts_plain: %.1f us, 1.00 x blend_200_parts_plain\n", blendFloor);
    Report("draw_ship_200", MedianMicros(runs, [] { DrawShip(190, 150, 0); }), blendFloor, "blend_200_parts_plain");

    // ---- The canvas hit test: 10,000 nodes, a miss, against the rectangles.
    BuildShip(10000, image, 2);
    design.ViewX = kStartViewX;
    design.ViewY = kStartViewY;
    DrawShip(design.ViewX, design.ViewY, 0);
    struct Rect {
        int x0, y0, x1, y1;
    };
    std::vector<Rect> rects;
    for (int n = 0; n < 10000; ++n) {
        const int x = (n * 37) % 1000, y = (n * 53) % 700;
        rects.push_back({x, y, x + kPartW, y + kPartH});
    }
    volatile int mouseX = -500, mouseY = -500;
    int found = 0;
    const double rectFloor = MedianMicros(501, [&] {
        const int mx = mouseX, my = mouseY;
        for (std::size_t i = 0; i < rects.size(); ++i)
            if (mx >= rects[i].x0 && mx <= rects[i].x1 && my >= rects[i].y0 && my <= rects[i].y1) {
                found += static_cast<int>(i);
                break;
            }
    });
    std::printf("rectangles_10000_plain: %.1f us, 1.00 x rectangles_10000_plain\n", rectFloor);
    std::uint32_t code = 0;
    Report("hit_test_ship_10000", MedianMicros(501, [&] { code |= HitTestCanvas(mouseX, mouseY); }),
           rectFloor, "rectangles_10000_plain");

    // ---- A 50,000-node chain: drawn and hit-tested without deep recursion.
    constexpr int kChain = 50000;
    BuildShip(kChain, image, 1);
    const double walkFloor = MedianMicros(11, [&] {
        const int mx = mouseX, my = mouseY;
        int x = 0, y = 0;
        for (int n = 0; n < kChain; ++n, x += 8)
            if (mx >= x && mx <= x + kPartW && my >= y && my <= y + kPartH) found += n;
    });
    std::printf("chain_walk_50000_plain: %.1f us, 1.00 x chain_walk_50000_plain\n", walkFloor);
    Report("draw_and_hit_chain_50000", MedianMicros(11, [&] {
               DrawShip(design.ViewX, design.ViewY, 0);
               code |= HitTestCanvas(mouseX, mouseY);
           }),
           walkFloor, "chain_walk_50000_plain");

    // ---- SaveScreenshot against one PNG save of the screen.
    if (Draw_Begin(Draw_ScreenOutput())) {
        for (int y = 0; y < 768; y += 4)
            for (int x = 0; x < 1024; x += 16) Draw_Box(x, y, 16, 4, static_cast<int>((x * 2654435761u + y * 40503u) & 0xFFFFFF) & 0x3F7F9F);
        Draw_End();
    }
    Sprite_Grab(1, 0, 0, 1024, 768);
    const double pngFloor = MedianMicros(21, [&] { Sprite_Save(1, (work / "floor.png").string(), kPngEncoder); });
    std::printf("png_save_screen: %.1f us, 1.00 x png_save_screen\n", pngFloor);
    Report("save_screenshot", MedianMicros(21, [] { SaveScreenshot("bench"); }), pngFloor, "png_save_screen");

    std::fprintf(stderr, "(%d %u)\n", found, code);
    std::error_code ignored;
    fs::remove_all(work, ignored);
    Services_End();
    return 0;
}
