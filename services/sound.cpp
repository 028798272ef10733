// One-shot WAV sounds through SDL_mixer.
#include <SDL_mixer.h>

#include <algorithm>

#include "numbered_table.h"
#include "testing.h"

namespace svc {
namespace {

struct Sound {
    Mix_Chunk* chunk = nullptr;  // decoded samples
    int channel = -1;            // channel it last played on
};

void FreeChunk(Sound& s, int) { Mix_FreeChunk(s.chunk); }  // halts any channel playing it

bool mixerOpen = false;                              // Sound_Init opened the mixer
NumberedTable<Sound> sounds(Kind::None, FreeChunk);  // loaded sounds

bool OpenMixer() {
    if (!EnsureSdl(SDL_INIT_AUDIO)) return false;
    return Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0;
}

}  // namespace

void EndSound() {
    if (mixerOpen) Mix_HaltChannel(-1);
    sounds.Clear();
    if (mixerOpen) Mix_CloseAudio();
    mixerOpen = false;
}

}  // namespace svc

using namespace svc;

int Sound_Init() {
    if (FailForced("sound")) return 0;
    if (mixerOpen) return 1;
    if (!OpenMixer()) {
        // No usable audio device: play into nothing so the editor still starts.
        ReleaseSdl(SDL_INIT_AUDIO);
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        const bool opened = OpenMixer();
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        if (!opened) return 0;
    }
    Mix_AllocateChannels(16);
    mixerOpen = true;
    return 1;
}

int Sound_Load(int number, const std::string& path) {
    if (!mixerOpen) return 0;
    const int key = sounds.Claim(number);
    if (key < 0) return 0;
    std::vector<std::uint8_t> bytes;
    Mix_Chunk* chunk = nullptr;
    if (ReadWholeFile(path, bytes) && !bytes.empty()) {
        SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
        if (rw) chunk = Mix_LoadWAV_RW(rw, 1);
    }
    if (!chunk) return 0;
    return sounds.Store(number, key, Sound{chunk, -1});
}

void Sound_Volume(int number, int volume) {
    Sound* s = sounds.Find(number);
    if (!s) return;
    volume = std::clamp(volume, 0, 100);
    Mix_VolumeChunk(s->chunk, (volume * MIX_MAX_VOLUME + 50) / 100);
}

void Sound_Play(int number, int flags) {
    Sound* s = sounds.Find(number);
    if (!s) return;
    // Playing again starts over rather than piling up copies of the sound.
    if (s->channel >= 0 && Mix_Playing(s->channel) && Mix_GetChunk(s->channel) == s->chunk)
        Mix_HaltChannel(s->channel);
    s->channel = Mix_PlayChannel(-1, s->chunk, (flags & 1) ? -1 : 0);
}

void Sound_Free(int number) { sounds.Free(number); }

int Testing_SoundPlaying(int number) {
    Sound* s = sounds.Find(number);
    return s && s->channel >= 0 && Mix_Playing(s->channel) && Mix_GetChunk(s->channel) == s->chunk ? 1 : 0;
}

int Testing_SoundVolume(int number) {
    Sound* s = sounds.Find(number);
    return s ? Mix_VolumeChunk(s->chunk, -1) : -1;
}
