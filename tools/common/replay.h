// Replays: a level played headless from a list of key presses and releases by frame number,
// through the play screen's own event handling and frame.
#pragma once

#include <SDL.h>

#include <iosfwd>
#include <string>
#include <vector>

// A replay file is text, one instruction a line; "#" starts a comment:
//   level 7          the level to play (1 to 35)
//   ship 2           the ship (1 to 3; 1 when left out)
//   120 press left   before frame 120 runs, the left arrow goes down
//   150 release left
// Keys: up, down, left, right, space, escape, q. Frames count from 1 and never go back.
struct ReplayEvent {
    int frame;
    bool press;
    SDLKey key;
};

struct Replay {
    int level = 0;
    int ship = 1;
    std::vector<ReplayEvent> events;
};

struct ReplayOutcome {
    int state;       // STATE_LEVEL_WON, STATE_LEVEL_LOST, STATE_GAME_OVER, STATE_TITLE,
                     // STATE_QUIT, or STATE_GAME while the level still goes on
    int frame;       // the frame on which it came
    bool lifeSpent;  // the level was lost and cost a life
};

// False, with a message naming the line, when the text is not a replay.
bool parseReplay(std::istream& in, Replay& replay, std::string& error);
bool loadReplay(const std::string& path, Replay& replay, std::string& error);
void writeReplay(std::ostream& out, const Replay& replay);

// The key's name in a replay file, and back; SDLK_UNKNOWN for a name that is no key.
const char* replayKeyName(SDLKey key);
SDLKey replayKey(const std::string& name);

// Recording: a play-screen observer (see runPlayScreen) that appends every replay key to the
// replay given to startRecording, with the frame it came before, and keeps the last frame.
void startRecording(Replay* into);
void recordPlayEvent(int frame, const SDL_Event* event);
int lastRecordedFrame();

// Opens the dummy display and loads the pictures, for programs without a window.
// False, with SDL's reason on the standard error stream, when that fails.
bool startHeadless();

// While it lives every draw is clipped away by an empty clip rectangle, so the drawing logic
// (lasers growing and shrinking, explosions counting down) runs without its pixels, for
// programs that play many frames and look at none. The screen stays the blits' destination:
// SDL re-encodes a run-length picture whenever its destination changes, which a stand-in
// screen would cause on every switch.
class ClippedDrawing {
public:
    ClippedDrawing();
    ~ClippedDrawing();
    ClippedDrawing(const ClippedDrawing&) = delete;
    ClippedDrawing& operator=(const ClippedDrawing&) = delete;
};

// Extra frames played after the last event before a replay counts as still playing.
constexpr int REPLAY_GRACE_FRAMES = 3600;

// Plays replay.level with replay.ship from its first frame, spending `lives` as the play
// screen does. Stops at the level's outcome or after `maxFrames` frames (0: the last event's
// frame plus the grace). `onFrame`, if given, runs after every drawn frame.
ReplayOutcome playReplay(const Replay& replay, int maxFrames = 0,
                         void (*onFrame)(int frame, void* context) = nullptr,
                         void* context = nullptr);

// "won", "lost", "game over", "left to the title", "quit" or "still playing".
const char* outcomeName(int state);
