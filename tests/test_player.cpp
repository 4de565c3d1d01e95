// The player's ship: ship areas, all-or-nothing moves, the hit box, firing, the outlines.
#include <gtest/gtest.h>

#include <vector>

#include "Player.h"
#include "graphics.h"
#include "testutil.h"

namespace {
std::vector<Laser> fired;
void recordShot(Laser laser) {
    fired.push_back(laser);
}

// The first ship as a 50 by 50 picture.
struct PlayerScene {
    PlayerScene() {
        ensureGame();
        fired.clear();
    }
    ScopedPicture picture{IMG_SHIP1, 50, 50};
    Player player{0, 0, 5, 1, recordShot};

    point stepFrom(int x, int y, int vx, int vy) {
        player.setPos(x, y);
        player.setXVelocity(vx);
        player.setYVelocity(vy);
        player.move();
        return {player.getXPosition(), player.getYPosition()};
    }
};
}  // namespace

TEST(Player, AreasAreStoredWithTheirCornersInOrder) {
    PlayerScene scene;
    scene.player.addBounds(300, 500, 100, 200);
    scene.player.addBounds(10, 20, 30, 40);
    const bound& first = scene.player.getBounds().front();
    EXPECT_EQ(first.top, 200);
    EXPECT_EQ(first.right, 300);
    EXPECT_EQ(first.bottom, 500);
    EXPECT_EQ(first.left, 100);
    EXPECT_EQ(scene.player.getBounds().back().left, 10);
    scene.player.clearBounds();
    EXPECT_TRUE(scene.player.getBounds().empty());
}

TEST(Player, ShipMustFitStrictlyInsideOneArea) {
    PlayerScene scene;
    bound area{200, 300, 500, 100};
    for (point p : {point{101, 201}, point{249, 449}})
        EXPECT_TRUE(scene.player.inbounds(area, p.x, p.y)) << p.x << "," << p.y;
    for (point p : {point{100, 300}, point{250, 300}, point{150, 200}, point{150, 450}})
        EXPECT_FALSE(scene.player.inbounds(area, p.x, p.y)) << p.x << "," << p.y;
}

// The room in an area is exactly where moves are taken: its corners fit, a pixel beyond does not.
TEST(Player, TheRoomInAnAreaIsWhereTheShipFitsAndNoFurther) {
    PlayerScene scene;
    const bound area{200, 300, 500, 100};
    const bound room = roomInside(area, scene.picture.surface());
    EXPECT_EQ(room.left, 101);
    EXPECT_EQ(room.top, 201);
    EXPECT_EQ(room.right, 249);
    EXPECT_EQ(room.bottom, 449);
    for (point p : {point{room.left, room.top}, point{room.right, room.bottom}})
        EXPECT_TRUE(scene.player.inbounds(area, p.x, p.y)) << p.x << "," << p.y;
    for (point p : {point{room.left - 1, room.top}, point{room.right + 1, room.bottom},
                    point{room.left, room.top - 1}, point{room.right, room.bottom + 1}})
        EXPECT_FALSE(scene.player.inbounds(area, p.x, p.y)) << p.x << "," << p.y;
    // One pixel wider than the ship and its two edges holds a single column, one less none.
    EXPECT_TRUE(fitsAnywhere({200, 152, 500, 100}, scene.picture.surface()));
    EXPECT_FALSE(fitsAnywhere({200, 151, 500, 100}, scene.picture.surface()));
}

// Steps of two pixels from an odd start reach odd places only, on either side of zero.
TEST(Player, OnlyPlacesWholeStepsFromTheStartAreReached) {
    EXPECT_EQ(stepDownTo(10, 3), 9);
    EXPECT_EQ(stepUpTo(10, 3), 11);
    EXPECT_EQ(stepDownTo(11, 3), 11);
    EXPECT_EQ(stepUpTo(11, 3), 11);
    EXPECT_EQ(stepDownTo(-4, 3), -5);
    EXPECT_EQ(stepUpTo(-4, 3), -3);
    EXPECT_EQ(stepDownTo(-4, -8), -4);
    EXPECT_EQ(stepUpTo(0, -7), 1);
}

TEST(Player, MovesAreRefusedWholeAtAnEdgeOrACorner) {
    PlayerScene scene;
    EXPECT_EQ(scene.stepFrom(150, 300, 2, 0), (point{150, 300}));  // no areas at all
    scene.player.addBounds(100, 200, 300, 500);
    EXPECT_EQ(scene.stepFrom(150, 300, -2, 2), (point{148, 302}));
    EXPECT_EQ(scene.stepFrom(248, 300, 2, 2), (point{248, 300}));  // into the right edge
    EXPECT_EQ(scene.stepFrom(247, 300, 2, 2), (point{249, 302}));
    EXPECT_EQ(scene.stepFrom(102, 202, -2, -2), (point{102, 202}));  // into the corner
    EXPECT_EQ(scene.stepFrom(102, 202, -2, 0), (point{102, 202}));
    EXPECT_EQ(scene.stepFrom(102, 202, 0, 2), (point{102, 204}));
    EXPECT_EQ(scene.player.getXVelocity(), 0);
    EXPECT_EQ(scene.player.getYVelocity(), 2);
}

