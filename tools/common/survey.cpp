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

// The places a shot is tried from: three rows of every area, on the start's parity.
std::set<std::pair<int, int>> placesToFireFrom(const Player& player) {
    const int w = player.getImage()->w, h = player.getImage()->h;
    const int startX = player.getXPosition(), startY = player.getYPosition();
    std::set<std::pair<int, int>> places;
    for (const bound& area : player.getBounds()) {
        int lowY = area.bottom - h - 1, highY = area.top + 1;
        lowY -= (lowY - startY) & 1;
        highY += (highY - startY) & 1;
        int midY = (lowY + highY) / 2;
        midY -= (midY - startY) & 1;
        for (int y : {lowY, highY, midY})
            for (int x = area.left + 1 + ((area.left + 1 - startX) & 1); x + w < area.right; x += 2)
                places.insert({x, y});
    }
    return places;
}

// Fires one shot from the place and follows it; the target it hits and the bounces it took, or
// -1 for a shot that hits nothing.
std::pair<int, int> followShot(int number, std::pair<int, int> place) {
    changeLevel(number, bg, 1);
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
            if (laser.getType() == LASER_PLAYER && !laser.isVanishing() && !laser.vanished())
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

Survey surveyLevel(int number) {
    changeLevel(number, bg, 1);
    Survey survey;
    for (Ship* target : getCurrentLevel()->getEnemies())
        survey.targets.push_back({dynamic_cast<const Enemy*>(target) != nullptr,
                                  target->getXPosition(), target->getYPosition(), -1, 0, 0, 0});
    const std::set<std::pair<int, int>> places = placesToFireFrom(*getCurrentLevel()->getPlayer());
    survey.places = int(places.size());
    for (const auto& place : places) {
        const auto [hit, bounces] = followShot(number, place);
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
