// The paused game: the last frame dimmed under "Paused" and the keys to go on or leave. No
// frame runs while paused, so a recorded or replayed game stays the same frame for frame.
#pragma once

#include <SDL.h>

#include <vector>

// Whether an event pauses play: P, or the window losing the keyboard focus or being hidden
// after it held it (see focusLossWasReal).
bool pausesPlay(const SDL_Event& event);

// Shows the paused game over what the screen holds and waits: STATE_GAME when P goes on,
// STATE_TITLE when Escape or Q leaves, STATE_QUIT on a close request. Arrow keys released
// meanwhile are added to `released`, for the play screen to take before its next frame, so that
// a ship does not go on moving after its key was let go.
int runPause(std::vector<SDL_Event>& released);
