// What a player keeps and brings: the progress file (read back as written, never trusted), the
// level packs and single level files named on the command line, hostile ones included, and the
// names the levels carry on their first line.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Level.h"
#include "campaign.h"
#include "gamedir.h"
#include "progress.h"
#include "skarlume.h"
#include "testutil.h"
#include "userfiles.h"

namespace {

const char* const PLAYABLE = "Corner: one crate\nShip(487, 680)\nCrate(500, 100)\n";

TEST(Progress, IsReadBackAsWritten) {
    Progress kept = {{"levels", 12}, {"/home/me/my levels = new", 3}};
    Progress read;
    std::string problem;
    ASSERT_TRUE(parseProgress(formatProgress(kept), read, problem)) << problem;
    EXPECT_EQ(read, kept);
}

TEST(Progress, AGarbledFileReadsAsNoneAndLeavesWhatWasThere) {
    const char* const garbled[] = {
        "levels 12\n",             // no "="
        "levels = twelve\n",       // no number
        "levels = 0\n",            // below the first level
        "levels = 1000\n",         // beyond any pack
        "levels = 99999999999\n",  // would overflow
        "levels = -3\n",
        "relative/pack = 2\n",  // a pack is named by its absolute folder
        " = 2\n",
        "levels = 2\nlevels = 5\n",  // twice
        "/pack\x01 = 2\n",           // a control character in the folder
    };
    for (const char* text : garbled) {
        Progress progress = {{"levels", 7}};
        std::string problem;
        EXPECT_FALSE(parseProgress(text, progress, problem)) << text;
        EXPECT_NE(problem.find("line "), std::string::npos) << text;
        EXPECT_EQ(progress.at("levels"), 7) << text;
    }
    Progress progress;
    std::string problem;
    EXPECT_FALSE(parseProgress(std::string("levels = 2\n\0", 12), progress, problem));
    EXPECT_TRUE(parseProgress("# comment\n\n  levels = 4  \r\n", progress, problem)) << problem;
    EXPECT_EQ(progress.at("levels"), 4);
}

TEST(Progress, AMissingFileIsNoneWithoutAWordAndABadOneIsNoneWithOneLine) {
    ScopedHome home;
    std::ostringstream warnings;
    EXPECT_TRUE(loadProgress(warnings).empty());
    EXPECT_EQ(warnings.str(), "");

    std::filesystem::create_directories(dataDirectory());
    auto expectNoneWithOneWarning = [](const std::string& why) {
        std::ostringstream said;
        EXPECT_TRUE(loadProgress(said).empty()) << why;
        const std::string text = said.str();
        EXPECT_NE(text.find(progressPath()), std::string::npos) << why << ": " << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << why << ": " << text;
    };
    std::ofstream(progressPath()) << "levels = lots\n";
    expectNoneWithOneWarning("garbled");
    std::ofstream(progressPath()) << std::string(5 * 1024 * 1024, '#');
    expectNoneWithOneWarning("huge");
    std::filesystem::remove(progressPath());
    std::filesystem::create_directory(progressPath());
    expectNoneWithOneWarning("a folder");
    std::filesystem::remove(progressPath());
    std::filesystem::create_symlink(progressPath(), progressPath());
    expectNoneWithOneWarning("a link to itself");
    std::filesystem::remove(progressPath());
    ASSERT_EQ(mkfifo(progressPath().c_str(), 0600), 0);
    expectNoneWithOneWarning("a pipe, which would block a read");
}

TEST(Progress, IsKeptInTheDataFolderAndGoesOnlyForward) {
    ScopedHome home;
    EXPECT_EQ(progressPath(), home.path() + "/XDG_DATA_HOME/skarlume/progress.ini");
    Campaign shipped;
    Progress progress;
    EXPECT_EQ(continueLevel(progress, shipped), 0);
    EXPECT_FALSE(noteReached(progress, shipped, 1) && continueLevel(progress, shipped) != 0);
    EXPECT_TRUE(noteReached(progress, shipped, 5));
    EXPECT_FALSE(noteReached(progress, shipped, 3));
    EXPECT_EQ(continueLevel(progress, shipped), 5);
    std::string error;
    ASSERT_TRUE(saveProgress(progress, error)) << error;
    std::ostringstream warnings;
    EXPECT_EQ(loadProgress(warnings), progress);
    EXPECT_EQ(warnings.str(), "");

    // A pack that has since lost levels continues from its last one.
    Campaign pack;
    pack.kind = CampaignKind::Pack;
    pack.folder = "/somewhere/pack";
    pack.levelCount = 2;
    EXPECT_EQ(continueLevel(progress, pack), 0);
    progress[pack.folder] = 6;
    EXPECT_EQ(continueLevel(progress, pack), 2);
    // Level 1 reached is nothing to continue, and a single level file keeps nothing.
    progress["levels"] = 1;
    EXPECT_EQ(continueLevel(progress, shipped), 0);
    Campaign one;
    one.kind = CampaignKind::OneLevel;
    one.levelCount = 1;
    EXPECT_FALSE(noteReached(progress, one, 2));
    EXPECT_EQ(progress.size(), 2u);
}

class LevelPacks : public ::testing::Test {
protected:
    ScratchDir dir;
    Campaign campaign;
    std::string error, note;

