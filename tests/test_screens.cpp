// The menu screens driven by real SDL events: where each key leads, what it changes in the game's
// progress, and what the screens draw and when.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <thread>
#include <vector>

#include "Level.h"
#include "campaign.h"
#include "graphics.h"
#include "lettering.h"
#include "menus.h"
#include "progress.h"
#include "skarlume.h"
#include "testutil.h"

namespace {

using ScreenFunction = int (*)();

struct Menu {
    const char* name;
    ScreenFunction run;
    int picture;
};

const Menu redrawingMenus[] = {
    {"title", handleTitle, IMG_START_MENU},
    {"instructions", handleInstructions, IMG_INSTRUCTIONS},
    {"ship select", handleShipSelect, IMG_SHIP_SELECT},
};

const Menu stillMenus[] = {
    {"level lost", handleLevelLost, IMG_LEVEL_LOSE},
    {"level won", handleLevelWon, IMG_LEVEL_COMPLETE},
    {"game over", handleGameOver, IMG_GAME_OVER},
    {"credits", handleCredits, IMG_CREDITS},
};

SDL_Event keyEvent(Uint8 type, SDLKey key) {
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    return event;
}

SDL_Event press(SDLKey key) {
    return keyEvent(SDL_KEYDOWN, key);
}
SDL_Event release(SDLKey key) {
    return keyEvent(SDL_KEYUP, key);
}

SDL_Event mouseMove() {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.x = 500;
    event.motion.y = 400;
    return event;
}

SDL_Event closeWindow() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    event.quit.type = SDL_QUIT;
    return event;
}

int eventsWaiting() {
    SDL_Event waiting[16];
    return SDL_PeepEvents(waiting, 16, SDL_PEEKEVENT, SDL_ALLEVENTS);
}

void drainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

class MenuScreens : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGame();
        screen = game_screen;
        drainEvents();
        p = 1;
        lives = STARTING_LIVES;
        level = 1;
        // Each test starts as a first run of the game's own campaign: no progress, no notice.
        home = std::make_unique<ScopedHome>();
        currentProgress().clear();
        currentCampaign() = Campaign();
        setTitleNotice("");
        // A screen that never returns would wait for ever: end the test binary instead.
        alarm(60);
    }

    void TearDown() override {
        alarm(0);
        drainEvents();
    }

    // Queues the events and after them a closing of the window, so that a screen which wrongly
    // stays open still returns; runs the screen and returns its answer. `unread` tells how
    // many queued events the screen left: 1 when it ended on the events given.
    int play(ScreenFunction run, std::initializer_list<SDL_Event> events) {
        for (SDL_Event event : events)
            SDL_PushEvent(&event);
        SDL_Event last = closeWindow();
        SDL_PushEvent(&last);
        int next = run();
        unread = eventsWaiting();
        drainEvents();
        return next;
    }

    // The screen ends on the given events with `expected`, before the window's closing.
    void expectLeadsTo(ScreenFunction run, std::initializer_list<SDL_Event> events, int expected) {
        EXPECT_EQ(play(run, events), expected);
        EXPECT_EQ(unread, 1) << "the screen read past the event that should have ended it";
    }

    // The screen reads every given event and stays open until the window closes.
    void expectStays(ScreenFunction run, std::initializer_list<SDL_Event> events) {
        EXPECT_EQ(play(run, events), STATE_QUIT);
        EXPECT_EQ(unread, 0) << "the screen ended before the window closed";
    }

    void expectProgress(int ship, int livesLeft, int levelNumber) {
        EXPECT_EQ(p, ship);
        EXPECT_EQ(lives, livesLeft);
        EXPECT_EQ(level, levelNumber);
    }

    int unread = 0;
    std::unique_ptr<ScopedHome> home;
};

TEST_F(MenuScreens, ClosingTheWindowLeavesEveryMenu) {
    for (const Menu& menu : redrawingMenus) {
        SCOPED_TRACE(menu.name);
        expectLeadsTo(menu.run, {release(SDLK_a), closeWindow()}, STATE_QUIT);
    }
    for (const Menu& menu : stillMenus) {
        SCOPED_TRACE(menu.name);
        expectLeadsTo(menu.run, {closeWindow()}, STATE_QUIT);
    }
}

