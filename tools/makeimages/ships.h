// The player's three ships, 50 by 60 picture pixels, nose up. They differ only in looks.
#pragma once

#include "menus.h"
#include "raster.h"

namespace makeimages {

extern const char* const SHIP_NAMES[SHIP_COUNT];

// Ship `index` (0, 1 or 2) at `scale` pixels per picture pixel.
Picture shipPicture(int index, int scale);

}  // namespace makeimages
