// The level being played: what it owns, its frame cycle, the laser rules and the file loader.
#include "Level.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

#include "Crate.h"
#include "Enemy.h"
#include "direction.h"
#include "graphics.h"

Level* currentlevel = nullptr;

namespace {

constexpr int ENEMY_SPEED = 2;
constexpr int ENEMY_FIRE_PERIOD = 100;
constexpr int FORWARD_SHOOTER_FIRST_COUNT = 40;
constexpr int DUAL_SHOOTER_FIRST_COUNT = 50;

constexpr int WALL_CELL = 32;
constexpr int WALL_COLUMNS = (SCREEN_WIDTH + WALL_CELL - 1) / WALL_CELL;
constexpr int WALL_ROWS = (SCREEN_HEIGHT + WALL_CELL - 1) / WALL_CELL;

// The cell of a window coordinate, held to the window's cells.
int cellOf(int coordinate, int cells) {
    return std::max(0, std::min(cells - 1, coordinate / WALL_CELL));
}

}  // namespace

Level::Level(int number, SDL_Surface* background, int ship, const ProblemSink& problems)
    : Level(levelFileName(number), background, ship, problems) {}

Level::Level(const std::string& path, SDL_Surface* background, int ship,
             const ProblemSink& problems)
    : enemyCount(0),
      shotCount(0),
      player(nullptr),
      background(background),
      status(LEVEL_PLAYING),
      opened(false) {
    // The player exists before the file is read: the file places it and gives its areas.
    player = new Player(0, 0, PLAYER_MAX_SHOTS, ship, addLaserToCurrentLevel);
    loadFile(path.c_str(), problems);
}

Level::Level(const std::vector<std::string>& lines, const char* name, SDL_Surface* background,
             int ship, const ProblemSink& problems)
    : enemyCount(0),
      shotCount(0),
      player(nullptr),
      background(background),
      status(LEVEL_PLAYING),
      opened(true) {
    player = new Player(0, 0, PLAYER_MAX_SHOTS, ship, addLaserToCurrentLevel);
    if (!lines.empty())
        this->name = levelNameOf(lines.front());
    int lineNumber = 0;
    for (const std::string& line : lines)
        loadLine(line, name, ++lineNumber, problems);
}

Level::~Level() {
    for (Ship* ship : enemies)
        delete ship;
    delete player;
    walls.clear();
    lasers.clear();
    enemies.clear();
}

void Level::step() {
    if (status != LEVEL_PLAYING)
        return;
    ++steps;
    player->move();
    // Enemies fire during their move; their lasers join the back of the list and move below.
    for (Ship* ship : enemies)
        ship->move();
    for (Laser& laser : lasers) {
        bool wasInFlight = laser.inFlight();
        laser.move();
        // A shot that leaves the screen gives the player its shot back.
        if (wasInFlight && !laser.inFlight() && laser.getType() == LASER_PLAYER)
            --shotCount;
    }
    lasers.erase(std::remove_if(lasers.begin(), lasers.end(),
                                [](const Laser& laser) { return laser.vanished(); }),
                 lasers.end());
    checklasers();
}

// The painter's order: background, ship, outlines, enemies and crates, lasers, walls. What
// never moves comes composed in one picture, and the outlines and walls are laid back over
// wherever the things that move were drawn, so every pixel is the painter's.
void Level::draw() {
    drawFrame(nullptr);
}

void Level::redraw(const std::vector<SDL_Rect>& drawnSince) {
    drawFrame(&drawnSince);
}

void Level::drawFrame(const std::vector<SDL_Rect>* drawnSince) {
    scenery.update(background, player->getBounds(), walls);
    changedWhole = drawnSince == nullptr || !scenery.drawBackdropOver(moved, *drawnSince);
    if (drawnSince == nullptr)
        scenery.drawBackdrop();
    changed.clear();
    if (!changedWhole) {
        changed = moved;
        changed.insert(changed.end(), drawnSince->begin(), drawnSince->end());
    }
    moved.clear();
    {
        DrawnAreas recorded(moved);
        if (underlay)
            underlay();
        player->drawShip();
    }
    scenery.drawOutlinesOver(moved);
    {
        DrawnAreas recorded(moved);
        for (auto it = enemies.begin(); it != enemies.end();) {
            Ship* ship = *it;
            ship->draw();
            // A ship leaves the level in the very draw in which its explosion ends.
            if (ship->isDead()) {
                --enemyCount;
                delete ship;
                it = enemies.erase(it);
            } else {
                ++it;
            }
        }
        // Back to front, so the oldest laser is drawn last.
        for (auto it = lasers.rbegin(); it != lasers.rend(); ++it)
            it->draw();
    }
    scenery.drawWallsOver(moved);
    changed.insert(changed.end(), moved.begin(), moved.end());
    if (enemyCount == 0)
        status = LEVEL_WON;
    // Lost is set after won, so a frame in which both happen is a loss.
    if (player->isDead())
        status = LEVEL_LOST;
}

