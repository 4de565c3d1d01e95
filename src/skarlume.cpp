// The entry point, the screen state machine, the menu screens and the play screen.
#include "skarlume.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "Level.h"
#include "Player.h"
#include "audio.h"
#include "banner.h"
#include "campaign.h"
#include "graphics.h"
#include "input.h"
#include "lettering.h"
#include "menus.h"
#include "options.h"
#include "pause.h"
#include "progress.h"
#include "settings.h"
#ifdef __EMSCRIPTEN__
#include "webshim.h"
#endif

int p = 1;
int lives = STARTING_LIVES;
int level = 1;
SDL_Surface* bg = nullptr;
SDL_Surface*& screen = game_screen;

namespace {

constexpr int FRAMES_PER_SECOND = 60;
// A menu key handler's answer when the key keeps the screen open.
constexpr int STAY = -1;

// A menu is a full-window picture with, on some, a mark over it (the title's outline, the
// ship select's bar). Once drawn, a redraw lays the picture back only where the mark was and
// sends only that and the mark's new place; the whole picture goes again on a new screen, a
// lost one, or one that may not hold its last picture.
class MenuPicture {
public:
    MenuPicture(int picture, std::function<void()> drawMark)
        : picture(picture), drawMark(std::move(drawMark)) {}

    void draw() {
        const bool whole = !drawn || drawnAt != screenGeneration() || !screenKeepsItsPicture();
        std::vector<SDL_Rect> changed;
        Slock(screen);
        if (whole) {
            DrawImage(GetImage(picture), 0, 0);
        } else {
            for (const SDL_Rect& place : markDrawn)
                DrawPartialImage(GetImage(picture), place.x, place.y, place.x, place.y, place.w,
                                 place.h);
            changed = markDrawn;
        }
        markDrawn.clear();
        if (drawMark) {
            DrawnAreas recorded(markDrawn);
            drawMark();
        }
        Sulock(screen);
        changed.insert(changed.end(), markDrawn.begin(), markDrawn.end());
        drawn = true;
        drawnAt = screenGeneration();
        presentScreen(whole ? nullptr : &changed);
    }

private:
    int picture;
    std::function<void()> drawMark;
    bool drawn = false;
    unsigned drawnAt = 0;
    std::vector<SDL_Rect> markDrawn;
};

// Every menu draws itself on entry and then sleeps until an event. Title, instructions and
// ship select redraw after every event that does not end them, whether or not it changed
// anything; the still screens (level won and lost, game over, credits) redraw only when the
// screen was lost or exposed.
template <typename OnKey>
int runMenu(MenuPicture menu, bool redrawsOnEvents, OnKey onKey) {
    menu.draw();
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
        if (redrawsOnEvents || event.type == SDL_VIDEOEXPOSE)
            menu.draw();
    }
}

template <typename OnKey>
int runRedrawingScreen(int picture, std::function<void()> drawMark, OnKey onKey) {
    return runMenu(MenuPicture(picture, std::move(drawMark)), true, onKey);
}

template <typename OnKey>
int runStillScreen(int picture, OnKey onKey, std::function<void()> drawOver = nullptr) {
    return runMenu(MenuPicture(picture, std::move(drawOver)), false, onKey);
}

