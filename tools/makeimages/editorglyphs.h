// The editor's lettering: every printable ASCII character in a monospaced face, one cell each,
// light on black, once per ink. The editor letters its window from it, so the installed game
// needs no font file.
#pragma once

#include <SDL.h>

namespace makeimages {

SDL_Surface* editorGlyphSheet();

}  // namespace makeimages