TEST(Player, OverlappingAreasAcceptAMoveInEitherOrder) {
    for (bool wideFirst : {true, false}) {
        PlayerScene scene;
        if (wideFirst)
            scene.player.addBounds(100, 200, 400, 300);
        scene.player.addBounds(100, 200, 200, 500);
        if (!wideFirst)
            scene.player.addBounds(100, 200, 400, 300);
        // Out of the tall area to the right, and out of the wide one downwards.
        EXPECT_EQ(scene.stepFrom(148, 220, 2, 0), (point{150, 220})) << wideFirst;
        EXPECT_EQ(scene.stepFrom(120, 248, 0, 2), (point{120, 250})) << wideFirst;
        EXPECT_EQ(scene.stepFrom(148, 248, 2, 2), (point{148, 248})) << wideFirst;
    }
}

TEST(Player, HitBoxIsAFixedSquareWhateverThePicture) {
    PlayerScene scene;
    ScopedPicture big(IMG_SHIP2, 90, 90);
    Player player(200, 300, 5, 2, nullptr);
    EXPECT_EQ(player.getImage(), big.surface());
    for (point p : {point{215, 320}, point{235, 340}})
        EXPECT_TRUE(player.doesCollide(p.x, p.y)) << p.x << "," << p.y;
    for (point p : {point{214, 330}, point{236, 330}, point{225, 319}, point{225, 341}})
        EXPECT_FALSE(player.doesCollide(p.x, p.y)) << p.x << "," << p.y;
    player.hit();
    EXPECT_TRUE(player.doesCollide(225, 330));
}

TEST(Player, FiresOneLaserUpFromTheMiddleOfItsTopAndNoneWhileExploding) {
    PlayerScene scene;
    scene.player.setPos(200, 300);
    scene.player.addBounds(0, 0, 1000, 700);
    scene.player.fireLaser();
    ASSERT_EQ(fired.size(), 1u);
    const Laser& shot = fired.front();
    EXPECT_EQ(shot.getDirection(), 0);
    EXPECT_EQ(shot.getType(), LASER_PLAYER);
    EXPECT_EQ(shot.getVelocity(), 3);
    EXPECT_EQ(shot.getLife(), 4);
    EXPECT_EQ(shot.getHotPoint(), (point{225, 302}));
    EXPECT_FALSE(scene.player.doesCollide(225, 302));  // leaves its own ship unharmed

    scene.player.hit();
    scene.player.fireLaser();
    scene.player.setXVelocity(2);
    scene.player.move();
    EXPECT_EQ(fired.size(), 1u);
    EXPECT_EQ(scene.player.getXPosition(), 200);
    Player silent(200, 300, 5, 1, nullptr);
    silent.fireLaser();  // built and dropped
    EXPECT_EQ(fired.size(), 1u);
}

TEST(Player, OutlinesAreTiledToEndExactlyOnTheAreaEdges) {
    PlayerScene scene;
    ScopedPicture side(IMG_BOUNDS_V, 4, 30, 0, 0, 250), row(IMG_BOUNDS_H, 30, 4, 0, 250, 0);
    const Uint16 blue = rgb(0, 0, 250), green = rgb(0, 250, 0);
    clearScreen(0);
    drawBounds({100, 170, 175, 100});
    EXPECT_EQ(pixelAt(100, 150), blue);
    EXPECT_EQ(pixelAt(169, 174 - 4), blue);
    EXPECT_EQ(pixelAt(169, 100), green);  // rows go over the sides at the corners
    EXPECT_EQ(pixelAt(169, 174), green);
    EXPECT_EQ(countNot(0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 2 * 4 * 75 + 2 * 4 * 70 - 4 * 16);
    EXPECT_EQ(countNot(0, 170, 0, SCREEN_WIDTH - 170, SCREEN_HEIGHT), 0);
    EXPECT_EQ(countNot(0, 0, 175, SCREEN_WIDTH, SCREEN_HEIGHT - 175), 0);
    // An area of zero height still gets both rows, and no sides.
    clearScreen(0);
    drawBounds({300, 120, 300, 100});
    EXPECT_EQ(countNot(green, 100, 296, 20, 8), 0);
    EXPECT_EQ(countNot(0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 20 * 8);
}
