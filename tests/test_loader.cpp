// Level files: what the loader builds from them, and what it skips with a warning.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "Crate.h"
#include "Enemy.h"
#include "levelfixture.h"
#include "skarlume.h"

namespace {

class LoaderTest : public LevelTest {};

template <typename List>
auto nth(const List& list, int index) {
    return *std::next(list.begin(), index);
}

const char* const exampleLevel =
    "Walls and enemies of a small level\n"
    "Ship(480, 680)\n"
    "ShipArea(300, 600) (724, 760)\n"
    "Wall(100, 100) (100, 400)\n"
    "Wall(150, 50) (600, 50)\n"
    "Wall(200, 300) (300, 400)\n"
    "Wall(800, 300) (700, 400)\n"
    "Crate(480, 300)\n"
    "EnemyForward(150, 120)DOWN(150, 120) (400, 120) (400, 250)\n"
    "EnemyDual(600, 200)LEFT\n";

TEST_F(LoaderTest, ExampleFileBuildsTheLevelItDescribes) {
    Level* level = startLevel(exampleLevel);
    Player* player = level->getPlayer();
    EXPECT_EQ(player->getXPosition(), 480);
    EXPECT_EQ(player->getYPosition(), 680);
    ASSERT_EQ(player->getBounds().size(), 1u);
    bound area = player->getBounds().front();
    EXPECT_EQ(area.left, 300);
    EXPECT_EQ(area.top, 600);
    EXPECT_EQ(area.right, 724);
    EXPECT_EQ(area.bottom, 760);

    ASSERT_EQ(level->getWalls().size(), 4u);
    EXPECT_EQ(nth(level->getWalls(), 0).getDirection(), 0);
    EXPECT_EQ(nth(level->getWalls(), 1).getDirection(), 90);
    EXPECT_EQ(nth(level->getWalls(), 2).getDirection(), 135);
    EXPECT_EQ(nth(level->getWalls(), 3).getDirection(), 45);

    EXPECT_EQ(level->getEnemyCount(), 3);
    ASSERT_EQ(level->getEnemies().size(), 3u);
    Ship* crate = nth(level->getEnemies(), 0);
    EXPECT_NE(dynamic_cast<Crate*>(crate), nullptr);
    EXPECT_EQ(crate->getXPosition(), 480);
    EXPECT_EQ(crate->getYPosition(), 300);

    auto* forward = dynamic_cast<FShooter*>(nth(level->getEnemies(), 1));
    ASSERT_NE(forward, nullptr);
    EXPECT_EQ(forward->getDirection(), 180);
    EXPECT_EQ(forward->getXPosition(), 150);
    std::list<point> walk = {{150, 120}, {400, 120}, {400, 250}};
    EXPECT_EQ(forward->getPath(), walk);

    auto* dual = dynamic_cast<DShooter*>(nth(level->getEnemies(), 2));
    ASSERT_NE(dual, nullptr);
    EXPECT_EQ(dual->getDirection(), 270);
    std::list<point> standStill = {{600, 200}};
    EXPECT_EQ(dual->getPath(), standStill);
}

TEST_F(LoaderTest, PointsScanLikeTheFormattedInputRules) {
    struct Case {
        const char* line;
        bool read;
        int x, y;
    };
    const Case cases[] = {
        {"Ship(10, 20)", true, 10, 20},
        {"Ship(10,20)", true, 10, 20},
        {"Ship( 10,   20) and anything after it", true, 10, 20},
        {"Ship(-5, 3", true, -5, 3},
        {"Ship(+7,\t8)", true, 7, 8},
        {"Ship(10 , 20)", false, 0, 0},
        {"Ship(10, )", false, 0, 0},
        {"Ship(x, 20)", false, 0, 0},
    };
    for (const Case& c : cases) {
        Level* level = startLevel(std::string(c.line) + "\n");
        Player* player = level->getPlayer();
        if (c.read) {
            EXPECT_EQ(player->getXPosition(), c.x) << c.line;
            EXPECT_EQ(player->getYPosition(), c.y) << c.line;
        } else {
            EXPECT_EQ(player->getXPosition(), 0) << c.line;
            EXPECT_EQ(player->getYPosition(), 0) << c.line;
        }
    }
}

TEST_F(LoaderTest, PairsNeedTheFirstPointClosedBeforeTheSecond) {
    PrintedProblems errors;
    Level* level = startLevel(
        "Wall(1, 2) (3, 2)\n"
        "Wall(1,2)(5,2)\n"
        "Wall(1, 2)   (7, 2)\n"
        "Wall(1, 2), (9, 2)\n"
        "Wall(1, 2 ) (9, 2)\n",
        900, errors.sink());
    ASSERT_EQ(level->getWalls().size(), 3u);
    EXPECT_EQ(nth(level->getWalls(), 1).getEnd(), (point{5, 2}));
    EXPECT_EQ(nth(level->getWalls(), 2).getEnd(), (point{7, 2}));
    EXPECT_NE(errors.text().find(":4: "), std::string::npos);
    EXPECT_NE(errors.text().find(":5: "), std::string::npos);
}

TEST_F(LoaderTest, KeywordsAreComparedWhole) {
    Level* level = startLevel(
        "Ship(100, 200)\n"
        "Ship (300, 400)\n"
        "wall(0, 0) (0, 100)\n"
        " Wall(0, 0) (0, 100)\n"
        "ShipArea(10, 20) (500, 600)\n"
        "Ship(110, 210)\n"
        "Crates(5, 5)\n"
        "no record here\n"
        "\n");
    Player* player = level->getPlayer();
    EXPECT_EQ(player->getXPosition(), 110) << "the second Ship line wins";
    EXPECT_EQ(player->getYPosition(), 210);
    EXPECT_EQ(player->getBounds().size(), 1u) << "Ship never adds an area";
    EXPECT_TRUE(level->getWalls().empty());
    EXPECT_EQ(level->getEnemyCount(), 0);
}

TEST_F(LoaderTest, CarriageReturnLineEndsAndAMissingLastLineFeedLoadTheSame) {
    std::string unix = exampleLevel;
    std::string windows;
    for (char c : unix)
        windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::string unterminated = unix.substr(0, unix.size() - 1);

    for (const std::string& text : {windows, unterminated}) {
        Level* level = startLevel(text);
        EXPECT_EQ(level->getWalls().size(), 4u);
        ASSERT_EQ(level->getEnemyCount(), 3);
        auto* dual = dynamic_cast<DShooter*>(nth(level->getEnemies(), 2));
        ASSERT_NE(dual, nullptr) << "LEFT followed by a carriage return is still LEFT";
        EXPECT_EQ(dual->getDirection(), 270);
        EXPECT_EQ(level->getPlayer()->getXPosition(), 480);
    }
}

TEST_F(LoaderTest, EnemyPathsReadEveryPointWhateverSeparatesThem) {
    Level* level = startLevel(
        "EnemyForward(10, 10)UP(1, 2)(3, 4) (5, 6)xx(7, 8)\n"
        "EnemyDual(10, 10)RIGHT(1, 2) (3, 4\n"
        "EnemyForward(10, 10)DOWN\n");
    ASSERT_EQ(level->getEnemyCount(), 3);
    std::list<point> four = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
    EXPECT_EQ(dynamic_cast<Enemy*>(nth(level->getEnemies(), 0))->getPath(), four);
    std::list<point> unclosed = {{1, 2}, {3, 4}};
    EXPECT_EQ(dynamic_cast<Enemy*>(nth(level->getEnemies(), 1))->getPath(), unclosed);
    std::list<point> start = {{10, 10}};
    EXPECT_EQ(dynamic_cast<Enemy*>(nth(level->getEnemies(), 2))->getPath(), start);
}

TEST_F(LoaderTest, DirectionWordsMustBeExact) {
    EXPECT_EQ(getDirection("UP"), 0);
    EXPECT_EQ(getDirection("RIGHT"), 90);
    EXPECT_EQ(getDirection("DOWN"), 180);
    EXPECT_EQ(getDirection("LEFT"), 270);
    EXPECT_EQ(getDirection("LEFT "), -1);
    EXPECT_EQ(getDirection("up"), -1);
    EXPECT_EQ(getDirection(""), -1);
}

// What the editor writes is what the loader reads: every keyword and direction word there is.
TEST_F(LoaderTest, EveryKeywordAndDirectionWordReadsBackAsTheOneWritten) {
    for (RecordKind kind : RECORD_KINDS)
        EXPECT_EQ(recordKind(recordKeyword(kind)), kind) << recordKeyword(kind);
    EXPECT_EQ(recordKind("Ships"), RecordKind::None);
    EXPECT_EQ(recordKind(""), RecordKind::None);
    for (int direction : {0, 90, 180, 270})
        EXPECT_EQ(getDirection(directionWord(direction)), direction);
}

TEST_F(LoaderTest, SkippedLinesWarnWithFileAndLineAndTheRestStillLoads) {
    PrintedProblems errors;
    Level* level = startLevel(
        "Crate(100, 100)\n"
        "Crate(oops)\n"
        "EnemyForward(10, 10)LEFT (20, 20)\n"
        "EnemyForward(10, 10)SIDEWAYS\n"
        "EnemyDual(10, 10)UP(20, 20) (30, x)\n"
        "EnemyDual(10, 10\n"
        "Crate(200, 200)\n",
        901, errors.sink());
    EXPECT_EQ(level->getEnemyCount(), 2);
    EXPECT_EQ(nth(level->getEnemies(), 1)->getXPosition(), 200);
    const std::string text = errors.text();
    for (int line : {2, 3, 4, 5, 6})
        EXPECT_NE(text.find("levels/level901.txt:" + std::to_string(line) + ": "),
                  std::string::npos)
            << "no warning for line " << line << " in:\n"
            << text;
    EXPECT_EQ(text.find(":1: "), std::string::npos);
    EXPECT_EQ(text.find(":7: "), std::string::npos);
    EXPECT_NE(text.find("\"LEFT \""), std::string::npos) << "the warning shows the bad word";
}

// Whoever asks for the level hears of each skipped line once, with its file, line and reason.
TEST_F(LoaderTest, EverySkippedLineReachesTheCallersSinkWithItsFileAndLine) {
    std::vector<LoadProblem> heard;
    auto collect = [&heard](const LoadProblem& problem) { heard.push_back(problem); };
    startLevel("A name (not a record)\nCrate(oops)\nCrate(5, 5)\n\nWall(1, 2)\n", 902, collect);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].path, "levels/level902.txt");
    EXPECT_EQ(heard[0].line, 2);
    EXPECT_EQ(heard[0].text, "Crate needs a position, as in Crate(x, y); line skipped");
    EXPECT_EQ(heard[1].line, 5);
    EXPECT_EQ(heard[1].text, "Wall needs two points, as in Wall(x1, y1) (x2, y2); line skipped");

    // Lines from memory name the file by the name they are given.
    heard.clear();
    Level fromLines({"Ship(1, 1)", "EnemyDual(1, 1)NORTH"}, "unsaved level", bg, 1, collect);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].path, "unsaved level");
    EXPECT_EQ(heard[0].line, 2);
    EXPECT_NE(heard[0].text.find("\"NORTH\""), std::string::npos) << heard[0].text;

    heard.clear();
    changeLevel(404, bg, 1, collect);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].line, 0) << "a missing file is no line's problem";
}

