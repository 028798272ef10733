// The frame loop: one fixed sequence per frame, at most one frame per 30 ms.
#include "app.h"
#include "disk_pictures.h"
#include "editor_gadgets.h"
#include "gadget.h"
#include "history.h"
#include "services.h"
#include "ship_pictures.h"
#include "title_line.h"
#include "unsaved_work.h"

void FrameBeginAndDraw() {
    editor.FrameStart = ElapsedMilliseconds();
    ReadInput();
    // What arrived from outside since the last frame is drawn in this one.
    TakeDroppedPictures();
    FollowChangedPictures();
    // The background is the only thing that erases the previous frame.
    Sprite_Display(kBackgroundSprite, 0, 0);
    Gadget_Layout();
    Gadget_DrawAll();
    DrawEditorPictures();
}

void FrameEvents() {
    // Scroll Lock: after every picture is drawn and before the pointer is, so
    // the shot shows the frame without it; one shot per release.
    if (Key_Released(kKeyScrollLock)) SaveScreenshot(kScreenshotBaseName);
    // FrameEventType is only replaced here, so the next frame's pictures
    // still see the type of this frame's event.
    editor.FrameEvent = Gadget_ProcessEvents();
    editor.FrameGadget = Gadget_EventGadget();
    editor.FrameEventType = Gadget_EventType();
    // Undo goes first: a name it takes back is shown before the field is followed.
    FollowHistoryKeys();
    // The typing reaches the field wherever the pointer is, so it is followed outside the events.
    FollowNameField();
    if (editor.FrameEvent == GadgetEvent) DispatchCommand(editor.FrameGadget, editor.FrameEventType);
    ShowSaveMark();
}

void FramePresent() {
    UpdateTitleLine();
    DrawMousePointer();
    Screen_Flip();
}

void PaceFrame() {
    const std::int64_t elapsed = ElapsedMilliseconds() - editor.FrameStart;
    // A slow frame is not made up for by a shorter next one.
    if (elapsed >= 0 && elapsed < kFrameMilliseconds) Delay(static_cast<int>(kFrameMilliseconds - elapsed));
}

void RunFrame() {
    FrameBeginAndDraw();
    FrameEvents();
    FramePresent();
    PaceFrame();
}

void RunFrameLoop() {
    do {
        RunFrame();
        // SIGINT or SIGTERM ends the loop as "Quit" does; the close box does not.
        if (Signals_Caught() != 0) editor.QuitRequested = 1;
    } while (editor.QuitRequested == 0);
    // No click is waited for: unsaved prototypes are left beside their file.
    if (Signals_Caught() != 0) WriteRecoveredPrototypes();
}
