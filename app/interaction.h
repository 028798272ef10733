// What the design operations need from the person at the editor: where the
// pointer is this frame, and the click sound. The frame loop fills the
// pointer position once per frame.
#pragma once

struct InteractionState {
    int MouseX = 0;       // pointer position on the screen, sampled once per frame
    int MouseY = 0;       // pointer position on the screen, sampled once per frame
    int ClickVolume = 10; // click sound volume, 0..100
};

extern InteractionState interaction;

// The click sound at ClickVolume; played after almost every handled click.
void PlayClick();
