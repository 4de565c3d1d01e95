// One line of a level file read into a level with the game's own loader, and what it added.
#include "levelline.h"

LoadedRecord loadRecord(Level& level, const std::string& line, const char* name, int lineNumber,
                        const ProblemSink& problems) {
    LoadedRecord record;
    const RecordKind kind = recordKind(keywordOf(line));
    if (!level.loadLine(line, name, lineNumber, problems)) {
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
