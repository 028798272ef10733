// Keelwright presentation services: the one layer between the editor and the
// operating system. Everything is addressed by small integers; no pointer to a
// service object ever leaves this layer.
//
// Conventions every operation keeps:
//  - Objects of each kind (windows, sprites, images, fonts, sounds, files,
//    directory scans) live in their own numbered table that grows on demand.
//    Numbers from 0 to kServiceMaxNumber are the caller's to choose.
//  - Creating or loading under a number in use frees the old object first.
//  - A creation or load that fails returns 0 and leaves the number empty.
//  - Number -1 asks the service to pick: the creation then returns a
//    reference (>= kServiceReferenceBase, never reused in a run) which later
//    calls of that kind accept in place of a number, creations included while
//    it is live. Any other number is refused and changes nothing.
//  - Operations on an empty number, and drawing outside Draw_Begin/Draw_End,
//    do nothing and return 0.
//  - Colours are 24-bit RGB packed as red + green * 256 + blue * 65536.
//  - Texts are UTF-8. Paths may use "\" as separator; it is translated at the
//    operating-system boundary.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Caller-chosen numbers run from 0 to this; larger numbers are refused.
inline constexpr int kServiceMaxNumber = 1000000;
// References returned by -1 creations start here and only ever grow.
inline constexpr int kServiceReferenceBase = 0x1000000;
// The automatic choice of number for creations and loads.
inline constexpr int kServiceAuto = -1;

// ---------------------------------------------------------------- window and screen
int Sprite_Init();                                   // prepares screen and sprite service; nonzero on success
int Device3D_Init();                                 // prepares the (unused) 3D device; nonzero on success
int Window_Open(int number, int x, int y, int width, int height, const std::string& title,
                int flags);                          // opens a window with that inner size; nonzero on success
int Window_Handle(int number);                       // handle of an open window for Screen_OpenInWindow; 0 if none
int Window_PollEvent();                              // pumps pending window events without waiting; event code or 0
int Window_FittingScale(int width, int height);      // largest whole factor at which width x height fits the
                                                     // display's usable area; 1 when even that does not fit
void Window_SetTitle(int number, const std::string& title); // the title task bars and switchers show
std::string Window_Title(int number);                // its current title; empty for an empty number
std::string Window_DroppedFile();                    // the next file dropped on the window (as the system
                                                     // names it), empty when none is waiting
void Window_Close(int number);                       // closes the window (and the screen inside it)
int Screen_OpenInWindow(int windowHandle, int x, int y, int width, int height, int autoStretch,
                        int rightOffset, int bottomOffset);  // opens the screen; nonzero on success
void Screen_Flip();                                  // shows the back buffer, each pixel as a scale x scale block
int Screen_Scale();                                  // the whole factor the screen is shown at (window size /
                                                     // screen size, at least 1); 0 when no screen is open
int Screen_Width();                                  // width of the open screen, 0 when none
int Screen_Height();                                 // height of the open screen, 0 when none
int Draw_ScreenOutput();                             // drawing target: the screen's back buffer

// Whole factors the screen may be shown at.
inline constexpr int kMinWindowScale = 1;
inline constexpr int kMaxWindowScale = 8;
// Window_Open flags.
inline constexpr int kWindowSystemMenu = 1;          // title bar with close box
// Window_PollEvent results.
inline constexpr int kWindowEventClose = 1;          // the user asked to close the window (the editor ignores it)

// ---------------------------------------------------------------- sprites
int Sprite_Load(int number, const std::string& path, int mode);   // decodes a PNG (or BMP) file
int Sprite_Create(int number, int width, int height);             // a blank (black) sprite
int Sprite_Grab(int number, int x, int y, int width, int height); // copies an area of the back buffer
void Sprite_Display(int number, int x, int y);                    // opaque copy to the back buffer, clipped
void Sprite_DisplayTransparent(int number, int x, int y);         // as Sprite_Display, skipping the colour key
void Sprite_DisplayTransparentClipped(int number, int x, int y, int clipX, int clipY, int clipWidth,
                                      int clipHeight);            // as Sprite_DisplayTransparent, only inside the clip
