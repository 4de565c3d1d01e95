// The level solver's search: walks over the places the ship can stand, key presses written
// from walks and shots, and the depth-first search over shots.
#include "solver.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <random>
#include <set>
#include <utility>

#include "Enemy.h"
#include "Level.h"
#include "graphics.h"
#include "levelreport.h"
#include "replayrunner.h"
#include "skarlume.h"
#include "survey.h"

namespace {

// How long a shot may fly, bouncing, before the search gives up on it.
constexpr int MAX_FLIGHT = SHOT_FLIGHT_FRAMES;
constexpr int MAX_WAIT = 200;

struct Move {
    int dx, dy;
};
constexpr int STEP = PLAYER_SPEED;
const Move moves[] = {{STEP, 0},    {-STEP, 0},    {0, STEP},     {0, -STEP},
                      {STEP, STEP}, {STEP, -STEP}, {-STEP, STEP}, {-STEP, -STEP}};

}  // namespace

// The places the ship can stand, as the player's own move rule allows them.
class Field {
public:
    // Keeps the level's areas, so that it outlives the level.
    Field(const Player* source, int ship) : picture(Player::findImage(ship)) {
        for (const bound& area : source->getBounds())
            areas.push_back(area);
    }

    bool allowed(int x, int y) const {
        for (const bound& area : areas)
            if (fitsInside(area, x, y, picture))
                return true;
        return false;
    }

    // The moves (one per frame) of a shortest walk from one place to another; false if none.
    bool walk(int fromX, int fromY, int toX, int toY, std::vector<Move>& path) const {
        path.clear();
        if (fromX == toX && fromY == toY)
            return true;
        if ((toX - fromX) % STEP != 0 || (toY - fromY) % STEP != 0 || !allowed(toX, toY))
            return false;
        // Every place lies whole steps from the start, so a grid of steps covers them all.
        const int columns = SCREEN_WIDTH / STEP + 2, rows = SCREEN_HEIGHT / STEP + 2;
        const int baseX = fromX - STEP * ((fromX + STEP) / STEP),
                  baseY = fromY - STEP * ((fromY + STEP) / STEP);
        auto cell = [&](int x, int y) {
            int cx = (x - baseX) / STEP, cy = (y - baseY) / STEP;
            return cx < 0 || cy < 0 || cx >= columns || cy >= rows ? -1 : cy * columns + cx;
        };
        std::vector<signed char> moveTo(size_t(columns) * rows, -1);
        std::vector<int> open{cell(fromX, fromY)};
        moveTo[open[0]] = 8;  // the start
        const int goal = cell(toX, toY);
        for (size_t next = 0; next < open.size() && moveTo[goal] < 0; ++next) {
            const int x = baseX + STEP * (open[next] % columns),
                      y = baseY + STEP * (open[next] / columns);
            for (int m = 0; m < 8; ++m) {
                const int nx = x + moves[m].dx, ny = y + moves[m].dy;
                const int c = cell(nx, ny);
                if (c < 0 || moveTo[c] >= 0 || !allowed(nx, ny))
                    continue;
                moveTo[c] = static_cast<signed char>(m);
                open.push_back(c);
            }
        }
        if (goal < 0 || moveTo[goal] < 0)
            return false;
        for (int x = toX, y = toY;;) {
            const int c = cell(x, y);
            if (c < 0 || moveTo[c] < 0 || moveTo[c] >= 8)
                break;
            const Move& m = moves[moveTo[c]];
            path.push_back(m);
            x -= m.dx;
            y -= m.dy;
        }
        std::reverse(path.begin(), path.end());
        return true;
    }

private:
    SDL_Surface* picture;
    std::vector<bound> areas;
};

namespace {

// Turns walks and shots into key presses and releases, frame by frame.
class KeyWriter {
public:
    std::vector<ReplayEvent> events;

    // Walks the moves from `frame` on; returns the first frame after the walk.
    int walk(int frame, const std::vector<Move>& path) {
        int vx = 0, vy = 0;
        for (const Move& move : path) {
            steer(frame, vx, move.dx, SDLK_RIGHT, SDLK_LEFT);
            steer(frame, vy, move.dy, SDLK_DOWN, SDLK_UP);
            vx = move.dx;
            vy = move.dy;
            ++frame;
        }
        steer(frame, vx, 0, SDLK_RIGHT, SDLK_LEFT);
        steer(frame, vy, 0, SDLK_DOWN, SDLK_UP);
        return frame;
    }

    void fire(int frame) {
        events.push_back({frame, true, SDLK_SPACE});
        events.push_back({frame, false, SDLK_SPACE});
    }

private:
    void steer(int frame, int from, int to, SDLKey plus, SDLKey minus) {
        if (from == to)
            return;
        if (from != 0)
            events.push_back({frame, false, from > 0 ? plus : minus});
        if (to != 0)
            events.push_back({frame, true, to > 0 ? plus : minus});
    }
};

constexpr int BRANCHES = 3;
constexpr int FORGIVE_TRIES = 16;

}  // namespace

