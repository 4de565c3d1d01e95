// The lasers, the wall pieces and the sides of a ship area's outline, set pixel by pixel.
#include "pieces.h"

#include <algorithm>

namespace makeimages {

namespace {

// A laser 4 wide and 16 long pointing up; `head` marks the leading end.
SDL_Surface* laserPicture(Rgb edge, Rgb core, Rgb head, bool pointed) {
    SDL_Surface* s = newCanvas(4, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 4; ++x) {
            bool centre = x == 1 || x == 2;
            Rgb c = centre ? core : edge;
            if (pointed && y < 2)
                c = centre ? head : mix(edge, head, 0.5);
            if (pointed && y >= 13)
                c = mix(c, edge, 0.35 * (y - 12));
            pixel(s, x, y) = pack(capped(c));
        }
    return s;
}

}  // namespace

SDL_Surface* playerLaser() {
    return laserPicture(PLAYER_LASER_EDGE, PLAYER_LASER_CORE, {236, 255, 240}, true);
}
// Enemy lasers fly both ways with one picture, so they are the same at both ends.
SDL_Surface* enemyLaser() {
    return laserPicture({226, 64, 24}, {255, 196, 96}, {255, 196, 96}, false);
}

Rgb wallShade(double t) {
    static const Rgb stops[] = {{80, 86, 104},   {204, 210, 222}, {174, 180, 194}, {156, 162, 178},
                                {142, 148, 164}, {124, 130, 146}, {96, 102, 118},  {62, 66, 80}};
    return stops[std::clamp(int(t * 8), 0, 7)];
}

void drawLegendWall(Pen& pen) {
    for (int band = 0; band < 8; ++band)
        pen.line({4.0 + band * 0.7, 1.0 - band * 0.7}, {39.0 + band * 0.7, 36.0 - band * 0.7}, 1.4,
                 wallShade((7 - band + 0.5) / 8));
}

// Straight wall piece; it tiles along its length, so its colour changes only across it.
SDL_Surface* straightWall(bool vertical) {
    const int thickness = 8, length = 64;
    SDL_Surface* s = vertical ? newCanvas(thickness, length) : newCanvas(length, thickness);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            int across = vertical ? x : y;
            pixel(s, x, y) = pack(wallShade((across + 0.5) / thickness));
        }
    return s;
}

// Diagonal wall piece, 24 by 24: a 45-degree band whose copies are laid 18 pixels apart along
// the line. The band covers exactly the points where the wall stops a laser (within 6 pixels of
// the line, measured along y); it is narrow enough that the corners cut off by one copy are
// covered by the next, and its colour depends only on the distance across, so copies join up.
SDL_Surface* diagonalWall(bool rising) {
    const int size = 24, halfBand = 5;
    SDL_Surface* s = newCanvas(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // `across` counts from the band's upper edge, 0 to 2 * halfBand.
            int across = rising ? (x + y) - (size - halfBand) : halfBand - (x - y);
            bool inBand = across >= 0 && across <= 2 * halfBand;
            pixel(s, x, y) =
                inBand ? pack(wallShade((across + 0.5) / (2 * halfBand + 1))) : TRANSPARENT;
        }
    return s;
}

SDL_Surface* wallBlock() {
    const int size = 24;
    SDL_Surface* s = newCanvas(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int edge = std::min({x, y, size - 1 - x, size - 1 - y});
            Rgb c = wallShade(0.45);
            if (edge < 2)
                c = (x + y < size - 1) ? wallShade(0.15) : wallShade(0.95);
            if (edge >= 2 && edge < 3)
                c = wallShade(0.8);
            pixel(s, x, y) = pack(c);
        }
    return s;
}

// One side of a ship area's outline: 3 pixels thick, a dim teal that reads on the starfield.
SDL_Surface* boundsPiece(bool vertical) {
    const int length = 64;
    SDL_Surface* s = vertical ? newCanvas(3, length) : newCanvas(length, 3);
    const Rgb edge = {34, 92, 112}, centre = {82, 168, 186};
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            pixel(s, x, y) = pack((vertical ? x : y) == 1 ? centre : edge);
    return s;
}

}  // namespace makeimages
