// Handles, SDL start-up and the end of every service.
#include "services_internal.h"

namespace svc {

CoreState core;

int NewId() { return core.nextId++; }

bool ValidKey(int number) {
    return (number >= 0 && number <= kServiceMaxNumber) || number >= kServiceReferenceBase;
}

int CreationKey(int number, int id) {
    if (number == kServiceAuto) return id;
    if (number < 0 || number > kServiceMaxNumber) return -1;
    return number;
}

void RegisterHandle(int id, Kind kind, int key) { core.handles[id] = HandleTarget{kind, key}; }

void DropHandle(int id) { core.handles.erase(id); }

HandleTarget LookupHandle(int id) {
    auto it = core.handles.find(id);
    return it == core.handles.end() ? HandleTarget{} : it->second;
}

bool EnsureSdl(std::uint32_t flags) {
    const std::uint32_t missing = flags & ~SDL_WasInit(flags);
    if (missing == 0) return true;
    if (SDL_InitSubSystem(missing) != 0) return false;
    core.sdlSubsystems |= missing;
    return true;
}

std::string OsPath(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

bool FailForced(const char* which) { return !core.failInit.empty() && core.failInit == which; }

bool SizeAcceptable(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

SurfacePtr NewSurface(int width, int height) {
    if (!SizeAcceptable(width, height)) return nullptr;
    SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (s) SDL_SetSurfaceBlendMode(s.get(), SDL_BLENDMODE_NONE);
    return s;
}

}  // namespace svc

using namespace svc;

void Services_End() {
    CloseAllFiles();
    dirs = DirState{};
    draw = DrawState{};
    EndSound();
    EndFonts();
    sprites = SpriteState{};
    images = ImageState{};
    CloseScreen();
    for (auto& [number, w] : windows.windows)
        if (w.window) SDL_DestroyWindow(w.window);
    windows = WindowState{};
    input = InputState{};
    if (core.sdlSubsystems) SDL_QuitSubSystem(core.sdlSubsystems);
    core.sdlSubsystems = 0;
    core.handles.clear();
}
