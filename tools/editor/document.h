// The level being edited: the file's lines in their order, comment lines kept as they are,
// records read with the game's own loader and written back in the format it reads.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calc.h"
#include "levelline.h"

// One record of a level file, as the game loaded it.
struct LevelObject {
    RecordKind kind = RecordKind::None;
    point at{0, 0};           // a picture's top-left corner; a wall's upper end; an area's top-left
    point to{0, 0};           // a wall's lower end; an area's bottom-right corner
    int direction = 0;        // a shooter's facing: 0, 90, 180 or 270
    std::vector<point> walk;  // a shooter's waypoints; empty when it stands still
};

bool operator==(const LevelObject& a, const LevelObject& b);
bool isShooter(RecordKind kind);

// The line the loader reads back as exactly this object.
std::string formatRecord(const LevelObject& object);

struct DocumentLine {
    std::string text;                   // as read, or as last written for an edited record
    std::optional<LevelObject> object;  // none for comments and for lines the loader refuses
};

class LevelDocument {
public:
    // Reads the text line by line as the game does (LF or CR LF); needs the pictures loaded.
    static LevelDocument fromText(const std::string& text);
    // What a new file starts as: a name, a ship and a ship area it fits in.
    static LevelDocument newLevel();

    // The file's text: one line each, LF line ends, a line feed after the last.
    std::string text() const;
    std::vector<std::string> lines() const;

    size_t size() const { return content.size(); }
    const DocumentLine& line(size_t index) const { return content[index]; }
    const LevelObject* object(size_t index) const;
    // The last Ship line, the one whose position the game uses.
    std::optional<size_t> shipLine() const;

    // Edits. A new object goes last, as later records come later in the rules' order.
    size_t add(const LevelObject& object);
    void replace(size_t index, const LevelObject& object);
    void remove(size_t index);

    // The level's name: its first line, when that line is no record.
    std::string name() const;
    // False when the name could be read as a record or is not plain printable text.
    static bool validName(const std::string& name);
    // Sets the name; true when a line was inserted before every other (the file had none).
    bool setName(const std::string& name);

    bool operator==(const LevelDocument& other) const { return text() == other.text(); }
    bool operator!=(const LevelDocument& other) const { return !(*this == other); }

private:
    std::vector<DocumentLine> content;
};
