// The editor application: start-up, the frame loop and the end, as separate
// steps so that main() and the tests string them together the same way.
#pragma once

#include "editor_state.h"

// ---------------------------------------------------------------- start-up and end
int StartEditor(int scale = 0); // start-up sequence, the window scale x the screen (0: the largest
                                // that fits the display); 0 when a service, the window or the screen failed
void EndEditor();         // frees the gadgets, closes the window, then FinalCleanup
void FinalCleanup();      // ends the toolkit and every service

// ---------------------------------------------------------------- screen and panels
inline constexpr int kDesignPanel = 0;  // SetEditorMode: designs, prototypes and the test view
inline constexpr int kLoadPanel = 1;    // SetEditorMode: choosing a design folder or part images
inline constexpr int kSetupPanel = 2;   // SetEditorMode: setting up one part image
void CreateEditorGadgets(); // the 37 gadgets of the layout table, in its order
void SetEditorMode(int mode); // switches the panel; ends any move of a setup point
void ShowDesignPanel();       // the design panel in front: a setup being edited is saved, the load panel closed
void LeaveTestView();         // the test view off, the prototypes editable again; its ship's undo steps go

// ---------------------------------------------------------------- commands (one gadget event per frame)
void DispatchCommand(int gadget, int eventType); // the editor's commands, then the test view's and the palette
void ChoosePartImage();        // a row of the image list: the setup panel for that image
void FitPartImage();           // setup panel's zoom, origin, cross-hair and caption for the part image's size
void FitPreviewImage();        // load panel's preview zoom for the preview picture's size
std::string PreviewedPicture(); // file name of the part image the load panel previews, empty when none
void OpenLoadPanelForDesign(); // "Load": the design folders in the file list
void OpenLoadPanelForImages(); // "Add": the open design's pictures in the file list
void ChooseInFileList();       // a row of the file list: preview, or folder information (twice opens)
void ConfirmLoadPanel();       // "OK" of the load panel
void SwitchTestView();         // the "Mode" toggle
void ChoosePrototype();        // a row of the prototype list
void ChooseSetupPoint();       // a row of the setup rows: the point to move
int SelectSetupPoint(int row); // row of the setup rows made the point to move; nonzero when it may be
void ForgetSetupPoint();       // no setup row chosen, no point to move, the x and y fields empty
int OpenSetupPanel(const std::string& image); // the setup panel of a listed part image; 0 when its picture does not load
void FollowNameField();        // every frame: the focused name field's text is the chosen prototype's name
void ExportShipPicture(int sizeClass); // row k of "Save as": the ship pictures; no size class selected afterwards

// ---------------------------------------------------------------- pictures (frame step 5)
void DrawEditorPictures();     // part image, preview and its slots, setup points, load previews, test ship
int CrosshairSide();           // side of the cross-hair sprite at the current SetupZoom

// ---------------------------------------------------------------- frame loop
void RunFrame();          // one whole frame, paced to at least kFrameMilliseconds
void RunFrameLoop();      // frames until QuitRequested
void FrameBeginAndDraw(); // frame start, input, background, gadgets, pictures
void FrameEvents();       // the screenshot key, the toolkit's event processing and the dispatch of its event
void FramePresent();      // pointer, flip
void PaceFrame();         // sleeps away what is left of the frame

// ---------------------------------------------------------------- input and pointer
void FlushWindowEvents(); // drains window events unread (the close box is ignored)
void ReadInput();         // samples mouse and keyboard; refreshes MouseX, MouseY
void DrawMousePointer();  // sprite 2 with its hot spot at the pointer
void SetMousePointer(int kind); // 0: sprite 2 becomes a copy of sprite 1
