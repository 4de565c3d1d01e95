// Test-play: the level as it stands in the editor, played in the editor's window through the
// play screen's own loop at 60 frames a second, every key recorded as a replay; and where a
// won test-play is kept as the level's replay.
#pragma once

#include <string>
#include <vector>

#include "levelchoice.h"
#include "replayfile.h"
#include "skarlume.h"

struct TestPlayResult {
    int state;      // as the play screen returns it: STATE_LEVEL_WON, STATE_TITLE (Escape), ...
    int frame;      // the last frame played
    Replay replay;  // every key, with the frame it came before
};

// Plays the lines as a level with ship `ship`; `watcher`, if any, sees every event and frame
// after the recorder. The game's lives are put back as they were: a lost test-play costs none.
// The replay names `level`, the file the lines stand for.
TestPlayResult testPlay(const std::vector<std::string>& lines, const std::string& name,
                        const LevelChoice& level, int ship, PlayObserver watcher);

// Where the replay of the level file at `levelPath` is kept, as an absolute path: for the
// game's levels/levelN.txt it is solutions/levelN.txt, for any other file NAME.replay beside it.
std::string editorReplayHome(const std::string& levelPath);
