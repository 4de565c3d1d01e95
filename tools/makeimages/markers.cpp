// The title's selection outline and the ship select's bar.
#include "markers.h"

#include "menus.h"
#include "raster.h"

namespace makeimages {

namespace {

const Rgb MARKER_RIM = {120, 80, 20};

// A gold rounded border, transparent inside so the item shows through.
void drawTitleOutline(Pen& pen) {
    const double w = TITLE_OUTLINE_W, h = TITLE_OUTLINE_H;
    pen.roundedBox(0, 0, w, h, 18, {196, 146, 52});
    pen.roundedBox(1.5, 1.5, w - 1.5, h - 1.5, 16.5, {250, 214, 120});
    pen.roundedBox(3, 3, w - 3, h - 3, 15, {232, 180, 72});
    pen.roundedBox(5.5, 5.5, w - 5.5, h - 5.5, 12.5, ERASE);
    pen.polygon({{13, h / 2 - 9}, {24, h / 2}, {13, h / 2 + 9}}, {250, 204, 96});
    pen.polygon({{w - 13, h / 2 - 9}, {w - 24, h / 2}, {w - 13, h / 2 + 9}}, {250, 204, 96});
}

void drawShipSelectBar(Pen& pen) {
    const double w = SHIP_SELECT_BAR_W, h = SHIP_SELECT_BAR_H;
    pen.roundedBox(0, 0, w, h, 7, {196, 146, 52});
    pen.roundedBox(1.5, 1.5, w - 1.5, h - 1.5, 5.5, {240, 192, 80});
    pen.roundedBox(6, 4, w - 6, 7, 1.5, {252, 232, 160});
}

}  // namespace

SDL_Surface* titleOutline() {
    return toSprite(render(TITLE_OUTLINE_W, TITLE_OUTLINE_H, 1, drawTitleOutline, MARKER_RIM));
}

SDL_Surface* shipSelectBar() {
    return toSprite(render(SHIP_SELECT_BAR_W, SHIP_SELECT_BAR_H, 1, drawShipSelectBar, MARKER_RIM));
}

}  // namespace makeimages
