// What the editor draws over the level: the grid, the selection, the enemies' walks, the
// checker's findings and the lettering (status, message, help).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document.h"
#include "lettering.h"

struct EditorMarks {
    bool shown = true;  // false: the level alone, as the player sees it
    int gridStep = 0;   // 0 when the grid is off
    std::optional<size_t> selected;
    std::vector<size_t> flagged;  // lines the checker found a problem on
    std::string status;           // the top line: tool, file, grid, findings, cursor
    std::string message;          // the line below it
    Ink messageInk = Ink::Plain;
    std::vector<std::string> findings;  // listed at the bottom
    std::vector<std::string> help;      // the help overlay, when not empty
};

// Draws the marks for the level shown (already drawn by the game's own Level::draw).
void drawMarks(const LevelDocument& shown, const EditorMarks& marks, const Lettering& lettering);
