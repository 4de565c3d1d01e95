// The level report: lateness put into a replay, the random player's games, the measures of a
// level played through the game, and the campaign's targets.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "levelfixture.h"
#include "levelreport.h"
#include "replayrunner.h"
#include "skarlume.h"

namespace {

ReplayEvent press(int frame, SDLKey key) {
    return {frame, true, key};
}
ReplayEvent release(int frame, SDLKey key) {
    return {frame, false, key};
}

// A walk right and a shot as it stops, a walk up that turns left on the way, a shot while
// walking.
Replay walksAndShots() {
    Replay replay;
    replay.level = 3;
    replay.events = {press(10, SDLK_RIGHT),   release(40, SDLK_RIGHT), press(40, SDLK_SPACE),
                     release(40, SDLK_SPACE), press(60, SDLK_UP),      release(70, SDLK_UP),
                     press(70, SDLK_LEFT),    press(80, SDLK_SPACE),   release(80, SDLK_SPACE),
                     release(90, SDLK_LEFT)};
    return replay;
}

// How many frames each event was put off.
std::vector<int> delays(const Replay& original, const Replay& late) {
    std::vector<int> out;
    for (size_t i = 0; i < original.events.size(); ++i)
        out.push_back(late.events[i].frame - original.events[i].frame);
    return out;
}

TEST(Lateness, OnlyShotsAndStepsFromRestAreLateAndEachDelayCarriesOn) {
    const Replay original = walksAndShots();
    // Starts from rest: the first step (10), the shots (40, 80) and the step up (60), taken
    // after the ship stopped. The turn at 70 and the releases take the delay before them: the
    // walk that stops as the shot goes is not made longer by the shot's delay.
    const std::vector<bool> fromRest = {true,  false, true, false, true,
                                        false, false, true, false, false};
    for (unsigned seed = 0; seed < 50; ++seed) {
        std::mt19937 random(seed);
        const Replay late = lateReplay(original, 15, random);
        ASSERT_EQ(late.events.size(), original.events.size());
        const std::vector<int> delay = delays(original, late);
        int before = 0;
        for (size_t i = 0; i < delay.size(); ++i) {
            SCOPED_TRACE("event " + std::to_string(i) + ", seed " + std::to_string(seed));
            EXPECT_EQ(late.events[i].key, original.events[i].key);
            EXPECT_EQ(late.events[i].press, original.events[i].press);
            if (fromRest[i]) {
                EXPECT_GE(delay[i] - before, 0);
                EXPECT_LE(delay[i] - before, 15);
            } else {
                EXPECT_EQ(delay[i], before);
            }
            before = delay[i];
        }
    }
}

TEST(Lateness, TwoArrowsPressedTogetherFromRestAreOneStart) {
    Replay diagonal;
    diagonal.level = 3;
    diagonal.events = {press(10, SDLK_RIGHT),   press(10, SDLK_UP),   release(50, SDLK_UP),
                       release(60, SDLK_RIGHT), press(70, SDLK_LEFT), press(70, SDLK_DOWN)};
    std::set<int> apart;
    for (unsigned seed = 0; seed < 50; ++seed) {
        std::mt19937 random(seed);
        const std::vector<int> delay = delays(diagonal, lateReplay(diagonal, 15, random));
        SCOPED_TRACE("seed " + std::to_string(seed));
        EXPECT_EQ(delay[1], delay[0]) << "the walk goes off diagonally, not one arrow late";
        EXPECT_EQ(delay[2], delay[0]);
        EXPECT_EQ(delay[3], delay[0]);
        EXPECT_EQ(delay[5], delay[4]) << "a second diagonal start, after a stop";
        apart.insert(delay[4] - delay[0]);
    }
    EXPECT_GT(apart.size(), 1u) << "the second start is put off on its own";
}

TEST(Lateness, EveryDelayFromNoneToTheBoundOccursAndNoneBeyond) {
    Replay shot;
    shot.level = 1;
    shot.events = {press(5, SDLK_SPACE), release(5, SDLK_SPACE)};
    std::set<int> seen;
    std::mt19937 random(7);
    for (int i = 0; i < 400; ++i) {
        const Replay late = lateReplay(shot, 6, random);
        EXPECT_EQ(late.events[0].frame, late.events[1].frame) << "a press and its release part";
        seen.insert(late.events[0].frame - 5);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4, 5, 6}));
    std::mt19937 again(7);
    EXPECT_EQ(delays(walksAndShots(), lateReplay(walksAndShots(), 0, again)),
              std::vector<int>(10, 0));
}

