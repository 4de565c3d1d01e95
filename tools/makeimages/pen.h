// The pen the sprite designs draw with: shapes given in picture pixels, drawn onto a canvas
// some times larger, and mirrored across the picture's vertical centre line on request.
#pragma once

#include <SDL.h>

#include <vector>

#include "canvas.h"

namespace makeimages {

struct Vec {
    double x, y;
};

class Pen {
public:
    Pen(SDL_Surface* canvas, double factor, double mirrorAxis)
        : canvas(canvas), factor(factor), axis(mirrorAxis) {}

    void polygon(const std::vector<Vec>& points, Rgb c);
    // The polygon and its mirror image across the picture's vertical centre line.
    void mirrored(const std::vector<Vec>& points, Rgb c) { mirrored(points, c, c); }
    void mirrored(const std::vector<Vec>& points, Rgb left, Rgb right);
    void ellipse(Vec centre, double rx, double ry, Rgb c);
    void circle(Vec centre, double r, Rgb c) { ellipse(centre, r, r, c); }
    // The box from (x0, y0) up to, not including, (x1, y1).
    void box(double x0, double y0, double x1, double y1, Rgb c);
    void mirroredBox(double x0, double y0, double x1, double y1, Rgb c);
    void roundedBox(double x0, double y0, double x1, double y1, double radius, Rgb c);
    // A straight stroke of the given width between two points.
    void line(Vec a, Vec b, double width, Rgb c);

private:
    Sint16 at(double v) const;
    std::vector<Vec> mirror(std::vector<Vec> points) const;
    SDL_Surface* canvas;
    double factor;
    double axis;
};

}  // namespace makeimages
