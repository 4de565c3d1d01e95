// The level tools outside a game directory: they move into the installed data, the files named
// on their command line still mean the files in the directory they were started in, and what
// they write by default lands there too, never in the installed data.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gamedir.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;

// Runs a test from another working directory and comes back to the game directory after it.
class GameDirectoryTest : public ::testing::Test {
protected:
    GameDirectoryTest() : gameDir(fs::current_path()) {
        scratch.write("start/notes.txt", "");
        scratch.write("data/images/space.bmp", "");
        scratch.write("data/levels/level1.txt", "");
        scratch.write("half/images/space.bmp", "");
        data = fs::canonical(fs::path(scratch.path()) / "data");
        fs::current_path(fs::path(scratch.path()) / "start");
        start = fs::current_path();
    }
    ~GameDirectoryTest() override { fs::current_path(gameDir); }

    ScratchDir scratch;
    fs::path gameDir, start, data;
};

// Arguments as main receives them: argv points into strings the test keeps.
struct Arguments {
    explicit Arguments(std::vector<std::string> words) : words(std::move(words)) {
        for (std::string& word : this->words)
            pointers.push_back(word.data());
    }
    int argc() const { return int(pointers.size()); }
    std::vector<std::string> words;
    std::vector<char*> pointers;
};

TEST_F(GameDirectoryTest, ToolStartedOutsideMovesIntoTheFirstGameDirectoryKeepingFileNames) {
    const std::string missing = scratch.path() + "/missing", half = scratch.path() + "/half";
    Arguments args({"replay", "--shot", "200", "shot.bmp", "12", "sub/my level.txt",
                    "/elsewhere/file.txt", "-"});
    std::string error;
    ASSERT_TRUE(enterGameDirectory(args.argc(), args.pointers.data(),
                                   {missing, half, data.string()}, error))
        << error;
    EXPECT_EQ(fs::current_path(), data);
    std::vector<std::string> seen(args.pointers.begin(), args.pointers.end());
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "replay", "--shot", "200", (start / "shot.bmp").string(), "12",
                        (start / "sub/my level.txt").string(), "/elsewhere/file.txt", "-"}));
}

TEST_F(GameDirectoryTest, DefaultOutputOfAToolOnInstalledDataGoesWhereItWasStarted) {
    Arguments args({"solve", "3"});
    std::string error;
    ASSERT_TRUE(enterGameDirectory(args.argc(), args.pointers.data(), {data.string()}, error));
    std::string out = outputPath("solutions/level3.txt");
    EXPECT_EQ(out, (start / "solutions/level3.txt").string());
    EXPECT_TRUE(fs::is_directory(start / "solutions"));
    EXPECT_FALSE(fs::exists(data / "solutions"));
}

TEST_F(GameDirectoryTest, ToolStartedInAGameDirectoryStaysAndChangesNothing) {
    fs::current_path(data);
    Arguments args({"checklevel", "levels/level1.txt"});
    std::string error;
    ASSERT_TRUE(enterGameDirectory(args.argc(), args.pointers.data(), {gameDir.string()}, error));
    EXPECT_EQ(fs::current_path(), data);
    EXPECT_STREQ(args.pointers[1], "levels/level1.txt");
    EXPECT_EQ(outputPath("solutions/level1.txt"), "solutions/level1.txt");
}

TEST_F(GameDirectoryTest, NoGameDirectoryAnywhereIsAnErrorNamingWhereItLooked) {
    const std::string half = scratch.path() + "/half";
    EXPECT_FALSE(isGameDirectory(half));
    Arguments args({"checklevel", "mine.txt"});
    std::string error;
    EXPECT_FALSE(enterGameDirectory(args.argc(), args.pointers.data(), {half}, error));
    EXPECT_NE(error.find(half), std::string::npos) << error;
    EXPECT_EQ(fs::current_path(), start);
    EXPECT_STREQ(args.pointers[1], "mine.txt");
}

}  // namespace
