// The screen as the drawing rules describe it, drawn the plain way: every picture blitted where
// the rules put it, tile by tile, with no caches. The frame tests compare the game's screen with
// it; the benchmark times it as the straightforward way to draw a frame.
#pragma once

#include <SDL.h>

#include <map>
#include <vector>

#include "Laser.h"
#include "Level.h"
#include "Player.h"
#include "Wall.h"
#include "banner.h"

// What a ship shows: its picture, where, and how far its explosion has gone.
struct ShipLook {
    SDL_Surface* image;
    int x;
    int y;
    int explosionFrames;
};

// Everything one frame shows, taken after the level's step and before its draw (drawing moves
// explosions and lasers on, and drops the ships whose explosion ends).
struct FrameState {
    SDL_Surface* background = nullptr;
    ShipLook player = {};
    std::vector<bound> areas;
    std::vector<ShipLook> ships;
    std::vector<Laser> lasers;
    std::vector<Wall> walls;
    int lives = 0;
    BannerLook banner;
};

FrameState captureFrame(Level& level, int lives);

class PlainDrawing {
public:
    // Draws onto `target` with its own copies of the pictures, run-length encoded or not.
    PlainDrawing(SDL_Surface* target, bool runLengthEncoded);
    ~PlainDrawing();
    PlainDrawing(const PlainDrawing&) = delete;
    PlainDrawing& operator=(const PlainDrawing&) = delete;

    // The level, then the spare lives, in the painter's order.
    void draw(const FrameState& frame);

private:
    SDL_Surface* copyOf(SDL_Surface* picture);
    void blit(SDL_Surface* picture, int x, int y, int sx, int sy, int w, int h);
    void blitWhole(SDL_Surface* picture, int x, int y);
    void drawShip(const ShipLook& ship);
    void drawOutline(const bound& area);
    void drawLaser(const Laser& laser);
    void drawWall(const Wall& wall);

    SDL_Surface* target;
    bool runLengthEncoded;
    std::map<SDL_Surface*, SDL_Surface*> copies;
};
