// The still screens' full-window pictures: level complete, ship lost, game over and the
// credits.
#pragma once

#include <SDL.h>

namespace makeimages {

SDL_Surface* levelCompleteScreen();
SDL_Surface* levelLoseScreen();
SDL_Surface* gameOverScreen();
SDL_Surface* creditsScreen();

}  // namespace makeimages
