// The base of everything on the playfield: a position, a velocity and a picture.
#include "Sprite.h"

#include "graphics.h"

Sprite::Sprite(int x, int y, SDL_Surface* image)
    : xPosition(x), yPosition(y), xVelocity(0), yVelocity(0), image(image) {}

void Sprite::draw() {
    DrawImage(image, xPosition, yPosition);
}

int imageWidth(const SDL_Surface* image) {
    return image == nullptr ? 0 : image->w;
}

int imageHeight(const SDL_Surface* image) {
    return image == nullptr ? 0 : image->h;
}
