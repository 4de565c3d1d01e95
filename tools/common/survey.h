// The level survey: for every crate and enemy, the fewest wall bounces of a single shot that
// reaches it, fired at the first frame from any place the ship can stand.
#pragma once

#include <string>
#include <vector>

#include "Player.h"

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

// Where in a ship area shots are tried from, by the survey and the solver: three rows (the
// ship's lowest place in the area, its highest, and the one half-way) and a span of columns, all
// on the ship's steps from its start.
struct FiringPlaces {
    int rows[3];
    int firstX, lastX;
};
FiringPlaces firingPlaces(const bound& area, const SDL_Surface* picture, point start);

// Surveys level `number` of the working directory, or any level file. Needs the game started
// headless.
Survey surveyLevel(int number);
Survey surveyLevel(const std::string& file);
