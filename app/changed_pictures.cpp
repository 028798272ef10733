// Part images another program changed on disk: read again into the same
// image numbers, so everything showing them (setup panel, test ship, palette,
// load preview) shows the new pixels while setups, points and the ship stay.
#include <string>
#include <utility>

#include "app.h"
#include "disk_pictures.h"
#include "editor_objects.h"
#include "part_palette.h"
#include "services.h"
#include "ship_assembly.h"

namespace {

// A folder that could not be watched is tried again this often, not every frame.
constexpr std::int64_t kWatchRetryMilliseconds = 1000;

struct ChangedPicturesState {
    int folder = -1;                 // design folder being watched (or tried), -1 none
    bool watching = false;           // the system reports its changes
    std::int64_t nextTry = 0;        // clock of the next attempt while it is not watched
};
ChangedPicturesState changed;

bool Matches(const std::string& changedName, const std::string& name) {
    return !name.empty() && (changedName == kWatchEverything || changedName == name);
}

// Reads the changed file into every image showing it; whether any took new pixels.
// A file caught half-written fails to decode and leaves the last good picture.
bool Reload(const std::string& name) {
    bool any = false;
    if (Matches(name, design.PartImageName) && Image_Reload(kPartImage, DesignFolderPath() + design.PartImageName)) {
        FitPartImage();  // stored points stay where they are, whatever the new size
        any = true;
    }
    const std::string previewed = PreviewedPicture();
    if (Matches(name, previewed) && Image_Reload(kPreviewImage, DesignFolderPath() + previewed)) {
        FitPreviewImage();
        any = true;
    }
    for (int p = 0; p < design.Parts.Count(); ++p) {
        const Part* part = std::as_const(design.Parts).At(p);
        if (part->Image && Matches(name, part->File) && Image_Reload(part->Image, DesignFolderPath() + part->File))
            any = true;
    }
    return any;
}

void FollowFolder() {
    if (design.DesignFolder != changed.folder) {
        changed = ChangedPicturesState{};
        changed.folder = design.DesignFolder;
        if (changed.folder < 0) Watch_End();
    }
    if (changed.folder < 0 || changed.watching || ElapsedMilliseconds() < changed.nextTry) return;
    changed.watching = Watch_Folder(DesignFolderPath()) != 0;
    changed.nextTry = ElapsedMilliseconds() + kWatchRetryMilliseconds;
}

}  // namespace

void FollowChangedPictures() {
    FollowFolder();
    if (!changed.watching) return;
    bool any = false;
    for (std::string name = Watch_NextChange(); !name.empty(); name = Watch_NextChange()) any = Reload(name) || any;
    if (!any || design.TestMode == 0) return;
    DrawShip(design.ViewX, design.ViewY, 0);
    RefreshPartPalette();
}

void ResetChangedPictures() {
    Watch_End();
    changed = ChangedPicturesState{};
}
