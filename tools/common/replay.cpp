// Replays: a level played headless from a list of key presses and releases by frame number.
#include "replay.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "Level.h"
#include "graphics.h"
#include "skarlume.h"

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
        if (first == "level" || first == "ship") {
            int value = 0;
            if (!(words >> value) || (words >> extra))
                return fail("expected \"" + first + " N\"");
            if (first == "level" && (value < 1 || value > LEVEL_COUNT))
                return fail("the level must be 1 to " + std::to_string(LEVEL_COUNT));
            if (first == "ship" && (value < 1 || value > 3))
                return fail("the ship must be 1 to 3");
            (first == "level" ? replay.level : replay.ship) = value;
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
    if (replay.level == 0)
        return fail("no \"level N\" line");
    return true;
}

bool loadReplay(const std::string& path, Replay& replay, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    if (parseReplay(in, replay, error))
        return true;
    error = path + ": " + error;
    return false;
}

void writeReplay(std::ostream& out, const Replay& replay) {
    out << "level " << replay.level << "\nship " << replay.ship << "\n";
    for (const ReplayEvent& event : replay.events)
        out << event.frame << (event.press ? " press " : " release ") << replayKeyName(event.key)
            << "\n";
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

bool startHeadless() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (game_screen == nullptr && InitVideo(SDL_DOUBLEBUF) == nullptr)
        return false;
    if (!loaded && !InitImages())
        return false;
    screen = game_screen;
    bg = GetImage(IMG_SPACE);
    return true;
}

ClippedDrawing::ClippedDrawing() {
    SDL_Rect nothing = {0, 0, 0, 0};
    SDL_SetClipRect(game_screen, &nothing);
}

ClippedDrawing::~ClippedDrawing() {
    SDL_SetClipRect(game_screen, nullptr);
}

ReplayOutcome playReplay(const Replay& replay, int maxFrames,
                         void (*onFrame)(int frame, void* context), void* context) {
    if (maxFrames <= 0)
        maxFrames = (replay.events.empty() ? 0 : replay.events.back().frame) + REPLAY_GRACE_FRAMES;
    level = replay.level;
    p = replay.ship;
    const int livesBefore = lives;
    changeLevel(level, bg, p);
    Level* current = getCurrentLevel();
    Player* player = current->getPlayer();
    if (!current->fileOpened())
        return {STATE_TITLE, 0, false};
    size_t next = 0;
    for (int frame = 1; frame <= maxFrames; ++frame) {
        for (; next < replay.events.size() && replay.events[next].frame <= frame; ++next) {
            SDL_Event event = {};
            event.type = replay.events[next].press ? SDL_KEYDOWN : SDL_KEYUP;
            event.key.keysym.sym = replay.events[next].key;
            int state = handlePlayEvent(event, player);
            if (state != STATE_GAME)
                return {state, frame, false};
        }
        int state = playFrame(current, player);
        if (onFrame != nullptr)
            onFrame(frame, context);
        if (state != STATE_GAME)
            return {state, frame, lives < livesBefore};
    }
    return {STATE_GAME, maxFrames, false};
}

const char* outcomeName(int state) {
    switch (state) {
        case STATE_LEVEL_WON:
            return "won";
        case STATE_LEVEL_LOST:
            return "lost";
        case STATE_GAME_OVER:
            return "game over";
        case STATE_TITLE:
            return "left to the title";
        case STATE_QUIT:
            return "quit";
        default:
            return "still playing";
    }
}
