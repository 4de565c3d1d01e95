// Every screen reads its events here: a gamepad's moves arrive as the keys they stand for, and
// the keys that mean the same on every screen (sound, fullscreen) are handled on the way, so
// that no screen has to know them.
#pragma once

#include <SDL.h>

#include <vector>

// Whether the last focus loss that reached a screen took the keyboard from a window known to
// have held it: one that had a key pressed or gained the focus since the loss before. A window
// that never had the focus (one that some desktops report as losing it as soon as it opens)
// loses nothing.
bool focusLossWasReal();

// The next waiting event for a screen, if any.
bool pollInput(SDL_Event& event);
// Sleeps until the next event for a screen. A wait that fails can only mean that no event will
// ever come, so it reads as a close request.
SDL_Event waitForInput();

// The same for a window that reads every other key itself (the editor, where a level's name is
// typed): only the gamepad and the fullscreen keys are taken, and the first button stands for
// Return alone.
bool pollWindowInput(SDL_Event& event);
SDL_Event waitForWindowInput();

// A fullscreen switch (F11, Alt+Return) reaches the screen as an expose: draw everything again.

// The gamepad: SDL 1.2's first joystick, opened once at start-up (SDL 1.2 sees no joystick
// plugged in later). Its hat (the D-pad) and left stick are the arrows; of these buttons (the
// usual numbering of a pad with Start beside its face buttons) the first is Space and Return,
// the second Escape, Start is Return.
constexpr int GAMEPAD_FIRST_BUTTON = 0;
constexpr int GAMEPAD_SECOND_BUTTON = 1;
constexpr int GAMEPAD_START_BUTTON = 7;
// How far the stick must lean, of SDL's 32767 each way, before it counts as an arrow: a worn
// stick at rest reads well off zero.
constexpr int GAMEPAD_DEAD_ZONE = 8000;

// Opens the first joystick, if any; false when there is none.
bool openGamepad();

// The key presses and releases that a gamepad event stands for (none, one or two), in order.
// The game's first button is Space, which every menu takes as Return and the play screen as a
// shot; `firstButton` says otherwise. The pad's state is kept between calls.
void gamepadKeys(const SDL_Event& event, std::vector<SDL_Event>& keys,
                 SDLKey firstButton = SDLK_SPACE);
// Forgets what the pad held (the tests' fresh start).
void resetGamepad();
