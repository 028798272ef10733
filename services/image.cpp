// Images: pictures with per-pixel alpha in ordinary memory, and the shrunk
// copies Draw_Image keeps of them.
#include <algorithm>

#include "numbered_table.h"

namespace svc {
namespace {

struct Image {
    SurfacePtr surface;  // pixels with per-pixel alpha
    int version = 0;     // bumped whenever the pixels may change
};

// A shrunk copy kept for the next Draw_Image of the same picture and size.
struct ShrunkCopy {
    int handle = 0;       // Image_Handle of the picture
    int version = 0;      // its version when shrunk
    SurfacePtr surface;   // the shrunk pixels
};

// Shrunk copies kept, newest first.
constexpr std::size_t kShrunkCopies = 32;

std::vector<ShrunkCopy> shrunk;

void ForgetCopies(Image&, int handle) {
    std::erase_if(shrunk, [handle](const ShrunkCopy& c) { return c.handle == handle; });
}

NumberedTable<Image> images(Kind::Image, ForgetCopies);

// Stores a finished surface (null: the creation failed) under a claimed key.
int Store(int number, int key, SurfacePtr surface) {
    if (!surface) return 0;
    return images.Store(number, key, Image{std::move(surface), 0});
}

}  // namespace

SDL_Surface* ImagePixels(int key) {
    Image* img = images.Find(key);
    return img ? img->surface.get() : nullptr;
}

void ImageChanged(int key) {
    if (Image* img = images.Find(key)) ++img->version;
}

SDL_Surface* ImageOfHandle(int handle) {
    Image* img = images.FindByHandle(handle);
    return img ? img->surface.get() : nullptr;
}

SDL_Surface* ShrunkImage(int handle, int width, int height) {
    Image* img = images.FindByHandle(handle);
    if (!img) return nullptr;
    auto hit = std::find_if(shrunk.begin(), shrunk.end(), [&](const ShrunkCopy& c) {
        return c.handle == handle && c.version == img->version && c.surface->w == width && c.surface->h == height;
    });
    if (hit == shrunk.end()) {
        SurfacePtr scaled = ScaleSurface(img->surface.get(), width, height);
        if (!scaled) return nullptr;
        if (shrunk.size() >= kShrunkCopies) shrunk.pop_back();
        shrunk.insert(shrunk.begin(), ShrunkCopy{handle, img->version, std::move(scaled)});
        hit = shrunk.begin();
    } else if (hit != shrunk.begin()) {
        std::rotate(shrunk.begin(), hit, hit + 1);
        hit = shrunk.begin();
    }
    return hit->surface.get();
}

void EndImages() {
    images.Clear();
    shrunk.clear();
}

}  // namespace svc

using namespace svc;

int Image_Load(int number, const std::string& path, int flags) {
    (void)flags;
    const int key = images.Claim(number);
    if (key < 0) return 0;
    return Store(number, key, LoadPicture(path));
}

int Image_Create(int number, int width, int height) {
    const int key = images.Claim(number);
    if (key < 0) return 0;
    SurfacePtr s = NewSurface(width, height);
    if (s) SDL_FillRect(s.get(), nullptr, 0xFF000000u);
    return Store(number, key, std::move(s));
}

int Image_CreateFromSprite(int number, int sprite, int width, int height) {
    SDL_Surface* pixels = SpritePixels(sprite);
    if (!pixels) return 0;
    const int key = images.Claim(number);
    if (key < 0) return 0;
    SurfacePtr s;
    // Scaled straight from the sprite: no full-size copy is made on the way.
    if (pixels->w == width && pixels->h == height) {
        s.reset(SDL_DuplicateSurface(pixels));
        if (s) SDL_SetSurfaceBlendMode(s.get(), SDL_BLENDMODE_NONE);
    } else if (SizeAcceptable(width, height)) {
        s = ScaleSurface(pixels, width, height);
    }
    return Store(number, key, std::move(s));
}

int Image_Resize(int number, int width, int height, int mode) {
    (void)mode;
    Image* img = images.Find(number);
    if (!img) return 0;
    if (img->surface->w == width && img->surface->h == height) return 1;
    SurfacePtr scaled = ScaleSurface(img->surface.get(), width, height);
    if (!scaled) return 0;  // refused size: the picture stays as it was
    // Drawing on the old pixels ends; the handle stays the same picture.
    ForgetDrawTarget(images.Handle(number));
    img->surface = std::move(scaled);
    ++img->version;
    return 1;
}

int Image_Reload(int number, const std::string& path) {
    Image* img = images.Find(number);
    if (!img) return 0;
    SurfacePtr fresh = LoadPicture(path);
    if (!fresh) return 0;  // a file caught half-written keeps the last good picture
    ForgetDrawTarget(images.Handle(number));
    img->surface = std::move(fresh);
    ++img->version;
    return 1;
}

int Image_Save(int number, const std::string& path, int encoder) {
    Image* img = images.Find(number);
    if (!img) return 0;
    return SavePicture(img->surface.get(), path, encoder, true) ? 1 : 0;
}

int Image_Width(int number) {
    Image* img = images.Find(number);
    return img ? img->surface->w : 0;
}

int Image_Height(int number) {
    Image* img = images.Find(number);
    return img ? img->surface->h : 0;
}

int Image_Handle(int number) { return images.Handle(number); }

void Image_Free(int number) { images.Free(number); }

int Draw_ImageOutput(int number) { return images.Handle(number); }
