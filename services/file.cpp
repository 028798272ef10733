// Files of 32-bit values, raw bytes and text lines. A created file is written
// beside its target and renamed over it on close, so a failed save never
// destroys what was there.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "numbered_table.h"
#include "paths.h"
#include "testing.h"

namespace svc {
namespace {

struct File {
    std::FILE* file = nullptr;  // open stream
    bool writing = false;       // created for writing (committed on close)
    bool failed = false;        // a write failed: the target stays as it was
    std::string tempPath;       // where a created file is written
    std::string targetPath;     // what it replaces on close
};

bool Finish(File& f);
void CloseOnFree(File& f, int) { Finish(f); }

// Open files; a file freed by a new open under its number, or at the end, is committed.
NumberedTable<File> files(Kind::None, CloseOnFree);
// Pushes a file's bytes to the disk; tests put a recorder in its place.
int (*syncFile)(int descriptor) = fsync;

// Finishes a file: a created one replaces its target only when all went well.
bool Finish(File& f) {
    if (!f.file) return false;
    if (!f.writing) {
        std::fclose(f.file);
        f.file = nullptr;
        return true;
    }
    bool ok = !f.failed && std::fflush(f.file) == 0 && !std::ferror(f.file);
    // On the disk before the rename makes the bytes the file.
    ok = syncFile(fileno(f.file)) == 0 && ok;
    ok = std::fclose(f.file) == 0 && ok;
    f.file = nullptr;
    if (ok && std::rename(f.tempPath.c_str(), f.targetPath.c_str()) == 0) return true;
    unlink(f.tempPath.c_str());
    return false;
}

void Write(int number, const void* data, std::size_t size) {
    File* f = files.Find(number);
    if (!f || !f->writing || size == 0) return;
    if (std::fwrite(data, 1, size, f->file) != size) f->failed = true;
}

}  // namespace

std::FILE* OpenRegularFile(const std::string& osPath) {
    // Only regular files: opening a FIFO waits for a writer and a device may
    // never end. Checked before opening (so no device is opened at all) and
    // again on the open descriptor, which the name may no longer match.
    struct stat st {};
    if (stat(osPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    const int fd = open(osPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = fdopen(fd, "rb");
    if (!f) close(fd);
    return f;
}

bool ReadWholeFile(const std::string& osPath, std::vector<std::uint8_t>& out, std::size_t maxBytes) {
    out.clear();
    std::FILE* f = OpenRegularFile(osPath);
    if (!f) return false;
    std::uint8_t buffer[65536];
    std::size_t n = 0;
    while (out.size() <= maxBytes && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    const bool ok = !std::ferror(f) && out.size() <= maxBytes;
    std::fclose(f);
    return ok;
}

namespace {

// Whether a file may be created or replaced at this path.
bool TargetWritable(const std::string& osPath) {
    struct stat st {};
    if (stat(osPath.c_str(), &st) != 0) return true;  // a new file
    return S_ISREG(st.st_mode) && access(osPath.c_str(), W_OK) == 0;
}

// The file a save replaces: symbolic links are followed to what they name
// (which need not exist yet), so the link stays a link. "" for a loop.
std::string SaveTarget(const std::string& osPath) {
    std::string path = osPath;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return "";
        link.resize(static_cast<std::size_t>(n));
        const std::size_t slash = path.rfind('/');
        if (link[0] != '/' && slash != std::string::npos) link = path.substr(0, slash + 1) + link;
        path = link;
    }
    return "";
}

// Opens a temporary file in the target's folder for a safe replace. Its name
// is short, whatever the target's length; it takes the target's permissions
// and, where allowed, its owner.
bool OpenTempBeside(const std::string& osPath, File& f) {
    f.file = nullptr;
    f.writing = true;
    f.targetPath = SaveTarget(osPath);
    if (f.targetPath.empty() || f.targetPath.back() == '/' || !TargetWritable(f.targetPath)) return false;
    const std::size_t slash = f.targetPath.rfind('/');
    f.tempPath = (slash == std::string::npos ? std::string() : f.targetPath.substr(0, slash + 1)) + ".kw-save-XXXXXX";
    const int fd = mkstemp(f.tempPath.data());
    if (fd < 0) return false;
    struct stat st {};
    if (stat(f.targetPath.c_str(), &st) == 0) {
        // Owner first: a change of owner clears the set-id bits the mode then restores.
        if (fchown(fd, st.st_uid, st.st_gid) != 0 && fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0) {
            // Not allowed to give it away: the saving user keeps it.
        }
        fchmod(fd, st.st_mode & 07777);
    } else {
        // mkstemp makes the file private; a new file gets the usual permissions.
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    f.file = fdopen(fd, "wb");
    if (!f.file) {
        close(fd);
        unlink(f.tempPath.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool WriteFileSafely(const std::string& osPath, const std::uint8_t* data, std::size_t size) {
    File f;
    if (!OpenTempBeside(osPath, f)) return false;
    if (size > 0 && std::fwrite(data, 1, size, f.file) != size) f.failed = true;
    return Finish(f);
}

void EndFiles() { files.Clear(); }

}  // namespace svc

void Testing_SetFileSync(int (*sync)(int descriptor)) { svc::syncFile = sync ? sync : fsync; }

using namespace svc;

// The file under a number is closed (and committed) before the next one opens:
// reading back what was just written sees it.
int File_Create(int number, const std::string& path) {
    const int key = files.Claim(number);
    if (key < 0) return 0;
    File f;
    if (!OpenTempBeside(OsPath(path), f)) return 0;
    return files.Store(number, key, std::move(f));
}

int File_OpenRead(int number, const std::string& path) {
    const int key = files.Claim(number);
    if (key < 0) return 0;
    File f;
    f.file = OpenRegularFile(OsPath(path));
    if (!f.file) return 0;
    return files.Store(number, key, std::move(f));
}

void File_WriteLong(int number, std::int32_t value) {
    const std::uint32_t v = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    Write(number, bytes, 4);
}

std::int32_t File_ReadLong(int number) {
    File* f = files.Find(number);
    if (!f || f->writing) return 0;
    std::uint8_t bytes[4] = {0, 0, 0, 0};
    // A value cut by the end keeps the bytes that are there.
    std::fread(bytes, 1, 4, f->file);
    const std::uint32_t v = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    return static_cast<std::int32_t>(v);
}

void File_WriteData(int number, std::span<const std::uint8_t> data) { Write(number, data.data(), data.size()); }

int File_ReadData(int number, std::span<std::uint8_t> data) {
    File* f = files.Find(number);
    if (!f || f->writing || data.empty()) return 0;
    return static_cast<int>(std::fread(data.data(), 1, data.size(), f->file));
}

void File_WriteLine(int number, const std::string& text) {
    Write(number, text.data(), text.size());
    Write(number, "\r\n", 2);
}

std::string File_ReadLine(int number) {
    File* f = files.Find(number);
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
    File* f = files.Find(number);
    if (!f || f->writing) return 0;
    const int c = std::getc(f->file);
    if (c == EOF) return 1;
    std::ungetc(c, f->file);
    return 0;
}

int File_Close(int number) {
    File* f = files.Find(number);
    if (!f) return 0;
    const bool committed = Finish(*f);
    files.Free(number);
    return committed ? 1 : 0;
}

std::int64_t File_Size(const std::string& path) {
    struct stat st {};
    if (stat(OsPath(path).c_str(), &st) != 0) return -1;
    if (S_ISDIR(st.st_mode)) return -2;
    return static_cast<std::int64_t>(st.st_size);
}

std::string ProgramDirectory() {
    char* base = SDL_GetBasePath();
    if (!base) return {};
    std::string dir = base;
    SDL_free(base);
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
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
