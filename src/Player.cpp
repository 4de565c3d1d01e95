// The player's ship: its ship areas, all-or-nothing moves, hit box and upward shot.
#include "Player.h"

#include <algorithm>

#include "graphics.h"

SDL_Surface* Player::findImage(int ship) {
    switch (ship) {
        case 2:
            return GetImage(IMG_SHIP2);
        case 3:
            return GetImage(IMG_SHIP3);
        default:
            return GetImage(IMG_SHIP1);
    }
}

Player::Player(int x, int y, int maxShots, int ship, FireCallback fire)
    : Ship(0, x, y, findImage(ship), fire), maxShots(maxShots) {}

// The whole step is taken or refused: a ship never slides along an edge.
void Player::move() {
    if (status != SHIP_ALIVE)
        return;
    int nx = xPosition + xVelocity;
    int ny = yPosition + yVelocity;
    for (const bound& area : bounds) {
        if (inbounds(area, nx, ny)) {
            xPosition = nx;
            yPosition = ny;
            return;
        }
    }
}

// The outlines go over the ship, and stay when the ship itself is gone.
void Player::draw() {
    Ship::draw();
    for (const bound& area : bounds)
        drawBounds(area);
}

// A fixed box whatever the ship's picture, so all three ships are equally easy to hit.
bool Player::doesCollide(int px, int py) {
    return xPosition + 15 <= px && px <= xPosition + 35 && yPosition + 20 <= py &&
           py <= yPosition + 40;
}

void Player::fireLaser() {
    if (status != SHIP_ALIVE)
        return;
    point spawn = center_side(0);
    Laser laser(spawn.x, spawn.y, 0, 3, 4, LASER_PLAYER);
    if (fire != nullptr)
        fire(laser);
}

void Player::setPos(int x, int y) {
    xPosition = x;
    yPosition = y;
}

void Player::clearBounds() {
    bounds.clear();
}

void Player::addBounds(int x1, int y1, int x2, int y2) {
    bounds.push_back({std::min(y1, y2), std::max(x1, x2), std::max(y1, y2), std::min(x1, x2)});
}

bool fitsInside(const bound& area, int x, int y, const SDL_Surface* picture) {
    return x + imageWidth(picture) < area.right && area.left < x &&
           y + imageHeight(picture) < area.bottom && area.top < y;
}

bound roomInside(const bound& area, const SDL_Surface* picture) {
    return {area.top + 1, area.right - imageWidth(picture) - 1,
            area.bottom - imageHeight(picture) - 1, area.left + 1};
}

bool fitsAnywhere(const bound& area, const SDL_Surface* picture) {
    const bound room = roomInside(area, picture);
    return room.left <= room.right && room.top <= room.bottom;
}

namespace {
// How far `value` lies past the last whole step from `start`: 0 up to a step less one.
int pastStep(int value, int start) {
    const int past = (value - start) % PLAYER_SPEED;
    return past < 0 ? past + PLAYER_SPEED : past;
}
}  // namespace

int stepDownTo(int value, int start) {
    return value - pastStep(value, start);
}

int stepUpTo(int value, int start) {
    const int past = pastStep(value, start);
    return past == 0 ? value : value + PLAYER_SPEED - past;
}

// Sides tiled with whole copies and one last piece cut to fit; the rows go over the columns.
void drawBounds(bound area) {
    SDL_Surface* side = GetImage(IMG_BOUNDS_V);
    SDL_Surface* row = GetImage(IMG_BOUNDS_H);
    int sideWidth = imageWidth(side), sideHeight = imageHeight(side);
    int rowWidth = imageWidth(row), rowHeight = imageHeight(row);
    for (int y = area.top; sideHeight > 0 && y < area.bottom;) {
        int piece = std::min(sideHeight, area.bottom - y);
        DrawPartialImage(side, area.left, y, 0, 0, sideWidth, piece);
        DrawPartialImage(side, area.right - sideWidth, y, 0, 0, sideWidth, piece);
        y += piece;
    }
    for (int x = area.left; rowWidth > 0 && x < area.right;) {
        int piece = std::min(rowWidth, area.right - x);
        DrawPartialImage(row, x, area.top, 0, 0, piece, rowHeight);
        DrawPartialImage(row, x, area.bottom - rowHeight, 0, 0, piece, rowHeight);
        x += piece;
    }
}
