// Replay files that name their level by file: read relative to the replay, written relative to
// where the replay goes, and the level a tool is given by number or by path.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "levelchoice.h"
#include "replayfile.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;

TEST(ReplayLevelFile, AFileIsReadRelativeToTheReplayAndANumberStaysACampaignLevel) {
    ScratchDir scratch;
    const std::string path =
        scratch.write("mine/replays/r.txt", "level ../my level.txt  # mine\nship 2\n5 press up\n");
    Replay replay;
    std::string error;
    ASSERT_TRUE(loadReplay(path, replay, error)) << error;
    EXPECT_EQ(replay.level, 0);
    EXPECT_EQ(replay.levelFile, scratch.path() + "/mine/my level.txt");
    EXPECT_EQ(replay.ship, 2);
    ASSERT_EQ(replay.events.size(), 1u);
    EXPECT_EQ(levelTitleOf(replay), "level " + scratch.path() + "/mine/my level.txt");

    // An absolute path stays; the last "level" line holds, whichever form it has.
    std::istringstream both("level /levels/x.txt\nlevel 12\n");
    ASSERT_TRUE(parseReplay(both, replay, error)) << error;
    EXPECT_EQ(replay.level, 12);
    EXPECT_EQ(levelFileOf(replay), "levels/level12.txt");
    std::istringstream absolute("level 12\nlevel /levels/x.txt\n");
    ASSERT_TRUE(parseReplay(absolute, replay, error)) << error;
    EXPECT_EQ(replay.levelFile, "/levels/x.txt");

    std::istringstream outOfRange("level 36\n");
    EXPECT_FALSE(parseReplay(outOfRange, replay, error));
    EXPECT_EQ(error, "line 1: the level must be 1 to 35");
    std::istringstream none("ship 1\n");
    EXPECT_FALSE(parseReplay(none, replay, error));
    EXPECT_EQ(error, "line 1: no \"level N\" or \"level FILE\" line");
}

TEST(ReplayLevelFile, AWrittenReplayNamesItsLevelFromWhereItIsKeptAndReadsBackTheSame) {
    ScratchDir scratch;
    Replay replay;
    replay.levelFile = scratch.path() + "/levels/own/a.txt";
    replay.events = {{3, true, SDLK_SPACE}};
    const std::string kept = scratch.path() + "/replays/a.txt";
    std::ostringstream text;
    writeReplay(text, replay, kept);
    EXPECT_EQ(text.str(), "level ../levels/own/a.txt\nship 1\n3 press space\n");
    scratch.write("replays/a.txt", text.str());
    Replay read;
    std::string error;
    ASSERT_TRUE(loadReplay(kept, read, error)) << error;
    EXPECT_EQ(read.levelFile, replay.levelFile);

    std::ostringstream campaign;
    replay.levelFile.clear();
    replay.level = 4;
    writeReplay(campaign, replay, kept);
    EXPECT_EQ(campaign.str().substr(0, 8), "level 4\n");
}

class LevelChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        before = fs::current_path();
        scratch.write("levels/level5.txt", "Five\n");
        scratch.write("elsewhere/level5.txt", "Not five\n");
        fs::create_directories(scratch.path() + "/folder");
        fs::current_path(scratch.path());
    }
    void TearDown() override { fs::current_path(before); }
    ScratchDir scratch;
    fs::path before;
};

TEST_F(LevelChoiceTest, TheCampaignsOwnFileIsItsNumberHoweverItIsWrittenAndOtherFilesArePaths) {
    LevelChoice level;
    std::string error;
    ASSERT_TRUE(chooseLevel("5", level, error)) << error;
    EXPECT_EQ(level.number, 5);
    EXPECT_EQ(replayHomeOf(level), "solutions/level5.txt");
    for (const std::string& same :
         {std::string("levels/level5.txt"), std::string("./levels/../levels/level5.txt"),
          scratch.path() + "/levels/level5.txt"}) {
        ASSERT_TRUE(chooseLevel(same, level, error)) << same << ": " << error;
        EXPECT_EQ(level.number, 5) << same;
        EXPECT_EQ(level.title(), "level 5");
    }
    ASSERT_TRUE(chooseLevel("elsewhere/level5.txt", level, error)) << error;
    EXPECT_EQ(level.number, 0) << "a file of the same name elsewhere is no campaign level";
    EXPECT_EQ(replayHomeOf(level), "elsewhere/level5.replay");
    const Replay replay = level.replay(3);
    EXPECT_EQ(replay.levelFile, "elsewhere/level5.txt");
    EXPECT_EQ(replay.ship, 3);
}

TEST_F(LevelChoiceTest, ANumberOutsideTheCampaignAMissingFileAndADirectoryAreRefused) {
    LevelChoice level;
    std::string error;
    EXPECT_FALSE(chooseLevel("36", level, error));
    EXPECT_EQ(error.rfind("no level 36", 0), 0u) << error;
    EXPECT_FALSE(chooseLevel("99999999999999999999", level, error)) << "no overflow";
    EXPECT_FALSE(chooseLevel("0", level, error));
    EXPECT_FALSE(chooseLevel("7", level, error));
    EXPECT_EQ(error, "no level file levels/level7.txt");
    EXPECT_FALSE(chooseLevel("folder", level, error));
    EXPECT_EQ(error, "folder is a directory, not a level file");
    EXPECT_FALSE(chooseLevel("", level, error));
}

TEST_F(LevelChoiceTest, AKeptReplayMustExistAndPlayThatVeryFile) {
    LevelChoice mine{0, "elsewhere/level5.txt"};
    Replay replay;
    std::string error;
    EXPECT_FALSE(loadLevelReplay(mine, replay, error));
    EXPECT_EQ(error, "no replay elsewhere/level5.replay");
    scratch.write("elsewhere/level5.replay", "level 5\n");
    EXPECT_FALSE(loadLevelReplay(mine, replay, error));
    EXPECT_EQ(error, "elsewhere/level5.replay plays level 5, not level elsewhere/level5.txt");
    scratch.write("elsewhere/level5.replay", "level ./level5.txt\n");
    EXPECT_TRUE(loadLevelReplay(mine, replay, error)) << error;
    // A campaign replay written by file still plays the campaign's level.
    scratch.write("solutions/level5.txt", "level ../levels/level5.txt\n");
    EXPECT_TRUE(loadLevelReplay({5, "levels/level5.txt"}, replay, error)) << error;
}

}  // namespace
