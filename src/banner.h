// The level's number and name, shown for the first two seconds of play. It is laid over the
// backdrop and under everything else, and kept clear of the ship areas, so that it never hides
// the ship, a shot, an enemy or the outline the ship moves in.
#pragma once

#include <SDL.h>

#include <list>
#include <string>

#include "Player.h"

class Level;

constexpr int BANNER_FRAMES = 120;
// Between the banner and the window's top edge or a ship area it must keep clear of.
constexpr int BANNER_MARGIN = 8;

// "Level 12: Billiards", or "Level 12" for a level without a name.
std::string bannerText(int number, const std::string& name);

// Where a banner of w by h goes: centred across the window, in the first row from the top that
// keeps BANNER_MARGIN clear of every ship area; at the top when every row meets one.
SDL_Rect bannerPlace(int w, int h, const std::list<bound>& areas);

// Shows `text` (see bannerText) as the banner of `level` from its first frame.
void showLevelBanner(Level& level, const std::string& text);

// What the banner of the current level shows in the frame about to be drawn.
struct BannerLook {
    bool shown = false;
    std::string text;
    int x = 0, y = 0;
};
BannerLook bannerLook(const Level& level);
// Draws a banner as it looks (the play screen's way, for whoever draws a frame).
void drawBanner(const BannerLook& look);
