// The entry point, the screen state machine, the menu screens and the play screen.
#include "skarlume.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "Level.h"
#include "Player.h"
#include "audio.h"
#include "graphics.h"
#include "input.h"
#include "options.h"
#include "settings.h"

int p = 1;
int lives = 4;
int level = 1;
SDL_Surface* bg = nullptr;
SDL_Surface* screen = nullptr;

namespace {

constexpr int STARTING_LIVES = 4;
constexpr int PLAYER_SPEED = 2;
constexpr int FRAMES_PER_SECOND = 60;
// A menu key handler's answer when the key keeps the screen open.
constexpr int STAY = -1;

template <typename Draw>
void redraw(Draw drawScreen) {
    Slock(screen);
    drawScreen();
    Sulock(screen);
    SDL_Flip(screen);
}

// Every menu draws itself on entry and then sleeps until an event. Title, instructions and
// ship select redraw after every event that does not end them, whether or not it changed
// anything; the still screens (level won and lost, game over, credits) never redraw.
template <typename Draw, typename OnKey>
int runMenu(Draw drawScreen, bool redrawsOnEvents, OnKey onKey) {
    redraw(drawScreen);
    for (;;) {
        // Menus sleep until something happens.
        SDL_Event event = waitForInput();
        if (event.type == SDL_QUIT)
            return STATE_QUIT;
        if (event.type == SDL_KEYDOWN) {
            int next = onKey(event.key.keysym.sym);
            if (next != STAY) {
                if (next != STATE_QUIT)
                    playSound(SOUND_MENU_CONFIRM);
                return next;
            }
        }
        if (redrawsOnEvents)
            redraw(drawScreen);
    }
}

template <typename Draw, typename OnKey>
int runRedrawingScreen(Draw drawScreen, OnKey onKey) {
    return runMenu(drawScreen, true, onKey);
}

template <typename OnKey>
int runStillScreen(int picture, OnKey onKey) {
    return runMenu([picture] { DrawImage(GetImage(picture), 0, 0); }, false, onKey);
}

bool isConfirmKey(SDLKey key) {
    return key == SDLK_RETURN || key == SDLK_SPACE;
}

// Holds the play screen to 60 frames a second. Deadlines are fixed steps from a starting
// point, so short sleeps do not add up to drift; after a frame that overran, the count starts
// afresh instead of rushing to catch up.
class FramePacer {
public:
    FramePacer() : origin(Clock::now()) {}

    void waitForNextFrame() {
        ++frames;
        Clock::time_point deadline =
            origin + std::chrono::duration_cast<Clock::duration>(
                         std::chrono::duration<double>(double(frames) / FRAMES_PER_SECOND));
        Clock::time_point now = Clock::now();
        if (now < deadline) {
            std::this_thread::sleep_until(deadline);
        } else {
            origin = now;
            frames = 0;
        }
    }

private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point origin;
    long long frames = 0;
};

namespace {
// Where the last frame's spare lives went: the next frame lays the backdrop back there first.
std::vector<SDL_Rect> spareLivesDrawn;
}  // namespace

// One picture of the chosen ship for every life beyond the one in play, from the bottom right.
void drawSpareLives(const Player* player) {
    SDL_Surface* icon = player->getImage();
    if (icon == nullptr)
        return;
    for (int i = 1; i < lives; ++i)
        DrawImage(icon, SCREEN_WIDTH - i * icon->w, SCREEN_HEIGHT - icon->h);
}

int runScreen(int state) {
    switch (state) {
        case STATE_TITLE:
            return handleTitle();
        case STATE_INSTRUCTIONS:
            return handleInstructions();
        case STATE_SHIP_SELECT:
            return handleShipSelect();
        case STATE_GAME:
            return handleGame();
        case STATE_LEVEL_LOST:
            return handleLevelLost();
        case STATE_LEVEL_WON:
            return handleLevelWon();
        case STATE_GAME_OVER:
            return handleGameOver();
        case STATE_CREDITS:
            return handleCredits();
        default:
            return STATE_QUIT;
    }
}

}  // namespace

