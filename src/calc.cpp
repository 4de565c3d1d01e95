// Point-in-triangle geometry that the enemies' collision shapes are built on.
#include "calc.h"

#include <algorithm>

int calc::abs(int value) {
    return value < 0 ? -value : value;
}

double triangleArea(point t0, point t1, point t2) {
    int cross = (t0.x - t2.x) * (t1.y - t2.y) - (t0.y - t2.y) * (t1.x - t2.x);
    return calc::abs(cross) * 0.5;
}

// The three triangles that p cuts the triangle into cover more than it unless p is inside or
// on an edge; every area is a half of an integer, so the sums are exact.
bool inTriangle(point p, point t0, point t1, point t2) {
    const double whole = triangleArea(t0, t1, t2);
    // Beyond the box around its corners a triangle with an area holds no point (a flat one holds
    // its whole line): most shots that pass a ship are answered here, without the areas.
    if (whole > 0 && (p.x < std::min({t0.x, t1.x, t2.x}) || p.x > std::max({t0.x, t1.x, t2.x}) ||
                      p.y < std::min({t0.y, t1.y, t2.y}) || p.y > std::max({t0.y, t1.y, t2.y})))
        return false;
    double a1 = triangleArea(p, t0, t1);
    double a2 = triangleArea(p, t0, t2);
    double a3 = triangleArea(p, t1, t2);
    return whole >= a1 + a2 + a3;
}
