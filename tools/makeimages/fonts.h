// The picture maker's fonts: DejaVu Sans, its bold face and DejaVu Sans Mono, looked for in the
// folder the build was configured with (the CMake cache variable SKARLUME_FONT_DIR) and opened
// once for each size.
#pragma once

#include <SDL_ttf.h>

#include <string>

namespace makeimages {

enum class Face { Regular, Bold, Mono };

// A line saying which face's file is missing from `dir` and how to provide it; empty when
// every face is there.
std::string missingFont(const std::string& dir);
// Ends the program with that line when a face is missing from the configured folder.
void requireFonts();

TTF_Font* font(Face face, int size);
inline TTF_Font* bold(int size) {
    return font(Face::Bold, size);
}
inline TTF_Font* regular(int size) {
    return font(Face::Regular, size);
}
void closeFonts();

}  // namespace makeimages
