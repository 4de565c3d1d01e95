// Headless SDL for the tests.
#include "testutil.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "graphics.h"
#include "skarlume.h"

void ensureGame() {
    if (game_screen == nullptr) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_NE(InitVideo(SDL_DOUBLEBUF), nullptr) << SDL_GetError();
    }
    // A test may have unloaded the registry: load it again and point the game at it.
    if (!loaded) {
        ASSERT_TRUE(InitImages()) << "run the tests from the directory that holds images/";
    }
    screen = game_screen;
    bg = images[IMG_SPACE];
}

void clearScreen(Uint16 color) {
    SDL_FillRect(game_screen, nullptr, color);
}

Uint16 pixelAt(int x, int y) {
    const auto* row = static_cast<const Uint8*>(game_screen->pixels) + y * game_screen->pitch;
    return reinterpret_cast<const Uint16*>(row)[x];
}

int countNot(Uint16 color, int x, int y, int w, int h) {
    int count = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (pixelAt(i, j) != color)
                ++count;
    return count;
}

Uint16 rgb(Uint8 r, Uint8 g, Uint8 b) {
    return static_cast<Uint16>(SDL_MapRGB(game_screen->format, r, g, b));
}

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

ScopedPicture::ScopedPicture(int id, int w, int h, Uint8 r, Uint8 g, Uint8 b)
    : id(id), original(nullptr) {
    ensureGame();
    original = images[id];
    replacement = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, game_screen->format->Rmask,
                                       game_screen->format->Gmask, game_screen->format->Bmask, 0);
    SDL_FillRect(replacement, nullptr, SDL_MapRGB(replacement->format, r, g, b));
    images[id] = replacement;
}

ScopedPicture::~ScopedPicture() {
    images[id] = original;
    SDL_FreeSurface(replacement);
}

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "skarlume-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "cannot make a scratch directory";
    dir = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

std::string ScratchDir::write(const std::string& name, const std::string& contents) const {
    std::filesystem::path file = std::filesystem::path(dir) / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << contents;
    return file.string();
}

namespace {
// The tests never read or write a player's own files: before any test runs, home and the XDG
// directories point into a scratch folder of this run's, removed when the run ends.
class ScratchHome {
public:
    ScratchHome() {
        for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
            setenv(variable, (home.path() + "/" + variable).c_str(), 1);
    }

private:
    ScratchDir home;
};
const ScratchHome scratchHome;
}  // namespace

ScopedHome::ScopedHome() {
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
        const char* value = std::getenv(variable);
        saved.emplace_back(variable, value == nullptr ? "" : value);
        setenv(variable, (dir.path() + "/" + variable).c_str(), 1);
    }
}

ScopedHome::~ScopedHome() {
    for (const auto& [variable, value] : saved)
        setenv(variable.c_str(), value.c_str(), 1);
}
