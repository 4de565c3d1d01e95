// Ships and crates: the 40-frame explosion, the side points lasers leave from, the crate's inset.
#include <gtest/gtest.h>

#include "Crate.h"
#include "graphics.h"
#include "testutil.h"

namespace {
const Uint16 BLACK = 0;

// A 50 by 50 crate at (100, 100) with a 10 by 10 explosion of another colour over its middle.
struct CrateScene {
    CrateScene() { ensureGame(); }
    ScopedPicture crate{IMG_CRATE, 50, 50, 200, 40, 40};
    ScopedPicture explosion{IMG_EXPLOSION, 10, 10, 250, 250, 0};
    Crate ship{100, 100};

    // Draws one frame; whether the crate and the explosion showed.
    std::pair<bool, bool> drawFrame() {
        clearScreen(BLACK);
        ship.draw();
        return {pixelAt(100, 100) != BLACK, pixelAt(120, 120) == rgb(250, 250, 0)};
    }
};
}  // namespace

TEST(Ship, HitShipExplodesForFortyDrawnFramesThenIsGone) {
    CrateScene scene;
    EXPECT_EQ(scene.drawFrame(), std::make_pair(true, false));  // never hit: no explosion
    scene.ship.hit();
    for (int frame = 1; frame <= 39; ++frame) {
        ASSERT_EQ(scene.drawFrame(), std::make_pair(true, true)) << frame;
        ASSERT_FALSE(scene.ship.isDead()) << frame;
    }
    EXPECT_EQ(countNot(BLACK, 120, 120, 10, 10), 100);  // centred on the crate
    EXPECT_EQ(countNot(rgb(250, 250, 0), 119, 119, 12, 12), 44);
    EXPECT_EQ(scene.drawFrame(), std::make_pair(true, true));
    EXPECT_TRUE(scene.ship.isDead());
    scene.drawFrame();
    EXPECT_EQ(countNot(BLACK, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 0);
}

TEST(Ship, SecondHitChangesNothingAndAShipNeverDrawnNeverDies) {
    CrateScene scene;
    scene.ship.hit();
    for (int frame = 0; frame < 20; ++frame)
        scene.drawFrame();
    scene.ship.hit();
    for (int frame = 0; frame < 19; ++frame)
        scene.drawFrame();
    EXPECT_FALSE(scene.ship.isDead());
    scene.drawFrame();
    EXPECT_TRUE(scene.ship.isDead());
    scene.ship.hit();
    EXPECT_TRUE(scene.ship.isDead());

    Crate undrawn(300, 300);
    undrawn.hit();
    for (int frame = 0; frame < 100; ++frame)
        undrawn.move();
    EXPECT_FALSE(undrawn.isDead());
    EXPECT_EQ(undrawn.getStatus(), SHIP_EXPLODING);
    EXPECT_EQ(undrawn.getXPosition(), 300);
}

TEST(Ship, SidePointsAreTheMiddlesOfThePictureEdges) {
    ensureGame();
    ScopedPicture picture(IMG_CRATE, 50, 40);
    Crate ship(100, 200);
    EXPECT_EQ(ship.center_side(0), (point{125, 200}));
    EXPECT_EQ(ship.center_side(90), (point{150, 220}));
    EXPECT_EQ(ship.center_side(180), (point{125, 240}));
    EXPECT_EQ(ship.center_side(270), (point{100, 220}));
    EXPECT_EQ(ship.center_side(45), (point{-1, -1}));
}

TEST(Ship, CrateIsHitOnlyStrictlyInsideItsFifteenPixelInset) {
    CrateScene scene;
    for (point p : {point{116, 116}, point{134, 134}})
        EXPECT_TRUE(scene.ship.doesCollide(p.x, p.y));
    for (point p : {point{115, 120}, point{135, 120}, point{120, 115}, point{120, 135}})
        EXPECT_FALSE(scene.ship.doesCollide(p.x, p.y)) << p.x << "," << p.y;
    scene.ship.hit();  // still solid while exploding
    EXPECT_TRUE(scene.ship.doesCollide(125, 125));
}