// Follows a random player's arrow into the arrows held, which it checks: an arrow goes down
// only when up and comes up only when down, one per axis at a time.
void followArrow(const ReplayEvent& event, std::set<SDLKey>& down) {
    EXPECT_EQ(down.count(event.key) == 0, event.press) << "frame " << event.frame;
    if (event.press)
        down.insert(event.key);
    else
        down.erase(event.key);
    EXPECT_FALSE(down.count(SDLK_LEFT) && down.count(SDLK_RIGHT)) << "frame " << event.frame;
    EXPECT_FALSE(down.count(SDLK_UP) && down.count(SDLK_DOWN)) << "frame " << event.frame;
}

TEST(RandomPlay, AGameIsAValidReplayOfAMinuteThatTheSameSeedRepeats) {
    const Replay game = randomReplay(9, RANDOM_PLAY_FRAMES, 42);
    EXPECT_EQ(game.level, 9);
    EXPECT_GE(game.ship, 1);
    EXPECT_LE(game.ship, 3);
    // It survives a trip through a replay file.
    std::stringstream file;
    writeReplay(file, game);
    Replay read;
    std::string error;
    ASSERT_TRUE(parseReplay(file, read, error)) << error;
    ASSERT_EQ(read.events.size(), game.events.size());
    std::set<SDLKey> down;
    int shots = 0;
    for (const ReplayEvent& event : game.events) {
        ASSERT_LE(event.frame, RANDOM_PLAY_FRAMES);
        if (event.key == SDLK_SPACE) {
            shots += event.press;
            continue;
        }
        followArrow(event, down);
    }
    // About a shot a second.
    EXPECT_GT(shots, 30);
    EXPECT_LT(shots, 100);
    const Replay same = randomReplay(9, RANDOM_PLAY_FRAMES, 42);
    const Replay other = randomReplay(9, RANDOM_PLAY_FRAMES, 43);
    EXPECT_EQ(delays(game, same), std::vector<int>(game.events.size(), 0));
    EXPECT_TRUE(other.events.size() != game.events.size() ||
                delays(game, other) != std::vector<int>(game.events.size(), 0));
}

TEST(RandomPlay, TheSweeperCrossesItsAreaBothWaysWhileFiringOnAFixedBeat) {
    for (unsigned seed = 0; seed < 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const Replay game = sweepingReplay(4, RANDOM_PLAY_FRAMES, seed);
        EXPECT_EQ(game.level, 4);
        EXPECT_GE(game.ship, 1);
        EXPECT_LE(game.ship, 3);
        std::vector<int> shots;
        std::set<SDLKey> down;
        int lastFrame = 1, across = 0, turns = 0, longestStill = 0, stillSince = 1;
        for (const ReplayEvent& event : game.events) {
            ASSERT_GE(event.frame, lastFrame) << "events in frame order";
            ASSERT_LE(event.frame, RANDOM_PLAY_FRAMES);
            lastFrame = event.frame;
            if (event.key == SDLK_SPACE) {
                if (event.press)
                    shots.push_back(event.frame);
                continue;
            }
            followArrow(event, down);
            // After the events of a frame, one side arrow is always held: the sweep never stops.
            if (event.press && (event.key == SDLK_LEFT || event.key == SDLK_RIGHT)) {
                turns += across != 0 && across != event.key;
                across = event.key;
                longestStill = std::max(longestStill, event.frame - stillSince);
                stillSince = event.frame;
            }
        }
        EXPECT_EQ(down.count(SDLK_LEFT) + down.count(SDLK_RIGHT), 1u);
        // A sweep lasts 60 to 420 frames, so a minute has between 8 and 60 turns.
        EXPECT_GE(turns, 8);
        EXPECT_LE(turns, 60);
        EXPECT_LE(std::max(longestStill, RANDOM_PLAY_FRAMES - stillSince), 420);
        // A steady beat: every gap between shots the same, 20 to 60 frames.
        ASSERT_GE(shots.size(), 2u);
        const int beat = shots[1] - shots[0];
        EXPECT_GE(beat, 20);
        EXPECT_LE(beat, 60);
        for (size_t i = 1; i < shots.size(); ++i)
            EXPECT_EQ(shots[i] - shots[i - 1], beat);
        EXPECT_GT(shots.back() + beat, RANDOM_PLAY_FRAMES);
    }
    EXPECT_NE(sweepingReplay(4, RANDOM_PLAY_FRAMES, 1).events.size(),
              sweepingReplay(4, RANDOM_PLAY_FRAMES, 2).events.size());
}

// A row that meets every target; each test spoils one thing.
LevelRow sound(int number) {
    LevelRow row;
    row.number = number;
    row.randomPlays = 30;
    row.lateTries = 10;
    row.slightlyLateWins = 10;
    row.quiteLateWins = number > 25 ? 2 : 10;
    row.replayWins = true;
    return row;
}

