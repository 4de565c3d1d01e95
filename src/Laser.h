// One straight shot: placement, hot point, the growing and shrinking drawing, the screen edge.
#pragma once

#include "Sprite.h"
#include "calc.h"

enum laser_type { LASER_PLAYER = 0, LASER_ENEMY = 1 };

enum laser_state {
    LS_NORMAL = 0,
    LS_VANISHING = 1,
    LS_VANISHED = 2,
    LS_APPEARING = 3,
    LS_APPEARING_VANISHING = 4,
};

class Laser final : public Sprite {
public:
    // (x, y) is the middle of the leading edge; the picture sits wholly behind it.
    Laser(int x, int y, int direction, int velocity, int life, laser_type type);
    // A reflected laser: its leading edge 3 pixels beyond p, centred on p.
    Laser(point p, int direction, int velocity, int life, laser_type type);

    void move() override;
    void draw() override;

    // The point that meets walls and ships: two pixels inside the leading edge, in the middle.
    point getHotPoint() const {
        if (state == LS_VANISHING || state == LS_APPEARING_VANISHING || state == LS_VANISHED)
            return {-1, -1};
        switch (direction) {
            case 0:
                return {xPosition + width / 2, yPosition + 2};
            case 90:
                return {xPosition + width - 2, yPosition + height / 2};
            case 180:
                return {xPosition + width / 2, yPosition + height - 2};
            case 270:
                return {xPosition + 2, yPosition + height / 2};
            default:
                return {-1, -1};
        }
    }
    int getVelocity() const { return velocity; }
    int getDirection() const { return direction; }
    int getLife() const { return life; }
    laser_type getType() const { return type; }
    laser_state getState() const { return state; }
    point getBirthPoint() const { return birthPoint; }
    point getVanishPoint() const { return vanishPoint; }

    void vanish();
    bool isVanishing() const { return state == LS_VANISHING || state == LS_APPEARING_VANISHING; }
    bool vanished() const { return state == LS_VANISHED; }
    // Neither on its way out nor gone: only a laser in flight hits things, and a player's one
    // counts among the shots the player has out.
    bool inFlight() const { return !isVanishing() && !vanished(); }

    static SDL_Surface* findImage(int direction, laser_type type);

private:
    point frontCorner() const;
    bool outOfBirthLine() const;
    void drawVanishing();

    // The picture's size, fixed with the picture: every frame asks for it several times.
    int width;
    int height;
    int direction;
    int velocity;
    int life;
    laser_state state;
    point birthPoint;
    point vanishPoint;
    laser_type type;
};
