// The game's picture files: 16-bit 5-6-5 BMPs, the display's own format, so that the game's
// load is a plain copy and not a pixel-by-pixel conversion. SDL reads such files (BI_BITFIELDS)
// but writes only 24-bit ones, hence this writer.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

namespace makeimages {

// The file's bytes for a canvas: each channel keeps its top 5 or 6 bits, so pure white stays
// 0xFFFF, the colour key.
std::vector<Uint8> bmp565File(SDL_Surface* canvas);
void saveBmp565(SDL_Surface* canvas, const std::string& path);

}  // namespace makeimages
