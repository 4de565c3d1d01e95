// Draws every picture of the game (ships, enemies, lasers, walls and the full-window screens)
// and writes each as a 16-bit BMP under its registry name; the same bytes on every run. Given
// a second directory, it also draws the menu entry's icons there, as PNG files.
#include <SDL.h>
#include <SDL_gfxPrimitives.h>
#include <SDL_ttf.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "glyphsheet.h"
#include "graphics.h"

namespace {

const char* const REGULAR_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const BOLD_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// Sprites are drawn this many times larger, then every block becomes one pixel: a pixel is
// opaque when at least half of its block is covered, so silhouettes stay hard-edged.
constexpr int SUPERSAMPLE = 4;
constexpr int FULL_COVER = SUPERSAMPLE * SUPERSAMPLE;
// Canvas colour that no drawing uses: where it survives, the sprite is transparent.
constexpr Uint32 EMPTY = 0xFF00FF;
// Pure white is the game's transparent colour.
constexpr Uint32 TRANSPARENT = 0xFFFFFF;
// The brightest channel value an opaque pixel may have, so nothing opaque is ever pure white.
constexpr int BRIGHTEST = 250;

struct Rgb {
    int r, g, b;
};
const Rgb ERASE = {255, 0, 255};

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

[[noreturn]] void fail(const std::string& what) {
    fprintf(stderr, "makeimages: %s: %s\n", what.c_str(), SDL_GetError());
    exit(1);
}

// A 32-bit surface without alpha: what every picture is drawn on before it is saved.
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

// Deterministic random numbers: a fixed seed and only the engine's raw output.
class Dice {
public:
    explicit Dice(unsigned seed) : engine(seed) {}
    int below(int n) { return int(engine() % unsigned(n)); }
    double unit() { return double(engine() >> 8) / double(1u << 24); }
    double between(double low, double high) { return low + (high - low) * unit(); }

private:
    std::mt19937 engine;
};

struct Vec {
    double x, y;
};

// Draws shapes given in picture pixels onto a canvas `factor` times larger.
class Pen {
public:
    Pen(SDL_Surface* canvas, double factor, double mirrorAxis)
        : canvas(canvas), factor(factor), axis(mirrorAxis) {}

