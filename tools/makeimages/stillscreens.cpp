// Level complete, ship lost, game over and the credits: a heading, a few lines and the keys on
// a panel over the sky.
#include "stillscreens.h"

#include <algorithm>
#include <string>
#include <vector>

#include "backdrop.h"
#include "fonts.h"
#include "screentext.h"

namespace makeimages {

namespace {

// The still screens: a big heading, a line of explanation and the keys.
SDL_Surface* messageScreen(unsigned seed, const std::string& title, Rgb top, Rgb bottom, Rgb glow,
                           const std::vector<std::string>& lines,
                           const std::vector<std::string>& keys) {
    SDL_Surface* s = screenBase(seed);
    const int keysTop = std::max(310 + 40 * int(lines.size()) + 40, 440);
    panel(s, 132, 150, 892, keysTop + 52 * int(keys.size()) + 30, 20);
    heading(s, bold(72), title, 512, 190, top, bottom, glow);
    int y = 310;
    for (const std::string& line : lines) {
        text(s, regular(26), line, 512, y, {212, 220, 238});
        y += 40;
    }
    y = keysTop;
    for (const std::string& keys_line : keys) {
        keyLine(s, 512, y, keys_line, Align::Centre, 24);
        y += 52;
    }
    finishScreen(s);
    return s;
}

}  // namespace

SDL_Surface* levelCompleteScreen() {
    return messageScreen(41, "Level complete", {210, 250, 170}, {90, 200, 120}, {60, 200, 110},
                         {"Every enemy and every crate is gone."},
                         {"[Return] or [Space] next level", "[Esc] back to the title"});
}

SDL_Surface* levelLoseScreen() {
    return messageScreen(
        43, "Ship lost", {255, 190, 150}, {230, 70, 60}, {220, 50, 40},
        {"A shot reached your ship. The level starts again."},
        {"[Return] or [Space] try again", "[S] change ship", "[Esc] back to the title"});
}

SDL_Surface* gameOverScreen() {
    return messageScreen(47, "Game over", {255, 170, 140}, {200, 40, 50}, {200, 30, 40},
                         {"All your ships are lost."},
                         {"[Return], [Esc] or [Space] back to the title"});
}

SDL_Surface* creditsScreen() {
    SDL_Surface* s = screenBase(53);
    panel(s, 132, 120, 892, 640, 20);
    heading(s, bold(104), "Skarlume", 512, 150, {252, 226, 130}, {240, 118, 60}, {255, 120, 50});
    text(s, regular(30), "Made by the Skarlume team", 512, 320, {226, 232, 246});
    text(s, regular(24), "Levels, pictures and code: the Skarlume team", 512, 380, {176, 190, 220});
    text(s, regular(24), "Fonts: DejaVu", 512, 420, {176, 190, 220});
    text(s, regular(22), "Thank you for playing.", 512, 486, {176, 190, 220});
    keyLine(s, 512, 556, "[Return], [Esc] or [Space] back to the title", Align::Centre, 24);
    finishScreen(s);
    return s;
}

}  // namespace makeimages
