// The level checker: reads a level file with the game's loader and reports its problems.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// One problem: the line it is on (from 1; 0 when it concerns the level as a whole) and what.
struct LevelFinding {
    int line;
    std::string text;
};

// Checks one level file and writes one line per problem ("file:line: what") to `report`.
// Returns the number of problems; an unreadable file is one. Needs the pictures loaded.
int checkLevelFile(const std::string& path, std::ostream& report);

// Checks a level given as its lines (the editor's unsaved document) by the same rules; `name`
// stands for the file in the loader's messages.
std::vector<LevelFinding> checkLevelLines(const std::vector<std::string>& lines,
                                          const std::string& name);
// Writes a finding as checklevel prints it: "name:line: text", or "name: text".
void printFinding(std::ostream& report, const std::string& name, const LevelFinding& finding);
