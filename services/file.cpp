// Files of 32-bit values, raw bytes and text lines. A created file is written
// beside its target and renamed over it on close, so a failed save never
// destroys what was there.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <random>
#include <set>
#include <utility>

#include "numbered_table.h"
#include "paths.h"
#include "testing.h"

namespace svc {
namespace {

struct File {
    std::FILE* file = nullptr;  // open stream
    bool writing = false;       // created for writing (committed on close)
    bool failed = false;        // a write failed: the target stays as it was
    int folder = -1;            // descriptor of the folder a created file is written in
    std::string tempName;       // where a created file is written, in that folder
    std::string targetName;     // what it replaces on close, in that folder
};

bool Finish(File& f);
void CloseOnFree(File& f, int) { Finish(f); }

struct FileState {
    int saveLinks = kSaveFollowInside;  // how a link at a saved file's name is taken
    std::string refusal;                // why the last save was refused, "" when it was not
    std::set<std::pair<dev_t, ino_t>> swept;  // folders already rid of stale temporaries this run
};
FileState state;

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
    // Renamed within the folder: a link that appeared at the target meanwhile is replaced, not followed.
    ok = ok && renameat(f.folder, f.tempName.c_str(), f.folder, f.targetName.c_str()) == 0;
    if (!ok) unlinkat(f.folder, f.tempName.c_str(), 0);
    close(f.folder);
    f.folder = -1;
    return ok;
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

constexpr const char* kTempPrefix = ".kw-save-";
// A save takes milliseconds: a temporary this old was left by a save cut short.
constexpr std::time_t kStaleTempSeconds = 60 * 60;
// Links followed from one name to the next before giving up (a loop).
constexpr int kMaxLinkHops = 8;

// A path split into its folder (used as it is, links included) and its own name.
struct SplitPath {
    std::string folder;
    std::string name;
};
SplitPath Split(const std::string& osPath) {
    const std::size_t slash = osPath.rfind('/');
    if (slash == std::string::npos) return {".", osPath};
    return {slash == 0 ? "/" : osPath.substr(0, slash), osPath.substr(slash + 1)};
}

// What a name in a folder stands for. A link is followed only while it names
// another plain name of the same folder; the kernel reads every step relative
// to the folder's descriptor, so nothing outside is ever touched.
struct Leaf {
    int link = kLinkNone;  // kLink*
    bool exists = false;   // the final name is there
    std::string name;      // the final name in the folder
    struct stat info {};   // its facts when it exists (links not followed)
};
Leaf ResolveLeaf(int folder, const std::string& name) {
    Leaf leaf;
    leaf.name = name;
    for (int hops = 0; hops <= kMaxLinkHops; ++hops) {
        if (fstatat(folder, leaf.name.c_str(), &leaf.info, AT_SYMLINK_NOFOLLOW) != 0) {
            // A dangling link never creates a file.
            if (hops > 0) leaf.link = kLinkOutside;
            return leaf;
        }
        if (!S_ISLNK(leaf.info.st_mode)) {
            leaf.exists = true;
            return leaf;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t n = readlinkat(folder, leaf.name.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) break;
        target.resize(static_cast<std::size_t>(n));
        if (target.find('/') != std::string::npos || target == "." || target == "..") break;
        leaf.link = kLinkInside;
        leaf.name = target;
    }
    leaf.link = kLinkOutside;
    leaf.exists = false;
    return leaf;
}

int OpenFolder(const std::string& folder) { return open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC); }

// Removes our own temporaries that a save cut short left in the folder, once a run.
void SweepStaleTemporaries(int folder) {
    struct stat self {};
    if (fstat(folder, &self) != 0 || !state.swept.insert({self.st_dev, self.st_ino}).second) return;
    const int scanFd = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (scanFd < 0) return;
    DIR* d = fdopendir(scanFd);
    if (!d) {
        close(scanFd);
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* e = readdir(d)) {
        if (std::strncmp(e->d_name, kTempPrefix, std::strlen(kTempPrefix)) != 0) continue;
        struct stat st {};
        if (fstatat(folder, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
        if (st.st_uid == geteuid() && now - st.st_mtime > kStaleTempSeconds) unlinkat(folder, e->d_name, 0);
    }
    closedir(d);
}

// A fresh temporary in the folder, private until its permissions are set.
int CreateTemp(int folder, std::string& name) {
    static std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        name = std::string(kTempPrefix) + std::string(suffix, 6);
        const int fd = openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool Refuse(const std::string& why) {
    state.refusal = why;
    return false;
}

// Opens a temporary file in the target's folder for a safe replace. Its name
// is short, whatever the target's length; it takes the target's permissions
// and, where allowed, its owner.
bool OpenTempBeside(const std::string& osPath, File& f) {
    state.refusal.clear();
    f.file = nullptr;
    f.writing = true;
    const SplitPath path = Split(osPath);
    if (path.name.empty()) return false;
    f.folder = OpenFolder(path.folder);
    if (f.folder < 0) return false;
    auto fail = [&f](bool result) {
        close(f.folder);
        f.folder = -1;
        return result;
    };
    Leaf leaf;
    if (state.saveLinks == kSaveReplaceLinks) {
        leaf.name = path.name;
        leaf.exists = fstatat(f.folder, path.name.c_str(), &leaf.info, AT_SYMLINK_NOFOLLOW) == 0;
        if (leaf.exists && S_ISLNK(leaf.info.st_mode)) leaf.exists = false;  // replaced, never followed
    } else {
        leaf = ResolveLeaf(f.folder, path.name);
        if (leaf.link == kLinkOutside)
            return fail(Refuse("\"" + path.name + "\" is a link leading out of its folder; it is left as it is"));
    }
    if (leaf.exists && (!S_ISREG(leaf.info.st_mode) || faccessat(f.folder, leaf.name.c_str(), W_OK, 0) != 0))
        return fail(false);
    f.targetName = leaf.name;
    SweepStaleTemporaries(f.folder);
    const int fd = CreateTemp(f.folder, f.tempName);
    if (fd < 0) return fail(false);
    if (leaf.exists) {
        // Owner first: a change of owner clears the set-id bits the mode then restores.
        if (fchown(fd, leaf.info.st_uid, leaf.info.st_gid) != 0 &&
            fchown(fd, static_cast<uid_t>(-1), leaf.info.st_gid) != 0) {
            // Not allowed to give it away: the saving user keeps it.
        }
        fchmod(fd, leaf.info.st_mode & 07777);
    } else {
        // A new file gets the usual permissions.
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    f.file = fdopen(fd, "wb");
    if (!f.file) {
        close(fd);
        unlinkat(f.folder, f.tempName.c_str(), 0);
        return fail(false);
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

void EndFiles() {
    files.Clear();
    state = FileState{};
}

}  // namespace svc

void Testing_SetFileSync(int (*sync)(int descriptor)) { svc::syncFile = sync ? sync : fsync; }

using namespace svc;

int File_LinkKind(const std::string& path) {
    const SplitPath split = Split(path);
    const int folder = OpenFolder(split.folder);
    if (folder < 0 || split.name.empty()) {
        if (folder >= 0) close(folder);
        return kLinkNone;
    }
    const int link = ResolveLeaf(folder, split.name).link;
    close(folder);
    return link;
}

void File_SetSaveLinks(int rule) { state.saveLinks = rule; }

std::string File_SaveRefusal() { return state.refusal; }

// The file under a number is closed (and committed) before the next one opens:
// reading back what was just written sees it.
int File_Create(int number, const std::string& path) {
    const int key = files.Claim(number);
    if (key < 0) return 0;
    File f;
    if (!OpenTempBeside(path, f)) return 0;
    return files.Store(number, key, std::move(f));
}

int File_OpenRead(int number, const std::string& path) {
    const int key = files.Claim(number);
    if (key < 0) return 0;
    File f;
    f.file = OpenRegularFile(path);
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
    if (stat(path.c_str(), &st) != 0) return -1;
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
