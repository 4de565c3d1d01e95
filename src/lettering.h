// Lettering: text drawn glyph by glyph from a glyph sheet that the build draws into images/,
// since the installed game ships no font. The editor letters its window with it.
#pragma once

#include <SDL.h>

#include <string>

#include "glyphsheet.h"

class Lettering {
public:
    Lettering() = default;
    ~Lettering();
    Lettering(const Lettering&) = delete;
    Lettering& operator=(const Lettering&) = delete;

    // False, with the reason in `error`, when the sheet is missing or is no glyph sheet.
    bool load(const char* file, std::string& error);

    int glyphWidth() const { return cellWidth; }
    int lineHeight() const { return cellHeight; }
    int width(const std::string& text) const { return int(text.size()) * cellWidth; }
    // Draws the text on a dark strip; a character the sheet lacks is drawn as "?".
    void draw(int x, int y, const std::string& text, Ink ink = Ink::Plain) const;

private:
    SDL_Surface* sheet = nullptr;
    int cellWidth = 0;
    int cellHeight = 0;
};

// The game's own lettering (the level's name in play, the texts over the still screens),
// loaded at its first use once the window is open; null, said once on the standard error
// stream, when the sheet cannot be loaded: the game then plays without those texts.
const Lettering* gameLettering();
// Frees it with the other pictures; the next use loads it again.
void unloadGameLettering();
