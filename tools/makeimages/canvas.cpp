// The surface every picture is drawn on, and the colour arithmetic the drawings share.
#include "canvas.h"

#include <algorithm>
#include <cmath>

#include "failure.h"

namespace makeimages {

Uint32 pack(Rgb c) {
    return (Uint32(std::clamp(c.r, 0, 255)) << 16) | (Uint32(std::clamp(c.g, 0, 255)) << 8) |
           Uint32(std::clamp(c.b, 0, 255));
}
Rgb unpack(Uint32 v) {
    return {int((v >> 16) & 255), int((v >> 8) & 255), int(v & 255)};
}
Rgb mix(Rgb a, Rgb b, double t) {
    auto channel = [t](int from, int to) { return int(std::lround(from + (to - from) * t)); };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}
Rgb capped(Rgb c) {
    return {std::min(c.r, BRIGHTEST), std::min(c.g, BRIGHTEST), std::min(c.b, BRIGHTEST)};
}

SDL_Surface* newCanvas(int w, int h) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    if (s == nullptr)
        fail("cannot make a canvas");
    return s;
}
Uint32& pixel(SDL_Surface* s, int x, int y) {
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x];
}
void blendPixel(SDL_Surface* s, int x, int y, Rgb c, double alpha) {
    if (x < 0 || y < 0 || x >= s->w || y >= s->h || alpha <= 0)
        return;
    Uint32& p = pixel(s, x, y);
    p = pack(mix(unpack(p), c, std::min(alpha, 1.0)));
}

}  // namespace makeimages
