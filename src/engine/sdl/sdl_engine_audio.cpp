// The SDL engine's sound: the audio device, which sleeps (is closed) after a second
// without a sound and wakes for the next one, and the sound effects loaded and played
// on it. Without a device a sound still loads (a broken file still fails) and plays
// silently. The device and the effects belong to SdlEngine (sdl_engine_state.h).
#include <SDL.h>
#include <SDL_mixer.h>

#include <utility>
#include <vector>

#include "engine/sdl/sdl_engine_state.h"

namespace {

constexpr int kAudioFrequency = 44100;
constexpr int kAudioChannels = 2;
constexpr int kAudioChunkBytes = 1024;
// The audio device's thread wakes for every buffer, sound or silence: after this long
// without a sound the device is closed, and the next sound opens it again.
constexpr double kAudioSleepSeconds = 1.0;

}  // namespace

// Without an audio device the game still runs: sounds load and play silently.
void SdlEngine::OpenAudio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        log.Write("No audio: %s", SDL_GetError());
        return;
    }
    audioOpen = true;
    if (!WakeAudio()) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Opens the device when it sleeps. It is always asked for the same format (no
// changes allowed; SDL converts where the hardware differs), so the sounds loaded
// once stay valid across sleeps.
bool SdlEngine::WakeAudio() {
    if (!audioOpen || audioAwake) return audioAwake;
    if (Mix_OpenAudioDevice(kAudioFrequency, MIX_DEFAULT_FORMAT, kAudioChannels, kAudioChunkBytes, nullptr,
                            0) != 0) {
        log.Write("No audio: %s", Mix_GetError());
        audioOpen = false;  // sounds play silently from now on
        return false;
    }
    audioAwake = true;
    audioSilentSince = -1;
    return true;
}

// At a frame's end: closes the device once it has been silent long enough, else asks
// for a frame by then.
void SdlEngine::LetAudioSleep() {
    if (!audioAwake) return;
    const double now = clock.Now();
    if (Mix_Playing(-1) > 0 || audioSilentSince < 0) audioSilentSince = now;
    if (now - audioSilentSince < kAudioSleepSeconds) {
        demand.Ask(now, audioSilentSince + kAudioSleepSeconds - now);
        return;
    }
    Mix_CloseAudio();
    audioAwake = false;
}

HEFFECT SdlEngine::Effect_Load(const char* filename, std::uint32_t /*size*/) {
    std::vector<unsigned char> bytes;
    if (!LoadFile(filename, bytes)) return 0;
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    EffectEntry entry;
    if (WakeAudio()) {
        entry.chunk.reset(Mix_LoadWAV_RW(stream, 1));
        if (!entry.chunk) {
            log.Write("Can't load sound %s: %s", filename, Mix_GetError());
            return 0;
        }
    } else {
        // No device: decode anyway so that a broken file still fails, then keep a silent handle.
        SDL_AudioSpec audioFormat{};
        Uint8* samples = nullptr;
        Uint32 length = 0;
        if (SDL_LoadWAV_RW(stream, 1, &audioFormat, &samples, &length) == nullptr) {
            log.Write("Can't load sound %s: %s", filename, SDL_GetError());
            return 0;
        }
        SDL_FreeWAV(samples);
    }
    return effects.Add(std::move(entry));
}

HCHANNEL SdlEngine::Effect_Play(HEFFECT effect) {
    const EffectEntry* entry = effects.Find(effect);
    if (entry == nullptr || !entry->chunk || !WakeAudio()) return 0;
    const int channel = Mix_PlayChannel(-1, entry->chunk.get(), 0);
    return channel < 0 ? 0 : static_cast<HCHANNEL>(channel) + 1;
}
