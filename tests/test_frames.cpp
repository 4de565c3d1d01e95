// Every frame the game draws is the frame the drawing rules describe: after each frame the
// screen equals, byte for byte, a plain tile-by-tile drawing of the same moment.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "Level.h"
#include "banner.h"
#include "graphics.h"
#include "headless.h"
#include "plaindrawing.h"
#include "replayrunner.h"
#include "skarlume.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;

// Where two screens first differ, or "" when they are the same.
std::string firstDifference(SDL_Surface* drawn, SDL_Surface* expected) {
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        const auto* got =
            reinterpret_cast<const Uint16*>(static_cast<Uint8*>(drawn->pixels) + y * drawn->pitch);
        const auto* want = reinterpret_cast<const Uint16*>(static_cast<Uint8*>(expected->pixels) +
                                                           y * expected->pitch);
        if (std::memcmp(got, want, SCREEN_WIDTH * sizeof(Uint16)) == 0)
            continue;
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            if (got[x] != want[x]) {
                char text[96];
                std::snprintf(text, sizeof text, "pixel (%d, %d) is %04x, the rules draw %04x", x,
                              y, got[x], want[x]);
                return text;
            }
        }
    }
    return "";
}

// How a compared run of frames ended.
struct Compared {
    int frames = 0;  // frames drawn and compared
    int state = STATE_GAME;
    std::string difference;  // at the last frame compared, "" if every frame matched
};

// Key presses and releases for the play screen, frame by frame.
class Keys {
public:
    virtual ~Keys() = default;
    // Hands the play screen the events due before `frame`; false if one ended the visit.
    virtual bool feed(int frame, Player* player, int& state) = 0;
};

// A replay's keys, as the replay runner hands them over; it makes the replay's level current.
class ReplayKeys : public Keys {
public:
    explicit ReplayKeys(const Replay& replay) : run(replay) {}
    bool feed(int frame, Player*, int& state) override {
        state = run.feedEvents(frame);
        return state == STATE_GAME;
    }

private:
    ReplayRunner run;
};

// Arrows held and let go and shots fired at random, so the ship roams to its areas' edges.
class RandomKeys : public Keys {
public:
    explicit RandomKeys(unsigned seed) : random(seed) {}
    bool feed(int, Player* player, int& state) override {
        static const SDLKey keys[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE};
        if (random() % 4 != 0)
            return true;
        SDL_Event event = {};
        event.type = random() % 2 == 0 ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.keysym.sym = keys[random() % 5];
        state = handlePlayEvent(event, player);
        return state == STATE_GAME;
    }

private:
    std::mt19937 random;
};