int Sprite_Copy(int source, int target);                          // target = copy of source (pixels and key)
int Sprite_Save(int number, const std::string& path, int encoder);// PNG with kPngEncoder, else 24-bit BMP
int Sprite_SaveBegin(int number, const std::string& path);        // a PNG encoded as the rows become final
int Sprite_SaveRows(int number, int rows);                        // rows above `rows` are final: encoded now
int Sprite_SaveEnd(int number);                                   // the rest encoded, the file saved safely; 1 when written
void Sprite_Free(int number);                                     // frees the sprite
int Sprite_Width(int number);                                     // 0 for an empty number
int Sprite_Height(int number);                                    // 0 for an empty number
void Sprite_SetTransparentColour(int number, int colour);         // colour key (black unless set)
int Draw_SpriteOutput(int number);                                // drawing target: the sprite's pixels

// Encoder / decoder identifiers.
inline constexpr int kPngEncoder = 1;                // Sprite_Save / Image_Save: write PNG

// ---------------------------------------------------------------- decoded pictures of a run
// Loads of sprites and images from files share one budget of decoded bytes.
inline constexpr std::int64_t kDefaultPictureBudget = std::int64_t{1} << 30;
inline constexpr std::int64_t kBytesPerPixel = 4;  // decoded pictures are ARGB8888; the budget counts this much a pixel
void Picture_SetBudget(std::int64_t bytes);  // decoded bytes held at most; 0 or less restores the default
int Picture_OverBudget();                    // 1 when the last load was refused for the budget

// ---------------------------------------------------------------- images
int Image_Load(int number, const std::string& path, int flags);   // PNG or BMP into an image
int Image_Create(int number, int width, int height);              // a blank (black, opaque) image
int Image_CreateFromSprite(int number, int sprite, int width, int height); // a sprite's pixels, smoothly scaled
int Image_Resize(int number, int width, int height, int mode);    // smooth (area-averaging) stretch
int Image_Save(int number, const std::string& path, int encoder); // PNG with kPngEncoder
int Image_Reload(int number, const std::string& path);            // new pixels from the file, same number and
                                                                  // handle; a failed read changes nothing
int Image_Width(int number);                                      // 0 for an empty number
int Image_Height(int number);                                     // 0 for an empty number
int Image_Handle(int number);                                     // picture handle for Draw_Image; 0 if none
void Image_Free(int number);                                      // frees the image
int Draw_ImageOutput(int number);                                 // drawing target: the image's pixels

// ---------------------------------------------------------------- drawing (between Draw_Begin and Draw_End)
int Draw_Begin(int target);                          // opens a target from a *Output call; nonzero on success
void Draw_End();                                     // closes it; the font selection is released
void Draw_FrontColour(int colour);                   // colour of operations given none
void Draw_Mode(int flags);                           // kDrawTransparent | kDrawInvert | kDrawOutline
void Draw_Font(int fontHandle);                      // Font_Handle(n), or -1 for the system font
int Draw_Text(int x, int y, const std::string& text);             // front colour; returns x after the text
int Draw_Text(int x, int y, const std::string& text, int colour); // given colour; returns x after the text
int Draw_TextWidth(const std::string& text);         // pixels, current font
int Draw_TextHeight(const std::string& text);        // pixels, current font
void Draw_Box(int x, int y, int width, int height);               // front colour
void Draw_Box(int x, int y, int width, int height, int colour);   // filled unless outline mode
void Draw_Line(int x, int y, int width, int height, int colour);  // (x, y) to (x + width, y + height)
void Draw_LineXY(int x1, int y1, int x2, int y2, int colour);     // both end points included
void Draw_Circle(int x, int y, int radius, int colour);           // radius 1 draws a 2 x 2 box
void Draw_Plot(int x, int y, int colour);                         // one pixel
int Draw_Point(int x, int y);                        // colour of a pixel of the open target; 0 outside
void Draw_ReadBlock(int x, int y, int width, int height, int* colours);       // colours of a block, row after row; 0 outside
void Draw_PlotBlock(int x, int y, int width, int height, const int* colours); // a block of pixels, row after row, clipped
void Draw_Image(int pictureHandle, int x, int y);                 // opaque copy of an image
void Draw_Image(int pictureHandle, int x, int y, int width, int height); // stretched (smooth when shrinking)
void Draw_AlphaImage(int pictureHandle, int x, int y);            // blends by per-pixel alpha
void Draw_AlphaBox(int x, int y, int width, int height, int colour, int alpha); // filled; sets the pixels'
                                                     // alpha (0 clear .. 255) on images, opaque elsewhere

// Draw_Mode bits.
inline constexpr int kDrawTransparent = 1;           // text without a background box
inline constexpr int kDrawInvert = 2;                // shapes invert the pixels under them
inline constexpr int kDrawOutline = 4;               // boxes and circles as outlines only

