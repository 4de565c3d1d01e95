// The level survey: single shots fired at the first frame from the rows at the top, middle and
// bottom of every ship area, every column, each followed until it hits, fades or flies too long.
#include "survey.h"

#include <set>
#include <utility>

#include "Enemy.h"
#include "Level.h"
#include "graphics.h"
#include "skarlume.h"

namespace {

// The places a shot is tried from: every column of the three rows of every area.
std::set<std::pair<int, int>> placesToFireFrom(const Player& player) {
    const point start = {player.getXPosition(), player.getYPosition()};
    std::set<std::pair<int, int>> places;
    for (const bound& area : player.getBounds()) {
        const FiringPlaces span = firingPlaces(area, player.getImage(), start);
        for (int y : span.rows)
            for (int x = span.firstX; x <= span.lastX; x += PLAYER_SPEED)
                places.insert({x, y});
    }
    return places;
}

// Fires one shot from the place and follows it; the target it hits and the bounces it took, or
// -1 for a shot that hits nothing.
std::pair<int, int> followShot(const std::string& file, std::pair<int, int> place) {
    changeLevel(file, bg, 1);
    Level* current = getCurrentLevel();
    Player* player = current->getPlayer();
    player->setPos(place.first, place.second);
    const std::vector<Ship*> targets(current->getEnemies().begin(), current->getEnemies().end());
    player->fireLaser();
    // The ship steps out of the way, so that a shot which comes back still counts.
    player->setPos(-SCREEN_WIDTH, -SCREEN_HEIGHT);
    int bounces = 0, lastDirection = 0;
    for (int frame = 0; frame < SHOT_FLIGHT_FRAMES; ++frame) {
        current->step();
        for (size_t i = 0; i < targets.size(); ++i)
            if (targets[i]->getStatus() != SHIP_ALIVE)
                return {int(i), bounces};
        const Laser* flying = nullptr;
        for (const Laser& laser : current->getLasers())
            if (laser.getType() == LASER_PLAYER && laser.inFlight())
                flying = &laser;
        if (flying == nullptr)
            break;
        if (flying->getDirection() != lastDirection) {
            ++bounces;
            lastDirection = flying->getDirection();
        }
    }
    return {-1, 0};
}

}  // namespace

FiringPlaces firingPlaces(const bound& area, const SDL_Surface* picture, point start) {
    const bound room = roomInside(area, picture);
    const int lowest = stepDownTo(room.bottom, start.y), highest = stepUpTo(room.top, start.y);
    return {{lowest, highest, stepDownTo((lowest + highest) / 2, start.y)},
            stepUpTo(room.left, start.x),
            room.right};
}

Survey surveyLevel(int number) {
    return surveyLevel(levelFileName(number));
}

Survey surveyLevel(const std::string& file) {
    changeLevel(file, bg, 1);
    Survey survey;
    for (Ship* target : getCurrentLevel()->getEnemies())
        survey.targets.push_back({dynamic_cast<const Enemy*>(target) != nullptr,
                                  target->getXPosition(), target->getYPosition(), -1, 0, 0, 0});
    const std::set<std::pair<int, int>> places = placesToFireFrom(*getCurrentLevel()->getPlayer());
    survey.places = int(places.size());
    for (const auto& place : places) {
        const auto [hit, bounces] = followShot(file, place);
        if (hit < 0)
            continue;
        TargetSurvey& target = survey.targets[hit];
        ++target.ways;
        if (target.fewest < 0 || bounces < target.fewest) {
            target.fewest = bounces;
            target.fromX = place.first;
            target.fromY = place.second;
        }
    }
    return survey;
}