class SameFrames : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGame();
        const SDL_PixelFormat* format = game_screen->format;
        expected =
            SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_WIDTH, SCREEN_HEIGHT, format->BitsPerPixel,
                                 format->Rmask, format->Gmask, format->Bmask, format->Amask);
        ASSERT_NE(expected, nullptr);
        plain = std::make_unique<PlainDrawing>(expected, true);
        previousDir = fs::current_path().string();
    }

    void TearDown() override {
        plain.reset();
        SDL_FreeSurface(expected);
        ASSERT_EQ(chdir(previousDir.c_str()), 0);
    }

    // Both screens start from the same picture, so what a transparent pixel leaves is the same.
    void startBothScreens(Uint16 color) {
        clearScreen(color);
        SDL_FillRect(expected, nullptr, color);
    }

    // Draws the current level's next frame on the screen as the game does, and the same moment
    // the plain way; "" when the two agree.
    std::string drawAndCompare(Level* level) {
        FrameState moment = captureFrame(*level, lives);
        drawPlayScreen(level, level->getPlayer());
        SDL_Flip(screen);
        plain->draw(moment);
        return firstDifference(game_screen, expected);
    }

    // Plays the current level as the play screen does, comparing every frame, until the level
    // ends, a key leaves it, a frame differs or `maxFrames` have been played.
    Compared playComparing(Keys& keys, int maxFrames) {
        Compared run;
        Level* level = getCurrentLevel();
        Player* player = level->getPlayer();
        startBothScreens(0x0841);
        for (int frame = 1; frame <= maxFrames; ++frame) {
            if (!keys.feed(frame, player, run.state))
                return run;
            level->step();
            run.difference = drawAndCompare(level);
            ++run.frames;
            if (!run.difference.empty())
                return run;
            if (level->won() || level->lost()) {
                run.state = level->won() ? STATE_LEVEL_WON : STATE_LEVEL_LOST;
                return run;
            }
        }
        return run;
    }

    // A scratch game directory whose levels/ holds the given level files; pictures stay loaded.
    void enterScratchGame(const std::vector<std::pair<int, std::string>>& levelFiles) {
        scratch = std::make_unique<ScratchDir>();
        for (const auto& file : levelFiles)
            scratch->write("levels/level" + std::to_string(file.first) + ".txt", file.second);
        ASSERT_EQ(chdir(scratch->path().c_str()), 0);
    }

    SDL_Surface* expected = nullptr;
    std::unique_ptr<PlainDrawing> plain;
    std::unique_ptr<ScratchDir> scratch;
    std::string previousDir;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(SameFrames, EveryFrameOfEveryShippedReplayIsDrawnAsTheRulesSay) {
    int compared = 0;
    for (int number = 1; number <= LEVEL_COUNT; ++number) {
        SCOPED_TRACE("level " + std::to_string(number));
        Replay replay;
        std::string error;
        ASSERT_TRUE(loadReplay("solutions/level" + std::to_string(number) + ".txt", replay, error))
            << error;
        lives = STARTING_LIVES;
        ReplayKeys keys(replay);
        Compared run = playComparing(keys, replay.events.back().frame + REPLAY_GRACE_FRAMES);
        ASSERT_EQ(run.difference, "") << "at frame " << run.frames;
        EXPECT_EQ(run.state, STATE_LEVEL_WON) << "after " << run.frames << " frames";
        compared += run.frames;
    }
    std::printf("compared %d frames\n", compared);
}

// A shot sent straight back: the player's own explosion, under its areas' outlines, to the end.
TEST_F(SameFrames, ALevelLostToTheShipsOwnShotIsDrawnAsTheRulesSay) {
    Replay replay;
    replay.level = 4;
    replay.events = {{1, true, SDLK_SPACE}, {2, false, SDLK_SPACE}};
    lives = 2;
    ReplayKeys keys(replay);
    Compared run = playComparing(keys, 2000);
    ASSERT_EQ(run.difference, "") << "at frame " << run.frames;
    EXPECT_EQ(run.state, STATE_LEVEL_LOST);
}

TEST_F(SameFrames, RandomPlayOnEveryLevelIsDrawnAsTheRulesSay) {
    for (int number = 1; number <= LEVEL_COUNT; ++number) {
        SCOPED_TRACE("level " + std::to_string(number));
        lives = 1 + number % 4;
        changeLevel(number, bg, 1 + number % 3);
        // With the banner of the first two seconds, as the play screen shows it.
        showLevelBanner(*getCurrentLevel(), bannerText(number, getCurrentLevel()->getName()));
        ASSERT_TRUE(bannerLook(*getCurrentLevel()).shown) << "no lettering to draw it with";
        RandomKeys keys{unsigned(number)};
        Compared run = playComparing(keys, 300);
        ASSERT_EQ(run.difference, "") << "at frame " << run.frames;
        EXPECT_GT(run.frames, 0);
    }
}

