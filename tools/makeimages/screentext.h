// Lettering on the full-window screens: text with a soft shadow, big glowing headings, and
// lines of words and keys drawn as key caps.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

#include "canvas.h"

namespace makeimages {

enum class Align { Left, Centre };

// Text coverage as a grid of 0..1 values, read from SDL_ttf's blended rendering.
struct Mask {
    int w = 0, h = 0;
    std::vector<double> alpha;
};
Mask textMask(TTF_Font* font, const std::string& text);

int textWidth(TTF_Font* font, const std::string& text);
// Draws text with a soft shadow, centred on x or starting at it; returns the width drawn.
int text(SDL_Surface* s, TTF_Font* font, const std::string& str, int x, int y, Rgb colour,
         Align align = Align::Centre);
// Big heading: a vertical colour gradient over a blurred glow of the letters.
void heading(SDL_Surface* s, TTF_Font* font, const std::string& str, int centreX, int y, Rgb top,
             Rgb bottom, Rgb glow);
// A line of text and keys, with keys written in brackets: "[Return] next level".
// Returns the width; draws nothing when measuring.
int keyLine(SDL_Surface* s, int x, int y, const std::string& line, Align align = Align::Centre,
            int size = 22, bool measureOnly = false);

}  // namespace makeimages
