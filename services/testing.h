// Hooks for tests, tools and benchmarks: drive the services without a person.
// Input goes in as real SDL events, so it takes exactly the road real input
// takes (Mouse_Examine / Key_Examine snapshots); the clock can be made manual.
#pragma once

#include <cstdint>
#include <string>

// Selects SDL's dummy video and audio drivers (call before Sprite_Init).
void Testing_UseHeadlessDrivers();
// Sets an environment variable as SDL reads it; an empty value is the same as none.
void Testing_SetEnvironment(const std::string& name, const std::string& value);
// Ends every service and returns all service state to its start values.
void Testing_ResetServices();

// Input injection (queued; seen at the next Mouse_Examine / Key_Examine).
void Testing_MouseMove(int x, int y);                // absolute window position
void Testing_MouseButton(int button, bool down);     // 1 left, 2 right, 3 middle
void Testing_MouseWheel(int notches);                // positive = away from the user
void Testing_Key(int scanCode, bool down);           // scan code as in services.h (kKey*)
void Testing_TypeText(const std::string& utf8);      // text input, as typed
void Testing_RequestClose();                         // the window's close box, as the user clicks it
void Testing_DropFile(const std::string& path);      // a file dropped on the window from a file manager

// Colour (as Draw_Point gives it) of a pixel of the window as last flipped; -1 outside or with no screen.
int Testing_WindowPixel(int x, int y);
// Size of the window the screen is shown in; 0 with no screen.
int Testing_WindowWidth();
int Testing_WindowHeight();

// Manual clock: ElapsedMilliseconds, Delay and Date_Now stop following the
// real clock. Delay advances the manual clock instead of sleeping.
void Testing_UseManualClock(bool manual);
void Testing_AdvanceClock(int milliseconds);
void Testing_SetDateNow(std::int64_t date);          // what Date_Now returns (it ticks with the clock)
std::int64_t Testing_TotalDelayed();                 // sum of Delay calls since the clock went manual

// Makes the named initialisation fail (for start-up tests): "sprite",
// "mouse", "keyboard", "sound", "3d", "window", "screen", and "cwd" (the
// current directory cannot be read); "" clears.
void Testing_FailInit(const std::string& which);

// What pushes a saved file's bytes to the disk before it replaces its target
// (fsync); nullptr puts fsync back.
void Testing_SetFileSync(int (*sync)(int descriptor));

// Bytes of rendered text the services keep for reuse.
std::int64_t Testing_LabelCacheBytes();

// What the mixer does with a sound: nonzero while a channel plays it, and its
// volume in the mixer's steps (0 .. 128; -1 for an empty number).
int Testing_SoundPlaying(int number);
int Testing_SoundVolume(int number);
