// One line of a level file read into a level with the game's own loader, and what it added.
#include "levelline.h"

namespace {

RecordKind kindOf(const std::string& keyword) {
    if (keyword == "Ship")
        return RecordKind::Ship;
    if (keyword == "ShipArea")
        return RecordKind::ShipArea;
    if (keyword == "Wall")
        return RecordKind::Wall;
    if (keyword == "Crate")
        return RecordKind::Crate;
    if (keyword == "EnemyForward")
        return RecordKind::EnemyForward;
    if (keyword == "EnemyDual")
        return RecordKind::EnemyDual;
    return RecordKind::None;
}

}  // namespace

std::string keywordOf(const std::string& line) {
    const size_t open = line.find('(');
    return open == std::string::npos ? std::string() : line.substr(0, open);
}

LoadedRecord loadRecord(Level& level, const std::string& line, const char* name, int lineNumber) {
    LoadedRecord record;
    const RecordKind kind =
        line.find('(') == std::string::npos ? RecordKind::None : kindOf(keywordOf(line));
    if (!level.loadLine(line, name, lineNumber)) {
        record.skipped = kind != RecordKind::None;
        return record;
    }
    record.kind = kind;
    if (kind == RecordKind::Wall)
        record.wall = &level.getWalls().back();
    else if (kind == RecordKind::ShipArea)
        record.area = &level.getPlayer()->getBounds().back();
    else if (kind != RecordKind::Ship)
        record.target = level.getEnemies().back();
    return record;
}
