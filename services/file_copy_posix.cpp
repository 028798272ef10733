// Copies that never overwrite: a file brought into the user's folder takes a
// name nobody holds, and a link in that place is never followed out of it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "services_internal.h"

namespace svc {
namespace {


bool WriteAll(int descriptor, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(descriptor, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace
}  // namespace svc

using namespace svc;

int File_CopyNew(const std::string& source, const std::string& target) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(source, bytes, kMaxCopyBytes)) return kCopyFailed;
    const std::string to = target;
    // O_EXCL: a name that is taken (a link included) is never written through.
    const int descriptor = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (descriptor < 0) return errno == EEXIST ? kCopyNameTaken : kCopyFailed;
    const bool written = WriteAll(descriptor, bytes) && fsync(descriptor) == 0;
    if (close(descriptor) != 0 || !written) {
        unlink(to.c_str());  // ours alone: made by this open
        return kCopyFailed;
    }
    return kCopyDone;
}

int File_Same(const std::string& first, const std::string& second) {
    struct stat a {}, b {};
    if (stat(first.c_str(), &a) != 0 || stat(second.c_str(), &b) != 0) return 0;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino ? 1 : 0;
}
