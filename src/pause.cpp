// The paused game: the screen kept, dimmed, under a few words; it waits for a key.
#include "pause.h"

#include <string>

#include "graphics.h"
#include "input.h"
#include "lettering.h"
#include "skarlume.h"

namespace {

bool isArrow(SDLKey key) {
    return key == SDLK_UP || key == SDLK_DOWN || key == SDLK_LEFT || key == SDLK_RIGHT;
}

void centred(const Lettering& lettering, int y, const std::string& text, Ink ink) {
    lettering.draw((SCREEN_WIDTH - lettering.width(text)) / 2, y, text, ink);
}

// The frame the pause came on, dimmed, with the words over it.
void drawPaused(SDL_Surface* frame) {
    Slock(screen);
    if (frame != nullptr)
        DrawImage(frame, 0, 0);
    DimScreen();
    if (const Lettering* lettering = gameLettering()) {
        const int y = SCREEN_HEIGHT / 2 - lettering->lineHeight();
        centred(*lettering, y, "Paused", Ink::Highlight);
        centred(*lettering, y + 2 * lettering->lineHeight(),
                "P: go on     Esc or Q: leave the level", Ink::Plain);
    }
    Sulock(screen);
    presentScreen(nullptr);
}

}  // namespace

bool pausesPlay(const SDL_Event& event) {
    if (event.type == SDL_KEYDOWN)
        return event.key.keysym.sym == SDLK_p;
    return event.type == SDL_ACTIVEEVENT && event.active.gain == 0 &&
           (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)) != 0 && focusLossWasReal();
}

int runPause(std::vector<SDL_Event>& released) {
    // The last frame, kept to draw the paused game again after the screen is lost.
    SDL_Surface* frame = SDL_DisplayFormat(screen);
    drawPaused(frame);
    int next = STATE_GAME;
    for (;;) {
        const SDL_Event event = waitForInput();
        if (event.type == SDL_QUIT) {
            next = STATE_QUIT;
            break;
        }
        if (event.type == SDL_KEYUP && isArrow(event.key.keysym.sym))
            released.push_back(event);
        if (event.type == SDL_KEYDOWN) {
            const SDLKey key = event.key.keysym.sym;
            if (key == SDLK_p)
                break;
            if (key == SDLK_ESCAPE || key == SDLK_q) {
                next = STATE_TITLE;
                break;
            }
        }
        if (event.type == SDL_VIDEOEXPOSE)
            drawPaused(frame);
    }
    SDL_FreeSurface(frame);
    // The dimmed picture is on the screen: the next frame draws everything anew.
    screenLost();
    return next;
}
