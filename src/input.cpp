// Events on their way to the screens: the keys of every screen are taken here.
#include "input.h"

#include <algorithm>
#include <iostream>

#include "audio.h"
#include "settings.h"

namespace {

constexpr int VOLUME_STEP = 10;

// What M and the volume keys chose is kept for the next run at once.
void keepSoundSettings() {
    std::string error;
    if (!saveSettings(currentSettings(), error))
        std::cerr << "skarlume: cannot keep the settings: " << error << std::endl;
}

void toggleMute() {
    currentSettings().mute = !audioMuted();
    setAudioMuted(currentSettings().mute);
    keepSoundSettings();
}

// A short tick at the new volume lets the player hear where it is.
void changeVolume(int step) {
    Settings& settings = currentSettings();
    settings.volume = std::clamp(settings.volume + step, 0, MAX_VOLUME);
    setAudioVolume(settings.volume);
    playSound(SOUND_MENU_MOVE);
    keepSoundSettings();
}

// Answers the keys that work the same on every screen; true when the event was one of them
// and must not reach the screen.
bool handledOnEveryScreen(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN)
        return false;
    switch (event.key.keysym.sym) {
        case SDLK_m:
            toggleMute();
            return true;
        case SDLK_MINUS:
        case SDLK_KP_MINUS:
            changeVolume(-VOLUME_STEP);
            return true;
        case SDLK_EQUALS:
        case SDLK_PLUS:
        case SDLK_KP_PLUS:
            changeVolume(VOLUME_STEP);
            return true;
        default:
            return false;
    }
}

}  // namespace

bool pollInput(SDL_Event& event) {
    while (SDL_PollEvent(&event))
        if (!handledOnEveryScreen(event))
            return true;
    return false;
}

SDL_Event waitForInput() {
    SDL_Event event;
    for (;;) {
        if (SDL_WaitEvent(&event) == 0) {
            event.type = SDL_QUIT;
            return event;
        }
        if (!handledOnEveryScreen(event))
            return event;
    }
}
