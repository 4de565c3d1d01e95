// Replay files: the key presses and releases of a level's play by frame number, read, written,
// and recorded from the play screen as it runs.
#pragma once

#include <SDL.h>

#include <iosfwd>
#include <string>
#include <vector>

// A replay file is text, one instruction a line; "#" starts a comment:
//   level 7          the level to play (1 to 35), or
//   level mine.txt   any level file, named relative to the replay (the rest of the line)
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
    int level = 0;          // a campaign level; 0 when the replay plays a level file
    std::string levelFile;  // that file, as the working directory reaches it
    int ship = 1;
    std::vector<ReplayEvent> events;
};

// False, with a message naming the line, when the text is not a replay.
bool parseReplay(std::istream& in, Replay& replay, std::string& error);
// Loading resolves a level file named relative to the replay; writing names it relative to
// `replayPath`, the file the text goes to (as given when that is unknown).
bool loadReplay(const std::string& path, Replay& replay, std::string& error);
void writeReplay(std::ostream& out, const Replay& replay, const std::string& replayPath = "");

// The file the loader reads for the replay's level, and how the tools name that level:
// "level 7" or "level mine.txt".
std::string levelFileOf(const Replay& replay);
std::string levelTitleOf(const Replay& replay);

// The key's name in a replay file, and back; SDLK_UNKNOWN for a name that is no key.
const char* replayKeyName(SDLKey key);
SDLKey replayKey(const std::string& name);

// Recording: a play-screen observer (see runPlayScreen) that appends every replay key to the
// replay given to startRecording, with the frame it came before, and keeps the last frame.
void startRecording(Replay* into);
void recordPlayEvent(int frame, const SDL_Event* event);
int lastRecordedFrame();
