// The level solver's search: plans of shots, turned into key presses and played through the
// game's own level and play screen, grown shot by shot until one wins without losing a life.
#pragma once

#include <iosfwd>
#include <memory>
#include <vector>

#include "levelchoice.h"
#include "replayfile.h"

// One shot of a plan: stand still for `pause` frames, walk to (x, y), wait, fire, then step
// aside by `dodge` pixels in x. A pause lets enemy fire go by before the walk crosses its line.
struct Shot {
    int x, y;
    int wait;
    int dodge;
    int pause;
};

// What one play of a replay did.
struct Outcome {
    bool won = false;
    bool playerHit = false;
    int frame = 0;                 // the last frame played
    std::vector<int> killedAt;     // per target: the frame it was hit, or 0
    int shotsDoneAt = 0;           // first frame after the last shot with no player laser flying
    int playerX = 0, playerY = 0;  // where the ship stood at the end
};

class Field;

class Solver {
public:
    // Reads the level; needs the game started headless.
    Solver(const LevelChoice& level, int ship);
    ~Solver();
    Solver(const Solver&) = delete;
    Solver& operator=(const Solver&) = delete;

    // False for a level with nothing to shoot, or no file.
    bool opened() const { return targetCount > 0; }

    // Builds the replay of a plan, and the frames it fires on; false when a walk is impossible.
    bool compose(const std::vector<Shot>& plan, Replay& replay, std::vector<int>* fireFrames) const;
    // Extends the plan until it wins, logging every shot it takes; false when none is found.
    bool solve(std::vector<Shot>& plan, std::ostream& log);
    // The frame the plan wins on, or 0.
    int frameWon(const std::vector<Shot>& plan) const;

    mutable long plays = 0;
    // A shot is taken only if the plan so far still works with every action that starts from
    // rest put off by up to this many frames (0: exact hands will do).
    int forgiveFrames = 15;

private:
    Outcome play(const Replay& replay, int until, int lastFire) const;
    Outcome playPlan(const std::vector<Shot>& plan, int extra) const;
    static int kills(const Outcome& out);
    bool forgiving(const std::vector<Shot>& plan, int hits) const;
    bool extend(std::vector<Shot>& plan, const Outcome& now, std::ostream& log);
    std::vector<Shot> candidatesFrom(int x, int y) const;

    LevelChoice chosen;
    int ship;
    std::unique_ptr<Field> field;
    int startX = 0, startY = 0;
    int targetCount = 0;
    bool timed = false;
};