    void polygon(const std::vector<Vec>& points, Rgb c) {
        std::vector<Sint16> xs, ys;
        for (const Vec& p : points) {
            xs.push_back(at(p.x));
            ys.push_back(at(p.y));
        }
        filledPolygonRGBA(canvas, xs.data(), ys.data(), int(points.size()), Uint8(c.r), Uint8(c.g),
                          Uint8(c.b), 255);
    }
    // The polygon and its mirror image across the picture's vertical centre line.
    void mirrored(const std::vector<Vec>& points, Rgb c) { mirrored(points, c, c); }
    void mirrored(const std::vector<Vec>& points, Rgb left, Rgb right) {
        polygon(points, left);
        polygon(mirror(points), right);
    }
    void ellipse(Vec centre, double rx, double ry, Rgb c) {
        filledEllipseRGBA(canvas, at(centre.x), at(centre.y), at(rx), at(ry), Uint8(c.r),
                          Uint8(c.g), Uint8(c.b), 255);
    }
    void circle(Vec centre, double r, Rgb c) { ellipse(centre, r, r, c); }
    void box(double x0, double y0, double x1, double y1, Rgb c) {
        boxRGBA(canvas, at(x0), at(y0), Sint16(at(x1) - 1), Sint16(at(y1) - 1), Uint8(c.r),
                Uint8(c.g), Uint8(c.b), 255);
    }
    void mirroredBox(double x0, double y0, double x1, double y1, Rgb c) {
        box(x0, y0, x1, y1, c);
        box(2 * axis - x1, y0, 2 * axis - x0, y1, c);
    }
    void roundedBox(double x0, double y0, double x1, double y1, double radius, Rgb c) {
        roundedBoxRGBA(canvas, at(x0), at(y0), Sint16(at(x1) - 1), Sint16(at(y1) - 1), at(radius),
                       Uint8(c.r), Uint8(c.g), Uint8(c.b), 255);
    }
    // A straight stroke of the given width between two points.
    void line(Vec a, Vec b, double width, Rgb c) {
        double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
        double nx = -dy / length * width / 2, ny = dx / length * width / 2;
        polygon({{a.x + nx, a.y + ny},
                 {b.x + nx, b.y + ny},
                 {b.x - nx, b.y - ny},
                 {a.x - nx, a.y - ny}},
                c);
    }

private:
    Sint16 at(double v) const { return Sint16(std::lround(v * factor)); }
    std::vector<Vec> mirror(std::vector<Vec> points) const {
        for (Vec& p : points)
            p.x = 2 * axis - p.x;
        return points;
    }
    SDL_Surface* canvas;
    double factor;
    double axis;
};

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
Picture render(int w, int h, int scale, const Design& design, Rgb rim) {
    const int factor = scale * SUPERSAMPLE;
    SDL_Surface* canvas = newCanvas(w * factor, h * factor);
    SDL_FillRect(canvas, nullptr, EMPTY);
    Pen pen(canvas, factor, w / 2.0);
    design(pen);

    Picture pic;
    pic.w = w * scale;
    pic.h = h * scale;
    pic.colour.resize(size_t(pic.w * pic.h));
    pic.cover.resize(size_t(pic.w * pic.h));
    for (int y = 0; y < pic.h; ++y)
        for (int x = 0; x < pic.w; ++x) {
            int count = 0, r = 0, g = 0, b = 0;
            for (int j = 0; j < SUPERSAMPLE; ++j)
                for (int i = 0; i < SUPERSAMPLE; ++i) {
                    Uint32 v = pixel(canvas, x * SUPERSAMPLE + i, y * SUPERSAMPLE + j);
                    if (v == EMPTY)
                        continue;
                    Rgb c = unpack(v);
                    ++count;
                    r += c.r;
                    g += c.g;
                    b += c.b;
                }
            size_t k = size_t(y * pic.w + x);
            pic.cover[k] = count;
            pic.colour[k] = count ? Rgb{r / count, g / count, b / count} : Rgb{0, 0, 0};
        }
    SDL_FreeSurface(canvas);

    // Rim: solid pixels within `scale` steps of the outside, and the partly covered ones.
    std::vector<int> distance(pic.colour.size(), 0);
    for (int y = 0; y < pic.h; ++y)
        for (int x = 0; x < pic.w; ++x)
            distance[size_t(y * pic.w + x)] = pic.solid(x, y) ? 1 << 20 : 0;
    for (int pass = 1; pass <= scale; ++pass)
        for (int y = 0; y < pic.h; ++y)
            for (int x = 0; x < pic.w; ++x) {
                size_t k = size_t(y * pic.w + x);
                if (distance[k] <= pass)
                    continue;
                const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
                for (int n = 0; n < 4; ++n) {
                    int nx = x + dx[n], ny = y + dy[n];
                    bool outside = nx < 0 || ny < 0 || nx >= pic.w || ny >= pic.h ||
                                   distance[size_t(ny * pic.w + nx)] < pass;
                    if (outside)
                        distance[k] = pass;
                }
            }
    for (size_t k = 0; k < distance.size(); ++k) {
        if (pic.cover[k] == 0)
            continue;
        if (distance[k] <= scale)
            pic.colour[k] = mix(pic.colour[k], rim, 0.5);
    }
    return pic;
}

// The sprite as the game loads it: opaque pixels capped below white, the rest pure white.
SDL_Surface* toSprite(const Picture& pic) {
    SDL_Surface* s = newCanvas(pic.w, pic.h);
    for (int y = 0; y < pic.h; ++y)
        for (int x = 0; x < pic.w; ++x)
            pixel(s, x, y) =
                pic.solid(x, y) ? pack(capped(pic.colour[size_t(y * pic.w + x)])) : TRANSPARENT;
    return s;
}

// Lays a picture onto an opaque screen, blending its edge by coverage.
void composite(SDL_Surface* screen, const Picture& pic, int left, int top) {
    for (int y = 0; y < pic.h; ++y)
        for (int x = 0; x < pic.w; ++x) {
            size_t k = size_t(y * pic.w + x);
            blendPixel(screen, left + x, top + y, pic.colour[k], double(pic.cover[k]) / FULL_COVER);
        }
}

// Turns a sprite a quarter turn clockwise, `turns` times.
SDL_Surface* rotated(SDL_Surface* src, int turns) {
    SDL_Surface* cur = newCanvas(src->w, src->h);
    SDL_BlitSurface(src, nullptr, cur, nullptr);
    for (int t = 0; t < turns; ++t) {
        SDL_Surface* next = newCanvas(cur->h, cur->w);
        for (int y = 0; y < cur->h; ++y)
            for (int x = 0; x < cur->w; ++x)
                pixel(next, cur->h - 1 - y, x) = pixel(cur, x, y);
        SDL_FreeSurface(cur);
        cur = next;
    }
    return cur;
}

// ---------------------------------------------------------------------------------------------
// Player ships: 50 by 60, nose up. The hit box (15..35, 20..40) lies on every hull.

const Rgb SHIP_RIM = {14, 18, 38};

void drawDart(Pen& pen) {
    const Rgb hullLit = {196, 206, 226}, hullShade = {142, 154, 182};
    const Rgb blue = {52, 112, 222}, blueDeep = {32, 72, 164}, metal = {92, 98, 116};
    pen.mirrored({{17, 26}, {2, 43}, {2, 52}, {17, 48}}, blue, blueDeep);
    pen.mirrored({{17, 44}, {2, 50}, {2, 52}, {17, 48}}, blueDeep);
    pen.mirroredBox(1, 34, 5, 50, metal);
    pen.mirroredBox(2, 31, 4, 35, {170, 176, 192});
    pen.mirroredBox(18, 50, 23, 56, metal);
    pen.mirrored({{18.5, 56}, {22.5, 56}, {20.5, 60}}, {255, 168, 60});
    pen.mirrored({{19.5, 56}, {21.5, 56}, {20.5, 58.5}}, {255, 232, 150});
    pen.mirrored({{25, 1}, {19, 10}, {13.5, 19}, {13, 44}, {17, 52}, {25, 55}}, hullLit, hullShade);
    pen.mirrored({{25, 30}, {14, 37}, {14, 41}, {25, 34}}, blue, blueDeep);
    pen.mirrored({{25, 1}, {22.5, 7}, {25, 7}}, blue, blueDeep);
    pen.box(24.3, 34, 25.7, 50, {120, 130, 158});
    pen.ellipse({25, 20}, 4.2, 7.5, {40, 120, 170});
    pen.ellipse({25, 19.5}, 3.2, 6.2, {90, 206, 244});
    pen.ellipse({23.8, 17}, 1.2, 2.6, {214, 244, 250});
}

void drawHornet(Pen& pen) {
    const Rgb green = {98, 178, 98}, greenShade = {62, 128, 74}, boom = {58, 112, 72};
    const Rgb yellow = {238, 198, 62}, yellowShade = {186, 146, 42}, metal = {92, 96, 110};
    pen.mirroredBox(4, 52, 12, 57, metal);
    pen.mirrored({{5, 57}, {11, 57}, {8, 60}}, {255, 168, 60});
    pen.mirrored({{10, 26}, {25, 24}, {25, 42}, {10, 44}}, yellow, yellowShade);
    pen.mirrored({{10, 40}, {25, 39}, {25, 42}, {10, 44}}, yellowShade);
    pen.roundedBox(3, 14, 13, 54, 4, boom);
    pen.roundedBox(37, 14, 47, 54, 4, boom);
    pen.mirrored({{3, 18}, {8, 6}, {13, 18}}, yellow, yellowShade);
    pen.mirroredBox(3, 30, 13, 33, yellow);
    pen.mirroredBox(3, 38, 13, 41, yellow);
    pen.mirroredBox(3, 46, 13, 49, yellow);
    pen.mirroredBox(7.5, 2, 8.5, 8, {150, 150, 160});
    pen.mirrored({{25, 3}, {18, 10}, {13.5, 18}, {13.5, 48}, {19, 55}, {25, 57}}, green,
                 greenShade);
    pen.mirrored({{25, 32}, {14, 34}, {14, 37}, {25, 35}}, yellow, yellowShade);
    pen.mirrored({{25, 42}, {14, 44}, {14, 47}, {25, 45}}, yellow, yellowShade);
    pen.ellipse({25, 18}, 5.5, 7, {28, 70, 80});
    pen.ellipse({25, 17.5}, 4.4, 5.8, {60, 150, 160});
    pen.ellipse({23.5, 15.5}, 1.4, 2.4, {190, 240, 236});
}

void drawWarden(Pen& pen) {
    const Rgb purple = {158, 100, 216}, purpleShade = {100, 64, 160}, ridge = {124, 82, 186};
    const Rgb pink = {240, 112, 192}, gold = {240, 200, 90};
    pen.mirrored({{25, 2}, {25, 50}, {10, 56}, {2, 51}, {2, 44}, {17, 14}}, purple, purpleShade);
    pen.mirrored({{18.5, 18}, {5, 44}, {8, 44}, {20.5, 22}}, pink, {200, 84, 160});
    pen.mirroredBox(1.5, 43, 5, 52, gold);
    pen.mirrored({{25, 4}, {29.5, 14}, {30.5, 48}, {25, 53}}, ridge, {104, 68, 164});
    pen.mirrored({{25, 13}, {29.5, 22}, {25, 29}}, {34, 22, 66});
    pen.mirrored({{24.5, 15}, {22, 21}, {23.5, 21}}, {176, 156, 244});
    pen.mirrored({{25, 34}, {20.5, 40}, {25, 38}}, gold, {196, 158, 64});
    pen.ellipse({25, 54}, 3.2, 4.2, pink);
    pen.ellipse({25, 55}, 1.6, 2.6, {255, 214, 236});
    pen.mirrored({{12, 55}, {16, 55}, {14, 59.5}}, pink);
}

const Design SHIP_DESIGNS[3] = {drawDart, drawHornet, drawWarden};
const char* const SHIP_NAMES[3] = {"Dart", "Hornet", "Warden"};

// ---------------------------------------------------------------------------------------------
// Enemies and the crate: 50 by 50, drawn facing up and turned for the other directions.

void drawForwardShooter(Pen& pen) {
    const Rgb red = {210, 50, 60}, redShade = {140, 30, 44}, plate = {92, 80, 96};
    pen.mirrored({{25, 3}, {25, 48}, {4, 48}}, red, redShade);
    pen.mirrored({{25, 42}, {25, 48}, {4, 48}, {7, 42}}, plate, {66, 58, 72});
    pen.mirrored({{9, 42}, {1, 49}, {8, 49}}, plate, {66, 58, 72});
    pen.mirrored({{25, 15}, {25, 40}, {13, 40}}, {120, 24, 36}, {96, 18, 30});
    pen.mirrored({{25, 8}, {25, 14}, {21.5, 16}}, {244, 120, 110}, {190, 70, 70});
    pen.circle({25, 31}, 5.5, {255, 150, 50});
    pen.circle({25, 31}, 3, {255, 236, 160});
    pen.box(22.5, 0, 27.5, 13, {126, 126, 142});
    pen.box(24.5, 2, 27.5, 13, {90, 90, 104});
    pen.box(22, 0, 28, 2.5, {64, 64, 76});
}

void drawDualShooter(Pen& pen) {
    const Rgb amber = {228, 148, 54}, amberShade = {164, 94, 36}, metal = {104, 98, 112};
    pen.mirrored({{1, 25}, {21, 1}, {21, 49}}, amberShade, {132, 74, 30});
    pen.mirrored({{6, 25}, {19, 8}, {19, 42}}, amber, {196, 120, 44});
    pen.box(22, 0, 28, 12, metal);
    pen.box(22, 38, 28, 50, metal);
    pen.box(25, 0, 28, 12, {76, 72, 86});
    pen.box(25, 38, 28, 50, {76, 72, 86});
    pen.box(21.5, 0, 28.5, 2.5, {60, 56, 70});
    pen.box(21.5, 47.5, 28.5, 50, {60, 56, 70});
    pen.roundedBox(13.5, 8, 36.5, 42, 5, amber);
    pen.roundedBox(25, 8, 36.5, 42, 5, {200, 124, 44});
    pen.roundedBox(17, 12, 33, 38, 3, {112, 62, 30});
    pen.circle({25, 25}, 6, {232, 60, 48});
    pen.circle({25, 25}, 3.2, {255, 196, 150});
}

void drawCrate(Pen& pen) {
    const Rgb wood = {152, 102, 54}, woodDark = {104, 66, 34}, woodLit = {186, 136, 80};
    const Rgb metal = {128, 132, 140}, bolt = {196, 200, 208};
    pen.box(1, 1, 49, 49, woodDark);
    pen.box(2, 2, 48, 48, wood);
    for (double y : {12.5, 24.5, 36.5})
        pen.box(2, y, 48, y + 1, woodDark);
    pen.box(2, 2, 48, 3.5, woodLit);
    pen.box(2, 2, 3.5, 48, woodLit);
    pen.line({4, 4}, {16, 16}, 3.2, woodDark);
    pen.line({46, 4}, {34, 16}, 3.2, woodDark);
    pen.line({4, 46}, {16, 34}, 3.2, woodDark);
    pen.line({46, 46}, {34, 34}, 3.2, woodDark);
    for (auto [cx, cy] : {std::pair{1.0, 1.0}, {37.0, 1.0}, {1.0, 37.0}, {37.0, 37.0}}) {
        double sx = cx < 25 ? 1 : -1, sy = cy < 25 ? 1 : -1;
        double x0 = cx < 25 ? 1 : 37, y0 = cy < 25 ? 1 : 37;
        pen.box(x0, y0, x0 + 12, y0 + 12, metal);
        pen.box(x0 + (sx > 0 ? 4 : 0), y0 + (sy > 0 ? 4 : 0), x0 + (sx > 0 ? 12 : 8),
                y0 + (sy > 0 ? 12 : 8), wood);
        pen.circle({x0 + (sx > 0 ? 2 : 10), y0 + (sy > 0 ? 2 : 10)}, 1.1, bolt);
    }
    // The target: only the middle catches a shot, so the middle is what looks hittable.
    pen.box(14.5, 14.5, 35.5, 35.5, {60, 62, 72});
    pen.box(16.5, 16.5, 33.5, 33.5, {238, 178, 56});
    pen.circle({25, 25}, 7.4, {212, 56, 40});
    pen.circle({25, 25}, 5, {238, 178, 56});
    pen.circle({25, 25}, 2.5, {212, 56, 40});
}

void drawExplosion(Pen& pen) {
    Dice dice(7);
    struct Layer {
        double outer, inner;
        Rgb colour;
    };
    const Layer layers[] = {{31, 18, {204, 52, 32}},
                            {24, 13, {246, 122, 40}},
                            {16, 9, {255, 200, 72}},
                            {8, 5, {255, 240, 190}}};
    for (const Layer& layer : layers) {
        const int spikes = 14;
        double turn = dice.unit();
        std::vector<Vec> star;
        for (int i = 0; i < 2 * spikes; ++i) {
            double angle = (i + turn) * M_PI / spikes;
            double r = (i % 2 ? layer.inner : layer.outer) * dice.between(0.8, 1.0);
            star.push_back({32 + r * std::cos(angle), 32 + r * std::sin(angle)});
        }
        pen.polygon(star, layer.colour);
    }
    for (int i = 0; i < 9; ++i) {
        double angle = dice.unit() * 2 * M_PI, r = dice.between(22, 29);
        pen.circle({32 + r * std::cos(angle), 32 + r * std::sin(angle)}, dice.between(1, 2),
                   {250, 170, 60});
    }
}

// ---------------------------------------------------------------------------------------------
// Lasers, walls and outlines: small pictures set pixel by pixel.

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

SDL_Surface* playerLaser() {
    return laserPicture({40, 196, 96}, {170, 255, 196}, {236, 255, 240}, true);
}
// Enemy lasers fly both ways with one picture, so they are the same at both ends.
SDL_Surface* enemyLaser() {
    return laserPicture({226, 64, 24}, {255, 196, 96}, {255, 196, 96}, false);
}

SDL_Surface* flippedVertically(SDL_Surface* src) {
    SDL_Surface* s = newCanvas(src->w, src->h);
    for (int y = 0; y < src->h; ++y)
        for (int x = 0; x < src->w; ++x)
            pixel(s, x, src->h - 1 - y) = pixel(src, x, y);
    return s;
}

// Colour across a wall, from its lit edge (t = 0) to its shaded edge (t = 1).
Rgb wallShade(double t) {
    static const Rgb stops[] = {{80, 86, 104},   {204, 210, 222}, {174, 180, 194}, {156, 162, 178},
                                {142, 148, 164}, {124, 130, 146}, {96, 102, 118},  {62, 66, 80}};
    return stops[std::clamp(int(t * 8), 0, 7)];
}

// A short diagonal wall for the instructions' legend.
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

// ---------------------------------------------------------------------------------------------
// Text and full-window screens.

class Fonts {
public:
    TTF_Font* get(bool bold, int size) {
        auto key = std::make_pair(bold, size);
        auto found = open.find(key);
        if (found != open.end())
            return found->second;
        TTF_Font* font = TTF_OpenFont(bold ? BOLD_FONT : REGULAR_FONT, size);
        if (font == nullptr)
            fail(std::string("cannot open the font ") + (bold ? BOLD_FONT : REGULAR_FONT));
        open[key] = font;
        return font;
    }
    void closeAll() {
        for (auto& entry : open)
            TTF_CloseFont(entry.second);
        open.clear();
    }

private:
    std::map<std::pair<bool, int>, TTF_Font*> open;
};
Fonts fonts;

TTF_Font* bold(int size) {
    return fonts.get(true, size);
}
TTF_Font* regular(int size) {
    return fonts.get(false, size);
}

int textWidth(TTF_Font* font, const std::string& text) {
    int w = 0, h = 0;
    TTF_SizeUTF8(font, text.c_str(), &w, &h);
    return w;
}

enum class Align { Left, Centre };

// Text coverage as a grid of 0..1 values, read from SDL_ttf's blended rendering.
struct Mask {
    int w = 0, h = 0;
    std::vector<double> alpha;
};
Mask textMask(TTF_Font* font, const std::string& text) {
    SDL_Surface* t = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 0});
    if (t == nullptr)
        fail("cannot render \"" + text + "\"");
    Mask m{t->w, t->h, std::vector<double>(size_t(t->w * t->h))};
    SDL_LockSurface(t);
    for (int y = 0; y < t->h; ++y)
        for (int x = 0; x < t->w; ++x) {
            Uint8 r, g, b, a;
            SDL_GetRGBA(pixel(t, x, y), t->format, &r, &g, &b, &a);
            m.alpha[size_t(y * t->w + x)] = a / 255.0;
        }
    SDL_UnlockSurface(t);
    SDL_FreeSurface(t);
    return m;
}

