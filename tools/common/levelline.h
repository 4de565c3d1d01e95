// One line of a level file read into a level with the game's own loader, and what it added:
// shared by the checker and the editor, so that both see exactly what the game sees.
#pragma once

#include <string>

#include "Level.h"

struct LoadedRecord {
    RecordKind kind = RecordKind::None;  // None: a comment, or a line the loader skipped
    bool skipped = false;                // a record keyword on a line the loader refused
    const Wall* wall = nullptr;          // the wall the line added
    const bound* area = nullptr;         // the ship area the line added
    const Ship* target = nullptr;        // the crate or enemy the line added
};

// Feeds `line` to level.loadLine and tells what it added. The loader's problem with a refused
// line goes to `problems`.
LoadedRecord loadRecord(Level& level, const std::string& line, const char* name, int lineNumber,
                        const ProblemSink& problems);