// Sixty walls, sixty ships and a couple of hundred lasers bouncing between them.
TEST_F(SameFrames, TheCrowdedStressLevelIsDrawnAsTheRulesSay) {
    enterScratchGame({{1, readFile(previousDir + "/bench/stress_level.txt")}});
    lives = 4;
    Replay firing;
    firing.level = 1;
    firing.ship = 2;
    for (int frame = 1; frame < 1500; frame += 12)
        firing.events.push_back({frame, frame % 24 == 1, SDLK_SPACE});
    ReplayKeys keys(firing);
    Compared run = playComparing(keys, 1500);
    ASSERT_EQ(run.difference, "") << "at frame " << run.frames;
    EXPECT_EQ(run.frames, 1500);
    EXPECT_GT(getCurrentLevel()->getLasers().size(), 100u) << "the level was meant to be crowded";
}

// Everything on top of everything: the ship starts over an outline and a wall, areas overlap,
// a shooter walks over an outline and through walls, and shots cross all of them.
TEST_F(SameFrames, ShipsOutlinesWallsAndShotsOverlappingAreDrawnAsTheRulesSay) {
    enterScratchGame({{1,
                       "Ship(88, 560)\n"
                       "ShipArea(90, 550) (400, 740)\n"
                       "ShipArea(300, 600) (700, 700)\n"
                       "Wall(120, 500) (120, 760)\n"
                       "Wall(60, 640) (720, 640)\n"
                       "Wall(200, 520) (300, 620)\n"
                       "Wall(650, 520) (550, 620)\n"
                       "Wall(-30, 300) (1100, 300)\n"
                       "EnemyDual(80, 520)RIGHT(80, 520) (640, 520) (640, 700)\n"
                       "EnemyForward(500, 250)DOWN(500, 250) (100, 250)\n"
                       "Crate(980, 740)\n"}});
    for (unsigned seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        lives = 4;
        changeLevel(1, bg, int(seed));
        RandomKeys keys{seed};
        Compared run = playComparing(keys, 600);
        ASSERT_EQ(run.difference, "") << "at frame " << run.frames;
        EXPECT_GT(run.frames, 40);
    }
}

// The editor draws a level without stepping it, and walls and areas may be added after the
// level was built, as the loader adds them.
TEST_F(SameFrames, WallsAndAreasAddedAfterTheFirstDrawAreDrawnToo) {
    enterScratchGame({{1,
                       "Ship(500, 650)\nShipArea(450, 600) (700, 740)\nWall(100, 100) "
                       "(900, 100)\nCrate(300, 300)\n"}});
    lives = 1;
    changeLevel(1, bg, 1);
    Level* level = getCurrentLevel();
    startBothScreens(0);
    ASSERT_EQ(drawAndCompare(level), "");
    level->addWall(Wall(50, 50, 50, 700));
    level->addWall(Wall(600, 200, 700, 300));
    ASSERT_EQ(drawAndCompare(level), "");
    level->getPlayer()->addBounds(100, 500, 400, 700);
    ASSERT_EQ(drawAndCompare(level), "");
    level->getPlayer()->clearBounds();
    ASSERT_EQ(drawAndCompare(level), "");
}

// A picture with no colour key draws even its white pixels, which a composed picture would
// take for transparent: such a level is drawn the plain way, and still as the rules say.
TEST_F(SameFrames, AnOpaqueWhiteWallIsDrawnWhite) {
    enterScratchGame({{1,
                       "Ship(500, 650)\nShipArea(450, 600) (700, 740)\nWall(100, 660) "
                       "(900, 660)\nCrate(300, 300)\n"}});
    {
        ScopedPicture whiteWall(IMG_WALL_H, 64, 8, 255, 255, 255);
        lives = 1;
        changeLevel(1, bg, 1);
        startBothScreens(0);
        ASSERT_EQ(drawAndCompare(getCurrentLevel()), "");
        EXPECT_EQ(pixelAt(200, 662), rgb(255, 255, 255));
    }
    changeLevel(1, bg, 1);  // the level held the swapped picture: rebuilt with the real one
}

