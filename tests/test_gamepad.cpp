// The gamepad: its hat, stick and buttons arrive on every screen as the keys they stand for, and
// a shipped replay played with the pad instead of the keys wins on the very same frame.
#include <gtest/gtest.h>

#include <vector>

#include "Level.h"
#include "graphics.h"
#include "headless.h"
#include "input.h"
#include "replayfile.h"
#include "replayrunner.h"
#include "skarlume.h"
#include "testutil.h"

namespace {

SDL_Event hat(Uint8 value) {
    SDL_Event event{};
    event.type = SDL_JOYHATMOTION;
    event.jhat.value = value;
    return event;
}

SDL_Event stick(Uint8 axis, Sint16 value) {
    SDL_Event event{};
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.axis = axis;
    event.jaxis.value = value;
    return event;
}

SDL_Event button(Uint8 number, bool press) {
    SDL_Event event{};
    event.type = press ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.button = number;
    event.jbutton.state = press ? SDL_PRESSED : SDL_RELEASED;
    return event;
}

// The keys the pad's event stands for, written "+up" for a press and "-up" for a release.
std::string keysOf(const SDL_Event& event, SDLKey firstButton = SDLK_SPACE) {
    std::vector<SDL_Event> keys;
    gamepadKeys(event, keys, firstButton);
    std::string text;
    for (const SDL_Event& key : keys) {
        EXPECT_EQ(key.key.state, key.type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED);
        text += (text.empty() ? "" : " ") + std::string(key.type == SDL_KEYDOWN ? "+" : "-") +
                SDL_GetKeyName(key.key.keysym.sym);
    }
    return text;
}

class Gamepad : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGame();
        resetGamepad();
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
    }
    void TearDown() override { resetGamepad(); }
};

TEST_F(Gamepad, TheHatPressesAndReleasesTheArrowsItPointsTo) {
    EXPECT_EQ(keysOf(hat(SDL_HAT_UP)), "+up");
    EXPECT_EQ(keysOf(hat(SDL_HAT_RIGHTUP)), "+right");
    EXPECT_EQ(keysOf(hat(SDL_HAT_RIGHTDOWN)), "-up +down");
    EXPECT_EQ(keysOf(hat(SDL_HAT_LEFT)), "-right +left -down");
    EXPECT_EQ(keysOf(hat(SDL_HAT_LEFT)), "");
    EXPECT_EQ(keysOf(hat(SDL_HAT_CENTERED)), "-left");
}

TEST_F(Gamepad, TheStickCountsOnlyBeyondItsDeadZone) {
    EXPECT_EQ(keysOf(stick(0, GAMEPAD_DEAD_ZONE)), "");
    EXPECT_EQ(keysOf(stick(1, -GAMEPAD_DEAD_ZONE)), "");
    EXPECT_EQ(keysOf(stick(0, GAMEPAD_DEAD_ZONE + 1)), "+right");
    EXPECT_EQ(keysOf(stick(0, 32767)), "");
    EXPECT_EQ(keysOf(stick(0, -32768)), "-right +left");
    EXPECT_EQ(keysOf(stick(1, 20000)), "+down");
    EXPECT_EQ(keysOf(stick(0, 3000)), "-left");
    EXPECT_EQ(keysOf(stick(1, 0)), "-down");
    // Only the left stick steers: the right one's axes and the triggers do nothing.
    EXPECT_EQ(keysOf(stick(2, 32767)), "");
    EXPECT_EQ(keysOf(stick(3, -32768)), "");
}

TEST_F(Gamepad, TheHatRulesWhileItIsPressedAndTheStickAgainAfter) {
    EXPECT_EQ(keysOf(stick(0, -30000)), "+left");
    EXPECT_EQ(keysOf(hat(SDL_HAT_RIGHT)), "-left +right");
    EXPECT_EQ(keysOf(stick(0, 0)), "");
    EXPECT_EQ(keysOf(stick(0, -30000)), "");
    EXPECT_EQ(keysOf(hat(SDL_HAT_CENTERED)), "-right +left");
}

TEST_F(Gamepad, ButtonsAreSpaceEscapeAndReturn) {
    EXPECT_EQ(keysOf(button(GAMEPAD_FIRST_BUTTON, true)), "+space");
    EXPECT_EQ(keysOf(button(GAMEPAD_FIRST_BUTTON, false)), "-space");
    EXPECT_EQ(keysOf(button(GAMEPAD_FIRST_BUTTON, true), SDLK_RETURN), "+return");
    EXPECT_EQ(keysOf(button(GAMEPAD_SECOND_BUTTON, true)), "+escape");
    EXPECT_EQ(keysOf(button(GAMEPAD_START_BUTTON, true)), "+return");
    EXPECT_EQ(keysOf(button(GAMEPAD_START_BUTTON, false)), "-return");
    EXPECT_EQ(keysOf(button(3, true)), "");
}

