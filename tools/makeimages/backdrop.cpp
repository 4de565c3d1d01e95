// The starry sky, the panels over it, and the dither for the 16-bit display.
#include "backdrop.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "canvas.h"
#include "dice.h"
#include "graphics.h"

namespace makeimages {

void starfield(SDL_Surface* s, unsigned seed, double brightness, int starCount) {
    Dice dice(seed);
    struct Cloud {
        double x, y, radius;
        Rgb colour;
    };
    std::vector<Cloud> clouds;
    const Rgb tints[] = {{26, 10, 40}, {6, 22, 40}, {30, 14, 22}};
    for (int i = 0; i < 4; ++i)
        clouds.push_back(
            {dice.between(100, 924), dice.between(80, 688), dice.between(180, 340), tints[i % 3]});
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            double t = double(y) / s->h;
            double r = 4 + 6 * t, g = 6 + 2 * t, b = 18 + 10 * t;
            for (const Cloud& c : clouds) {
                double d2 = ((x - c.x) * (x - c.x) + (y - c.y) * (y - c.y)) / (c.radius * c.radius);
                double w = std::exp(-2.5 * d2);
                r += c.colour.r * w;
                g += c.colour.g * w;
                b += c.colour.b * w;
            }
            pixel(s, x, y) = pack({int(r * brightness), int(g * brightness), int(b * brightness)});
        }
    const Rgb starTints[] = {{200, 210, 240}, {240, 226, 200}, {210, 220, 230}, {180, 200, 250}};
    for (int i = 0; i < starCount; ++i) {
        int x = dice.below(s->w), y = dice.below(s->h);
        double level = dice.unit();
        // Most stars are faint; one in ten is a little brighter and gets a small cross.
        double strength = level < 0.9 ? 0.2 + 0.35 * dice.unit() : 0.6 + 0.3 * dice.unit();
        Rgb tint = starTints[dice.below(4)];
        Rgb c = {int(tint.r * strength * brightness), int(tint.g * strength * brightness),
                 int(tint.b * strength * brightness)};
        blendPixel(s, x, y, c, 1.0);
        if (level >= 0.9)
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                blendPixel(s, x + dx, y + dy, c, 0.4);
    }
}

namespace {

void vignette(SDL_Surface* s) {
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            double dx = (x - s->w / 2.0) / (s->w / 2.0), dy = (y - s->h / 2.0) / (s->h / 2.0);
            double dark = std::clamp((dx * dx + dy * dy - 0.5) * 0.45, 0.0, 0.45);
            blendPixel(s, x, y, {0, 0, 0}, dark);
        }
}

}  // namespace

SDL_Surface* screenBase(unsigned seed) {
    SDL_Surface* s = newCanvas(SCREEN_WIDTH, SCREEN_HEIGHT);
    starfield(s, seed, 0.75, 700);
    vignette(s);
    return s;
}

void panel(SDL_Surface* s, int x0, int y0, int x1, int y1, int radius) {
    roundedBoxRGBA(s, Sint16(x0), Sint16(y0), Sint16(x1), Sint16(y1), Sint16(radius), 8, 12, 30,
                   190);
    roundedRectangleRGBA(s, Sint16(x0), Sint16(y0), Sint16(x1), Sint16(y1), Sint16(radius), 70, 92,
                         140, 255);
}

// Finishes a full-window picture. The game shows it at 16 bits per pixel, which keeps only the
// top 5 or 6 bits of each channel: an ordered dither spreads the lost bits, so the soft
// gradients of the sky do not turn into rings. No pixel may come out as the transparent white.
void finishScreen(SDL_Surface* s) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            Rgb c = unpack(pixel(s, x, y));
            int threshold = bayer[y % 4][x % 4];
            c = {c.r + threshold / 2, c.g + threshold / 4, c.b + threshold / 2};
            pixel(s, x, y) = pack(capped(c));
        }
}

SDL_Surface* spaceBackground() {
    SDL_Surface* s = newCanvas(SCREEN_WIDTH, SCREEN_HEIGHT);
    starfield(s, 5, 1.0, 900);
    finishScreen(s);
    return s;
}

}  // namespace makeimages
