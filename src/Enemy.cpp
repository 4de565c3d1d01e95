// Enemies: path walking and the fire clock, and the forward and dual shooters.
#include "Enemy.h"

#include <algorithm>
#include <utility>

#include "direction.h"
#include "graphics.h"

namespace {
// Only the four compass directions have a picture and a collision shape.
bool facesCompass(int direction) {
    return direction == 0 || direction == 90 || direction == 180 || direction == 270;
}

void setCorners(point (&corners)[3], point a, point b, point c) {
    corners[0] = a;
    corners[1] = b;
    corners[2] = c;
}

int clampToSpeed(int distance, int speed) {
    return std::max(-speed, std::min(speed, distance));
}

constexpr int LASER_VELOCITY = 3;
// A dual shooter's middle, inside this inset, is hit as well as its two triangles.
constexpr int DUAL_INSET = 15;
constexpr int LASER_LIFE = 4;
}  // namespace

SDL_Surface* findForwardImage(int direction) {
    switch (direction) {
        case 0:
            return GetImage(IMG_FSHOOTER_N);
        case 90:
            return GetImage(IMG_FSHOOTER_E);
        case 180:
            return GetImage(IMG_FSHOOTER_S);
        case 270:
            return GetImage(IMG_FSHOOTER_W);
        default:
            return nullptr;
    }
}

SDL_Surface* findDualImage(int direction) {
    switch (direction) {
        case 0:
        case 180:
            return GetImage(IMG_DSHOOTER_V);
        case 90:
        case 270:
            return GetImage(IMG_DSHOOTER_H);
        default:
            return nullptr;
    }
}

// An empty path would leave nothing to walk to: the enemy then stands at its start.
Enemy::Enemy(int x, int y, int direction, std::list<point> path, int speed, int firePeriod,
             int fireCounter, SDL_Surface* image, FireCallback fire)
    : Ship(direction, x, y, image, fire),
      fireCounter(fireCounter),
      path(std::move(path)),
      speed(speed),
      firePeriod(firePeriod) {
    if (this->path.empty())
        this->path.push_back({x, y});
}

// Fires before stepping; lands exactly on each waypoint and sets off for the next one in the
// following frame.
void Enemy::move() {
    if (status != SHIP_ALIVE)
        return;
    if (++fireCounter >= firePeriod) {
        fireLaser();
        fireCounter = 0;
    }
    point target = path.front();
    if (target.x == xPosition && target.y == yPosition) {
        // The reached point goes to the back of the path, moved rather than copied.
        path.splice(path.end(), path, path.begin());
        target = path.front();
    }
    xVelocity = clampToSpeed(target.x - xPosition, speed);
    yVelocity = clampToSpeed(target.y - yPosition, speed);
    Sprite::move();
}

point Enemy::shift(point offset) const {
    return {xPosition + offset.x, yPosition + offset.y};
}

FShooter::FShooter(int x, int y, int direction, std::list<point> path, int speed, int firePeriod,
                   int fireCounter, FireCallback fire)
    : Enemy(x, y, direction, std::move(path), speed, firePeriod, fireCounter,
            findForwardImage(direction), fire),
      hitTriangle{} {
    int w = imageWidth(image), h = imageHeight(image);
    switch (direction) {
        case 0:
            setCorners(hitTriangle, {24, 5}, {9, 44}, {41, 44});
            break;
        case 90:
            setCorners(hitTriangle, {w - 5, 24}, {w - 44, 9}, {w - 44, 41});
            break;
        case 180:
            setCorners(hitTriangle, {w - 24, h - 5}, {w - 9, h - 44}, {w - 41, h - 44});
            break;
        case 270:
            setCorners(hitTriangle, {5, h - 24}, {44, h - 9}, {44, h - 41});
            break;
    }
    if (facesCompass(direction))
        reachOver({hitTriangle[0], hitTriangle[1], hitTriangle[2]});
}

// The triangle points the way the shooter faces.
bool FShooter::doesCollide(int px, int py) {
    if (!facesCompass(direction))
        return false;
    return inTriangle({px, py}, shift(hitTriangle[0]), shift(hitTriangle[1]),
                      shift(hitTriangle[2]));
}

// A shooter facing no compass direction has no front to fire from.
void FShooter::fireLaser() {
    if (status != SHIP_ALIVE || !facesCompass(direction))
        return;
    point front = center_side(direction);
    Laser laser(front.x, front.y, direction, LASER_VELOCITY, LASER_LIFE, LASER_ENEMY);
    if (fire != nullptr)
        fire(laser);
}

DShooter::DShooter(int x, int y, int direction, std::list<point> path, int speed, int firePeriod,
                   int fireCounter, FireCallback fire)
    : Enemy(x, y, direction, std::move(path), speed, firePeriod, fireCounter,
            findDualImage(direction), fire),
      hitTriangle1{},
      hitTriangle2{} {
    int w = imageWidth(image), h = imageHeight(image);
    // The triangles sit on the two sides that do not fire.
    if (direction == 0 || direction == 180) {
        setCorners(hitTriangle1, {2, 24}, {20, 2}, {20, 48});
        setCorners(hitTriangle2, {w - 2, 24}, {w - 20, 2}, {w - 20, 48});
    } else if (direction == 90 || direction == 270) {
        setCorners(hitTriangle1, {w - 24, 2}, {w - 2, 20}, {w - 48, 20});
        setCorners(hitTriangle2, {w - 24, h - 2}, {w - 2, h - 20}, {w - 48, h - 20});
    }
    if (facesCompass(direction))
        reachOver({{DUAL_INSET, DUAL_INSET},
                   {w - DUAL_INSET, h - DUAL_INSET},
                   hitTriangle1[0],
                   hitTriangle1[1],
                   hitTriangle1[2],
                   hitTriangle2[0],
                   hitTriangle2[1],
                   hitTriangle2[2]});
}

// Unlike a crate's, the inner rectangle here includes its own border.
bool DShooter::doesCollide(int px, int py) {
    if (!facesCompass(direction))
        return false;
    int w = imageWidth(image), h = imageHeight(image);
    if (xPosition + DUAL_INSET <= px && px <= xPosition + w - DUAL_INSET &&
        yPosition + DUAL_INSET <= py && py <= yPosition + h - DUAL_INSET)
        return true;
    point p{px, py};
    return inTriangle(p, shift(hitTriangle1[0]), shift(hitTriangle1[1]), shift(hitTriangle1[2])) ||
           inTriangle(p, shift(hitTriangle2[0]), shift(hitTriangle2[1]), shift(hitTriangle2[2]));
}

// The front laser goes first, then the back one.
void DShooter::fireLaser() {
    if (status != SHIP_ALIVE || !facesCompass(direction))
        return;
    int back = rotate(direction, 180);
    point front = center_side(direction);
    point rear = center_side(back);
    Laser frontLaser(front.x, front.y, direction, LASER_VELOCITY, LASER_LIFE, LASER_ENEMY);
    Laser backLaser(rear.x, rear.y, back, LASER_VELOCITY, LASER_LIFE, LASER_ENEMY);
    if (fire == nullptr)
        return;
    fire(frontLaser);
    fire(backLaser);
}
