/* Counts the game's frames for the real-window pacing test: preloaded into the game, it writes
   the number of SDL_Flip calls so far to the file named by SKARLUME_FLIP_COUNT after each one. */
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <SDL.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

int SDL_Flip(SDL_Surface* surface) {
    static int (*realFlip)(SDL_Surface*);
    static long flips;
    if (realFlip == NULL)
        realFlip = (int (*)(SDL_Surface*))dlsym(RTLD_NEXT, "SDL_Flip");
    int result = realFlip(surface);
    const char* path = getenv("SKARLUME_FLIP_COUNT");
    FILE* out = path ? fopen(path, "w") : NULL;
    if (out) {
        fprintf(out, "%ld\n", ++flips);
        fclose(out);
    }
    return result;
}
