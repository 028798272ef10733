// Per-frame input sampling, the drawn mouse pointer and the click sound.
#include "app.h"
#include "services.h"

void FlushWindowEvents() {
    while (Window_PollEvent() != 0) {
    }
}

void ReadInput() {
    Mouse_Examine();
    FlushWindowEvents();
    editor.MouseX = Mouse_X();
    editor.MouseY = Mouse_Y();
    Key_Examine();
    FlushWindowEvents();
}

void DrawMousePointer() {
    Sprite_DisplayTransparent(kPointerSprite, editor.MouseX, editor.MouseY);
}

void SetMousePointer(int kind) {
    if (kind != 0) return;
    // A missing pointer picture leaves no pointer rather than a stale one.
    if (!Sprite_Copy(kPointerSourceSprite, kPointerSprite)) Sprite_Free(kPointerSprite);
}

void PlayClick() {
    Sound_Volume(kClickSound, editor.ClickVolume);
    Sound_Play(kClickSound, 0);
}
