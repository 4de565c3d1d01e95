/* Times the game's frames for the real-window pacing test: preloaded into the game, it appends
   one line for each of the game's own SDL_Flip calls to the file named by SKARLUME_FLIP_COUNT:
   the monotonic clock in nanoseconds when the flip returned. Flips that an SDL library makes
   itself (sdl12-compat redraws on window events) are left out. */
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

int SDL_Flip(SDL_Surface* surface) {
    static int (*realFlip)(SDL_Surface*);
    static int out = -1;
    if (realFlip == NULL)
        realFlip = (int (*)(SDL_Surface*))dlsym(RTLD_NEXT, "SDL_Flip");
    Dl_info caller;
    int fromSdl = dladdr(__builtin_return_address(0), &caller) && caller.dli_fname &&
                  strstr(caller.dli_fname, "libSDL") != NULL;
    int result = realFlip(surface);
    const char* path = getenv("SKARLUME_FLIP_COUNT");
    if (path == NULL || fromSdl)
        return result;
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
    return result;
}
