// The shipped campaign: every recorded replay wins its level on all lives, the 35 levels play
// through as one game, and the level checker catches each kind of mistake in a level file.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "Level.h"
#include "levelcheck.h"
#include "replayrunner.h"
#include "skarlume.h"
#include "testutil.h"

namespace {

std::string solutionPath(int number) {
    return "solutions/level" + std::to_string(number) + ".txt";
}

void pushKey(SDLKey key) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

TEST(Campaign, EveryReplayWinsItsLevelWithoutLosingALife) {
    ensureGame();
    for (int number = 1; number <= LEVEL_COUNT; ++number) {
        SCOPED_TRACE("level " + std::to_string(number));
        Replay replay;
        std::string error;
        ASSERT_TRUE(loadReplay(solutionPath(number), replay, error)) << error;
        EXPECT_EQ(replay.level, number);
        lives = STARTING_LIVES;
        ReplayOutcome outcome = playReplay(replay);
        EXPECT_STREQ(outcomeName(outcome.state), "won") << "at frame " << outcome.frame;
        EXPECT_FALSE(outcome.lifeSpent);
        EXPECT_EQ(lives, 4);
    }
}

TEST(Campaign, AllLevelsPlayAsOneGameAndEndOnTheLastLevelCompleteWithFourLives) {
    ensureGame();
    lives = 1;
    level = 17;
    pushKey(SDLK_RETURN);  // "new game" is the title's first choice
    ASSERT_EQ(handleTitle(), STATE_INSTRUCTIONS);
    ASSERT_EQ(level, 1);
    ASSERT_EQ(lives, 4);
    int state = STATE_GAME;
    for (int number = 1; number <= LEVEL_COUNT; ++number) {
        SCOPED_TRACE("level " + std::to_string(number));
        ASSERT_EQ(level, number) << "the level-won screen did not advance to this level";
        Replay replay;
        std::string error;
        ASSERT_TRUE(loadReplay(solutionPath(number), replay, error)) << error;
        ReplayOutcome outcome = playReplay(replay);
        state = outcome.state;
        ASSERT_EQ(state, STATE_LEVEL_WON) << outcomeName(state) << " at frame " << outcome.frame;
        ASSERT_EQ(lives, 4);
        if (number < LEVEL_COUNT) {
            pushKey(SDLK_RETURN);
            ASSERT_EQ(handleLevelWon(), STATE_GAME);
        }
    }
    EXPECT_EQ(state, STATE_LEVEL_WON);
    EXPECT_EQ(level, LEVEL_COUNT);
    EXPECT_EQ(lives, 4);
}

// A level file in a scratch directory, checked; the report and the problem count.
struct Checked {
    int problems;
    std::string report;
};

class LevelChecker : public ::testing::Test {
protected:
    void SetUp() override { ensureGame(); }

    Checked check(const std::string& contents) {
        const std::string path = scratch.write("level.txt", contents);
        std::ostringstream report;
        int problems = checkLevelFile(path, report);
        return {problems, report.str()};
    }

    // A small sound level; each test adds one mistake to it.
    static std::string good(const std::string& extra = "") {
        return "A small sound level\n"
               "Ship(487, 680)\n"
               "ShipArea(312, 620) (712, 760)\n"
               "Crate(487, 160)\n" +
               extra;
    }

