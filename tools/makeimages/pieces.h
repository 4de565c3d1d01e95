// The small pictures set pixel by pixel: the lasers, the wall pieces and the sides of a ship
// area's outline.
#pragma once

#include <SDL.h>

#include "canvas.h"
#include "pen.h"

namespace makeimages {

// The player's laser, 4 by 16, pointing up: a bright core between green edges.
constexpr Rgb PLAYER_LASER_EDGE = {40, 196, 96}, PLAYER_LASER_CORE = {170, 255, 196};
SDL_Surface* playerLaser();
// The enemies' laser, 4 by 16; it flies both ways with one picture.
SDL_Surface* enemyLaser();

// Colour across a wall, from its lit edge (t = 0) to its shaded edge (t = 1).
Rgb wallShade(double t);
// A short diagonal wall for the instructions' legend, 40 by 40.
void drawLegendWall(Pen& pen);
// Straight wall piece, 8 thick and 64 long.
SDL_Surface* straightWall(bool vertical);
// Diagonal wall piece, 24 by 24, rising to the right or to the left.
SDL_Surface* diagonalWall(bool rising);
// The single wall block, 24 by 24.
SDL_Surface* wallBlock();
// One side of a ship area's outline, 3 thick and 64 long.
SDL_Surface* boundsPiece(bool vertical);

}  // namespace makeimages
