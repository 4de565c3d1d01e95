// Replays played through the play screen: when each key takes effect, how a replay ends, and
// what a caller watching its frames sees.
#include <gtest/gtest.h>

#include <vector>

#include "headless.h"
#include "levelfixture.h"
#include "replayrunner.h"
#include "skarlume.h"

namespace {

class ReplayRunnerTest : public LevelTest {
protected:
    Replay replayOf(const std::string& text, std::vector<ReplayEvent> events) {
        writeLevel(900, text);
        Replay replay;
        replay.level = 900;
        replay.events = std::move(events);
        return replay;
    }
};

// Room to walk, and a crate no shot from the start can reach: the level never ends by itself.
const char* const openField =
    "Ship(500, 600)\nShipArea(100, 300) (950, 700)\nCrate(100, 100)\nWall(50, 250) (980, 250)\n";

TEST_F(ReplayRunnerTest, AKeyTakesEffectOnTheFrameItComesBefore) {
    const Replay replay =
        replayOf(openField, {{3, true, SDLK_RIGHT}, {5, false, SDLK_RIGHT}, {5, true, SDLK_UP}});
    ReplayRunner run(replay);
    ASSERT_TRUE(run.opened());
    std::vector<point> places;
    for (int frame = 1; frame <= 6; ++frame) {
        ASSERT_EQ(run.play(frame), STATE_GAME);
        places.push_back({run.player()->getXPosition(), run.player()->getYPosition()});
    }
    const std::vector<point> expected = {{500, 600}, {500, 600}, {502, 600},
                                         {504, 600}, {504, 598}, {504, 596}};
    EXPECT_EQ(places, expected);
    EXPECT_EQ(getCurrentLevel(), run.level()) << "the replay's level is the game's";
    EXPECT_EQ(level, 900);
}

TEST_F(ReplayRunnerTest, AKeyThatLeavesTheLevelEndsItBeforeItsFrameIsPlayed) {
    const std::vector<ReplayEvent> keys = {
        {1, true, SDLK_RIGHT}, {4, true, SDLK_ESCAPE}, {4, false, SDLK_RIGHT}};
    const ReplayOutcome outcome = playReplay(replayOf(openField, keys));
    EXPECT_EQ(outcome.state, STATE_TITLE);
    EXPECT_EQ(outcome.frame, 4);
    EXPECT_FALSE(outcome.lifeSpent);
    EXPECT_EQ(getCurrentLevel()->getPlayer()->getXPosition(), 506) << "frame 4 was played";

    // The keys after the one that left wait for whoever goes on feeding the frame.
    const Replay replay = replayOf(openField, keys);
    ReplayRunner run(replay);
    for (int frame = 1; frame <= 3; ++frame)
        run.play(frame);
    EXPECT_EQ(run.feedEvents(4), STATE_TITLE);
    EXPECT_EQ(run.player()->getXVelocity(), 2);
    EXPECT_EQ(run.feedEvents(4), STATE_GAME);
    EXPECT_EQ(run.player()->getXVelocity(), 0);
}

// The player's own shot comes straight back: the level is lost on frame 175.
TEST_F(ReplayRunnerTest, AWatcherSeesEveryDrawnFrameOnceUpToTheOutcome) {
    const Replay replay = replayOf(
        "Ship(500, 600)\nShipArea(100, 550) (950, 700)\nWall(400, 400) (650, 400)\n"
        "Crate(100, 100)\n",
        {{1, true, SDLK_SPACE}});
    std::vector<int> seen;
    lives = 3;
    const ReplayOutcome outcome =
        playReplay(replay, 0, [&seen](int frame) { seen.push_back(frame); });
    EXPECT_EQ(outcome.state, STATE_LEVEL_LOST);
    EXPECT_EQ(outcome.frame, 175);
    EXPECT_TRUE(outcome.lifeSpent);
    EXPECT_EQ(lives, 2);
    ASSERT_EQ(seen.size(), 175u);
    for (size_t i = 0; i < seen.size(); ++i)
        ASSERT_EQ(seen[i], int(i) + 1);
}

TEST_F(ReplayRunnerTest, AReplayStillPlayingIsGivenUpAMinuteAfterItsLastKey) {
    ClippedDrawing clipped;
    const ReplayOutcome outcome = playReplay(replayOf(openField, {{10, true, SDLK_LEFT}}));
    EXPECT_EQ(outcome.state, STATE_GAME);
    EXPECT_EQ(outcome.frame, 10 + REPLAY_GRACE_FRAMES);
    EXPECT_STREQ(outcomeName(outcome.state), "still playing");
    EXPECT_EQ(playReplay(replayOf(openField, {}), 25).frame, 25) << "or when the caller says";
}

TEST_F(ReplayRunnerTest, AReplayOfALevelWithNoFileEndsAtOnce) {
    Replay replay;
    replay.level = 404;
    replay.events = {{1, true, SDLK_SPACE}};
    int frames = 0;
    testing::internal::CaptureStderr();
    const ReplayOutcome outcome = playReplay(replay, 0, [&frames](int) { ++frames; });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot open file: levels/level404.txt\n");
    EXPECT_EQ(outcome.state, STATE_TITLE);
    EXPECT_EQ(outcome.frame, 0);
    EXPECT_EQ(frames, 0);
}

}  // namespace