// ---------------------------------------------------------------- fonts
int Font_Load(int number, const std::string& face, int points, int flags); // nonzero on success
int Font_Handle(int number);                         // handle for Draw_Font; 0 for an empty number
void Font_Free(int number);                          // frees the font

// Font_Load flags.
inline constexpr int kFontUnderline = 4;
inline constexpr int kFontBold = 256;
inline constexpr int kFontItalic = 512;

// ---------------------------------------------------------------- mouse and keyboard
int Mouse_Init();                                    // nonzero on success
void Mouse_Examine();                                // takes this frame's mouse snapshot
int Mouse_X();                                       // 0 .. screen width - 1 (window position / scale)
int Mouse_Y();                                       // 0 .. screen height - 1 (window position / scale)
int Mouse_Button(int button);                        // 1 left, 2 right, 3 middle; nonzero while held
int Mouse_Wheel();                                   // notches since the last examine, signed
int Key_Init();                                      // nonzero on success
void Key_Examine();                                  // takes this frame's keyboard snapshot
int Key_Down(int scanCode);                          // nonzero while held; -1 = any key
int Key_Released(int scanCode);                      // nonzero once after the key was seen held; -1 = any
std::string Key_TypedText();                         // characters typed since the previous call (UTF-8)

// Keyboard scan codes the editor and toolkit use.
inline constexpr int kKeyBackspace = 14;
inline constexpr int kKeyY = 21;
inline constexpr int kKeyReturn = 28;
inline constexpr int kKeyLeftCtrl = 29;
inline constexpr int kKeyLeftShift = 42;
inline constexpr int kKeyZ = 44;
inline constexpr int kKeyRightShift = 54;
inline constexpr int kKeyScrollLock = 70;
inline constexpr int kKeyPadEnter = 156;
inline constexpr int kKeyRightCtrl = 157;
inline constexpr int kKeyHome = 199;
inline constexpr int kKeyUp = 200;
inline constexpr int kKeyLeft = 203;
inline constexpr int kKeyRight = 205;
inline constexpr int kKeyEnd = 207;
inline constexpr int kKeyDown = 208;
inline constexpr int kKeyInsert = 210;
inline constexpr int kKeyDelete = 211;

// ---------------------------------------------------------------- sound
int Sound_Init();                                    // nonzero on success (falls back to silent output)
int Sound_Load(int number, const std::string& path); // a WAV file; nonzero on success
void Sound_Volume(int number, int volume);           // 0 .. 100, clamped
void Sound_Play(int number, int flags);              // bit 0 loops; 0 plays once from the start
void Sound_Free(int number);                         // frees the sound

// ---------------------------------------------------------------- files and directories
int File_Create(int number, const std::string& path);      // create or truncate; nonzero on success
int File_OpenRead(int number, const std::string& path);    // nonzero on success
void File_WriteLong(int number, std::int32_t value);       // 4 bytes, little-endian
std::int32_t File_ReadLong(int number);                    // 0 past the end; a cut value keeps its bytes
void File_WriteData(int number, std::span<const std::uint8_t> data); // raw bytes
int File_ReadData(int number, std::span<std::uint8_t> data);         // raw bytes; returns bytes read
void File_WriteLine(int number, const std::string& text);  // text + "\r\n"
std::string File_ReadLine(int number);                     // one line without its line end
int File_Eof(int number);                                  // nonzero once everything was read
int File_Close(int number);                                // flushes and closes; nonzero when a created file was committed
std::int64_t File_Size(const std::string& path);           // -1 missing, -2 directory
int File_CopyNew(const std::string& source, const std::string& target); // a new file only: kCopy*
int File_Same(const std::string& first, const std::string& second);    // nonzero when both name one file
std::string CurrentDirectory();                            // ends with the separator; empty when unreadable
int Dir_Create(const std::string& path);                   // one directory; fails if it exists
int Dir_Examine(int number, const std::string& directory, const std::string& pattern); // nonzero on success
int Dir_Next(int number);                                  // nonzero while an entry is available
std::string Dir_EntryName(int number);                     // name of the current entry
int Dir_EntryType(int number);                             // 1 file, 2 directory
std::int64_t Dir_EntrySize(int number);                    // bytes
int Dir_EntryAttributes(int number);                       // kAttr* bits
std::int64_t Dir_EntryDate(int number, int which);         // 0 created, 1 accessed, 2 modified; local time
void Dir_Finish(int number);                               // ends the scan

