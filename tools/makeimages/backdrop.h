// What lies behind the full-window screens: the starry sky, its darkened corners, the panels
// that set text off it, and the dither that readies a screen for the 16-bit display.
#pragma once

#include <SDL.h>

namespace makeimages {

// The space behind everything: a dark gradient, faint nebulae and dim stars, never white.
void starfield(SDL_Surface* s, unsigned seed, double brightness, int starCount);
// A new full-window screen: a dimmed starfield with darkened corners.
SDL_Surface* screenBase(unsigned seed);
// A translucent dark panel with a thin border, to set text off the starfield.
void panel(SDL_Surface* s, int x0, int y0, int x1, int y1, int radius = 14);
// Dithers a finished full-window picture for the 16-bit display.
void finishScreen(SDL_Surface* s);
// The sky behind a level.
SDL_Surface* spaceBackground();

}  // namespace makeimages
