// The level report: what each level holds, what it asks of the player, how often random play
// wins it and how much lateness its winning replay forgives, checked against the campaign's
// targets.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "levelchoice.h"
#include "replayfile.h"

// Random play: a minute of play by one of two random players, each with a random ship. Neither
// looks at the screen, so a level that either wins has a way through that needs no aim.
constexpr int RANDOM_PLAY_FRAMES = 3600;

// The masher holds an arrow, or none, on each axis (left, right or neither; up, down or
// neither, picked evenly) and picks both holds again every 10 to 90 frames; on any frame it
// presses and releases space with a chance of 1 in 60, about a shot a second. (Mashing space
// faster only retires its own shots before they arrive: no more than five fly at once.)
Replay randomReplay(int level, int frames, unsigned seed);

// The sweeper walks its ship area from side to side while firing steadily: it holds left or
// right for 60 to 420 frames (up to the width of the field), then turns, and on each turn it
// may step up or down for up to 60 frames; it fires once every 20 to 60 frames, the period
// picked once a game, so its shots comb the field at every place it passes.
Replay sweepingReplay(int level, int frames, unsigned seed);

// Lateness: the replay with every action that starts from rest (a shot, or a first step while
// no arrow was held before its frame; two arrows pressed on that frame are one start) put off by
// 0 to `maxLate` frames at random, each delay carrying on to everything after it, the events
// after it on the same frame included.
Replay lateReplay(const Replay& replay, int maxLate, std::mt19937& random);

struct ReportOptions {
    int randomPlays = 100;      // for each random player; a shorter run plays the first of the same
                                // games
    int lateTries = 40;         // for each of the two lateness bounds
    unsigned seed = 1;          // another seed plays other games and other late tries
    bool keepWonGames = false;  // keep each random game that wins, to watch how it did
};

// A random game that won, as a replay of its keys.
struct WonGame {
    std::string player;  // "masher" or "sweeper"
    int game = 0;        // its place among the level's games, from 1
    Replay replay;
};

constexpr int SLIGHTLY_LATE = 6;  // 100 ms: every level must forgive it
constexpr int QUITE_LATE = 15;    // 250 ms: the first levels forgive it, the last ones do not

struct LevelRow {
    int number = 0;    // 0 for a level file outside the campaign
    std::string file;  // the level's file
    std::string name;  // the level file's first line, up to its colon
    int areas = 0, walls = 0, crates = 0, forward = 0, dual = 0;
    std::vector<int> bounces;  // per target: the fewest bounces of a shot from frame 1, or -1
    int randomWins = 0, sweepWins = 0, randomPlays = 0;  // the masher's and the sweeper's
    int slightlyLateWins = 0, quiteLateWins = 0, lateTries = 0;
    bool replayWins = false;        // the shipped replay wins with no life lost
    int replayFrames = 0;           // the frame it wins on
    std::vector<WonGame> wonGames;  // with ReportOptions::keepWonGames
};

// Measures level `number` of the working directory with its replay solutions/levelN.txt, or
// any level with its kept replay (see replayHomeOf). Needs the game started headless.
LevelRow measureLevel(int number, const ReportOptions& options);
LevelRow measureLevel(const LevelChoice& level, const ReportOptions& options);

// The campaign's targets, one line for each that `rows` miss. The rule over the last levels
// is judged only when `rows` hold all of them; a level file outside the campaign has no place
// in it and is held to the rules of every level.
std::vector<std::string> missedTargets(const std::vector<LevelRow>& rows);
