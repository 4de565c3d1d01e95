// The level being played: what it owns, its frame cycle, the laser rules and the file loader.
#pragma once

#include <SDL.h>

#include <functional>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "Laser.h"
#include "LevelFile.h"
#include "Player.h"
#include "Scenery.h"
#include "Ship.h"
#include "Wall.h"
#include "gameevents.h"

enum level_status { LEVEL_PLAYING = 0, LEVEL_LOST = 1, LEVEL_WON = 2 };

constexpr int LEVEL_COUNT = 35;
constexpr int PLAYER_MAX_SHOTS = 5;
// Level files keep coordinates within this range, so no rule's arithmetic can overflow.
constexpr int COORDINATE_LIMIT = 10000;

class Level {
public:
    // Levels are read from levels/levelN.txt; the loader's problems go to `problems`.
    Level(int number, SDL_Surface* background, int ship,
          const ProblemSink& problems = printToStandardError);
    // A level read from any level file: a tool's, a level pack's, or one named on the command line.
    Level(const std::string& path, SDL_Surface* background, int ship,
          const ProblemSink& problems = printToStandardError);
    // A level read from lines of text instead of its numbered file (the editor's unsaved
    // document, the checker); `name` stands for the file in the loader's problems.
    Level(const std::vector<std::string>& lines, const char* name, SDL_Surface* background,
          int ship, const ProblemSink& problems = printToStandardError);
    ~Level();
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    Player* getPlayer() { return player; }
    bool won() const { return status == LEVEL_WON; }
    bool lost() const { return status == LEVEL_LOST; }

    void step();
    // The whole frame, over whatever the screen holds.
    void draw();
    // The same frame, for a screen that still shows this level's last frame with nothing drawn
    // over it since but at `drawnSince` (the play screen's spare lives): only there and where
    // something moved is the backdrop laid anew. Anywhere else it is `draw`.
    void redraw(const std::vector<SDL_Rect>& drawnSince);
    // Where the last draw changed the screen, or null when it laid the whole backdrop.
    const std::vector<SDL_Rect>* changedPlaces() const { return changedWhole ? nullptr : &changed; }

    // Drawn each frame over the backdrop and under everything else, while set: what it shows
    // never hides a ship, a laser, an outline or a wall. The places it drew are laid anew with
    // the backdrop the next frame, so it may draw less or nothing later.
    void setUnderlay(std::function<void()> draw) { underlay = std::move(draw); }
    bool hasUnderlay() const { return bool(underlay); }
    // The frames stepped while the level was being played.
    int framesStepped() const { return steps; }

    void addWall(Wall w);
    void addEnemy(Ship* s);
    void addLaser(Laser l);
    void checklasers();

    void loadFile(const char* path, const ProblemSink& problems);
    // Reads one line of a level file; false when the line is no record or was skipped.
    bool loadLine(const std::string& line, const char* path, int lineNumber,
                  const ProblemSink& problems);

    int getEnemyCount() const { return enemyCount; }
    int getShotCount() const { return shotCount; }
    SDL_Surface* getBackground() const { return background; }
    bool fileOpened() const { return opened; }
    // What its file's first line calls the level (see levelNameOf); "" without a name.
    const std::string& getName() const { return name; }
    const std::vector<Ship*>& getEnemies() const { return enemies; }
    const std::vector<Laser>& getLasers() const { return lasers; }
    const std::list<Wall>& getWalls() const { return walls; }
    // What happened since the events were last taken (shots fired, turned and faded, ships
    // destroyed); taking them starts the count afresh.
    FrameEvents takeEvents() {
        FrameEvents taken = events;
        events.clear();
        return taken;
    }

private:
    int enemyCount;
    int shotCount;
    std::vector<Ship*> enemies;
    // Oldest first. Kept side by side in memory: every frame walks all of them several times.
    std::vector<Laser> lasers;
    // The lasers born at walls in this frame's check, each with the index of the laser it
    // bounced from; kept to spare an allocation a frame.
    std::vector<std::pair<size_t, Laser>> bounced;
    std::list<Wall> walls;
    // For each cell of the window, the walls whose collision box reaches into it, in list order:
    // a laser's hot point on the screen is tested only against the walls of its cell, so the
    // first wall to hold it is the same as in the list. The cells lie end to end in one array,
    // built at the first check after a wall is added.
    std::vector<const Wall*> cellWalls;
    std::vector<size_t> cellStart;  // where each cell's walls begin, and one past the last
    bool wallGridStale = true;
    void buildWallGrid();
    // The first wall in list order that holds (x, y), or null.
    const Wall* wallAt(int x, int y) const;
    Player* player;
    SDL_Surface* background;
    Scenery scenery;
    void drawFrame(const std::vector<SDL_Rect>* drawnSince);

    // Where this frame's moving things were drawn, kept to spare an allocation a frame; the next
    // frame lays the backdrop back over them.
    std::vector<SDL_Rect> moved;
    std::vector<SDL_Rect> changed;
    bool changedWhole = true;
    int status;
    bool opened;
    std::string name;
    std::function<void()> underlay;
    int steps = 0;
    FrameEvents events;
};

// The campaign's file of level `number`: levels/levelN.txt.
std::string levelFileName(int number);

void changeLevel(int number, SDL_Surface* background, int ship,
                 const ProblemSink& problems = printToStandardError);
void changeLevel(const std::string& path, SDL_Surface* background, int ship,
                 const ProblemSink& problems = printToStandardError);
// Makes `next` (which may be null) the current level and deletes the previous one.
void setCurrentLevel(Level* next);
Level* getCurrentLevel();
void addLaserToCurrentLevel(Laser l);
