// Undo and redo in bounded memory: each edit keeps only the lines it replaced and the lines
// that replaced them, and the oldest edits are forgotten once the history passes its budget.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "document.h"

class EditHistory {
public:
    // What the history may hold; 32 MB keeps thousands of edits of even a large file.
    static constexpr size_t DEFAULT_BUDGET = size_t(32) << 20;
    explicit EditHistory(size_t budget = DEFAULT_BUDGET) : budget(budget) {}

    // Records that `before` became `after`; whatever was undone is then gone. True when the
    // oldest edits had to be forgotten to keep within the budget (the newest is always kept).
    bool edited(const LevelDocument& before, const LevelDocument& after);
    // Each changes the document shown back or forward by one edit; false if there is none.
    bool undo(LevelDocument& current);
    bool redo(LevelDocument& current);

    // Names the document's state: the same number again after undo or redo comes back to it.
    std::uint64_t state() const { return done.empty() ? base : done.back().id; }

    size_t bytes() const { return held; }
    size_t undoable() const { return done.size(); }
    size_t limit() const { return budget; }

private:
    // Lines [at, at + removed.size()) became `inserted`.
    struct Change {
        size_t at = 0;
        std::vector<DocumentLine> removed, inserted;
        std::string endBefore, endAfter;  // the end new lines got before and after
        std::uint64_t id = 0;             // the state this edit leads to
        size_t bytes() const;
    };
    static void apply(LevelDocument& document, const Change& change, bool forward);

    size_t budget;
    size_t held = 0;
    std::uint64_t base = 0;  // the state before the oldest edit kept
    std::uint64_t lastId = 0;
    std::deque<Change> done;
    std::vector<Change> undone;
};
