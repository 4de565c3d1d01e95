// What reaches the display: a stand-in display that receives only what the game sends must show,
// after every frame and every menu redraw, exactly the plain drawing; fullscreen switches keep the
// game where it was; a desktop too small for the window starts fullscreen.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "Level.h"
#include "banner.h"
#include "graphics.h"
#include "headless.h"
#include "input.h"
#include "menus.h"
#include "plaindrawing.h"
#include "replayfile.h"
#include "replayrunner.h"
#include "settings.h"
#include "skarlume.h"
#include "testutil.h"

namespace {

SDL_Surface* newScreenPicture() {
    const SDL_PixelFormat* format = game_screen->format;
    return SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_WIDTH, SCREEN_HEIGHT, format->BitsPerPixel,
                                format->Rmask, format->Gmask, format->Bmask, format->Amask);
}

bool samePixels(SDL_Surface* a, SDL_Surface* b) {
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        if (std::memcmp(static_cast<Uint8*>(a->pixels) + y * a->pitch,
                        static_cast<Uint8*>(b->pixels) + y * b->pitch, SCREEN_WIDTH * 2) != 0)
            return false;
    return true;
}

bool isWholeWindow(const SDL_Rect& r) {
    return r.x == 0 && r.y == 0 && r.w == SCREEN_WIDTH && r.h == SCREEN_HEIGHT;
}

SDL_Event keyDown(SDLKey key, SDLMod mod = KMOD_NONE) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    return event;
}

void drainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

class Display : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGame();
        setFullscreen(false);
        drainEvents();
        resetGamepad();
        shown = newScreenPicture();
        expected = newScreenPicture();
        plain = std::make_unique<PlainDrawing>(expected, true);
        // The display starts out showing something the game never draws.
        SDL_FillRect(shown, nullptr, 0x0841);
        clearScreen(0x1111);
        SDL_FillRect(expected, nullptr, 0x1111);
        lives = 4;
    }

    void TearDown() override {
        setFullscreen(false);
        drainEvents();
        plain.reset();
        SDL_FreeSurface(expected);
        SDL_FreeSurface(shown);
    }

    // Copies onto the stand-in display what the game sends, as it sends it; counts the sends
    // that were whole.
    void receive(const std::vector<SDL_Rect>& places) {
        for (const SDL_Rect& place : places) {
            SDL_Rect from = place, to = place;
            SDL_BlitSurface(game_screen, &from, shown, &to);
            if (isWholeWindow(place))
                ++wholeSends;
            else
                ++pieces;
        }
    }

    PresentWatcher::Receiver display() {
        return [this](const std::vector<SDL_Rect>& places) { receive(places); };
    }

    // Plays a level from its replay as the play screen does, its key events read from SDL's
    // queue; `before` may queue more events before each frame. Compares the display with the
    // plain drawing after every frame; returns the outcome and its frame.
    template <class Before>
    ReplayOutcome playOnDisplay(const Replay& replay, Before before) {
        level = replay.level;
        p = replay.ship;
        changeLevel(level, bg, p);
        Level* current = getCurrentLevel();
        showLevelBanner(*current, bannerText(level, current->getName()));
        Player* player = current->getPlayer();
        size_t next = 0;
        PresentWatcher watching(display());
        for (int frame = 1; frame < 20000; ++frame) {
            for (; next < replay.events.size() && replay.events[next].frame <= frame; ++next) {
                SDL_Event event{};
                event.type = replay.events[next].press ? SDL_KEYDOWN : SDL_KEYUP;
                event.key.keysym.sym = replay.events[next].key;
                SDL_PushEvent(&event);
            }
            before(frame);
            int state = takePlayInput(frame, player, nullptr);
            if (state != STATE_GAME)
                return {state, frame, false};
            current->step();
            FrameState moment = captureFrame(*current, lives);
            drawPlayScreen(current, player);
            presentPlayScreen();
            plain->draw(moment);
            if (!samePixels(shown, expected)) {
                ADD_FAILURE() << "the display differs from the plain drawing at frame " << frame;
                return {STATE_GAME, frame, false};
            }
            if (current->won() || current->lost())
                return {current->won() ? STATE_LEVEL_WON : STATE_LEVEL_LOST, frame, false};
        }
        return {STATE_GAME, 0, false};
    }

    Replay shippedReplay(int number) {
        Replay replay;
        std::string error;
        EXPECT_TRUE(loadReplay("solutions/level" + std::to_string(number) + ".txt", replay, error))
            << error;
        return replay;
    }

    SDL_Surface* shown = nullptr;
    SDL_Surface* expected = nullptr;
    std::unique_ptr<PlainDrawing> plain;
    int wholeSends = 0;
    int pieces = 0;
};

TEST_F(Display, EveryFrameOfShippedReplaysReachesTheDisplayAsTheRulesDrawIt) {
    for (int number : {1, 8, 19, 27, 33}) {
        SCOPED_TRACE("level " + std::to_string(number));
        wholeSends = pieces = 0;
        const Replay replay = shippedReplay(number);
        const ReplayOutcome headless = playReplay(replay);
        ReplayOutcome outcome = playOnDisplay(replay, [](int) {});
        EXPECT_EQ(outcome.state, STATE_LEVEL_WON);
        EXPECT_EQ(outcome.frame, headless.frame);
        // The first frame goes out whole; after it, only the places that changed.
        EXPECT_EQ(wholeSends, 1);
        EXPECT_GT(pieces, outcome.frame);
    }
}

