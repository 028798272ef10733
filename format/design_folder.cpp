// The folder reader. Files are read through std::filesystem and streams,
// only when they are regular files (a pipe standing in for one would never
// end), and never more than a bound: a huge file cannot exhaust memory.
#include "design_folder.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "part_setup_bytes.h"
#include "prototype_bytes.h"
#include "utf8_path.h"

namespace fs = std::filesystem;

namespace {

constexpr auto kMaxListBytes = static_cast<std::uintmax_t>(kMaxPrototypeListBytes);

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A regular file's first `limit` bytes; false when it is no regular file or cannot be opened.
bool ReadBytes(const fs::path& path, std::uintmax_t limit, std::vector<std::uint8_t>& bytes) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.clear();
    char buffer[65536];
    while (bytes.size() < limit && in) {
        const auto want = static_cast<std::streamsize>(std::min<std::uintmax_t>(sizeof buffer, limit - bytes.size()));
        in.read(buffer, want);
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    }
    return !in.bad();
}

// The part images with a setup file beside them, in listing order.
bool ListImages(const fs::path& folder, std::vector<std::string>& images) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return false;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) return false;
        std::string name = Utf8FromPath(it->path().filename());
        if (!IsPartImageName(name)) continue;
        // A folder of an image's name is no image; a broken link still counts as a file.
        std::error_code statError;
        if (fs::is_directory(it->path(), statError)) continue;
        const fs::file_status setup = fs::status(folder / PathFromUtf8(name + kSetupExtension), statError);
        if (statError || !fs::exists(setup) || fs::is_directory(setup)) continue;
        images.push_back(std::move(name));
    }
    std::sort(images.begin(), images.end(), DesignNameLess);
    return true;
}

}  // namespace

bool IsPartImageName(const std::string& name) {
    static const std::string extension = kImageExtension;
    if (name.size() < extension.size()) return false;
    for (std::size_t i = 0; i < extension.size(); ++i)
        if (Lower(name[name.size() - extension.size() + i]) != extension[i]) return false;
    return true;
}

bool DesignNameLess(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = Lower(a[i]), y = Lower(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

DesignFolder ReadDesignFolder(const fs::path& folder) {
    DesignFolder result;
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (folder.empty() || !fs::exists(status)) {
        result.failure = "no such folder";
        return result;
    }
    if (!fs::is_directory(status)) {
        result.failure = "not a folder";
        return result;
    }
    if (!ListImages(folder, result.images)) {
        result.failure = "the folder cannot be read";
        return result;
    }

    const fs::path listPath = folder / kPrototypeFileName;
    std::vector<std::uint8_t> bytes;
    result.hasPrototypeList = ReadBytes(listPath, kMaxListBytes, bytes);
    if (!result.hasPrototypeList && result.images.empty()) {
        result.failure = std::string("not a design folder: no ") + kPrototypeFileName + " and no part image with a setup";
        return result;
    }
    result.readable = true;
    if (result.hasPrototypeList) {
        result.prototypeList = DecodePrototypeList(bytes);
        // Cut at the bound, the file certainly held more than was read.
        if (bytes.size() >= kMaxListBytes && fs::file_size(listPath, error) > kMaxListBytes)
            result.prototypeList.trailingData = true;
        FindPrototypeListDamage(result.prototypeList, result.findings);
    } else {
        FindMissingPrototypeList(fs::is_directory(listPath, error), result.findings);
    }

    const std::vector<Prototype>& prototypes = result.prototypeList.prototypes;
    for (const std::string& image : result.images) {
        const fs::path setupPath = folder / PathFromUtf8(image + kSetupExtension);
        const bool read = ReadBytes(setupPath, kSetupFileBytes, bytes);
        if (!FindUnreadableSetup(image, read, result.findings)) continue;
        DesignPart& part = result.parts.emplace_back();
        part.image = image;
        part.setup = DecodePartSetup(bytes);
        const std::uintmax_t size = fs::file_size(setupPath, error);
        part.setupSize = error ? -1 : static_cast<std::int64_t>(size);
        FindSetupSize(image, part.setupSize, result.findings);
        FindSetupPrototype(image, part.setup, prototypes, result.findings);
    }
    FindRuleProblems(prototypes, result.findings);
    return result;
}
