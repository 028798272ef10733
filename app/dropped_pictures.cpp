// Files dropped on the window: a PNG joins the open design's image list as
// "Add" would list it, copied into the design folder first when it lies
// elsewhere; anything else is refused with one line in the title line.
#include <string>

#include "app.h"
#include "disk_pictures.h"
#include "editor_gadgets.h"
#include "gadget.h"
#include "history.h"
#include "paths.h"
#include "services.h"
#include "title_line.h"

namespace {

// Names tried for a copy before giving up: "wing.png", "wing 2.png" ... "wing 999.png".
constexpr int kMaxNameCounter = 999;

// The last part of a path the system gave.
std::string FileNameOf(const std::string& path) {
    for (std::size_t at = path.size(); at > 0; --at)
        if (IsPathSeparator(path[at - 1])) return path.substr(at);
    return path;
}

bool EndsWithPictureExtension(const std::string& name) {
    const std::size_t n = std::string(kImageExtension).size();
    return name.size() > n && LCase(name.substr(name.size() - n)) == kImageExtension;
}

bool Listed(const std::string& name) {
    for (int r = 0; r < Gadget_CountItems(kGadgetDesignImages); ++r)
        if (Gadget_GetItemText(kGadgetDesignImages, r) == name) return true;
    return false;
}

// Whether the file decodes as a picture; nothing is kept of it.
bool Decodes(const std::string& path) {
    const int probe = Image_Load(kServiceAuto, path, 0);
    if (probe) Image_Free(probe);
    return probe != 0;
}

// Copies the file into the design folder under its own name, or the first
// free "name N.png"; the name it got, empty when no copy was made.
std::string CopyIn(const std::string& path, const std::string& name) {
    const std::string stem = name.substr(0, name.size() - std::string(kImageExtension).size());
    const std::string extension = name.substr(stem.size());
    for (int counter = 1; counter <= kMaxNameCounter; ++counter) {
        const std::string candidate = counter == 1 ? name : stem + " " + Str(counter) + extension;
        const int copied = File_CopyNew(path, DesignFolderPath() + candidate);
        if (copied == kCopyDone) return candidate;
        if (copied != kCopyNameTaken) return "";
    }
    return "";
}

void TakeDropped(const std::string& path) {
    if (design.DesignFolder < 0) {
        ShowTitleMessage("No design is open: open or make one, then drop its pictures");
        return;
    }
    const std::string name = FileNameOf(path);
    // A "\" would be read as a separator inside the design folder.
    if (!EndsWithPictureExtension(name) || name.find('\\') != std::string::npos ||
        File_Size(path) < 0 || !Decodes(path)) {
        ShowTitleMessage("Not added: " + name + " is not a readable PNG picture");
        return;
    }
    std::string listed = name;
    if (!File_Same(path, DesignFolderPath() + name)) {
        listed = CopyIn(path, name);
        if (listed.empty()) {
            ShowTitleMessage("Not added: " + name + " could not be copied into design " + Str(design.DesignFolder));
            return;
        }
    }
    if (!Listed(listed)) EditAddImages({listed});
    ShowTitleMessage(listed == name ? "Added " + name : "Added " + name + " as " + listed);
}

}  // namespace

void TakeDroppedPictures() {
    for (std::string path = Window_DroppedFile(); !path.empty(); path = Window_DroppedFile()) TakeDropped(path);
}
