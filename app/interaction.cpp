#include "interaction.h"

#include "editor_objects.h"
#include "services.h"

InteractionState interaction;

void PlayClick() {
    Sound_Volume(kClickSound, interaction.ClickVolume);
    Sound_Play(kClickSound, 0);
}
