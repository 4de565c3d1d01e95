// What the player shoots at: the forward and dual shooters, the crate, and the explosion.
#include "enemies.h"

#include <cmath>
#include <utility>
#include <vector>

#include "dice.h"

namespace makeimages {

const Rgb FSHOOTER_RIM = {34, 8, 14}, DSHOOTER_RIM = {40, 20, 8}, CRATE_RIM = {36, 22, 10};

void drawForwardShooter(Pen& pen) {
    const Rgb red = {210, 50, 60}, redShade = {140, 30, 44}, plate = {92, 80, 96};
    pen.mirrored({{25, 3}, {25, 48}, {4, 48}}, red, redShade);
    pen.mirrored({{25, 42}, {25, 48}, {4, 48}, {7, 42}}, plate, {66, 58, 72});
    pen.mirrored({{9, 42}, {1, 49}, {8, 49}}, plate, {66, 58, 72});
    pen.mirrored({{25, 15}, {25, 40}, {13, 40}}, {120, 24, 36}, {96, 18, 30});
    pen.mirrored({{25, 8}, {25, 14}, {21.5, 16}}, {244, 120, 110}, {190, 70, 70});
    pen.circle({25, 31}, 5.5, {255, 150, 50});
    pen.circle({25, 31}, 3, {255, 236, 160});
    pen.box(22.5, 0, 27.5, 13, {126, 126, 142});
    pen.box(24.5, 2, 27.5, 13, {90, 90, 104});
    pen.box(22, 0, 28, 2.5, {64, 64, 76});
}

void drawDualShooter(Pen& pen) {
    const Rgb amber = {228, 148, 54}, amberShade = {164, 94, 36}, metal = {104, 98, 112};
    pen.mirrored({{1, 25}, {21, 1}, {21, 49}}, amberShade, {132, 74, 30});
    pen.mirrored({{6, 25}, {19, 8}, {19, 42}}, amber, {196, 120, 44});
    pen.box(22, 0, 28, 12, metal);
    pen.box(22, 38, 28, 50, metal);
    pen.box(25, 0, 28, 12, {76, 72, 86});
    pen.box(25, 38, 28, 50, {76, 72, 86});
    pen.box(21.5, 0, 28.5, 2.5, {60, 56, 70});
    pen.box(21.5, 47.5, 28.5, 50, {60, 56, 70});
    pen.roundedBox(13.5, 8, 36.5, 42, 5, amber);
    pen.roundedBox(25, 8, 36.5, 42, 5, {200, 124, 44});
    pen.roundedBox(17, 12, 33, 38, 3, {112, 62, 30});
    pen.circle({25, 25}, 6, {232, 60, 48});
    pen.circle({25, 25}, 3.2, {255, 196, 150});
}

void drawCrate(Pen& pen) {
    const Rgb wood = {152, 102, 54}, woodDark = {104, 66, 34}, woodLit = {186, 136, 80};
    const Rgb metal = {128, 132, 140}, bolt = {196, 200, 208};
    pen.box(1, 1, 49, 49, woodDark);
    pen.box(2, 2, 48, 48, wood);
    for (double y : {12.5, 24.5, 36.5})
        pen.box(2, y, 48, y + 1, woodDark);
    pen.box(2, 2, 48, 3.5, woodLit);
    pen.box(2, 2, 3.5, 48, woodLit);
    pen.line({4, 4}, {16, 16}, 3.2, woodDark);
    pen.line({46, 4}, {34, 16}, 3.2, woodDark);
    pen.line({4, 46}, {16, 34}, 3.2, woodDark);
    pen.line({46, 46}, {34, 34}, 3.2, woodDark);
    for (auto [cx, cy] : {std::pair{1.0, 1.0}, {37.0, 1.0}, {1.0, 37.0}, {37.0, 37.0}}) {
        double sx = cx < 25 ? 1 : -1, sy = cy < 25 ? 1 : -1;
        double x0 = cx < 25 ? 1 : 37, y0 = cy < 25 ? 1 : 37;
        pen.box(x0, y0, x0 + 12, y0 + 12, metal);
        pen.box(x0 + (sx > 0 ? 4 : 0), y0 + (sy > 0 ? 4 : 0), x0 + (sx > 0 ? 12 : 8),
                y0 + (sy > 0 ? 12 : 8), wood);
        pen.circle({x0 + (sx > 0 ? 2 : 10), y0 + (sy > 0 ? 2 : 10)}, 1.1, bolt);
    }
    // The target: only the middle catches a shot, so the middle is what looks hittable.
    pen.box(14.5, 14.5, 35.5, 35.5, {60, 62, 72});
    pen.box(16.5, 16.5, 33.5, 33.5, {238, 178, 56});
    pen.circle({25, 25}, 7.4, {212, 56, 40});
    pen.circle({25, 25}, 5, {238, 178, 56});
    pen.circle({25, 25}, 2.5, {212, 56, 40});
}

Picture enemyPicture(const Design& design, Rgb rim, int scale) {
    return render(50, 50, scale, design, rim);
}

namespace {

void drawExplosion(Pen& pen) {
    Dice dice(7);
    struct Layer {
        double outer, inner;
        Rgb colour;
    };
    const Layer layers[] = {{31, 18, {204, 52, 32}},
                            {24, 13, {246, 122, 40}},
                            {16, 9, {255, 200, 72}},
                            {8, 5, {255, 240, 190}}};
    for (const Layer& layer : layers) {
        const int spikes = 14;
        double turn = dice.unit();
        std::vector<Vec> star;
        for (int i = 0; i < 2 * spikes; ++i) {
            double angle = (i + turn) * M_PI / spikes;
            double r = (i % 2 ? layer.inner : layer.outer) * dice.between(0.8, 1.0);
            star.push_back({32 + r * std::cos(angle), 32 + r * std::sin(angle)});
        }
        pen.polygon(star, layer.colour);
    }
    for (int i = 0; i < 9; ++i) {
        double angle = dice.unit() * 2 * M_PI, r = dice.between(22, 29);
        pen.circle({32 + r * std::cos(angle), 32 + r * std::sin(angle)}, dice.between(1, 2),
                   {250, 170, 60});
    }
}

}  // namespace

Picture explosionPicture() {
    return render(64, 64, 1, drawExplosion, {60, 16, 6});
}

}  // namespace makeimages
