// Plays a level headless from a replay file and tells how it ended; saves screens on the way,
// or the title screen alone.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <string>

#include "gamedir.h"
#include "graphics.h"
#include "headless.h"
#include "levelchoice.h"
#include "replayrunner.h"
#include "skarlume.h"

namespace {
std::map<int, std::string> screenshots;

void saveScreenshot(int frame) {
    auto shot = screenshots.find(frame);
    if (shot == screenshots.end())
        return;
    if (SDL_SaveBMP(screen, shot->second.c_str()) != 0)
        std::cerr << "replay: cannot write " << shot->second << ": " << SDL_GetError() << "\n";
}

bool startOrSayWhy() {
    if (startHeadless())
        return true;
    std::cerr << "replay: cannot start the game headless: " << SDL_GetError() << "\n";
    return false;
}

// Draws the real title screen headless (an Escape waits in the queue, so it returns at once)
// and saves what it drew.
int titleShot(const char* path) {
    if (!startOrSayWhy())
        return 2;
    SDL_Event escape = {};
    escape.type = SDL_KEYDOWN;
    escape.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&escape);
    handleTitle();
    const bool saved = SDL_SaveBMP(screen, path) == 0;
    if (!saved)
        std::cerr << "replay: cannot write " << path << ": " << SDL_GetError() << "\n";
    UnloadImages();
    return saved ? 0 : 2;
}

int usage() {
    std::cerr << "usage: replay [--level N|FILE] [--frames N] [--shot FRAME FILE.bmp]... REPLAY\n"
                 "       replay --title-shot FILE.bmp\n"
                 "Plays the replay's level (\"level N\", or \"level FILE\" relative to the\n"
                 "replay; --level N or FILE plays another) headless from the game directory\n"
                 "(images/, levels/) and prints: won, lost or still playing, the frame, and\n"
                 "whether a life was spent. Exit status 0 when the level was won, 1 otherwise,\n"
                 "2 on errors (the replay or its level file cannot be read).\n"
                 "--title-shot saves the title screen as the game draws it, as a BMP.\n";
    return 2;
}
}  // namespace

int main(int argc, char* argv[]) {
    enterGameDirectory(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--title-shot") == 0)
        return titleShot(argv[2]);
    int frames = 0;
    const char* path = nullptr;
    const char* levelOverride = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--level") == 0 && i + 1 < argc) {
            levelOverride = argv[++i];
        } else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            frames = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--shot") == 0 && i + 2 < argc) {
            int frame = std::atoi(argv[++i]);
            screenshots[frame] = argv[++i];
        } else if (argv[i][0] == '-' || path != nullptr) {
            return usage();
        } else {
            path = argv[i];
        }
    }
    if (path == nullptr)
        return usage();
    Replay replay;
    std::string error;
    if (!loadReplay(path, replay, error)) {
        std::cerr << "replay: " << error << "\n";
        return 2;
    }
    LevelChoice level;
    if (levelOverride != nullptr) {
        if (!chooseLevel(levelOverride, level, error)) {
            std::cerr << "replay: " << error << "\n";
            return 2;
        }
        const Replay other = level.replay(replay.ship);
        replay.level = other.level;
        replay.levelFile = other.levelFile;
    }
    if (levelFileProblem(replay, error)) {
        std::cerr << "replay: " << error << "\n";
        return 2;
    }
    if (!startOrSayWhy())
        return 2;
    ReplayOutcome outcome = playReplay(replay, frames, saveScreenshot);
    std::printf("%s: %s at frame %d, %s\n", levelTitleOf(replay).c_str(),
                outcomeName(outcome.state), outcome.frame,
                outcome.lifeSpent ? "a life spent" : "no life spent");
    UnloadImages();
    return outcome.state == STATE_LEVEL_WON ? 0 : 1;
}
