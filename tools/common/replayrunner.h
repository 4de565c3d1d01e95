// Playing a replay: its key events handed to the play screen's own event handling before the
// frame they come before, then the play screen's frame, so that a replayed game and a played
// one run the same code.
#pragma once

#include <functional>

#include "replayfile.h"

class Level;
class Player;

// Plays a replay on the current level, frame by frame, for callers that look at the level
// between frames (the solver, the benchmark, the frame tests).
class ReplayRunner {
public:
    // Makes the replay's level with the replay's ship the current level and the game's, as the
    // play screen does. The lives are the caller's to set. The replay must outlive the runner.
    explicit ReplayRunner(const Replay& replay);
    ReplayRunner(const ReplayRunner&) = delete;
    ReplayRunner& operator=(const ReplayRunner&) = delete;

    // False when the level's file could not be read (its problem is on the standard error).
    bool opened() const;
    Level* level() const { return current; }
    Player* player() const { return ship; }

    // Hands the play screen the events due before `frame`: STATE_GAME, or the screen that an
    // event asked for, which leaves the rest of the frame's events unread.
    int feedEvents(int frame);
    // The step and the drawing of the frame whose events were fed: STATE_GAME while the level
    // goes on, or the screen to go to.
    int playFrame();
    // Both, one whole frame as the play screen runs it.
    int play(int frame);
    // Whether the level has cost a life since the runner started it.
    bool lifeSpent() const;

private:
    const Replay& replay;
    size_t next = 0;
    Level* current;
    Player* ship;
    int livesBefore;
};

struct ReplayOutcome {
    int state;       // STATE_LEVEL_WON, STATE_LEVEL_LOST, STATE_GAME_OVER, STATE_TITLE,
                     // STATE_QUIT, or STATE_GAME while the level still goes on
    int frame;       // the frame on which it came
    bool lifeSpent;  // the level was lost and cost a life
};

// Extra frames played after the last event before a replay counts as still playing.
constexpr int REPLAY_GRACE_FRAMES = 3600;

// Plays replay.level with replay.ship from its first frame, spending `lives` as the play
// screen does. Stops at the level's outcome or after `maxFrames` frames (0: the last event's
// frame plus the grace). `onFrame`, if given, runs after every drawn frame.
ReplayOutcome playReplay(const Replay& replay, int maxFrames = 0,
                         const std::function<void(int frame)>& onFrame = nullptr);

// "won", "lost", "game over", "left to the title", "quit" or "still playing".
const char* outcomeName(int state);
