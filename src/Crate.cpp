// A box that catches the player's lasers inside a 15-pixel inset.
#include "Crate.h"

#include "graphics.h"

namespace {
constexpr int INSET = 15;
}  // namespace

Crate::Crate(int x, int y) : Ship(0, x, y, GetImage(IMG_CRATE), nullptr) {
    reachOver({{INSET, INSET}, {imageWidth(image) - INSET, imageHeight(image) - INSET}});
}

// The inset's own border does not count.
bool Crate::doesCollide(int px, int py) {
    return xPosition + INSET < px && px < xPosition + imageWidth(image) - INSET &&
           yPosition + INSET < py && py < yPosition + imageHeight(image) - INSET;
}
