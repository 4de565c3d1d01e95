// Test-play: the level as it stands in the editor, played in the editor's window through the
// play screen's own loop at 60 frames a second, every key recorded as a replay; and where a
// won test-play is kept as the level's replay.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "replayfile.h"
#include "skarlume.h"

struct TestPlayResult {
    int state;      // as the play screen returns it: STATE_LEVEL_WON, STATE_TITLE (Escape), ...
    int frame;      // the last frame played
    Replay replay;  // every key, with the frame it came before
};

// Plays the lines as a level with ship `ship`; `watcher`, if any, sees every event and frame
// after the recorder. The game's lives are put back as they were: a lost test-play costs none.
TestPlayResult testPlay(const std::vector<std::string>& lines, const std::string& name,
                        int levelNumber, int ship, PlayObserver watcher);

// Where the replay of a level file is kept: for levels/levelN.txt (N from 1 to LEVEL_COUNT)
// it is solutions/levelN.txt beside levels/; other files have none.
struct ReplayHome {
    int level;
    std::string file;
};
std::optional<ReplayHome> replayHomeOf(const std::string& levelPath);
