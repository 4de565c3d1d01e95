// Level files of any bytes, loaded as the game loads them and then played for a few frames, so
// that whatever the loader built is moved, shot at and drawn. Built for libFuzzer with clang.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "Level.h"
#include "graphics.h"
#include "skarlume.h"

namespace {

// Enough for the first shots of both kinds of enemy (frames 50 and 60) to fly and meet walls.
constexpr int FRAMES = 70;

// A 1x1 background keeps the frames cheap; everything else draws on the real 1024x768 screen
// in the frames that matter, and is clipped away by an empty clip rectangle in the others.
SDL_Surface* background = nullptr;

bool drawnForReal(int frame) {
    return frame <= 2 || frame % 10 == 0 || frame > FRAMES - 5;
}

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "fuzz_level: %s\n", what);
    std::abort();
}

void press(Player* player, SDLKey key, bool down) {
    SDL_Event event = {};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.sym = key;
    handlePlayEvent(event, player);
}

// What any level must hold, however odd its file.
void checkLevel(Level& current) {
    if (current.getEnemyCount() != int(current.getEnemies().size()))
        broken("enemyCount differs from the number of ships");
    for (const Ship* ship : current.getEnemies())
        if (ship->getImage() == nullptr)
            broken("a ship without a picture");
    for (const Wall& wall : current.getWalls())
        if (wall.getImage() == nullptr)
            broken("a wall without a picture");
    int inFlight = 0;
    for (const Laser& laser : current.getLasers())
        if (laser.getType() == LASER_PLAYER && laser.inFlight())
            ++inFlight;
    if (current.getShotCount() != inFlight || inFlight > PLAYER_MAX_SHOTS)
        broken("shotCount differs from the player's shots in flight");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (chdir(GAME_DIR) != 0)
        broken("cannot enter the game directory");
    screen = InitVideo(SDL_DOUBLEBUF);
    if (screen == nullptr || !InitImages())
        broken("cannot start headless with the game's pictures");
    bg = GetImage(IMG_SPACE);
    const SDL_PixelFormat* f = screen->format;
    background = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 16, f->Rmask, f->Gmask, f->Bmask, 0);
    // Level files are read from a scratch directory of this process.
    char scratch[] = "/tmp/fuzz-level-XXXXXX";
    if (mkdtemp(scratch) == nullptr || chdir(scratch) != 0 || mkdir("levels", 0700) != 0)
        broken("cannot make a scratch directory");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream file("levels/level1.txt", std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    // The loader's problems are not shown: hostile files make thousands of them.
    changeLevel(1, background, 1 + int(size % 3), ignoreLoadProblem);
    Level* current = getCurrentLevel();
    Player* player = current->getPlayer();
    checkLevel(*current);
    for (int frame = 1; frame <= FRAMES; ++frame) {
        if (frame == 1 || frame == 30)
            press(player, SDLK_SPACE, true);
        if (frame == 2)
            press(player, SDLK_RIGHT, true);
        if (frame == 20)
            press(player, SDLK_UP, true);
        lives = STARTING_LIVES;
        SDL_Rect nothing = {0, 0, 0, 0};
        SDL_SetClipRect(screen, drawnForReal(frame) ? nullptr : &nothing);
        playFrame(current, player);
        SDL_SetClipRect(screen, nullptr);
        checkLevel(*current);
    }
    return 0;
}
