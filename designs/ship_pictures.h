// Pictures the editor writes: the test ship in full canvas size with a small
// copy in one of five size classes ("ShipPics"), and screenshots of the whole
// screen with a thumbnail ("ScreenShots"). PNG files, written safely: a
// failed save leaves whatever was there before.
#pragma once

#include <string>

#include "picture_numbers.h"

// Size of the small screenshot copy.
inline constexpr int kThumbnailWidth = 102;
inline constexpr int kThumbnailHeight = 77;
// The area grabbed for a screenshot.
inline constexpr int kScreenshotWidth = 1024;
inline constexpr int kScreenshotHeight = 768;
// Date part of the ship picture names: " - 2006.05.14-21.07".
inline constexpr const char* kShipPictureDateMask = " - %yyyy.%mm.%dd-%hh.%ii";
// Folders under BaseDir the pictures go to.
inline constexpr const char* kShipPicturesFolder = "ShipPics";
inline constexpr const char* kScreenshotsFolder = "ScreenShots";
// Base name the editor gives its screenshots.
inline constexpr const char* kScreenshotBaseName = "KeelwrightScreen";

// Saves a sprite as PNG and, only when that worked, a smoothly scaled copy
// of the same pixels under a second name; nonzero when both were written.
int SavePictureWithSmallCopy(SpriteNumber sprite, const std::string& path, int width, int height, const std::string& smallPath);
// Height of the size-class picture of a given width: the canvas's proportions, rounded down.
int ShipPictureHeight(int width);
// Saves the plain ship in full size and in size class k (0..4, named
// `sizeName` in the file names) under BaseDir + "ShipPics\", then draws the
// ship as the view shows it again; nonzero when k is a size class.
int SaveShipPicture(int sizeClass, const std::string& sizeName);
// Saves the screen's back buffer as it stands, and its thumbnail.
void SaveScreenshot(const std::string& baseName);