    ScratchDir scratch;
};

TEST_F(LevelChecker, SoundLevelHasNoProblems) {
    Checked result = check(good("Wall(100, 100) (200, 200)\nEnemyDual(700, 100)LEFT\n"));
    EXPECT_EQ(result.problems, 0) << result.report;
    EXPECT_EQ(result.report, "");
}

TEST_F(LevelChecker, EveryShippedLevelChecksClean) {
    for (int number = 1; number <= LEVEL_COUNT; ++number) {
        std::ostringstream report;
        EXPECT_EQ(checkLevelFile("levels/level" + std::to_string(number) + ".txt", report), 0)
            << report.str();
    }
}

TEST_F(LevelChecker, LinesTheLoaderSkipsAreReportedWithTheirLineNumber) {
    Checked result = check(good("Wall(10, 10)\nEnemyForward(100, 100)SIDEWAYS\nCrate(20000, 5)\n"));
    EXPECT_EQ(result.problems, 3) << result.report;
    EXPECT_NE(result.report.find("level.txt:5: Wall needs two points"), std::string::npos)
        << result.report;
    EXPECT_NE(result.report.find(":6: EnemyForward: the direction"), std::string::npos);
    EXPECT_NE(result.report.find(":7: Crate: a coordinate lies outside"), std::string::npos);
}

TEST_F(LevelChecker, MisspeltKeywordsAreCaughtThoughTheGameIgnoresThem) {
    const char* const slips[] = {
        "wall(10, 10) (10, 300)",  "Ship (400, 680)",  "EnemyForward (100, 100)DOWN",
        " Wall(10, 10) (10, 300)", "Crate:(300, 300)", "CRATE(300, 300)",
        "Ship Area(0, 0) (9, 9)"};
    for (const char* slip : slips) {
        SCOPED_TRACE(slip);
        Checked result = check(good(std::string(slip) + "\n"));
        EXPECT_EQ(result.problems, 1) << result.report;
        EXPECT_NE(result.report.find("level.txt:5: "), std::string::npos) << result.report;
        EXPECT_NE(result.report.find("did you mean"), std::string::npos) << result.report;
    }
    // A plain comment line with no "(" stays a comment.
    EXPECT_EQ(check(good("Walls come later\n")).problems, 0);
}

TEST_F(LevelChecker, StartOutsideEveryShipAreaIsReported) {
    Checked edge = check(
        "Touching the area's edge\nShip(312, 680)\nShipArea(312, 620) (712, 760)\nCrate(1, 1)\n");
    EXPECT_EQ(edge.problems, 1) << edge.report;
    EXPECT_NE(edge.report.find("level.txt:2: the ship's picture"), std::string::npos);
    Checked none = check("No Ship line\nShipArea(312, 620) (712, 760)\nCrate(1, 1)\n");
    EXPECT_EQ(none.problems, 1) << none.report;
    EXPECT_NE(none.report.find("no Ship line"), std::string::npos);
}

TEST_F(LevelChecker, ShipAreasTheShipCannotWalkIntoAreReportedWithTheirLine) {
    // Far away from the start area.
    Checked island = check(good("ShipArea(40, 100) (200, 300)\n"));
    EXPECT_EQ(island.problems, 1) << island.report;
    EXPECT_NE(island.report.find("level.txt:5: the ship cannot reach this ship area"),
              std::string::npos)
        << island.report;
    // Touching the start area edge to edge: the whole picture never fits in both at once.
    Checked touching = check(good("ShipArea(712, 620) (900, 760)\n"));
    EXPECT_EQ(touching.problems, 1) << touching.report;
    EXPECT_NE(touching.report.find("level.txt:5: the ship cannot reach"), std::string::npos);
    // Overlapping by a few pixels more than the picture: one step leads across.
    EXPECT_EQ(check(good("ShipArea(650, 620) (900, 760)\n")).problems, 0);
    // A room reached only through a shaft from a second area: all three are reachable, and
    // cutting the shaft too narrow for the 50-pixel picture strands the room.
    EXPECT_EQ(
        check(good("ShipArea(420, 300) (540, 700)\nShipArea(460, 300) (900, 420)\n")).problems, 0);
    Checked narrow = check(good("ShipArea(420, 300) (470, 700)\nShipArea(460, 300) (900, 420)\n"));
    EXPECT_EQ(narrow.problems, 2) << narrow.report;
    EXPECT_NE(narrow.report.find(":5: the ship area is too small"), std::string::npos);
    EXPECT_NE(narrow.report.find(":6: the ship cannot reach"), std::string::npos);
}

TEST_F(LevelChecker, ALevelZeroFileInTheWorkingDirectoryDoesNotLeakIntoTheCheck) {
    // The game would read levels/level0.txt for the checker's empty level: an area covering
    // the whole field there must not hide a start that lies outside the checked file's area.
    ScratchDir elsewhere;
    elsewhere.write("levels/level0.txt", "Everything\nShipArea(0, 0) (1024, 768)\n");
    const std::string path = scratch.write(
        "level.txt", "Start outside\nShip(100, 100)\nShipArea(312, 620) (712, 760)\nCrate(1, 1)\n");
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.path());
    std::ostringstream report;
    const int problems = checkLevelFile(path, report);
    std::filesystem::current_path(home);
    EXPECT_EQ(problems, 1) << report.str();
    EXPECT_NE(report.str().find("level.txt:2: the ship's picture"), std::string::npos)
        << report.str();
}

TEST_F(LevelChecker, DiagonalWallsMustBeTrueAndLongEnough) {
    Checked skewed = check(good("Wall(100, 100) (150, 160)\n"));
    EXPECT_EQ(skewed.problems, 1) << skewed.report;
    EXPECT_NE(skewed.report.find(":5: a diagonal wall must be 45 degrees"), std::string::npos);
    Checked stubby = check(good("Wall(100, 100) (106, 94)\n"));
    EXPECT_EQ(stubby.problems, 1) << stubby.report;
    EXPECT_NE(stubby.report.find(":5: a diagonal wall needs ends more than 6"), std::string::npos);
    EXPECT_EQ(check(good("Wall(100, 100) (107, 93)\n")).problems, 0);
}