TEST_F(Display, SwitchingFullscreenMidLevelRedrawsAtOnceAndKeepsThePlace) {
    ScopedHome home;
    const Replay replay = shippedReplay(12);
    const ReplayOutcome headless = playReplay(replay);
    bool fullscreenAfterFirst = false;
    ReplayOutcome outcome = playOnDisplay(replay, [&](int frame) {
        if (frame == 61)
            fullscreenAfterFirst = isFullscreen();
        if (frame != 60 && frame != 200)
            return;
        SDL_Event key = frame == 60 ? keyDown(SDLK_F11) : keyDown(SDLK_RETURN, KMOD_LALT);
        SDL_PushEvent(&key);
        // A new mode may lose what the screen and the display held.
        clearScreen(0x2222);
        SDL_FillRect(shown, nullptr, 0x3333);
    });
    EXPECT_EQ(outcome.state, STATE_LEVEL_WON);
    EXPECT_EQ(outcome.frame, headless.frame);
    EXPECT_TRUE(fullscreenAfterFirst);
    EXPECT_FALSE(isFullscreen());
    EXPECT_EQ(wholeSends, 3);
    std::ostringstream warnings;
    const Settings kept = loadSettings(warnings);
    EXPECT_EQ(kept.fullscreen, std::optional<bool>(false)) << warnings.str();
}

TEST_F(Display, AnExposeSendsTheNextFrameWhole) {
    const Replay replay = shippedReplay(3);
    playOnDisplay(replay, [&](int frame) {
        if (frame == 30) {
            SDL_Event expose{};
            expose.type = SDL_VIDEOEXPOSE;
            SDL_PushEvent(&expose);
            SDL_FillRect(shown, nullptr, 0x3333);
        }
    });
    EXPECT_EQ(wholeSends, 2);
}

// A menu: the pictures of the title with its outline where the choice is, the plain way.
TEST_F(Display, TheTitleSendsOnlyWhereItsOutlineWasAndIs) {
    PresentWatcher watching(display());
    for (SDLKey key : {SDLK_DOWN, SDLK_a, SDLK_DOWN, SDLK_DOWN, SDLK_ESCAPE}) {
        SDL_Event event = keyDown(key);
        SDL_PushEvent(&event);
    }
    EXPECT_EQ(handleTitle(), STATE_QUIT);
    EXPECT_EQ(wholeSends, 1);
    EXPECT_GT(pieces, 0);
    SDL_Surface* outline = GetImage(IMG_START_MENU_OUTLINE);
    {
        DrawingTarget into(expected);
        DrawImage(GetImage(IMG_START_MENU), 0, 0);
        DrawImage(outline, TITLE_OUTLINE_AT[1].x, TITLE_OUTLINE_AT[1].y);
    }
    EXPECT_TRUE(samePixels(shown, expected)) << "the display does not show the credits chosen";
}

TEST_F(Display, AFullscreenSwitchOnAStillScreenDrawsItAgainAtOnce) {
    ScopedHome home;
    PresentWatcher watching(display());
    SDL_Event events[] = {keyDown(SDLK_F11), keyDown(SDLK_ESCAPE)};
    for (SDL_Event& event : events)
        SDL_PushEvent(&event);
    EXPECT_EQ(handleGameOver(), STATE_TITLE);
    EXPECT_TRUE(isFullscreen());
    EXPECT_EQ(wholeSends, 2);
}

TEST(FullscreenChoice, ADesktopTooSmallForTheWindowStartsFullscreenAndSaysSo) {
    struct Case {
        int width, height;
        bool fullscreen;
    };
    const Case cases[] = {
        {1366, 768, true},  {1280, 800, true},   {1088, 863, true}, {1087, 864, true},
        {1088, 864, false}, {1920, 1080, false}, {0, 0, false},     {1024, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        std::ostringstream notes;
        EXPECT_EQ(startsFullscreen(std::nullopt, c.width, c.height, notes), c.fullscreen);
        const std::string said = notes.str();
        if (c.fullscreen) {
            EXPECT_NE(said.find(std::to_string(c.width) + "x" + std::to_string(c.height)),
                      std::string::npos)
                << said;
            EXPECT_EQ(said.find('\n'), said.size() - 1) << "not one line: " << said;
        } else {
            EXPECT_EQ(said, "");
        }
    }
}

TEST(FullscreenChoice, ThePlayersChoiceWinsOverTheDesktopsSize) {
    std::ostringstream notes;
    EXPECT_FALSE(startsFullscreen(false, 800, 600, notes));
    EXPECT_TRUE(startsFullscreen(true, 1920, 1080, notes));
    EXPECT_EQ(notes.str(), "");
}

TEST_F(Display, TheFullscreenKeysReachTheEditorAsAnExposeAndOtherKeysPassUnchanged) {
    ScopedHome home;
    SDL_Event events[] = {keyDown(SDLK_F11), keyDown(SDLK_RETURN), keyDown(SDLK_m),
                          keyDown(SDLK_RETURN, KMOD_RALT)};
    for (SDL_Event& event : events)
        SDL_PushEvent(&event);
    SDL_Event read;
    ASSERT_TRUE(pollWindowInput(read));
    EXPECT_EQ(read.type, SDL_VIDEOEXPOSE);
    EXPECT_TRUE(isFullscreen());
    ASSERT_TRUE(pollWindowInput(read));
    EXPECT_EQ(read.type, SDL_KEYDOWN);
    EXPECT_EQ(read.key.keysym.sym, SDLK_RETURN);
    ASSERT_TRUE(pollWindowInput(read));
    EXPECT_EQ(read.key.keysym.sym, SDLK_m) << "a letter typed into a name must reach the editor";
    ASSERT_TRUE(pollWindowInput(read));
    EXPECT_EQ(read.type, SDL_VIDEOEXPOSE);
    EXPECT_FALSE(isFullscreen());
    EXPECT_FALSE(pollWindowInput(read));
}

}  // namespace
