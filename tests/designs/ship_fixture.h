// Test ships: prototypes and parts made on the spot, part pictures written
// as real RGBA PNG files into the open design folder and loaded from there.
#pragma once

#include <functional>
#include <initializer_list>
#include <utility>

#include "designs_fixture.h"
#include "interaction.h"
#include "test_ship.h"

class ShipTest : public DesignsTest {
protected:
    void SetUp() override {
        DesignsTest::SetUp();
        interaction = InteractionState{};
        ASSERT_NE(Sprite_Create(kShipCanvasSprite, kShipCanvasWidth, kShipCanvasHeight), 0);
    }
    void TearDown() override {
        interaction = InteractionState{};
        DesignsTest::TearDown();
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

    // A w x h part of one RGBA colour (0xAARRGGBB), written as a PNG and loaded;
    // returns its image. Connections as (index, x, y).
    int AddPart(int w, int h, int prototype, std::uint32_t argb, int offsetX = 0, int offsetY = 0,
                std::initializer_list<std::array<int, 3>> connections = {}) {
        const std::string name = "part" + std::to_string(design.Parts.Count()) + ".png";
        WritePng(Folder() / name, w, h, [&](int, int) { return argb; });
        const int image = Image_Load(kServiceAuto, (Folder() / name).string(), 0);
        Part& part = design.Parts.Append();
        part.Image = image;
        part.Setup.PrototypeIndex = prototype;
        part.Setup.OffsetX = offsetX;
        part.Setup.OffsetY = offsetY;
        for (const auto& c : connections) {
            part.Setup.ConnX[static_cast<std::size_t>(c[0])] = c[1];
            part.Setup.ConnY[static_cast<std::size_t>(c[0])] = c[2];
        }
        return image;
    }

    // Appends a node showing `image` of `prototype` and hangs it on a parent's connection.
    static int AddNode(int image, int prototype, int parent = -1, int connection = 0) {
        const int position = design.ShipNodes.Count();
        ShipNode& node = design.ShipNodes.Append();
        node.Image = image;
        node.PrototypeIndex = prototype;
        InitNodeConnections(position, prototype);
        if (parent >= 0) design.ShipNodes.At(parent)->Child[static_cast<std::size_t>(connection)] = position;
        return position;
    }

    static std::uint32_t HitAt(int mouseX, int mouseY, int node = 0, int x = 0, int y = 0) {
        interaction.MouseX = mouseX;
        interaction.MouseY = mouseY;
        return HitTestShipNode(node, x, y);
    }

    static int Pixel(int target, int x, int y) {
        if (!Draw_Begin(target)) return -1;
        const int colour = Draw_Point(x, y);
        Draw_End();
        return colour;
    }
    static int CanvasPixel(int x, int y) { return Pixel(Draw_SpriteOutput(kShipCanvasSprite), x, y); }

    // An RGBA PNG with stored (uncompressed) deflate blocks.
    static void WritePng(const std::filesystem::path& path, int w, int h,
                         const std::function<std::uint32_t(int, int)>& argb) {
        Bytes raw;
        for (int y = 0; y < h; ++y) {
            raw.push_back(0);  // no filter
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = argb(x, y);
                for (int shift : {16, 8, 0, 24}) raw.push_back(static_cast<std::uint8_t>(p >> shift));
            }
        }
        Bytes z{0x78, 0x01};
        for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
            const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
            z.push_back(at + n >= raw.size() ? 1 : 0);
            for (std::size_t v : {n, n ^ 0xFFFF}) z.insert(z.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
            z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at), raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        }
        std::uint32_t a = 1, b = 0;
        for (std::uint8_t c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
        Be(z, (b << 16) | a);
        Bytes ihdr;
        Be(ihdr, static_cast<std::uint32_t>(w));
        Be(ihdr, static_cast<std::uint32_t>(h));
        ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
        Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        Chunk(png, "IHDR", ihdr);
        Chunk(png, "IDAT", z);
        Chunk(png, "IEND", {});
        WriteBytes(path, png);
    }

private:
    static void Be(Bytes& out, std::uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
    }
    static void Chunk(Bytes& png, const char* type, const Bytes& data) {
        Be(png, static_cast<std::uint32_t>(data.size()));
        Bytes body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        std::uint32_t crc = 0xFFFFFFFFu;
        for (std::uint8_t c : body) {
            crc ^= c;
            for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        png.insert(png.end(), body.begin(), body.end());
        Be(png, ~crc);
    }
};
