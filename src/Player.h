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

class Player : public Ship {
public:
    Player(int x, int y, int maxShots, int ship, FireCallback fire);

    void move() override;
    void draw() override;
    // The ship alone, without its areas' outlines.
    void drawShip() { Ship::draw(); }
    bool doesCollide(int x, int y) override;
    void hit() override;
    void fireLaser() override;

    void setPos(int x, int y);
    int getMaxShots() const { return maxShots; }
    void clearBounds();
    void addBounds(int x1, int y1, int x2, int y2);
    bool inbounds(bound area, int nx, int ny) const;
    const std::list<bound>& getBounds() const { return bounds; }

    static SDL_Surface* findImage(int ship);

private:
    int maxShots;
    std::list<bound> bounds;
};

// Draws one ship area's outline, tiled from the two outline pictures.
void drawBounds(bound area);
