// Headless SDL for the tests: the dummy video driver, the real window size and real pictures.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "calc.h"

// Opens the dummy 1024x768x16 display, loads the real pictures and sets the game's screen and
// background, once per test binary.
void ensureGame();

// Fills the whole screen with one colour (raw 565 value).
void clearScreen(Uint16 color);
// The raw 565 value of one screen pixel.
Uint16 pixelAt(int x, int y);
// Counts the screen pixels in the rectangle that differ from `color`.
int countNot(Uint16 color, int x, int y, int w, int h);
// A 565 colour of the screen's format.
Uint16 rgb(Uint8 r, Uint8 g, Uint8 b);

// Processor time the calling thread has used, in seconds: unlike the clock on the wall, other
// processes on a busy machine hardly change it.
double threadSeconds();

// Swaps a registry picture for a plain picture of a size the test knows, for one scope.
class ScopedPicture {
public:
    ScopedPicture(int id, int w, int h, Uint8 r = 200, Uint8 g = 40, Uint8 b = 40);
    ~ScopedPicture();
    ScopedPicture(const ScopedPicture&) = delete;
    ScopedPicture& operator=(const ScopedPicture&) = delete;
    SDL_Surface* surface() const { return replacement; }

private:
    int id;
    SDL_Surface* original;
    SDL_Surface* replacement;
};

// A scratch directory under the system's temporary directory, removed with the object.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return dir; }
    // Writes a file below the directory, creating its parent folders.
    std::string write(const std::string& name, const std::string& contents) const;

private:
    std::string dir;
};

// Points the player's XDG directories (config, data, state) at empty folders of a scratch
// directory for one scope, so that a test starts with no settings, progress or recovery files.
class ScopedHome {
public:
    ScopedHome();
    ~ScopedHome();
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;
    const std::string& path() const { return dir.path(); }

private:
    ScratchDir dir;
    std::vector<std::pair<std::string, std::string>> saved;
};

// Checks a shape's answers for points that must hit it and points that must not.
template <class Shape>
void expectHits(Shape& shape, std::initializer_list<point> hits,
                std::initializer_list<point> misses) {
    for (point p : hits)
        EXPECT_TRUE(shape.doesCollide(p.x, p.y)) << "hit at " << p.x << "," << p.y;
    for (point p : misses)
        EXPECT_FALSE(shape.doesCollide(p.x, p.y)) << "miss at " << p.x << "," << p.y;
}
