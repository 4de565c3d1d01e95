// The level a tool is asked for: a campaign level by number or any level file by path, checked
// before anything is played, and where that level's winning replay is kept.
#pragma once

#include <string>

#include "replayfile.h"

struct LevelChoice {
    int number = 0;    // 1 to LEVEL_COUNT for the campaign's own file; 0 for any other file
    std::string file;  // what the game's loader reads

    // "level 7" or "level FILE", as the tools print it.
    std::string title() const;
    // An empty replay of this level with `ship`.
    Replay replay(int ship) const;
};

// The level of a path: the campaign's levels/levelN.txt of the working directory counts as level
// N however it is written; any other path is a level file. The file need not exist.
LevelChoice levelOfFile(const std::string& path);

// "7" is the campaign's level 7; anything else is a path. False, with the reason, for a number
// outside 1 to LEVEL_COUNT ("no level N") or a file that cannot be a level: "no level file
// PATH" when it does not exist, "PATH is a directory, not a level file", a pipe or a device, or
// a file that cannot be read.
bool chooseLevel(const std::string& argument, LevelChoice& level, std::string& error);
// The same for a replay's own level.
bool levelFileProblem(const Replay& replay, std::string& error);

// Where a level's replay is kept: solutions/levelN.txt for the campaign's level N; for any other
// file, beside it under its name with ".replay" for its extension (mine.txt: mine.replay).
std::string replayHomeOf(const LevelChoice& level);

// Whether the replay plays this level (the same file, however either names it).
bool replayPlays(const Replay& replay, const LevelChoice& level);

// Loads the level's kept replay. False, with the reason: "no replay PATH", the replay's own
// problem, or a replay of another level.
bool loadLevelReplay(const LevelChoice& level, Replay& replay, std::string& error);
