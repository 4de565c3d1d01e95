// The level checker: reads a level file with the game's loader and reports its problems.
#pragma once

#include <iosfwd>
#include <string>

// Checks one level file and writes one line per problem ("file:line: what") to `report`.
// Returns the number of problems; an unreadable file is one. Needs the pictures loaded.
int checkLevelFile(const std::string& path, std::ostream& report);
