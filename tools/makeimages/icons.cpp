// The menu entry's icon. It is drawn once, large, and shrunk to each size so that small icons
// stay smooth, and saved as PNG with an alpha channel.
#include "icons.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "backdrop.h"
#include "canvas.h"
#include "dice.h"
#include "enemies.h"
#include "files.h"
#include "pen.h"
#include "pieces.h"
#include "pngfile.h"
#include "raster.h"
#include "ships.h"

namespace makeimages {

namespace {

constexpr int ICON_UNITS = 256;  // the design's coordinates span the icon
constexpr int ICON_DETAIL = 4;   // pixels of the large drawing per design unit
constexpr int ICON_LARGE = ICON_UNITS * ICON_DETAIL;
constexpr int ICON_SIZES[] = {48, 128, 256};

// Whether a pixel of the large drawing lies inside the icon's rounded square.
bool insideIconSquare(int x, int y) {
    const double margin = 6, radius = 36, low = margin + radius, high = ICON_UNITS - low;
    double u = (x + 0.5) / ICON_DETAIL, v = (y + 0.5) / ICON_DETAIL;
    if (u < margin || v < margin || u > ICON_UNITS - margin || v > ICON_UNITS - margin)
        return false;
    double dx = std::max({low - u, 0.0, u - high}), dy = std::max({low - v, 0.0, v - high});
    return dx * dx + dy * dy <= radius * radius;
}

SDL_Surface* iconDrawing() {
    SDL_Surface* s = newCanvas(ICON_LARGE, ICON_LARGE);
    starfield(s, 3, 1.4, 0);
    Pen pen(s, ICON_DETAIL, ICON_UNITS / 2.0);
    Dice dice(5);
    for (int i = 0; i < 36; ++i) {
        int shade = 120 + dice.below(100);
        pen.circle({dice.between(10, 246), dice.between(10, 246)}, dice.between(0.5, 1.3),
                   {shade, shade, std::min(255, shade + 30)});
    }
    // The shot: up from the ship's nose to the wall, then across to the crate.
    const Vec nose = {106, 112}, bounce = {106, 64}, target = {190, 64};
    for (auto [width, colour] : {std::pair{8.0, PLAYER_LASER_EDGE}, {3.5, PLAYER_LASER_CORE}}) {
        pen.line(nose, bounce, width, colour);
        pen.line(bounce, target, width, colour);
    }
    // A wall rising to the right through the bounce, in the bands of the game's walls.
    const Vec from = {82, 88}, to = {148, 22};
    for (int band = 0; band < 8; ++band) {
        double across = (band - 3.5) * 1.6;
        pen.line({from.x + across, from.y + across}, {to.x + across, to.y + across}, 1.8,
                 wallShade((band + 0.5) / 8));
    }
    composite(s, enemyPicture(drawCrate, CRATE_RIM, 6), 168 * ICON_DETAIL, 27 * ICON_DETAIL);
    composite(s, shipPicture(0, 9), 50 * ICON_DETAIL, 110 * ICON_DETAIL);
    return s;
}

// The drawing shrunk to size by size pixels, as 8-bit RGBA rows: each pixel is the average of
// the block of large pixels it covers, colour weighted by how much of the block is inside.
std::vector<Uint8> shrunkIcon(SDL_Surface* large, int size) {
    std::vector<Uint8> rgba;
    rgba.reserve(size_t(size * size * 4));
    auto edge = [size](int i) { return i * ICON_LARGE / size; };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0;
            int inside = 0, all = 0;
            for (int ly = edge(y); ly < edge(y + 1); ++ly)
                for (int lx = edge(x); lx < edge(x + 1); ++lx, ++all) {
                    if (!insideIconSquare(lx, ly))
                        continue;
                    Rgb c = unpack(pixel(large, lx, ly));
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    ++inside;
                }
            double n = std::max(inside, 1);
            for (double channel : {r / n, g / n, b / n, 255.0 * inside / all})
                rgba.push_back(Uint8(std::lround(channel)));
        }
    return rgba;
}

}  // namespace

void drawIcons(const std::string& dir) {
    makeDirectories(dir);
    SDL_Surface* large = iconDrawing();
    for (int size : ICON_SIZES)
        writeFile(dir + "/skarlume-" + std::to_string(size) + ".png",
                  pngFile(size, size, shrunkIcon(large, size)));
    SDL_FreeSurface(large);
}

}  // namespace makeimages
