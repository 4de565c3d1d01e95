// How the picture maker gives up: one line on the standard error stream, then exit status 1.
#include "failure.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace makeimages {

void failBecause(const std::string& what, const std::string& why) {
    fprintf(stderr, "makeimages: %s: %s\n", what.c_str(), why.c_str());
    exit(1);
}

void fail(const std::string& what) {
    failBecause(what, SDL_GetError());
}

}  // namespace makeimages
