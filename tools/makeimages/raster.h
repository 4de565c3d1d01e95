// Sprites drawn smooth and saved hard-edged: a design is drawn several times larger, every
// block of the large drawing becomes one pixel, and a darker rim follows the silhouette. Also
// the turns and flips that make one drawing serve several directions.
#pragma once

#include <SDL.h>

#include <functional>
#include <vector>

#include "canvas.h"
#include "pen.h"

namespace makeimages {

// Sprites are drawn this many times larger, then every block becomes one pixel: a pixel is
// opaque when at least half of its block is covered, so silhouettes stay hard-edged.
constexpr int SUPERSAMPLE = 4;
constexpr int FULL_COVER = SUPERSAMPLE * SUPERSAMPLE;
// Canvas colour that no drawing uses: where it survives, the sprite is transparent. A design
// paints with ERASE to cut a hole.
constexpr Uint32 EMPTY = 0xFF00FF;
const Rgb ERASE = {255, 0, 255};

// A drawn sprite: the colour of every pixel and how much of it the drawing covered.
struct Picture {
    int w = 0, h = 0;
    std::vector<Rgb> colour;
    std::vector<int> cover;  // 0 to FULL_COVER samples
    bool solid(int x, int y) const {
        return x >= 0 && y >= 0 && x < w && y < h && cover[y * w + x] * 2 >= FULL_COVER;
    }
};

using Design = std::function<void(Pen&)>;

// Draws a design of w by h picture pixels at `scale` output pixels per picture pixel, with a
// darker rim of `scale` pixels along the silhouette so it reads on any background.
Picture render(int w, int h, int scale, const Design& design, Rgb rim);
// The sprite as the game loads it: opaque pixels capped below white, the rest pure white.
SDL_Surface* toSprite(const Picture& pic);
// Lays a picture onto an opaque screen, blending its edge by coverage.
void composite(SDL_Surface* screen, const Picture& pic, int left, int top);
// A copy of a sprite turned a quarter turn clockwise, `turns` times.
SDL_Surface* rotated(SDL_Surface* src, int turns);
SDL_Surface* flippedVertically(SDL_Surface* src);

}  // namespace makeimages