void Level::addWall(Wall w) {
    walls.push_back(w);
    wallGridStale = true;
}

void Level::buildWallGrid() {
    // Visits the cells a wall's box reaches, clipped to the window; a wall wholly off it has none.
    auto forEachCellOf = [](const Wall& wall, auto&& visit) {
        const Wall::Box& box = wall.getBox();
        if (box.right < 0 || box.bottom < 0 || box.left >= SCREEN_WIDTH || box.top >= SCREEN_HEIGHT)
            return;
        for (int row = cellOf(box.top, WALL_ROWS); row <= cellOf(box.bottom, WALL_ROWS); ++row)
            for (int column = cellOf(box.left, WALL_COLUMNS);
                 column <= cellOf(box.right, WALL_COLUMNS); ++column)
                visit(row * WALL_COLUMNS + column);
    };
    // Counted first, then laid out cell by cell.
    cellStart.assign(WALL_COLUMNS * WALL_ROWS + 1, 0);
    for (const Wall& wall : walls)
        forEachCellOf(wall, [&](int cell) { ++cellStart[cell + 1]; });
    for (size_t cell = 1; cell < cellStart.size(); ++cell)
        cellStart[cell] += cellStart[cell - 1];
    cellWalls.resize(cellStart.back());
    std::vector<size_t> filled(cellStart.begin(), cellStart.end() - 1);
    for (const Wall& wall : walls)
        forEachCellOf(wall, [&](int cell) { cellWalls[filled[cell]++] = &wall; });
    wallGridStale = false;
}

const Wall* Level::wallAt(int x, int y) const {
    // Off the screen every wall is a candidate.
    if (x < 0 || y < 0 || x >= SCREEN_WIDTH || y >= SCREEN_HEIGHT) {
        for (const Wall& wall : walls)
            if (wall.doesCollide(x, y))
                return &wall;
        return nullptr;
    }
    const int cell = (y / WALL_CELL) * WALL_COLUMNS + x / WALL_CELL;
    for (size_t i = cellStart[cell]; i < cellStart[cell + 1]; ++i)
        if (cellWalls[i]->doesCollide(x, y))
            return cellWalls[i];
    return nullptr;
}

void Level::addEnemy(Ship* s) {
    enemies.push_back(s);
    ++enemyCount;
}

void Level::addLaser(Laser l) {
    lasers.push_back(l);
    events.add(l.getType() == LASER_PLAYER ? EVENT_PLAYER_FIRED : EVENT_ENEMY_FIRED);
    if (l.getType() != LASER_PLAYER)
        return;
    ++shotCount;
    if (shotCount <= player->getMaxShots())
        return;
    // Over the limit: the oldest player's shot still in flight is retired for the new one.
    for (Laser& laser : lasers) {
        if (laser.getType() == LASER_PLAYER && laser.inFlight()) {
            laser.vanish();
            --shotCount;
            return;
        }
    }
}

