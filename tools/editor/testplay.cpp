// Test-play in the editor's window, and where a won test-play is kept as the level's replay.
#include "testplay.h"

#include <filesystem>
#include <regex>

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
                        int levelNumber, int ship, PlayObserver watcher) {
    TestPlayResult result{STATE_GAME, 0, Replay()};
    result.replay.level = levelNumber;
    result.replay.ship = ship;
    // The loader's problems with the lines are on the editor's screen already.
    Level* level = new Level(lines, name.c_str(), bg, ship, ignoreLoadProblem);
    setCurrentLevel(level);

    const int livesBefore = lives;
    currentWatcher = watcher;
    startRecording(&result.replay);
    result.state = playLevel(level, recordAndWatch);
    result.frame = lastRecordedFrame();
    startRecording(nullptr);
    currentWatcher = nullptr;
    lives = livesBefore;
    setCurrentLevel(nullptr);
    return result;
}

std::optional<ReplayHome> replayHomeOf(const std::string& levelPath) {
    const std::filesystem::path path(levelPath);
    std::smatch match;
    const std::string file = path.filename().string();
    if (path.parent_path().filename() != "levels" ||
        !std::regex_match(file, match, std::regex("level([1-9][0-9]?)\\.txt")))
        return std::nullopt;
    const int number = std::stoi(match[1]);
    if (number > LEVEL_COUNT)
        return std::nullopt;
    return ReplayHome{number, (path.parent_path().parent_path() / "solutions" / file).string()};
}
