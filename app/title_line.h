// The window's title line: the program and the open design, so task bars and
// window switchers name them, or for a few seconds a message to the user.
#pragma once

#include <string>

// The title line with no design open.
inline constexpr const char* kProgramTitle = "Keelwright";
// How long a message stays before the design's title returns.
inline constexpr int kTitleMessageMilliseconds = 4000;

// ---------------------------------------------------------------- title line
void ShowTitleMessage(const std::string& text); // shown from the next frame on; the newest wins
void ShowTitleNotice(const std::string& text);  // as a message, but it stays until ClearTitleMessage
void ClearTitleMessage();                       // the design's title again at once
void UpdateTitleLine();                         // every frame: the window is told only of a change
std::string TitleLineText();                    // what the title line says at this moment
void ResetTitleLine();                          // no message; nothing told to the window yet