TEST_F(MenuScreens, NewGameResetsLevelAndLivesButKeepsTheShip) {
    for (SDLKey confirm : {SDLK_RETURN, SDLK_SPACE}) {
        p = 3;
        lives = 0;
        level = 17;
        expectLeadsTo(handleTitle, {press(confirm)}, STATE_INSTRUCTIONS);
        expectProgress(3, 4, 1);
    }
}

TEST_F(MenuScreens, EitherArrowMovesTheTitleChoiceToCredits) {
    for (SDLKey arrow : {SDLK_UP, SDLK_DOWN}) {
        for (SDLKey confirm : {SDLK_RETURN, SDLK_SPACE}) {
            lives = 2;
            level = 9;
            expectLeadsTo(handleTitle, {press(arrow), release(arrow), press(confirm)},
                          STATE_CREDITS);
            expectProgress(1, 2, 9);
        }
    }
}

TEST_F(MenuScreens, PressingAnArrowTwiceReturnsToNewGame) {
    expectLeadsTo(handleTitle, {press(SDLK_DOWN), press(SDLK_DOWN), press(SDLK_RETURN)},
                  STATE_INSTRUCTIONS);
    expectLeadsTo(handleTitle, {press(SDLK_UP), press(SDLK_DOWN), press(SDLK_SPACE)},
                  STATE_INSTRUCTIONS);
}

TEST_F(MenuScreens, TitleAlwaysOpensOnNewGame) {
    expectStays(handleTitle, {press(SDLK_DOWN)});
    expectLeadsTo(handleTitle, {press(SDLK_RETURN)}, STATE_INSTRUCTIONS);
}

TEST_F(MenuScreens, EscapeOnTheTitleQuits) {
    expectLeadsTo(handleTitle, {press(SDLK_ESCAPE)}, STATE_QUIT);
    expectProgress(1, 4, 1);
}

TEST_F(MenuScreens, TitleIgnoresOtherKeysAndReleases) {
    lives = 2;
    level = 6;
    expectStays(handleTitle, {press(SDLK_a), press(SDLK_s), press(SDLK_q), press(SDLK_LEFT),
                              release(SDLK_RETURN), release(SDLK_ESCAPE), mouseMove()});
    expectProgress(1, 2, 6);
}

TEST_F(MenuScreens, InstructionsLeadToShipSelectOrBackToTitle) {
    expectLeadsTo(handleInstructions, {press(SDLK_RETURN)}, STATE_SHIP_SELECT);
    expectLeadsTo(handleInstructions, {press(SDLK_SPACE)}, STATE_SHIP_SELECT);
    expectLeadsTo(handleInstructions, {press(SDLK_ESCAPE)}, STATE_TITLE);
    expectStays(handleInstructions, {press(SDLK_q), press(SDLK_s), press(SDLK_LEFT),
                                     press(SDLK_DOWN), release(SDLK_RETURN)});
    expectProgress(1, 4, 1);
}

TEST_F(MenuScreens, ShipChoiceStopsAtTheFirstAndThirdShip) {
    expectStays(handleShipSelect, {press(SDLK_LEFT)});
    EXPECT_EQ(p, 1);
    expectStays(handleShipSelect, {press(SDLK_RIGHT)});
    EXPECT_EQ(p, 2);
    expectStays(handleShipSelect, {press(SDLK_RIGHT), press(SDLK_RIGHT), press(SDLK_RIGHT)});
    EXPECT_EQ(p, 3);
    expectStays(handleShipSelect, {press(SDLK_LEFT)});
    EXPECT_EQ(p, 2);
    expectStays(handleShipSelect, {press(SDLK_LEFT), press(SDLK_LEFT), press(SDLK_LEFT)});
    EXPECT_EQ(p, 1);
    expectStays(handleShipSelect, {release(SDLK_RIGHT), press(SDLK_UP), press(SDLK_s)});
    EXPECT_EQ(p, 1);
}

TEST_F(MenuScreens, ShipSelectStartsPlayWithTheChosenShip) {
    expectLeadsTo(handleShipSelect, {press(SDLK_RIGHT), press(SDLK_RETURN)}, STATE_GAME);
    EXPECT_EQ(p, 2);
    expectLeadsTo(handleShipSelect, {press(SDLK_RIGHT), press(SDLK_SPACE)}, STATE_GAME);
    EXPECT_EQ(p, 3);
    expectLeadsTo(handleShipSelect, {press(SDLK_LEFT), press(SDLK_ESCAPE)}, STATE_TITLE);
    EXPECT_EQ(p, 2);
}

