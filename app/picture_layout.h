// Where the editor's own pictures lie on the screen. The picture step draws
// them there and the commands size pictures to fit, so both read these.
#pragma once

// ---------------------------------------------------------------- setup panel
inline constexpr int kSetupAreaX = 510;         // top-left of the area the part image is centred in
inline constexpr int kSetupAreaY = 80;
inline constexpr int kSetupAreaWidth = 280;
inline constexpr int kSetupAreaHeight = 200;
inline constexpr int kSetupPictureSide = 250;   // the drawn part image's longer side

// ---------------------------------------------------------------- prototype preview
inline constexpr int kPreviewX = 127;           // where the frame loop shows the preview sprite
inline constexpr int kPreviewY = 377;

// ---------------------------------------------------------------- load panel
inline constexpr int kLoadPreviewX = 815;       // top-left of the picture preview's square
inline constexpr int kLoadPreviewY = 45;
inline constexpr int kLoadPreviewSide = 170;    // the previewed picture's longer side
inline constexpr int kSampleX = 850;            // top-left of a design folder's sample
inline constexpr int kSampleY = 150;
