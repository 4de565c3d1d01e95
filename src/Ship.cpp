// Everything that can be shot: facing, fire callback, and the 40-frame explosion.
#include "Ship.h"

#include <algorithm>

#include "graphics.h"

Ship::Ship(int direction, int x, int y, SDL_Surface* image, FireCallback fire)
    : Sprite(x, y, image),
      reach{0, 0, -1, -1},
      direction(direction),
      fire(fire),
      explosionFrames(-1),
      status(SHIP_ALIVE) {}

// The explosion counts drawn frames, so a ship that is not drawn never finishes dying.
void Ship::draw() {
    if (explosionFrames == 0)
        return;
    Sprite::draw();
    if (explosionFrames < 1)
        return;
    SDL_Surface* explosion = GetImage(IMG_EXPLOSION);
    DrawImage(explosion, xPosition + imageWidth(image) / 2 - imageWidth(explosion) / 2,
              yPosition + imageHeight(image) / 2 - imageHeight(explosion) / 2);
    if (--explosionFrames == 0)
        status = SHIP_DEAD;
}

void Ship::reachOver(std::initializer_list<point> shape) {
    for (point p : shape) {
        if (reach.left > reach.right) {
            reach = {p.x, p.y, p.x, p.y};
            continue;
        }
        reach.left = std::min(reach.left, p.x);
        reach.top = std::min(reach.top, p.y);
        reach.right = std::max(reach.right, p.x);
        reach.bottom = std::max(reach.bottom, p.y);
    }
}

bool Ship::doesCollide(int, int) {
    return false;
}

void Ship::hit() {
    if (status != SHIP_ALIVE)
        return;
    status = SHIP_EXPLODING;
    explosionFrames = EXPLOSION_FRAMES;
}

void Ship::fireLaser() {}

point Ship::center_side(int side) const {
    int w = imageWidth(image), h = imageHeight(image);
    switch (side) {
        case 0:
            return {xPosition + w / 2, yPosition};
        case 90:
            return {xPosition + w, yPosition + h / 2};
        case 180:
            return {xPosition + w / 2, yPosition + h};
        case 270:
            return {xPosition, yPosition + h / 2};
        default:
            return {-1, -1};
    }
}
