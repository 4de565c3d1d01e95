// The play screen through real SDL events: steering, shooting, the row of spare lives,
// lives and outcomes, leaving, and the pace of 60 frames a second.
#include <gtest/gtest.h>

#include <chrono>

#include "graphics.h"
#include "levelfixture.h"
#include "replayrunner.h"
#include "skarlume.h"

namespace {

class PlayScreenTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        SDL_Event stale;
        while (SDL_PollEvent(&stale)) {
        }
    }

    static void pushKey(Uint8 type, SDLKey key) {
        SDL_Event event = {};
        event.type = type;
        event.key.keysym.sym = key;
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }

    // Hands every queued event to the play screen, as its loop does between frames.
    static int handleQueued(Player* player) {
        SDL_Event event;
        int state = STATE_GAME;
        while (state == STATE_GAME && SDL_PollEvent(&event))
            state = handlePlayEvent(event, player);
        return state;
    }
};

const char* const openLevel =
    "Ship(500, 600)\n"
    "ShipArea(100, 300) (950, 700)\n"
    "Crate(100, 100)\n";

// The player's own shot comes straight back off this wall: lost on frame 175.
const char* const ownShotBack =
    "Ship(500, 600)\nShipArea(100, 550) (950, 700)\nWall(400, 400) (650, 400)\nCrate(100, 100)\n";

TEST_F(PlayScreenTest, OfOppositeArrowsTheOnePressedLastRules) {
    Player* player = startLevel(openLevel)->getPlayer();
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    pushKey(SDL_KEYDOWN, SDLK_LEFT);
    EXPECT_EQ(handleQueued(player), STATE_GAME);
    EXPECT_EQ(player->getXVelocity(), -2);
    pushKey(SDL_KEYUP, SDLK_RIGHT);
    handleQueued(player);
    EXPECT_EQ(player->getXVelocity(), -2) << "releasing right must not stop a ship going left";
    pushKey(SDL_KEYUP, SDLK_LEFT);
    handleQueued(player);
    EXPECT_EQ(player->getXVelocity(), 0);

    pushKey(SDL_KEYDOWN, SDLK_DOWN);
    pushKey(SDL_KEYDOWN, SDLK_UP);
    pushKey(SDL_KEYUP, SDLK_DOWN);
    handleQueued(player);
    EXPECT_EQ(player->getYVelocity(), -2);
    pushKey(SDL_KEYUP, SDLK_UP);
    handleQueued(player);
    EXPECT_EQ(player->getYVelocity(), 0);
}

TEST_F(PlayScreenTest, DiagonalKeysMoveTwoPixelsAlongEachAxisAFrame) {
    Level* level = startLevel(openLevel);
    Player* player = level->getPlayer();
    pushKey(SDL_KEYDOWN, SDLK_UP);
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    handleQueued(player);
    playFrame(level, player);
    playFrame(level, player);
    EXPECT_EQ(player->getXPosition(), 504);
    EXPECT_EQ(player->getYPosition(), 596);
}

TEST_F(PlayScreenTest, EachPressOfSpaceAsksForExactlyOneShot) {
    Level* level = startLevel(openLevel);
    Player* player = level->getPlayer();
    pushKey(SDL_KEYDOWN, SDLK_SPACE);
    handleQueued(player);
    for (int frame = 0; frame < 30; ++frame)
        playFrame(level, player);
    EXPECT_EQ(level->getLasers().size(), 1u) << "holding space does not repeat";
    pushKey(SDL_KEYUP, SDLK_SPACE);
    pushKey(SDL_KEYDOWN, SDLK_SPACE);
    handleQueued(player);
    EXPECT_EQ(level->getLasers().size(), 2u);
}

TEST_F(PlayScreenTest, SpareLivesShowAsShipsFromTheBottomRightCorner) {
    ScopedPicture ship(IMG_SHIP1, 50, 60, 10, 200, 30);
    Level* level = startLevel("Ship(100, 100)\nShipArea(50, 50) (400, 400)\nCrate(600, 100)\n");
    Player* player = level->getPlayer();
    const Uint16 shipColour = rgb(10, 200, 30);
    lives = 4;
    playFrame(level, player);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(pixelAt(SCREEN_WIDTH - i * 50 + 25, SCREEN_HEIGHT - 30), shipColour) << i;
    EXPECT_NE(pixelAt(SCREEN_WIDTH - 4 * 50 + 25, SCREEN_HEIGHT - 30), shipColour);
    EXPECT_EQ(pixelAt(SCREEN_WIDTH - 1, SCREEN_HEIGHT - 1), shipColour) << "flush with the corner";

    lives = 1;
    playFrame(level, player);
    EXPECT_NE(pixelAt(SCREEN_WIDTH - 25, SCREEN_HEIGHT - 30), shipColour);
}

TEST_F(PlayScreenTest, LosingWithTwoLivesLeadsToTheLostScreenAndWithOneToGameOver) {
    writeLevel(900, ownShotBack);
    Replay replay;
    replay.level = 900;
    replay.events = {{1, true, SDLK_SPACE}};
    lives = 2;
    ReplayOutcome outcome = playReplay(replay);
    EXPECT_EQ(outcome.state, STATE_LEVEL_LOST);
    EXPECT_EQ(lives, 1);
    outcome = playReplay(replay);
    EXPECT_EQ(outcome.state, STATE_GAME_OVER);
    EXPECT_EQ(lives, 0);
}

TEST_F(PlayScreenTest, EscapeQAndClosingTheWindowLeaveWithoutSpendingALife) {
    writeLevel(900, openLevel);
    level = 900;
    lives = 3;
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_EQ(handleGame(), STATE_TITLE);
    pushKey(SDL_KEYDOWN, SDLK_q);
    EXPECT_EQ(handleGame(), STATE_TITLE);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(handleGame(), STATE_QUIT);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(level, 900);
}

TEST_F(PlayScreenTest, MissingLevelReturnsToTheTitleWithLivesAndLevelUnchanged) {
    level = 404;
    lives = 2;
    // The game's own loader writes on the standard error stream itself.
    testing::internal::CaptureStderr();
    EXPECT_EQ(handleGame(), STATE_TITLE);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot open file: levels/level404.txt\n");
    EXPECT_EQ(lives, 2);
    EXPECT_EQ(level, 404);
}

// Never faster than 60 frames a second; a busy machine may make it slower, which is no fault.
TEST_F(PlayScreenTest, PlayIsNeverFasterThanSixtyFramesASecond) {
    // 175 frames from the shot to the lost level: the last starts 174 frames after the first.
    writeLevel(900, ownShotBack);
    level = 900;
    lives = 4;
    pushKey(SDL_KEYDOWN, SDLK_SPACE);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(handleGame(), STATE_LEVEL_LOST);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(seconds, 174.0 / 60);
}

TEST_F(PlayScreenTest, TheDecidingFrameIsDrawnBeforeThePlayScreenLeaves) {
    // A level with nothing to destroy is won on its first frame, which must be on screen.
    writeLevel(900, "Ship(500, 600)\nShipArea(100, 550) (950, 700)\n");
    level = 900;
    ScopedPicture ship(IMG_SHIP1, 50, 60, 10, 200, 30);
    clearScreen(0);
    EXPECT_EQ(handleGame(), STATE_LEVEL_WON);
    EXPECT_EQ(pixelAt(525, 630), rgb(10, 200, 30));
}

}  // namespace
