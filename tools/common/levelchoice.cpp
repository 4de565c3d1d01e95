// Choosing a tool's level by number or path, and where its replay is kept.
#include "levelchoice.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <system_error>

#include "Level.h"

namespace fs = std::filesystem;

namespace {

// One spelling for one file, whether or not it exists yet.
fs::path sameFile(const std::string& path) {
    std::error_code failure;
    fs::path canonical = fs::weakly_canonical(path, failure);
    return failure ? fs::absolute(path, failure).lexically_normal() : canonical;
}

bool fileProblem(const std::string& file, std::string& error) {
    std::error_code failure;
    const fs::file_status status = fs::status(file, failure);
    if (!fs::exists(status)) {
        error = "no level file " + file;
        return true;
    }
    if (fs::is_directory(status)) {
        error = file + " is a directory, not a level file";
        return true;
    }
    // A pipe or a device would keep the loader reading for ever.
    if (!fs::is_regular_file(status)) {
        error = file + " is not a regular file, not a level file";
        return true;
    }
    if (!std::ifstream(file).is_open()) {
        error = "cannot read the level file " + file;
        return true;
    }
    return false;
}

}  // namespace

std::string LevelChoice::title() const {
    return "level " + (number != 0 ? std::to_string(number) : file);
}

Replay LevelChoice::replay(int ship) const {
    Replay empty;
    empty.level = number;
    empty.levelFile = number != 0 ? "" : file;
    empty.ship = ship;
    return empty;
}

LevelChoice levelOfFile(const std::string& path) {
    std::smatch match;
    const std::string name = fs::path(path).filename().string();
    if (std::regex_match(name, match, std::regex("level([1-9][0-9]?)\\.txt"))) {
        const int number = std::stoi(match[1]);
        if (number <= LEVEL_COUNT && sameFile(path) == sameFile(levelFileName(number)))
            return {number, levelFileName(number)};
    }
    return {0, path};
}

bool chooseLevel(const std::string& argument, LevelChoice& level, std::string& error) {
    if (!argument.empty() && argument.find_first_not_of("0123456789") == std::string::npos) {
        const int number = argument.size() > 3 ? 0 : std::stoi(argument);
        if (number < 1 || number > LEVEL_COUNT) {
            error = "no level " + argument + ": the campaign's levels are 1 to " +
                    std::to_string(LEVEL_COUNT) + ", or name a level file";
            return false;
        }
        level = {number, levelFileName(number)};
    } else {
        level = levelOfFile(argument);
    }
    return !fileProblem(level.file, error);
}

bool levelFileProblem(const Replay& replay, std::string& error) {
    return fileProblem(levelFileOf(replay), error);
}

std::string replayHomeOf(const LevelChoice& level) {
    if (level.number != 0)
        return "solutions/level" + std::to_string(level.number) + ".txt";
    return fs::path(level.file).replace_extension(".replay").string();
}

bool replayPlays(const Replay& replay, const LevelChoice& level) {
    return sameFile(levelFileOf(replay)) == sameFile(level.file);
}

bool loadLevelReplay(const LevelChoice& level, Replay& replay, std::string& error) {
    const std::string home = replayHomeOf(level);
    std::error_code failure;
    if (!fs::is_regular_file(home, failure)) {
        error = "no replay " + home;
        return false;
    }
    if (!loadReplay(home, replay, error))
        return false;
    if (!replayPlays(replay, level)) {
        error = home + " plays " + levelTitleOf(replay) + ", not " + level.title();
        return false;
    }
    return true;
}
