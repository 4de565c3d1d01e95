// The surface every picture is drawn on: 32-bit colour without alpha, read and written pixel by
// pixel, with the colour arithmetic the drawings share.
#pragma once

#include <SDL.h>

namespace makeimages {

struct Rgb {
    int r, g, b;
};

// Pure white is the game's transparent colour.
constexpr Uint32 TRANSPARENT = 0xFFFFFF;
// The brightest channel value an opaque pixel may have, so nothing opaque is ever pure white.
constexpr int BRIGHTEST = 250;

// A canvas pixel's value; channels outside 0..255 are clamped.
Uint32 pack(Rgb c);
Rgb unpack(Uint32 v);
// From a (t = 0) to b (t = 1).
Rgb mix(Rgb a, Rgb b, double t);
// The colour with no channel above BRIGHTEST.
Rgb capped(Rgb c);

SDL_Surface* newCanvas(int w, int h);
Uint32& pixel(SDL_Surface* s, int x, int y);
// Lays a colour over a pixel with the given opacity; pixels off the canvas are left alone.
void blendPixel(SDL_Surface* s, int x, int y, Rgb c, double alpha);

}  // namespace makeimages
