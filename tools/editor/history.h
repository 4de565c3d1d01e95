// Undo and redo: every edit keeps a copy of the document as it was before.
#pragma once

#include <vector>

#include "document.h"

class EditHistory {
public:
    // Records that `before` was replaced by an edit; whatever was undone is then gone.
    void edited(const LevelDocument& before);
    // Each hands back the document to show, given the one shown now; false if none.
    bool undo(LevelDocument& current);
    bool redo(LevelDocument& current);

private:
    std::vector<LevelDocument> done;
    std::vector<LevelDocument> undone;
};
