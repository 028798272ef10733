// Images: pictures with per-pixel alpha in ordinary memory.
#include "services_internal.h"

namespace svc {
ImageState images;

Image* FindImage(int number) {
    auto it = images.images.find(number);
    return it == images.images.end() ? nullptr : &it->second;
}

Image* FindImageByHandle(int handle) {
    const HandleTarget h = LookupHandle(handle);
    return h.kind == Kind::Image ? FindImage(h.key) : nullptr;
}

namespace {

void FreeImage(int number) {
    auto it = images.images.find(number);
    if (it == images.images.end()) return;
    ForgetDrawTarget(it->second.surface.get());
    DropHandle(it->second.id);
    std::erase_if(images.scaled, [id = it->second.id](const ScaledImage& s) { return s.id == id; });
    images.images.erase(it);
}

int Install(int number, SurfacePtr surface) {
    if (!surface) {
        if (ValidKey(number)) FreeImage(number);
        return 0;
    }
    const int id = NewId();
    const int key = CreationKey(number, id);
    if (key < 0) return 0;
    FreeImage(key);
    images.images[key] = Image{std::move(surface), id};
    RegisterHandle(id, Kind::Image, key);
    return number == kServiceAuto ? key : 1;
}

}  // namespace
}  // namespace svc

using namespace svc;

int Image_Load(int number, const std::string& path, int flags) {
    (void)flags;
    return Install(number, LoadPicture(path));
}

int Image_Create(int number, int width, int height) {
    SurfacePtr s = NewSurface(width, height);
    if (s) SDL_FillRect(s.get(), nullptr, 0xFF000000u);
    return Install(number, std::move(s));
}

int Image_CreateFromSprite(int number, int sprite, int width, int height) {
    Sprite* sp = FindSprite(sprite);
    SurfacePtr s;
    // Scaled straight from the sprite: no full-size copy is made on the way.
    if (sp && sp->surface->w == width && sp->surface->h == height) {
        s.reset(SDL_DuplicateSurface(sp->surface.get()));
        if (s) SDL_SetSurfaceBlendMode(s.get(), SDL_BLENDMODE_NONE);
    } else if (sp && SizeAcceptable(width, height)) {
        s = ScaleSurface(sp->surface.get(), width, height);
    }
    return Install(number, std::move(s));
}

int Image_Resize(int number, int width, int height, int mode) {
    (void)mode;
    Image* img = FindImage(number);
    if (!img) return 0;
    if (img->surface->w == width && img->surface->h == height) return 1;
    SurfacePtr scaled = ScaleSurface(img->surface.get(), width, height);
    if (!scaled) return 0;  // refused size: the picture stays as it was
    ForgetDrawTarget(img->surface.get());
    img->surface = std::move(scaled);
    ++img->version;
    return 1;
}

int Image_Save(int number, const std::string& path, int encoder) {
    Image* img = FindImage(number);
    if (!img) return 0;
    return SavePicture(img->surface.get(), path, encoder, true) ? 1 : 0;
}

int Image_Width(int number) {
    Image* img = FindImage(number);
    return img ? img->surface->w : 0;
}

int Image_Height(int number) {
    Image* img = FindImage(number);
    return img ? img->surface->h : 0;
}

int Image_Handle(int number) {
    Image* img = FindImage(number);
    return img ? img->id : 0;
}

void Image_Free(int number) { FreeImage(number); }

int Draw_ImageOutput(int number) {
    Image* img = FindImage(number);
    return img ? img->id : 0;
}
