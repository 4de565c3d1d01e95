// Compass arithmetic in whole degrees, clockwise from up: how lasers turn off walls.
#include "direction.h"

int rotate(int direction, int angle) {
    int remainder = (direction + angle) % 360;
    return remainder < 0 ? remainder + 360 : remainder;
}

// One correction only: a half turn is always +180, never -180.
int difference(int from, int to) {
    int turn = to - from;
    if (turn > 180)
        return turn - 360;
    if (turn > -180)
        return turn;
    return turn + 360;
}

int reflect(int direction, int mirror) {
    return rotate(direction, 2 * difference(direction, mirror));
}
