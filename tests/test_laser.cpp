// Lasers: where they sit, their hot point, growing out of and shrinking into a line, the edge.
#include <gtest/gtest.h>

#include "Laser.h"
#include "graphics.h"
#include "testutil.h"

namespace {
constexpr int THIN = 7;   // across the beam
constexpr int LONG = 21;  // along the beam

// The four player laser pictures swapped for plain beams of a known size.
struct BeamPictures {
    BeamPictures() { ensureGame(); }
    ScopedPicture up{IMG_LASER_N, THIN, LONG}, right{IMG_LASER_E, LONG, THIN};
    ScopedPicture down{IMG_LASER_S, THIN, LONG}, left{IMG_LASER_W, LONG, THIN};
};

struct Rect {
    int x, y, w, h;
};

// The screen rectangle of the beam's stretch from `from` to `to` pixels ahead of `origin`
// in the direction of travel, centred on it across.
Rect ahead(int direction, point origin, int from, int to) {
    int length = std::max(0, to - from), half = THIN / 2;
    switch (direction) {
        case 0:
            return {origin.x - half, origin.y - to, THIN, length};
        case 90:
            return {origin.x + from, origin.y - half, length, THIN};
        case 180:
            return {origin.x - half, origin.y + from, THIN, length};
        default:
            return {origin.x - to, origin.y - half, length, THIN};
    }
}

// Flies the laser at velocity 3, telling it to vanish after `vanishAfter` moves, and checks at
// every frame that exactly the part of the beam between its birth line (`birthAhead` pixels
// ahead of `origin`) and its vanish line is on the screen.
void flyAndWatch(Laser laser, point origin, int birthAhead, int vanishAfter) {
    int direction = laser.getDirection();
    int vanishLine = birthAhead + 3 * vanishAfter;
    for (int moves = 0; moves <= vanishAfter + 10; ++moves) {
        if (moves > 0)
            laser.move();
        if (moves == vanishAfter)
            laser.vanish();
        clearScreen(0);
        laser.draw();
        int head = birthAhead + 3 * moves;
        Rect shown =
            ahead(direction, origin, std::max(birthAhead, head - LONG), std::min(head, vanishLine));
        SCOPED_TRACE(testing::Message() << "direction " << direction << ", move " << moves);
        ASSERT_EQ(countNot(0, shown.x, shown.y, shown.w, shown.h), shown.w * shown.h);
        ASSERT_EQ(countNot(0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), shown.w * shown.h);
        if (moves < vanishAfter) {
            EXPECT_EQ(laser.getState(), 3 * moves > LONG ? LS_NORMAL : LS_APPEARING);
        } else if (!laser.vanished()) {
            EXPECT_TRUE(laser.isVanishing());
        }
    }
    EXPECT_TRUE(laser.vanished());
    EXPECT_EQ(laser.getHotPoint(), (point{-1, -1}));
}
}  // namespace

// Where the picture sits is checked pixel by pixel while the beams fly, below.
TEST(Laser, HotPointIsTwoPixelsInsideTheLeadingEdgeAndOnePastAPointOfImpact) {
    BeamPictures pictures;
    const int directions[] = {0, 90, 180, 270};
    const point fired[] = {{500, 402}, {498, 400}, {500, 398}, {502, 400}};
    const point reflected[] = {{500, 399}, {501, 400}, {500, 401}, {499, 400}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Laser(500, 400, directions[i], 3, 4, LASER_PLAYER).getHotPoint(), fired[i]);
        EXPECT_EQ(Laser(point{500, 400}, directions[i], 3, 4, LASER_PLAYER).getHotPoint(),
                  reflected[i]);
    }
}

TEST(Laser, EnemyLasersHaveTheirOwnPicturesAndOddDirectionsNone) {
    ensureGame();
    EXPECT_EQ(Laser::findImage(0, LASER_ENEMY), GetImage(IMG_ENEMY_LASER_V));
    EXPECT_EQ(Laser::findImage(180, LASER_ENEMY), GetImage(IMG_ENEMY_LASER_V));
    EXPECT_EQ(Laser::findImage(270, LASER_ENEMY), GetImage(IMG_ENEMY_LASER_H));
    EXPECT_EQ(Laser::findImage(270, LASER_PLAYER), GetImage(IMG_LASER_W));
    EXPECT_EQ(Laser::findImage(45, LASER_PLAYER), nullptr);
}

TEST(Laser, BeamGrowsOutOfItsBirthLineAndShrinksIntoItsVanishLine) {
    BeamPictures pictures;
    for (int direction : {0, 90, 180, 270}) {
        flyAndWatch(Laser(500, 400, direction, 3, 4, LASER_PLAYER), {500, 400}, 0, 12);
        flyAndWatch(Laser(point{500, 400}, direction, 3, 4, LASER_PLAYER), {500, 400}, 3, 12);
    }
}

TEST(Laser, BeamToldToVanishWhileAppearingShowsOnlyTheStretchBetweenTheLines) {
    BeamPictures pictures;
    for (int direction : {0, 90, 180, 270}) {
        flyAndWatch(Laser(500, 400, direction, 3, 4, LASER_PLAYER), {500, 400}, 0, 2);
        flyAndWatch(Laser(point{500, 400}, direction, 3, 4, LASER_PLAYER), {500, 400}, 3, 0);
    }
}

TEST(Laser, LeavingTheScreenStartsTheVanishOnlyOnceWhollyOutside) {
    BeamPictures pictures;
    // Each laser flies at 1 pixel a frame and is placed so that its first move leaves it
    // just touching the outside of the screen's edge.
    struct Case {
        int direction, x, y, lastInside;
    };
    const Case cases[] = {{0, 500, -20, -LONG},
                          {90, SCREEN_WIDTH - 2 + LONG, 400, SCREEN_WIDTH - 1},
                          {180, 500, SCREEN_HEIGHT - 2 + LONG, SCREEN_HEIGHT - 1},
                          {270, -20, 400, -LONG}};
    for (const Case& c : cases) {
        Laser laser(c.x, c.y, c.direction, 1, 4, LASER_PLAYER);
        laser.move();
        int along = c.direction % 180 == 0 ? laser.getYPosition() : laser.getXPosition();
        EXPECT_EQ(along, c.lastInside) << c.direction;
        EXPECT_FALSE(laser.isVanishing()) << c.direction;
        laser.move();
        EXPECT_TRUE(laser.isVanishing()) << c.direction;
    }
}

TEST(Laser, VanishKeepsItsFirstPointAndACopyKeepsVanishing) {
    BeamPictures pictures;
    Laser laser(500, 400, 90, 3, 4, LASER_PLAYER);
    for (int i = 0; i < 10; ++i) {
        laser.move();
        laser.draw();
    }
    laser.vanish();
    point first = laser.getVanishPoint();
    EXPECT_EQ(first, (point{500 + 30, 397}));
    laser.move();
    laser.vanish();
    EXPECT_EQ(laser.getVanishPoint(), first);
    EXPECT_EQ(laser.getHotPoint(), (point{-1, -1}));

    Laser copy = laser;
    EXPECT_TRUE(copy.isVanishing());
    EXPECT_EQ(copy.getVanishPoint(), first);
    EXPECT_EQ(copy.getBirthPoint(), laser.getBirthPoint());
    clearScreen(0);
    copy.draw();
    EXPECT_EQ(countNot(0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), (LONG - 3) * THIN);
    EXPECT_EQ(countNot(0, first.x, 0, SCREEN_WIDTH - first.x, SCREEN_HEIGHT), 0);
}
