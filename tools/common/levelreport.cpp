// The level report's measures, played through the game's own level and play screen with the
// drawing clipped away, and the campaign's targets.
#include "levelreport.h"

#include <algorithm>
#include <fstream>
#include <set>

#include "Crate.h"
#include "Enemy.h"
#include "Level.h"
#include "graphics.h"
#include "headless.h"
#include "replayrunner.h"
#include "skarlume.h"
#include "survey.h"

namespace {

bool isArrow(SDLKey key) {
    return key == SDLK_UP || key == SDLK_DOWN || key == SDLK_LEFT || key == SDLK_RIGHT;
}

// Won with every life kept, from a fresh game's lives.
bool winsCleanly(const Replay& replay, int maxFrames = 0) {
    lives = STARTING_LIVES;
    const ReplayOutcome outcome = playReplay(replay, maxFrames);
    return outcome.state == STATE_LEVEL_WON && !outcome.lifeSpent;
}

std::string levelName(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line.substr(0, line.find(':'));
}

void countObjects(const std::string& file, LevelRow& row) {
    changeLevel(file, bg, 1);
    Level* current = getCurrentLevel();
    row.areas = int(current->getPlayer()->getBounds().size());
    row.walls = int(current->getWalls().size());
    for (Ship* target : current->getEnemies()) {
        row.crates += dynamic_cast<const Crate*>(target) != nullptr;
        row.forward += dynamic_cast<const FShooter*>(target) != nullptr;
        row.dual += dynamic_cast<const DShooter*>(target) != nullptr;
    }
}

int lateWins(const Replay& replay, int maxLate, const ReportOptions& options) {
    int wins = 0;
    for (int attempt = 0; attempt < options.lateTries; ++attempt) {
        std::seed_seq seeds{options.seed, unsigned(replay.level), unsigned(maxLate),
                            unsigned(attempt)};
        std::mt19937 random(seeds);
        wins += winsCleanly(lateReplay(replay, maxLate, random));
    }
    return wins;
}

// Lets go of the axis's held arrow, if any, and holds `next`, if any.
void changeHold(Replay& replay, int frame, SDLKey& held, SDLKey next) {
    if (held == next)
        return;
    if (held != SDLK_UNKNOWN)
        replay.events.push_back({frame, false, held});
    if (next != SDLK_UNKNOWN)
        replay.events.push_back({frame, true, next});
    held = next;
}

// A random player's game before its first key: the level, and a ship picked at random.
Replay randomGame(int level, std::mt19937& random) {
    Replay replay;
    replay.level = level;
    replay.ship = 1 + int(random() % 3);
    return replay;
}

void pressSpace(Replay& replay, int frame) {
    replay.events.push_back({frame, true, SDLK_SPACE});
    replay.events.push_back({frame, false, SDLK_SPACE});
}

}  // namespace

Replay randomReplay(int level, int frames, unsigned seed) {
    std::mt19937 random(seed);
    Replay replay = randomGame(level, random);
    const SDLKey across[] = {SDLK_UNKNOWN, SDLK_LEFT, SDLK_RIGHT};
    const SDLKey upDown[] = {SDLK_UNKNOWN, SDLK_UP, SDLK_DOWN};
    SDLKey holdX = SDLK_UNKNOWN, holdY = SDLK_UNKNOWN;
    for (int frame = 1, nextChange = 1; frame <= frames; ++frame) {
        if (frame == nextChange) {
            changeHold(replay, frame, holdX, across[random() % 3]);
            changeHold(replay, frame, holdY, upDown[random() % 3]);
            nextChange = frame + 10 + int(random() % 81);
        }
        if (random() % 60 == 0)
            pressSpace(replay, frame);
    }
    return replay;
}

Replay sweepingReplay(int level, int frames, unsigned seed) {
    std::mt19937 random(seed);
    Replay replay = randomGame(level, random);
    const SDLKey upDown[] = {SDLK_UNKNOWN, SDLK_UP, SDLK_DOWN};
    const int period = 20 + int(random() % 41);
    int nextShot = 1 + int(random() % unsigned(period));
    SDLKey holdX = random() % 2 ? SDLK_LEFT : SDLK_RIGHT, holdY = SDLK_UNKNOWN;
    replay.events.push_back({1, true, holdX});
    for (int frame = 1, nextTurn = 61 + int(random() % 361), stepEnds = 0; frame <= frames;
         ++frame) {
        if (frame == nextTurn) {
            changeHold(replay, frame, holdX, holdX == SDLK_LEFT ? SDLK_RIGHT : SDLK_LEFT);
            changeHold(replay, frame, holdY, upDown[random() % 3]);
            stepEnds = frame + 1 + int(random() % 60);
            nextTurn = frame + 60 + int(random() % 361);
        }
        if (frame == stepEnds)
            changeHold(replay, frame, holdY, SDLK_UNKNOWN);
        if (frame == nextShot) {
            pressSpace(replay, frame);
            nextShot += period;
        }
    }
    return replay;
}

