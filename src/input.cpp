// Events on their way to the screens: the keys of every screen are taken here, and a
// gamepad's events become keys.
#include "input.h"

#include <algorithm>
#include <deque>
#include <iostream>
#include <string>
#include <vector>

#include "audio.h"
#include "graphics.h"
#include "settings.h"

namespace {

// Whether the window is known to hold the keyboard, and whether it did when it last lost it.
bool keyboardHeld = false;
bool lastLossWasReal = false;

void noteFocus(const SDL_Event& event) {
    if (event.type == SDL_KEYDOWN) {
        keyboardHeld = true;
    } else if (event.type == SDL_ACTIVEEVENT &&
               (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)) != 0) {
        if (event.active.gain != 0) {
            keyboardHeld = true;
        } else {
            lastLossWasReal = keyboardHeld;
            keyboardHeld = false;
        }
    }
}

// Events made from the gamepad's, waiting for the screen to read them.
std::deque<SDL_Event> translated;

// Where the pad points along one axis: -1, 0 or 1, from the hat and from the stick. The hat
// rules while it is pressed; the arrow shown is the one the screen has been told of.
struct PadAxis {
    int hat = 0;
    int stick = 0;
    int told = 0;
    SDLKey negative;
    SDLKey positive;
};
PadAxis across{0, 0, 0, SDLK_LEFT, SDLK_RIGHT};
PadAxis upDown{0, 0, 0, SDLK_UP, SDLK_DOWN};

SDL_Event keyEvent(bool press, SDLKey key) {
    SDL_Event event = {};
    event.type = press ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = press ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    return event;
}

// Tells the screen when the axis has come to point elsewhere: a release of the old arrow, then
// a press of the new one.
void tell(PadAxis& axis, std::vector<SDL_Event>& keys) {
    const int now = axis.hat != 0 ? axis.hat : axis.stick;
    if (now == axis.told)
        return;
    if (axis.told != 0)
        keys.push_back(keyEvent(false, axis.told < 0 ? axis.negative : axis.positive));
    if (now != 0)
        keys.push_back(keyEvent(true, now < 0 ? axis.negative : axis.positive));
    axis.told = now;
}

int stickDirection(Sint16 value) {
    return value < -GAMEPAD_DEAD_ZONE ? -1 : value > GAMEPAD_DEAD_ZONE ? 1 : 0;
}

void toggleFullscreen() {
    if (!setFullscreen(!isFullscreen()))
        std::cerr << "skarlume: cannot switch to " << (isFullscreen() ? "a window" : "fullscreen")
                  << ": " << SDL_GetError() << std::endl;
    currentSettings().fullscreen = isFullscreen();
    std::string error;
    if (!saveSettings(currentSettings(), error))
        std::cerr << "skarlume: the fullscreen choice is not kept: " << error << std::endl;
}

bool isFullscreenKey(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN)
        return false;
    const SDLKey key = event.key.keysym.sym;
    return key == SDLK_F11 || (key == SDLK_RETURN && (event.key.keysym.mod & KMOD_ALT) != 0);
}

// What every window does with an event before its screen sees it. A fullscreen switch reaches
// the screen as an expose, so that it draws everything at once.
void takeWindowKeys(SDL_Event& event) {
    if (isFullscreenKey(event)) {
        toggleFullscreen();
        event = SDL_Event();
        event.type = SDL_VIDEOEXPOSE;
    } else if (event.type == SDL_VIDEOEXPOSE) {
        screenLost();
    }
}

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

bool isGamepadEvent(const SDL_Event& event) {
    return event.type == SDL_JOYAXISMOTION || event.type == SDL_JOYHATMOTION ||
           event.type == SDL_JOYBUTTONDOWN || event.type == SDL_JOYBUTTONUP ||
           event.type == SDL_JOYBALLMOTION;
}

// The next event for a screen from the waiting ones, SDL's and the gamepad's; false when none
// waits and `wait` is false.
bool nextEvent(SDL_Event& event, bool wait, bool gameKeys) {
    for (;;) {
        if (!translated.empty()) {
            event = translated.front();
            translated.pop_front();
        } else if (wait) {
            if (SDL_WaitEvent(&event) == 0) {
                event = SDL_Event();
                event.type = SDL_QUIT;
                return true;
            }
        } else if (!SDL_PollEvent(&event)) {
            return false;
        }
        if (isGamepadEvent(event)) {
            std::vector<SDL_Event> keys;
            gamepadKeys(event, keys, gameKeys ? SDLK_SPACE : SDLK_RETURN);
            translated.insert(translated.end(), keys.begin(), keys.end());
            continue;
        }
        takeWindowKeys(event);
        noteFocus(event);
        if (!gameKeys || !handledOnEveryScreen(event))
            return true;
    }
}

}  // namespace

bool focusLossWasReal() {
    return lastLossWasReal;
}

bool pollInput(SDL_Event& event) {
    return nextEvent(event, false, true);
}

SDL_Event waitForInput() {
    SDL_Event event;
    nextEvent(event, true, true);
    return event;
}

bool pollWindowInput(SDL_Event& event) {
    return nextEvent(event, false, false);
}

SDL_Event waitForWindowInput() {
    SDL_Event event;
    nextEvent(event, true, false);
    return event;
}

bool openGamepad() {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0 || SDL_NumJoysticks() < 1)
        return false;
    if (SDL_JoystickOpen(0) == nullptr)
        return false;
    SDL_JoystickEventState(SDL_ENABLE);
    return true;
}

void gamepadKeys(const SDL_Event& event, std::vector<SDL_Event>& keys, SDLKey firstButton) {
    switch (event.type) {
        case SDL_JOYHATMOTION:
            if (event.jhat.hat != 0)
                return;
            across.hat = (event.jhat.value & SDL_HAT_LEFT)    ? -1
                         : (event.jhat.value & SDL_HAT_RIGHT) ? 1
                                                              : 0;
            upDown.hat = (event.jhat.value & SDL_HAT_UP)     ? -1
                         : (event.jhat.value & SDL_HAT_DOWN) ? 1
                                                             : 0;
            tell(across, keys);
            tell(upDown, keys);
            return;
        case SDL_JOYAXISMOTION:
            if (event.jaxis.axis == 0) {
                across.stick = stickDirection(event.jaxis.value);
                tell(across, keys);
            } else if (event.jaxis.axis == 1) {
                upDown.stick = stickDirection(event.jaxis.value);
                tell(upDown, keys);
            }
            return;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP: {
            const bool press = event.type == SDL_JOYBUTTONDOWN;
            if (event.jbutton.button == GAMEPAD_FIRST_BUTTON)
                keys.push_back(keyEvent(press, firstButton));
            else if (event.jbutton.button == GAMEPAD_SECOND_BUTTON)
                keys.push_back(keyEvent(press, SDLK_ESCAPE));
            else if (event.jbutton.button == GAMEPAD_START_BUTTON)
                keys.push_back(keyEvent(press, SDLK_RETURN));
            return;
        }
        default:
            return;
    }
}

void resetGamepad() {
    translated.clear();
    across.hat = across.stick = across.told = 0;
    upDown.hat = upDown.stick = upDown.told = 0;
}
