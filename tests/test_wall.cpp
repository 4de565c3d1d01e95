// Walls: their kind from the end points, where they stop lasers, and how they are tiled.
#include <gtest/gtest.h>

#include <algorithm>

#include "Wall.h"
#include "graphics.h"
#include "testutil.h"

namespace {
const Uint16 BLACK = 0;

// A plain picture whose top-left pixel is marked, so that each drawn copy shows its corner.
struct MarkedPicture {
    MarkedPicture(int id, int w, int h) : picture(id, w, h) {
        SDL_Rect corner = {0, 0, 1, 1};
        SDL_FillRect(picture.surface(), &corner, mark());
    }
    static Uint16 mark() { return rgb(40, 220, 40); }
    ScopedPicture picture;
};

int marksOnScreen() {
    int marks = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x)
            if (pixelAt(x, y) == MarkedPicture::mark())
                ++marks;
    return marks;
}
}  // namespace

TEST(Wall, EndsAreOrderedFromTheTopAndTheKindFollowsFromThem) {
    ensureGame();
    for (Wall wall : {Wall(100, 400, 100, 100), Wall(100, 100, 100, 400)}) {
        EXPECT_EQ(wall.getStart(), (point{100, 100}));
        EXPECT_EQ(wall.getEnd(), (point{100, 400}));
        EXPECT_EQ(wall.getDirection(), 0);
        EXPECT_EQ(wall.getImage(), GetImage(IMG_WALL_V));
    }
    Wall flat(300, 50, 150, 50);
    EXPECT_EQ(flat.getStart(), (point{150, 50}));
    EXPECT_EQ(flat.getDirection(), 90);
    EXPECT_EQ(flat.getImage(), GetImage(IMG_WALL_H));
    Wall falling(300, 400, 200, 300);
    EXPECT_EQ(falling.getStart(), (point{200, 300}));
    EXPECT_EQ(falling.getEnd(), (point{300, 400}));
    EXPECT_EQ(falling.getDirection(), 135);
    EXPECT_EQ(falling.getImage(), GetImage(IMG_WALL2_UL));
    Wall rising(700, 400, 800, 300);
    EXPECT_EQ(rising.getStart(), (point{800, 300}));
    EXPECT_EQ(rising.getEnd(), (point{700, 400}));
    EXPECT_EQ(rising.getDirection(), 45);
    EXPECT_EQ(rising.getImage(), GetImage(IMG_WALL2_UR));
}

// The box the checker and the editor go by is the one the pictures cover on the screen.
TEST(Wall, AStraightWallsDrawnBoxIsWhereItsPicturesLand) {
    ensureGame();
    ScopedPicture upright(IMG_WALL_V, 10, 64), lying(IMG_WALL_H, 40, 12);
    for (Wall wall : {Wall(100, 400, 100, 100), Wall(600, 50, 150, 50)}) {
        clearScreen(BLACK);
        wall.draw();
        int left = SCREEN_WIDTH, top = SCREEN_HEIGHT, right = 0, bottom = 0;
        for (int y = 0; y < SCREEN_HEIGHT; ++y)
            for (int x = 0; x < SCREEN_WIDTH; ++x)
                if (pixelAt(x, y) != BLACK) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                    right = std::max(right, x + 1);
                    bottom = std::max(bottom, y + 1);
                }
        const Wall::Box box = wall.getDrawnBox();
        EXPECT_EQ(box.left, left) << wall.getDirection();
        EXPECT_EQ(box.top, top) << wall.getDirection();
        EXPECT_EQ(box.right, right) << wall.getDirection();
        EXPECT_EQ(box.bottom, bottom) << wall.getDirection();
    }
}

TEST(Wall, StraightWallsStopLasersOnEveryBoundAndNotOnePixelBeyond) {
    ensureGame();
    ScopedPicture upright(IMG_WALL_V, 10, 64), lying(IMG_WALL_H, 40, 12);
    Wall vertical(100, 100, 100, 400), horizontal(150, 50, 600, 50);
    expectHits(vertical, {{100, 100}, {110, 400}, {105, 250}},
               {{99, 250}, {111, 250}, {105, 99}, {105, 401}});
    expectHits(horizontal, {{150, 62}, {600, 50}, {300, 55}},
               {{149, 55}, {601, 55}, {300, 49}, {300, 63}});
    Wall stub(300, 300, 300, 300);  // equal ends: solid on its one row only
    expectHits(stub, {{300, 300}, {310, 300}}, {{311, 300}, {305, 301}, {305, 299}});
}

