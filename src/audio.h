// The game's sound output: SDL's audio device opened on its own after the window, fed by the
// game's mixer from its callback, and what the game asks of it (sounds for a frame's events,
// for the menus, mute and volume). Until it is open every request is cheap and silent, so that
// headless runs and the tools play exactly as fast without it.
#pragma once

#include <string>

#include "gameevents.h"
#include "sounds.h"

class Mixer;

// Device buffer, in samples: about 12 ms, so that a sound is heard well within a frame or two
// of the frame that started it.
constexpr int AUDIO_BUFFER_SAMPLES = 512;

// Loads the sounds and opens the audio device, muted or not and at the volume given. False,
// with the reason in `problem`, when either fails: the game then plays without sound.
bool openAudio(bool muted, int volume, std::string& problem);
void closeAudio();
bool audioOpen();

void playSound(SoundId sound);
// Starts the sound of every kind of event in the frame, each once however often it came: two
// enemies firing together sound as one shot.
void playFrameSounds(const FrameEvents& events);

void setAudioMuted(bool muted);
bool audioMuted();
void setAudioVolume(int volume);

// The mixer the game's sounds go to. Without a device nothing pulls from it; a program may load
// it (loadSounds) and pull samples from it itself, as the tests do.
Mixer& gameMixer();
