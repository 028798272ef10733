// Paths are UTF-8 text throughout the program. std::filesystem reads a plain
// string in the system's code page, which on Windows is not UTF-8 and cannot
// hold every name, so paths cross between the two here.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

inline std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
