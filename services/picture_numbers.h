// Sprite and image numbers as the layers above the services hold and pass
// them, so that one cannot stand where the other, a row or a gadget is meant.
// The services' operations keep their plain numbers; the overloads here hand
// `value` on.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "services.h"

// ---------------------------------------------------------------- the numbers
struct SpriteNumber {
    int value = 0;  // the number (or reference) the Sprite_* operations take
    auto operator<=>(const SpriteNumber&) const = default;
};
struct ImageNumber {
    int value = 0;  // the number (or reference) the Image_* operations take; 0 is "none" to a part
    explicit operator bool() const { return value != 0; }
    auto operator<=>(const ImageNumber&) const = default;
};
template <> struct std::hash<ImageNumber> {
    std::size_t operator()(ImageNumber i) const noexcept { return std::hash<int>{}(i.value); }
};

// ---------------------------------------------------------------- sprites
inline int Sprite_Load(SpriteNumber s, const std::string& path, int mode) { return Sprite_Load(s.value, path, mode); }
inline int Sprite_Create(SpriteNumber s, int width, int height) { return Sprite_Create(s.value, width, height); }
inline void Sprite_Display(SpriteNumber s, int x, int y) { Sprite_Display(s.value, x, y); }
inline void Sprite_DisplayTransparent(SpriteNumber s, int x, int y) { Sprite_DisplayTransparent(s.value, x, y); }
inline void Sprite_DisplayTransparentClipped(SpriteNumber s, int x, int y, int clipX, int clipY, int clipWidth,
                                             int clipHeight) {
    Sprite_DisplayTransparentClipped(s.value, x, y, clipX, clipY, clipWidth, clipHeight);
}
inline int Sprite_Copy(SpriteNumber source, SpriteNumber target) { return Sprite_Copy(source.value, target.value); }
inline int Sprite_Save(SpriteNumber s, const std::string& path, int encoder) { return Sprite_Save(s.value, path, encoder); }
inline void Sprite_Free(SpriteNumber s) { Sprite_Free(s.value); }
inline int Sprite_Width(SpriteNumber s) { return Sprite_Width(s.value); }
inline int Sprite_Height(SpriteNumber s) { return Sprite_Height(s.value); }
inline void Sprite_SetTransparentColour(SpriteNumber s, int colour) { Sprite_SetTransparentColour(s.value, colour); }
inline int Draw_SpriteOutput(SpriteNumber s) { return Draw_SpriteOutput(s.value); }

// ---------------------------------------------------------------- images
inline int Image_Load(ImageNumber i, const std::string& path, int flags) { return Image_Load(i.value, path, flags); }
inline int Image_Create(ImageNumber i, int width, int height) { return Image_Create(i.value, width, height); }
inline int Image_CreateFromSprite(int number, SpriteNumber s, int width, int height) {
    return Image_CreateFromSprite(number, s.value, width, height);
}
inline int Image_CreateFromSprite(ImageNumber i, SpriteNumber s, int width, int height) {
    return Image_CreateFromSprite(i.value, s.value, width, height);
}
inline int Image_Resize(ImageNumber i, int width, int height, int mode) { return Image_Resize(i.value, width, height, mode); }
inline int Image_Save(ImageNumber i, const std::string& path, int encoder) { return Image_Save(i.value, path, encoder); }
inline int Image_Reload(ImageNumber i, const std::string& path) { return Image_Reload(i.value, path); }
inline int Image_Width(ImageNumber i) { return Image_Width(i.value); }
inline int Image_Height(ImageNumber i) { return Image_Height(i.value); }
inline int Image_Handle(ImageNumber i) { return Image_Handle(i.value); }
inline void Image_Free(ImageNumber i) { Image_Free(i.value); }
inline int Draw_ImageOutput(ImageNumber i) { return Draw_ImageOutput(i.value); }
