// The game without a window: the dummy display, the pictures, and clipped drawing.
#include "headless.h"

#include <SDL.h>

#include <csignal>
#include <cstdlib>

#include "graphics.h"
#include "skarlume.h"

bool startHeadless() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (game_screen == nullptr && InitVideo(SDL_DOUBLEBUF) == nullptr)
        return false;
    // SDL turns an interrupt into a quit event, which only a window's loop reads: a headless
    // tool would go on for ever under Ctrl+C or `timeout`.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    if (!loaded && !InitImages())
        return false;
    screen = game_screen;
    bg = GetImage(IMG_SPACE);
    return true;
}

ClippedDrawing::ClippedDrawing() {
    SDL_Rect nothing = {0, 0, 0, 0};
    SDL_SetClipRect(game_screen, &nothing);
}

ClippedDrawing::~ClippedDrawing() {
    SDL_SetClipRect(game_screen, nullptr);
}
