// The picture registry and the drawing calls: white shows what lies beneath, clipping at the
// window's edges, draws that must do nothing, locking, and loading in table order.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics.h"
#include "testutil.h"

namespace {

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGame();
        clearScreen(under);
    }

    const Uint16 under = 0x1234;
};

// A 24-bit BMP of the given size in the scratch directory: red, with a white square of `white`
// pixels in its top-left corner.
std::string writePicture(const ScratchDir& dir, int w, int h, int white) {
    std::string file = dir.path() + "/picture.bmp";
    SDL_Surface* picture =
        SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0x0000ff, 0x00ff00, 0xff0000, 0);
    SDL_FillRect(picture, nullptr, SDL_MapRGB(picture->format, 200, 0, 0));
    SDL_Rect corner = {0, 0, static_cast<Uint16>(white), static_cast<Uint16>(white)};
    SDL_FillRect(picture, &corner, SDL_MapRGB(picture->format, 255, 255, 255));
    SDL_SaveBMP(picture, file.c_str());
    SDL_FreeSurface(picture);
    return file;
}

TEST_F(Drawing, WhitePixelsOfAPictureLeaveTheScreenBeneathUnchanged) {
    ScratchDir dir;
    SDL_Surface* picture = LoadImage(writePicture(dir, 20, 10, 4).c_str());
    ASSERT_NE(picture, nullptr);
    DrawImage(picture, 100, 50);
    EXPECT_EQ(countNot(under, 100, 50, 4, 4), 0) << "white was drawn";
    Uint16 red = rgb(200, 0, 0);
    EXPECT_EQ(pixelAt(104, 50), red);
    EXPECT_EQ(pixelAt(100, 54), red);
    EXPECT_EQ(countNot(red, 104, 50, 16, 10), 0);
    EXPECT_EQ(countNot(red, 100, 54, 20, 6), 0);
    EXPECT_EQ(countNot(under, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 20 * 10 - 4 * 4);
    SDL_FreeSurface(picture);
}

// Every picture of the game, the full-window screens included: where the picture is white the
// screen keeps its colour, everywhere else it shows the picture.
TEST_F(Drawing, EveryGamePictureIsTransparentExactlyWhereItIsWhite) {
    for (int id = 0; id < IMAGE_COUNT; ++id) {
        SCOPED_TRACE(imageFiles[id]);
        SDL_Surface* raw = SDL_LoadBMP(imageFiles[id]);
        ASSERT_NE(raw, nullptr);
        SDL_Surface* plain = SDL_DisplayFormat(raw);
        SDL_FreeSurface(raw);
        ASSERT_NE(plain, nullptr);
        const Uint16 white = 0xffff;
        clearScreen(under);
        DrawImage(GetImage(id), 0, 0);
        int wrong = 0;
        for (int y = 0; y < plain->h; ++y) {
            const auto* row = reinterpret_cast<const Uint16*>(static_cast<Uint8*>(plain->pixels) +
                                                              y * plain->pitch);
            for (int x = 0; x < plain->w; ++x) {
                Uint16 expected = row[x] == white ? under : row[x];
                if (pixelAt(x, y) != expected)
                    ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0);
        SDL_FreeSurface(plain);
    }
}

TEST_F(Drawing, PictureAtANegativePositionDrawsItsVisiblePart) {
    ScopedPicture picture(IMG_CRATE, 20, 20, 0, 200, 0);
    Uint16 green = rgb(0, 200, 0);
    DrawImage(GetImage(IMG_CRATE), -5, -8);
    EXPECT_EQ(countNot(green, 0, 0, 15, 12), 0);
    EXPECT_EQ(countNot(under, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 15 * 12);

    clearScreen(under);
    DrawImage(GetImage(IMG_CRATE), SCREEN_WIDTH - 6, SCREEN_HEIGHT - 3);
    EXPECT_EQ(countNot(green, SCREEN_WIDTH - 6, SCREEN_HEIGHT - 3, 6, 3), 0);
    EXPECT_EQ(countNot(under, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 6 * 3);
}

TEST_F(Drawing, PartOfAPictureLandsWhereAsked) {
    ScopedPicture picture(IMG_CRATE, 20, 20, 0, 200, 0);
    DrawPartialImage(GetImage(IMG_CRATE), 300, 200, 5, 5, 8, 4);
    EXPECT_EQ(countNot(rgb(0, 200, 0), 300, 200, 8, 4), 0);
    EXPECT_EQ(countNot(under, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 8 * 4);
}

// A draw records exactly the part of the screen it covered: the part asked for is held to the
// picture and to the screen's clip rectangle before the blit, not by the blit.
TEST_F(Drawing, ADrawCoversAndRecordsOnlyWhatIsBothInThePictureAndOnTheScreen) {
    ScopedPicture picture(IMG_CRATE, 20, 20, 0, 200, 0);
    SDL_Surface* crate = GetImage(IMG_CRATE);
    const Uint16 green = rgb(0, 200, 0);
    struct Case {
        const char* what;
        int x, y, sx, sy, w, h;
        SDL_Rect clip;
        SDL_Rect covered;  // w 0: nothing
    };
    const SDL_Rect whole = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
    const Case cases[] = {
        {"up and left off the screen", -5, -8, 0, 0, 20, 20, whole, {0, 0, 15, 12}},
        {"down and right off the screen",
         SCREEN_WIDTH - 4,
         SCREEN_HEIGHT - 8,
         0,
         0,
         20,
         20,
         whole,
         {SCREEN_WIDTH - 4, SCREEN_HEIGHT - 8, 4, 8}},
        {"a part reaching past the picture", 300, 200, 15, 12, 10, 10, whole, {300, 200, 5, 8}},
        {"a part starting before the picture", 300, 200, -4, -3, 10, 10, whole, {304, 203, 6, 7}},
        {"within a clip rectangle", 90, 140, 0, 0, 20, 20, {100, 100, 50, 50}, {100, 140, 10, 10}},
        {"both at once", 95, 95, -2, 0, 20, 30, {100, 100, 50, 50}, {100, 100, 15, 15}},
        {"wholly off the screen", -30, 10, 0, 0, 20, 20, whole, {0, 0, 0, 0}},
        {"a part wholly past the picture", 10, 10, 20, 0, 5, 5, whole, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clearScreen(under);
        SDL_Rect clip = c.clip;
        SDL_SetClipRect(game_screen, &clip);
        std::vector<SDL_Rect> recorded;
        {
            DrawnAreas record(recorded);
            DrawPartialImage(crate, c.x, c.y, c.sx, c.sy, c.w, c.h);
        }
        SDL_SetClipRect(game_screen, nullptr);
        const SDL_Rect& want = c.covered;
        EXPECT_EQ(countNot(under, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), want.w * want.h);
        if (want.w == 0) {
            EXPECT_TRUE(recorded.empty());
            continue;
        }
        EXPECT_EQ(countNot(green, want.x, want.y, want.w, want.h), 0);
        ASSERT_EQ(recorded.size(), 1u);
        EXPECT_EQ(recorded[0].x, want.x);
        EXPECT_EQ(recorded[0].y, want.y);
        EXPECT_EQ(recorded[0].w, want.w);
        EXPECT_EQ(recorded[0].h, want.h);
    }
}

TEST_F(Drawing, NoPictureDrawsNothing) {
    DrawImage(nullptr, 10, 10);
    DrawPartialImage(nullptr, 10, 10, 0, 0, 50, 50);
    EXPECT_EQ(countNot(under, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 0);
}

// SDL keeps positions in 16 bits: a position 65536 pixels away must not wrap onto the screen.
TEST_F(Drawing, PositionsBeyondSixteenBitsDrawNothing) {
    ScopedPicture picture(IMG_CRATE, 20, 20, 0, 200, 0);
    SDL_Surface* crate = GetImage(IMG_CRATE);
    const int wrap = 65536;
    DrawImage(crate, wrap + 100, 100);
    DrawImage(crate, 100, wrap + 100);
    DrawImage(crate, 100 - wrap, 100);
    DrawImage(crate, 100, 100 - wrap);
    DrawImage(crate, 32768, 100);
    DrawPartialImage(crate, 100, 100, wrap, 0, 10, 10);
    DrawPartialImage(crate, 100, 100, 0, -wrap, 10, 10);
    DrawPartialImage(crate, 100, 100, 0, 0, wrap + 10, 10);
    EXPECT_EQ(countNot(under, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 0);
    // The same picture within range does draw: the draws above were refused, not broken.
    DrawImage(crate, 100, 100);
    EXPECT_EQ(countNot(under, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 20 * 20);
}

TEST_F(Drawing, LockingThePlainScreenChangesNothing) {
    ASSERT_FALSE(SDL_MUSTLOCK(game_screen));
    void* pixels = game_screen->pixels;
    Slock(game_screen);
    Slock(game_screen);
    EXPECT_EQ(game_screen->locked, 0u);
    EXPECT_EQ(game_screen->pixels, pixels);
    DrawImage(GetImage(IMG_CRATE), 0, 0);
    Sulock(game_screen);
    Sulock(game_screen);
    Sulock(game_screen);
    EXPECT_EQ(game_screen->locked, 0u);
    EXPECT_EQ(SDL_Flip(game_screen), 0);
    EXPECT_NE(countNot(under, 0, 0, 50, 50), 0);
}

TEST_F(Drawing, LockingASurfaceThatNeedsItLocksAndUnlocks) {
    SDL_Surface* crate = GetImage(IMG_START_MENU_OUTLINE);
    DrawImage(crate, 0, 0);  // the run-length encoding is made on the first draw
    ASSERT_TRUE(SDL_MUSTLOCK(crate));
    Slock(crate);
    EXPECT_EQ(crate->locked, 1u);
    Sulock(crate);
    EXPECT_EQ(crate->locked, 0u);
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGame();
        home = std::filesystem::current_path();
    }

    // Whatever a test did to the registry or the working directory, the next finds it whole.
    void TearDown() override {
        std::filesystem::current_path(home);
        UnloadImages();
        ASSERT_TRUE(InitImages());
    }

    std::filesystem::path home;
};

TEST_F(Registry, GettingAPictureAfterUnloadingLoadsAllAgain) {
    UnloadImages();
    EXPECT_FALSE(loaded);
    for (SDL_Surface* picture : images)
        EXPECT_EQ(picture, nullptr);
    EXPECT_NE(GetImage(IMG_GAME_OVER), nullptr);
    EXPECT_TRUE(loaded);
    for (int id = 0; id < IMAGE_COUNT; ++id)
        EXPECT_NE(images[id], nullptr) << imageFiles[id];
}

// Loading stops at the first missing picture: those before it are in, the rest never tried,
// although they are there to be read.
TEST_F(Registry, LoadingStopsAtTheFirstMissingPicture) {
    ScratchDir dir;
    std::filesystem::create_directories(std::filesystem::path(dir.path()) / "images");
    for (int id = 0; id < IMAGE_COUNT; ++id)
        if (id != IMG_CRATE)
            std::filesystem::copy_file(imageFiles[id],
                                       std::filesystem::path(dir.path()) / imageFiles[id]);
    UnloadImages();
    std::filesystem::current_path(dir.path());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(InitImages());
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(loaded);
    for (int id = 0; id < IMG_CRATE; ++id)
        EXPECT_NE(images[id], nullptr) << imageFiles[id];
    for (int id = IMG_CRATE; id < IMAGE_COUNT; ++id)
        EXPECT_EQ(images[id], nullptr) << imageFiles[id];
    EXPECT_EQ(errors.rfind("Error loading images/Crate.bmp: ", 0), 0u) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
}

}  // namespace
