// Every screen reads its events here: a gamepad's moves arrive as the keys they stand for, and
// the keys that mean the same on every screen (sound, fullscreen) are handled on the way, so
// that no screen has to know them.
#pragma once

#include <SDL.h>

// The next waiting event for a screen, if any.
bool pollInput(SDL_Event& event);
// Sleeps until the next event for a screen. A wait that fails can only mean that no event will
// ever come, so it reads as a close request.
SDL_Event waitForInput();
