// Fuzzes the picture loader behind Image_Load and Sprite_Load: any bytes load
// or fail without harm, both agree on the result, every pixel of what loaded
// can be read and blended, and an image saves and loads back the same.
#include "fuzz_support.h"

namespace {

constexpr int kImage = 1;      // the input as an image
constexpr int kSprite = 1;     // the input as a sprite
constexpr int kAgain = 2;      // the image saved and loaded back
constexpr int kCanvas = 3;     // sprite the image is blended onto

// Sum of every pixel's colour of an open drawing target, so none is skipped.
long SumPixels(int width, int height) {
    long sum = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) sum += Draw_Point(x, y);
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzSetUpServices();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile("Part.png", data, size);
    const int image = Image_Load(kImage, path, 0);
    const int sprite = Sprite_Load(kSprite, path, 0);
    FUZZ_CHECK((image != 0) == (sprite != 0));
    if (!image) {
        FUZZ_CHECK(Image_Width(kImage) == 0 && Sprite_Width(kSprite) == 0);
        return 0;
    }
    const int width = Image_Width(kImage), height = Image_Height(kImage);
    FUZZ_CHECK(width > 0 && height > 0);
    FUZZ_CHECK(Sprite_Width(kSprite) == width && Sprite_Height(kSprite) == height);

    FUZZ_CHECK(Draw_Begin(Draw_ImageOutput(kImage)));
    const long imageSum = SumPixels(width, height);
    Draw_End();
    FUZZ_CHECK(Draw_Begin(Draw_SpriteOutput(kSprite)));
    SumPixels(width, height);
    Draw_End();

    // Blended by its alpha onto a sprite, as the editor shows a part image:
    // whole, and shifted past each edge so clipping is reached. The canvas is
    // the picture's own size, which the loader has already found acceptable
    // (a larger one fails for a picture at the size limit).
    FUZZ_CHECK(Sprite_Create(kCanvas, width, height));
    FUZZ_CHECK(Draw_Begin(Draw_SpriteOutput(kCanvas)));
    for (const int shift : {0, 1, -1}) Draw_AlphaImage(Image_Handle(kImage), shift, shift);
    Draw_End();

    const std::string again = FuzzDirectory() + "again.png";
    FUZZ_CHECK(Image_Save(kImage, again, kPngEncoder));
    FUZZ_CHECK(Image_Load(kAgain, again, 0));
    FUZZ_CHECK(Image_Width(kAgain) == width && Image_Height(kAgain) == height);
    FUZZ_CHECK(Draw_Begin(Draw_ImageOutput(kAgain)));
    FUZZ_CHECK(SumPixels(width, height) == imageSum);
    Draw_End();

    Image_Free(kImage);
    Image_Free(kAgain);
    Sprite_Free(kSprite);
    Sprite_Free(kCanvas);
    return 0;
}
