// Test ships: prototypes and parts made on the spot, part pictures written
// as real RGBA PNG files into the open design folder and loaded from there.
#pragma once

#include <initializer_list>
#include <utility>

#include "designs_fixture.h"
#include "ship_assembly.h"

class ShipTest : public DesignsTest {
protected:
    void SetUp() override {
        DesignsTest::SetUp();
        ASSERT_NE(Sprite_Create(kShipCanvasSprite, kShipCanvasWidth, kShipCanvasHeight), 0);
    }
    // A prototype whose connections are the given (index, mask) pairs.
    static int AddPrototype(std::initializer_list<std::pair<int, std::uint32_t>> masks) {
        const int position = design.Prototypes.Count();
        Prototype& p = design.Prototypes.Append();
        p.Name = "proto" + std::to_string(position);
        p.Index = static_cast<std::int8_t>(position);
        for (auto [i, mask] : masks) p.ConnectionMask[static_cast<std::size_t>(i)] = mask;
        return position;
    }

    // A w x h part of one colour (0xAARRGGBB), written as a PNG and loaded;
    // returns its image. Connections as (index, x, y).
    ImageNumber AddPart(int w, int h, int prototype, std::uint32_t argb, int offsetX = 0, int offsetY = 0,
                std::initializer_list<std::array<int, 3>> connections = {}) {
        const std::filesystem::path file = Folder() / ("part" + std::to_string(design.Parts.Count()) + ".png");
        WriteBytes(file, Png(w, h, argb));
        Part& part = design.Parts.Append();
        part.Image = ImageNumber{Image_Load(kServiceAuto, file.string(), 0)};
        part.Setup.PrototypeIndex = prototype;
        part.Setup.OffsetX = offsetX;
        part.Setup.OffsetY = offsetY;
        for (const auto& c : connections) {
            part.Setup.ConnX[static_cast<std::size_t>(c[0])] = c[1];
            part.Setup.ConnY[static_cast<std::size_t>(c[0])] = c[2];
        }
        return part.Image;
    }

    // Appends a node showing `image` of `prototype` and hangs it on a parent's connection.
    static int AddNode(ImageNumber image, int prototype, int parent = -1, int connection = 0) {
        const int position = design.ShipNodes.Count();
        ShipNode& node = design.ShipNodes.Append();
        node.Image = image;
        node.PrototypeIndex = prototype;
        InitNodeConnections(position, PrototypePosition{prototype});
        if (parent >= 0) design.ShipNodes.At(parent)->Child[static_cast<std::size_t>(connection)] = position;
        return position;
    }

    static std::uint32_t HitAt(int mouseX, int mouseY, int node = 0, int x = 0, int y = 0) {
        return HitTestShipNode(node, x, y, mouseX, mouseY);
    }

    static int Pixel(int target, int x, int y) {
        if (!Draw_Begin(target)) return -1;
        const int colour = Draw_Point(x, y);
        Draw_End();
        return colour;
    }
    static int CanvasPixel(int x, int y) { return Pixel(Draw_SpriteOutput(kShipCanvasSprite), x, y); }

private:
    // A small RGBA PNG of one colour, in one stored (uncompressed) deflate block.
    static Bytes Png(int w, int h, std::uint32_t argb) {
        auto be = [](Bytes& out, std::uint32_t v) {
            for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
        };
        Bytes raw;
        for (int y = 0; y < h; ++y) {
            raw.push_back(0);
            for (int x = 0; x < w; ++x)
                for (int shift : {16, 8, 0, 24}) raw.push_back(static_cast<std::uint8_t>(argb >> shift));
        }
        const auto n = static_cast<std::uint16_t>(raw.size()), notN = static_cast<std::uint16_t>(~n);
        EXPECT_LT(raw.size(), 65536u);
        Bytes z{0x78, 0x01, 1, std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(notN), std::uint8_t(notN >> 8)};
        z.insert(z.end(), raw.begin(), raw.end());
        std::uint32_t a = 1, b = 0;
        for (std::uint8_t c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
        be(z, (b << 16) | a);
        Bytes ihdr, png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        be(ihdr, static_cast<std::uint32_t>(w));
        be(ihdr, static_cast<std::uint32_t>(h));
        ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
        for (auto [type, data] : {std::pair{"IHDR", ihdr}, {"IDAT", z}, {"IEND", Bytes{}}}) {
            be(png, static_cast<std::uint32_t>(data.size()));
            data.insert(data.begin(), type, type + 4);
            std::uint32_t crc = 0xFFFFFFFFu;
            for (std::uint8_t c : data) {
                crc ^= c;
                for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
            }
            png.insert(png.end(), data.begin(), data.end());
            be(png, ~crc);
        }
        return png;
    }
};

constexpr std::uint32_t kOpaqueBlue = 0xFF0000FF, kHalfRed = 0x80FF0000, kGreen = 0xFF00C000;
constexpr std::uint32_t kOn = ConnectionActive;

inline std::uint32_t AtConnection(int i, int node) { return HitConnection | (static_cast<std::uint32_t>(i) << 16) | node; }

// Root: 40 x 30 with free connections 0 (0, 15), 1 (20, 0), 2 (24, 0) and 3 (40, 15).
class ShipGeometry : public ShipTest {
protected:
    void SetUp() override {
        ShipTest::SetUp();
        AddPrototype({{0, kOn | 2}, {1, kOn | 2 | 4}, {2, kOn}, {3, kOn}});
        AddPrototype({});
        AddPrototype({});
        root = AddPart(40, 30, 0, kOpaqueBlue, 0, 0, {{0, 0, 15}, {1, 20, 0}, {2, 24, 0}, {3, 40, 15}});
        child = AddPart(20, 20, 1, kHalfRed, 10, 10);
        StartShip();
    }
    ImageNumber root, child;
};