// Where the background is white, the previous frame shows through it.
TEST_F(SameFrames, ABackgroundWithTransparentHolesShowsThePreviousFrameThroughThem) {
    const SDL_PixelFormat* format = game_screen->format;
    SDL_Surface* holed =
        SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_WIDTH, SCREEN_HEIGHT, format->BitsPerPixel,
                             format->Rmask, format->Gmask, format->Bmask, format->Amask);
    ASSERT_NE(holed, nullptr);
    const Uint32 white = SDL_MapRGB(holed->format, 255, 255, 255);
    SDL_FillRect(holed, nullptr, SDL_MapRGB(holed->format, 20, 20, 60));
    SDL_Rect hole = {400, 500, 300, 200};
    SDL_FillRect(holed, &hole, white);
    SDL_SetColorKey(holed, SDL_SRCCOLORKEY, white);

    enterScratchGame({{1,
                       "Ship(500, 650)\nShipArea(450, 600) (700, 740)\nWall(420, 520) "
                       "(420, 690)\nCrate(300, 300)\n"}});
    lives = 3;
    changeLevel(1, holed, 1);
    Level* level = getCurrentLevel();
    startBothScreens(rgb(0, 200, 0));
    level->getPlayer()->setXVelocity(2);
    for (int frame = 0; frame < 5; ++frame) {
        level->step();
        ASSERT_EQ(drawAndCompare(level), "") << "frame " << frame;
    }
    // The ship moved across the hole, so its earlier pictures still show there: the screen is
    // not what the last frame alone draws over a fresh screen.
    SDL_FillRect(expected, nullptr, rgb(0, 200, 0));
    plain->draw(captureFrame(*level, lives));
    EXPECT_NE(firstDifference(game_screen, expected), "") << "nothing showed through the hole";
    changeLevel(1, bg, 1);
    SDL_FreeSurface(holed);
}

// The play screen lays the backdrop back only where things were drawn the frame before: a mark
// where nothing moves stays until a whole frame is drawn.
TEST_F(SameFrames, APlayFrameLaysTheBackdropOnlyWhereSomethingWasDrawn) {
    enterScratchGame({{1, "Ship(500, 650)\nShipArea(450, 600) (700, 740)\nCrate(300, 300)\n"}});
    lives = 3;
    changeLevel(1, bg, 1);
    Level* level = getCurrentLevel();
    startBothScreens(0);
    ASSERT_EQ(drawAndCompare(level), "");
    const Uint16 mark = rgb(255, 0, 255);
    SDL_Rect corner = {10, 10, 4, 4};
    SDL_FillRect(game_screen, &corner, mark);
    level->step();
    drawPlayScreen(level, level->getPlayer());
    EXPECT_EQ(pixelAt(11, 11), mark) << "the whole backdrop was laid again";
    level->step();
    level->draw();
    EXPECT_NE(pixelAt(11, 11), mark) << "a whole frame left the mark";
}

// Frames drawn clipped away (the report, the solver) leave the screen behind: the next frame on
// the screen is drawn whole, and so is one after the spare lives changed.
TEST_F(SameFrames, TheFirstFrameAfterClippedOnesOrFewerLivesIsWhole) {
    enterScratchGame({{1,
                       "Ship(500, 650)\nShipArea(450, 600) (700, 740)\n"
                       "EnemyForward(100, 100)DOWN(100, 100) (800, 100)\nCrate(300, 300)\n"}});
    lives = 4;
    changeLevel(1, bg, 1);
    Level* level = getCurrentLevel();
    startBothScreens(rgb(0, 200, 0));
    ASSERT_EQ(drawAndCompare(level), "");
    {
        ClippedDrawing clipped;
        for (int frame = 0; frame < 30; ++frame) {
            level->step();
            drawPlayScreen(level, level->getPlayer());
        }
    }
    level->step();
    ASSERT_EQ(drawAndCompare(level), "") << "after clipped frames";
    lives = 1;
    level->step();
    ASSERT_EQ(drawAndCompare(level), "") << "after the spare lives went";
}

}  // namespace
