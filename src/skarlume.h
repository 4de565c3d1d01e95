// The entry point, the screen state machine, the menu screens and the play screen.
#pragma once

#include <SDL.h>

#include <string>

class Level;
class Player;

enum GameState {
    STATE_TITLE = 0,
    STATE_INSTRUCTIONS = 1,
    STATE_SHIP_SELECT = 2,
    STATE_GAME = 3,
    STATE_LEVEL_LOST = 4,
    STATE_LEVEL_WON = 5,
    STATE_GAME_OVER = 6,
    STATE_CREDITS = 7,
    STATE_QUIT = 8,
    // Never a screen: the play screen's events ask its loop for the pause with it.
    STATE_PAUSED = 9,
};

// The lives a new game starts with.
constexpr int STARTING_LIVES = 4;

extern int p;
extern int lives;
extern int level;
extern SDL_Surface* bg;
// The screen surface: the very pointer graphics keeps, so that it follows every new mode.
extern SDL_Surface*& screen;

// What the title says under its items the next time it is drawn (a level that cannot be
// played, where a level pack stops); "" for nothing.
void setTitleNotice(const std::string& text);

// The level being played as the player sees it named: "Level 12: Billiards", or, in a game of
// one level file, its name alone (the file's name when it has none).
std::string levelTitle(int number, const std::string& name);

int handleTitle();
int handleInstructions();
int handleShipSelect();
int handleGame();
int handleLevelLost();
int handleLevelWon();
int handleGameOver();
int handleCredits();

// The play screen without its window loop, so that a replay drives the same code.
// Each returns STATE_GAME while the level goes on, or the screen to go to.
int handlePlayEvent(const SDL_Event& event, Player* player);
int playFrame(Level* current, Player* player);
// The picture of one frame without the step: the level, then the spare lives over it. The
// whole picture after the screen was lost (see screenGeneration).
void drawPlayScreen(Level* current, const Player* player);
// Sends what the last drawPlayScreen changed to the display.
void presentPlayScreen();

// The play screen's observer, if any, sees every event with the number of the frame it comes
// before (frames count from 1), and is told of every frame played with a null event, so that
// a game can be recorded.
using PlayObserver = void (*)(int frame, const SDL_Event* event);
// Hands every waiting event (pollInput) to the play screen before `frame` runs.
int takePlayInput(int frame, Player* player, PlayObserver observer);

// The play screen's loop at 60 frames a second.
int runPlayScreen(PlayObserver observer);
// Plays a level that is already loaded, as the play screen shows it: its banner, and its
// number and name in the window's caption while it is in play.
int playLevelAsShown(Level* current, PlayObserver observer);
// The same loop on a level that is already current (the editor's test-play). It spends lives
// as the play screen does; a caller that must not spend them keeps and restores `lives`.
int playLevel(Level* current, PlayObserver observer);

// The program's start-up, screen loop and shut-down; main hands over to it.
int SDL_main(int argc, char* argv[]);
