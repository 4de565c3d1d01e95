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

namespace calc {
// Kept apart from std::abs: the game's own integer magnitude.
int abs(int value);
}  // namespace calc

// Area of the triangle t0, t1, t2; never negative, always a half of an integer.
double triangleArea(point t0, point t1, point t2);

// True when p lies inside the triangle or on its edges and corners.
bool inTriangle(point p, point t0, point t1, point t2);