Solver::Solver(const LevelChoice& chosen, int ship) : chosen(chosen), ship(ship) {
    lives = STARTING_LIVES;
    changeLevel(chosen.file, bg, ship);
    Level* level = getCurrentLevel();
    field = std::make_unique<Field>(level->getPlayer(), ship);
    startX = level->getPlayer()->getXPosition();
    startY = level->getPlayer()->getYPosition();
    targetCount = int(level->getEnemies().size());
    // Shooters walk or fire on a clock, so with any of them the moment of a shot matters.
    for (Ship* target : level->getEnemies())
        if (dynamic_cast<const Enemy*>(target) != nullptr)
            timed = true;
}

Solver::~Solver() = default;

// Builds the replay of a plan; false when a walk is impossible.
bool Solver::compose(const std::vector<Shot>& plan, Replay& replay,
                     std::vector<int>* fireFrames) const {
    replay = chosen.replay(ship);
    KeyWriter keys;
    int frame = 1, x = startX, y = startY;
    std::vector<Move> path;
    for (size_t i = 0; i < plan.size(); ++i) {
        const Shot& shot = plan[i];
        if (!field->walk(x, y, shot.x, shot.y, path))
            return false;
        frame = keys.walk(frame + shot.pause, path) + shot.wait;
        keys.fire(frame);
        if (fireFrames != nullptr)
            fireFrames->push_back(frame);
        x = shot.x;
        y = shot.y;
        if (shot.dodge != 0) {
            if (!field->walk(x, y, x + shot.dodge, y, path))
                return false;
            frame = keys.walk(frame + 1, path);
            x += shot.dodge;
        }
        ++frame;
    }
    replay.events = keys.events;
    return true;
}

// Plays a replay through the play screen until won, lost, or `until` frames.
Outcome Solver::play(const Replay& replay, int until, int lastFire) const {
    ++plays;
    Outcome out;
    out.killedAt.assign(targetCount, 0);
    lives = STARTING_LIVES;
    ReplayRunner run(replay);
    Level* current = run.level();
    Player* player = run.player();
    std::vector<Ship*> targets(current->getEnemies().begin(), current->getEnemies().end());
    std::vector<bool> gone(targetCount, false);
    for (int frame = 1; frame <= until; ++frame) {
        const int state = run.play(frame);
        out.frame = frame;
        std::set<Ship*> present(current->getEnemies().begin(), current->getEnemies().end());
        for (int i = 0; i < targetCount; ++i) {
            if (gone[i])
                continue;
            if (!present.count(targets[i]))
                gone[i] = true;
            else if (targets[i]->getStatus() == SHIP_ALIVE)
                continue;
            if (out.killedAt[i] == 0)
                out.killedAt[i] = frame;
        }
        if (player->getStatus() != SHIP_ALIVE) {
            out.playerHit = true;
            break;
        }
        if (state == STATE_LEVEL_WON) {
            out.won = true;
            break;
        }
        // Left the level by a key: the solver's own replays never hold one.
        if (state != STATE_GAME)
            break;
        if (frame > lastFire && out.shotsDoneAt == 0) {
            bool flying = false;
            for (const Laser& laser : current->getLasers())
                flying = flying || (laser.getType() == LASER_PLAYER && laser.inFlight());
            if (!flying) {
                out.shotsDoneAt = frame + 1;
                break;
            }
        }
    }
    out.playerX = player->getXPosition();
    out.playerY = player->getYPosition();
    return out;
}

Outcome Solver::playPlan(const std::vector<Shot>& plan, int extra) const {
    Replay replay;
    std::vector<int> fires;
    if (!compose(plan, replay, &fires))
        return Outcome{false, true, 0, {}, 0, 0, 0};
    int lastFire = fires.empty() ? 0 : fires.back();
    return play(replay, lastFire + extra, lastFire);
}

int Solver::kills(const Outcome& out) {
    return int(
        std::count_if(out.killedAt.begin(), out.killedAt.end(), [](int f) { return f != 0; }));
}

// Depth-first search, nearest shot first: each round adds a shot that hits one more target
// and keeps the ship alive. When a round finds none, the round before tries its next-best
// shot (up to BRANCHES of them), so one greedy choice cannot strand the search.
bool Solver::solve(std::vector<Shot>& plan, std::ostream& log) {
    Outcome now = playPlan(plan, MAX_FLIGHT);
    if (plan.empty()) {
        now = Outcome();
        now.killedAt.assign(targetCount, 0);
        now.playerX = startX;
        now.playerY = startY;
    }
    if (now.playerHit)
        return false;
    return extend(plan, now, log);
}

