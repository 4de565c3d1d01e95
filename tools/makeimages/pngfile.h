// The menu entry's icons are PNG files with an alpha channel, which desktops expect and SDL 1.2
// cannot write.
#pragma once

#include <SDL.h>

#include <vector>

namespace makeimages {

// A PNG file of w by h pixels given as 8-bit RGBA rows, top row first.
std::vector<Uint8> pngFile(int w, int h, const std::vector<Uint8>& rgba);

}  // namespace makeimages
