// Undo and redo: every edit keeps a copy of the document as it was before.
#include "history.h"

#include <utility>

void EditHistory::edited(const LevelDocument& before) {
    done.push_back(before);
    undone.clear();
}

bool EditHistory::undo(LevelDocument& current) {
    if (done.empty())
        return false;
    undone.push_back(std::move(current));
    current = std::move(done.back());
    done.pop_back();
    return true;
}

bool EditHistory::redo(LevelDocument& current) {
    if (undone.empty())
        return false;
    done.push_back(std::move(current));
    current = std::move(undone.back());
    undone.pop_back();
    return true;
}
