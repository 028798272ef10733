// The numbered service objects of the editor: media loaded at start-up and
// the work pictures drawn on the fly. Every subsystem above the services
// names them through these constants.
#pragma once

#include "picture_numbers.h"

// ---------------------------------------------------------------- sounds
inline constexpr int kClickSound = 1;          // "Media\Button.wav", played by PlayClick

// ---------------------------------------------------------------- sprites
inline constexpr SpriteNumber kPointerSourceSprite{1}; // "Media\Mouse.png"
inline constexpr SpriteNumber kPointerSprite{2};     // the pointer actually drawn, a copy of sprite 1
inline constexpr SpriteNumber kBackgroundSprite{3};  // "Media\BG.png", full screen
inline constexpr SpriteNumber kPreviewSprite{4};     // prototype preview, 245 x 185
inline constexpr SpriteNumber kCrosshairSprite{5};   // cross-hair marker of the part setup
inline constexpr SpriteNumber kShipCanvasSprite{6};  // test ship canvas, 370 x 290

// ---------------------------------------------------------------- images
inline constexpr ImageNumber kPartImage{0};          // the part image being set up
inline constexpr ImageNumber kCrosshairImage{1};     // "Media\Crosshair solid.png"
inline constexpr ImageNumber kPreviewImage{2};       // picture preview of the load panel
inline constexpr ImageNumber kArrowUpImage{3};       // "Media\BtnUp.png"
inline constexpr ImageNumber kArrowDownImage{4};     // "Media\BtnDown.png"
inline constexpr ImageNumber kArrowLeftImage{5};     // "Media\BtnLeft.png"
inline constexpr ImageNumber kArrowRightImage{6};    // "Media\BtnRight.png"

// ---------------------------------------------------------------- files and scans
inline constexpr int kDesignFile = 1;          // file number for every design file
inline constexpr int kDesignScan = 0;          // directory scan number of the design folders

// ---------------------------------------------------------------- canvas sizes
inline constexpr int kPreviewWidth = 245;
inline constexpr int kPreviewHeight = 185;
inline constexpr int kShipCanvasWidth = 370;
inline constexpr int kShipCanvasHeight = 290;
