// One straight shot: placement, hot point, the growing and shrinking drawing, the screen edge.
#include "Laser.h"

#include "graphics.h"

namespace {
// Velocity along the direction of travel; a direction off the compass does not move.
point velocityOf(int direction, int velocity) {
    switch (direction) {
        case 0:
            return {0, -velocity};
        case 90:
            return {velocity, 0};
        case 180:
            return {0, velocity};
        case 270:
            return {-velocity, 0};
        default:
            return {0, 0};
    }
}
}  // namespace

SDL_Surface* Laser::findImage(int direction, laser_type type) {
    bool player = type == LASER_PLAYER;
    switch (direction) {
        case 0:
            return GetImage(player ? IMG_LASER_N : IMG_ENEMY_LASER_V);
        case 90:
            return GetImage(player ? IMG_LASER_E : IMG_ENEMY_LASER_H);
        case 180:
            return GetImage(player ? IMG_LASER_S : IMG_ENEMY_LASER_V);
        case 270:
            return GetImage(player ? IMG_LASER_W : IMG_ENEMY_LASER_H);
        default:
            return nullptr;
    }
}

Laser::Laser(int x, int y, int direction, int velocity, int life, laser_type type)
    : Sprite(x, y, findImage(direction, type)),
      width(imageWidth(image)),
      height(imageHeight(image)),
      direction(direction),
      velocity(velocity),
      life(life),
      state(LS_APPEARING),
      birthPoint{0, 0},
      vanishPoint{0, 0},
      type(type) {
    int w = width;
    int h = height;
    switch (direction) {
        case 0:
            xPosition = x - w / 2;
            break;
        case 90:
            xPosition = x - w;
            yPosition = y - h / 2;
            break;
        case 180:
            xPosition = x - w / 2;
            yPosition = y - h;
            break;
        case 270:
            yPosition = y - h / 2;
            break;
    }
    point v = velocityOf(direction, velocity);
    setXVelocity(v.x);
    setYVelocity(v.y);
    birthPoint = frontCorner();
}

// The leading edge sits 3 pixels past p, so the new laser's hot point is one pixel past p.
Laser::Laser(point p, int direction, int velocity, int life, laser_type type)
    : Laser(p.x + 3 * velocityOf(direction, 1).x, p.y + 3 * velocityOf(direction, 1).y, direction,
            velocity, life, type) {}

point Laser::frontCorner() const {
    switch (direction) {
        case 90:
            return {xPosition + width, yPosition};
        case 180:
            return {xPosition, yPosition + height};
        default:
            return {xPosition, yPosition};
    }
}

void Laser::vanish() {
    if (state == LS_NORMAL) {
        state = LS_VANISHING;
    } else if (state == LS_APPEARING) {
        state = LS_APPEARING_VANISHING;
    } else {
        return;
    }
    vanishPoint = frontCorner();
}

// Vanishes once wholly off the screen, so it finishes vanishing out of sight.
void Laser::move() {
    Sprite::move();
    if (xPosition < -width || xPosition > SCREEN_WIDTH - 1 || yPosition < -height ||
        yPosition > SCREEN_HEIGHT - 1)
        vanish();
}

// True once the tail has left the birth line behind.
bool Laser::outOfBirthLine() const {
    int bx = birthPoint.x - xPosition;
    int by = birthPoint.y - yPosition;
    switch (direction) {
        case 0:
            return by > height;
        case 90:
            return bx < 0;
        case 180:
            return by < 0;
        case 270:
            return bx > width;
        default:
            return false;
    }
}

void Laser::draw() {
    int x = xPosition, y = yPosition;
    int w = width, h = height;
    int bx = birthPoint.x, by = birthPoint.y;
    int vx = vanishPoint.x, vy = vanishPoint.y;
    switch (state) {
        case LS_NORMAL:
            Sprite::draw();
            break;
        case LS_VANISHING:
            drawVanishing();
            break;
        case LS_APPEARING:
            if (outOfBirthLine()) {
                state = LS_NORMAL;
                Sprite::draw();
                break;
            }
            switch (direction) {
                case 0:
                    DrawPartialImage(image, x, y, 0, 0, w, by - y);
                    break;
                case 90:
                    DrawPartialImage(image, bx, by, bx - x, 0, w - (bx - x), h);
                    break;
                case 180:
                    DrawPartialImage(image, bx, by, 0, by - y, w, h - (by - y));
                    break;
                case 270:
                    DrawPartialImage(image, x, y, 0, 0, bx - x, h);
                    break;
            }
            break;
        case LS_APPEARING_VANISHING:
            if (outOfBirthLine()) {
                state = LS_VANISHING;
                drawVanishing();
                break;
            }
            switch (direction) {
                case 0:
                    DrawPartialImage(image, vx, vy, 0, vy - y, w, by - vy);
                    break;
                case 90:
                    DrawPartialImage(image, bx, by, bx - x, 0, vx - bx, h);
                    break;
                case 180:
                    DrawPartialImage(image, bx, by, 0, by - y, w, vy - by);
                    break;
                case 270:
                    DrawPartialImage(image, vx, vy, vx - x, 0, bx - vx, h);
                    break;
            }
            break;
        default:
            break;
    }
}

// Draws the part that has not yet passed the vanish line; nothing once all of it has.
void Laser::drawVanishing() {
    int x = xPosition, y = yPosition;
    int w = width, h = height;
    int vx = vanishPoint.x, vy = vanishPoint.y;
    bool gone = false;
    switch (direction) {
        case 0:
            gone = vy - y > h;
            break;
        case 90:
            gone = vx - x < 0;
            break;
        case 180:
            gone = vy - y < 0;
            break;
        case 270:
            gone = vx - x > w;
            break;
    }
    if (gone) {
        state = LS_VANISHED;
        return;
    }
    switch (direction) {
        case 0:
            DrawPartialImage(image, vx, vy, 0, vy - y, w, h - (vy - y));
            break;
        case 90:
            DrawPartialImage(image, x, y, 0, 0, vx - x, h);
            break;
        case 180:
            DrawPartialImage(image, x, y, 0, 0, w, vy - y);
            break;
        case 270:
            DrawPartialImage(image, vx, vy, vx - x, 0, w - (vx - x), h);
            break;
    }
}
