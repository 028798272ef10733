// The editor driven as a person drives it: a started editor in a scratch
// folder, the mouse moved and clicked and keys held through whole frames,
// and design folders made on disk.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "gadget.h"
#include "gadget_internal.h"
#include "layout.h"  // list geometry: where a row lies after drawing
#include "part_palette.h"
#include "part_setup.h"
#include "prototypes.h"

// Where the test view palette's slot k lies on the screen (its centre).
inline int PaletteSlotX(int k) { return kPaletteX + kPaletteStep * (k % kPaletteColumns) + kPaletteButtonSize / 2; }
inline int PaletteSlotY(int k) { return kPaletteY + kPaletteStep * (k / kPaletteColumns) + kPaletteButtonSize / 2; }

class EditorSession : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        if (!ProvideMedia()) GTEST_SKIP() << "generated media not built: " << BuiltMediaFolder();
        ASSERT_TRUE(StartEditor()) << editor.StartupFailure;
        Frames(1);
    }

    static void Frames(int n) {
        for (int i = 0; i < n; ++i) RunFrame();
    }

    // A press and release at (x, y), then one more frame: the dispatch acts in
    // the release frame, the pictures in the frame after it.
    static void ClickAt(int x, int y, int button = 1) {
        Testing_MouseMove(x, y);
        RunFrame();
        Testing_MouseButton(button, true);
        RunFrame();
        Testing_MouseButton(button, false);
        RunFrame();
        RunFrame();
    }
    static void ClickGadget(int number) {
        const GadgetRecord* g = FindGadget(number);
        ASSERT_NE(g, nullptr) << "no gadget " << number;
        ClickAt(g->x + g->width / 2, g->y + g->height / 2);
    }
    // A click on a row of a list, as drawn in the last frame.
    static void ClickRow(int number, int row, int button = 1) {
        const GadgetRecord* g = FindGadget(number);
        ASSERT_NE(g, nullptr);
        const auto* list = std::get_if<ColumnListRecord>(&g->kindRecord);
        ASSERT_NE(list, nullptr);
        ASSERT_LT(row, static_cast<int>(list->rows.size()));
        const auto* bar = KindAs<ScrollBarRecord>(OwnScrollBar(g));
        const int first = bar ? bar->value : 0;
        ASSERT_GE(row, first) << "row " << row << " is scrolled out of sight";
        const Rect band = ListRowHitBand(*g, *list, first, row);
        ClickAt(g->x + 20, static_cast<int>(band.y + band.height / 2), button);
    }
    // The row of a list whose first cell is `text`, -1 when none.
    static int RowOf(int number, const std::string& text) {
        for (int r = 0; r < Gadget_CountItems(number); ++r)
            if (Gadget_GetCellText(number, r, 0) == text) return r;
        return -1;
    }
    static void HoldKey(int key, int frames) {
        Testing_Key(key, true);
        Frames(frames);
        Testing_Key(key, false);
        Frames(1);
    }
    static bool Visible(int number) {
        const GadgetRecord* g = FindGadget(number);
        return g && !g->hidden;
    }
    static bool Enabled(int number) {
        const GadgetRecord* g = FindGadget(number);
        return g && !g->disabled;
    }
    // Colour of a screen pixel as the last frame left it.
    static int ScreenPixel(int x, int y) {
        if (!Draw_Begin(Draw_ScreenOutput())) return -1;
        const int colour = Draw_Point(x, y);
        Draw_End();
        return colour;
    }

    // ---------------------------------------------------------------- files
    fs::path DesignDir(int n) const { return work_ / "Designs" / std::to_string(n); }

    // A PNG of one colour; returns its path.
    fs::path MakePicture(int folder, const std::string& name, int width, int height, int colour) const {
        fs::create_directories(DesignDir(folder));
        const fs::path path = DesignDir(folder) / name;
        const int image = Image_Create(kServiceAuto, width, height);
        EXPECT_NE(image, 0);
        if (Draw_Begin(Draw_ImageOutput(image))) {
            Draw_Box(0, 0, width, height, colour);
            Draw_End();
        }
        EXPECT_NE(Image_Save(image, path.string(), kPngEncoder), 0);
        Image_Free(image);
        return path;
    }
    void MakeSetup(int folder, const std::string& image, const PartSetup& setup) const {
        ASSERT_NE(WriteSetupFile((DesignDir(folder) / (image + ".spset")).string(), setup), 0);
    }
    // A prototype list: one entry per name, with the given masks for connection 1 .. 8.
    struct ProtoSpec {
        std::string name;
        std::array<std::uint32_t, kConnections> masks{};
    };
    void MakePrototypes(int folder, const std::vector<ProtoSpec>& specs) const {
        fs::create_directories(DesignDir(folder));
        std::vector<std::uint8_t> bytes;
        auto put = [&](std::uint32_t v) {
            for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * b)));
        };
        put(static_cast<std::uint32_t>(specs.size()));
        for (std::size_t k = 0; k < specs.size(); ++k) {
            Prototype p;
            p.Index = static_cast<std::int8_t>(k);
            p.ConnectionMask = specs[k].masks;
            const PrototypeRecord record = EncodePrototypeRecord(p);
            bytes.insert(bytes.end(), record.begin(), record.end());
            bytes.insert(bytes.end(), specs[k].name.begin(), specs[k].name.end());
            bytes.push_back('\r');
            bytes.push_back('\n');
        }
        std::ofstream(DesignDir(folder) / "Prototypes.pt", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static std::vector<std::uint8_t> FileBytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Opens design `n` the way a person does: "Load" (twice when the first
    // click warns of unsaved prototypes), then its folder chosen twice.
    void OpenDesign(int n) {
        ClickGadget(kGadgetLoad);
        if (editor.EditorMode != kLoadPanel) ClickGadget(kGadgetLoad);
        const int row = RowOf(kGadgetFileList, std::to_string(n));
        ASSERT_GE(row, 0) << "design " << n << " not listed";
        ClickRow(kGadgetFileList, row);
        ClickRow(kGadgetFileList, row);
        ASSERT_EQ(design.DesignFolder, n);
    }
};
