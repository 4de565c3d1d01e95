// The words of a level file (record keywords, direction words), reading its lines, and the
// problems the loader meets in it, handed to whoever asked for the level.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

// The kinds of record, each a line that starts with its keyword and a "(".
enum class RecordKind { None, Ship, ShipArea, Wall, Crate, EnemyForward, EnemyDual };

inline constexpr RecordKind RECORD_KINDS[] = {RecordKind::Wall,         RecordKind::ShipArea,
                                              RecordKind::Ship,         RecordKind::Crate,
                                              RecordKind::EnemyForward, RecordKind::EnemyDual};

// The keyword of a kind ("" for None), and the kind of a keyword (None for any other word).
const char* recordKeyword(RecordKind kind);
RecordKind recordKind(const std::string& keyword);
// The keyword of a line: its text before the first "(", or "" without one.
std::string keywordOf(const std::string& line);

// The direction of a level file's direction word, or -1 for any other word.
int getDirection(std::string word);
// The word of a facing: UP, RIGHT, DOWN or LEFT (UP for any other direction).
const char* directionWord(int direction);

// The name a level file's first line gives its level: the line up to its first ":" without
// the blanks around it, or "" for a line with a "(" (a record, or one the loader refused).
std::string levelNameOf(const std::string& firstLine);

// Reads the next line of a level file without its line end, LF or CR LF alike.
bool readLevelLine(std::istream& in, std::string& line);

// A file the loader could not open or read to its end (line 0), or a line it skipped.
struct LoadProblem {
    std::string path;  // the file, or the name that stands for it
    int line;          // from 1; 0 for the file as a whole
    std::string text;  // what the game says of it
};
// Whoever asks for a level says where its problems go.
using ProblemSink = std::function<void(const LoadProblem&)>;

// One line as the game writes it: "PATH:LINE: TEXT", or "TEXT: PATH" for the whole file.
void printLoadProblem(std::ostream& out, const LoadProblem& problem);
// The game's own sink: every problem on the standard error stream.
void printToStandardError(const LoadProblem& problem);
// For callers that show the problems some other way, or not at all.
void ignoreLoadProblem(const LoadProblem& problem);
