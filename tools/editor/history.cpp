// Undo and redo in bounded memory: each edit kept as the lines it changed.
#include "history.h"

#include <algorithm>
#include <utility>

size_t EditHistory::Change::bytes() const {
    size_t total = sizeof(Change);
    for (const DocumentLine& line : removed)
        total += line.bytes();
    for (const DocumentLine& line : inserted)
        total += line.bytes();
    return total;
}

void EditHistory::apply(LevelDocument& document, const Change& change, bool forward) {
    const std::vector<DocumentLine>& from = forward ? change.removed : change.inserted;
    const std::vector<DocumentLine>& to = forward ? change.inserted : change.removed;
    document.splice(change.at, from.size(), to);
    document.setNewLineEnd(forward ? change.endAfter : change.endBefore);
}

bool EditHistory::edited(const LevelDocument& before, const LevelDocument& after) {
    // The lines both share at the start and at the end are left out of the change.
    const size_t shorter = std::min(before.size(), after.size());
    size_t head = 0;
    while (head < shorter && before.line(head) == after.line(head))
        ++head;
    size_t tail = 0;
    while (tail < shorter - head &&
           before.line(before.size() - 1 - tail) == after.line(after.size() - 1 - tail))
        ++tail;
    Change change;
    change.at = head;
    change.removed = before.slice(head, before.size() - head - tail);
    change.inserted = after.slice(head, after.size() - head - tail);
    change.endBefore = before.newLineEnd();
    change.endAfter = after.newLineEnd();
    change.id = ++lastId;

    for (const Change& dropped : undone)
        held -= dropped.bytes();
    undone.clear();
    held += change.bytes();
    done.push_back(std::move(change));
    bool forgot = false;
    while (held > budget && done.size() > 1) {
        held -= done.front().bytes();
        base = done.front().id;
        done.pop_front();
        forgot = true;
    }
    return forgot;
}

bool EditHistory::undo(LevelDocument& current) {
    if (done.empty())
        return false;
    apply(current, done.back(), false);
    undone.push_back(std::move(done.back()));
    done.pop_back();
    return true;
}

bool EditHistory::redo(LevelDocument& current) {
    if (undone.empty())
        return false;
    apply(current, undone.back(), true);
    done.push_back(std::move(undone.back()));
    undone.pop_back();
    return true;
}
