// What the services' own files offer one another. Each file keeps its state
// to itself; this header holds only functions and small value types. Nothing
// here leaves the services library: callers only ever see integers.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "services.h"

// libpng's writer, held by an encoder that spans calls.
struct png_struct_def;
struct png_info_def;

namespace svc {

// ---------------------------------------------------------------- common (core.cpp)

// Largest picture accepted from a file or a creation.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = 64 * 1024 * 1024;

// What an integer handle (Draw_*Output, Image_Handle, Font_Handle, Window_Handle) names.
enum class Kind { None, Screen, Sprite, Image, Font, Window };

struct HandleTarget {
    Kind kind = Kind::None;  // kind of object the handle names
    int key = 0;             // its key in that kind's table
};

// A fresh handle or reference, never handed out before in this run.
int NewId();
void RegisterHandle(int id, Kind kind, int key);
void DropHandle(int id);
HandleTarget LookupHandle(int id);
// Initialises SDL subsystems once; false when SDL refuses.
bool EnsureSdl(std::uint32_t flags);
// Gives back an SDL subsystem this layer started (a device that would not open).
void ReleaseSdl(std::uint32_t flags);
// Whether a test made this initialisation fail.
bool FailForced(const char* which);

// Colours are red + green * 256 + blue * 65536; pixels are ARGB8888.
inline std::uint32_t PixelOf(int colour) {
    const std::uint32_t c = static_cast<std::uint32_t>(colour);
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline int ColourOf(std::uint32_t pixel) {
    return static_cast<int>(((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16));
}

// Frees a surface, giving a loaded picture's bytes back to the budget (picture_file.cpp).
void FreeSurface(SDL_Surface* surface);
struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// A blank ARGB8888 surface (all zero) or null when the size is refused.
SurfacePtr NewSurface(int width, int height);
bool SizeAcceptable(std::int64_t width, std::int64_t height);
inline std::uint32_t* Row(SDL_Surface* s, int y) {
    return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) + static_cast<std::ptrdiff_t>(y) * s->pitch);
}

// ---------------------------------------------------------------- files on disk (file.cpp)

// A regular file opened for reading; null for anything else (FIFO, device, directory).
std::FILE* OpenRegularFile(const std::string& osPath);
// Whole regular file into memory; false when it cannot be read or is longer than maxBytes.
bool ReadWholeFile(const std::string& osPath, std::vector<std::uint8_t>& out,
                   std::size_t maxBytes = std::size_t{1} << 30);
// Writes beside the target and renames over it only when everything was written.
bool WriteFileSafely(const std::string& osPath, const std::uint8_t* data, std::size_t size);

// ---------------------------------------------------------------- the system's side of files (file_posix.cpp, file_windows.cpp)

// Largest file a copy takes in (a picture is well below it).
inline constexpr std::size_t kMaxCopyBytes = std::size_t{256} << 20;
// Start of a save's temporary name beside its target.
inline constexpr char kTempPrefix[] = ".kw-save-";
// A save takes milliseconds: a temporary this old was left by a save cut short.
inline constexpr int kStaleTempSeconds = 60 * 60;
// A save under way: the new bytes go to a temporary beside the target.
struct PendingSave {
    int folder = -1;         // descriptor of the folder both names are in (POSIX); -1 elsewhere
    std::string tempName;    // the temporary: a name in that folder, or a whole path
    std::string targetName;  // what it replaces on commit, named the same way
    bool replacing = false;  // a file is at the target, whose attributes the new one keeps
};
// The temporary, open for writing; null when the save is refused (File_SaveRefusal says why) or fails.
std::FILE* BeginSave(const std::string& osPath, PendingSave& save);
// After the temporary was closed: it replaces the target when `written`, else it is removed.
bool CommitSave(PendingSave& save, bool written);
// Pushes an open file's bytes to the disk; 0 on success.
int SyncToDisk(int descriptor);
// The system side's state back to the start.
void EndSaves();

// ---------------------------------------------------------------- the system's side of folders (dir_posix.cpp, dir_windows.cpp)

// What a scan tells of one entry.
struct EntryFacts {
    bool directory = false;    // a folder
    std::int64_t size = 0;     // bytes of a file
    std::time_t created = 0;   // made (where the system keeps no such time, its nearest)
    std::time_t accessed = 0;  // last read
    std::time_t modified = 0;  // last written
    int attributes = 0;        // kAttr* bits the system keeps with the entry (read-only asked apart)
};
// Every name in a folder; false when it cannot be read.
bool ListFolder(const std::string& folder, std::vector<std::string>& names);
// An entry's facts, links followed; false when there are none.
bool ExamineEntry(const std::string& path, EntryFacts& facts);
// Whether the entry may not be written to.
bool EntryReadOnly(const std::string& path, const EntryFacts& facts);
// One new folder; false when the name is taken or the folder cannot be made.
bool MakeFolder(const std::string& path);

// ---------------------------------------------------------------- the system's side of fonts (font_posix.cpp, font_windows.cpp)

// The font file that best matches a face name, weight and slant.
struct FaceFile {
    std::string path;     // the file
    int index = 0;        // the face in it
    bool bold = false;    // the face is bold of itself (else bold is drawn thicker)
    bool italic = false;  // the face is slanted of itself (else it is sheared)
};
// False when no font at all can be found.
bool FindFace(const std::string& face, bool bold, bool italic, FaceFile& found);

// ---------------------------------------------------------------- pictures (png_codec.cpp, picture_file.cpp)

// Decodes PNG bytes into an ARGB8888 surface with alpha; null on any failure.
SurfacePtr DecodePng(const std::uint8_t* data, std::size_t size);
// Encodes an ARGB8888 surface as PNG (RGBA with alpha, else RGB).
bool EncodePng(SDL_Surface* surface, bool withAlpha, std::vector<std::uint8_t>& out);
// A surface's PNG encoded a band of rows at a time, top to bottom, so a
// picture still being drawn below can be encoded above.
class PngRows {
public:
    PngRows() = default;
    PngRows(const PngRows&) = delete;
    PngRows& operator=(const PngRows&) = delete;
    ~PngRows();
    bool Begin(SDL_Surface* surface, bool withAlpha);  // the header; false when libpng fails
    bool Encode(SDL_Surface* surface, int rows);       // rows up to `rows` (those above are encoded already)
    bool End(SDL_Surface* surface, std::vector<std::uint8_t>& out);  // the rest and the end; the file's bytes

private:
    png_struct_def* png_ = nullptr;      // libpng's writer, null before Begin
    png_info_def* info_ = nullptr;       // its header
    std::vector<std::uint8_t> bytes_;    // the file so far
    std::vector<std::uint8_t> row_;      // one row in PNG's channel order
    int next_ = 0;                       // the first row not yet encoded
    bool withAlpha_ = false;             // RGBA, else RGB
    bool failed_ = false;                // libpng gave up; nothing more is encoded
};
// PNG or BMP file into an ARGB8888 surface with alpha; null on failure or
// when it would take the decoded pictures held over the budget.
SurfacePtr LoadPicture(const std::string& path);
// PNG (encoder kPngEncoder) or 24-bit BMP, replacing the file safely.
bool SavePicture(SDL_Surface* surface, const std::string& path, int encoder, bool withAlpha);
// Area-averaging scale of an ARGB8888 surface.
SurfacePtr ScaleSurface(SDL_Surface* source, int width, int height);

// ---------------------------------------------------------------- window and screen (window.cpp, screen.cpp)

// Whether Sprite_Init succeeded.
bool SpriteServiceReady();
// The SDL window behind a Window_Handle value and its number; null when none.
SDL_Window* WindowOfHandle(int handle, int& number);
// The back buffer; null while no screen is open.
SDL_Surface* BackBuffer();
// Closes the screen when it lives in this window.
void CloseScreenIn(SDL_Window* window);
// The window lost its pixels (uncovered, restored): the next flip draws it all.
void ScreenExposed();

// ---------------------------------------------------------------- sprites and images (sprite.cpp, image.cpp)

// Pixels of the sprite or image under a table key; null when empty.
SDL_Surface* SpritePixels(int key);
SDL_Surface* ImagePixels(int key);
// Drawing on it has begun or ended: copies made from its pixels are out of date.
void SpriteChanged(int key);
void ImageChanged(int key);
// The image behind an Image_Handle value; null when none.
SDL_Surface* ImageOfHandle(int handle);
// That image stretched to width x height by area averaging, kept for the next frames.
SDL_Surface* ShrunkImage(int handle, int width, int height);

// ---------------------------------------------------------------- pictures with alpha laid on by rows (alpha_spans.cpp)

// The stretch of one row of a picture between its first and last pixel that is not fully transparent.
struct AlphaSpan {
    int first = 0;  // first pixel that shows
    int end = 0;    // one past the last; equal to first when none shows
};
struct AlphaSpans {
    std::vector<AlphaSpan> rows;  // one per row of the picture
};
// The spans of an ARGB8888 picture, found once for a picture drawn many times.
AlphaSpans FindAlphaSpans(SDL_Surface* picture);
// Lays the picture onto a target at (x, y), clipped to it, as SDL's alpha
// blit would: the pixels match it to the bit.
void DrawAlphaSpans(SDL_Surface* picture, const AlphaSpans& spans, SDL_Surface* target, int x, int y);

// ---------------------------------------------------------------- drawing (draw.cpp)

// Ends the drawing when the target behind this handle goes away.
void ForgetDrawTarget(int handle);

// ---------------------------------------------------------------- fonts and text (font.cpp, text.cpp)

// A rendered text and where its rows show.
struct TextPicture {
    SDL_Surface* pixels = nullptr;      // the text in its colour, with alpha
    const AlphaSpans* spans = nullptr;  // where each row shows
};
// The text rendered in a colour with the font of a handle (-1 or unknown: the
// system font), from the label cache; no pixels when it cannot be rendered.
TextPicture TextLabel(int fontHandle, const std::string& text, int colour);
// Size of the text in that font; false when there is no font.
bool MeasureText(int fontHandle, const std::string& text, int& width, int& height);
// Whether a Font_Handle value names a loaded font.
bool IsFontHandle(int handle);
// Text as shown: UTF-8 as it is, anything else read as Windows-1252 (names
// written by 8-bit programs). The stored bytes are never changed.
std::string DisplayText(const std::string& text);

// ---------------------------------------------------------------- input (input.cpp)

// Moves every pending SDL event into the input state.
void PumpEvents();
// Whether the user asked to close the window since the last call.
bool TakeCloseRequest();

// ---------------------------------------------------------------- clock (clock.cpp)

// Seconds since 1970 counted on the local wall clock.
std::int64_t LocalSeconds(std::time_t t);

// ---------------------------------------------------------------- workers (workers.cpp, workers_posix.cpp, workers_windows.cpp)

// Results as they come back, in any order, handed to the caller in item order.
class ResultsInOrder {
public:
    ResultsInOrder(int items, const WorkerResult& result);
    void Arrive(int item, std::vector<std::uint8_t> bytes); // an item's result; the first one for an item counts
    bool Finish();                                         // hands on the rest past any gap; true when every item came back

private:
    void Deliver(std::size_t item);

    const WorkerResult& result_;                       // the caller's, for each item
    std::vector<std::vector<std::uint8_t>> waiting_;  // results that came back ahead of an earlier item
    std::vector<bool> arrived_;                        // which items came back
    std::size_t next_ = 0;                             // the first item not yet handed on
};
// Items 0..items-1 done in this process, in order.
void RunHere(int items, const WorkerItem& work, ResultsInOrder& results);
// Items 0..items-1 spread over `workers` (two or more) copies of this process,
// each taking the next item not yet taken (here, when no copy can be made);
// false when a copy did not end normally.
bool RunInWorkers(int workers, int items, const WorkerItem& work, ResultsInOrder& results);

// ---------------------------------------------------------------- lifetime

// Each service's end: its table emptied, its state back to the start.
void EndFiles();
void EndDirs();
void EndSound();
void EndFonts();
void EndDraw();
void EndSprites();
void EndImages();
void EndScreen();
void EndWindows();
void EndInput();
void EndWatch();
void EndCore();     // SDL subsystems quit; handles forgotten (never reissued)
void ResetClock();  // back to the real clock
void ResetCore();   // forced failures cleared

}  // namespace svc
