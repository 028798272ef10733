// The editor's global state: one struct, every field with its start value,
// so a fresh start is `editor = EditorState{}`.
#pragma once

#include <cstdint>
#include <string>

#include "design_model.h"
#include "interaction.h"
#include "part_palette.h"

// The design side's state (BaseDir, DesignFolder, TestMode, ViewX/ViewY and
// the three lists) lives in `design`, below this library; the fixed tables
// (Labels, ExportWidths, ConnectionSlots) and the numbered media live beside
// it; the pointer position with the click is `interaction`.
struct EditorState {
    // ---------------------------------------------------------------- start-up and frame loop
    int FrameEvent = 0;             // GadgetEvent when the toolkit reported one this frame, else 0
    int FrameGadget = 0;            // gadget of that event
    int FrameEventType = 0;         // its type; kept until the next frame's event processing
    int QuitRequested = 0;          // nonzero ends the loop after the current frame
    std::int64_t FrameStart = 0;    // clock at the start of the current frame, in ms
    std::string StartupFailure;     // what stopped start-up, empty while nothing did

    // ---------------------------------------------------------------- panels and commands
    int EditorMode = 0;             // 0 design panel, 1 load panel, 2 part-setup panel
    int LoadPurpose = 0;            // load panel open for: 0 nothing, 1 part images, 2 a design folder
    int LastFileListRow = 0;        // file list row of the previous click in the load panel
    std::string InfoText;           // information text of the chosen design folder
    float PreviewZoom = 0.0f;       // scale of the load panel's picture preview; 0 = none
    int SampleScale = 0;            // whole-number scale of a design folder's sample; 0 = none
    float SetupZoom = 0.0f;         // scale of the part image being set up
    int SetupOriginX = 0;           // top-left of the drawn part image, relative to the setup area
    int SetupOriginY = 0;           // top-left of the drawn part image, relative to the setup area
    int DraggingOffset = -1;        // -1 unless the display offset is being moved
    int DraggedConnection = -1;     // connection point being moved, -1 = none
    int NameFieldVisit = 0;         // visits of the name field so far: the typing of one is one undo step
    int NameFieldActive = 0;        // nonzero while the name field had the focus in the previous frame
    int SetupKeyHold = 0;           // holds of the cursor keys on a setup point so far: one hold is one undo step
    int SetupKeysDown = 0;          // nonzero while a cursor key was held in the previous frame

    // ---------------------------------------------------------------- test view
    DesignList<PaletteEntry> Palette; // the part buttons on offer
    int RandomShips = 0;            // ships "Random" grew: numbers the next one's generator
};

extern EditorState editor;

inline constexpr int kScreenWidth = 1024;
inline constexpr int kScreenHeight = 768;
inline constexpr int kEditorTextColour = 0xCCB7B5;  // every gadget's text (red 181, green 183, blue 204)
inline constexpr int kFrameMilliseconds = 30;  // shortest frame; the rest is slept away
