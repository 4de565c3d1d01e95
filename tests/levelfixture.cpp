// Levels written on the fly for the rule tests, played with pictures of sizes the tests know.
#include "levelfixture.h"

#include <unistd.h>

#include <filesystem>

#include "graphics.h"
#include "skarlume.h"

KnownPictures::KnownPictures() {
    struct Size {
        int id, w, h;
    };
    const Size sizes[] = {
        {IMG_SHIP1, 50, 60},        {IMG_SHIP2, 50, 60},      {IMG_SHIP3, 50, 60},
        {IMG_FSHOOTER_N, 50, 50},   {IMG_FSHOOTER_E, 50, 50}, {IMG_FSHOOTER_S, 50, 50},
        {IMG_FSHOOTER_W, 50, 50},   {IMG_DSHOOTER_V, 50, 50}, {IMG_DSHOOTER_H, 50, 50},
        {IMG_CRATE, 50, 50},        {IMG_LASER_N, 4, 16},     {IMG_LASER_E, 16, 4},
        {IMG_LASER_S, 4, 16},       {IMG_LASER_W, 16, 4},     {IMG_ENEMY_LASER_V, 4, 16},
        {IMG_ENEMY_LASER_H, 16, 4}, {IMG_WALL_H, 64, 8},      {IMG_WALL_V, 8, 64},
        {IMG_WALL2_UR, 24, 24},     {IMG_WALL2_UL, 24, 24},   {IMG_EXPLOSION, 64, 64},
        {IMG_BOUNDS_V, 3, 32},      {IMG_BOUNDS_H, 32, 3},
    };
    for (const Size& size : sizes)
        swapped.push_back(std::make_unique<ScopedPicture>(size.id, size.w, size.h));
}

void LevelTest::SetUp() {
    ensureGame();
    previousDir = std::filesystem::current_path().string();
    scratch = std::make_unique<ScratchDir>();
    std::filesystem::create_directories(scratch->path() + "/levels");
    ASSERT_EQ(chdir(scratch->path().c_str()), 0);
    pictures = std::make_unique<KnownPictures>();
    lives = STARTING_LIVES;
}

void LevelTest::TearDown() {
    // The current level holds the swapped pictures: replace it once the real ones are back.
    pictures.reset();
    writeLevel(999, "");
    changeLevel(999, bg, 1);
    ASSERT_EQ(chdir(previousDir.c_str()), 0);
    scratch.reset();
}

void LevelTest::writeLevel(int number, const std::string& text) {
    scratch->write("levels/level" + std::to_string(number) + ".txt", text);
}

Level* LevelTest::startLevel(const std::string& text, int number, const ProblemSink& problems) {
    writeLevel(number, text);
    changeLevel(number, bg, 1, problems);
    return getCurrentLevel();
}
