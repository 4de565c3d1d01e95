// Everything that can be shot: facing, fire callback, and the 40-frame explosion.
#pragma once

#include <initializer_list>

#include "Laser.h"
#include "Sprite.h"
#include "calc.h"

enum ship_status { SHIP_ALIVE = 0, SHIP_DEAD = 1, SHIP_EXPLODING = 2 };

constexpr int EXPLOSION_FRAMES = 40;

// How a ship hands a new laser to whoever keeps the lasers.
using FireCallback = void (*)(Laser);

class Ship : public Sprite {
public:
    Ship(int direction, int x, int y, SDL_Surface* image, FireCallback fire);

    void draw() override;
    virtual bool doesCollide(int x, int y);
    void hit();
    virtual void fireLaser();
    virtual ~Ship() = default;

    // False where the ship's shape surely holds no point: most shots pass a ship far off and
    // are answered here, without asking the shape.
    bool mayCollide(int x, int y) const {
        x -= xPosition;
        y -= yPosition;
        return reach.left <= x && x <= reach.right && reach.top <= y && y <= reach.bottom;
    }

    point center_side(int side) const;
    int getDirection() const { return direction; }
    bool isDead() const { return status == SHIP_DEAD; }
    int getStatus() const { return status; }
    int getExplosionFrames() const { return explosionFrames; }

protected:
    // A rectangle from the ship's corner that holds its whole shape, bounds included.
    struct Reach {
        int left;
        int top;
        int right;
        int bottom;
    };
    // Widens the reach to hold these points of the shape.
    void reachOver(std::initializer_list<point> shape);

    Reach reach;  // holds nothing until a shape is given
    int direction;
    FireCallback fire;
    int explosionFrames;  // -1 never hit, 40 when hit, 0 once the explosion is over
    int status;
};
