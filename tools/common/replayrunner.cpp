// Playing a replay through the play screen's own event handling and frame.
#include "replayrunner.h"

#include "Level.h"
#include "banner.h"
#include "skarlume.h"

ReplayRunner::ReplayRunner(const Replay& replay) : replay(replay), livesBefore(lives) {
    ::level = replay.level;
    p = replay.ship;
    changeLevel(levelFileOf(replay), bg, replay.ship);
    current = getCurrentLevel();
    ship = current->getPlayer();
    // The banner is drawn as in the game, so that a replayed game shows what a played one does.
    if (current->fileOpened())
        showLevelBanner(*current, bannerText(replay.level, current->getName()));
}

bool ReplayRunner::opened() const {
    return current->fileOpened();
}

int ReplayRunner::feedEvents(int frame) {
    while (next < replay.events.size() && replay.events[next].frame <= frame) {
        const ReplayEvent& due = replay.events[next++];
        SDL_Event event = {};
        event.type = due.press ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.keysym.sym = due.key;
        const int state = handlePlayEvent(event, ship);
        if (state != STATE_GAME)
            return state;
    }
    return STATE_GAME;
}

int ReplayRunner::playFrame() {
    return ::playFrame(current, ship);
}

int ReplayRunner::play(int frame) {
    const int state = feedEvents(frame);
    return state != STATE_GAME ? state : playFrame();
}

bool ReplayRunner::lifeSpent() const {
    return lives < livesBefore;
}

ReplayOutcome playReplay(const Replay& replay, int maxFrames,
                         const std::function<void(int frame)>& onFrame) {
    if (maxFrames <= 0)
        maxFrames = (replay.events.empty() ? 0 : replay.events.back().frame) + REPLAY_GRACE_FRAMES;
    ReplayRunner run(replay);
    if (!run.opened())
        return {STATE_TITLE, 0, false};
    for (int frame = 1; frame <= maxFrames; ++frame) {
        int state = run.feedEvents(frame);
        if (state != STATE_GAME)
            return {state, frame, false};
        state = run.playFrame();
        if (onFrame)
            onFrame(frame);
        if (state != STATE_GAME)
            return {state, frame, run.lifeSpent()};
    }
    return {STATE_GAME, maxFrames, false};
}

const char* outcomeName(int state) {
    switch (state) {
        case STATE_LEVEL_WON:
            return "won";
        case STATE_LEVEL_LOST:
            return "lost";
        case STATE_GAME_OVER:
            return "game over";
        case STATE_TITLE:
            return "left to the title";
        case STATE_QUIT:
            return "quit";
        default:
            return "still playing";
    }
}
