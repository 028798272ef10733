// A fresh working folder per test, entered for the test's duration.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

inline fs::path BuiltMediaFolder() { return fs::path(KEELWRIGHT_BINARY_DIR) / "Media"; }
inline fs::path MediaGenerator() { return fs::path(KEELWRIGHT_BINARY_DIR) / "tools" / "make_media"; }

class ScratchFolder {
public:
    ScratchFolder() : home_(fs::current_path()) {
        static int serial = 0;
        path_ = fs::temp_directory_path() /
                ("keelwright-app-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        fs::remove_all(path_);
        fs::create_directories(path_);
        fs::current_path(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::current_path(home_, ignored);
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& Path() const { return path_; }

private:
    fs::path home_;
    fs::path path_;
};
