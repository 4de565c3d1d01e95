// A box that catches the player's lasers inside a 15-pixel inset.
#pragma once

#include "Ship.h"

class Crate : public Ship {
public:
    Crate(int x, int y);
    bool doesCollide(int x, int y) override;
};
