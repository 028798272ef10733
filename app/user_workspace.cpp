// The user's own workspace, made by the program where no launcher does.
#include "user_workspace.h"

#include "design_model.h"
#include "paths.h"
#include "services.h"

namespace {

// Copies every file of a folder into another as new files: a name already
// taken keeps what is there.
void CopyNewFiles(const std::string& from, const std::string& to) {
    const int scan = Dir_Examine(kServiceAuto, from, "*.*");
    if (scan == 0) return;
    while (Dir_Next(scan)) {
        if (Dir_EntryType(scan) != kEntryFile) continue;
        const std::string name = Dir_EntryName(scan);
        File_CopyNew(from + name, to + name);
    }
    Dir_Finish(scan);
}

}  // namespace

bool PrepareUserWorkspace(const std::string& workspace, const std::string& programFolder) {
    const std::string separator = OwnPath("\\");
    const std::string work = workspace + separator;
    if (File_Size(workspace) == kFileMissing) {
        // A new workspace starts with the sample design; an existing one is the user's.
        Dir_Create(workspace);
        const std::string designs = work + kDesignsFolder;
        const std::string sample = designs + separator + "1";
        Dir_Create(designs);
        if (Dir_Create(sample)) CopyNewFiles(programFolder + OwnPath("Sample\\"), sample + separator);
    }
    if (File_Size(workspace) != kFileIsDirectory) return false;
    // Media the workspace lacks are added; the ones it has are the user's.
    Dir_Create(work + "Media");
    CopyNewFiles(programFolder + OwnPath("Media\\"), work + OwnPath("Media\\"));
    return true;
}
