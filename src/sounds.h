// The game's sound effects: their files (drawn up by the build, like the pictures), how many of
// each may sound at once, which frame event starts which, and loading them into a mixer.
#pragma once

#include <string>

#include "gameevents.h"

class Mixer;

enum SoundId {
    SOUND_PLAYER_SHOT,
    SOUND_ENEMY_SHOT,
    SOUND_SHOT_TURNED,
    SOUND_SHOT_SENT_BACK,
    SOUND_SHOT_FADED,
    SOUND_CRATE_DESTROYED,
    SOUND_ENEMY_DESTROYED,
    SOUND_PLAYER_DESTROYED,
    SOUND_LEVEL_COMPLETE,
    SOUND_SHIP_LOST,
    SOUND_GAME_OVER,
    SOUND_MENU_MOVE,
    SOUND_MENU_CONFIRM,
    SOUND_COUNT
};

// The samples every sound is mixed at: 16-bit, one channel.
constexpr int SOUND_RATE = 44100;

// File of each sound, relative to the working directory.
extern const char* const soundFiles[SOUND_COUNT];
// The most voices of each sound that play at once.
extern const int soundVoiceLimits[SOUND_COUNT];
// The sound that a frame event starts.
SoundId soundOf(GameEvent event);

// Loads one sound's file into the mixer, converted to the mixer's samples; false, with the
// file and the reason in `error`, when it cannot be read.
bool loadSound(Mixer& mixer, SoundId id, std::string& error);
// Loads them all, or stops at the first that cannot be read.
bool loadSounds(Mixer& mixer, std::string& error);
