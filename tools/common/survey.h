// The level survey: for every crate and enemy, the fewest wall bounces of a single shot that
// reaches it, fired at the first frame from any place the ship can stand.
#pragma once

#include <vector>

// How long a shot may fly, bouncing, before it counts as lost.
constexpr int SHOT_FLIGHT_FRAMES = 700;

struct TargetSurvey {
    bool shooter;      // a forward or dual shooter; otherwise a crate
    int x, y;          // where it stands at the start
    int fewest;        // fewest bounces of a shot that hits it, or -1 when no single shot does
    int fromX, fromY;  // the ship's place for that shot
    int ways;          // how many of the places reach it at all
};

struct Survey {
    std::vector<TargetSurvey> targets;  // in the level's order
    int places = 0;                     // the places tried
};

// Surveys level `number` of the working directory. Needs the game started headless.
Survey surveyLevel(int number);
