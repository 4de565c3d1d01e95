// Enemies: walking their paths, the fire clock, the shots of both kinds, their collision shapes.
#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <vector>

#include "Crate.h"
#include "Enemy.h"
#include "graphics.h"
#include "testutil.h"

namespace {
std::vector<Laser> fired;
void recordShot(Laser laser) {
    fired.push_back(laser);
}

// Enemy pictures of known, unequal sides, so that every w and h in a shape shows.
struct EnemyPictures {
    EnemyPictures() {
        ensureGame();
        fired.clear();
    }
    ScopedPicture north{IMG_FSHOOTER_N, 60, 70}, east{IMG_FSHOOTER_E, 60, 70};
    ScopedPicture south{IMG_FSHOOTER_S, 60, 70}, west{IMG_FSHOOTER_W, 60, 70};
    ScopedPicture upright{IMG_DSHOOTER_V, 50, 70}, lying{IMG_DSHOOTER_H, 70, 50};
};

point at(const Ship& ship) {
    return {ship.getXPosition(), ship.getYPosition()};
}
}  // namespace

TEST(Enemy, WalksDiagonallyThenStraightAndStopsExactlyOnItsWaypoint) {
    EnemyPictures pictures;
    FShooter enemy(100, 100, 0, {{104, 97}}, 2, 100, 40, nullptr);
    enemy.move();
    EXPECT_EQ(at(enemy), (point{102, 98}));
    enemy.move();
    EXPECT_EQ(at(enemy), (point{104, 97}));
    for (int i = 0; i < 5; ++i)
        enemy.move();
    EXPECT_EQ(at(enemy), (point{104, 97}));
    EXPECT_EQ(enemy.getXVelocity(), 0);
    EXPECT_EQ(enemy.getYVelocity(), 0);
}

TEST(Enemy, PathIsALoopLeftInTheFrameAfterEachArrival) {
    EnemyPictures pictures;
    DShooter enemy(100, 100, 0, {{200, 100}, {100, 100}}, 2, 100, 50, nullptr);
    for (int moves = 1; moves <= 300; ++moves) {
        enemy.move();
        int leg = moves % 100;  // 50 moves out to (200, 100), 50 back
        ASSERT_EQ(at(enemy), (point{100 + 2 * std::min(leg, 100 - leg), 100})) << moves;
    }
}

TEST(Enemy, WithNoPathStandsAtItsStartAndIsReleasedThroughAShipPointer) {
    EnemyPictures pictures;
    Ship* enemy = new FShooter(300, 200, 90, {}, 2, 100, 40, nullptr);
    ASSERT_EQ(static_cast<Enemy*>(enemy)->getPath().size(), 1u);
    for (int i = 0; i < 10; ++i)
        enemy->move();
    EXPECT_EQ(at(*enemy), (point{300, 200}));
    delete enemy;  // the path goes with it (checked by the sanitizer build)
}

TEST(Enemy, FirstShotsComeOnTheSixtiethAndFiftiethMoveThenEveryHundred) {
    EnemyPictures pictures;
    FShooter forward(100, 300, 0, {{1000, 300}}, 2, 100, 40, recordShot);
    DShooter dual(100, 500, 0, {{100, 500}}, 2, 100, 50, recordShot);
    std::vector<int> forwardShots, dualShots;
    for (int moves = 1; moves <= 300; ++moves) {
        size_t before = fired.size();
        forward.move();
        if (fired.size() > before)
            forwardShots.push_back(moves);
        if (moves == 60) {
            // Fired before stepping: from the top middle of where it stood after 59 moves.
            ASSERT_EQ(fired.size(), before + 1);
            EXPECT_EQ(fired.back().getHotPoint(), (point{100 + 2 * 59 + 30, 302}));
        }
        before = fired.size();
        dual.move();
        if (fired.size() > before)
            dualShots.push_back(moves);
    }
    EXPECT_EQ(forwardShots, (std::vector<int>{60, 160, 260}));
    EXPECT_EQ(dualShots, (std::vector<int>{50, 150, 250}));
    EXPECT_EQ(fired.size(), 3u + 2 * 3u);
}

TEST(Enemy, HitEnemyNeverFiresOrWalksAgain) {
    EnemyPictures pictures;
    FShooter enemy(100, 100, 0, {{800, 100}}, 2, 100, 40, recordShot);
    for (int i = 0; i < 59; ++i)
        enemy.move();
    enemy.hit();
    point stopped = at(enemy);
    for (int i = 0; i < 200; ++i)
        enemy.move();
    enemy.fireLaser();
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(at(enemy), stopped);
}

TEST(Enemy, ShootersFireFromTheirFrontAndTheDualOneThenFromItsBack) {
    EnemyPictures pictures;
    // Hot points 2 pixels inside the middle of each front side of a 60 by 70 shooter.
    const point hot[4] = {{130, 102}, {158, 135}, {130, 168}, {102, 135}};
    for (int d = 0; d < 4; ++d) {
        fired.clear();
        FShooter(100, 100, d * 90, {}, 2, 100, 40, recordShot).fireLaser();
        ASSERT_EQ(fired.size(), 1u);
        EXPECT_EQ(fired[0].getDirection(), d * 90);
        EXPECT_EQ(fired[0].getHotPoint(), hot[d]) << d * 90;
        EXPECT_EQ(fired[0].getType(), LASER_ENEMY);
        EXPECT_EQ(fired[0].getVelocity(), 3);
        EXPECT_EQ(fired[0].getLife(), 4);
    }
    fired.clear();
    DShooter(100, 100, 90, {}, 2, 100, 50, recordShot).fireLaser();
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_EQ(fired[0].getDirection(), 90);
    EXPECT_EQ(fired[0].getHotPoint(), (point{168, 125}));
    EXPECT_EQ(fired[1].getDirection(), 270);
    EXPECT_EQ(fired[1].getHotPoint(), (point{102, 125}));
}

