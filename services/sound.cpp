// One-shot WAV sounds through SDL_mixer.
#include <algorithm>

#include "services_internal.h"
#include "testing.h"

namespace svc {
SoundState sound;

namespace {

bool OpenMixer() {
    if (!EnsureSdl(SDL_INIT_AUDIO)) return false;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0) return true;
    return false;
}

void FreeSound(int number) {
    auto it = sound.sounds.find(number);
    if (it == sound.sounds.end()) return;
    Mix_FreeChunk(it->second.chunk);  // halts any channel playing it
    sound.sounds.erase(it);
}

Sound* FindSound(int number) {
    auto it = sound.sounds.find(number);
    return it == sound.sounds.end() ? nullptr : &it->second;
}

}  // namespace

void EndSound() {
    if (sound.ready) Mix_HaltChannel(-1);
    for (auto& [number, s] : sound.sounds) Mix_FreeChunk(s.chunk);
    sound.sounds.clear();
    if (sound.ready) Mix_CloseAudio();
    sound = SoundState{};
}

}  // namespace svc

using namespace svc;

int Sound_Init() {
    if (FailForced("sound")) return 0;
    if (sound.ready) return 1;
    if (!OpenMixer()) {
        // No usable audio device: play into nothing so the editor still starts.
        if (core.sdlSubsystems & SDL_INIT_AUDIO) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            core.sdlSubsystems &= ~static_cast<std::uint32_t>(SDL_INIT_AUDIO);
        }
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        const bool opened = OpenMixer();
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        if (!opened) return 0;
    }
    Mix_AllocateChannels(16);
    sound.ready = true;
    return 1;
}

int Sound_Load(int number, const std::string& path) {
    if (!sound.ready) return 0;
    if (number != kServiceAuto && (number < 0 || number > kServiceMaxNumber)) return 0;
    std::vector<std::uint8_t> bytes;
    Mix_Chunk* chunk = nullptr;
    if (ReadWholeFile(OsPath(path), bytes) && !bytes.empty()) {
        SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
        if (rw) chunk = Mix_LoadWAV_RW(rw, 1);
    }
    if (!chunk) {
        if (ValidKey(number)) FreeSound(number);
        return 0;
    }
    const int key = number == kServiceAuto ? NewId() : number;
    FreeSound(key);
    sound.sounds[key] = Sound{chunk, -1};
    return number == kServiceAuto ? key : 1;
}

void Sound_Volume(int number, int volume) {
    Sound* s = FindSound(number);
    if (!s) return;
    volume = std::clamp(volume, 0, 100);
    Mix_VolumeChunk(s->chunk, (volume * MIX_MAX_VOLUME + 50) / 100);
}

void Sound_Play(int number, int flags) {
    Sound* s = FindSound(number);
    if (!s) return;
    // Playing again starts over rather than piling up copies of the sound.
    if (s->channel >= 0 && Mix_Playing(s->channel) && Mix_GetChunk(s->channel) == s->chunk)
        Mix_HaltChannel(s->channel);
    s->channel = Mix_PlayChannel(-1, s->chunk, (flags & 1) ? -1 : 0);
}

void Sound_Free(int number) { FreeSound(number); }

int Testing_SoundPlaying(int number) {
    Sound* s = FindSound(number);
    return s && s->channel >= 0 && Mix_Playing(s->channel) && Mix_GetChunk(s->channel) == s->chunk ? 1 : 0;
}

int Testing_SoundVolume(int number) {
    Sound* s = FindSound(number);
    return s ? Mix_VolumeChunk(s->chunk, -1) : -1;
}