std::vector<LevelRow> campaign() {
    std::vector<LevelRow> rows;
    for (int number = 1; number <= 35; ++number)
        rows.push_back(sound(number));
    return rows;
}

TEST(CampaignTargets, RandomPlayMayWinTheFirstLevelsOnceTheMiddleOnesAndNoneLater) {
    std::vector<LevelRow> rows = campaign();
    EXPECT_EQ(missedTargets(rows), std::vector<std::string>{});
    rows[4].randomWins = 30;  // level 5: no limit
    rows[5].randomWins = 1;   // level 6: once is allowed
    rows[9].randomWins = 1;
    EXPECT_EQ(missedTargets(rows), std::vector<std::string>{});
    rows[6].randomWins = 2;   // level 7: twice is not
    rows[10].randomWins = 1;  // level 11: never
    rows[34].sweepWins = 1;   // the sweeper is held to the same bounds
    const std::vector<std::string> missed = missedTargets(rows);
    ASSERT_EQ(missed.size(), 3u);
    EXPECT_EQ(missed[0].rfind("level 7: the masher wins it 2 times in 30", 0), 0u) << missed[0];
    EXPECT_EQ(missed[1].rfind("level 11: the masher wins it 1 times", 0), 0u) << missed[1];
    EXPECT_EQ(missed[2].rfind("level 35: the sweeper wins it 1 times", 0), 0u) << missed[2];
}

TEST(CampaignTargets, TheMiddleLevelsAllowOneWinInThirtyGamesWhateverTheNumberOfGames) {
    std::vector<LevelRow> rows = campaign();
    for (LevelRow& row : rows)
        row.randomPlays = 100;
    rows[5].randomWins = 3;  // level 6: 3 in 100 is below 1 in 30
    rows[7].sweepWins = 3;
    EXPECT_EQ(missedTargets(rows), std::vector<std::string>{});
    rows[8].sweepWins = 4;  // level 9: 4 in 100 is not
    EXPECT_EQ(missedTargets(rows),
              std::vector<std::string>{
                  "level 9: the sweeper wins it 4 times in 100, at most 1 in 30 allowed"});
}

TEST(CampaignTargets, LatenessBoundsHoldForWhateverNumberOfTries) {
    std::vector<LevelRow> rows = campaign();
    rows[9].quiteLateWins = 9;  // level 10: 9 in 10 is enough
    rows[20].slightlyLateWins = 8;
    EXPECT_EQ(missedTargets(rows), std::vector<std::string>{});
    rows[0].quiteLateWins = 8;      // level 1 must forgive 15 frames 9 times in 10
    rows[10].quiteLateWins = 0;     // level 11 need not
    rows[16].slightlyLateWins = 7;  // every level must forgive 6 frames 8 times in 10
    rows[1].lateTries = 20;         // 17 in 20 is below 9 in 10
    rows[1].slightlyLateWins = 20;
    rows[1].quiteLateWins = 17;
    const std::vector<std::string> missed = missedTargets(rows);
    ASSERT_EQ(missed.size(), 3u);
    EXPECT_EQ(missed[0].rfind("level 1: its replay wins 8 of 10 tries up to 15", 0), 0u);
    EXPECT_EQ(missed[1].rfind("level 2: its replay wins 17 of 20 tries up to 15", 0), 0u);
    EXPECT_EQ(missed[2].rfind("level 17: its replay wins 7 of 10 tries up to 6", 0), 0u);
}

TEST(CampaignTargets, MostOfTheLastTenLevelsMustDemandMoreThanAQuarterSecond) {
    std::vector<LevelRow> rows = campaign();
    for (int number = 26; number <= 30; ++number)
        rows[number - 1].quiteLateWins = 5;  // half is not fewer than half
    EXPECT_EQ(missedTargets(rows), std::vector<std::string>{"only 5 of levels 26 to 35 win fewer "
                                                            "than half their tries 15 frames "
                                                            "late; most of them should"});
    rows[25].quiteLateWins = 4;
    EXPECT_EQ(missedTargets(rows), std::vector<std::string>{});
    // Judged only over all ten.
    std::vector<LevelRow> some(rows.begin() + 26, rows.end());
    for (LevelRow& row : some)
        row.quiteLateWins = 10;
    EXPECT_EQ(missedTargets(some), std::vector<std::string>{});
}