void paintMask(SDL_Surface* s, const Mask& m, int left, int top,
               const std::function<Rgb(double)>& colourAtHeight, double strength = 1.0) {
    for (int y = 0; y < m.h; ++y) {
        Rgb c = colourAtHeight(double(y) / m.h);
        for (int x = 0; x < m.w; ++x)
            blendPixel(s, left + x, top + y, c, m.alpha[size_t(y * m.w + x)] * strength);
    }
}

// Draws text with a soft shadow; returns the width drawn.
int text(SDL_Surface* s, TTF_Font* font, const std::string& str, int x, int y, Rgb colour,
         Align align = Align::Centre) {
    Mask m = textMask(font, str);
    int left = align == Align::Centre ? x - m.w / 2 : x;
    paintMask(
        s, m, left + 2, y + 2,
        [](double) {
            return Rgb{0, 0, 0};
        },
        0.8);
    paintMask(s, m, left, y, [colour](double) { return colour; });
    return m.w;
}

// Big heading: a vertical colour gradient over a blurred glow of the letters.
void heading(SDL_Surface* s, TTF_Font* font, const std::string& str, int centreX, int y, Rgb top,
             Rgb bottom, Rgb glow) {
    Mask m = textMask(font, str);
    const int pad = 18;
    Mask halo{m.w + 2 * pad, m.h + 2 * pad,
              std::vector<double>(size_t((m.w + 2 * pad) * (m.h + 2 * pad)))};
    for (int yy = 0; yy < m.h; ++yy)
        for (int xx = 0; xx < m.w; ++xx)
            halo.alpha[size_t((yy + pad) * halo.w + xx + pad)] = m.alpha[size_t(yy * m.w + xx)];
    // Three box blurs come close to a gaussian glow.
    for (int pass = 0; pass < 3; ++pass)
        for (int horizontal = 0; horizontal < 2; ++horizontal) {
            std::vector<double> out(halo.alpha.size(), 0.0);
            const int radius = 5;
            for (int yy = 0; yy < halo.h; ++yy)
                for (int xx = 0; xx < halo.w; ++xx) {
                    double sum = 0;
                    for (int d = -radius; d <= radius; ++d) {
                        int sx = horizontal ? xx + d : xx, sy = horizontal ? yy : yy + d;
                        if (sx >= 0 && sy >= 0 && sx < halo.w && sy < halo.h)
                            sum += halo.alpha[size_t(sy * halo.w + sx)];
                    }
                    out[size_t(yy * halo.w + xx)] = sum / (2 * radius + 1);
                }
            halo.alpha = out;
        }
    int left = centreX - m.w / 2;
    paintMask(
        s, halo, left - pad, y - pad, [glow](double) { return glow; }, 0.9);
    paintMask(
        s, m, left + 3, y + 3,
        [](double) {
            return Rgb{0, 0, 0};
        },
        0.6);
    paintMask(s, m, left, y, [top, bottom](double t) { return mix(top, bottom, t); });
}

