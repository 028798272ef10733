// Ship pictures and screenshots. The small copies are scaled from the pixels
// just written, and only when that file really was written: a failed save
// must not make a small picture of something else, such as an earlier file
// under the same name.
#include "ship_pictures.h"

#include "design_model.h"
#include "editor_gadgets.h"
#include "editor_objects.h"
#include "editor_tables.h"
#include "gadget.h"
#include "interaction.h"
#include "services.h"
#include "test_ship.h"

int SavePictureWithSmallCopy(int sprite, const std::string& path, int width, int height, const std::string& smallPath) {
    if (!Sprite_Save(sprite, path, kPngEncoder)) return 0;
    const int copy = Image_CreateFromSprite(kServiceAuto, sprite, width, height);
    if (!copy) return 0;
    const int saved = Image_Save(copy, smallPath, kPngEncoder);
    Image_Free(copy);
    return saved != 0;
}

int ShipPictureHeight(int width) { return width * kShipCanvasHeight / kShipCanvasWidth; }

void ExportShipPicture(int sizeClass) {
    if (sizeClass >= 0 && sizeClass < static_cast<int>(ExportWidths.size())) {
        DrawShip(design.ViewX, design.ViewY, 1);
        // One date for both names, so they never straddle a minute.
        const std::string date = Date_Format(kShipPictureDateMask, Date_Now());
        const std::string folder = design.BaseDir + "ShipPics\\" + Str(design.DesignFolder);
        const std::string sizeName = Gadget_GetItemText(kGadgetSaveAs, sizeClass);
        const int width = ExportWidths[static_cast<std::size_t>(sizeClass)];
        SavePictureWithSmallCopy(kShipCanvasSprite, folder + date + ".png", width, ShipPictureHeight(width),
                          folder + " - " + sizeName + date + ".png");
        DrawShip(design.ViewX, design.ViewY, 0);
        PlayClick();
    }
    // The same size can be chosen again at once.
    Gadget_SetState(kGadgetSaveAs, -1);
}

void SaveScreenshot(const std::string& baseName) {
    const std::string stamp = Str(ElapsedMilliseconds());
    const std::string folder = design.BaseDir + "ScreenShots";
    Dir_Create(folder);  // usually there already
    const std::string name = folder + "\\" + baseName + stamp;
    const int grab = Sprite_Grab(kServiceAuto, 0, 0, kScreenshotWidth, kScreenshotHeight);
    if (!grab) return;
    SavePictureWithSmallCopy(grab, name + ".png", kThumbnailWidth, kThumbnailHeight, name + "_TN.png");
    Sprite_Free(grab);
}
