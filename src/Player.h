// The player's ship: its ship areas, all-or-nothing moves, hit box and upward shot.
#pragma once

#include <list>

#include "Ship.h"

// A ship area; corners normalised so that top < bottom and left < right.
struct bound {
    int top;
    int right;
    int bottom;
    int left;
};

// Pixels a frame that the ship moves along each axis whose arrow is held.
constexpr int PLAYER_SPEED = 2;

// Whether a ship with this picture, its corner at (x, y), lies strictly inside the area: a move
// is taken only to such a place.
bool fitsInside(const bound& area, int x, int y, const SDL_Surface* picture);
// The corners at which the picture fits inside the area, from left to right and top to bottom,
// all four included; left beyond right or top beyond bottom when it fits nowhere.
bound roomInside(const bound& area, const SDL_Surface* picture);
bool fitsAnywhere(const bound& area, const SDL_Surface* picture);
// From `start` the ship reaches only what lies whole steps away along an axis: the nearest such
// coordinate at or below `value`, and at or above it.
int stepDownTo(int value, int start);
int stepUpTo(int value, int start);

class Player : public Ship {
public:
    Player(int x, int y, int maxShots, int ship, FireCallback fire);

    void move() override;
    void draw() override;
    // The ship alone, without its areas' outlines.
    void drawShip() { Ship::draw(); }
    bool doesCollide(int x, int y) override;
    void fireLaser() override;

    void setPos(int x, int y);
    int getMaxShots() const { return maxShots; }
    void clearBounds();
    void addBounds(int x1, int y1, int x2, int y2);
    bool inbounds(bound area, int nx, int ny) const { return fitsInside(area, nx, ny, image); }
    const std::list<bound>& getBounds() const { return bounds; }

    static SDL_Surface* findImage(int ship);

private:
    int maxShots;
    std::list<bound> bounds;
};

// Draws one ship area's outline, tiled from the two outline pictures.
void drawBounds(bound area);
