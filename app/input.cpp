// Per-frame input sampling and the drawn mouse pointer.
#include "app.h"
#include "services.h"

void FlushWindowEvents() {
    while (Window_PollEvent() != 0) {
    }
}

void ReadInput() {
    Mouse_Examine();
    FlushWindowEvents();
    interaction.MouseX = Mouse_X();
    interaction.MouseY = Mouse_Y();
    Key_Examine();
    FlushWindowEvents();
}

void DrawMousePointer() {
    Sprite_DisplayTransparent(kPointerSprite, interaction.MouseX, interaction.MouseY);
}

void SetMousePointer(int kind) {
    if (kind != 0) return;
    // A missing pointer picture leaves no pointer rather than a stale one.
    if (!Sprite_Copy(kPointerSourceSprite, kPointerSprite)) Sprite_Free(kPointerSprite);
}