// One line of the game's lettering, centred across the window.
void letterCentred(int y, const std::string& text, Ink ink) {
    if (const Lettering* lettering = gameLettering())
        lettering->draw((SCREEN_WIDTH - lettering->width(text)) / 2, y, text, ink);
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

    // After a pause: the next frame's deadline counts from now.
    void restart() {
        origin = Clock::now();
        frames = 0;
    }

    void waitForNextFrame() {
        ++frames;
        Clock::time_point deadline =
            origin + std::chrono::duration_cast<Clock::duration>(
                         std::chrono::duration<double>(double(frames) / FRAMES_PER_SECOND));
        Clock::time_point now = Clock::now();
        if (now < deadline) {
#ifdef __EMSCRIPTEN__
            webSleepUntil(deadline);
#else
            std::this_thread::sleep_until(deadline);
#endif
        } else {
            origin = now;
            frames = 0;
#ifdef __EMSCRIPTEN__
            // Late or not, the browser has its turn: it draws and delivers keys only then.
            webSleepUntil(now);
#endif
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

namespace {
std::string titleNotice;
}  // namespace

void setTitleNotice(const std::string& text) {
    titleNotice = text;
}

std::string levelTitle(int number, const std::string& name) {
    const Campaign& campaign = currentCampaign();
    if (campaign.kind != CampaignKind::OneLevel)
        return bannerText(number, name);
    if (!name.empty())
        return name;
    const size_t slash = campaign.file.rfind('/');
    return slash == std::string::npos ? campaign.file : campaign.file.substr(slash + 1);
}

// The title's items are New Game and Credits, with Continue above them when there is progress
// to continue from: without it the title is the picture and its two items alone.
int handleTitle() {
    const int continueAt = continueLevel(currentProgress(), currentCampaign());
    const int first = continueAt > 0 ? -1 : 0;  // -1 continue, 0 new game, 1 credits
    int selection = first;
    auto drawMarks = [&selection, continueAt] {
        if (selection >= 0) {
            const MenuPlace outline = TITLE_OUTLINE_AT[selection];
            DrawImage(GetImage(IMG_START_MENU_OUTLINE), outline.x, outline.y);
        }
        if (continueAt > 0) {
            const std::string item = "Continue from level " + std::to_string(continueAt);
            letterCentred(TITLE_CONTINUE_Y, selection < 0 ? "> " + item + " <" : item,
                          selection < 0 ? Ink::Highlight : Ink::Plain);
        }
        if (!titleNotice.empty())
            letterCentred(TITLE_NOTICE_Y, titleNotice, Ink::Problem);
    };
    const int next =
        runRedrawingScreen(IMG_START_MENU, drawMarks, [&selection, first, continueAt](SDLKey key) {
            if (key == SDLK_UP || key == SDLK_DOWN) {
                const int count = TITLE_ITEM_COUNT - first;
                const int step = key == SDLK_DOWN ? 1 : count - 1;
                selection = first + (selection - first + step) % count;
                playSound(SOUND_MENU_MOVE);
            } else if (isConfirmKey(key)) {
                if (selection == 1)
                    return int(STATE_CREDITS);
                lives = STARTING_LIVES;
                if (selection < 0) {
                    level = continueAt;
                    return int(STATE_SHIP_SELECT);
                }
                level = 1;
                return int(STATE_INSTRUCTIONS);
            } else if (key == SDLK_ESCAPE) {
                return int(STATE_QUIT);
            }
            return STAY;
        });
    if (next != STATE_QUIT)
        titleNotice.clear();
    return next;
}

int handleInstructions() {
    return runRedrawingScreen(IMG_INSTRUCTIONS, nullptr, [](SDLKey key) {
        if (isConfirmKey(key))
            return int(STATE_SHIP_SELECT);
        if (key == SDLK_ESCAPE)
            return int(STATE_TITLE);
        return STAY;
    });
}

int handleShipSelect() {
    auto drawBar = [] {
        const MenuPlace bar = SHIP_SELECT_BAR_AT[p >= 1 && p <= SHIP_COUNT ? p - 1 : 0];
        DrawImage(GetImage(IMG_SHIP_SELECT_BAR), bar.x, bar.y);
    };
    return runRedrawingScreen(IMG_SHIP_SELECT, drawBar, [](SDLKey key) {
        const int before = p;
        if (key == SDLK_RIGHT && p < SHIP_COUNT)
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
    const std::string left =
        lives == 1 ? "1 ship left: the last one" : std::to_string(lives) + " ships left";
    auto drawLeft = [left] { letterCentred(STILL_SCREEN_TEXT_Y, left, Ink::Highlight); };
    return runStillScreen(
        IMG_LEVEL_LOSE,
        [](SDLKey key) {
            if (isConfirmKey(key))
                return int(STATE_GAME);
            if (key == SDLK_s)
                return int(STATE_SHIP_SELECT);
            if (key == SDLK_ESCAPE)
                return int(STATE_TITLE);
            return STAY;
        },
        drawLeft);
}

int handleLevelWon() {
    const Campaign& campaign = currentCampaign();
    const Level* won = getCurrentLevel();
    const std::string name = won != nullptr ? won->getName() : "";
    std::string said = levelTitle(level, name);
    if (campaign.kind != CampaignKind::OneLevel)
        said = "Level " + std::to_string(level) + " of " + std::to_string(campaign.levelCount) +
               (name.empty() ? "" : ": " + name);
    // The next level is reached once this one is won, whether or not it is played now.
    if (level < campaign.levelCount && noteReached(currentProgress(), campaign, level + 1)) {
        std::string error;
        if (!saveProgress(currentProgress(), error))
            std::cerr << "skarlume: the progress is not kept: " << error << std::endl;
    }
    auto drawSaid = [said] { letterCentred(STILL_SCREEN_TEXT_Y, said, Ink::Highlight); };
    return runStillScreen(
        IMG_LEVEL_COMPLETE,
        [&campaign](SDLKey key) {
            if (key == SDLK_ESCAPE)
                return int(STATE_TITLE);
            if (isConfirmKey(key)) {
                if (level >= campaign.levelCount)
                    return int(STATE_TITLE);
                ++level;
                return int(STATE_GAME);
            }
            return STAY;
        },
        drawSaid);
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
    if (pausesPlay(event))
        return STATE_PAUSED;
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

namespace {
// What the last play frame changed on the screen, and whether it was the whole picture.
std::vector<SDL_Rect> playScreenChanged;
bool playScreenWhole = true;
unsigned playScreenDrawnAt = 0;
}  // namespace

void drawPlayScreen(Level* current, const Player* player) {
    Slock(screen);
    if (playScreenDrawnAt != screenGeneration())
        current->draw();
    else
        current->redraw(spareLivesDrawn);
    playScreenDrawnAt = screenGeneration();
    const std::vector<SDL_Rect>* changed = current->changedPlaces();
    playScreenWhole = changed == nullptr;
    // The level's changes hold where the last spare lives were: they were laid over.
    if (changed != nullptr)
        playScreenChanged = *changed;
    spareLivesDrawn.clear();
    {
        DrawnAreas recorded(spareLivesDrawn);
        drawSpareLives(player);
    }
    Sulock(screen);
    playScreenChanged.insert(playScreenChanged.end(), spareLivesDrawn.begin(),
                             spareLivesDrawn.end());
}

void presentPlayScreen() {
    presentScreen(playScreenWhole ? nullptr : &playScreenChanged);
}

int playFrame(Level* current, Player* player) {
    current->step();
    // Sounds start with the frame's rules, before its drawing, whether or not it is shown.
    playFrameSounds(current->takeEvents());
    drawPlayScreen(current, player);
    presentPlayScreen();
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
#ifdef __EMSCRIPTEN__
    if (webOwnLevel() != nullptr) {
        setCurrentLevel(webLoadOwnLevel(bg, p));
        Level* own = getCurrentLevel();
        return own == nullptr ? int(STATE_TITLE) : playLevel(own, observer);
    }
#endif
    std::string problem;
    auto sayAndKeep = [&problem](const LoadProblem& found) {
        printToStandardError(found);
        if (found.line == 0 && problem.empty())
            problem = found.text + ": " + found.path;
    };
    setCurrentLevel(new Level(levelPath(currentCampaign(), level), bg, p, sayAndKeep));
    Level* current = getCurrentLevel();
    // A level that cannot be read is no win: back to the title, which says why.
    if (!current->fileOpened()) {
        setTitleNotice(problem);
        return STATE_TITLE;
    }
    return playLevelAsShown(current, observer);
}

int playLevelAsShown(Level* current, PlayObserver observer) {
    const std::string title = levelTitle(level, current->getName());
    showLevelBanner(*current, title);
    setWindowCaption(std::string(GAME_CAPTION) + " - " + title);
    const int next = playLevel(current, observer);
    setWindowCaption(GAME_CAPTION);
    return next;
}

int takePlayInput(int frame, Player* player, PlayObserver observer) {
    SDL_Event event;
    while (pollInput(event)) {
        if (observer != nullptr)
            observer(frame, &event);
        int next = handlePlayEvent(event, player);
        if (next != STATE_GAME)
            return next;
    }
    return STATE_GAME;
}

namespace {
// The pause, and then the arrows released during it, as events before the frame to come.
int pausePlay(int frame, Player* player, PlayObserver observer) {
    std::vector<SDL_Event> released;
    const int next = runPause(released);
    for (const SDL_Event& event : released) {
        if (observer != nullptr)
            observer(frame, &event);
        handlePlayEvent(event, player);
    }
    return next;
}
}  // namespace

int playLevel(Level* current, PlayObserver observer) {
    Player* player = current->getPlayer();
    FramePacer pacer;
    for (int frame = 1;; ++frame) {
        int next;
        while ((next = takePlayInput(frame, player, observer)) == STATE_PAUSED) {
            next = pausePlay(frame, player, observer);
            if (next != STATE_GAME)
                return next;
            pacer.restart();
        }
        if (next != STATE_GAME)
            return next;
        next = playFrame(current, player);
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
#ifndef __EMSCRIPTEN__
    // (The web page's level file is the web shim's: below, and back at the title the campaign
    // resumes.)
    if (!options.levels.empty()) {
        std::string stopNote;
        // Checked before any window opens: a path that is no level ends the program here.
        if (!openCampaign(options.levels, currentCampaign(), problem, stopNote)) {
            std::cerr << "skarlume: " << problem << std::endl;
            return 1;
        }
        if (!stopNote.empty()) {
            std::cerr << "skarlume: " << stopNote << std::endl;
            setTitleNotice(stopNote);
        }
    }
#endif
    currentSettings() = loadSettings(std::cerr);
    currentProgress() = loadProgress(std::cerr);
    // Audio is opened on its own once the window and pictures are there: a machine without
    // sound still plays.
    if (SDL_Init(0) < 0) {
        std::cerr << "Could not initialize SDL:" << SDL_GetError() << std::endl;
        SDL_Quit();
        return 1;
    }
    atexit(SDL_Quit);
    // The command line's choice wins over the settings file's.
    if (openGameWindow(options.fullscreen ? options.fullscreen : currentSettings().fullscreen,
                       std::cerr) == nullptr) {
        std::cerr << "Unable to set 1024x768 video: " << SDL_GetError() << std::endl;
        return 1;
    }
    openGamepad();
    if (!InitImages()) {
        std::cerr << "Unable to load images." << std::endl;
        return 1;
    }
    bg = GetImage(IMG_SPACE);
    // --mute is for this run; the settings keep what M last chose.
    if (!openAudio(options.mute || currentSettings().mute, currentSettings().volume, problem))
        std::cerr << "skarlume: playing without sound: " << problem << std::endl;
    int state = STATE_TITLE;
    // A level file named on the command line is played at once, with a new game's ships.
    if (currentCampaign().kind == CampaignKind::OneLevel) {
        level = 1;
        lives = STARTING_LIVES;
        state = STATE_GAME;
    }
#ifdef __EMSCRIPTEN__
    // The page hands in a level file to play at once; back at the title, the campaign resumes.
    if (argc > 1) {
        webSetOwnLevel(argv[1]);
        state = STATE_GAME;
    }
#endif
    while (state != STATE_QUIT) {
        state = runScreen(state);
#ifdef __EMSCRIPTEN__
        if (state == STATE_TITLE)
            webSetOwnLevel(nullptr);
#endif
    }
    closeAudio();
    unloadGameLettering();
    UnloadImages();
    return 0;
}
