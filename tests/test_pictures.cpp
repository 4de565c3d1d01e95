// The game's own picture files as the rules rely on them: sizes, solid hit shapes, clean
// transparent edges, a sky without holes, and menu overlays that land on what they mark.
#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <vector>

#include "Crate.h"
#include "Enemy.h"
#include "Player.h"
#include "Wall.h"
#include "graphics.h"
#include "menus.h"
#include "testutil.h"

namespace {

// A picture file read as it was saved, in the display's 5-6-5 format.
class FilePicture {
public:
    explicit FilePicture(int id) : surface(SDL_LoadBMP(imageFiles[id])) {}
    ~FilePicture() { SDL_FreeSurface(surface); }
    FilePicture(const FilePicture&) = delete;
    FilePicture& operator=(const FilePicture&) = delete;

    bool loaded() const { return surface != nullptr; }
    int w() const { return surface->w; }
    int h() const { return surface->h; }
    Uint32 raw(int x, int y) const {
        const Uint8* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
        return reinterpret_cast<const Uint16*>(row)[x];
    }
    SDL_Color at(int x, int y) const {
        SDL_Color c = {0, 0, 0, 0};
        SDL_GetRGB(raw(x, y), surface->format, &c.r, &c.g, &c.b);
        return c;
    }
    // Pure white: what the game leaves transparent. Outside the picture counts as transparent.
    bool clear(int x, int y) const {
        if (x < 0 || y < 0 || x >= w() || y >= h())
            return true;
        return raw(x, y) == SDL_MapRGB(surface->format, 255, 255, 255);
    }
    bool inDisplayFormat() const {
        const SDL_PixelFormat* f = surface->format;
        return f->BitsPerPixel == 16 && f->Rmask == 0xF800 && f->Gmask == 0x07E0 &&
               f->Bmask == 0x001F;
    }
    int brightness(int x, int y) const {
        SDL_Color c = at(x, y);
        return (c.r + c.g + c.b) / 3;
    }

private:
    SDL_Surface* surface;
};

const int FULL_WINDOW[] = {IMG_SPACE,      IMG_CREDITS,        IMG_INSTRUCTIONS, IMG_START_MENU,
                           IMG_LEVEL_LOSE, IMG_LEVEL_COMPLETE, IMG_SHIP_SELECT,  IMG_GAME_OVER};

bool isFullWindow(int id) {
    return std::count(std::begin(FULL_WINDOW), std::end(FULL_WINDOW), id) > 0;
}

// Of the picture's pixels where the ship says a shot hits it, how many are opaque.
struct Coverage {
    int hits = 0;
    int solid = 0;
    double share() const { return hits ? double(solid) / hits : 0; }
};
Coverage coverage(Ship& ship, const FilePicture& picture) {
    Coverage result;
    for (int y = 0; y < picture.h(); ++y)
        for (int x = 0; x < picture.w(); ++x)
            if (ship.doesCollide(x, y)) {
                ++result.hits;
                if (!picture.clear(x, y))
                    ++result.solid;
            }
    return result;
}

// Whether the ship's body reaches the middle of the side it fires from (within 4 pixels), so
// its shots come out of a nose or a gun and not out of empty space.
bool muzzleIsSolid(const Ship& ship, const FilePicture& picture, int side) {
    point p = ship.center_side(side);
    int x = std::clamp(p.x, 0, picture.w() - 1), y = std::clamp(p.y, 0, picture.h() - 1);
    int inwardX = side == 90 ? -1 : side == 270 ? 1 : 0;
    int inwardY = side == 180 ? -1 : side == 0 ? 1 : 0;
    for (int depth = 0; depth < 4; ++depth)
        if (!picture.clear(x + inwardX * depth, y + inwardY * depth))
            return true;
    return false;
}

TEST(Pictures, EveryPictureLoadsAtStartUpFromAFileInTheDisplaysFormat) {
    ensureGame();
    for (int id = 0; id < IMAGE_COUNT; ++id) {
        SCOPED_TRACE(imageFiles[id]);
        FilePicture file(id);
        ASSERT_TRUE(file.loaded());
        ASSERT_TRUE(file.inDisplayFormat());
        ASSERT_NE(GetImage(id), nullptr);
        EXPECT_EQ(GetImage(id)->w, file.w());
        EXPECT_EQ(GetImage(id)->h, file.h());
    }
}

TEST(Pictures, FullWindowPicturesCoverTheWindowWithoutTransparentHoles) {
    for (int id : FULL_WINDOW) {
        SCOPED_TRACE(imageFiles[id]);
        FilePicture file(id);
        ASSERT_TRUE(file.loaded());
        ASSERT_EQ(file.w(), SCREEN_WIDTH);
        ASSERT_EQ(file.h(), SCREEN_HEIGHT);
        int holes = 0;
        for (int y = 0; y < file.h(); ++y)
            for (int x = 0; x < file.w(); ++x)
                holes += file.clear(x, y);
        EXPECT_EQ(holes, 0) << "pure white would show the previous frame through";
    }
}

TEST(Pictures, TheSkyIsDarkSoSpritesAndLasersStandOut) {
    FilePicture sky(IMG_SPACE);
    ASSERT_TRUE(sky.loaded());
    long total = 0;
    int brightest = 0;
    for (int y = 0; y < sky.h(); ++y)
        for (int x = 0; x < sky.w(); ++x) {
            total += sky.brightness(x, y);
            brightest = std::max(brightest, sky.brightness(x, y));
        }
    EXPECT_LT(total / (sky.w() * sky.h()), 40);
    EXPECT_LT(brightest, 230);
}

TEST(Pictures, EveryShipsHitBoxLiesOnItsHull) {
    ensureGame();
    for (int ship = 1; ship <= 3; ++ship) {
        SCOPED_TRACE(ship);
        FilePicture picture(IMG_SHIP1 + ship - 1);
        ASSERT_TRUE(picture.loaded());
        EXPECT_GE(picture.w(), 40);
        EXPECT_LE(picture.w(), 60);
        EXPECT_GE(picture.h(), 50);
        EXPECT_LE(picture.h(), 70);
        Player player(0, 0, 5, ship, nullptr);
        Coverage box = coverage(player, picture);
        EXPECT_EQ(box.hits, 21 * 21) << "the hit box must lie wholly on the picture";
        EXPECT_GE(box.share(), 0.97) << box.solid << " of " << box.hits << " hit points solid";
        EXPECT_TRUE(muzzleIsSolid(player, picture, 0)) << "the shot leaves from the nose";
    }
}

TEST(Pictures, ForwardShooterFillsItsHitTriangleAndPointsItsNoseForward) {
    ensureGame();
    for (int direction : {0, 90, 180, 270}) {
        SCOPED_TRACE(direction);
        FilePicture picture(IMG_FSHOOTER_N + direction / 90);
        ASSERT_TRUE(picture.loaded());
        EXPECT_GE(picture.w(), 45);
        EXPECT_GE(picture.h(), 45);
        FShooter shooter(0, 0, direction, {{0, 0}}, 2, 100, 40, nullptr);
        Coverage triangle = coverage(shooter, picture);
        EXPECT_GT(triangle.hits, 400);
        EXPECT_GE(triangle.share(), 0.95);
        EXPECT_TRUE(muzzleIsSolid(shooter, picture, direction));
        // A nose, not a block: both corners of the front side are open space.
        const int right = picture.w() - 1, bottom = picture.h() - 1;
        const int corners[4][4] = {{0, 0, right, 0},
                                   {right, 0, right, bottom},
                                   {0, bottom, right, bottom},
                                   {0, 0, 0, bottom}};
        const int* front = corners[direction / 90];
        EXPECT_TRUE(picture.clear(front[0], front[1]) && picture.clear(front[2], front[3]));
    }
}

TEST(Pictures, DualShooterIsSolidWhereItIsHitAndArmedAtBothEnds) {
    ensureGame();
    for (int direction : {0, 90}) {
        SCOPED_TRACE(direction);
        FilePicture picture(direction == 0 ? IMG_DSHOOTER_V : IMG_DSHOOTER_H);
        ASSERT_TRUE(picture.loaded());
        EXPECT_GE(picture.w(), 45);
        EXPECT_GE(picture.h(), 45);
        DShooter shooter(0, 0, direction, {{0, 0}}, 2, 100, 50, nullptr);
        Coverage shape = coverage(shooter, picture);
        EXPECT_GT(shape.hits, 600);
        EXPECT_GE(shape.share(), 0.9);
        EXPECT_TRUE(muzzleIsSolid(shooter, picture, direction));
        EXPECT_TRUE(muzzleIsSolid(shooter, picture, direction + 180));
    }
}

TEST(Pictures, CrateIsSolidWhereItCatchesShots) {
    ensureGame();
    FilePicture picture(IMG_CRATE);
    ASSERT_TRUE(picture.loaded());
    EXPECT_GT(picture.w(), 30);
    EXPECT_GT(picture.h(), 30);
    Crate crate(0, 0);
    Coverage middle = coverage(crate, picture);
    EXPECT_GT(middle.hits, 100);
    EXPECT_EQ(middle.solid, middle.hits);
}

TEST(Pictures, WallsAreThickEnoughToBeSeenAndDiagonalsWideEnoughToTile) {
    FilePicture horizontal(IMG_WALL_H), vertical(IMG_WALL_V);
    FilePicture rising(IMG_WALL2_UR), falling(IMG_WALL2_UL), block(IMG_WALL2);
    ASSERT_TRUE(horizontal.loaded() && vertical.loaded() && rising.loaded() && falling.loaded() &&
                block.loaded());
    EXPECT_GE(horizontal.h(), 4);
    EXPECT_GE(vertical.w(), 4);
    EXPECT_GE(horizontal.w(), 16);
    EXPECT_GE(vertical.h(), 16);
    for (const FilePicture* straight : {&horizontal, &vertical})
        for (int y = 0; y < straight->h(); ++y)
            for (int x = 0; x < straight->w(); ++x)
                ASSERT_FALSE(straight->clear(x, y))
                    << "a straight wall is solid: " << x << "," << y;
    // The diagonal pieces advance by their size less the 6-pixel overlap.
    EXPECT_GT(rising.h(), 6);
    EXPECT_GT(falling.w(), 6);
    EXPECT_GT(rising.w(), 6);
    EXPECT_GT(falling.h(), 6);
}

// Diagonal walls are laid from overlapping copies: on the screen they must read as one band
// that covers every point where the wall turns a shot, and nothing much beside it.
TEST(Pictures, DiagonalWallCopiesJoinIntoOneBandWhereShotsBounce) {
    ensureGame();
    const Uint16 under = rgb(0, 0, 8);
    for (Wall wall : {Wall(200, 150, 420, 370), Wall(800, 150, 580, 370)}) {
        SCOPED_TRACE(wall.getDirection());
        clearScreen(under);
        wall.draw();
        point start = wall.getStart(), end = wall.getEnd();
        int left = std::min(start.x, end.x), right = std::max(start.x, end.x);
        int missing = 0, astray = 0, bouncing = 0;
        for (int y = start.y; y <= end.y; ++y)
            for (int x = left; x <= right; ++x) {
                bool drawn = pixelAt(x, y) != under;
                bool bounces = wall.doesCollide(x, y);
                bouncing += bounces;
                // A rising wall is laid left of its start column and above its end row.
                bool inside = x > left && x < right && y > start.y && y < end.y;
                if (bounces && !drawn && inside)
                    ++missing;
                bool nearBand = bounces || wall.doesCollide(x - 1, y) ||
                                wall.doesCollide(x + 1, y) || wall.doesCollide(x, y - 1) ||
                                wall.doesCollide(x, y + 1);
                if (drawn && !nearBand)
                    ++astray;
            }
        EXPECT_GT(bouncing, 1000);
        EXPECT_EQ(missing, 0) << "gaps in the band where shots still bounce";
        EXPECT_EQ(astray, 0) << "wall drawn where shots pass through";
    }
}

TEST(Pictures, SpritesHaveNoPaleFringeAroundTheirTransparentParts) {
    for (int id = 0; id < IMAGE_COUNT; ++id) {
        if (isFullWindow(id))
            continue;
        SCOPED_TRACE(imageFiles[id]);
        FilePicture picture(id);
        ASSERT_TRUE(picture.loaded());
        int solid = 0, pale = 0;
        for (int y = 0; y < picture.h(); ++y)
            for (int x = 0; x < picture.w(); ++x) {
                if (picture.clear(x, y))
                    continue;
                ++solid;
                bool edge = picture.clear(x - 1, y) || picture.clear(x + 1, y) ||
                            picture.clear(x, y - 1) || picture.clear(x, y + 1);
                SDL_Color c = picture.at(x, y);
                if (edge && c.r > 240 && c.g > 240 && c.b > 240)
                    ++pale;
            }
        EXPECT_GT(solid, 0) << "an empty picture";
        EXPECT_EQ(pale, 0) << "near-white pixels against transparency look like a halo";
    }
}

// The title draws its outline over the chosen item: the outline is a frame, and through its
// open middle the item's words show.
TEST(Pictures, TitleOutlineFramesTheWordsOfEachMenuItem) {
    FilePicture menu(IMG_START_MENU), outline(IMG_START_MENU_OUTLINE);
    ASSERT_TRUE(menu.loaded() && outline.loaded());
    const int w = outline.w(), h = outline.h();
    EXPECT_TRUE(outline.clear(w / 2, h / 2));
    EXPECT_FALSE(outline.clear(w / 2, 1));
    EXPECT_FALSE(outline.clear(w / 2, h - 2));
    EXPECT_FALSE(outline.clear(1, h / 2));
    EXPECT_FALSE(outline.clear(w - 2, h / 2));
    std::vector<int> words[TITLE_ITEM_COUNT];
    for (int item = 0; item < TITLE_ITEM_COUNT; ++item) {
        const int placeX = TITLE_OUTLINE_AT[item].x, placeY = TITLE_OUTLINE_AT[item].y;
        ASSERT_LE(placeX + w, SCREEN_WIDTH);
        ASSERT_LE(placeY + h, SCREEN_HEIGHT);
        int outside = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bool bright = menu.brightness(placeX + x, placeY + y) > 170;
                if (outline.clear(x, y) && bright)
                    words[item].push_back(y * w + x);
                if (!outline.clear(x, y) && bright)
                    ++outside;
            }
        EXPECT_GT(words[item].size(), 400u) << "no words inside the outline of item " << item;
        EXPECT_LT(outside, 40) << "the outline hides the words of item " << item;
    }
    EXPECT_NE(words[0], words[1]) << "both items read the same";
}

