// The base of everything on the playfield: a position, a velocity and a picture.
#pragma once

struct SDL_Surface;

class Sprite {
public:
    Sprite(int x, int y, SDL_Surface* image);
    virtual ~Sprite() = default;

    virtual void move() {
        xPosition += xVelocity;
        yPosition += yVelocity;
    }
    virtual void draw();

    int getXPosition() const { return xPosition; }
    int getYPosition() const { return yPosition; }
    int getXVelocity() const { return xVelocity; }
    int getYVelocity() const { return yVelocity; }
    void setXVelocity(int velocity) { xVelocity = velocity; }
    void setYVelocity(int velocity) { yVelocity = velocity; }
    SDL_Surface* getImage() const { return image; }

protected:
    int xPosition;
    int yPosition;
    int xVelocity;
    int yVelocity;
    SDL_Surface* image;  // borrowed from the picture registry, never freed here
};

// Width and height of a sprite picture; 0 for a missing picture.
int imageWidth(const SDL_Surface* image);
int imageHeight(const SDL_Surface* image);
