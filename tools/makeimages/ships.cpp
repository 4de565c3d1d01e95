// The player's three ships: Dart, Hornet and Warden. The hit box (15..35, 20..40) lies on
// every hull.
#include "ships.h"

namespace makeimages {

namespace {

const Rgb SHIP_RIM = {14, 18, 38};

void drawDart(Pen& pen) {
    const Rgb hullLit = {196, 206, 226}, hullShade = {142, 154, 182};
    const Rgb blue = {52, 112, 222}, blueDeep = {32, 72, 164}, metal = {92, 98, 116};
    pen.mirrored({{17, 26}, {2, 43}, {2, 52}, {17, 48}}, blue, blueDeep);
    pen.mirrored({{17, 44}, {2, 50}, {2, 52}, {17, 48}}, blueDeep);
    pen.mirroredBox(1, 34, 5, 50, metal);
    pen.mirroredBox(2, 31, 4, 35, {170, 176, 192});
    pen.mirroredBox(18, 50, 23, 56, metal);
    pen.mirrored({{18.5, 56}, {22.5, 56}, {20.5, 60}}, {255, 168, 60});
    pen.mirrored({{19.5, 56}, {21.5, 56}, {20.5, 58.5}}, {255, 232, 150});
    pen.mirrored({{25, 1}, {19, 10}, {13.5, 19}, {13, 44}, {17, 52}, {25, 55}}, hullLit, hullShade);
    pen.mirrored({{25, 30}, {14, 37}, {14, 41}, {25, 34}}, blue, blueDeep);
    pen.mirrored({{25, 1}, {22.5, 7}, {25, 7}}, blue, blueDeep);
    pen.box(24.3, 34, 25.7, 50, {120, 130, 158});
    pen.ellipse({25, 20}, 4.2, 7.5, {40, 120, 170});
    pen.ellipse({25, 19.5}, 3.2, 6.2, {90, 206, 244});
    pen.ellipse({23.8, 17}, 1.2, 2.6, {214, 244, 250});
}

void drawHornet(Pen& pen) {
    const Rgb green = {98, 178, 98}, greenShade = {62, 128, 74}, boom = {58, 112, 72};
    const Rgb yellow = {238, 198, 62}, yellowShade = {186, 146, 42}, metal = {92, 96, 110};
    pen.mirroredBox(4, 52, 12, 57, metal);
    pen.mirrored({{5, 57}, {11, 57}, {8, 60}}, {255, 168, 60});
    pen.mirrored({{10, 26}, {25, 24}, {25, 42}, {10, 44}}, yellow, yellowShade);
    pen.mirrored({{10, 40}, {25, 39}, {25, 42}, {10, 44}}, yellowShade);
    pen.roundedBox(3, 14, 13, 54, 4, boom);
    pen.roundedBox(37, 14, 47, 54, 4, boom);
    pen.mirrored({{3, 18}, {8, 6}, {13, 18}}, yellow, yellowShade);
    pen.mirroredBox(3, 30, 13, 33, yellow);
    pen.mirroredBox(3, 38, 13, 41, yellow);
    pen.mirroredBox(3, 46, 13, 49, yellow);
    pen.mirroredBox(7.5, 2, 8.5, 8, {150, 150, 160});
    pen.mirrored({{25, 3}, {18, 10}, {13.5, 18}, {13.5, 48}, {19, 55}, {25, 57}}, green,
                 greenShade);
    pen.mirrored({{25, 32}, {14, 34}, {14, 37}, {25, 35}}, yellow, yellowShade);
    pen.mirrored({{25, 42}, {14, 44}, {14, 47}, {25, 45}}, yellow, yellowShade);
    pen.ellipse({25, 18}, 5.5, 7, {28, 70, 80});
    pen.ellipse({25, 17.5}, 4.4, 5.8, {60, 150, 160});
    pen.ellipse({23.5, 15.5}, 1.4, 2.4, {190, 240, 236});
}

void drawWarden(Pen& pen) {
    const Rgb purple = {158, 100, 216}, purpleShade = {100, 64, 160}, ridge = {124, 82, 186};
    const Rgb pink = {240, 112, 192}, gold = {240, 200, 90};
    pen.mirrored({{25, 2}, {25, 50}, {10, 56}, {2, 51}, {2, 44}, {17, 14}}, purple, purpleShade);
    pen.mirrored({{18.5, 18}, {5, 44}, {8, 44}, {20.5, 22}}, pink, {200, 84, 160});
    pen.mirroredBox(1.5, 43, 5, 52, gold);
    pen.mirrored({{25, 4}, {29.5, 14}, {30.5, 48}, {25, 53}}, ridge, {104, 68, 164});
    pen.mirrored({{25, 13}, {29.5, 22}, {25, 29}}, {34, 22, 66});
    pen.mirrored({{24.5, 15}, {22, 21}, {23.5, 21}}, {176, 156, 244});
    pen.mirrored({{25, 34}, {20.5, 40}, {25, 38}}, gold, {196, 158, 64});
    pen.ellipse({25, 54}, 3.2, 4.2, pink);
    pen.ellipse({25, 55}, 1.6, 2.6, {255, 214, 236});
    pen.mirrored({{12, 55}, {16, 55}, {14, 59.5}}, pink);
}

const Design SHIP_DESIGNS[SHIP_COUNT] = {drawDart, drawHornet, drawWarden};

}  // namespace

const char* const SHIP_NAMES[SHIP_COUNT] = {"Dart", "Hornet", "Warden"};

Picture shipPicture(int index, int scale) {
    return render(50, 60, scale, SHIP_DESIGNS[index], SHIP_RIM);
}

}  // namespace makeimages