TEST(CampaignTargets, AReplayThatDoesNotWinIsAMissWhateverElseHolds) {
    std::vector<LevelRow> rows = campaign();
    rows[2].replayWins = false;
    EXPECT_EQ(missedTargets(rows),
              std::vector<std::string>{"level 3: its replay does not win without losing a life"});
}

// Levels and replays written on the fly, measured the way the report measures shipped ones.
class LevelMeasures : public LevelTest {
protected:
    LevelRow measure(const std::string& level, const std::string& solution) {
        writeLevel(5, level);
        scratch->write("solutions/level5.txt", "level 5\n" + solution);
        ReportOptions options;
        options.randomPlays = 3;
        options.lateTries = 10;
        return measureLevel(5, options);
    }
};

TEST_F(LevelMeasures, AStillCrateForgivesAnyLatenessAndTheRowTellsWhatTheLevelHolds) {
    const LevelRow row = measure(
        "Up: the crate above\nShip(500, 600)\nShipArea(100, 550) (950, 700)\n"
        "Wall(100, 400) (200, 500)\nCrate(500, 200)\nEnemyDual(800, 100)LEFT\n",
        "1 press space\n1 release space\n2 press right\n152 release right\n"
        "152 press space\n152 release space\n");
    EXPECT_EQ(row.name, "Up");
    EXPECT_EQ(row.areas, 1);
    EXPECT_EQ(row.walls, 1);
    EXPECT_EQ(row.crates, 1);
    EXPECT_EQ(row.forward, 0);
    EXPECT_EQ(row.dual, 1);
    EXPECT_EQ(row.bounces, (std::vector<int>{0, 0}));
    EXPECT_EQ(row.randomPlays, 3);
    // Both random players stand a while in the crate's column, firing.
    EXPECT_GT(row.randomWins + row.sweepWins, 0);
    EXPECT_TRUE(row.replayWins);
    EXPECT_EQ(row.lateTries, 10);
    EXPECT_EQ(row.slightlyLateWins, 10);
    EXPECT_EQ(row.quiteLateWins, 10);
}
TEST_F(LevelMeasures, KeptWinningGamesAreTheGamesCountedAndEachWinsAgain) {
    writeLevel(1, "Up\nShip(500, 600)\nShipArea(100, 550) (950, 700)\nCrate(500, 200)\n");
    scratch->write("solutions/level1.txt", "level 1\n1 press space\n1 release space\n");
    ReportOptions options;
    options.randomPlays = 12;
    options.lateTries = 1;
    EXPECT_TRUE(measureLevel(1, options).wonGames.empty()) << "kept only when asked";
    options.keepWonGames = true;
    const LevelRow row = measureLevel(1, options);
    ASSERT_GT(row.randomWins, 0);
    ASSERT_GT(row.sweepWins, 0);
    ASSERT_EQ(row.wonGames.size(), size_t(row.randomWins + row.sweepWins));
    std::set<std::pair<std::string, int>> games;
    for (const WonGame& won : row.wonGames) {
        SCOPED_TRACE(won.player + " game " + std::to_string(won.game));
        EXPECT_TRUE(won.player == "masher" || won.player == "sweeper");
        EXPECT_GE(won.game, 1);
        EXPECT_LE(won.game, options.randomPlays);
        games.insert({won.player, won.game});
        lives = STARTING_LIVES;
        const ReplayOutcome outcome = playReplay(won.replay, RANDOM_PLAY_FRAMES);
        EXPECT_EQ(outcome.state, STATE_LEVEL_WON);
        EXPECT_FALSE(outcome.lifeSpent);
    }
    EXPECT_EQ(games.size(), row.wonGames.size()) << "no game kept twice";
}

// A walker crosses above the ship: shots fired on frames 37 to 55 meet it, later ones miss.
TEST_F(LevelMeasures, AShotThatMeetsAWalkerForgivesLatenessOnlyFromTheStartOfItsWindow) {
    const std::string level =
        "Walker\nShip(500, 600)\nShipArea(100, 550) (950, 700)\n"
        "EnemyForward(100, 100)UP(100, 100) (900, 100)\n";
    const LevelRow early = measure(level, "37 press space\n37 release space\n");
    EXPECT_TRUE(early.replayWins);
    EXPECT_EQ(early.forward, 1);
    EXPECT_EQ(early.quiteLateWins, 10);
    const LevelRow last = measure(level, "55 press space\n55 release space\n");
    EXPECT_TRUE(last.replayWins);
    // Only a try that happens not to be late at all wins.
    EXPECT_LT(last.slightlyLateWins, 5);
    EXPECT_LT(last.quiteLateWins, 5);
    const LevelRow missed = measure(level, "56 press space\n56 release space\n");
    EXPECT_FALSE(missed.replayWins);
}

}  // namespace