TEST_F(MenuScreens, LosingALevelOffersReplayShipSelectOrTitle) {
    lives = 2;
    level = 12;
    expectLeadsTo(handleLevelLost, {press(SDLK_RETURN)}, STATE_GAME);
    expectLeadsTo(handleLevelLost, {press(SDLK_SPACE)}, STATE_GAME);
    expectLeadsTo(handleLevelLost, {press(SDLK_s)}, STATE_SHIP_SELECT);
    expectLeadsTo(handleLevelLost, {press(SDLK_ESCAPE)}, STATE_TITLE);
    expectProgress(1, 2, 12);
}

TEST_F(MenuScreens, WinningALevelAdvancesToTheNext) {
    level = 5;
    expectLeadsTo(handleLevelWon, {press(SDLK_RETURN)}, STATE_GAME);
    EXPECT_EQ(level, 6);
    expectLeadsTo(handleLevelWon, {press(SDLK_SPACE)}, STATE_GAME);
    EXPECT_EQ(level, 7);
    level = LEVEL_COUNT - 1;
    expectLeadsTo(handleLevelWon, {press(SDLK_RETURN)}, STATE_GAME);
    EXPECT_EQ(level, LEVEL_COUNT);
    EXPECT_EQ(lives, 4);
}

TEST_F(MenuScreens, EscapeAfterAWinDoesNotAdvanceTheLevel) {
    level = 5;
    expectLeadsTo(handleLevelWon, {press(SDLK_ESCAPE)}, STATE_TITLE);
    EXPECT_EQ(level, 5);
}

TEST_F(MenuScreens, WinningTheLastLevelReturnsToTheTitle) {
    for (SDLKey confirm : {SDLK_RETURN, SDLK_SPACE}) {
        level = 35;
        lives = 3;
        expectLeadsTo(handleLevelWon, {press(confirm)}, STATE_TITLE);
        expectProgress(1, 3, 35);
    }
}

TEST_F(MenuScreens, GameOverAndCreditsReturnToTheTitle) {
    for (ScreenFunction screenFunction : {handleGameOver, handleCredits}) {
        for (SDLKey key : {SDLK_RETURN, SDLK_ESCAPE, SDLK_SPACE}) {
            p = 3;
            lives = 0;
            level = 8;
            expectLeadsTo(screenFunction, {press(key)}, STATE_TITLE);
            expectProgress(3, 0, 8);
        }
    }
}

TEST_F(MenuScreens, StillScreensIgnoreUnlistedKeys) {
    for (const Menu& menu : stillMenus) {
        SCOPED_TRACE(menu.name);
        p = 2;
        lives = 3;
        level = 4;
        expectStays(menu.run, {press(SDLK_a), press(SDLK_q), press(SDLK_UP), press(SDLK_LEFT),
                               release(SDLK_RETURN), release(SDLK_ESCAPE), mouseMove()});
        if (menu.run != handleLevelLost)
            expectStays(menu.run, {press(SDLK_s)});
        expectProgress(2, 3, 4);
    }
}

// Counts how often a screen draws its picture: the picture is swapped for a half-transparent
// one, so every draw blends it once more over what the screen already shows.
class DrawCounter {
public:
    explicit DrawCounter(int picture) : plain(picture, SCREEN_WIDTH, SCREEN_HEIGHT, 255, 0, 0) {
        SDL_SetAlpha(plain.surface(), SDL_SRCALPHA, 128);
        clearScreen(0);
    }

    // What one screen pixel shows after the picture has been drawn `draws` times over black.
    Uint16 afterDraws(int draws) const {
        SDL_Surface* pixel =
            SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 16, game_screen->format->Rmask,
                                 game_screen->format->Gmask, game_screen->format->Bmask, 0);
        SDL_FillRect(pixel, nullptr, 0);
        SDL_Rect corner = {0, 0, 1, 1};
        for (int i = 0; i < draws; ++i)
            SDL_BlitSurface(plain.surface(), &corner, pixel, nullptr);
        Uint16 value = *static_cast<Uint16*>(pixel->pixels);
        SDL_FreeSurface(pixel);
        return value;
    }

    int draws() const {
        // A corner that no outline, bar or icon covers.
        Uint16 shown = pixelAt(10, 10);
        for (int draws = 0; draws <= 4; ++draws)
            if (afterDraws(draws) == shown)
                return draws;
        return -1;
    }

