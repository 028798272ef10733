// Shared set-up of the design tests: clean services and model, and design
// folder 7 in a fresh temporary directory as BaseDir.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "design_model.h"
#include "services.h"
#include "temp_folder.h"
#include "testing.h"

using Bytes = std::vector<std::uint8_t>;

class DesignsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Testing_ResetServices();
        design = DesignState{};
        ASSERT_NE(Sprite_Init(), 0);

        root = MakeTempFolder("keelwright-designs-");
        ASSERT_FALSE(root.empty());
        std::filesystem::create_directories(root / "Designs" / "7");
        design.BaseDir = root.string() + "/";
        design.DesignFolder = 7;
    }

    void TearDown() override {
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

    // Prototypes 0 "hull" and 1 "gun"; the gun uses connections 0 and 3.
    static void AddTwoPrototypes() {
        design.Prototypes.Append().Name = "hull";
        Prototype& gun = design.Prototypes.Append();
        gun.Name = "gun";
        gun.Index = 1;
        gun.ConnectionMask[0] = ConnectionActive;
        gun.ConnectionMask[3] = ConnectionActive | 1;
        gun.ConnectionMask[5] = 0x3;  // allowed bits alone do not make it active
    }

    std::filesystem::path root;  // temporary BaseDir
};
