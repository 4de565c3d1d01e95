// The game's sound output: the audio device, its callback, and the game's requests, locked.
#include "audio.h"

#include <SDL.h>

#include "mixer.h"

namespace {

bool deviceOpen = false;

// While one lives the audio thread is held out of the mixer, if there is an audio thread.
class MixerLock {
public:
    MixerLock() {
        if (deviceOpen)
            SDL_LockAudio();
    }
    ~MixerLock() {
        if (deviceOpen)
            SDL_UnlockAudio();
    }
    MixerLock(const MixerLock&) = delete;
    MixerLock& operator=(const MixerLock&) = delete;
};

// Called by SDL on its audio thread, with the mixer locked.
void fillBuffer(void*, Uint8* stream, int length) {
    gameMixer().mix(reinterpret_cast<int16_t*>(stream), size_t(length) / sizeof(int16_t));
}

}  // namespace

Mixer& gameMixer() {
    static Mixer mixer;
    return mixer;
}

bool openAudio(bool muted, int volume, std::string& problem) {
    if (deviceOpen)
        return true;
    Mixer& mixer = gameMixer();
    mixer.setMuted(muted);
    mixer.setVolume(volume);
    if (!loadSounds(mixer, problem)) {
        mixer.clear();
        return false;
    }
    // On its own: a machine whose audio cannot start keeps its window.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        problem = SDL_GetError();
        mixer.clear();
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = SOUND_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = AUDIO_BUFFER_SAMPLES;
    wanted.callback = fillBuffer;
    // Asking for nothing back makes SDL convert to what the device plays itself.
    if (SDL_OpenAudio(&wanted, nullptr) != 0) {
        problem = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        mixer.clear();
        return false;
    }
    deviceOpen = true;
    SDL_PauseAudio(0);
    return true;
}

void closeAudio() {
    if (!deviceOpen)
        return;
    SDL_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    deviceOpen = false;
    gameMixer().clear();
}

bool audioOpen() {
    return deviceOpen;
}

void playSound(SoundId sound) {
    MixerLock lock;
    gameMixer().start(sound);
}

void playFrameSounds(const FrameEvents& events) {
    MixerLock lock;
    for (int event = 0; event < GAME_EVENT_COUNT; ++event)
        if (events.count(GameEvent(event)) > 0)
            gameMixer().start(soundOf(GameEvent(event)));
}

void setAudioMuted(bool muted) {
    MixerLock lock;
    gameMixer().setMuted(muted);
}

bool audioMuted() {
    return gameMixer().isMuted();
}

void setAudioVolume(int volume) {
    MixerLock lock;
    gameMixer().setVolume(volume);
}
