// What the editor draws over the level: the grid, the selection, the enemies' walks, the
// checker's findings and the lettering (status, message, help).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document.h"
#include "lettering.h"
#include "shapes.h"

struct EditorMarks {
    bool shown = true;                 // false: the level alone, as the player sees it
    int gridStep = 0;                  // 0 when the grid is off
    std::optional<size_t> selected;    // the object picked last, with its handles
    std::vector<size_t> alsoSelected;  // the others picked with it
    std::vector<size_t> flagged;       // lines the checker found a problem on
    std::string status;                // the top line: tool, file, grid, findings, cursor
    std::string selection;             // the selected object: its line, type and position
    std::string message;               // the lines below them, one per line feed
    Ink messageInk = Ink::Plain;
    bool listOnTop = false;             // the findings under the message instead of at the bottom
    std::vector<std::string> findings;  // the findings list, its heading first
    std::optional<Box> box;             // the rectangle a box selection spans
    std::vector<std::string> help;      // the help overlay, when not empty
};

// The rows of the findings list: the first row's top edge and the rows' height. The heading
// is row 0; a finding's row is 1 and on.
struct ListRows {
    int top, rowHeight, rows;
    // The row at height y, or -1 when y is not on the list.
    int rowAt(int y) const;
};
ListRows findingsRows(const EditorMarks& marks, const Lettering& lettering);

// Draws the marks for the level shown (already drawn by the game's own Level::draw).
void drawMarks(const LevelDocument& shown, const EditorMarks& marks, const Lettering& lettering);
