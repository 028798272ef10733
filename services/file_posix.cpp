// The POSIX side of files: regular files only, and saves written beside
// their target and renamed over it within the folder's descriptor, so a link
// that appears meanwhile is replaced, never followed.
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

struct FileState {
    int saveLinks = kSaveFollowInside;  // how a link at a saved file's name is taken
    std::string refusal;                // why the last save was refused, "" when it was not
    std::set<std::pair<dev_t, ino_t>> swept;  // folders already rid of stale temporaries this run
};
FileState state;

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

namespace {

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

}  // namespace

// Opens a temporary file in the target's folder for a safe replace. Its name
// is short, whatever the target's length; it takes the target's permissions
// and, where allowed, its owner.
std::FILE* BeginSave(const std::string& osPath, PendingSave& save) {
    state.refusal.clear();
    const SplitPath path = Split(osPath);
    if (path.name.empty()) return nullptr;
    save.folder = OpenFolder(path.folder);
    if (save.folder < 0) return nullptr;
    auto fail = [&save]() -> std::FILE* {
        close(save.folder);
        save.folder = -1;
        return nullptr;
    };
    Leaf leaf;
    if (state.saveLinks == kSaveReplaceLinks) {
        leaf.name = path.name;
        leaf.exists = fstatat(save.folder, path.name.c_str(), &leaf.info, AT_SYMLINK_NOFOLLOW) == 0;
        if (leaf.exists && S_ISLNK(leaf.info.st_mode)) leaf.exists = false;  // replaced, never followed
    } else {
        leaf = ResolveLeaf(save.folder, path.name);
        if (leaf.link == kLinkOutside) {
            Refuse("\"" + path.name + "\" is a link leading out of its folder; it is left as it is");
            return fail();
        }
    }
    if (leaf.exists && (!S_ISREG(leaf.info.st_mode) || faccessat(save.folder, leaf.name.c_str(), W_OK, 0) != 0))
        return fail();
    save.targetName = leaf.name;
    SweepStaleTemporaries(save.folder);
    const int fd = CreateTemp(save.folder, save.tempName);
    if (fd < 0) return fail();
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
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        unlinkat(save.folder, save.tempName.c_str(), 0);
        return fail();
    }
    return file;
}

bool CommitSave(PendingSave& save, bool written) {
    // Renamed within the folder: a link that appeared at the target meanwhile is replaced, not followed.
    const bool ok = written && renameat(save.folder, save.tempName.c_str(), save.folder, save.targetName.c_str()) == 0;
    if (!ok) unlinkat(save.folder, save.tempName.c_str(), 0);
    close(save.folder);
    save.folder = -1;
    return ok;
}

int SyncToDisk(int descriptor) { return fsync(descriptor); }

void EndSaves() { state = FileState{}; }

}  // namespace svc

using namespace svc;

bool IsPathSeparator(char c) { return c == '/'; }

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

std::int64_t File_Size(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return -1;
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
