// A straight mirror segment: its kind, collision band and tiled drawing.
#pragma once

#include "Sprite.h"
#include "calc.h"

class Wall : public Sprite {
public:
    struct Box {
        int left;
        int top;
        int right;
        int bottom;
    };

    Wall(int x1, int y1, int x2, int y2);

    void draw() override;

    int getDirection() const { return direction; }
    // Most lasers are nowhere near most walls: the box test, inline, spares them the call.
    bool doesCollide(int x, int y) const {
        return box.left <= x && x <= box.right && box.top <= y && y <= box.bottom &&
               collidesInBox(x, y);
    }
    point getStart() const { return {startX, startY}; }
    point getEnd() const { return {endX, endY}; }
    // The rectangle outside which nothing collides, bounds included.
    const Box& getBox() const { return box; }
    // Where the wall lies on the field as a designer lays it out, right and bottom one past: a
    // straight wall is drawn beside its line, as thick as its picture and longer than the line
    // by as much; a diagonal counts as the box of its line, which its pictures overhang a little.
    Box getDrawnBox() const;

    static SDL_Surface* findImage(int x1, int y1, int x2, int y2);

private:
    bool collidesInBox(int x, int y) const;

    int direction;
    int startX;
    int startY;
    int endX;
    int endY;
    Box box;  // fixed with the picture
};

// True when (px, py) lies strictly on the `side` (1 or -1) of the line through a and b.
bool checkLine(int px, int py, int ax, int ay, int bx, int by, int side);
