// Ship pictures and screenshots. The small copies are scaled from the pixels
// just written, and only when that file really was written: a failed save
// must not make a small picture of something else, such as an earlier file
// under the same name.
#include "ship_pictures.h"

#include "design_model.h"
#include "editor_objects.h"
#include "editor_tables.h"
#include "paths.h"
#include "services.h"
#include "ship_assembly.h"

namespace {

constexpr const char* kPngExtension = ".png";
// The first counter a taken name gets: "name (2).png".
constexpr int kFirstCounter = 2;

// A picture's two names, "<full>.png" and "<small>.png": as they are when both
// are free, else with the first counter " (n)" that frees both, so a later
// picture neither replaces an earlier one nor splits its pair.
struct PictureNames {
    std::string full;   // full-size picture
    std::string small;  // its small copy
};
PictureNames FreePictureNames(const std::string& full, const std::string& small) {
    const auto taken = [](const std::string& path) { return File_Size(path) != kFileMissing; };
    PictureNames names{full + kPngExtension, small + kPngExtension};
    for (int n = kFirstCounter; taken(names.full) || taken(names.small); ++n) {
        const std::string counter = " (" + Str(n) + ")" + kPngExtension;
        names = {full + counter, small + counter};
    }
    return names;
}

}  // namespace

int SavePictureWithSmallCopy(SpriteNumber sprite, const std::string& path, int width, int height, const std::string& smallPath) {
    if (!Sprite_Save(sprite, path, kPngEncoder)) return 0;
    const int copy = Image_CreateFromSprite(kServiceAuto, sprite, width, height);
    if (!copy) return 0;
    const int saved = Image_Save(copy, smallPath, kPngEncoder);
    Image_Free(copy);
    return saved != 0;
}

int ShipPictureHeight(int width) { return width * kShipCanvasHeight / kShipCanvasWidth; }

int SaveShipPicture(int sizeClass, const std::string& sizeName) {
    if (sizeClass < 0 || sizeClass >= static_cast<int>(ExportWidths.size())) return 0;
    DrawShip(design.ViewX, design.ViewY, 1);
    // One date for both names, so they never straddle a minute.
    const std::string date = Date_Format(kShipPictureDateMask, Date_Now());
    // Deleted while the editor ran: made again, as the screenshots' folder is.
    Dir_Create(design.BaseDir + kShipPicturesFolder);
    const std::string folder = design.BaseDir + kShipPicturesFolder + OwnPath("\\") + Str(design.DesignFolder);
    const int width = ExportWidths[static_cast<std::size_t>(sizeClass)];
    const PictureNames names = FreePictureNames(folder + date, folder + " - " + sizeName + date);
    SavePictureWithSmallCopy(kShipCanvasSprite, names.full, width, ShipPictureHeight(width), names.small);
    DrawShip(design.ViewX, design.ViewY, 0);
    return 1;
}

void SaveScreenshot(const std::string& baseName) {
    const std::string stamp = Str(ElapsedMilliseconds());
    const std::string folder = design.BaseDir + kScreenshotsFolder;
    Dir_Create(folder);  // usually there already
    const std::string name = folder + OwnPath("\\") + baseName + stamp;
    const SpriteNumber grab{Sprite_Grab(kServiceAuto, 0, 0, kScreenshotWidth, kScreenshotHeight)};
    if (!grab.value) return;
    const PictureNames names = FreePictureNames(name, name + "_TN");
    SavePictureWithSmallCopy(grab, names.full, kThumbnailWidth, kThumbnailHeight, names.small);
    Sprite_Free(grab);
}
