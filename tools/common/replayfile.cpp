// Replay files: reading and writing them, and recording one from the play screen.
#include "replayfile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Level.h"

namespace {
struct KeyName {
    SDLKey key;
    const char* name;
};
const KeyName keyNames[] = {
    {SDLK_UP, "up"},       {SDLK_DOWN, "down"},     {SDLK_LEFT, "left"}, {SDLK_RIGHT, "right"},
    {SDLK_SPACE, "space"}, {SDLK_ESCAPE, "escape"}, {SDLK_q, "q"},
};
}  // namespace

const char* replayKeyName(SDLKey key) {
    for (const KeyName& entry : keyNames)
        if (entry.key == key)
            return entry.name;
    return "?";
}

SDLKey replayKey(const std::string& name) {
    for (const KeyName& entry : keyNames)
        if (name == entry.name)
            return entry.key;
    return SDLK_UNKNOWN;
}

bool parseReplay(std::istream& in, Replay& replay, std::string& error) {
    replay = Replay();
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& problem) {
        error = "line " + std::to_string(lineNumber) + ": " + problem;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string first;
        if (!(words >> first))
            continue;
        std::string extra;
        if (first == "level" && first.size() < line.size()) {
            // A level file: the rest of the line, blanks around it dropped.
            std::string rest = line.substr(line.find(first) + first.size());
            rest.erase(0, rest.find_first_not_of(" \t\r"));
            rest.erase(rest.find_last_not_of(" \t\r") + 1);
            if (!rest.empty() && rest.find_first_not_of("0123456789") != std::string::npos) {
                replay.level = 0;
                replay.levelFile = rest;
                continue;
            }
        }
        if (first == "level" || first == "ship") {
            int value = 0;
            if (!(words >> value) || (words >> extra))
                return fail("expected \"" + first + " N\"");
            if (first == "level" && (value < 1 || value > LEVEL_COUNT))
                return fail("the level must be 1 to " + std::to_string(LEVEL_COUNT));
            if (first == "ship" && (value < 1 || value > 3))
                return fail("the ship must be 1 to 3");
            (first == "level" ? replay.level : replay.ship) = value;
            if (first == "level")
                replay.levelFile.clear();
            continue;
        }
        char* end = nullptr;
        long frame = std::strtol(first.c_str(), &end, 10);
        std::string action, keyName;
        if (*end != '\0' || frame < 1 || frame > 10000000 || !(words >> action >> keyName) ||
            (words >> extra) || (action != "press" && action != "release"))
            return fail("expected \"FRAME press KEY\" or \"FRAME release KEY\"");
        SDLKey key = replayKey(keyName);
        if (key == SDLK_UNKNOWN)
            return fail("unknown key \"" + keyName + "\"");
        if (!replay.events.empty() && frame < replay.events.back().frame)
            return fail("frames must not go back");
        replay.events.push_back({int(frame), action == "press", key});
    }
    if (replay.level == 0 && replay.levelFile.empty())
        return fail("no \"level N\" or \"level FILE\" line");
    return true;
}

bool loadReplay(const std::string& path, Replay& replay, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    if (parseReplay(in, replay, error)) {
        const std::filesystem::path level(replay.levelFile);
        if (!replay.levelFile.empty() && level.is_relative())
            replay.levelFile =
                (std::filesystem::path(path).parent_path() / level).lexically_normal().string();
        return true;
    }
    error = path + ": " + error;
    return false;
}

void writeReplay(std::ostream& out, const Replay& replay, const std::string& replayPath) {
    namespace fs = std::filesystem;
    if (replay.levelFile.empty()) {
        out << "level " << replay.level;
    } else {
        std::error_code failure;
        fs::path dir = fs::path(replayPath).parent_path();
        const fs::path from = fs::absolute(dir.empty() ? fs::path(".") : dir, failure);
        const fs::path level = fs::absolute(replay.levelFile, failure).lexically_normal();
        const fs::path relative = level.lexically_relative(from.lexically_normal());
        out << "level "
            << (replayPath.empty() || failure || relative.empty() ? replay.levelFile
                                                                  : relative.string());
    }
    out << "\nship " << replay.ship << "\n";
    for (const ReplayEvent& event : replay.events)
        out << event.frame << (event.press ? " press " : " release ") << replayKeyName(event.key)
            << "\n";
}

std::string levelFileOf(const Replay& replay) {
    return replay.levelFile.empty() ? levelFileName(replay.level) : replay.levelFile;
}

std::string levelTitleOf(const Replay& replay) {
    return "level " + (replay.levelFile.empty() ? std::to_string(replay.level) : replay.levelFile);
}

namespace {
Replay* recording = nullptr;
int lastFrame = 0;
}  // namespace

void startRecording(Replay* into) {
    recording = into;
    lastFrame = 0;
}

void recordPlayEvent(int frame, const SDL_Event* event) {
    if (event == nullptr) {
        lastFrame = frame;
        return;
    }
    if (recording == nullptr || (event->type != SDL_KEYDOWN && event->type != SDL_KEYUP))
        return;
    SDLKey key = event->key.keysym.sym;
    if (replayKey(replayKeyName(key)) != key)
        return;
    recording->events.push_back({frame, event->type == SDL_KEYDOWN, key});
}

int lastRecordedFrame() {
    return lastFrame;
}