int handleTitle() {
    int selection = 0;  // 0 new game, 1 credits
    auto drawTitle = [&selection] {
        DrawImage(GetImage(IMG_START_MENU), 0, 0);
        if (selection == 0)
            DrawImage(GetImage(IMG_START_MENU_OUTLINE), 345, 304);
        else
            DrawImage(GetImage(IMG_START_MENU_OUTLINE), 346, 473);
    };
    return runRedrawingScreen(drawTitle, [&selection](SDLKey key) {
        if (key == SDLK_UP || key == SDLK_DOWN) {
            selection = 1 - selection;
            playSound(SOUND_MENU_MOVE);
        } else if (isConfirmKey(key)) {
            if (selection == 1)
                return int(STATE_CREDITS);
            level = 1;
            lives = STARTING_LIVES;
            return int(STATE_INSTRUCTIONS);
        } else if (key == SDLK_ESCAPE) {
            return int(STATE_QUIT);
        }
        return STAY;
    });
}

int handleInstructions() {
    return runRedrawingScreen([] { DrawImage(GetImage(IMG_INSTRUCTIONS), 0, 0); },
                              [](SDLKey key) {
                                  if (isConfirmKey(key))
                                      return int(STATE_SHIP_SELECT);
                                  if (key == SDLK_ESCAPE)
                                      return int(STATE_TITLE);
                                  return STAY;
                              });
}

int handleShipSelect() {
    auto drawShipSelect = [] {
        DrawImage(GetImage(IMG_SHIP_SELECT), 0, 0);
        int barX = p == 2 ? 400 : p == 3 ? 767 : 30;
        DrawImage(GetImage(IMG_SHIP_SELECT_BAR), barX, 623);
    };
    return runRedrawingScreen(drawShipSelect, [](SDLKey key) {
        const int before = p;
        if (key == SDLK_RIGHT && p <= 2)
            ++p;
        if (key == SDLK_LEFT && p > 1)
            --p;
        if (p != before)
            playSound(SOUND_MENU_MOVE);
        if (isConfirmKey(key))
            return int(STATE_GAME);
        if (key == SDLK_ESCAPE)
            return int(STATE_TITLE);
        return STAY;
    });
}

int handleLevelLost() {
    return runStillScreen(IMG_LEVEL_LOSE, [](SDLKey key) {
        if (isConfirmKey(key))
            return int(STATE_GAME);
        if (key == SDLK_s)
            return int(STATE_SHIP_SELECT);
        if (key == SDLK_ESCAPE)
            return int(STATE_TITLE);
        return STAY;
    });
}

int handleLevelWon() {
    return runStillScreen(IMG_LEVEL_COMPLETE, [](SDLKey key) {
        if (key == SDLK_ESCAPE)
            return int(STATE_TITLE);
        if (isConfirmKey(key)) {
            if (level == LEVEL_COUNT)
                return int(STATE_TITLE);
            ++level;
            return int(STATE_GAME);
        }
        return STAY;
    });
}

namespace {
int backToTitle(SDLKey key) {
    return isConfirmKey(key) || key == SDLK_ESCAPE ? int(STATE_TITLE) : STAY;
}
}  // namespace

int handleGameOver() {
    return runStillScreen(IMG_GAME_OVER, backToTitle);
}

int handleCredits() {
    return runStillScreen(IMG_CREDITS, backToTitle);
}

int handlePlayEvent(const SDL_Event& event, Player* player) {
    if (event.type == SDL_QUIT)
        return STATE_QUIT;
    if (event.type == SDL_KEYDOWN) {
        switch (event.key.keysym.sym) {
            case SDLK_UP:
                player->setYVelocity(-PLAYER_SPEED);
                break;
            case SDLK_DOWN:
                player->setYVelocity(PLAYER_SPEED);
                break;
            case SDLK_LEFT:
                player->setXVelocity(-PLAYER_SPEED);
                break;
            case SDLK_RIGHT:
                player->setXVelocity(PLAYER_SPEED);
                break;
            case SDLK_SPACE:
                player->fireLaser();
                break;
            case SDLK_ESCAPE:
            case SDLK_q:
                return STATE_TITLE;
            default:
                break;
        }
    } else if (event.type == SDL_KEYUP) {
        // A release stops the ship only along its own direction: of two opposite keys held,
        // the one pressed last rules.
        switch (event.key.keysym.sym) {
            case SDLK_UP:
                if (player->getYVelocity() < 0)
                    player->setYVelocity(0);
                break;
            case SDLK_DOWN:
                if (player->getYVelocity() > 0)
                    player->setYVelocity(0);
                break;
            case SDLK_LEFT:
                if (player->getXVelocity() < 0)
                    player->setXVelocity(0);
                break;
            case SDLK_RIGHT:
                if (player->getXVelocity() > 0)
                    player->setXVelocity(0);
                break;
            default:
                break;
        }
    }
    return STATE_GAME;
}

