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
    std::string end = "\n";             // the line's own end: "\n", "\r\n", or none on a last line

    bool operator==(const DocumentLine& other) const {
        return text == other.text && end == other.end;
    }
    // Roughly what the line takes in memory.
    size_t bytes() const;
};

// What a file's text looks like beside its records, for the warnings on opening it.
struct TextTraits {
    size_t lines = 0, filled = 0, records = 0;  // filled: lines with more than blanks
    size_t crlfEnds = 0, lfEnds = 0;
    bool nulBytes = false;
    bool lastLineEnded = true;
};

class LevelDocument {
public:
    // Reads the text line by line as the game does (LF or CR LF), keeping each line's end;
    // needs the pictures loaded.
    static LevelDocument fromText(const std::string& text);
    // What a new file starts as: a name, a ship and a ship area it fits in.
    static LevelDocument newLevel();

    // The file's text: every line with its own end, so lines not edited keep their bytes.
    std::string text() const;
    TextTraits traits() const;
    // The end new lines get: the one most of the file's lines have, LF when none has one.
    const std::string& newLineEnd() const { return lineEnd; }
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
    // Swaps two lines, ends kept in place; the order of walls matters to the rules.
    void swapLines(size_t a, size_t b);

    // Lines [at, at + count) as they are, and putting `lines` in their place: what the undo
    // history keeps of an edit.
    std::vector<DocumentLine> slice(size_t at, size_t count) const;
    void splice(size_t at, size_t count, const std::vector<DocumentLine>& lines);

    // The level's name: its first line, when that line is no record.
    std::string name() const;
    // False when the name could be read as a record or is not plain printable text.
    static bool validName(const std::string& name);
    // Sets the name; true when a line was inserted before every other (the file had none).
    bool setName(const std::string& name);

    bool operator==(const LevelDocument& other) const { return content == other.content; }
    bool operator!=(const LevelDocument& other) const { return !(*this == other); }

    void setNewLineEnd(const std::string& end) { lineEnd = end; }

private:
    // A line put after the last one ends that one first.
    void endLastLine();

    std::vector<DocumentLine> content;
    std::string lineEnd = "\n";
};
