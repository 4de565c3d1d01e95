/* Times the game's frames for the real-window pacing test: preloaded into the game, it appends
   one line for each frame the game itself sends to the display (SDL_Flip for a whole one,
   SDL_UpdateRects for the places that changed) to the file named by SKARLUME_FLIP_COUNT: the
   monotonic clock in nanoseconds when the call returned. Calls that an SDL library makes
   itself (sdl12-compat redraws on window events, a flip of a software screen updates it) are
   left out. */
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static int calledFromSdl(const void* returnAddress) {
    Dl_info caller;
    return dladdr(returnAddress, &caller) && caller.dli_fname &&
           strstr(caller.dli_fname, "libSDL") != NULL;
}

static void stamp(void) {
    static int out = -1;
    const char* path = getenv("SKARLUME_FLIP_COUNT");
    if (path == NULL)
        return;
    if (out < 0)
        out = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    char line[32];
    int length = snprintf(line, sizeof line, "%lld\n",
                          (long long)now.tv_sec * 1000000000LL + (long long)now.tv_nsec);
    /* One write a line, so a reader sees whole lines and at most a last one cut short. */
    if (out >= 0 && write(out, line, (size_t)length) != length)
        fprintf(stderr, "flipcount: cannot write to %s\n", path);
}

int SDL_Flip(SDL_Surface* surface) {
    static int (*realFlip)(SDL_Surface*);
    if (realFlip == NULL)
        realFlip = (int (*)(SDL_Surface*))dlsym(RTLD_NEXT, "SDL_Flip");
    int fromSdl = calledFromSdl(__builtin_return_address(0));
    int result = realFlip(surface);
    if (!fromSdl)
        stamp();
    return result;
}

void SDL_UpdateRects(SDL_Surface* surface, int count, SDL_Rect* rects) {
    static void (*realUpdate)(SDL_Surface*, int, SDL_Rect*);
    if (realUpdate == NULL)
        realUpdate = (void (*)(SDL_Surface*, int, SDL_Rect*))dlsym(RTLD_NEXT, "SDL_UpdateRects");
    int fromSdl = calledFromSdl(__builtin_return_address(0));
    realUpdate(surface, count, rects);
    if (!fromSdl)
        stamp();
}
