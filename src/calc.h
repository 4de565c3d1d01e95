// Point-in-triangle geometry that the enemies' collision shapes are built on.
#pragma once

// A screen point in window pixels: x to the right, y downwards.
struct point {
    int x;
    int y;
};

inline bool operator==(point a, point b) {
    return a.x == b.x && a.y == b.y;
}
inline bool operator!=(point a, point b) {
    return !(a == b);
}

// True when p lies inside the triangle or on its edges and corners.
bool inTriangle(point p, point t0, point t1, point t2);
