// A box that catches the player's lasers inside a 15-pixel inset.
#include "Crate.h"

#include "graphics.h"

Crate::Crate(int x, int y) : Ship(0, x, y, GetImage(IMG_CRATE), nullptr) {}

// The inset's own border does not count.
bool Crate::doesCollide(int px, int py) {
    constexpr int inset = 15;
    return xPosition + inset < px && px < xPosition + imageWidth(image) - inset &&
           yPosition + inset < py && py < yPosition + imageHeight(image) - inset;
}
