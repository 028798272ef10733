// The POSIX side of folders: names from readdir, facts from stat.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "services_internal.h"

namespace svc {

bool ListFolder(const std::string& folder, std::vector<std::string>& names) {
    DIR* d = opendir(folder.c_str());
    if (!d) return false;
    while (const dirent* e = readdir(d)) names.emplace_back(e->d_name);
    closedir(d);
    return true;
}

bool ExamineEntry(const std::string& path, EntryFacts& facts) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    facts.directory = S_ISDIR(st.st_mode);
    facts.size = static_cast<std::int64_t>(st.st_size);
    // POSIX keeps no creation time: the last change of the entry stands in.
    facts.created = std::min(st.st_ctime, st.st_mtime);
    facts.accessed = st.st_atime;
    facts.modified = st.st_mtime;
    return true;
}

bool EntryReadOnly(const std::string& path, const EntryFacts&) { return access(path.c_str(), W_OK) != 0; }

bool MakeFolder(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }

}  // namespace svc
