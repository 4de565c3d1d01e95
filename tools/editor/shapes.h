// Where a level object lies on the field for the editor: its picture and box, whether the
// mouse is on it, its handles, moving it, and snapping points to the grid and walls to the
// four directions a wall may have.
#pragma once

#include <SDL.h>

#include <vector>

#include "document.h"

struct Box {
    int x, y, w, h;
};

// The picture the game draws the object with; null for walls and ship areas.
SDL_Surface* pictureOf(const LevelObject& object);
// The centre of a waypoint of the object's walk, where the enemy's picture would be centred.
point waypointCentre(const LevelObject& object, point waypoint);
// The rectangle that holds the whole object (a wall's line with its thickness).
Box boxOf(const LevelObject& object);
// Whether (x, y) lies on the object: on its picture, near a wall's line, inside an area.
bool hits(const LevelObject& object, int x, int y);

// The points that can be dragged on its own: a wall's two ends, an area's four corners, a
// shooter's waypoints (at their centres); none for the rest.
std::vector<point> handlesOf(const LevelObject& object);
// The object with handle `handle` dragged to `to` (a wall end keeps the wall straight or at
// 45 degrees; an area corner keeps the opposite corner where it was).
LevelObject withHandleAt(const LevelObject& object, size_t handle, point to, int gridStep);

// Which of the handles lies within reach of (x, y), if any.
bool handleNear(const std::vector<point>& handles, int x, int y, size_t& which);

// The object shifted whole, its walk included.
LevelObject movedBy(const LevelObject& object, int dx, int dy);

// The nearest multiple of the step (a step of 1 or less changes nothing).
int snap(int value, int step);
point snapPoint(point p, int step);
// The end of a wall from `start` towards `towards`: vertical, horizontal or exactly 45
// degrees, whichever is nearest, with its length a multiple of the step.
point wallEnd(point start, point towards, int step);
// The area spanned by two corners, its top-left corner first.
LevelObject areaBetween(point a, point b);
