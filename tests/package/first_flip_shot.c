/* Preloaded into the installed game by the package test: the first SDL_Flip, the drawn title,
   saves the screen to the BMP file named by FIRST_FLIP_SHOT and ends the process. It is not
   linked with SDL, so that preloading it into the launcher's shell costs nothing: the game's
   own SDL library provides the calls. */
#include <SDL.h>
#include <stdlib.h>
#include <unistd.h>

int SDL_Flip(SDL_Surface* screen) {
    const char* path = getenv("FIRST_FLIP_SHOT");
    if (path == NULL || SDL_SaveBMP(screen, path) != 0)
        _exit(3);
    _exit(0);
}