int Solver::frameWon(const std::vector<Shot>& plan) const {
    Replay replay;
    compose(plan, replay, nullptr);
    Outcome out = play(replay, replay.events.back().frame + MAX_FLIGHT + 100, 1 << 30);
    return out.won && !out.playerHit ? out.frame : 0;
}

// Whether the plan, played late in several seeded ways, still hits at least `hits` targets
// (winning, once every target is hit) without the ship being hit.
bool Solver::forgiving(const std::vector<Shot>& plan, int hits) const {
    if (forgiveFrames == 0)
        return true;
    Replay replay;
    compose(plan, replay, nullptr);
    for (int attempt = 0; attempt < FORGIVE_TRIES; ++attempt) {
        // Half the tries with bounds from a frame up to the whole allowance (being a little
        // late can be as fatal as being very late), half with the whole allowance.
        std::mt19937 random(1000 + unsigned(attempt));
        const int half = FORGIVE_TRIES / 2;
        const int bound =
            attempt < half ? std::max(1, forgiveFrames * (attempt + 1) / half) : forgiveFrames;
        const Replay late = lateReplay(replay, bound, random);
        int lastFire = 0;
        for (const ReplayEvent& event : late.events)
            if (event.press && event.key == SDLK_SPACE)
                lastFire = event.frame;
        const bool toTheEnd = hits == targetCount;
        const Outcome out =
            play(late, late.events.back().frame + MAX_FLIGHT + 100, toTheEnd ? 1 << 30 : lastFire);
        if (out.playerHit || (toTheEnd ? !out.won : kills(out) < hits))
            return false;
    }
    return true;
}

bool Solver::extend(std::vector<Shot>& plan, const Outcome& now, std::ostream& log) {
    if (now.won)
        return true;
    if (kills(now) == targetCount) {
        // Every target is hit: play on to the win.
        Replay replay;
        compose(plan, replay, nullptr);
        Outcome end = play(replay, now.frame + 100, 1 << 30);
        return end.won && !end.playerHit && forgiving(plan, targetCount);
    }
    const int have = kills(now);
    int tried = 0;
    for (const Shot& base : candidatesFrom(now.playerX, now.playerY)) {
        // Standing still after the shot first; stepping aside only if that was fatal.
        for (int dodge : {0, 30, -30, 60, -60}) {
            Shot candidate = base;
            candidate.dodge = dodge;
            plan.push_back(candidate);
            Outcome out = playPlan(plan, MAX_FLIGHT);
            const bool progress =
                out.frame != 0 && !out.playerHit && (kills(out) > have || out.won);
            if (progress && !forgiving(plan, kills(out))) {
                // It works only with exact hands: another dodge may make it safe.
                plan.pop_back();
                continue;
            }
            if (progress) {
                log << "  shot " << plan.size() << ": from (" << candidate.x << ", " << candidate.y
                    << ") after a pause of " << candidate.pause << " and waiting " << candidate.wait
                    << ", dodge " << candidate.dodge << ": " << kills(out) << "/" << targetCount
                    << " targets hit by frame " << out.frame << " (" << plays << " plays so far)\n";
                if (extend(plan, out, log))
                    return true;
                plan.pop_back();
                log << "  back to shot " << plan.size() + 1 << "\n";
                if (++tried == BRANCHES)
                    return false;
                break;
            }
            plan.pop_back();
            if (out.frame != 0 && !out.playerHit)
                break;
        }
    }
    return false;
}

// Places to fire from, nearest first: the firing rows of every ship area (see survey.h)
// and every other column; with shooters, also later moments.
std::vector<Shot> Solver::candidatesFrom(int x, int y) const {
    std::vector<std::pair<int, Shot>> ranked;
    std::set<std::pair<int, int>> seen;
    const Player* player = getCurrentLevel()->getPlayer();
    for (const bound& area : player->getBounds()) {
        const FiringPlaces span = firingPlaces(area, player->getImage(), {startX, startY});
        for (int cy : span.rows) {
            for (int cx = span.firstX; cx <= span.lastX; cx += 2 * STEP) {
                if (!field->allowed(cx, cy) || !seen.insert({cx, cy}).second)
                    continue;
                int distance = std::max(std::abs(cx - x), std::abs(cy - y)) / STEP;
                for (int wait = 0; wait <= (timed ? MAX_WAIT : 0); wait += 10) {
                    ranked.push_back({distance + wait, Shot{cx, cy, wait, 0, 0}});
                    if (wait > 0)
                        ranked.push_back({distance + wait, Shot{cx, cy, 0, 0, wait}});
                }
            }
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Shot> out;
    for (auto& entry : ranked)
        out.push_back(entry.second);
    return out;
}
