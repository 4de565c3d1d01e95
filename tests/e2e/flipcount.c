/* Counts the game's frames for the real-window pacing test: preloaded into the game, it writes
   the number of the game's own SDL_Flip calls so far to the file named by SKARLUME_FLIP_COUNT.
   Flips that an SDL library makes itself (sdl12-compat redraws on window events) don't count. */
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <SDL.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int SDL_Flip(SDL_Surface* surface) {
    static int (*realFlip)(SDL_Surface*);
    static long flips;
    if (realFlip == NULL)
        realFlip = (int (*)(SDL_Surface*))dlsym(RTLD_NEXT, "SDL_Flip");
    Dl_info caller;
    int fromSdl = dladdr(__builtin_return_address(0), &caller) && caller.dli_fname &&
                  strstr(caller.dli_fname, "libSDL") != NULL;
    int result = realFlip(surface);
    const char* path = getenv("SKARLUME_FLIP_COUNT");
    if (path == NULL || fromSdl)
        return result;
    /* Written beside and renamed over, so that a reader never sees a half-written count. */
    char temporary[4096];
    snprintf(temporary, sizeof temporary, "%s.tmp", path);
    FILE* out = fopen(temporary, "w");
    if (out) {
        fprintf(out, "%ld\n", ++flips);
        fclose(out);
        rename(temporary, path);
    }
    return result;
}
