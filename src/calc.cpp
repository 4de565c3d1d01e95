// Point-in-triangle geometry that the enemies' collision shapes are built on.
#include "calc.h"

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
    double a1 = triangleArea(p, t0, t1);
    double a2 = triangleArea(p, t0, t2);
    double a3 = triangleArea(p, t1, t2);
    return triangleArea(t0, t1, t2) >= a1 + a2 + a3;
}
