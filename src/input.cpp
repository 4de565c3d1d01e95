// Events on their way to the screens: the keys of every screen are taken here.
#include "input.h"

namespace {

// Answers the keys that work the same on every screen; true when the event was one of them
// and must not reach the screen.
bool handledOnEveryScreen(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN)
        return false;
    switch (event.key.keysym.sym) {
        default:
            return false;
    }
}

}  // namespace

bool pollInput(SDL_Event& event) {
    while (SDL_PollEvent(&event))
        if (!handledOnEveryScreen(event))
            return true;
    return false;
}

SDL_Event waitForInput() {
    SDL_Event event;
    for (;;) {
        if (SDL_WaitEvent(&event) == 0) {
            event.type = SDL_QUIT;
            return event;
        }
        if (!handledOnEveryScreen(event))
            return event;
    }
}
