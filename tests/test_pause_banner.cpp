// The start of a level and a pause in it: the banner with the level's number and name, which
// hides nothing that moves and keeps clear of the ship areas, and the pause, during which no
// frame runs, so that a recorded game stays the same frame for frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "banner.h"
#include "graphics.h"
#include "input.h"
#include "lettering.h"
#include "levelfixture.h"
#include "pause.h"
#include "skarlume.h"

namespace {

void pushEvent(SDL_Event event) {
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void pushKey(Uint8 type, SDLKey key) {
    SDL_Event event = {};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    pushEvent(event);
}

// The game's lettering, loaded from the game directory before the test leaves it.
class StartAndPause : public LevelTest {
protected:
    void SetUp() override {
        ensureGame();
        unloadGameLettering();
        ASSERT_NE(gameLettering(), nullptr);
        SDL_Event drained;
        while (SDL_PollEvent(&drained)) {
        }
        LevelTest::SetUp();
    }
};

struct Seen {
    int frame;
    Uint8 type;
    SDLKey key;
};
std::vector<Seen> seen;
void watch(int frame, const SDL_Event* event) {
    if (event != nullptr && (event->type == SDL_KEYDOWN || event->type == SDL_KEYUP))
        seen.push_back({frame, event->type, event->key.keysym.sym});
}

const char* const NOTHING_TO_DESTROY = "Ship(487, 600)\nShipArea(400, 500) (700, 700)\n";

TEST_F(StartAndPause, NoFrameRunsWhilePausedAndPGoesOn) {
    // A level with nothing in it is won on its first frame: only a frame that ran can win it.
    Level* level = startLevel(NOTHING_TO_DESTROY);
    pushKey(SDL_KEYDOWN, SDLK_p);
    pushKey(SDL_KEYDOWN, SDLK_SPACE);  // taken by the pause, not as a shot
    pushKey(SDL_KEYDOWN, SDLK_p);
    EXPECT_EQ(playLevel(level, nullptr), STATE_LEVEL_WON);
    EXPECT_EQ(level->framesStepped(), 1);
    EXPECT_EQ(level->getShotCount(), 0);
}

TEST_F(StartAndPause, LosingTheFocusPausesAndEscapeLeavesWithoutAFrame) {
    Level* level = startLevel(NOTHING_TO_DESTROY);
    SDL_Event focus = {};
    focus.type = SDL_ACTIVEEVENT;
    focus.active.gain = 0;
    focus.active.state = SDL_APPINPUTFOCUS;
    // A window that was never known to hold the keyboard loses nothing and plays on; one that
    // had a key pressed pauses when it loses the focus.
    SDL_Event read;
    pushEvent(focus);
    pushEvent(focus);
    ASSERT_TRUE(pollInput(read));
    ASSERT_TRUE(pollInput(read));
    EXPECT_FALSE(pausesPlay(read)) << "a second loss took nothing";
    pushKey(SDL_KEYDOWN, SDLK_a);
    pushEvent(focus);
    ASSERT_TRUE(pollInput(read));
    ASSERT_TRUE(pollInput(read));
    EXPECT_TRUE(pausesPlay(read));
    ASSERT_FALSE(pollInput(read));

    pushKey(SDL_KEYDOWN, SDLK_a);
    pushEvent(focus);
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    const int livesBefore = lives;
    EXPECT_EQ(playLevel(level, nullptr), STATE_TITLE);
    EXPECT_EQ(level->framesStepped(), 0);
    EXPECT_EQ(lives, livesBefore);

    // Gaining the focus does not pause; Q leaves a pause as Escape does.
    focus.active.gain = 1;
    EXPECT_FALSE(pausesPlay(focus));
    pushKey(SDL_KEYDOWN, SDLK_p);
    pushKey(SDL_KEYDOWN, SDLK_q);
    EXPECT_EQ(playLevel(level, nullptr), STATE_TITLE);
    EXPECT_EQ(level->framesStepped(), 0);
}

TEST_F(StartAndPause, AnArrowLetGoDuringThePauseStopsTheShipAndIsRecordedBeforeTheNextFrame) {
    Level* level = startLevel(NOTHING_TO_DESTROY);
    Player* player = level->getPlayer();
    seen.clear();
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    pushKey(SDL_KEYDOWN, SDLK_p);
    pushKey(SDL_KEYUP, SDLK_RIGHT);
    pushKey(SDL_KEYDOWN, SDLK_p);
    EXPECT_EQ(playLevel(level, watch), STATE_LEVEL_WON);
    EXPECT_EQ(player->getXVelocity(), 0);
    EXPECT_EQ(player->getXPosition(), 487) << "the ship moved after its key was let go";
    bool releaseSeen = false;
    for (const Seen& event : seen) {
        EXPECT_EQ(event.frame, 1);
        releaseSeen = releaseSeen || (event.type == SDL_KEYUP && event.key == SDLK_RIGHT);
    }
    EXPECT_TRUE(releaseSeen);
}

TEST(LevelBanner, KeepsClearOfTheShipAreasOfEveryLevel) {
    ensureGame();
    unloadGameLettering();
    const Lettering* lettering = gameLettering();
    ASSERT_NE(lettering, nullptr);
    for (int number = 1; number <= LEVEL_COUNT; ++number) {
        Level level(number, bg, 1, ignoreLoadProblem);
        const std::string text = bannerText(number, level.getName());
        const SDL_Rect place = bannerPlace(lettering->width(text), lettering->lineHeight(),
                                           level.getPlayer()->getBounds());
        EXPECT_GE(place.x, 0) << number;
        EXPECT_LE(place.x + place.w, SCREEN_WIDTH) << number << " " << text;
        for (const bound& area : level.getPlayer()->getBounds()) {
            const bool apart = place.x + place.w + BANNER_MARGIN <= area.left ||
                               area.right + BANNER_MARGIN <= place.x ||
                               place.y + place.h + BANNER_MARGIN <= area.top ||
                               area.bottom + BANNER_MARGIN <= place.y;
            EXPECT_TRUE(apart) << "level " << number << "'s banner meets a ship area";
        }
    }
}

TEST(LevelBanner, MovesDownPastAShipAreaAtTheTop) {
    const std::list<bound> top = {{0, 1024, 200, 0}};
    const SDL_Rect place = bannerPlace(300, 15, top);
    EXPECT_GE(place.y, 200 + BANNER_MARGIN);
    EXPECT_EQ(place.x, (1024 - 300) / 2);
    EXPECT_EQ(bannerText(3, ""), "Level 3");
    EXPECT_EQ(bannerText(12, "Billiards"), "Level 12: Billiards");
}

TEST_F(StartAndPause, TheBannerShowsForTwoSecondsUnderTheShotsThatCrossIt) {
    ScopedPicture black(IMG_SPACE, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0, 0);
    ScopedPicture shot(IMG_LASER_N, 4, 16, 10, 200, 30);
    writeLevel(900,
               "Top: a shot through the banner\nShip(487, 150)\n"
               "ShipArea(400, 140) (600, 220)\nCrate(0, 700)\n");
    setCurrentLevel(new Level(900, black.surface(), 1));
    Level* level = getCurrentLevel();
    Player* player = level->getPlayer();
    showLevelBanner(*level, bannerText(900, level->getName()));
    const Lettering* lettering = gameLettering();
    const Uint16 backdrop = rgb(0, 0, 0), shotColour = rgb(10, 200, 30);

    level->step();
    const BannerLook look = bannerLook(*level);
    ASSERT_TRUE(look.shown);
    EXPECT_EQ(look.text, "Level 900: Top");
    const int w = lettering->width(look.text), h = lettering->lineHeight();
    level->draw();
    EXPECT_GT(countNot(backdrop, look.x, look.y, w, h), 0) << "no banner on the first frame";

    // The shot flies up through the banner's row and is seen there over it.
    player->fireLaser();
    bool crossed = false;
    for (int frame = 2; frame <= BANNER_FRAMES; ++frame) {
        playFrame(level, player);
        for (const Laser& laser : level->getLasers()) {
            const int x = laser.getXPosition(), y = laser.getYPosition();
            const int top = std::max(y, look.y), bottom = std::min(y + 16, look.y + h);
            if (top < bottom && x >= look.x && x + 4 <= look.x + w) {
                crossed = true;
                EXPECT_EQ(countNot(shotColour, x, top, 4, bottom - top), 0)
                    << "the banner hid the shot on frame " << frame;
            }
        }
    }
    EXPECT_TRUE(crossed);
    EXPECT_TRUE(bannerLook(*level).shown);
    playFrame(level, player);
    EXPECT_FALSE(bannerLook(*level).shown);
    EXPECT_EQ(countNot(backdrop, look.x, look.y, w, h), 0) << "the banner stayed after two seconds";
}

}  // namespace