void drawPlayScreen(Level* current, const Player* player) {
    Slock(screen);
    current->redraw(spareLivesDrawn);
    spareLivesDrawn.clear();
    {
        DrawnAreas recorded(spareLivesDrawn);
        drawSpareLives(player);
    }
    Sulock(screen);
}

int playFrame(Level* current, Player* player) {
    current->step();
    // Sounds start with the frame's rules, before its drawing, whether or not it is shown.
    playFrameSounds(current->takeEvents());
    drawPlayScreen(current, player);
    SDL_Flip(screen);
    if (current->won()) {
        playSound(SOUND_LEVEL_COMPLETE);
        return STATE_LEVEL_WON;
    }
    if (current->lost()) {
        --lives;
        playSound(lives <= 0 ? SOUND_GAME_OVER : SOUND_SHIP_LOST);
        return lives <= 0 ? STATE_GAME_OVER : STATE_LEVEL_LOST;
    }
    return STATE_GAME;
}

int handleGame() {
    return runPlayScreen(nullptr);
}

int runPlayScreen(PlayObserver observer) {
    changeLevel(level, bg, p);
    Level* current = getCurrentLevel();
    // A level that cannot be read is no win: its message is out, back to the title.
    if (!current->fileOpened())
        return STATE_TITLE;
    return playLevel(current, observer);
}

int playLevel(Level* current, PlayObserver observer) {
    Player* player = current->getPlayer();
    FramePacer pacer;
    for (int frame = 1;; ++frame) {
        // Every waiting event is handled before the next frame runs.
        SDL_Event event;
        while (pollInput(event)) {
            if (observer != nullptr)
                observer(frame, &event);
            int next = handlePlayEvent(event, player);
            if (next != STATE_GAME)
                return next;
        }
        int next = playFrame(current, player);
        if (observer != nullptr)
            observer(frame, nullptr);
        if (next != STATE_GAME)
            return next;
        pacer.waitForNextFrame();
    }
}

int SDL_main(int argc, char* argv[]) {
    Options options;
    std::string problem;
    if (!parseOptions(argc, argv, options, problem)) {
        std::cerr << "skarlume: " << problem << "\n" << usageText();
        return 2;
    }
    if (options.help) {
        std::cout << usageText();
        return 0;
    }
    currentSettings() = loadSettings(std::cerr);
    // Audio is opened on its own once the window and pictures are there: a machine without
    // sound still plays.
    if (SDL_Init(0) < 0) {
        std::cerr << "Could not initialize SDL:" << SDL_GetError() << std::endl;
        SDL_Quit();
        return 1;
    }
    atexit(SDL_Quit);
    screen = InitVideo(SDL_DOUBLEBUF);
    if (screen == nullptr) {
        std::cerr << "Unable to set 1024x768 video: " << SDL_GetError() << std::endl;
        return 1;
    }
    if (!InitImages()) {
        std::cerr << "Unable to load images." << std::endl;
        return 1;
    }
    bg = GetImage(IMG_SPACE);
    // --mute is for this run; the settings keep what M last chose.
    if (!openAudio(options.mute || currentSettings().mute, currentSettings().volume, problem))
        std::cerr << "skarlume: playing without sound: " << problem << std::endl;
    int state = STATE_TITLE;
    while (state != STATE_QUIT)
        state = runScreen(state);
    closeAudio();
    UnloadImages();
    return 0;
}