void Level::checklasers() {
    if (wallGridStale)
        buildWallGrid();
    bounced.clear();
    for (size_t index = 0; index < lasers.size(); ++index) {
        Laser& laser = lasers[index];
        // A laser on its way out hits nothing: its sentinel hot point could sit inside a wall
        // at the field's corner and breed a new laser every frame.
        if (!laser.inFlight())
            continue;
        const point hot = laser.getHotPoint();
        const bool playerShot = laser.getType() == LASER_PLAYER;

        if (const Wall* wall = wallAt(hot.x, hot.y)) {
            laser.vanish();
            int direction = laser.getDirection();
            int turned = reflect(direction, wall->getDirection());
            const int turn = difference(direction, turned);
            int life = laser.getLife() - (turn == 180 ? 1 : 0);
            if (life > 0)
                bounced.emplace_back(
                    index, Laser(hot, turned, laser.getVelocity(), life, laser.getType()));
            else if (playerShot)
                --shotCount;
            // A wall along the shot's way lets it on unturned, which is nothing to hear.
            if (life <= 0)
                events.add(EVENT_SHOT_FADED);
            else if (turn != 0)
                events.add(turn == 180 ? EVENT_SHOT_SENT_BACK : EVENT_SHOT_TURNED);
        }

        if (laser.getType() != LASER_ENEMY) {
            for (Ship* ship : enemies) {
                if (!ship->mayCollide(hot.x, hot.y) || !ship->doesCollide(hot.x, hot.y))
                    continue;
                if (playerShot) {
                    // Retired at a wall this frame already: it still hits, but its shot
                    // was given back once.
                    if (laser.inFlight())
                        --shotCount;
                    laser.vanish();
                }
                if (ship->getStatus() == SHIP_ALIVE)
                    events.add(dynamic_cast<const Crate*>(ship) != nullptr ? EVENT_CRATE_DESTROYED
                                                                           : EVENT_ENEMY_DESTROYED);
                ship->hit();
                break;
            }
        }

        if (player->doesCollide(hot.x, hot.y)) {
            if (playerShot && laser.inFlight())
                --shotCount;
            laser.vanish();
            if (player->getStatus() == SHIP_ALIVE)
                events.add(EVENT_PLAYER_DESTROYED);
            player->hit();
        }
    }
    if (bounced.empty())
        return;
    // A bounced laser takes the place just before the one it came from; it is checked from the
    // next frame on. The list grows by the newcomers and the lasers from the first bounce on
    // move up, from the back, each newcomer dropped in as its place comes.
    const size_t count = lasers.size();
    for (const auto& born : bounced)
        lasers.push_back(born.second);
    size_t place = lasers.size();
    auto born = bounced.rbegin();
    for (size_t index = count; born != bounced.rend();) {
        --index;
        lasers[--place] = lasers[index];
        for (; born != bounced.rend() && born->first == index; ++born)
            lasers[--place] = born->second;
    }
}

std::string levelFileName(int number) {
    return "levels/level" + std::to_string(number) + ".txt";
}

void changeLevel(int number, SDL_Surface* background, int ship, const ProblemSink& problems) {
    changeLevel(levelFileName(number), background, ship, problems);
}

void changeLevel(const std::string& path, SDL_Surface* background, int ship,
                 const ProblemSink& problems) {
    // The new level is read while the previous one is still current.
    setCurrentLevel(new Level(path, background, ship, problems));
}

void setCurrentLevel(Level* next) {
    Level* previous = currentlevel;
    currentlevel = next;
    delete previous;
}

Level* getCurrentLevel() {
    return currentlevel;
}

void addLaserToCurrentLevel(Laser l) {
    if (currentlevel != nullptr)
        currentlevel->addLaser(l);
}

// ---- Level files ----

namespace {

// Reads "(%d, %d)" and "(%d, %d) (%d, %d)" by the rules of the scanf family, except that a
// number too large for an int is caught (strtol reports it) instead of being undefined.
class PointScanner {
public:
    // Reads in place from `start`: the text must outlive the scanner, so temporaries are refused.
    explicit PointScanner(const std::string& text, size_t start = 0) : at(text.c_str() + start) {}
    PointScanner(std::string&&, size_t = 0) = delete;
    PointScanner(const PointScanner&) = delete;
    PointScanner& operator=(const PointScanner&) = delete;

    // "(%d, %d)": both numbers must be read; what follows the second one does not matter.
    bool readPoint(long& x, long& y) {
        return literal('(') && number(x) && literal(',') && skipBlanks() && number(y);
    }

    // "(%d, %d) (%d, %d)": the first point must close before the second opens.
    bool readPair(long (&v)[4]) {
        return readPoint(v[0], v[1]) && literal(')') && skipBlanks() && readPoint(v[2], v[3]);
    }

private:
    bool literal(char c) {
        if (*at != c)
            return false;
        ++at;
        return true;
    }

    bool skipBlanks() {
        while (std::isspace(static_cast<unsigned char>(*at)))
            ++at;
        return true;
    }

    bool number(long& value) {
        skipBlanks();
        char* end = nullptr;
        errno = 0;
        long read = std::strtol(at, &end, 10);
        if (end == at)
            return false;
        at = end;
        value = errno == ERANGE ? (read < 0 ? LONG_MIN : LONG_MAX) : read;
        return true;
    }