// The game's own sink: the same words on the standard error stream that players have always
// seen, one line each.
TEST_F(LoaderTest, TheGameWritesTheLoadersProblemsOnTheStandardErrorStream) {
    writeLevel(903, "Crate(1, 1)\nShip(x, 1)\nShipArea(1, 2) (3)\n");
    testing::internal::CaptureStderr();
    changeLevel(903, bg, 1);
    changeLevel(404, bg, 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "levels/level903.txt:2: Ship needs a position, as in Ship(x, y); line skipped\n"
              "levels/level903.txt:3: ShipArea needs two points, as in ShipArea(x1, y1) "
              "(x2, y2); line skipped\n"
              "Cannot open file: levels/level404.txt\n");
}

TEST_F(LoaderTest, CoordinatesBeyondTenThousandAreSkipped) {
    PrintedProblems errors;
    Level* level = startLevel(
        "Crate(10000, -10000)\n"
        "Crate(10001, 0)\n"
        "Crate(0, -10001)\n"
        "Wall(0, 0) (0, 10001)\n"
        "Wall(-10000, 0) (10000, 0)\n"
        "ShipArea(0, 0) (99999999999999999999, 5)\n"
        "EnemyForward(0, 0)UP(0, 0) (2147483647, 0)\n"
        "Ship(-2147483648, 0)\n",
        900, errors.sink());
    EXPECT_EQ(level->getEnemyCount(), 1);
    EXPECT_EQ(level->getWalls().size(), 1u);
    EXPECT_TRUE(level->getPlayer()->getBounds().empty());
    EXPECT_EQ(level->getPlayer()->getXPosition(), 0);
    for (int line : {2, 3, 4, 6, 7, 8})
        EXPECT_NE(errors.text().find(":" + std::to_string(line) + ": "), std::string::npos) << line;
}