Replay lateReplay(const Replay& replay, int maxLate, std::mt19937& random) {
    Replay late = replay;
    // Arrows held before the current frame's events: a release and a press on one frame are a
    // turn, not a start.
    std::set<SDLKey> held, heldBefore;
    int delay = 0, frame = 0;
    bool startedThisFrame = false;
    for (ReplayEvent& event : late.events) {
        if (event.frame != frame) {
            frame = event.frame;
            heldBefore = held;
            startedThisFrame = false;
        }
        // Two arrows pressed together from rest are one start, as a hand moves off diagonally.
        const bool start = isArrow(event.key) && heldBefore.empty() && !startedThisFrame;
        if (event.press && (event.key == SDLK_SPACE || start))
            delay += int(random() % unsigned(maxLate + 1));
        if (event.press && start)
            startedThisFrame = true;
        if (isArrow(event.key)) {
            if (event.press)
                held.insert(event.key);
            else
                held.erase(event.key);
        }
        event.frame += delay;
    }
    return late;
}

LevelRow measureLevel(int number, const ReportOptions& options) {
    return measureLevel(LevelChoice{number, levelFileName(number)}, options);
}

LevelRow measureLevel(const LevelChoice& level, const ReportOptions& options) {
    const int number = level.number;
    LevelRow row;
    row.number = number;
    row.file = level.file;
    row.name = levelName(level.file);
    countObjects(level.file, row);
    for (const TargetSurvey& target : surveyLevel(level.file).targets)
        row.bounces.push_back(target.fewest);

    ClippedDrawing clipped;
    row.randomPlays = options.randomPlays;
    for (int play = 0; play < options.randomPlays; ++play) {
        Replay random =
            randomReplay(number, RANDOM_PLAY_FRAMES, options.seed * 1000003u + unsigned(play));
        random.levelFile = level.replay(1).levelFile;
        const bool mashed = winsCleanly(random, RANDOM_PLAY_FRAMES);
        row.randomWins += mashed;
        std::seed_seq sweeperSeeds{options.seed, unsigned(number), unsigned(play)};
        unsigned sweeperSeed = 0;
        sweeperSeeds.generate(&sweeperSeed, &sweeperSeed + 1);
        Replay sweep = sweepingReplay(number, RANDOM_PLAY_FRAMES, sweeperSeed);
        sweep.levelFile = random.levelFile;
        const bool swept = winsCleanly(sweep, RANDOM_PLAY_FRAMES);
        row.sweepWins += swept;
        if (options.keepWonGames && mashed)
            row.wonGames.push_back({"masher", play + 1, random});
        if (options.keepWonGames && swept)
            row.wonGames.push_back({"sweeper", play + 1, sweep});
    }

    Replay replay;
    std::string error;
    if (!loadLevelReplay(level, replay, error))
        return row;
    lives = STARTING_LIVES;
    const ReplayOutcome outcome = playReplay(replay);
    row.replayWins = outcome.state == STATE_LEVEL_WON && !outcome.lifeSpent;
    row.replayFrames = outcome.frame;
    row.lateTries = options.lateTries;
    row.slightlyLateWins = lateWins(replay, SLIGHTLY_LATE, options);
    row.quiteLateWins = lateWins(replay, QUITE_LATE, options);
    return row;
}

namespace {
// A random player's bound, the same for both players: none from level 11, at most 1 in 30
// from level 6, whatever the number of games.
void missRandomWins(const LevelRow& row, const char* player, int wins,
                    std::vector<std::string>& missed) {
    const std::string played =
        "level " + (row.number != 0 ? std::to_string(row.number) : row.file) + ": " + player +
        " wins it " + std::to_string(wins) + " times in " + std::to_string(row.randomPlays);
    if (row.number >= 11 && wins > 0)
        missed.push_back(played + ", and should never");
    else if (row.number >= 6 && wins * 30 > row.randomPlays)
        missed.push_back(played + ", at most 1 in 30 allowed");
}
}  // namespace

std::vector<std::string> missedTargets(const std::vector<LevelRow>& rows) {
    std::vector<std::string> missed;
    auto miss = [&](const LevelRow& row, const std::string& what) {
        missed.push_back("level " + (row.number != 0 ? std::to_string(row.number) : row.file) +
                         ": " + what);
    };
    std::set<int> lastLevels;
    int lastLevelsDemanding = 0;
    for (const LevelRow& row : rows) {
        if (!row.replayWins)
            miss(row, "its replay does not win without losing a life");
        missRandomWins(row, "the masher", row.randomWins, missed);
        missRandomWins(row, "the sweeper", row.sweepWins, missed);
        // At least 8 in 10, or 9 in 10, whatever the number of tries.
        if (row.slightlyLateWins * 10 < row.lateTries * 8)
            miss(row, "its replay wins " + std::to_string(row.slightlyLateWins) + " of " +
                          std::to_string(row.lateTries) +
                          " tries up to 6 frames late, 8 in 10 needed");
        if (row.number >= 1 && row.number <= 10 && row.quiteLateWins * 10 < row.lateTries * 9)
            miss(row, "its replay wins " + std::to_string(row.quiteLateWins) + " of " +
                          std::to_string(row.lateTries) +
                          " tries up to 15 frames late, 9 in 10 needed");
        if (row.number > LEVEL_COUNT - 10) {
            lastLevels.insert(row.number);
            lastLevelsDemanding += row.quiteLateWins * 2 < row.lateTries;
        }
    }
    // Most of the last ten levels need better than a quarter-second's lateness somewhere.
    if (int(lastLevels.size()) == 10 && lastLevelsDemanding <= 5)
        missed.push_back("only " + std::to_string(lastLevelsDemanding) + " of levels " +
                         std::to_string(LEVEL_COUNT - 9) + " to " + std::to_string(LEVEL_COUNT) +
                         " win fewer than half their tries 15 frames late; most of them should");
    return missed;
}
