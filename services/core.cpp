// Handles, SDL start-up and the end of every service.
#include <cstring>
#include <unordered_map>

#include "paths.h"
#include "services_internal.h"
#include "testing.h"

namespace svc {
namespace {

struct CoreState {
    int nextId = kServiceReferenceBase;              // next handle/reference; never goes back
    std::unordered_map<int, HandleTarget> handles;  // live handles -> objects
    std::uint32_t sdlSubsystems = 0;                 // SDL subsystems this layer initialised
    std::string failInit;                            // initialisation forced to fail by a test
};
CoreState core;

}  // namespace

int NewId() { return core.nextId++; }

void RegisterHandle(int id, Kind kind, int key) { core.handles[id] = HandleTarget{kind, key}; }

void DropHandle(int id) {
    ForgetDrawTarget(id);
    core.handles.erase(id);
}

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

void ReleaseSdl(std::uint32_t flags) {
    const std::uint32_t ours = core.sdlSubsystems & flags;
    if (!ours) return;
    SDL_QuitSubSystem(ours);
    core.sdlSubsystems &= ~ours;
}

bool FailForced(const char* which) { return !core.failInit.empty() && core.failInit == which; }

bool SizeAcceptable(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

namespace {

// Bytes between the starts of two rows. Rows a multiple of 1 KiB apart fall
// into the same few cache sets, so a column drawn down such a picture (a
// border, a grid line) evicts itself at every row and costs a trip to
// memory per pixel; one more cache line a row spreads them over all sets.
int PitchOf(int width) {
    const int bytes = width * 4;
    return bytes % 1024 == 0 ? bytes + 64 : bytes;
}

}  // namespace

SurfacePtr NewSurface(int width, int height) {
    if (!SizeAcceptable(width, height)) return nullptr;
    const int pitch = PitchOf(width);
    SurfacePtr s;
    if (pitch == width * 4) {
        s.reset(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888));
    } else {
        const std::size_t bytes = static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height);
        void* pixels = SDL_SIMDAlloc(bytes);
        if (!pixels) return nullptr;
        std::memset(pixels, 0, bytes);
        s.reset(SDL_CreateRGBSurfaceWithFormatFrom(pixels, width, height, 32, pitch, SDL_PIXELFORMAT_ARGB8888));
        if (!s) {
            SDL_SIMDFree(pixels);
            return nullptr;
        }
        // The surface owns its pixels as one SDL allocated itself does, so freeing it frees them.
        s->flags = (s->flags & ~SDL_PREALLOC) | SDL_SIMD_ALIGNED;
    }
    if (s) SDL_SetSurfaceBlendMode(s.get(), SDL_BLENDMODE_NONE);
    return s;
}

void EndCore() {
    if (core.sdlSubsystems) SDL_QuitSubSystem(core.sdlSubsystems);
    core.sdlSubsystems = 0;
    core.handles.clear();
}

void ResetCore() {
    const int nextId = core.nextId;
    core = CoreState{};
    core.nextId = nextId;  // handles stay unique across resets
}

}  // namespace svc

using namespace svc;

std::string OwnPath(std::string_view path) {
    std::string p(path);
    if (IsPathSeparator('\\')) return p;  // the system's own separator
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

void Services_End() {
    EndFiles();
    EndDirs();
    EndDraw();
    EndSound();
    EndFonts();
    EndSprites();
    EndImages();
    EndScreen();
    EndWindows();
    EndInput();
    EndWatch();
    EndCore();
}

void Testing_FailInit(const std::string& which) { core.failInit = which; }
