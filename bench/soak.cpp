// Endurance run: random key presses over every level through the play screen's own event
// handling and frame, checking the level's books every frame and memory at intervals; then
// many level changes in a row, which must not grow the heap.
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "Level.h"
#include "graphics.h"
#include "skarlume.h"

#if defined(__SANITIZE_ADDRESS__)
#define SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_UNDER_ASAN 1
#endif
#endif

namespace {

namespace fs = std::filesystem;

// The stress level joins the rotation under this number, after the shipped ones.
constexpr int STRESS_NUMBER = 36;
constexpr int FRAMES_PER_VISIT = 4000;
constexpr int SAMPLE_EVERY = 20000;

struct Options {
    long long frames = 1000000;
    int changes = 1000;
    unsigned seed = 1;
    long maxGrowthKb = 512;
};

long residentKb() {
    long pages = 0, resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Bytes the program holds on the heap; the sanitizers keep their own books, so 0 there.
long heapInUseKb() {
#ifdef SOAK_UNDER_ASAN
    return 0;
#else
    return long(mallinfo2().uordblks / 1024);
#endif
}

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "soak: %s\n", what.c_str());
    std::exit(1);
}

// A scratch game directory: the real pictures and levels, plus the stress level.
std::vector<int> prepareGameDir(const std::string& dir) {
    fs::create_directories(dir + "/levels");
    fs::create_directory_symlink(std::string(GAME_DIR) + "/images", dir + "/images");
    std::vector<int> numbers;
    for (int number = 1; number <= LEVEL_COUNT; ++number) {
        std::string name = "/levels/level" + std::to_string(number) + ".txt";
        if (!fs::exists(std::string(GAME_DIR) + name))
            continue;
        fs::create_symlink(std::string(GAME_DIR) + name, dir + name);
        numbers.push_back(number);
    }
    fs::copy_file(std::string(GAME_DIR) + "/bench/stress_level.txt",
                  dir + "/levels/level" + std::to_string(STRESS_NUMBER) + ".txt");
    numbers.push_back(STRESS_NUMBER);
    return numbers;
}

// Every frame the level's counts must agree with its lists.
void checkBooks(const Level& current, int number, long long frame) {
    int inFlight = 0;
    for (const Laser& laser : current.getLasers())
        if (laser.getType() == LASER_PLAYER && laser.inFlight())
            ++inFlight;
    if (current.getEnemyCount() != int(current.getEnemies().size()))
        fail("level " + std::to_string(number) + " frame " + std::to_string(frame) +
             ": enemyCount " + std::to_string(current.getEnemyCount()) + " but " +
             std::to_string(current.getEnemies().size()) + " ships");
    if (current.getShotCount() != inFlight || inFlight > PLAYER_MAX_SHOTS)
        fail("level " + std::to_string(number) + " frame " + std::to_string(frame) +
             ": shotCount " + std::to_string(current.getShotCount()) + " with " +
             std::to_string(inFlight) + " player's shots in flight");
}

class RandomPlayer {
public:
    explicit RandomPlayer(unsigned seed) : random(seed) {}

    // Mostly nothing, sometimes an arrow or space going down or up, rarely leaving the level.
    bool nextEvent(SDL_Event& event) {
        static const SDLKey keys[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE};
        event = SDL_Event{};
        unsigned roll = random() % 100000;
        if (roll < 2) {
            event.type = SDL_KEYDOWN;
            event.key.keysym.sym = roll == 0 ? SDLK_ESCAPE : SDLK_q;
            return true;
        }
        if (roll < 9000) {
            event.type = roll % 2 == 0 ? SDL_KEYDOWN : SDL_KEYUP;
            event.key.keysym.sym = keys[random() % 5];
            return true;
        }
        if (roll < 10000) {
            event.type = SDL_MOUSEMOTION;
            return true;
        }
        return false;
    }
    unsigned pick(unsigned n) { return random() % n; }

private:
    std::mt19937 random;
};

struct Sample {
    long long frame;
    long rssKb;
    long heapKb;
};

}  // namespace