// File_CopyNew results.
inline constexpr int kCopyDone = 1;                  // the target was made with the source's bytes
inline constexpr int kCopyFailed = 0;                // the source could not be read or the target written
inline constexpr int kCopyNameTaken = -1;            // something already has the target's name: untouched

// Dir_EntryType results.
inline constexpr int kEntryFile = 1;
inline constexpr int kEntryDirectory = 2;
// Dir_EntryAttributes bits.
inline constexpr int kAttrReadOnly = 1;
inline constexpr int kAttrHidden = 2;
inline constexpr int kAttrSystem = 4;
inline constexpr int kAttrDirectory = 16;
inline constexpr int kAttrArchive = 32;
inline constexpr int kAttrNormal = 128;
inline constexpr int kAttrCompressed = 2048;

// ---------------------------------------------------------------- changes on disk
int Watch_Folder(const std::string& folder);         // watches one folder (the previous watch ends) for files
                                                     // written, renamed in or made there; nonzero on success
std::string Watch_NextChange();                      // name of a file changed since the last call (each once
                                                     // per poll), kWatchEverything when changes were lost,
                                                     // empty when none; never waits
void Watch_End();                                    // stops watching

// Watch_NextChange when the system dropped changes: read everything again.
inline constexpr const char* kWatchEverything = "*";

// ---------------------------------------------------------------- clock
std::int64_t Date_Now();                             // seconds since 1970 on the local wall clock
std::string Date_Format(const std::string& mask, std::int64_t date); // %yyyy %yy %mm %dd %hh %ii %ss
std::int64_t ElapsedMilliseconds();                  // milliseconds since an arbitrary start
void Delay(int milliseconds);                        // sleeps, giving up the processor

// ---------------------------------------------------------------- text helpers
// Positions and lengths count characters (UTF-8 code points) from 1.
std::int32_t Val(const std::string& text);           // leading blanks, sign, digits; "abc" -> 0
std::string Str(std::int64_t value);                 // decimal
int Len(const std::string& text);                    // length in characters
std::string Left(const std::string& text, int n);    // first n characters
std::string Right(const std::string& text, int n);   // last n characters
std::string Mid(const std::string& text, int start, int length = -1); // from start, length (-1 = rest)
int FindString(const std::string& text, const std::string& needle, int start = 1); // position or 0
int CountString(const std::string& text, const std::string& needle); // occurrences
std::string StringField(const std::string& text, int k, char separator); // field k (from 1)
std::string LCase(const std::string& text);          // A-Z and Latin-1 capitals to small
std::string UCase(const std::string& text);          // a-z and Latin-1 smalls to capital
std::string Space(int n);                            // n blanks
std::string Chr(int code);                           // one character (UTF-8)
// UTF-8 walking by bytes; a stray continuation byte counts as a character of its own, so bad input still advances.
std::size_t Utf8CharacterBytes(std::string_view text, std::size_t at); // bytes of the character starting at `at`
std::size_t Utf8CharacterStart(std::string_view text, std::size_t at); // where text may be cut at or before `at` without splitting a character

// ---------------------------------------------------------------- stopping from outside
void Signals_Catch();                                // SIGINT and SIGTERM only set a flag; call before anything else
int Signals_Caught();                                // the signal caught since Signals_Catch, 0 none
void Signals_Release();                              // default handling again, flag cleared
void Signals_EndAsCaught();                          // after an orderly end: dies of the caught signal, if any

// ---------------------------------------------------------------- worker processes
// One item's work in a worker, and its result bytes back in this process.
using WorkerItem = std::function<std::vector<std::uint8_t>(int item)>;
using WorkerResult = std::function<void(int item, const std::vector<std::uint8_t>& bytes)>;
int Workers_Available();                             // the machine's cores, at least 1
int Workers_Run(int workers, int items, const WorkerItem& work,
                const WorkerResult& result);         // items 0..items-1 done by `workers` copies of this
                                                     // process as it is now (one: done here); result() here
                                                     // in item order for every item done; 1 when all were

// ---------------------------------------------------------------- the process
std::vector<std::string> Process_Arguments(int argc, char** argv); // the arguments after the program's name, UTF-8
void Process_Prepare();                              // before anything is printed: output reaches the console
                                                     // the program was started from; no signal ends a write
std::string Process_UserWorkspace();                 // the user's own workspace when the program makes it
                                                     // itself (Documents\Keelwright on Windows); empty where a
                                                     // launcher does

// ---------------------------------------------------------------- lifetime
void Services_End();                                 // closes files, frees every object, closes the window