// A key drawn as a key cap; returns its width.
int keyCap(SDL_Surface* s, int x, int y, const std::string& label, bool measureOnly) {
    TTF_Font* font = bold(19);
    int w = std::max(36, textWidth(font, label) + 20), h = 34;
    if (measureOnly)
        return w;
    roundedBoxRGBA(s, Sint16(x), Sint16(y + 3), Sint16(x + w - 1), Sint16(y + h + 2), 7, 14, 18, 34,
                   255);
    roundedBoxRGBA(s, Sint16(x), Sint16(y), Sint16(x + w - 1), Sint16(y + h - 1), 7, 66, 78, 112,
                   255);
    roundedBoxRGBA(s, Sint16(x + 2), Sint16(y + 2), Sint16(x + w - 3), Sint16(y + h - 5), 6, 48, 58,
                   88, 255);
    text(s, font, label, x + w / 2, y + 5, {236, 240, 248});
    return w;
}

// A line of text and keys, with keys written in brackets: "[Return] next level".
// Returns the width; draws nothing when measuring.
int keyLine(SDL_Surface* s, int x, int y, const std::string& line, Align align = Align::Centre,
            int size = 22, bool measureOnly = false) {
    if (align == Align::Centre && !measureOnly) {
        int w = keyLine(s, 0, 0, line, Align::Left, size, true);
        return keyLine(s, x - w / 2, y, line, Align::Left, size, false);
    }
    TTF_Font* font = regular(size);
    int cursor = x;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == '[') {
            size_t end = line.find(']', i);
            cursor += keyCap(s, cursor, y, line.substr(i + 1, end - i - 1), measureOnly);
            i = end + 1;
            cursor += i < line.size() && line[i] == ',' ? 2 : 8;
            continue;
        }
        size_t end = line.find('[', i);
        std::string words = line.substr(i, end == std::string::npos ? std::string::npos : end - i);
        if (!measureOnly)
            text(s, font, words, cursor, y + 17 - TTF_FontHeight(font) / 2, {206, 214, 232},
                 Align::Left);
        cursor += textWidth(font, words);
        i = end == std::string::npos ? line.size() : end;
    }
    return cursor - x;
}

