// The game's sound effects: their files, voice limits and events, and loading them.
#include "sounds.h"

#include <SDL.h>

#include <cstring>
#include <vector>

#include "mixer.h"

const char* const soundFiles[SOUND_COUNT] = {
    "sounds/shot.wav",         "sounds/enemy-shot.wav", "sounds/turn.wav",
    "sounds/bounce.wav",       "sounds/fade.wav",       "sounds/crate.wav",
    "sounds/enemy-down.wav",   "sounds/ship-down.wav",  "sounds/level-complete.wav",
    "sounds/ship-lost.wav",    "sounds/game-over.wav",  "sounds/menu-move.wav",
    "sounds/menu-confirm.wav",
};

// Short, frequent sounds may overlap a little; the long ones and the tunes never double.
const int soundVoiceLimits[SOUND_COUNT] = {3, 2, 3, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1};

SoundId soundOf(GameEvent event) {
    switch (event) {
        case EVENT_PLAYER_FIRED:
            return SOUND_PLAYER_SHOT;
        case EVENT_ENEMY_FIRED:
            return SOUND_ENEMY_SHOT;
        case EVENT_SHOT_TURNED:
            return SOUND_SHOT_TURNED;
        case EVENT_SHOT_SENT_BACK:
            return SOUND_SHOT_SENT_BACK;
        case EVENT_SHOT_FADED:
            return SOUND_SHOT_FADED;
        case EVENT_CRATE_DESTROYED:
            return SOUND_CRATE_DESTROYED;
        case EVENT_ENEMY_DESTROYED:
            return SOUND_ENEMY_DESTROYED;
        case EVENT_PLAYER_DESTROYED:
        default:
            return SOUND_PLAYER_DESTROYED;
    }
}

bool loadSound(Mixer& mixer, SoundId id, std::string& error) {
    const char* file = soundFiles[id];
    SDL_AudioSpec format;
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(file, &format, &data, &length) == nullptr) {
        error = std::string("cannot load ") + file + ": " + SDL_GetError();
        return false;
    }
    SDL_AudioCVT convert;
    const int needed = SDL_BuildAudioCVT(&convert, format.format, format.channels, format.freq,
                                         AUDIO_S16SYS, 1, SOUND_RATE);
    if (needed < 0) {
        SDL_FreeWAV(data);
        error = std::string("cannot convert ") + file + ": " + SDL_GetError();
        return false;
    }
    std::vector<Uint8> bytes(size_t(length) * size_t(convert.len_mult > 0 ? convert.len_mult : 1));
    std::memcpy(bytes.data(), data, length);
    SDL_FreeWAV(data);
    size_t converted = length;
    if (needed > 0) {
        convert.buf = bytes.data();
        convert.len = int(length);
        if (SDL_ConvertAudio(&convert) != 0) {
            error = std::string("cannot convert ") + file + ": " + SDL_GetError();
            return false;
        }
        converted = size_t(convert.len_cvt);
    }
    std::vector<int16_t> samples(converted / sizeof(int16_t));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(int16_t));
    mixer.setSound(id, std::move(samples), soundVoiceLimits[id]);
    return true;
}

bool loadSounds(Mixer& mixer, std::string& error) {
    for (int id = 0; id < SOUND_COUNT; ++id)
        if (!loadSound(mixer, SoundId(id), error))
            return false;
    return true;
}