private:
    ScopedPicture plain;
};

TEST_F(MenuScreens, DrawCounterTellsOneDrawFromAnother) {
    DrawCounter counter(IMG_START_MENU);
    for (int draws = 0; draws < 4; ++draws)
        EXPECT_NE(counter.afterDraws(draws), counter.afterDraws(draws + 1));
}

TEST_F(MenuScreens, EveryMenuDrawsItselfOnEntry) {
    for (const Menu& menu : redrawingMenus) {
        SCOPED_TRACE(menu.name);
        DrawCounter counter(menu.picture);
        play(menu.run, {});
        EXPECT_EQ(counter.draws(), 1);
    }
    for (const Menu& menu : stillMenus) {
        SCOPED_TRACE(menu.name);
        DrawCounter counter(menu.picture);
        play(menu.run, {});
        EXPECT_EQ(counter.draws(), 1);
    }
}

// Redrawing after an event lays the picture back only where the menu's mark was (the display
// tests check what that shows); the whole picture again only once the screen was lost.
TEST_F(MenuScreens, RedrawingMenusLayTheirWholePictureAgainOnlyWhenTheScreenWasLost) {
    for (const Menu& menu : redrawingMenus) {
        SCOPED_TRACE(menu.name);
        DrawCounter counter(menu.picture);
        SDL_Event expose{};
        expose.type = SDL_VIDEOEXPOSE;
        expectStays(menu.run, {release(SDLK_UP), mouseMove(), press(SDLK_a)});
        EXPECT_EQ(counter.draws(), 1);
        DrawCounter again(menu.picture);
        expectStays(menu.run, {release(SDLK_UP), expose, press(SDLK_a)});
        EXPECT_EQ(again.draws(), 2);
    }
}

TEST_F(MenuScreens, MenusDoNotRedrawForTheKeyThatLeavesThem) {
    DrawCounter counter(IMG_INSTRUCTIONS);
    expectLeadsTo(handleInstructions, {press(SDLK_RETURN)}, STATE_SHIP_SELECT);
    EXPECT_EQ(counter.draws(), 1);
}

TEST_F(MenuScreens, StillScreensRedrawOnlyWhenExposed) {
    SDL_Event expose{};
    expose.type = SDL_VIDEOEXPOSE;
    for (const Menu& menu : stillMenus) {
        SCOPED_TRACE(menu.name);
        DrawCounter counter(menu.picture);
        expectStays(menu.run, {press(SDLK_a), release(SDLK_RETURN), mouseMove(), press(SDLK_UP)});
        EXPECT_EQ(counter.draws(), 1);
        DrawCounter again(menu.picture);
        expectStays(menu.run, {press(SDLK_a), expose});
        EXPECT_EQ(again.draws(), 2);
    }
}

// A plain background and a plain marker of known colours and size, so that pixels tell exactly
// where the marker was drawn.
class MarkerPictures {
public:
    MarkerPictures(int background, int marker)
        : back(background, SCREEN_WIDTH, SCREEN_HEIGHT, 20, 40, 160),
          front(marker, markerWidth, markerHeight, 40, 220, 40) {}

    static constexpr int markerWidth = 30;
    static constexpr int markerHeight = 12;

    // The marker covers exactly its rectangle at (x, y); the background shows around it.
    static ::testing::AssertionResult markerAt(int x, int y) {
        Uint16 marker = rgb(40, 220, 40);
        Uint16 background = rgb(20, 40, 160);
        int inside = countNot(marker, x, y, markerWidth, markerHeight);
        if (inside != 0)
            return ::testing::AssertionFailure() << inside << " pixels of the marker missing";
        if (pixelAt(x - 1, y) != background || pixelAt(x + markerWidth, y) != background ||
            pixelAt(x, y - 1) != background || pixelAt(x, y + markerHeight) != background)
            return ::testing::AssertionFailure() << "the marker spills out of its place";
        return ::testing::AssertionSuccess();
    }