// The bar is drawn under the chosen ship: each place must sit centred under a ship of the ship
// select picture, and the three bars must not overlap.
TEST(Pictures, ShipSelectBarSitsCentredUnderEachShip) {
    FilePicture screen(IMG_SHIP_SELECT), bar(IMG_SHIP_SELECT_BAR);
    ASSERT_TRUE(screen.loaded() && bar.loaded());
    const int barX[] = {SHIP_SELECT_BAR_AT[0].x, SHIP_SELECT_BAR_AT[1].x, SHIP_SELECT_BAR_AT[2].x};
    const int barY = SHIP_SELECT_BAR_AT[0].y;
    EXPECT_LE(barX[0] + bar.w(), barX[1]);
    EXPECT_LE(barX[1] + bar.w(), barX[2]);
    EXPECT_LE(barX[2] + bar.w(), SCREEN_WIDTH);
    EXPECT_LE(barY + bar.h(), SCREEN_HEIGHT);
    // A ship is a solid mass on the dark sky: columns with many lit pixels above the bar.
    // Stars are single pixels and never fill a column so.
    auto shipColumn = [&](int x) {
        int lit = 0;
        for (int y = 250; y < barY - 50; ++y)
            lit += screen.brightness(x, y) > 60;
        return lit >= 8;
    };
    for (int x0 : barX) {
        SCOPED_TRACE(x0);
        int first = -1, last = -1;
        for (int x = std::max(0, x0 - 60); x < std::min(SCREEN_WIDTH, x0 + bar.w() + 60); ++x)
            if (shipColumn(x)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        ASSERT_GE(first, 0) << "no ship above the bar";
        EXPECT_GE(last - first, 50) << "the ship is too small to choose by";
        EXPECT_GE(first, x0);
        EXPECT_LT(last, x0 + bar.w());
        EXPECT_NEAR((first + last) / 2.0, x0 + bar.w() / 2.0, 8.0);
    }
}

}  // namespace
