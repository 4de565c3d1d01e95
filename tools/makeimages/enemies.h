// What the player shoots at: the two kinds of enemy and the crate, 50 by 50 picture pixels
// drawn facing up (the game's pictures for the other directions are turned copies), and the
// explosion that ends them.
#pragma once

#include "raster.h"

namespace makeimages {

void drawForwardShooter(Pen& pen);
void drawDualShooter(Pen& pen);
void drawCrate(Pen& pen);

// The rim each design is drawn with.
extern const Rgb FSHOOTER_RIM, DSHOOTER_RIM, CRATE_RIM;

// An enemy or crate design at `scale` pixels per picture pixel.
Picture enemyPicture(const Design& design, Rgb rim, int scale);
// The explosion, 64 by 64, at its size in play.
Picture explosionPicture();

}  // namespace makeimages
