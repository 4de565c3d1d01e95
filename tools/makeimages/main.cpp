// Draws every picture of the game (ships, enemies, lasers, walls and the full-window screens)
// and writes each as a 16-bit BMP under its registry name; the same bytes on every run. Given
// a second directory, it also draws the menu entry's icons there, as PNG files.
//   makeimages [GAME_DIR [ICON_DIR]]
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "backdrop.h"
#include "bmpfile.h"
#include "editorglyphs.h"
#include "enemies.h"
#include "failure.h"
#include "files.h"
#include "fonts.h"
#include "glyphsheet.h"
#include "graphics.h"
#include "icons.h"
#include "markers.h"
#include "menuscreens.h"
#include "pieces.h"
#include "raster.h"
#include "ships.h"
#include "stillscreens.h"

using namespace makeimages;

namespace {

// Every picture the registry loads, under its id.
std::array<SDL_Surface*, IMAGE_COUNT> drawGamePictures() {
    std::array<SDL_Surface*, IMAGE_COUNT> pictures{};
    pictures[IMG_SPACE] = spaceBackground();
    for (int i = 0; i < SHIP_COUNT; ++i)
        pictures[IMG_SHIP1 + i] = toSprite(shipPicture(i, 1));

    SDL_Surface* forward = toSprite(enemyPicture(drawForwardShooter, FSHOOTER_RIM, 1));
    for (int turns = 0; turns < 4; ++turns)
        pictures[IMG_FSHOOTER_N + turns] = rotated(forward, turns);
    SDL_FreeSurface(forward);
    SDL_Surface* dual = toSprite(enemyPicture(drawDualShooter, DSHOOTER_RIM, 1));
    pictures[IMG_DSHOOTER_V] = rotated(dual, 0);
    pictures[IMG_DSHOOTER_H] = rotated(dual, 1);
    SDL_FreeSurface(dual);
    pictures[IMG_CRATE] = toSprite(enemyPicture(drawCrate, CRATE_RIM, 1));

    SDL_Surface* laser = playerLaser();
    pictures[IMG_LASER_N] = rotated(laser, 0);
    pictures[IMG_LASER_E] = rotated(laser, 1);
    pictures[IMG_LASER_S] = flippedVertically(laser);
    pictures[IMG_LASER_W] = rotated(laser, 3);
    SDL_FreeSurface(laser);
    SDL_Surface* enemyShot = enemyLaser();
    pictures[IMG_ENEMY_LASER_V] = rotated(enemyShot, 0);
    pictures[IMG_ENEMY_LASER_H] = rotated(enemyShot, 1);
    SDL_FreeSurface(enemyShot);

    pictures[IMG_WALL2] = wallBlock();
    pictures[IMG_WALL_H] = straightWall(false);
    pictures[IMG_WALL_V] = straightWall(true);
    pictures[IMG_WALL2_UR] = diagonalWall(true);
    pictures[IMG_WALL2_UL] = diagonalWall(false);
    pictures[IMG_EXPLOSION] = toSprite(explosionPicture());
    pictures[IMG_BOUNDS_V] = boundsPiece(true);
    pictures[IMG_BOUNDS_H] = boundsPiece(false);
    pictures[IMG_START_MENU_OUTLINE] = titleOutline();
    pictures[IMG_SHIP_SELECT_BAR] = shipSelectBar();

    pictures[IMG_START_MENU] = titleScreen();
    pictures[IMG_INSTRUCTIONS] = instructionsScreen();
    pictures[IMG_SHIP_SELECT] = shipSelectScreen();
    pictures[IMG_LEVEL_COMPLETE] = levelCompleteScreen();
    pictures[IMG_LEVEL_LOSE] = levelLoseScreen();
    pictures[IMG_GAME_OVER] = gameOverScreen();
    pictures[IMG_CREDITS] = creditsScreen();
    return pictures;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Nothing here opens a window; the dummy driver keeps SDL quiet if anything asks for one.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    const std::string gameDir = argc > 1 ? argv[1] : ".";
    const std::string iconDir = argc > 2 ? argv[2] : "";
    requireFonts();
    if (TTF_Init() != 0)
        fail("cannot start SDL_ttf");
    makeDirectories(gameDir + "/images");

    std::array<SDL_Surface*, IMAGE_COUNT> pictures = drawGamePictures();
    for (int id = 0; id < IMAGE_COUNT; ++id) {
        if (pictures[id] == nullptr) {
            fprintf(stderr, "makeimages: nothing draws %s\n", imageFiles[id]);
            return 1;
        }
        saveBmp565(pictures[id], gameDir + "/" + imageFiles[id]);
        SDL_FreeSurface(pictures[id]);
    }
    SDL_Surface* glyphs = editorGlyphSheet();
    saveBmp565(glyphs, gameDir + "/" + GLYPH_SHEET_FILE);
    SDL_FreeSurface(glyphs);
    if (!iconDir.empty())
        drawIcons(iconDir);
    closeFonts();
    TTF_Quit();
    SDL_Quit();
    return 0;
}
