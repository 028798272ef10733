// State and helpers shared by the services' own files. Nothing here leaves
// the services library: callers only ever see integers.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <list>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>

#include "services.h"

namespace svc {

// ---------------------------------------------------------------- common

// Largest picture accepted from a file or a creation.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = 64 * 1024 * 1024;

// What an integer handle (Draw_*Output, Image_Handle, Font_Handle, Window_Handle) names.
enum class Kind { None, Screen, Sprite, Image, Font, Window };

struct HandleTarget {
    Kind kind = Kind::None;  // kind of object the handle names
    int key = 0;             // its key in that kind's table
};

struct CoreState {
    int nextId = kServiceReferenceBase;                   // next handle/reference; never goes back
    std::unordered_map<int, HandleTarget> handles;       // live handles -> objects
    std::uint32_t sdlSubsystems = 0;                      // SDL subsystems this layer initialised
    std::string failInit;                                 // initialisation forced to fail by a test
};
extern CoreState core;

// A fresh handle, never handed out before in this run.
int NewId();
// Key for a creation under `number`: the number itself, the fresh id for -1, or -1 when refused.
int CreationKey(int number, int id);
// Whether `number` may name an existing object (caller number or reference).
bool ValidKey(int number);
void RegisterHandle(int id, Kind kind, int key);
void DropHandle(int id);
HandleTarget LookupHandle(int id);
// Initialises SDL subsystems once; false when SDL refuses.
bool EnsureSdl(std::uint32_t flags);
// "\" -> "/" for the operating system.
std::string OsPath(const std::string& path);
bool FailForced(const char* which);

// Colours are red + green * 256 + blue * 65536; pixels are ARGB8888.
inline std::uint32_t PixelOf(int colour) {
    const std::uint32_t c = static_cast<std::uint32_t>(colour);
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline int ColourOf(std::uint32_t pixel) {
    return static_cast<int>(((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16));
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// A blank ARGB8888 surface (all zero) or null when the size is refused.
SurfacePtr NewSurface(int width, int height);
bool SizeAcceptable(std::int64_t width, std::int64_t height);
inline std::uint32_t* Row(SDL_Surface* s, int y) {
    return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) + static_cast<std::ptrdiff_t>(y) * s->pitch);
}

// ---------------------------------------------------------------- files on disk

// A regular file opened for reading; null for anything else (FIFO, device, directory).
std::FILE* OpenRegularFile(const std::string& osPath);
// Whole regular file into memory; false when it cannot be read or is longer than maxBytes.
bool ReadWholeFile(const std::string& osPath, std::vector<std::uint8_t>& out,
                   std::size_t maxBytes = std::size_t{1} << 30);
// Writes beside the target and renames over it only when everything was written.
bool WriteFileSafely(const std::string& osPath, const std::uint8_t* data, std::size_t size);

// ---------------------------------------------------------------- pictures

// Decodes PNG bytes into an ARGB8888 surface with alpha; null on any failure.
SurfacePtr DecodePng(const std::uint8_t* data, std::size_t size);
// Encodes an ARGB8888 surface as PNG (RGBA with alpha, else RGB).
bool EncodePng(SDL_Surface* surface, bool withAlpha, std::vector<std::uint8_t>& out);
// PNG or BMP file into an ARGB8888 surface with alpha; null on failure.
SurfacePtr LoadPicture(const std::string& path);
// PNG (encoder kPngEncoder) or 24-bit BMP, replacing the file safely.
bool SavePicture(SDL_Surface* surface, const std::string& path, int encoder, bool withAlpha);
// Area-averaging scale of an ARGB8888 surface.
SurfacePtr ScaleSurface(SDL_Surface* source, int width, int height);

// ---------------------------------------------------------------- window and screen

struct Window {
    SDL_Window* window = nullptr;  // the SDL window
    int id = 0;                    // Window_Handle value
};

struct WindowState {
    std::unordered_map<int, Window> windows;  // open windows by number
    bool spriteReady = false;                 // Sprite_Init succeeded
};
extern WindowState windows;

struct ScreenState {
    SurfacePtr back;           // back buffer: target of display and screen drawing
    SDL_Window* window = nullptr;  // window the screen lives in
    int windowKey = -1;        // number of that window
    int id = 0;                // Draw_ScreenOutput value
};
extern ScreenState screen;

void CloseScreen();

// ---------------------------------------------------------------- sprites and images

struct Sprite {
    SurfacePtr surface;        // opaque pixels (alpha always 255)
    SurfacePtr keyed;          // RLE colour-keyed copy for transparent display, made on demand
    int transparent = 0;       // colour key as a colour
    int id = 0;                // Draw_SpriteOutput value
};

struct SpriteState {
    std::unordered_map<int, Sprite> sprites;  // by number or reference
};
extern SpriteState sprites;
Sprite* FindSprite(int number);

struct Image {
    SurfacePtr surface;        // pixels with per-pixel alpha
    int id = 0;                // Image_Handle and Draw_ImageOutput value
    int version = 0;           // bumped whenever the pixels may change
};

// A stretched copy kept for the next Draw_Image of the same picture and size.
struct ScaledImage {
    int id = 0;                // Image_Handle of the picture
    int version = 0;           // its version when scaled
    SurfacePtr surface;        // the scaled pixels
};

struct ImageState {
    std::unordered_map<int, Image> images;  // by number or reference
    std::vector<ScaledImage> scaled;        // recent stretched copies, newest first
};
extern ImageState images;
Image* FindImage(int number);
Image* FindImageByHandle(int handle);

// ---------------------------------------------------------------- drawing

struct DrawState {
    SDL_Surface* target = nullptr;  // open target, null outside Draw_Begin/Draw_End
    int targetId = 0;               // handle of the open target
    bool targetHasAlpha = false;    // images keep alpha; screen and sprites stay opaque
    int frontColour = 0xFFFFFF;     // colour of operations given none
    int backColour = 0;             // background box of opaque text
    int mode = 0;                   // kDraw* bits
    int fontHandle = -1;            // selected font; -1 the system font
};
extern DrawState draw;

// Closes the drawing when its target goes away.
void ForgetDrawTarget(SDL_Surface* surface);

// ---------------------------------------------------------------- fonts

struct Font {
    TTF_Font* font = nullptr;  // the open face at its pixel size
    int id = 0;                // Font_Handle value
};

// A rendered text kept for the next frames.
struct CachedLabel {
    SurfacePtr surface;                        // the text's pixels
    std::size_t bytes = 0;                     // what they take
    std::list<std::string>::iterator recent;   // its place in the order of use
};

struct FontState {
    std::unordered_map<int, Font> fonts;                   // by number or reference
    TTF_Font* systemFont = nullptr;                        // Draw_Font(-1), opened on first use
    bool ttfReady = false;                                 // TTF_Init done
    std::unordered_map<std::string, CachedLabel> labels;  // rendered texts by font, colour and text
    std::list<std::string> labelOrder;                     // their keys, most recently drawn first
    std::size_t labelBytes = 0;                            // bytes of all cached labels
};
extern FontState fonts;

// Text as shown: UTF-8 as it is, anything else read as Windows-1252 (names
// written by 8-bit programs). The stored bytes are never changed.
std::string DisplayText(const std::string& text);
// Font for a handle (-1 or unknown: the system font); null when none can be opened.
TTF_Font* FontForHandle(int handle);
void ClearLabelCache();
void EndFonts();

// ---------------------------------------------------------------- input

inline constexpr int kKeyCount = 256;

struct InputState {
    bool mouseReady = false;       // Mouse_Init done
    bool keyReady = false;         // Key_Init done
    int rawX = 0, rawY = 0;        // latest pointer position from events
    std::uint32_t buttonsDown = 0;     // buttons held now (bit b-1)
    std::uint32_t buttonsPressed = 0;  // went down since the last Mouse_Examine
    int wheelPending = 0;          // notches since the last Mouse_Examine
    int mouseX = 0, mouseY = 0;    // snapshot
    std::uint32_t mouseButtons = 0;  // snapshot
    int mouseWheel = 0;            // snapshot
    bool keysDown[kKeyCount] = {};     // held now
    bool keysPressed[kKeyCount] = {};  // went down since the last Key_Examine
    bool keySnapshot[kKeyCount] = {};  // snapshot
    bool releasedMark[kKeyCount] = {}; // Key_Released: seen held
    int lastKeyDown = -1;          // scan code that typed text is attributed to
    struct Typed { int key; std::string text; };
    std::vector<Typed> typed;      // text waiting for its key to be seen up
    bool closeRequested = false;   // a close request arrived since the last poll
    int injectedX = 0, injectedY = 0;  // where the last injected move went (button events carry it)
};
extern InputState input;

// Moves every pending SDL event into the input state.
void PumpEvents();
int DikToSdl(int dik);
int SdlToDik(int scancode);

// ---------------------------------------------------------------- sound

struct Sound {
    Mix_Chunk* chunk = nullptr;  // decoded samples
    int channel = -1;            // channel it last played on
};

struct SoundState {
    bool ready = false;                      // mixer open
    std::unordered_map<int, Sound> sounds;   // by number or reference
};
extern SoundState sound;
void EndSound();

// ---------------------------------------------------------------- files and directories

struct File {
    std::FILE* file = nullptr;  // open stream
    bool writing = false;       // created for writing (committed on close)
    bool failed = false;        // a write failed: the target stays as it was
    std::string tempPath;       // where a created file is written
    std::string targetPath;     // what it replaces on close
};

struct FileState {
    std::unordered_map<int, File> files;  // by number or reference
};
extern FileState files;
void CloseAllFiles();

struct DirScan {
    std::string directory;           // OS path ending in "/"
    std::vector<std::string> names;  // matching entries, in order
    std::size_t next = 0;            // index of the next entry
    bool hasEntry = false;           // an entry is current
    std::string name;                // current entry
    bool statOk = false;             // info of the current entry is valid
    struct stat info {};             // its facts
};

struct DirState {
    std::unordered_map<int, DirScan> scans;  // by number or reference
};
extern DirState dirs;

// ---------------------------------------------------------------- clock

struct ClockState {
    bool manual = false;              // tests drive the clock
    std::int64_t manualMs = 0;        // manual ElapsedMilliseconds
    std::int64_t dateBase = 0;        // manual Date_Now at dateBaseMs
    std::int64_t dateBaseMs = 0;      // manualMs when the date was set
    bool dateSet = false;             // Testing_SetDateNow was called
    std::int64_t totalDelayed = 0;    // Delay total while manual
};
extern ClockState timing;

// Seconds since 1970 counted on the local wall clock.
std::int64_t LocalSeconds(std::time_t t);

}  // namespace svc
