// Point-in-triangle geometry that the enemies' collision shapes are built on.
#include "calc.h"

#include <algorithm>

// Twice the area of the triangle t0, t1, t2: a whole number, so sums of them are exact.
namespace {
long long doubleArea(point t0, point t1, point t2) {
    const long long cross = static_cast<long long>(t0.x - t2.x) * (t1.y - t2.y) -
                            static_cast<long long>(t0.y - t2.y) * (t1.x - t2.x);
    return cross < 0 ? -cross : cross;
}
}  // namespace

// The three triangles that p cuts the triangle into cover more than it unless p is inside or
// on an edge.
bool inTriangle(point p, point t0, point t1, point t2) {
    // Beyond the box around its corners a triangle with an area holds no point (a flat one holds
    // its whole line): most shots that pass a ship are answered here, without the areas.
    const bool outsideBox =
        p.x < std::min({t0.x, t1.x, t2.x}) || p.x > std::max({t0.x, t1.x, t2.x}) ||
        p.y < std::min({t0.y, t1.y, t2.y}) || p.y > std::max({t0.y, t1.y, t2.y});
    const long long whole = doubleArea(t0, t1, t2);
    if (outsideBox && whole > 0)
        return false;
    return whole >= doubleArea(p, t0, t1) + doubleArea(p, t0, t2) + doubleArea(p, t1, t2);
}
