// The menus' markers, drawn over the menu pictures by the game: the title's selection outline
// and the ship select's bar, at the sizes the menus place them by.
#pragma once

#include <SDL.h>

namespace makeimages {

SDL_Surface* titleOutline();
SDL_Surface* shipSelectBar();

}  // namespace makeimages
