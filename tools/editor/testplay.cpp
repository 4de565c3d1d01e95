// Test-play in the editor's window, and where a won test-play is kept as the level's replay.
#include "testplay.h"

#include <filesystem>

#include "Level.h"

namespace {

PlayObserver currentWatcher = nullptr;

void recordAndWatch(int frame, const SDL_Event* event) {
    recordPlayEvent(frame, event);
    if (currentWatcher != nullptr)
        currentWatcher(frame, event);
}

}  // namespace

TestPlayResult testPlay(const std::vector<std::string>& lines, const std::string& name,
                        const LevelChoice& level, int ship, PlayObserver watcher) {
    TestPlayResult result{STATE_GAME, 0, level.replay(ship)};
    // The loader's problems with the lines are on the editor's screen already.
    Level* played = new Level(lines, name.c_str(), bg, ship, ignoreLoadProblem);
    setCurrentLevel(played);

    const int livesBefore = lives;
    currentWatcher = watcher;
    startRecording(&result.replay);
    result.state = playLevel(played, recordAndWatch);
    result.frame = lastRecordedFrame();
    startRecording(nullptr);
    currentWatcher = nullptr;
    lives = livesBefore;
    setCurrentLevel(nullptr);
    return result;
}

std::string editorReplayHome(const std::string& levelPath) {
    std::error_code ignored;  // a path that cannot be made absolute stays as it is
    return std::filesystem::absolute(replayHomeOf(levelOfFile(levelPath)), ignored).string();
}
