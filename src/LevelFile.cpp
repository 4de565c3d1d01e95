// The words of a level file, reading its lines, and where the loader's problems go.
#include "LevelFile.h"

#include <iostream>

const char* recordKeyword(RecordKind kind) {
    switch (kind) {
        case RecordKind::Ship:
            return "Ship";
        case RecordKind::ShipArea:
            return "ShipArea";
        case RecordKind::Wall:
            return "Wall";
        case RecordKind::Crate:
            return "Crate";
        case RecordKind::EnemyForward:
            return "EnemyForward";
        case RecordKind::EnemyDual:
            return "EnemyDual";
        case RecordKind::None:
            break;
    }
    return "";
}

RecordKind recordKind(const std::string& keyword) {
    for (RecordKind kind : RECORD_KINDS)
        if (keyword == recordKeyword(kind))
            return kind;
    return RecordKind::None;
}

std::string keywordOf(const std::string& line) {
    const size_t open = line.find('(');
    return open == std::string::npos ? std::string() : line.substr(0, open);
}

namespace {
struct DirectionWord {
    int direction;
    const char* word;
};
constexpr DirectionWord directionWords[] = {{0, "UP"}, {90, "RIGHT"}, {180, "DOWN"}, {270, "LEFT"}};
}  // namespace

int getDirection(std::string word) {
    for (const DirectionWord& entry : directionWords)
        if (word == entry.word)
            return entry.direction;
    return -1;
}

const char* directionWord(int direction) {
    for (const DirectionWord& entry : directionWords)
        if (direction == entry.direction)
            return entry.word;
    return "UP";
}

std::string levelNameOf(const std::string& firstLine) {
    if (firstLine.find('(') != std::string::npos)
        return "";
    const std::string name = firstLine.substr(0, firstLine.find(':'));
    const char* blanks = " \t";
    const size_t first = name.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return name.substr(first, name.find_last_not_of(blanks) - first + 1);
}

bool readLevelLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

void printLoadProblem(std::ostream& out, const LoadProblem& problem) {
    if (problem.line > 0)
        out << problem.path << ":" << problem.line << ": " << problem.text << "\n";
    else
        out << problem.text << ": " << problem.path << "\n";
}

void printToStandardError(const LoadProblem& problem) {
    printLoadProblem(std::cerr, problem);
    std::cerr.flush();
}

void ignoreLoadProblem(const LoadProblem&) {}