    static bool backgroundAt(int x, int y) { return pixelAt(x, y) == rgb(20, 40, 160); }

private:
    ScopedPicture back;
    ScopedPicture front;
};

TEST_F(MenuScreens, WithProgressTheTitleOpensOnContinueWhichKeepsTheLevelAndGivesFourShips) {
    currentProgress()["levels"] = 7;
    level = 1;
    lives = 1;
    expectLeadsTo(handleTitle, {press(SDLK_RETURN)}, STATE_SHIP_SELECT);
    expectProgress(1, STARTING_LIVES, 7);
    // Down goes to New Game, then Credits, and round to Continue; up the other way.
    expectLeadsTo(handleTitle, {press(SDLK_DOWN), press(SDLK_RETURN)}, STATE_INSTRUCTIONS);
    EXPECT_EQ(level, 1);
    expectLeadsTo(handleTitle, {press(SDLK_DOWN), press(SDLK_DOWN), press(SDLK_SPACE)},
                  STATE_CREDITS);
    expectLeadsTo(handleTitle, {press(SDLK_UP), press(SDLK_RETURN)}, STATE_CREDITS);
    level = 1;
    expectLeadsTo(handleTitle,
                  {press(SDLK_DOWN), press(SDLK_DOWN), press(SDLK_DOWN), press(SDLK_RETURN)},
                  STATE_SHIP_SELECT);
    EXPECT_EQ(level, 7);
}

TEST_F(MenuScreens, WinningALevelKeepsTheNextAsReachedInTheDataFolder) {
    level = 5;
    expectLeadsTo(handleLevelWon, {press(SDLK_ESCAPE)}, STATE_TITLE);
    std::ostringstream warnings;
    EXPECT_EQ(loadProgress(warnings), (Progress{{"levels", 6}}));
    // Winning an earlier level again keeps the furthest.
    level = 2;
    expectLeadsTo(handleLevelWon, {press(SDLK_RETURN)}, STATE_GAME);
    EXPECT_EQ(loadProgress(warnings), (Progress{{"levels", 6}}));
    // The last level leads nowhere further.
    level = LEVEL_COUNT;
    expectLeadsTo(handleLevelWon, {press(SDLK_RETURN)}, STATE_TITLE);
    EXPECT_EQ(loadProgress(warnings), (Progress{{"levels", 6}}));
    EXPECT_EQ(warnings.str(), "");
}

TEST_F(MenuScreens, ALevelFileWonGoesBackToTheTitle) {
    ScratchDir dir;
    std::string error, note;
    ASSERT_TRUE(
        openCampaign(dir.write("own.txt", "Own\nShip(1, 1)\n"), currentCampaign(), error, note))
        << error;
    level = 1;
    for (SDLKey key : {SDLK_RETURN, SDLK_ESCAPE})
        expectLeadsTo(handleLevelWon, {press(key)}, STATE_TITLE);
    std::ostringstream warnings;
    EXPECT_TRUE(loadProgress(warnings).empty()) << "a single level file keeps no progress";
}

TEST_F(MenuScreens, ANewGameWithoutItsFirstLevelSaysWhyOnTheTitle) {
    unloadGameLettering();
    ASSERT_NE(gameLettering(), nullptr);
    ScopedPicture plainTitle(IMG_START_MENU, SCREEN_WIDTH, SCREEN_HEIGHT, 20, 40, 160);
    const Uint16 titleColour = rgb(20, 40, 160);
    const int lineHeight = gameLettering()->lineHeight();
    ScratchDir elsewhere;
    const std::string gameDir = std::filesystem::current_path().string();
    ASSERT_EQ(chdir(elsewhere.path().c_str()), 0);
    const int next = runPlayScreen(nullptr);
    ASSERT_EQ(chdir(gameDir.c_str()), 0);
    EXPECT_EQ(next, STATE_TITLE);

    play(handleTitle, {});
    EXPECT_GT(countNot(titleColour, 0, TITLE_NOTICE_Y, SCREEN_WIDTH, lineHeight), 0)
        << "the title does not say why the level did not start";
    // Said once: the title after the next screen is the plain one again.
    expectLeadsTo(handleTitle, {press(SDLK_DOWN), press(SDLK_RETURN)}, STATE_CREDITS);
    play(handleTitle, {});
    EXPECT_EQ(countNot(titleColour, 0, TITLE_NOTICE_Y, SCREEN_WIDTH, lineHeight), 0);
}

