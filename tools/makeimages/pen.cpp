// The pen the sprite designs draw with, on SDL_gfx's filled shapes.
#include "pen.h"

#include <SDL_gfxPrimitives.h>

#include <cmath>

namespace makeimages {

void Pen::polygon(const std::vector<Vec>& points, Rgb c) {
    std::vector<Sint16> xs, ys;
    for (const Vec& p : points) {
        xs.push_back(at(p.x));
        ys.push_back(at(p.y));
    }
    filledPolygonRGBA(canvas, xs.data(), ys.data(), int(points.size()), Uint8(c.r), Uint8(c.g),
                      Uint8(c.b), 255);
}

void Pen::mirrored(const std::vector<Vec>& points, Rgb left, Rgb right) {
    polygon(points, left);
    polygon(mirror(points), right);
}

void Pen::ellipse(Vec centre, double rx, double ry, Rgb c) {
    filledEllipseRGBA(canvas, at(centre.x), at(centre.y), at(rx), at(ry), Uint8(c.r), Uint8(c.g),
                      Uint8(c.b), 255);
}

void Pen::box(double x0, double y0, double x1, double y1, Rgb c) {
    boxRGBA(canvas, at(x0), at(y0), Sint16(at(x1) - 1), Sint16(at(y1) - 1), Uint8(c.r), Uint8(c.g),
            Uint8(c.b), 255);
}

void Pen::mirroredBox(double x0, double y0, double x1, double y1, Rgb c) {
    box(x0, y0, x1, y1, c);
    box(2 * axis - x1, y0, 2 * axis - x0, y1, c);
}

void Pen::roundedBox(double x0, double y0, double x1, double y1, double radius, Rgb c) {
    roundedBoxRGBA(canvas, at(x0), at(y0), Sint16(at(x1) - 1), Sint16(at(y1) - 1), at(radius),
                   Uint8(c.r), Uint8(c.g), Uint8(c.b), 255);
}

void Pen::line(Vec a, Vec b, double width, Rgb c) {
    double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
    double nx = -dy / length * width / 2, ny = dx / length * width / 2;
    polygon(
        {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}},
        c);
}

Sint16 Pen::at(double v) const {
    return Sint16(std::lround(v * factor));
}

std::vector<Vec> Pen::mirror(std::vector<Vec> points) const {
    for (Vec& p : points)
        p.x = 2 * axis - p.x;
    return points;
}

}  // namespace makeimages