// A translucent dark panel with a thin border, to set text off the starfield.
void panel(SDL_Surface* s, int x0, int y0, int x1, int y1, int radius = 14) {
    roundedBoxRGBA(s, Sint16(x0), Sint16(y0), Sint16(x1), Sint16(y1), Sint16(radius), 8, 12, 30,
                   190);
    roundedRectangleRGBA(s, Sint16(x0), Sint16(y0), Sint16(x1), Sint16(y1), Sint16(radius), 70, 92,
                         140, 255);
}

// The space behind everything: a dark gradient, faint nebulae and dim stars, never white.
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

void vignette(SDL_Surface* s) {
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            double dx = (x - s->w / 2.0) / (s->w / 2.0), dy = (y - s->h / 2.0) / (s->h / 2.0);
            double dark = std::clamp((dx * dx + dy * dy - 0.5) * 0.45, 0.0, 0.45);
            blendPixel(s, x, y, {0, 0, 0}, dark);
        }
}

SDL_Surface* screenBase(unsigned seed) {
    SDL_Surface* s = newCanvas(SCREEN_WIDTH, SCREEN_HEIGHT);
    starfield(s, seed, 0.75, 700);
    vignette(s);
    return s;
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

Picture shipPicture(int index, int scale) {
    return render(50, 60, scale, SHIP_DESIGNS[index], SHIP_RIM);
}
Picture enemyPicture(const Design& design, Rgb rim, int scale) {
    return render(50, 50, scale, design, rim);
}
const Rgb FSHOOTER_RIM = {34, 8, 14}, DSHOOTER_RIM = {40, 20, 8}, CRATE_RIM = {36, 22, 10};

// Where the title's selection outline is drawn for its two items, and its size.
constexpr int OUTLINE_X = 345, OUTLINE_Y[2] = {304, 473}, OUTLINE_W = 334, OUTLINE_H = 110;
// Where the ship select bar is drawn under each ship, and its size.
constexpr int BAR_X[3] = {30, 400, 767}, BAR_Y = 623, BAR_W = 227, BAR_H = 14;

SDL_Surface* titleScreen() {
    SDL_Surface* s = screenBase(11);
    // A dim planet rising in the lower right.
    filledCircleRGBA(s, 930, 900, 300, 18, 26, 54, 255);
    for (int i = 0; i < 12; ++i)
        aacircleRGBA(s, 930, 900, Sint16(300 + i), 70, 110, 190, Uint8(110 - 9 * i));
    heading(s, bold(124), "Skarlume", 512, 62, {252, 226, 130}, {240, 118, 60}, {255, 120, 50});
    text(s, regular(26), "Bend every shot off the walls. Leave nothing standing.", 512, 226,
         {164, 182, 220});
    const char* items[2] = {"New Game", "Credits"};
    for (int i = 0; i < 2; ++i) {
        int top = OUTLINE_Y[i];
        panel(s, OUTLINE_X + 10, top + 10, OUTLINE_X + OUTLINE_W - 11, top + OUTLINE_H - 11, 12);
        text(s, bold(40), items[i], 512, top + OUTLINE_H / 2 - 25, {244, 238, 222});
    }
    composite(s, shipPicture(0, 2), 110, 470);
    // The ship's shots, drawn twice as large as in play to match the ship.
    SDL_Surface* shot = playerLaser();
    for (int i = 0; i < 3; ++i)
        for (int y = 0; y < 2 * shot->h; ++y)
            for (int x = 0; x < 2 * shot->w; ++x)
                pixel(s, 156 + x, 300 + 56 * i + y) = pixel(shot, x / 2, y / 2);
    SDL_FreeSurface(shot);
    composite(s, enemyPicture(drawForwardShooter, FSHOOTER_RIM, 2), 810, 330);
    keyLine(s, 512, 700, "[↑] [↓] choose     [Return] or [Space] select     [Esc] quit");
    finishScreen(s);
    return s;
}

SDL_Surface* instructionsScreen() {
    SDL_Surface* s = screenBase(23);
    heading(s, bold(56), "How to play", 512, 24, {250, 232, 160}, {236, 150, 70}, {200, 100, 40});

    panel(s, 40, 104, 984, 252);
    text(s, bold(26), "Keys", 66, 114, {250, 210, 110}, Align::Left);
    keyLine(s, 70, 154, "[←] [↑] [↓] [→]  move inside the teal outline", Align::Left);
    keyLine(s, 640, 154, "[Space]  fire straight up", Align::Left);
    keyLine(s, 70, 198, "[Esc] or [Q]  leave the level", Align::Left);
    keyLine(s, 412, 198, "[M]  sound on/off", Align::Left);
    keyLine(s, 640, 198, "[-] [+]  sound volume", Align::Left);

    panel(s, 40, 266, 984, 568);
    text(s, bold(26), "Rules", 66, 276, {250, 210, 110}, Align::Left);
    const char* rules[] = {
        "Destroy every enemy and every crate to clear the level.",
        "Shots bounce off walls; the diagonal walls turn them a quarter turn.",
        "A shot sent straight back loses strength, and after a few returns it fades.",
        "Any shot that reaches your ship destroys it: your own shot kills you too.",
        "At most five of your shots fly at once; a sixth retires your oldest.",
        "A crate breaks only when a shot strikes its centre.",
        "Enemy shots are red and pass through enemies and crates.",
        "You have four ships. Losing one restarts the level."};
    int y = 316;
    for (const char* rule : rules) {
        filledCircleRGBA(s, 78, Sint16(y + 13), 4, 250, 200, 90, 255);
        text(s, regular(22), rule, 96, y, {224, 230, 242}, Align::Left);
        y += 30;
    }

    // The legend: every kind of thing in a level, spread evenly across a panel.
    panel(s, 40, 582, 984, 676);
    struct Legend {
        Picture picture;
        const char* name;
    };
    const Legend legend[] = {{shipPicture(0, 1), "You"},
                             {enemyPicture(drawForwardShooter, FSHOOTER_RIM, 1), "Forward shooter"},
                             {enemyPicture(drawDualShooter, DSHOOTER_RIM, 1), "Dual shooter"},
                             {enemyPicture(drawCrate, CRATE_RIM, 1), "Crate"},
                             {render(40, 40, 1, drawLegendWall, {40, 44, 56}), "Wall"}};
    TTF_Font* legendFont = regular(19);
    int used = 0;
    for (const Legend& item : legend)
        used += item.picture.w + 10 + textWidth(legendFont, item.name);
    const int count = int(std::size(legend)), margin = 70;
    const int gap = (984 - 40 - 2 * margin - used) / (count - 1);
    int x = 40 + margin;
    for (const Legend& item : legend) {
        composite(s, item.picture, x, 629 - item.picture.h / 2);
        x += item.picture.w + 10;
        x += text(s, legendFont, item.name, x, 617, {200, 210, 230}, Align::Left) + gap;
    }

    keyLine(s, 512, 706, "[Return] or [Space] continue      [Esc] back to the title");
    finishScreen(s);
    return s;
}

SDL_Surface* shipSelectScreen() {
    SDL_Surface* s = screenBase(37);
    heading(s, bold(56), "Choose your ship", 512, 50, {250, 232, 160}, {236, 150, 70},
            {200, 100, 40});
    text(s, regular(24), "All three fly alike: pick the one you like the look of.", 512, 140,
         {164, 182, 220});
    const int scale = 4;
    for (int i = 0; i < 3; ++i) {
        int centre = BAR_X[i] + BAR_W / 2;
        // A faint pedestal of light under each ship.
        for (int r = 0; r < 40; ++r)
            filledEllipseRGBA(s, Sint16(centre), 596, Sint16(110 - r * 2), Sint16(22 - r / 2), 40,
                              70, 130, 6);
        Picture ship = shipPicture(i, scale);
        composite(s, ship, centre - ship.w / 2, 596 - ship.h);
        text(s, bold(28), SHIP_NAMES[i], centre, 648, {236, 232, 220});
    }
    keyLine(s, 512, 706, "[←] [→] choose      [Return] or [Space] start      [Esc] back");
    finishScreen(s);
    return s;
}

// The still screens: a big heading, a line of explanation and the keys.
SDL_Surface* messageScreen(unsigned seed, const std::string& title, Rgb top, Rgb bottom, Rgb glow,
                           const std::vector<std::string>& lines,
                           const std::vector<std::string>& keys) {
    SDL_Surface* s = screenBase(seed);
    const int keysTop = std::max(310 + 40 * int(lines.size()) + 40, 440);
    panel(s, 132, 150, 892, keysTop + 52 * int(keys.size()) + 30, 20);
    heading(s, bold(72), title, 512, 190, top, bottom, glow);
    int y = 310;
    for (const std::string& line : lines) {
        text(s, regular(26), line, 512, y, {212, 220, 238});
        y += 40;
    }
    y = keysTop;
    for (const std::string& keys_line : keys) {
        keyLine(s, 512, y, keys_line, Align::Centre, 24);
        y += 52;
    }
    return s;
}

SDL_Surface* levelCompleteScreen() {
    SDL_Surface* s = messageScreen(41, "Level complete", {210, 250, 170}, {90, 200, 120},
                                   {60, 200, 110}, {"Every enemy and every crate is gone."},
                                   {"[Return] or [Space] next level", "[Esc] back to the title"});
    finishScreen(s);
    return s;
}

SDL_Surface* levelLoseScreen() {
    SDL_Surface* s = messageScreen(
        43, "Ship lost", {255, 190, 150}, {230, 70, 60}, {220, 50, 40},
        {"A shot reached your ship. The level starts again."},
        {"[Return] or [Space] try again", "[S] change ship", "[Esc] back to the title"});
    finishScreen(s);
    return s;
}

SDL_Surface* gameOverScreen() {
    SDL_Surface* s = messageScreen(47, "Game over", {255, 170, 140}, {200, 40, 50}, {200, 30, 40},
                                   {"All your ships are lost."},
                                   {"[Return], [Esc] or [Space] back to the title"});
    finishScreen(s);
    return s;
}

SDL_Surface* creditsScreen() {
    SDL_Surface* s = screenBase(53);
    panel(s, 132, 120, 892, 640, 20);
    heading(s, bold(104), "Skarlume", 512, 150, {252, 226, 130}, {240, 118, 60}, {255, 120, 50});
    text(s, regular(30), "Made by the Skarlume team", 512, 320, {226, 232, 246});
    text(s, regular(24), "Levels, pictures and code: the Skarlume team", 512, 380, {176, 190, 220});
    text(s, regular(24), "Fonts: DejaVu", 512, 420, {176, 190, 220});
    text(s, regular(22), "Thank you for playing.", 512, 486, {176, 190, 220});
    keyLine(s, 512, 556, "[Return], [Esc] or [Space] back to the title", Align::Centre, 24);
    finishScreen(s);
    return s;
}

SDL_Surface* spaceBackground() {
    SDL_Surface* s = newCanvas(SCREEN_WIDTH, SCREEN_HEIGHT);
    starfield(s, 5, 1.0, 900);
    finishScreen(s);
    return s;
}

// The title's selection frame: a gold rounded border, transparent inside so the item shows.
void drawMenuOutline(Pen& pen) {
    const double w = OUTLINE_W, h = OUTLINE_H;
    pen.roundedBox(0, 0, w, h, 18, {196, 146, 52});
    pen.roundedBox(1.5, 1.5, w - 1.5, h - 1.5, 16.5, {250, 214, 120});
    pen.roundedBox(3, 3, w - 3, h - 3, 15, {232, 180, 72});
    pen.roundedBox(5.5, 5.5, w - 5.5, h - 5.5, 12.5, ERASE);
    pen.polygon({{13, h / 2 - 9}, {24, h / 2}, {13, h / 2 + 9}}, {250, 204, 96});
    pen.polygon({{w - 13, h / 2 - 9}, {w - 24, h / 2}, {w - 13, h / 2 + 9}}, {250, 204, 96});
}

void drawShipSelectBar(Pen& pen) {
    pen.roundedBox(0, 0, BAR_W, BAR_H, 7, {196, 146, 52});
    pen.roundedBox(1.5, 1.5, BAR_W - 1.5, BAR_H - 1.5, 5.5, {240, 192, 80});
    pen.roundedBox(6, 4, BAR_W - 6, 7, 1.5, {252, 232, 160});
}

// The editor's lettering: every printable ASCII character in a monospaced face, one cell each,
// light on black, once per ink. The editor letters its window from it, so the installed game
// needs no font file.
SDL_Surface* editorGlyphSheet() {
    const char* const monoFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
    TTF_Font* font = TTF_OpenFont(monoFont, 12);
    if (font == nullptr)
        fail(std::string("cannot open the font ") + monoFont);
    int advance = 0;
    TTF_GlyphMetrics(font, 'M', nullptr, nullptr, nullptr, nullptr, &advance);
    const int cellW = advance, cellH = TTF_FontHeight(font);
    SDL_Surface* sheet = newCanvas(cellW * GLYPH_COUNT, cellH * INK_COUNT);
    SDL_FillRect(sheet, nullptr, 0);
    SDL_LockSurface(sheet);
    for (int index = 0; index < GLYPH_COUNT; ++index) {
        const char glyph = char(GLYPH_FIRST + index);
        if (glyph == ' ')
            continue;
        const Mask mask = textMask(font, std::string(1, glyph));
        for (int ink = 0; ink < INK_COUNT; ++ink) {
            const Rgb colour = {INK_COLOURS[ink][0], INK_COLOURS[ink][1], INK_COLOURS[ink][2]};
            for (int y = 0; y < std::min(mask.h, cellH); ++y)
                for (int x = 0; x < std::min(mask.w, cellW); ++x)
                    blendPixel(sheet, index * cellW + x, ink * cellH + y, colour,
                               mask.alpha[size_t(y * mask.w + x)]);
        }
    }
    SDL_UnlockSurface(sheet);
    TTF_CloseFont(font);
    return sheet;
}

// Writes the bytes through a temporary file, so that a reader never sees half of them.
void writeFile(const std::string& path, const std::vector<Uint8>& bytes) {
    std::string temporary = path + ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out)
            fail("cannot write " + temporary);
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        fprintf(stderr, "makeimages: cannot write %s: %s\n", path.c_str(), error.message().c_str());
        exit(1);
    }
}