TEST(Enemy, ForwardShooterIsHitOnlyInsideTheTrianglePointingItsWay) {
    EnemyPictures pictures;
    auto at100 = [](int direction) {
        FShooter enemy(90, 80, direction, {{100, 100}}, 20, 100, 40, nullptr);
        enemy.move();  // the shape follows the enemy to (100, 100)
        return enemy;
    };
    FShooter up = at100(0), right = at100(90), down = at100(180), left = at100(270);
    expectHits(up, {{124, 105}, {124, 130}, {109, 144}, {141, 144}},
               {{124, 104}, {125, 145}, {100, 100}});
    expectHits(right, {{155, 124}, {116, 109}, {116, 141}}, {{156, 124}, {115, 125}, {124, 105}});
    expectHits(down, {{136, 165}, {151, 126}, {119, 126}}, {{136, 166}, {135, 125}, {124, 105}});
    expectHits(left, {{105, 146}, {144, 161}, {144, 129}}, {{104, 146}, {145, 145}, {124, 105}});
}

TEST(Enemy, DualShooterIsHitInItsInnerRectangleBordersIncludedAndItsSideTriangles) {
    EnemyPictures pictures;
    for (int direction : {0, 180}) {
        DShooter enemy(100, 100, direction, {}, 2, 100, 50, nullptr);
        expectHits(enemy, {{115, 115}, {135, 155}, {102, 124}, {120, 102}, {148, 124}},
                   {{101, 124}, {120, 101}, {149, 124}, {101, 160}});
    }
    for (int direction : {90, 270}) {
        DShooter enemy(100, 100, direction, {}, 2, 100, 50, nullptr);
        expectHits(enemy, {{115, 115}, {155, 135}, {146, 102}, {168, 120}, {146, 148}},
                   {{146, 101}, {169, 120}, {146, 149}, {160, 101}});
    }
    ScopedPicture crateOfTheSameSize(IMG_CRATE, 50, 70);
    Crate crate(100, 100);  // the crate's inset leaves out the border that the shooter keeps
    expectHits(crate, {}, {{115, 115}, {135, 155}});
}

// The level asks a ship's shape only inside its reach: a point of the shape outside it would be
// a hit the game never sees.
TEST(Enemy, EveryPointOfEveryShapeLiesWithinTheShipsReach) {
    EnemyPictures pictures;
    ScopedPicture crate(IMG_CRATE, 50, 70);
    std::vector<std::unique_ptr<Ship>> ships;
    for (int direction : {0, 90, 180, 270, 45}) {
        ships.push_back(std::make_unique<FShooter>(200, 300, direction, std::list<point>{}, 2, 100,
                                                   0, nullptr));
        ships.push_back(std::make_unique<DShooter>(200, 300, direction, std::list<point>{}, 2, 100,
                                                   0, nullptr));
    }
    ships.push_back(std::make_unique<Crate>(200, 300));
    for (const auto& ship : ships) {
        int inShape = 0, inReach = 0;
        for (int y = 250; y <= 420; ++y)
            for (int x = 150; x <= 320; ++x) {
                const bool hit = ship->doesCollide(x, y);
                inShape += hit;
                inReach += ship->mayCollide(x, y);
                ASSERT_TRUE(!hit || ship->mayCollide(x, y))
                    << "facing " << ship->getDirection() << " at " << x << "," << y;
            }
        // The reach is there to spare work: no bigger than the picture.
        EXPECT_LE(inReach, 71 * 71) << "facing " << ship->getDirection();
        if (ship->getImage() == nullptr)
            EXPECT_EQ(inShape, 0);
        else
            EXPECT_GT(inShape, 100) << "facing " << ship->getDirection();
    }
}

TEST(Enemy, ShooterFacingNoCompassDirectionHasNoPictureShapeOrShot) {
    EnemyPictures pictures;
    FShooter forward(100, 100, -1, {}, 2, 100, 99, recordShot);
    DShooter dual(100, 100, 45, {}, 2, 100, 99, recordShot);
    EXPECT_EQ(forward.getImage(), nullptr);
    EXPECT_EQ(dual.getImage(), nullptr);
    for (int y = 0; y <= 200; y += 4)
        for (int x = 0; x <= 200; x += 4)
            ASSERT_FALSE(forward.doesCollide(x, y) || dual.doesCollide(x, y)) << x << "," << y;
    clearScreen(0);
    forward.move();
    forward.draw();
    EXPECT_EQ(countNot(0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 0);
    dual.move();
    dual.hit();
    dual.draw();  // only the explosion shows
    EXPECT_TRUE(fired.empty());
}