TEST_F(Gamepad, EveryMenuTakesThePadsButtons) {
    // Start leaves the title for the instructions, the first button those for the ship select,
    // the second button goes back.
    SDL_Event start = button(GAMEPAD_START_BUTTON, true);
    SDL_PushEvent(&start);
    EXPECT_EQ(handleTitle(), STATE_INSTRUCTIONS);
    SDL_Event fire = button(GAMEPAD_FIRST_BUTTON, true);
    SDL_PushEvent(&fire);
    EXPECT_EQ(handleInstructions(), STATE_SHIP_SELECT);
    p = 1;
    SDL_Event moves[] = {hat(SDL_HAT_RIGHT), hat(SDL_HAT_CENTERED), stick(0, 30000),
                         button(GAMEPAD_SECOND_BUTTON, true)};
    for (SDL_Event& event : moves)
        SDL_PushEvent(&event);
    EXPECT_EQ(handleShipSelect(), STATE_TITLE);
    EXPECT_EQ(p, 3) << "the hat and then the stick each move the choice one ship right";
    p = 1;
}

// A replay's keys as the pad would give them. Each arrow pair is one axis of the pad, pointing
// where the ship's speed along it points, as the play screen's keys set it: a press points
// the axis its way, a release centres it only if it pointed that way.
class PadPlayer {
public:
    explicit PadPlayer(bool useHat) : useHat(useHat) {}

    void push(const ReplayEvent& key) {
        if (key.key == SDLK_SPACE) {
            SDL_Event event = button(GAMEPAD_FIRST_BUTTON, key.press);
            SDL_PushEvent(&event);
            return;
        }
        if (key.key == SDLK_ESCAPE) {
            SDL_Event event = button(GAMEPAD_SECOND_BUTTON, key.press);
            SDL_PushEvent(&event);
            return;
        }
        const bool horizontal = key.key == SDLK_LEFT || key.key == SDLK_RIGHT;
        const int way = key.key == SDLK_LEFT || key.key == SDLK_UP ? -1 : 1;
        int& axis = horizontal ? across : upDown;
        if (key.press)
            axis = way;
        else if (axis == way)
            axis = 0;
        SDL_Event event;
        if (useHat) {
            Uint8 value = SDL_HAT_CENTERED;
            value |= across < 0 ? SDL_HAT_LEFT : across > 0 ? SDL_HAT_RIGHT : 0;
            value |= upDown < 0 ? SDL_HAT_UP : upDown > 0 ? SDL_HAT_DOWN : 0;
            event = hat(value);
        } else {
            event = stick(horizontal ? 0 : 1, Sint16(axis * 30000));
        }
        SDL_PushEvent(&event);
    }

private:
    bool useHat;
    int across = 0;
    int upDown = 0;
};

Replay shippedReplay(int number) {
    Replay replay;
    std::string error;
    EXPECT_TRUE(loadReplay("solutions/level" + std::to_string(number) + ".txt", replay, error))
        << error;
    return replay;
}

// Plays the replay's level with its keys turned into pad events on SDL's queue, through the play
// screen's own input, recording what the play screen was told.
ReplayOutcome playWithThePad(const Replay& replay, bool useHat, Replay& recorded) {
    level = replay.level;
    p = replay.ship;
    changeLevel(level, bg, p);
    Level* current = getCurrentLevel();
    Player* player = current->getPlayer();
    PadPlayer pad(useHat);
    recorded = Replay();
    recorded.level = replay.level;
    recorded.ship = replay.ship;
    startRecording(&recorded);
    size_t next = 0;
    ReplayOutcome outcome{STATE_GAME, 0, false};
    ClippedDrawing quick;
    for (int frame = 1; frame <= 20000 && outcome.state == STATE_GAME; ++frame) {
        for (; next < replay.events.size() && replay.events[next].frame <= frame; ++next)
            pad.push(replay.events[next]);
        int state = takePlayInput(frame, player, recordPlayEvent);
        if (state == STATE_GAME)
            state = playFrame(current, player);
        if (state != STATE_GAME)
            outcome = {state, frame, false};
    }
    startRecording(nullptr);
    return outcome;
}

TEST_F(Gamepad, ShippedReplaysPlayedWithThePadWinOnTheSameFrame) {
    for (int number : {2, 9, 14, 21, 26, 30, 35}) {
        for (bool useHat : {true, false}) {
            SCOPED_TRACE("level " + std::to_string(number) +
                         (useHat ? " with the hat" : " with the stick"));
            const Replay replay = shippedReplay(number);
            ReplayOutcome keys;
            {
                ClippedDrawing quick;
                keys = playReplay(replay);
            }
            ASSERT_EQ(keys.state, STATE_LEVEL_WON);
            Replay recorded;
            const ReplayOutcome pad = playWithThePad(replay, useHat, recorded);
            EXPECT_EQ(pad.state, STATE_LEVEL_WON);
            EXPECT_EQ(pad.frame, keys.frame);
            // What was recorded is keys, and replays to the same win.
            ClippedDrawing quick;
            const ReplayOutcome again = playReplay(recorded);
            EXPECT_EQ(again.state, STATE_LEVEL_WON);
            EXPECT_EQ(again.frame, keys.frame);
            resetGamepad();
        }
    }
}

}  // namespace
