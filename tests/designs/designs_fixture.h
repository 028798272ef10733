// Shared set-up of the design tests: clean services, toolkit and model, the
// gadgets the design operations fill (numbers, kinds and flags as the
// editor's layout makes them), and design folder 7 in a fresh temporary
// directory as BaseDir.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "design_model.h"
#include "gadget.h"
#include "gadget_internal.h"  // row colours: the toolkit offers no query for them
#include "services.h"
#include "testing.h"

using Bytes = std::vector<std::uint8_t>;

class DesignsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Testing_ResetServices();
        design = DesignState{};
        ASSERT_NE(Sprite_Init(), 0);
        Gadget_Init();
        Gadget_SetDefaultFillMode(0);
        Gadget_SetDefaultTextColor(0xCCB7B5);
        // The gadgets the design operations fill, as the editor's table makes them.
        for (const GadgetLayout& layout : kEditorLayout)
            if (layout.shape != GadgetShape::FileList) CreateLayoutGadget(layout);
        Gadget_AddColumn(kGadgetSetupRows, 1, "x", 45);
        Gadget_AddColumn(kGadgetSetupRows, 2, "y", 45);
        ASSERT_NE(Sprite_Create(kPreviewSprite, 245, 185), 0);

        std::string pattern = (std::filesystem::temp_directory_path() / "keelwright-designs-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        std::filesystem::create_directories(root / "Designs" / "7");
        design.BaseDir = root.string() + "/";
        design.DesignFolder = 7;
    }

    void TearDown() override {
        Gadget_End();
        Testing_ResetServices();
        design = DesignState{};
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    // The open folder on disk.
    std::filesystem::path Folder() const { return root / "Designs" / "7"; }

    static Bytes ReadBytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static void PutLong(Bytes& bytes, std::int32_t value) {
        for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * b)));
    }

    // Rows of a list gadget, and the text colour of one row.
    static std::vector<std::string> Rows(int gadget) {
        std::vector<std::string> rows;
        for (int r = 0; r < Gadget_CountItems(gadget); ++r) rows.push_back(Gadget_GetItemText(gadget, r));
        return rows;
    }
    static int RowColour(int gadget, int row) {
        auto* list = KindAs<ColumnListRecord>(FindGadget(gadget));
        if (!list || row < 0 || row >= static_cast<int>(list->rows.size())) return -2;
        return list->rows[static_cast<std::size_t>(row)].textColor;
    }
    static std::vector<int> SelectedRows(int gadget) {
        std::vector<int> rows;
        for (int r = 0; r < Gadget_CountItems(gadget); ++r)
            if (Gadget_GetItemState(gadget, r)) rows.push_back(r);
        return rows;
    }

    std::filesystem::path root;  // temporary BaseDir
};
