// Files of 32-bit values, raw bytes and text lines. A created file is written
// beside its target and renamed over it on close, so a failed save never
// destroys what was there.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "services_internal.h"

namespace svc {
FileState files;

namespace {

File* FindFile(int number) {
    auto it = files.files.find(number);
    return it == files.files.end() ? nullptr : &it->second;
}

// Finishes a file: a created one replaces its target only when all went well.
bool Finish(File& f) {
    if (!f.file) return false;
    if (!f.writing) {
        std::fclose(f.file);
        f.file = nullptr;
        return true;
    }
    bool ok = !f.failed && std::fflush(f.file) == 0 && !std::ferror(f.file);
    ok = fsync(fileno(f.file)) == 0 && ok;
    ok = std::fclose(f.file) == 0 && ok;
    f.file = nullptr;
    if (ok && std::rename(f.tempPath.c_str(), f.targetPath.c_str()) == 0) return true;
    unlink(f.tempPath.c_str());
    return false;
}

void CloseFile(int number) {
    auto it = files.files.find(number);
    if (it == files.files.end()) return;
    Finish(it->second);
    files.files.erase(it);
}

int Install(int number, File f) {
    const int key = number == kServiceAuto ? NewId() : number;
    files.files[key] = std::move(f);
    return number == kServiceAuto ? key : 1;
}

bool NumberAcceptable(int number) { return number == kServiceAuto || (number >= 0 && number <= kServiceMaxNumber); }

void Write(int number, const void* data, std::size_t size) {
    File* f = FindFile(number);
    if (!f || !f->writing || size == 0) return;
    if (std::fwrite(data, 1, size, f->file) != size) f->failed = true;
}

}  // namespace

bool ReadWholeFile(const std::string& osPath, std::vector<std::uint8_t>& out) {
    out.clear();
    std::FILE* f = std::fopen(osPath.c_str(), "rb");
    if (!f) return false;
    struct stat st {};
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(f);
        return false;
    }
    std::uint8_t buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.insert(out.end(), buffer, buffer + n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool TargetWritable(const std::string& osPath) {
    struct stat st {};
    if (stat(osPath.c_str(), &st) != 0) return true;  // a new file
    return S_ISREG(st.st_mode) && access(osPath.c_str(), W_OK) == 0;
}

std::string OpenTempBeside(const std::string& osPath, std::FILE** file) {
    *file = nullptr;
    if (osPath.empty() || osPath.back() == '/' || !TargetWritable(osPath)) return "";
    std::string temp = osPath + ".tmp-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return "";
    // mkstemp makes the file private; a saved file gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    *file = fdopen(fd, "wb");
    if (!*file) {
        close(fd);
        unlink(temp.c_str());
        return "";
    }
    return temp;
}

bool WriteFileSafely(const std::string& osPath, const std::uint8_t* data, std::size_t size) {
    File f;
    f.writing = true;
    f.targetPath = osPath;
    f.tempPath = OpenTempBeside(osPath, &f.file);
    if (!f.file) return false;
    if (size > 0 && std::fwrite(data, 1, size, f.file) != size) f.failed = true;
    return Finish(f);
}

void CloseAllFiles() {
    for (auto& [number, f] : files.files) Finish(f);
    files = FileState{};
}

}  // namespace svc

using namespace svc;

int File_Create(int number, const std::string& path) {
    if (!NumberAcceptable(number)) return 0;
    if (number != kServiceAuto) CloseFile(number);
    File f;
    f.writing = true;
    f.targetPath = OsPath(path);
    f.tempPath = OpenTempBeside(f.targetPath, &f.file);
    if (!f.file) return 0;
    return Install(number, std::move(f));
}

int File_OpenRead(int number, const std::string& path) {
    if (!NumberAcceptable(number)) return 0;
    if (number != kServiceAuto) CloseFile(number);
    File f;
    f.file = std::fopen(OsPath(path).c_str(), "rb");
    if (!f.file) return 0;
    struct stat st {};
    if (fstat(fileno(f.file), &st) != 0 || S_ISDIR(st.st_mode)) {
        std::fclose(f.file);
        return 0;
    }
    return Install(number, std::move(f));
}

void File_WriteLong(int number, std::int32_t value) {
    const std::uint32_t v = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    Write(number, bytes, 4);
}

std::int32_t File_ReadLong(int number) {
    File* f = FindFile(number);
    if (!f || f->writing) return 0;
    std::uint8_t bytes[4] = {0, 0, 0, 0};
    // A value cut by the end keeps the bytes that are there.
    std::fread(bytes, 1, 4, f->file);
    const std::uint32_t v = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    return static_cast<std::int32_t>(v);
}

void File_WriteData(int number, std::span<const std::uint8_t> data) { Write(number, data.data(), data.size()); }

int File_ReadData(int number, std::span<std::uint8_t> data) {
    File* f = FindFile(number);
    if (!f || f->writing || data.empty()) return 0;
    return static_cast<int>(std::fread(data.data(), 1, data.size(), f->file));
}

void File_WriteLine(int number, const std::string& text) {
    Write(number, text.data(), text.size());
    Write(number, "\r\n", 2);
}

std::string File_ReadLine(int number) {
    File* f = FindFile(number);
    if (!f || f->writing) return "";
    std::string line;
    for (;;) {
        const int c = std::getc(f->file);
        if (c == EOF || c == '\n' || c == 0) break;
        if (c == '\r') {
            // CR LF is one line end; after a lone CR the next byte starts the next line.
            const int next = std::getc(f->file);
            if (next != '\n' && next != EOF) std::ungetc(next, f->file);
            break;
        }
        line += static_cast<char>(c);
    }
    return line;
}

int File_Eof(int number) {
    File* f = FindFile(number);
    if (!f || f->writing) return 0;
    const int c = std::getc(f->file);
    if (c == EOF) return 1;
    std::ungetc(c, f->file);
    return 0;
}

void File_Close(int number) { CloseFile(number); }

std::int64_t File_Size(const std::string& path) {
    struct stat st {};
    if (stat(OsPath(path).c_str(), &st) != 0) return -1;
    if (S_ISDIR(st.st_mode)) return -2;
    return static_cast<std::int64_t>(st.st_size);
}

std::string CurrentDirectory() {
    // Empty when it cannot be read (removed, or not reachable): any directory
    // given instead would send every later path somewhere the user never chose.
    if (FailForced("cwd")) return {};
    std::string dir(4096, '\0');
    while (!getcwd(dir.data(), dir.size())) {
        if (errno != ERANGE) return {};
        dir.resize(dir.size() * 2);
    }
    dir.resize(std::strlen(dir.c_str()));
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}
