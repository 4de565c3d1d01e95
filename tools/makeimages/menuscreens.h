// The menus' full-window pictures: the title, the instructions and the ship select.
#pragma once

#include <SDL.h>

namespace makeimages {

SDL_Surface* titleScreen();
SDL_Surface* instructionsScreen();
SDL_Surface* shipSelectScreen();

}  // namespace makeimages