int main(int argc, char* argv[]) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--frames") == 0)
            options.frames = std::atoll(argv[i + 1]);
        else if (std::strcmp(argv[i], "--changes") == 0)
            options.changes = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seed") == 0)
            options.seed = unsigned(std::atol(argv[i + 1]));
        else if (std::strcmp(argv[i], "--max-growth-kb") == 0)
            options.maxGrowthKb = std::atol(argv[i + 1]);
        else
            fail("usage: skarlume_soak [--frames N] [--changes N] [--seed N] [--max-growth-kb N]");
    }
    if (argc % 2 == 0)
        fail("every option takes a value");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string dir =
        (fs::temp_directory_path() / ("skarlume-soak-" + std::to_string(getpid()))).string();
    const std::vector<int> numbers = prepareGameDir(dir);
    if (chdir(dir.c_str()) != 0)
        fail("cannot enter " + dir);
    screen = InitVideo(SDL_DOUBLEBUF);
    if (screen == nullptr || !InitImages())
        fail("cannot start headless");
    bg = GetImage(IMG_SPACE);

    RandomPlayer player(options.seed);
    std::vector<Sample> samples;
    long long frames = 0, visits = 0, won = 0, lost = 0, left = 0;
    // Memory is judged from the end of the first round over every level on.
    long long warmFrame = -1;
    while (frames < options.frames) {
        const int number = numbers[visits % numbers.size()];
        ++visits;
        level = number;
        p = 1 + int(player.pick(3));
        lives = 1 + int(player.pick(4));
        changeLevel(number, bg, p);
        Level* current = getCurrentLevel();
        Player* ship = current->getPlayer();
        int state = STATE_GAME;
        for (int frame = 0; frame < FRAMES_PER_VISIT && state == STATE_GAME; ++frame) {
            SDL_Event event;
            while (state == STATE_GAME && player.nextEvent(event))
                state = handlePlayEvent(event, ship);
            if (state != STATE_GAME)
                break;
            state = playFrame(current, ship);
            ++frames;
            checkBooks(*current, number, frames);
            if (frames % SAMPLE_EVERY == 0)
                samples.push_back({frames, residentKb(), heapInUseKb()});
        }
        won += state == STATE_LEVEL_WON;
        lost += state == STATE_LEVEL_LOST || state == STATE_GAME_OVER;
        left += state == STATE_TITLE || state == STATE_QUIT;
        if (warmFrame < 0 && visits == long(numbers.size()))
            warmFrame = frames;
    }
    std::printf(
        "soak: %lld frames over %lld visits of %zu levels (seed %u): %lld won, %lld lost, "
        "%lld left with escape or q\n",
        frames, visits, numbers.size(), options.seed, won, lost, left);

    // Memory after warming up: the largest sample against the first one after it.
    long baseRss = -1, baseHeap = -1, topRss = 0, topHeap = 0;
    for (const Sample& sample : samples) {
        if (warmFrame < 0 || sample.frame <= warmFrame)
            continue;
        if (baseRss < 0) {
            baseRss = sample.rssKb;
            baseHeap = sample.heapKb;
        }
        topRss = std::max(topRss, sample.rssKb);
        topHeap = std::max(topHeap, sample.heapKb);
    }
    if (baseRss >= 0) {
        std::printf(
            "soak: resident %ld kB after warm-up, at most %ld kB later (%zu samples); "
            "heap in use %ld kB, at most %ld kB\n",
            baseRss, topRss, samples.size(), baseHeap, topHeap);
#ifndef SOAK_UNDER_ASAN
        // The sanitizers hold freed memory back in quarantine, so resident size grows there
        // by design; their leak check at exit stands in for this one.
        if (topRss - baseRss > options.maxGrowthKb || topHeap - baseHeap > options.maxGrowthKb)
            fail("memory grew during play");
#endif
    }

    // Level changes: one round to warm up, then the heap must come back to where it was.
    for (int number : numbers)
        changeLevel(number, bg, 1);
    const long heapBefore = heapInUseKb(), rssBefore = residentKb();
    for (int i = 0; i < options.changes; ++i)
        changeLevel(numbers[i % numbers.size()], bg, 1 + i % 3);
    for (int number : numbers)
        changeLevel(number, bg, 1);
    const long heapAfter = heapInUseKb(), rssAfter = residentKb();
    std::printf("soak: %d level changes: heap in use %ld -> %ld kB, resident %ld -> %ld kB\n",
                options.changes, heapBefore, heapAfter, rssBefore, rssAfter);
#ifndef SOAK_UNDER_ASAN
    if (heapAfter - heapBefore > 64 || rssAfter - rssBefore > options.maxGrowthKb)
        fail("level changes grew the heap");
#endif

    UnloadImages();
    if (chdir("/") == 0)
        fs::remove_all(dir);
    return 0;
}