TEST_F(MenuScreens, TheStillScreensSayTheLevelAndTheShipsLeft) {
    unloadGameLettering();
    ASSERT_NE(gameLettering(), nullptr);
    const int lineHeight = gameLettering()->lineHeight();
    for (int picture : {IMG_LEVEL_COMPLETE, IMG_LEVEL_LOSE}) {
        ScopedPicture plain(picture, SCREEN_WIDTH, SCREEN_HEIGHT, 20, 40, 160);
        play(picture == IMG_LEVEL_COMPLETE ? handleLevelWon : handleLevelLost, {});
        const int lettered =
            countNot(rgb(20, 40, 160), 0, STILL_SCREEN_TEXT_Y, SCREEN_WIDTH, lineHeight);
        EXPECT_GT(lettered, 0) << picture;
        EXPECT_EQ(countNot(rgb(20, 40, 160), 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), lettered)
            << "only the line of text is drawn over the picture";
    }
}

TEST_F(MenuScreens, TitleOutlineSitsOnTheChosenItem) {
    MarkerPictures pictures(IMG_START_MENU, IMG_START_MENU_OUTLINE);
    const MenuPlace newGame = TITLE_OUTLINE_AT[0], credits = TITLE_OUTLINE_AT[1];
    play(handleTitle, {});
    EXPECT_TRUE(MarkerPictures::markerAt(newGame.x, newGame.y));
    EXPECT_TRUE(MarkerPictures::backgroundAt(credits.x, credits.y));

    play(handleTitle, {press(SDLK_DOWN)});
    EXPECT_TRUE(MarkerPictures::markerAt(credits.x, credits.y));
    EXPECT_TRUE(MarkerPictures::backgroundAt(newGame.x, newGame.y));

    play(handleTitle, {press(SDLK_DOWN), press(SDLK_UP)});
    EXPECT_TRUE(MarkerPictures::markerAt(newGame.x, newGame.y));
    EXPECT_TRUE(MarkerPictures::backgroundAt(credits.x, credits.y));
}

TEST_F(MenuScreens, ShipSelectBarSitsUnderTheChosenShip) {
    MarkerPictures pictures(IMG_SHIP_SELECT, IMG_SHIP_SELECT_BAR);
    const MenuPlace* bar = SHIP_SELECT_BAR_AT;
    for (int ship = 1; ship <= SHIP_COUNT; ++ship) {
        SCOPED_TRACE(ship);
        p = ship;
        play(handleShipSelect, {});
        EXPECT_TRUE(MarkerPictures::markerAt(bar[ship - 1].x, bar[ship - 1].y));
        for (int other = 1; other <= SHIP_COUNT; ++other) {
            if (other != ship) {
                EXPECT_TRUE(MarkerPictures::backgroundAt(bar[other - 1].x, bar[other - 1].y));
            }
        }
    }
    p = 1;
    play(handleShipSelect, {press(SDLK_RIGHT)});
    EXPECT_TRUE(MarkerPictures::markerAt(bar[1].x, bar[1].y));
    EXPECT_TRUE(MarkerPictures::backgroundAt(bar[0].x, bar[0].y));
}

// A menu waiting for a key sleeps instead of keeping a processor busy.
TEST_F(MenuScreens, MenusSleepWhileWaitingForAKey) {
    struct Waiting {
        ScreenFunction run;
        int afterEscape;
    };
    for (Waiting screenWaiting :
         {Waiting{handleTitle, STATE_QUIT}, Waiting{handleLevelWon, STATE_TITLE}}) {
        auto start = std::chrono::steady_clock::now();
        double cpuBefore = threadSeconds();
        std::thread player([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            SDL_Event escape = press(SDLK_ESCAPE);
            SDL_PushEvent(&escape);
        });
        int next = screenWaiting.run();
        player.join();
        double busy = threadSeconds() - cpuBefore;
        double waited =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(next, screenWaiting.afterEscape);
        EXPECT_GE(waited, 0.35);
        // A screen that polls without rest would use about all of the time it waited.
        EXPECT_LT(busy, 0.2 * waited) << "busy " << busy << " s of " << waited << " s";
    }
}

}  // namespace
