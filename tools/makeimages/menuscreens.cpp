// The title, the instructions and the ship select, drawn around the places where the game puts
// the menus' markers.
#include "menuscreens.h"

#include <SDL_gfxPrimitives.h>

#include <iterator>

#include "backdrop.h"
#include "enemies.h"
#include "fonts.h"
#include "menus.h"
#include "pieces.h"
#include "screentext.h"
#include "ships.h"

namespace makeimages {

SDL_Surface* titleScreen() {
    SDL_Surface* s = screenBase(11);
    // A dim planet rising in the lower right.
    filledCircleRGBA(s, 930, 900, 300, 18, 26, 54, 255);
    for (int i = 0; i < 12; ++i)
        aacircleRGBA(s, 930, 900, Sint16(300 + i), 70, 110, 190, Uint8(110 - 9 * i));
    heading(s, bold(124), "Skarlume", 512, 62, {252, 226, 130}, {240, 118, 60}, {255, 120, 50});
    text(s, regular(26), "Bend every shot off the walls. Leave nothing standing.", 512, 226,
         {164, 182, 220});
    const char* items[TITLE_ITEM_COUNT] = {"New Game", "Credits"};
    for (int i = 0; i < TITLE_ITEM_COUNT; ++i) {
        const MenuPlace item = TITLE_ITEMS[i];
        panel(s, item.x + 10, item.y + 10, item.x + TITLE_OUTLINE_W - 11,
              item.y + TITLE_OUTLINE_H - 11, 12);
        text(s, bold(40), items[i], 512, item.y + TITLE_OUTLINE_H / 2 - 25, {244, 238, 222});
    }
    composite(s, shipPicture(0, 2), 110, 470);
    // The ship's shots, drawn twice as large as in play to match the ship.
    SDL_Surface* shot = playerLaser();
    for (int i = 0; i < 3; ++i)
        for (int y = 0; y < 2 * shot->h; ++y)
            for (int x = 0; x < 2 * shot->w; ++x)
                pixel(s, 156 + x, 300 + 56 * i + y) = pixel(shot, x / 2, y / 2);
    SDL_FreeSurface(shot);
    composite(s, enemyPicture(drawForwardShooter, FSHOOTER_RIM, 2), 810, 330);
    keyLine(s, 512, 700, "[↑] [↓] choose     [Return] or [Space] select     [Esc] quit");
    finishScreen(s);
    return s;
}

SDL_Surface* instructionsScreen() {
    SDL_Surface* s = screenBase(23);
    heading(s, bold(56), "How to play", 512, 24, {250, 232, 160}, {236, 150, 70}, {200, 100, 40});

    panel(s, 40, 104, 984, 252);
    text(s, bold(26), "Keys", 66, 114, {250, 210, 110}, Align::Left);
    keyLine(s, 70, 154, "[←] [↑] [↓] [→]  move inside the teal outline", Align::Left);
    keyLine(s, 640, 154, "[Space]  fire straight up", Align::Left);
    keyLine(s, 70, 198, "[Esc] or [Q]  leave the level", Align::Left);
    keyLine(s, 412, 198, "[M]  sound on/off", Align::Left);
    keyLine(s, 640, 198, "[-] [+]  sound volume", Align::Left);

    panel(s, 40, 266, 984, 568);
    text(s, bold(26), "Rules", 66, 276, {250, 210, 110}, Align::Left);
    const char* rules[] = {
        "Destroy every enemy and every crate to clear the level.",
        "Shots bounce off walls; the diagonal walls turn them a quarter turn.",
        "A shot sent straight back loses strength, and after a few returns it fades.",
        "Any shot that reaches your ship destroys it: your own shot kills you too.",
        "At most five of your shots fly at once; a sixth retires your oldest.",
        "A crate breaks only when a shot strikes its centre.",
        "Enemy shots are red and pass through enemies and crates.",
        "You have four ships. Losing one restarts the level."};
    int y = 316;
    for (const char* rule : rules) {
        filledCircleRGBA(s, 78, Sint16(y + 13), 4, 250, 200, 90, 255);
        text(s, regular(22), rule, 96, y, {224, 230, 242}, Align::Left);
        y += 30;
    }

    // The legend: every kind of thing in a level, spread evenly across a panel.
    panel(s, 40, 582, 984, 676);
    struct Legend {
        Picture picture;
        const char* name;
    };
    const Legend legend[] = {{shipPicture(0, 1), "You"},
                             {enemyPicture(drawForwardShooter, FSHOOTER_RIM, 1), "Forward shooter"},
                             {enemyPicture(drawDualShooter, DSHOOTER_RIM, 1), "Dual shooter"},
                             {enemyPicture(drawCrate, CRATE_RIM, 1), "Crate"},
                             {render(40, 40, 1, drawLegendWall, {40, 44, 56}), "Wall"}};
    TTF_Font* legendFont = regular(19);
    int used = 0;
    for (const Legend& item : legend)
        used += item.picture.w + 10 + textWidth(legendFont, item.name);
    const int count = int(std::size(legend)), margin = 70;
    const int gap = (984 - 40 - 2 * margin - used) / (count - 1);
    int x = 40 + margin;
    for (const Legend& item : legend) {
        composite(s, item.picture, x, 629 - item.picture.h / 2);
        x += item.picture.w + 10;
        x += text(s, legendFont, item.name, x, 617, {200, 210, 230}, Align::Left) + gap;
    }

    keyLine(s, 512, 706, "[Return] or [Space] continue      [Esc] back to the title");
    finishScreen(s);
    return s;
}

SDL_Surface* shipSelectScreen() {
    SDL_Surface* s = screenBase(37);
    heading(s, bold(56), "Choose your ship", 512, 50, {250, 232, 160}, {236, 150, 70},
            {200, 100, 40});
    text(s, regular(24), "All three fly alike: pick the one you like the look of.", 512, 140,
         {164, 182, 220});
    const int scale = 4;
    for (int i = 0; i < SHIP_COUNT; ++i) {
        int centre = SHIP_SELECT_BAR_AT[i].x + SHIP_SELECT_BAR_W / 2;
        // A faint pedestal of light under each ship.
        for (int r = 0; r < 40; ++r)
            filledEllipseRGBA(s, Sint16(centre), 596, Sint16(110 - r * 2), Sint16(22 - r / 2), 40,
                              70, 130, 6);
        Picture ship = shipPicture(i, scale);
        composite(s, ship, centre - ship.w / 2, 596 - ship.h);
        text(s, bold(28), SHIP_NAMES[i], centre, 648, {236, 232, 220});
    }
    keyLine(s, 512, 706, "[←] [→] choose      [Return] or [Space] start      [Esc] back");
    finishScreen(s);
    return s;
}

}  // namespace makeimages
