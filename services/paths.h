// Paths, and what the file service says of one. The program writes its own
// relative paths with "\" and translates them where it builds a path; a name
// from the disk, the current directory or the user is used as it is, so a
// "\" in it is a letter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// File_Size results other than a size.
inline constexpr std::int64_t kFileMissing = -1;
inline constexpr std::int64_t kFileIsDirectory = -2;

std::string ProgramDirectory();                    // the running program's folder, ends with the separator; empty when unknown
std::string OwnPath(std::string_view path);        // the program's own "\"-separated path in the system's form
bool IsPathSeparator(char c);                      // separates folders in the system's paths ("/"; Windows
                                                   // also "\")

// Where the last link at a name leads (File_LinkKind).
inline constexpr int kLinkNone = 0;     // no link at the name (or nothing there)
inline constexpr int kLinkInside = 1;   // links on to a name in the same folder
inline constexpr int kLinkOutside = 2;  // leaves the folder, dangles or loops: never followed

// How a save treats a link at the saved file's own name (File_SetSaveLinks).
inline constexpr int kSaveFollowInside = 0;  // follows it to a name of the same folder, else refuses
inline constexpr int kSaveReplaceLinks = 1;  // replaces the link itself with the file

int File_LinkKind(const std::string& path);  // kLink*: whether a link at the path's own name stays in its folder
void File_SetSaveLinks(int rule);            // kSave*: until the services end
std::string File_SaveRefusal();              // why the last save was refused before writing, "" when it was not
