// Shared by the format tests: bytes, little-endian values and a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "temp_folder.h"

using Bytes = std::vector<std::uint8_t>;

inline void PutLong(Bytes& bytes, std::uint32_t value) {
    for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * b)));
}
inline void PutText(Bytes& bytes, const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }

class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        root = MakeTempFolder("keelwright-format-");
        ASSERT_FALSE(root.empty());
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    void Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(root / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::filesystem::path root;  // the scratch folder
};