    bool open(const std::string& path) { return openCampaign(path, campaign, error, note); }
};

TEST_F(LevelPacks, AFolderPlaysItsNumberedLevelsUpToTheLast) {
    for (int n = 1; n <= 3; ++n)
        dir.write("pack/level" + std::to_string(n) + ".txt", PLAYABLE);
    ASSERT_TRUE(open(dir.path() + "/pack/")) << error;
    EXPECT_EQ(campaign.kind, CampaignKind::Pack);
    EXPECT_EQ(campaign.levelCount, 3);
    EXPECT_EQ(note, "");
    EXPECT_EQ(levelPath(campaign, 2), dir.path() + "/pack/level2.txt");
    EXPECT_EQ(progressKey(campaign), dir.path() + "/pack");
}

TEST_F(LevelPacks, AGapEndsThePackAndIsSaid) {
    dir.write("pack/level1.txt", PLAYABLE);
    dir.write("pack/level2.txt", PLAYABLE);
    dir.write("pack/level4.txt", PLAYABLE);
    ASSERT_TRUE(open(dir.path() + "/pack")) << error;
    EXPECT_EQ(campaign.levelCount, 2);
    EXPECT_NE(note.find("stops after level 2"), std::string::npos) << note;
    EXPECT_NE(note.find("level3.txt"), std::string::npos) << note;
}

TEST_F(LevelPacks, HostileEntriesEndThePackWhereTheyStand) {
    const std::string pack = dir.path() + "/pack";
    dir.write("pack/level1.txt", PLAYABLE);
    dir.write("pack/level2.txt", PLAYABLE);
    // A folder named like a level.
    std::filesystem::create_directories(pack + "/level3.txt");
    ASSERT_TRUE(open(pack)) << error;
    EXPECT_EQ(campaign.levelCount, 2);
    EXPECT_NE(note.find("is a directory"), std::string::npos) << note;

    // A 5 MB file.
    std::filesystem::remove(pack + "/level3.txt");
    dir.write("pack/level3.txt", std::string(5 * 1024 * 1024, 'x'));
    ASSERT_TRUE(open(pack)) << error;
    EXPECT_EQ(campaign.levelCount, 2);
    EXPECT_NE(note.find("too large"), std::string::npos) << note;

    // Links that lead round in a loop.
    std::filesystem::remove(pack + "/level3.txt");
    std::filesystem::create_symlink(pack + "/level4.txt", pack + "/level3.txt");
    std::filesystem::create_symlink(pack + "/level3.txt", pack + "/level4.txt");
    ASSERT_TRUE(open(pack)) << error;
    EXPECT_EQ(campaign.levelCount, 2);
    EXPECT_NE(note.find("level3.txt"), std::string::npos) << note;

    // A folder that links into itself is a folder like any other, with no level in it.
    std::filesystem::create_directory_symlink(".", pack + "/self");
    EXPECT_FALSE(open(pack + "/self/self/self/level9")) << "no such file";
}

TEST_F(LevelPacks, APathThatIsNoLevelIsRefusedByName) {
    struct Case {
        std::string path;
        const char* said;
    };
    dir.write("empty/readme.txt", "nothing\n");
    dir.write("notes.txt", "Ship: no, this is prose\n");
    dir.write("binary.txt", std::string("Ship(1, 2)\n\0\0", 13));
    dir.write("broken/level1.txt", "");
    const Case cases[] = {
        {dir.path() + "/missing.txt", "does not exist"}, {dir.path() + "/empty", "no level pack"},
        {dir.path() + "/notes.txt", "not a level file"}, {dir.path() + "/binary.txt", "NUL"},
        {dir.path() + "/broken", "not a level file"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(open(c.path)) << c.path;
        EXPECT_NE(error.find(c.path), std::string::npos) << error;
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
    }
    const std::string unreadable = dir.write("locked.txt", PLAYABLE);
    chmod(unreadable.c_str(), 0);
    if (access(unreadable.c_str(), R_OK) != 0) {  // root reads anything
        EXPECT_FALSE(open(unreadable));
        EXPECT_NE(error.find(unreadable), std::string::npos) << error;
    }
}

TEST_F(LevelPacks, OneFileIsALevelOfItsOwnWithoutProgress) {
    const std::string file = dir.write("mine.txt", PLAYABLE);
    ASSERT_TRUE(open(file)) << error;
    EXPECT_EQ(campaign.kind, CampaignKind::OneLevel);
    EXPECT_EQ(campaign.levelCount, 1);
    EXPECT_EQ(levelPath(campaign, 1), file);
    EXPECT_EQ(progressKey(campaign), "");
}

TEST(OwnLevels, AreKeptInTheDataFolderWhereAPackFindsThem) {
    ScopedHome home;
    const std::string folder = home.path() + "/XDG_DATA_HOME/skarlume/levels";
    std::string error;
    EXPECT_EQ(ownLevelPath("level4.txt", error), folder + "/level4.txt") << error;
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    // No name: the next free number, so that a new level joins the end of the pack.
    EXPECT_EQ(ownLevelPath("", error), folder + "/level1.txt") << error;
    std::ofstream(folder + "/level1.txt") << PLAYABLE;
    std::ofstream(folder + "/level2.txt") << PLAYABLE;
    const std::string next = ownLevelPath("", error);
    EXPECT_EQ(next, folder + "/level3.txt") << error;
    std::ofstream(next) << PLAYABLE;
    Campaign pack;
    std::string note;
    ASSERT_TRUE(openCampaign(folder, pack, error, note)) << error;
    EXPECT_EQ(pack.levelCount, 3);

    EXPECT_EQ(ownLevelPath("../escape.txt", error), "");
    EXPECT_NE(error.find("bare"), std::string::npos) << error;
}

TEST(LevelNames, AreTheFirstLineUpToItsColon) {
    EXPECT_EQ(levelNameOf("Billiards: three walls carry the shot"), "Billiards");
    EXPECT_EQ(levelNameOf("  Fortress  "), "Fortress");
    EXPECT_EQ(levelNameOf("Ship(487, 680)"), "");
    EXPECT_EQ(levelNameOf(": no name before the colon"), "");
    EXPECT_EQ(levelNameOf(""), "");
}

TEST(LevelNames, AreReadWithTheLevel) {
    ensureGame();
    ScratchDir dir;
    Level named(dir.write("a.txt", PLAYABLE), bg, 1, ignoreLoadProblem);
    EXPECT_TRUE(named.fileOpened());
    EXPECT_EQ(named.getName(), "Corner");
    EXPECT_EQ(named.getEnemyCount(), 1);
    Level unnamed(dir.write("b.txt", "Ship(1, 2)\nNamed: too late\n"), bg, 1, ignoreLoadProblem);
    EXPECT_EQ(unnamed.getName(), "");
    Level shipped(12, bg, 1, ignoreLoadProblem);
    EXPECT_EQ(shipped.getName(), "Billiards");
}

}  // namespace