TEST(Wall, DiagonalsStopLasersWithinSixRowsOfTheirLine) {
    ensureGame();
    Wall falling(200, 300, 300, 400), rising(800, 300, 700, 400);
    expectHits(falling, {{250, 350}, {255, 350}, {245, 350}, {200, 300}},
               {{256, 350}, {244, 350}, {301, 401}, {199, 299}});
    expectHits(rising, {{750, 350}, {755, 345}, {745, 354}}, {{750, 356}, {750, 344}, {801, 300}});
    // Too short for the band between its two lines: stops nothing at all.
    Wall shortFalling(200, 300, 206, 306), shortRising(206, 300, 200, 306);
    for (int y = 295; y <= 311; ++y)
        for (int x = 195; x <= 211; ++x)
            ASSERT_FALSE(shortFalling.doesCollide(x, y) || shortRising.doesCollide(x, y))
                << x << "," << y;
}

TEST(Wall, VerticalWallIsTiledDownPastItsEndByItsThickness) {
    ensureGame();
    MarkedPicture picture(IMG_WALL_V, 10, 64);
    clearScreen(BLACK);
    Wall(100, 400, 100, 100).draw();
    for (int row : {100, 164, 228, 292, 356})
        EXPECT_EQ(pixelAt(100, row), MarkedPicture::mark());
    EXPECT_EQ(marksOnScreen(), 5);
    EXPECT_EQ(countNot(BLACK, 100, 100, 10, 310), 3100);  // rows 100 to 409, nothing missing
    EXPECT_EQ(countNot(BLACK, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 3100);
    // Equal ends: only the picture's top part, as high as the wall is thick.
    clearScreen(BLACK);
    Wall(600, 300, 600, 300).draw();
    EXPECT_EQ(countNot(BLACK, 600, 300, 10, 10), 100);
    EXPECT_EQ(countNot(BLACK, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 100);
}

TEST(Wall, FallingWallIsTiledWithOverlappingCopiesEndingSixPixelsPastItsEnd) {
    ensureGame();
    MarkedPicture picture(IMG_WALL2_UL, 20, 20);
    clearScreen(BLACK);
    Wall(300, 400, 200, 300).draw();
    for (int corner : {200, 214, 228, 242, 256, 270, 284, 286})
        EXPECT_EQ(pixelAt(corner, corner + 100), MarkedPicture::mark()) << corner;
    EXPECT_EQ(marksOnScreen(), 8);
    EXPECT_NE(pixelAt(305, 405), BLACK);
    EXPECT_EQ(countNot(BLACK, 306, 0, SCREEN_WIDTH - 306, SCREEN_HEIGHT), 0);
    EXPECT_EQ(countNot(BLACK, 0, 406, SCREEN_WIDTH, SCREEN_HEIGHT - 406), 0);
}

TEST(Wall, RisingWallIsTiledDownToTheLeftEndingOnItsEndRow) {
    ensureGame();
    MarkedPicture picture(IMG_WALL2_UR, 20, 20);
    clearScreen(BLACK);
    Wall(700, 400, 800, 300).draw();
    const point corners[] = {{780, 300}, {766, 314}, {752, 328}, {738, 342},
                             {724, 356}, {710, 370}, {700, 380}};
    for (point c : corners)
        EXPECT_EQ(pixelAt(c.x, c.y), MarkedPicture::mark()) << c.x;
    EXPECT_EQ(marksOnScreen(), 7);
    EXPECT_NE(pixelAt(700, 399), BLACK);
    EXPECT_NE(pixelAt(799, 300), BLACK);
    EXPECT_EQ(countNot(BLACK, 0, 400, SCREEN_WIDTH, SCREEN_HEIGHT - 400), 0);
    EXPECT_EQ(countNot(BLACK, 0, 0, 700, SCREEN_HEIGHT), 0);
    EXPECT_EQ(countNot(BLACK, 800, 0, SCREEN_WIDTH - 800, SCREEN_HEIGHT), 0);
}

TEST(Wall, DiagonalWithAPictureNoBiggerThanTheOverlapIsDrawnOnceAndDrawingEnds) {
    ensureGame();
    ScopedPicture tinyFalling(IMG_WALL2_UL, 6, 6), tinyRising(IMG_WALL2_UR, 5, 5);
    clearScreen(BLACK);
    Wall(200, 300, 300, 400).draw();
    EXPECT_EQ(countNot(BLACK, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 36);
    EXPECT_EQ(countNot(BLACK, 200, 300, 6, 6), 36);
    clearScreen(BLACK);
    Wall(800, 300, 700, 400).draw();
    EXPECT_EQ(countNot(BLACK, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 25);
    EXPECT_EQ(countNot(BLACK, 795, 300, 5, 5), 25);
}
