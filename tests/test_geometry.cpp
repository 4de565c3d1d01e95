// Directions, reflection off walls, the point-in-triangle test and the sprite base.
#include <gtest/gtest.h>

#include "Sprite.h"
#include "calc.h"
#include "direction.h"
#include "graphics.h"
#include "testutil.h"

TEST(Geometry, EveryLaserDirectionBouncesOffEveryWallAsTheTableSays) {
    const int walls[4] = {0, 45, 90, 135};
    // Per laser direction 0, 90, 180, 270: the direction after each wall, then the turn.
    const int after[4][4] = {
        {0, 90, 180, 270}, {270, 0, 90, 180}, {180, 270, 0, 90}, {90, 180, 270, 0}};
    const int turn[4][4] = {
        {0, 90, 180, -90}, {180, -90, 0, 90}, {0, 90, 180, -90}, {180, -90, 0, 90}};
    for (int d = 0; d < 4; ++d) {
        for (int m = 0; m < 4; ++m) {
            int result = reflect(d * 90, walls[m]);
            EXPECT_EQ(result, after[d][m]) << d * 90 << " off " << walls[m];
            EXPECT_EQ(difference(d * 90, result), turn[d][m]) << d * 90 << " off " << walls[m];
            // A mirror line has no sense: the wall given the other way round reflects alike.
            EXPECT_EQ(reflect(d * 90, walls[m] + 180), result);
        }
    }
}

TEST(Geometry, TurnsFoldIntoOneCompassWhateverTheirSignOrSize) {
    EXPECT_EQ(rotate(-90, 0), 270);
    EXPECT_EQ(rotate(-450, 0), 270);
    EXPECT_EQ(rotate(-360, 0), 0);
    EXPECT_EQ(rotate(359, 1), 0);
    EXPECT_EQ(rotate(350, 20), 10);
    EXPECT_EQ(rotate(720, 0), 0);
    EXPECT_EQ(rotate(1000, -2080), 0);
    EXPECT_EQ(rotate(90, -1000), 170);

    EXPECT_EQ(difference(0, 180), 180);
    EXPECT_EQ(difference(180, 0), 180);
    EXPECT_EQ(difference(0, 181), -179);
    EXPECT_EQ(difference(10, 350), -20);
    EXPECT_EQ(difference(350, 10), 20);
    EXPECT_EQ(difference(0, 540), 180);
    EXPECT_EQ(difference(0, -540), -180);
    EXPECT_EQ(difference(-90, 0), 90);
}

TEST(Geometry, TriangleHoldsItsEdgesAndCornersButNotTheNextPixel) {
    point a{0, 0}, b{10, 0}, c{0, 10};
    for (point p : {a, b, c, point{5, 0}, point{0, 5}, point{5, 5}, point{3, 3}})
        EXPECT_TRUE(inTriangle(p, a, b, c)) << p.x << "," << p.y;
    for (point p : {point{-1, 5}, point{5, -1}, point{6, 5}, point{11, 0}, point{0, 11}})
        EXPECT_FALSE(inTriangle(p, a, b, c)) << p.x << "," << p.y;
}

TEST(Geometry, FlatTriangleHoldsItsWholeLineAndAPointTriangleHoldsEverything) {
    point a{0, 0}, b{5, 5}, c{10, 10};
    EXPECT_TRUE(inTriangle({3, 3}, a, b, c));
    EXPECT_TRUE(inTriangle({-20, -20}, a, b, c));
    EXPECT_TRUE(inTriangle({40, 40}, a, b, c));
    EXPECT_FALSE(inTriangle({3, 4}, a, b, c));
    EXPECT_FALSE(inTriangle({40, 39}, a, b, c));
    point same{7, 7};
    EXPECT_TRUE(inTriangle({500, -300}, same, same, same));
}

TEST(Sprite, MovesByItsVelocityAnywhereAndACopyDrawsTheSamePicture) {
    ensureGame();
    ScopedPicture picture(IMG_CRATE, 4, 3);
    Sprite farAway(-50, 2000, GetImage(IMG_CRATE));
    farAway.setXVelocity(3);
    farAway.setYVelocity(-3);
    farAway.move();
    EXPECT_EQ(farAway.getXPosition(), -47);
    EXPECT_EQ(farAway.getYPosition(), 1997);

    Sprite sprite(100, 100, GetImage(IMG_CRATE));
    sprite.setXVelocity(3);
    sprite.setYVelocity(-3);
    Sprite copy(sprite);
    copy.move();
    EXPECT_EQ(sprite.getXPosition(), 100);  // the original stays where it was
    clearScreen(0);
    copy.draw();
    EXPECT_EQ(countNot(0, 103, 97, 4, 3), 12);
    EXPECT_EQ(countNot(0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 12);
}