TEST_F(LoaderTest, MissingFileIsReportedAndLeavesAnEmptyLevel) {
    PrintedProblems errors;
    changeLevel(404, bg, 1, errors.sink());
    Level* level = getCurrentLevel();
    EXPECT_EQ(errors.text(), "Cannot open file: levels/level404.txt\n");
    EXPECT_FALSE(level->fileOpened());
    EXPECT_EQ(level->getEnemyCount(), 0);
    level->step();
    level->draw();
    EXPECT_TRUE(level->won());
}

TEST_F(LoaderTest, ADirectoryInPlaceOfTheFileCannotBeOpened) {
    std::filesystem::create_directories(scratch->path() + "/levels/level405.txt");
    PrintedProblems errors;
    changeLevel(405, bg, 1, errors.sink());
    EXPECT_EQ(errors.text(), "Cannot open file: levels/level405.txt\n");
    EXPECT_FALSE(getCurrentLevel()->fileOpened());
}

TEST_F(LoaderTest, EmptyFileBuildsNothingSaysNothingAndIsWonAtOnce) {
    PrintedProblems errors;
    Level* level = startLevel("\n\n   \n", 900, errors.sink());
    EXPECT_TRUE(errors.text().empty());
    EXPECT_TRUE(level->fileOpened());
    level->step();
    level->draw();
    EXPECT_TRUE(level->won());
}

TEST_F(LoaderTest, KindsKeepTheirFileOrderWhenInterleaved) {
    Level* level = startLevel(
        "Crate(1, 1)\nWall(5, 5) (5, 50)\nEnemyDual(2, 2)UP\nWall(9, 9) (90, 9)\n"
        "Crate(3, 3)\nEnemyForward(4, 4)DOWN\n");
    std::vector<int> xs;
    for (Ship* ship : level->getEnemies())
        xs.push_back(ship->getXPosition());
    EXPECT_EQ(xs, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(nth(level->getWalls(), 0).getDirection(), 0);
    EXPECT_EQ(nth(level->getWalls(), 1).getDirection(), 90);
}

TEST_F(LoaderTest, ChangeLevelWithTheSameNumberBuildsItAfresh) {
    Level* first = startLevel("Crate(1, 1)\nShip(100, 100)\n");
    first->getPlayer()->setPos(5, 5);
    changeLevel(900, bg, 1);
    EXPECT_EQ(getCurrentLevel()->getPlayer()->getXPosition(), 100);
}

}  // namespace
