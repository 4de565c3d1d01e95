// Enemies: path walking and the fire clock, and the forward and dual shooters.
#pragma once

#include <list>

#include "Ship.h"

class Enemy : public Ship {
public:
    Enemy(int x, int y, int direction, std::list<point> path, int speed, int firePeriod,
          int fireCounter, SDL_Surface* image, FireCallback fire);

    void move() override;

    point shift(point offset) const;
    const std::list<point>& getPath() const { return path; }

protected:
    int fireCounter;
    std::list<point> path;
    int speed;
    int firePeriod;
};

class FShooter : public Enemy {
public:
    FShooter(int x, int y, int direction, std::list<point> path, int speed, int firePeriod,
             int fireCounter, FireCallback fire);

    bool doesCollide(int x, int y) override;
    void fireLaser() override;

private:
    point hitTriangle[3];
};

class DShooter : public Enemy {
public:
    DShooter(int x, int y, int direction, std::list<point> path, int speed, int firePeriod,
             int fireCounter, FireCallback fire);

    bool doesCollide(int x, int y) override;
    void fireLaser() override;

private:
    point hitTriangle1[3];
    point hitTriangle2[3];
};

SDL_Surface* findForwardImage(int direction);
SDL_Surface* findDualImage(int direction);
