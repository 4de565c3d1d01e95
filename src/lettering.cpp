// Lettering: text drawn glyph by glyph from a glyph sheet that the build draws.
#include "lettering.h"

#include "graphics.h"

#include <iostream>
#include <memory>

Lettering::~Lettering() {
    SDL_FreeSurface(sheet);
}

bool Lettering::load(const char* file, std::string& error) {
    SDL_Surface* loadedSheet = LoadImage(file);
    if (loadedSheet == nullptr) {
        error = std::string("cannot load the editor's lettering ") + file + ": " + SDL_GetError() +
                " (the build draws it: cmake --build build)";
        return false;
    }
    if (loadedSheet->w % GLYPH_COUNT != 0 || loadedSheet->h % INK_COUNT != 0 ||
        loadedSheet->w < GLYPH_COUNT || loadedSheet->h < INK_COUNT) {
        error = std::string(file) + " is not the editor's glyph sheet: it is " +
                std::to_string(loadedSheet->w) + "x" + std::to_string(loadedSheet->h) + ", not " +
                std::to_string(GLYPH_COUNT) + " glyphs by " + std::to_string(INK_COUNT) + " inks";
        SDL_FreeSurface(loadedSheet);
        return false;
    }
    SDL_FreeSurface(sheet);
    sheet = loadedSheet;
    cellWidth = sheet->w / GLYPH_COUNT;
    cellHeight = sheet->h / INK_COUNT;
    return true;
}

void Lettering::draw(int x, int y, const std::string& text, Ink ink) const {
    if (sheet == nullptr)
        return;
    const int row = int(ink) * cellHeight;
    for (char c : text) {
        int index = static_cast<unsigned char>(c) - GLYPH_FIRST;
        if (index < 0 || index >= GLYPH_COUNT)
            index = '?' - GLYPH_FIRST;
        DrawPartialImage(sheet, x, y, index * cellWidth, row, cellWidth, cellHeight);
        x += cellWidth;
    }
}

namespace {
std::unique_ptr<Lettering> shared;
bool sharedFailed = false;
}  // namespace

const Lettering* gameLettering() {
    if (shared == nullptr && !sharedFailed) {
        auto loading = std::make_unique<Lettering>();
        std::string error;
        if (loading->load(GLYPH_SHEET_FILE, error))
            shared = std::move(loading);
        else {
            sharedFailed = true;
            std::cerr << "skarlume: no lettering, so no level names are shown: " << error
                      << std::endl;
        }
    }
    return shared.get();
}

void unloadGameLettering() {
    shared.reset();
    sharedFailed = false;
}
