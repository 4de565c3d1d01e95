// The layout of the editor's glyph sheet, shared by the picture maker that draws it and the
// editor that letters its window with it.
#pragma once

// Printable ASCII, one cell a character, in a row for each ink.
constexpr const char* GLYPH_SHEET_FILE = "images/editor-glyphs.bmp";
constexpr int GLYPH_FIRST = 32;
constexpr int GLYPH_COUNT = 95;
enum class Ink { Plain, Highlight, Problem, Mark, Count };
constexpr int INK_COUNT = int(Ink::Count);
// Each ink's colour, red, green and blue: none is pure white, the game's transparent colour.
constexpr int INK_COLOURS[INK_COUNT][3] = {
    {225, 225, 225}, {250, 215, 80}, {250, 110, 90}, {120, 210, 250}};
