// Where a level object lies on the field for the editor: boxes, hit tests, handles, moving and
// snapping.
#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Enemy.h"
#include "Wall.h"
#include "graphics.h"

namespace {

// How near the mouse must come to a wall's line or to a handle to take it.
constexpr int REACH = 6;

int sign(int v) {
    return (v > 0) - (v < 0);
}

bool near(point p, int x, int y) {
    return std::abs(p.x - x) <= REACH && std::abs(p.y - y) <= REACH;
}

// Distance from (x, y) to the segment a..b, in pixels.
double distanceToSegment(point a, point b, int x, int y) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = dx * dx + dy * dy;
    double t = length == 0 ? 0 : ((x - a.x) * dx + (y - a.y) * dy) / length;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(a.x + t * dx - x, a.y + t * dy - y);
}

}  // namespace

SDL_Surface* pictureOf(const LevelObject& object) {
    switch (object.kind) {
        case RecordKind::Ship:
            return GetImage(IMG_SHIP1);
        case RecordKind::Crate:
            return GetImage(IMG_CRATE);
        case RecordKind::EnemyForward:
            return findForwardImage(object.direction);
        case RecordKind::EnemyDual:
            return findDualImage(object.direction);
        default:
            return nullptr;
    }
}

point waypointCentre(const LevelObject& object, point waypoint) {
    const SDL_Surface* picture = pictureOf(object);
    const int w = picture != nullptr ? picture->w : 0, h = picture != nullptr ? picture->h : 0;
    return {waypoint.x + w / 2, waypoint.y + h / 2};
}

Box boxOf(const LevelObject& object) {
    if (const SDL_Surface* picture = pictureOf(object))
        return {object.at.x, object.at.y, picture->w, picture->h};
    const int left = std::min(object.at.x, object.to.x), right = std::max(object.at.x, object.to.x);
    const int top = std::min(object.at.y, object.to.y), bottom = std::max(object.at.y, object.to.y);
    if (object.kind != RecordKind::Wall)
        return {left, top, right - left, bottom - top};
    const Wall::Box drawn = Wall(object.at.x, object.at.y, object.to.x, object.to.y).getDrawnBox();
    return {drawn.left, drawn.top, drawn.right - drawn.left, drawn.bottom - drawn.top};
}

bool hits(const LevelObject& object, int x, int y) {
    if (object.kind == RecordKind::Wall) {
        const Box box = boxOf(object);
        if (object.at.x == object.to.x || object.at.y == object.to.y)
            return x >= box.x - REACH && x <= box.x + box.w + REACH && y >= box.y - REACH &&
                   y <= box.y + box.h + REACH;
        return distanceToSegment(object.at, object.to, x, y) <= REACH;
    }
    const Box box = boxOf(object);
    return x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h;
}

std::vector<point> handlesOf(const LevelObject& object) {
    switch (object.kind) {
        case RecordKind::Wall:
            return {object.at, object.to};
        case RecordKind::ShipArea:
            return {object.at, {object.to.x, object.at.y}, object.to, {object.at.x, object.to.y}};
        case RecordKind::EnemyForward:
        case RecordKind::EnemyDual: {
            std::vector<point> handles;
            for (point waypoint : object.walk)
                handles.push_back(waypointCentre(object, waypoint));
            return handles;
        }
        default:
            return {};
    }
}

LevelObject withHandleAt(const LevelObject& object, size_t handle, point to, int gridStep) {
    LevelObject changed = object;
    if (object.kind == RecordKind::Wall) {
        const point fixed = handle == 0 ? object.to : object.at;
        const point end = wallEnd(fixed, to, gridStep);
        changed.at = fixed;
        changed.to = end;
        // The upper end first, as the wall itself orders them.
        if (end.y < fixed.y || (end.y == fixed.y && end.x < fixed.x))
            std::swap(changed.at, changed.to);
    } else if (object.kind == RecordKind::ShipArea) {
        const std::vector<point> corners = handlesOf(object);
        const point opposite = corners[(handle + 2) % 4];
        changed = areaBetween(opposite, snapPoint(to, gridStep));
    } else if (isShooter(object.kind) && handle < object.walk.size()) {
        const point centre = waypointCentre(object, {0, 0});
        changed.walk[handle] = snapPoint({to.x - centre.x, to.y - centre.y}, gridStep);
    }
    return changed;
}

bool handleNear(const std::vector<point>& handles, int x, int y, size_t& which) {
    for (size_t i = 0; i < handles.size(); ++i)
        if (near(handles[i], x, y)) {
            which = i;
            return true;
        }
    return false;
}

LevelObject movedBy(const LevelObject& object, int dx, int dy) {
    LevelObject moved = object;
    moved.at = {object.at.x + dx, object.at.y + dy};
    moved.to = {object.to.x + dx, object.to.y + dy};
    for (point& waypoint : moved.walk)
        waypoint = {waypoint.x + dx, waypoint.y + dy};
    return moved;
}

int snap(int value, int step) {
    if (step <= 1)
        return value;
    const double steps = std::floor(double(value) / step + 0.5);
    return int(steps) * step;
}

point snapPoint(point p, int step) {
    return {snap(p.x, step), snap(p.y, step)};
}

point wallEnd(point start, point towards, int step) {
    const int dx = towards.x - start.x, dy = towards.y - start.y;
    const int ax = std::abs(dx), ay = std::abs(dy);
    // The boundaries lie half-way between the directions, at 22.5 degrees from each axis.
    const double tangent = std::tan(M_PI / 8);
    if (ay <= ax * tangent)
        return {start.x + snap(dx, step), start.y};
    if (ax <= ay * tangent)
        return {start.x, start.y + snap(dy, step)};
    const int length = snap((ax + ay) / 2, step);
    return {start.x + sign(dx) * length, start.y + sign(dy) * length};
}

LevelObject areaBetween(point a, point b) {
    LevelObject area;
    area.kind = RecordKind::ShipArea;
    area.at = {std::min(a.x, b.x), std::min(a.y, b.y)};
    area.to = {std::max(a.x, b.x), std::max(a.y, b.y)};
    return area;
}
