// A fresh, empty folder of the test's own under the system's temporary folder.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

// Empty when none could be made.
inline std::filesystem::path MakeTempFolder(const std::string& prefix) {
    static std::mt19937_64 random{std::random_device{}()};
    std::error_code error;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error) return {};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path path = temp / (prefix + std::to_string(random() % 1000000000000));
        // False when the name is taken: another run's folder is never shared.
        if (std::filesystem::create_directory(path, error)) return path;
    }
    return {};
}