TEST_F(LevelChecker, AnythingReachingOffTheFieldIsReported) {
    const char* const outside[] = {
        "Wall(1020, 100) (1020, 300)",                      // drawn 8 pixels wide, past x 1023
        "Wall(100, 764) (300, 764)",                        // drawn 8 pixels high, past y 767
        "Crate(990, 300)",                                  // 50 wide from 990
        "EnemyForward(100, 100)DOWN(100, 100) (100, 740)",  // its walk goes below the field
        "ShipArea(-10, 600) (400, 760)",  // overlapping the start area, so reachable
    };
    for (const char* line : outside) {
        SCOPED_TRACE(line);
        Checked result = check(good(std::string(line) + "\n"));
        EXPECT_EQ(result.problems, 1) << result.report;
        EXPECT_NE(result.report.find("level.txt:5: "), std::string::npos) << result.report;
    }
    EXPECT_EQ(check(good("Wall(1015, 100) (1015, 300)\nCrate(974, 718)\n")).problems, 0);
}

TEST_F(LevelChecker, TargetsThatOverlapAtTheStartOrOnTheirWalksAreReported) {
    Checked atStart = check(good("Crate(520, 190)\n"));
    EXPECT_EQ(atStart.problems, 1) << atStart.report;
    EXPECT_NE(atStart.report.find(":5: it overlaps the one of line 4 at the start"),
              std::string::npos);
    // The walker touches the crate on its 69th step, at (438, 160).
    Checked walking = check(good("EnemyForward(300, 160)RIGHT(300, 160) (800, 160)\n"));
    EXPECT_EQ(walking.problems, 1) << walking.report;
    EXPECT_NE(walking.report.find(":5: it overlaps the one of line 4 on frame"), std::string::npos);
    EXPECT_EQ(check(good("EnemyForward(300, 60)RIGHT(300, 60) (800, 60)\n")).problems, 0);
}

TEST_F(LevelChecker, LevelWithNothingToShootIsReported) {
    Checked result = check("Empty sky\nShip(487, 680)\nShipArea(312, 620) (712, 760)\n");
    EXPECT_EQ(result.problems, 1) << result.report;
    EXPECT_NE(result.report.find("no crate or enemy"), std::string::npos);
}

TEST_F(LevelChecker, MissingFileOrDirectoryGivesAClearMessage) {
    std::ostringstream report;
    EXPECT_EQ(checkLevelFile(scratch.path() + "/nothing.txt", report), 1);
    EXPECT_NE(report.str().find("nothing.txt: cannot open the file"), std::string::npos)
        << report.str();
    std::ostringstream directory;
    EXPECT_EQ(checkLevelFile(scratch.path(), directory), 1);
    EXPECT_NE(directory.str().find("is a directory"), std::string::npos);
}

TEST_F(LevelChecker, InvisibleBytesBeforeAKeywordAreNamedPlainly) {
    Checked bom = check("\xEF\xBB\xBFShip(487, 680)\nShipArea(312, 620) (712, 760)\nCrate(1, 1)\n");
    EXPECT_NE(bom.report.find("level.txt:1: the line starts with a byte-order mark (the bytes EF "
                              "BB BF)"),
              std::string::npos)
        << bom.report;
    EXPECT_EQ(bom.report.find("did you mean"), std::string::npos) << bom.report;
    // A zero-width space inside the keyword, and a non-breaking space before it.
    Checked hidden =
        check(good("Cr\xE2\x80\x8B"
                   "ate(300, 300)\n\xC2\xA0Wall(1, 1) (1, 90)\n"));
    EXPECT_EQ(hidden.problems, 2) << hidden.report;
    EXPECT_NE(hidden.report.find(":5: the keyword \"Crate\" has invisible bytes (E2 80 8B) inside"),
              std::string::npos)
        << hidden.report;
    EXPECT_NE(hidden.report.find(":6: the keyword \"Wall\" has invisible bytes (C2 A0) before"),
              std::string::npos)
        << hidden.report;
    // A name line in another language is no record and no problem.
    EXPECT_EQ(check(good("\xC3\x89tude (hard)\n")).problems, 0);
}

TEST_F(LevelChecker, LinesInMemoryGetTheSameFindingsAsTheFileWithTheirLines) {
    const std::string text = good("Wall(100, 100) (200, 260)\nCrate(2000, 5)\nwall(1,1) (1,9)\n");
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; readLevelLine(in, line);)
        lines.push_back(line);
    Checked fromFile = check(text);
    const std::string name = scratch.path() + "/level.txt";
    const std::vector<LevelFinding> findings = checkLevelLines(lines, name);
    std::ostringstream printed;
    for (const LevelFinding& finding : findings)
        printFinding(printed, name, finding);
    EXPECT_EQ(printed.str(), fromFile.report);
    ASSERT_EQ(findings.size(), 3u) << fromFile.report;
    EXPECT_EQ(findings[0].line, 5);
    EXPECT_EQ(findings[1].line, 6);
    EXPECT_EQ(findings[2].line, 7);
}

}  // namespace