// Writes a picture as a 16-bit 5-6-5 BMP, the display's own format, so that the game's load
// is a plain copy and not a pixel-by-pixel conversion. SDL reads such files (BI_BITFIELDS)
// but writes only 24-bit ones, hence the writer. Pure white stays 0xFFFF, the colour key.
void save(SDL_Surface* canvas, const std::string& path) {
    SDL_Surface* rgb =
        SDL_CreateRGBSurface(SDL_SWSURFACE, canvas->w, canvas->h, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    if (rgb == nullptr)
        fail("cannot make a 24-bit picture");
    SDL_BlitSurface(canvas, nullptr, rgb, nullptr);
    const int rowBytes = (canvas->w * 2 + 3) / 4 * 4;
    const Uint32 headerBytes = 14 + 40 + 12, imageBytes = Uint32(rowBytes) * Uint32(canvas->h);
    std::vector<Uint8> file;
    auto put16 = [&file](Uint32 v) {
        file.push_back(Uint8(v));
        file.push_back(Uint8(v >> 8));
    };
    auto put32 = [&put16](Uint32 v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    file.push_back('B');
    file.push_back('M');
    put32(headerBytes + imageBytes);
    put32(0);
    put32(headerBytes);
    put32(40);  // BITMAPINFOHEADER
    put32(Uint32(canvas->w));
    put32(Uint32(canvas->h));  // bottom-up rows
    put16(1);
    put16(16);
    put32(3);  // BI_BITFIELDS: the three masks follow the header
    put32(imageBytes);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    put32(0xF800);
    put32(0x07E0);
    put32(0x001F);
    for (int y = canvas->h - 1; y >= 0; --y) {
        const Uint8* row = static_cast<const Uint8*>(rgb->pixels) + y * rgb->pitch;
        for (int x = 0; x < canvas->w; ++x) {
            Uint32 value = 0;
            SDL_Color c = {0, 0, 0, 0};
            std::memcpy(&value, row + 3 * x, 3);
            SDL_GetRGB(value, rgb->format, &c.r, &c.g, &c.b);
            put16(Uint32(c.r >> 3) << 11 | Uint32(c.g >> 2) << 5 | Uint32(c.b >> 3));
        }
        file.resize(file.size() + size_t(rowBytes - canvas->w * 2), 0);
    }
    SDL_FreeSurface(rgb);
    writeFile(path, file);
}

// ---------------------------------------------------------------------------------------------
// The icon of the game's menu entry: the player's ship fires a shot that a diagonal wall turns
// onto a crate, on the game's sky, in a rounded square. It is drawn once, large, and shrunk to
// each size so that small icons stay smooth, and saved as PNG with an alpha channel, which
// desktops expect and SDL 1.2 cannot write.

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
    for (auto [width, colour] : {std::pair{8.0, Rgb{40, 196, 96}}, {3.5, Rgb{170, 255, 196}}}) {
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

// A PNG file of size by size RGBA pixels: signature, header, the rows deflated (each led by
// filter type 0, none), and the end mark; every chunk carries its CRC.
std::vector<Uint8> pngFile(int size, const std::vector<Uint8>& rgba) {
    std::vector<Uint8> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto put32 = [](std::vector<Uint8>& bytes, Uint32 v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(Uint8(v >> shift));
    };
    auto chunk = [&](const char* type, const std::vector<Uint8>& data) {
        put32(file, Uint32(data.size()));
        std::vector<Uint8> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        file.insert(file.end(), body.begin(), body.end());
        put32(file, Uint32(crc32(0, body.data(), uInt(body.size()))));
    };
    std::vector<Uint8> header;
    put32(header, Uint32(size));
    put32(header, Uint32(size));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits a channel, RGBA, no interlace
    chunk("IHDR", header);
    std::vector<Uint8> rows;
    const size_t rowBytes = size_t(size) * 4;
    for (size_t y = 0; y < size_t(size); ++y) {
        rows.push_back(0);
        rows.insert(rows.end(), rgba.begin() + long(y * rowBytes),
                    rgba.begin() + long((y + 1) * rowBytes));
    }
    uLongf packedBytes = compressBound(uLong(rows.size()));
    std::vector<Uint8> packed(packedBytes);
    if (compress2(packed.data(), &packedBytes, rows.data(), uLong(rows.size()), 9) != Z_OK)
        fail("cannot compress the icon");
    packed.resize(packedBytes);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return file;
}

// Writes skarlume-SIZE.png for every icon size into `dir`.
void drawIcons(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        fprintf(stderr, "makeimages: cannot make %s: %s\n", dir.c_str(), error.message().c_str());
        exit(1);
    }
    SDL_Surface* large = iconDrawing();
    for (int size : ICON_SIZES)
        writeFile(dir + "/skarlume-" + std::to_string(size) + ".png",
                  pngFile(size, shrunkIcon(large, size)));
    SDL_FreeSurface(large);
}

}  // namespace

int main(int argc, char* argv[]) {
    // Nothing here opens a window; the dummy driver keeps SDL quiet if anything asks for one.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    const std::string gameDir = argc > 1 ? argv[1] : ".";
    const std::string iconDir = argc > 2 ? argv[2] : "";
    for (const char* font : {REGULAR_FONT, BOLD_FONT})
        if (!std::filesystem::exists(font)) {
            fprintf(stderr,
                    "makeimages: the font %s is missing; install the package fonts-dejavu-core\n",
                    font);
            return 1;
        }
    if (TTF_Init() != 0)
        fail("cannot start SDL_ttf");
    std::error_code error;
    std::filesystem::create_directories(gameDir + "/images", error);
    if (error) {
        fprintf(stderr, "makeimages: cannot make %s/images: %s\n", gameDir.c_str(),
                error.message().c_str());
        return 1;
    }

    std::array<SDL_Surface*, IMAGE_COUNT> pictures{};
    pictures[IMG_SPACE] = spaceBackground();
    for (int i = 0; i < 3; ++i)
        pictures[IMG_SHIP1 + i] = toSprite(shipPicture(i, 1));

    SDL_Surface* forward = toSprite(enemyPicture(drawForwardShooter, FSHOOTER_RIM, 1));
    for (int turns = 0; turns < 4; ++turns)
        pictures[IMG_FSHOOTER_N + turns] = rotated(forward, turns);
    SDL_FreeSurface(forward);
    SDL_Surface* dual = toSprite(enemyPicture(drawDualShooter, DSHOOTER_RIM, 1));
    pictures[IMG_DSHOOTER_V] = rotated(dual, 0);
    pictures[IMG_DSHOOTER_H] = rotated(dual, 1);
    SDL_FreeSurface(dual);
    pictures[IMG_CRATE] = toSprite(enemyPicture(drawCrate, CRATE_RIM, 1));

    SDL_Surface* laser = playerLaser();
    pictures[IMG_LASER_N] = rotated(laser, 0);
    pictures[IMG_LASER_E] = rotated(laser, 1);
    pictures[IMG_LASER_S] = flippedVertically(laser);
    pictures[IMG_LASER_W] = rotated(laser, 3);
    SDL_FreeSurface(laser);
    SDL_Surface* enemyShot = enemyLaser();
    pictures[IMG_ENEMY_LASER_V] = rotated(enemyShot, 0);
    pictures[IMG_ENEMY_LASER_H] = rotated(enemyShot, 1);
    SDL_FreeSurface(enemyShot);

    pictures[IMG_WALL2] = wallBlock();
    pictures[IMG_WALL_H] = straightWall(false);
    pictures[IMG_WALL_V] = straightWall(true);
    pictures[IMG_WALL2_UR] = diagonalWall(true);
    pictures[IMG_WALL2_UL] = diagonalWall(false);
    pictures[IMG_EXPLOSION] = toSprite(render(64, 64, 1, drawExplosion, {60, 16, 6}));
    pictures[IMG_BOUNDS_V] = boundsPiece(true);
    pictures[IMG_BOUNDS_H] = boundsPiece(false);
    pictures[IMG_START_MENU_OUTLINE] =
        toSprite(render(OUTLINE_W, OUTLINE_H, 1, drawMenuOutline, {120, 80, 20}));
    pictures[IMG_SHIP_SELECT_BAR] =
        toSprite(render(BAR_W, BAR_H, 1, drawShipSelectBar, {120, 80, 20}));

    pictures[IMG_START_MENU] = titleScreen();
    pictures[IMG_INSTRUCTIONS] = instructionsScreen();
    pictures[IMG_SHIP_SELECT] = shipSelectScreen();
    pictures[IMG_LEVEL_COMPLETE] = levelCompleteScreen();
    pictures[IMG_LEVEL_LOSE] = levelLoseScreen();
    pictures[IMG_GAME_OVER] = gameOverScreen();
    pictures[IMG_CREDITS] = creditsScreen();

    for (int id = 0; id < IMAGE_COUNT; ++id) {
        if (pictures[id] == nullptr) {
            fprintf(stderr, "makeimages: nothing draws %s\n", imageFiles[id]);
            return 1;
        }
        save(pictures[id], gameDir + "/" + imageFiles[id]);
        SDL_FreeSurface(pictures[id]);
    }
    SDL_Surface* glyphs = editorGlyphSheet();
    save(glyphs, gameDir + "/" + GLYPH_SHEET_FILE);
    SDL_FreeSurface(glyphs);
    if (!iconDir.empty())
        drawIcons(iconDir);
    fonts.closeAll();
    TTF_Quit();
    SDL_Quit();
    return 0;
}
