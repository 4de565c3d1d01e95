// The picture maker's fonts, from the folder the build was configured with.
#include "fonts.h"

#include <filesystem>
#include <map>
#include <utility>

#include "failure.h"

namespace makeimages {

namespace {

constexpr const char* FONT_DIR = SKARLUME_FONT_DIR;

std::map<std::pair<Face, int>, TTF_Font*> openFonts;

// The file of a face in the folder `dir`.
std::string fontFile(const std::string& dir, Face face) {
    const char* name = face == Face::Bold   ? "DejaVuSans-Bold.ttf"
                       : face == Face::Mono ? "DejaVuSansMono.ttf"
                                            : "DejaVuSans.ttf";
    return dir + "/" + name;
}

}  // namespace

std::string missingFont(const std::string& dir) {
    for (Face face : {Face::Regular, Face::Bold, Face::Mono}) {
        const std::string file = fontFile(dir, face);
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error))
            return "the font " + file +
                   " is missing; install the package fonts-dejavu-core, or set the CMake "
                   "variable SKARLUME_FONT_DIR to the folder that holds it";
    }
    return "";
}

void requireFonts() {
    const std::string problem = missingFont(FONT_DIR);
    if (!problem.empty()) {
        fprintf(stderr, "makeimages: %s\n", problem.c_str());
        exit(1);
    }
}

TTF_Font* font(Face face, int size) {
    auto key = std::make_pair(face, size);
    auto found = openFonts.find(key);
    if (found != openFonts.end())
        return found->second;
    const std::string file = fontFile(FONT_DIR, face);
    TTF_Font* opened = TTF_OpenFont(file.c_str(), size);
    if (opened == nullptr)
        fail("cannot open the font " + file);
    openFonts[key] = opened;
    return opened;
}

void closeFonts() {
    for (auto& entry : openFonts)
        TTF_CloseFont(entry.second);
    openFonts.clear();
}

}  // namespace makeimages