    const char* at;
};

bool inRange(long value) {
    return value >= -COORDINATE_LIMIT && value <= COORDINATE_LIMIT;
}

point toPoint(long x, long y) {
    return {static_cast<int>(x), static_cast<int>(y)};
}

// The points of a path, one for each "(" in the text. False when a point does not scan or
// lies out of range; the point is then kept with its unread numbers as 0.
bool scanPath(const std::string& text, std::list<point>& path) {
    bool allGood = true;
    size_t start = 0;
    while (start != std::string::npos) {
        long x = 0, y = 0;
        PointScanner scanner(text, start);
        if (!scanner.readPoint(x, y) || !inRange(x) || !inRange(y)) {
            allGood = false;
            if (!inRange(x))
                x = 0;
            if (!inRange(y))
                y = 0;
        }
        path.push_back(toPoint(x, y));
        start = text.find('(', start + 1);
    }
    return allGood;
}

}  // namespace

void Level::loadFile(const char* path, const ProblemSink& problems) {
    std::error_code error;
    std::ifstream file;
    if (!std::filesystem::is_directory(path, error))
        file.open(path, std::ios::binary);
    if (!file.is_open()) {
        problems({path, 0, "Cannot open file"});
        return;
    }
    opened = true;
    player->clearBounds();
    std::string line;
    int lineNumber = 0;
    // Reading stops at the end of the file and on any read error alike.
    while (readLevelLine(file, line)) {
        if (lineNumber == 0)
            name = levelNameOf(line);
        loadLine(line, path, ++lineNumber, problems);
    }
    if (file.bad())
        problems({path, 0, "Cannot read file"});
}

bool Level::loadLine(const std::string& line, const char* path, int lineNumber,
                     const ProblemSink& problems) {
    const size_t open = line.find('(');
    if (open == std::string::npos)
        return false;
    const std::string keyword = keywordOf(line);
    const RecordKind kind = recordKind(keyword);
    if (kind == RecordKind::None)
        return false;
    const std::string arguments = line.substr(open);
    auto skip = [&](const std::string& problem) {
        problems({path, lineNumber, problem + "; line skipped"});
        return false;
    };
    const std::string rangeProblem = keyword + ": a coordinate lies outside -" +
                                     std::to_string(COORDINATE_LIMIT) + ".." +
                                     std::to_string(COORDINATE_LIMIT);

    if (kind == RecordKind::Wall || kind == RecordKind::ShipArea) {
        long v[4];
        if (!PointScanner(arguments).readPair(v))
            return skip(keyword + " needs two points, as in " + keyword + "(x1, y1) (x2, y2)");
        for (long value : v)
            if (!inRange(value))
                return skip(rangeProblem);
        const int x1 = int(v[0]), y1 = int(v[1]), x2 = int(v[2]), y2 = int(v[3]);
        if (kind == RecordKind::Wall)
            addWall(Wall(x1, y1, x2, y2));
        else
            player->addBounds(x1, y1, x2, y2);
        return true;
    }

    long x = 0, y = 0;
    if (!PointScanner(arguments).readPoint(x, y))
        return skip(keyword + " needs a position, as in " + keyword + "(x, y)");
    if (!inRange(x) || !inRange(y))
        return skip(rangeProblem);
    if (kind == RecordKind::Ship) {
        player->setPos(int(x), int(y));
        return true;
    }
    if (kind == RecordKind::Crate) {
        addEnemy(new Crate(int(x), int(y)));
        return true;
    }

    // An enemy: its start point, then the direction word up to the next "(", then its path.
    size_t wordStart = arguments.find(')');
    wordStart = wordStart == std::string::npos ? 0 : wordStart + 1;
    const size_t pathStart = arguments.find('(', wordStart);
    const std::string word = arguments.substr(
        wordStart, pathStart == std::string::npos ? std::string::npos : pathStart - wordStart);
    const int direction = getDirection(word);
    if (direction < 0)
        return skip(keyword + ": the direction \"" + word +
                    "\" is not UP, RIGHT, DOWN or LEFT (no blanks around it)");
    std::list<point> walk;
    if (pathStart == std::string::npos)
        walk.push_back(toPoint(x, y));
    else if (!scanPath(arguments.substr(pathStart), walk))
        return skip(keyword + ": a path point does not read as (x, y) within -" +
                    std::to_string(COORDINATE_LIMIT) + ".." + std::to_string(COORDINATE_LIMIT));
    if (kind == RecordKind::EnemyForward)
        addEnemy(new FShooter(int(x), int(y), direction, walk, ENEMY_SPEED, ENEMY_FIRE_PERIOD,
                              FORWARD_SHOOTER_FIRST_COUNT, addLaserToCurrentLevel));
    else
        addEnemy(new DShooter(int(x), int(y), direction, walk, ENEMY_SPEED, ENEMY_FIRE_PERIOD,
                              DUAL_SHOOTER_FIRST_COUNT, addLaserToCurrentLevel));
    return true;
}
