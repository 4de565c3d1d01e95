// A straight mirror segment: its kind, collision band and tiled drawing.
#include "Wall.h"

#include <algorithm>

#include "graphics.h"

namespace {
enum { VERTICAL = 0, RISING = 45, HORIZONTAL = 90, FALLING = 135 };

// The kind of wall through two end points, as its mirror direction.
int kindOf(int x1, int y1, int x2, int y2) {
    if (x1 == x2)
        return VERTICAL;
    if (y1 == y2)
        return HORIZONTAL;
    // Compared rather than multiplied: x and y growing together means falling to the right.
    return (x1 < x2) == (y1 < y2) ? FALLING : RISING;
}

// A diagonal stops lasers this many rows either side of its line.
constexpr int BAND = 6;
// Neighbouring copies of a diagonal's picture overlap by this many pixels.
constexpr int OVERLAP = 6;
}  // namespace

SDL_Surface* Wall::findImage(int x1, int y1, int x2, int y2) {
    switch (kindOf(x1, y1, x2, y2)) {
        case VERTICAL:
            return GetImage(IMG_WALL_V);
        case HORIZONTAL:
            return GetImage(IMG_WALL_H);
        case FALLING:
            return GetImage(IMG_WALL2_UL);
        default:
            return GetImage(IMG_WALL2_UR);
    }
}

Wall::Wall(int x1, int y1, int x2, int y2)
    : Sprite(x1, y1, findImage(x1, y1, x2, y2)), direction(kindOf(x1, y1, x2, y2)) {
    bool firstIsStart = y1 < y2 || (y1 == y2 && x1 < x2);
    startX = firstIsStart ? x1 : x2;
    startY = firstIsStart ? y1 : y2;
    endX = firstIsStart ? x2 : x1;
    endY = firstIsStart ? y2 : y1;
    box.top = startY;
    box.bottom = direction == HORIZONTAL ? startY + imageHeight(image) : endY;
    box.left = direction == RISING ? endX : startX;
    box.right = direction == VERTICAL ? startX + imageWidth(image)
                : direction == RISING ? startX
                                      : endX;
}

Wall::Box Wall::getDrawnBox() const {
    switch (direction) {
        case VERTICAL:
            return {startX, startY, startX + imageWidth(image), endY + imageWidth(image)};
        case HORIZONTAL:
            return {startX, startY, endX + imageHeight(image), startY + imageHeight(image)};
        default:
            return {std::min(startX, endX), startY, std::max(startX, endX), endY};
    }
}

bool checkLine(int px, int py, int ax, int ay, int bx, int by, int side) {
    int z = (py - ay) * (bx - ax) - (by - ay) * (px - ax);
    return side * z > 0;
}

// Called only inside the box: a straight wall is its box, a diagonal its band within it.
bool Wall::collidesInBox(int x, int y) const {
    int sx = startX, sy = startY, ex = endX, ey = endY;
    const int d = BAND;
    switch (direction) {
        case VERTICAL:
        case HORIZONTAL:
            return true;
        case FALLING:
            return checkLine(x, y, sx, sy + d, ex - d, ey, -1) &&
                   checkLine(x, y, sx + d, sy, ex, ey - d, 1);
        default:
            return checkLine(x, y, sx, sy + d, ex + d, ey, 1) &&
                   checkLine(x, y, sx - d, sy, ex, ey - d, -1);
    }
}

void Wall::draw() {
    int w = imageWidth(image), h = imageHeight(image);
    if (w <= 0 || h <= 0)
        return;
    int sx = startX, sy = startY, ex = endX, ey = endY;
    switch (direction) {
        case VERTICAL:
            // Longer than the line by the wall's own thickness; the last copy is cut to fit.
            for (int row = sy; ey + w - row > 0;) {
                int piece = std::min(h, ey + w - row);
                DrawPartialImage(image, sx, row, 0, 0, w, piece);
                row += piece;
            }
            break;
        case HORIZONTAL:
            for (int column = sx; ex + h - column > 0;) {
                int piece = std::min(w, ex + h - column);
                DrawPartialImage(image, column, sy, 0, 0, piece, h);
                column += piece;
            }
            break;
        case FALLING: {
            // Whole copies, the last one pulled back so that it ends at the limit. A picture
            // no wider than the overlap would never advance: it is drawn once.
            int limit = ex + OVERLAP;
            for (int cx = sx, cy = sy; limit - cx > OVERLAP;) {
                int k = std::min(w, limit - cx);
                DrawImage(image, cx + k - w, cy + k - h);
                if (k <= OVERLAP)
                    break;
                cx += k - OVERLAP;
                cy += k - OVERLAP;
            }
            break;
        }
        default:
            for (int cx = sx, cy = sy; ey - cy > OVERLAP;) {
                int k = std::min(h, ey - cy);
                DrawImage(image, cx - k, cy + k - h);
                if (k <= OVERLAP)
                    break;
                cy += k - OVERLAP;
                cx -= k - OVERLAP;
            }
            break;
    }
}
