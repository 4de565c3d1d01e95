// What a frame, a level build and the start-up cost, headless on SDL's dummy video driver. Every
// case is sampled once a round and the rounds repeat, so a disturbance spoils one sample of each
// case rather than one case; each figure is given as the median and the minimum of its samples.
// The yardstick, one full-window blit of the background, is sampled beside every frame.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Level.h"
#include "graphics.h"
#include "headless.h"
#include "plaindrawing.h"
#include "replayrunner.h"
#include "skarlume.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The targets, as the README states them.
constexpr double MEAN_FRAME_TARGET_BLITS = 1.08;
constexpr double WORST_FRAME_TARGET_BLITS = 1.15;
constexpr double STRESS_STEP_TARGET_US = 15;
constexpr double STRESS_DRAW_TARGET_RATIO = 0.8;
constexpr double STARTUP_TARGET_MS = 60;

double microsSince(Clock::time_point from) {
    return std::chrono::duration<double, std::micro>(Clock::now() - from).count();
}

// The samples of every figure, one a round.
class Figures {
public:
    void add(const std::string& name, double value) { samples[name].push_back(value); }
    bool has(const std::string& name) const { return samples.count(name) != 0; }
    double median(const std::string& name) const {
        std::vector<double> values = samples.at(name);
        std::sort(values.begin(), values.end());
        size_t n = values.size();
        return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    }
    double minimum(const std::string& name) const {
        const std::vector<double>& values = samples.at(name);
        return *std::min_element(values.begin(), values.end());
    }
    size_t count(const std::string& name) const { return samples.at(name).size(); }
    const std::vector<double>& all(const std::string& name) const { return samples.at(name); }

private:
    std::map<std::string, std::vector<double>> samples;
};

void enter(const std::string& dir) {
    if (chdir(dir.c_str()) != 0) {
        std::perror(dir.c_str());
        std::exit(2);
    }
}

// A level and the input that plays it.
struct Scenario {
    std::string name;
    std::string dir;  // holds levels/levelN.txt
    Replay replay;
    int lastFrame = 0;  // frames to look through for the busiest moment
    int busiestFrame = 0;
    size_t lasers = 0;
    size_t ships = 0;
};

// Starts a scenario's level from its own directory with a fresh game's lives; a ReplayRunner
// made next plays it.
const Replay& enterScenario(const Scenario& scenario) {
    enter(scenario.dir);
    lives = STARTING_LIVES;
    return scenario.replay;
}

// The busiest moment: the end of the frame with the most lasers and ships in the level, among
// the frames after which it is still being played.
void findBusiestFrame(Scenario& scenario) {
    ClippedDrawing clipped;
    ReplayRunner run(enterScenario(scenario));
    size_t best = 0;
    for (int frame = 1; frame <= scenario.lastFrame && run.play(frame) == STATE_GAME; ++frame) {
        size_t lasers = run.level()->getLasers().size();
        size_t ships = run.level()->getEnemies().size();
        if (lasers + ships > best) {
            best = lasers + ships;
            scenario.busiestFrame = frame;
            scenario.lasers = lasers;
            scenario.ships = ships;
        }
    }
}

// One sample of the frame after the busiest moment. The frames before run with clipped
// drawing; the busiest frame itself draws for real, as the frame before any frame does in play,
// so caches are as warm as in the game. Then the step, and four draws in an order that turns
// with the round: the game's draw; the same moment drawn the plain way (every picture run-length
// encoded, tile by tile, no caches); and the two yardsticks, one full-window blit of the
// background as the game loads it and of an opaque copy of it, which SDL blits as a plain copy
// of memory. The four lie within a millisecond, so that they share what else the machine does.
void sampleFrame(const Scenario& scenario, int round, PlainDrawing& plain,
                 SDL_Surface* opaqueBackground, Figures& figures) {
    std::unique_ptr<ReplayRunner> run;
    {
        ClippedDrawing clipped;
        run = std::make_unique<ReplayRunner>(enterScenario(scenario));
        for (int frame = 1; frame < scenario.busiestFrame; ++frame)
            run->play(frame);
    }
    // Building the level drew the background into the level's own backdrop, and SDL encodes a
    // picture afresh for each new destination: the yardsticks are blits in the steady state,
    // their pictures last read a frame before, as the backdrop is.
    DrawImage(bg, 0, 0);
    DrawImage(opaqueBackground, 0, 0);
    run->play(scenario.busiestFrame);
    run->feedEvents(scenario.busiestFrame + 1);
    Level* current = run->level();

    Clock::time_point start = Clock::now();
    current->step();
    const double step = microsSince(start);
    // The game's level draw leaves the spare lives to the play screen: so does the plain one.
    const FrameState moment = captureFrame(*current, 1);
    const std::string& name = scenario.name;
    double draw = 0, plainDraw = 0, asLoaded = 0, asCopy = 0;
    for (int turn = 0; turn < 4; ++turn) {
        start = Clock::now();
        switch ((round + turn) % 4) {
            case 0:
                // As the play screen draws it: over the frame before. The other draws in
                // between change what the screen shows, not what this one blits.
                Slock(screen);
                current->redraw({});
                Sulock(screen);
                draw = microsSince(start);
                break;
            case 1:
                plain.draw(moment);
                plainDraw = microsSince(start);
                break;
            case 2:
                DrawImage(bg, 0, 0);
                asLoaded = microsSince(start);
                break;
            default:
                DrawImage(opaqueBackground, 0, 0);
                asCopy = microsSince(start);
                break;
        }
    }
    figures.add(name + ".step", step);
    figures.add(name + ".draw", draw);
    figures.add(name + ".plain", plainDraw);
    figures.add(name + ".blit", asLoaded);
    figures.add(name + ".copyblit", asCopy);
}

// The median of one kind of sample over every scenario.
double pooledMedian(const std::vector<Scenario>& scenarios, const Figures& figures,
                    const std::string& kind) {
    Figures pooled;
    for (const Scenario& scenario : scenarios)
        for (double sample : figures.all(scenario.name + kind))
            pooled.add(kind, sample);
    return pooled.median(kind);
}

// Figures made of two timings of the same sample: a frame in yardstick blits, and the game's
// draw against the plain one.
void addRatios(const std::vector<Scenario>& scenarios, const std::string& yardstick,
               Figures& figures) {
    for (const Scenario& scenario : scenarios) {
        const std::string& n = scenario.name;
        for (size_t round = 0; round < figures.count(n + ".step"); ++round) {
            const double frame = figures.all(n + ".step")[round] + figures.all(n + ".draw")[round];
            figures.add(n + ".frame", frame);
            figures.add(n + ".yardstick", figures.all(n + yardstick)[round]);
            figures.add(n + ".blits", frame / figures.all(n + yardstick)[round]);
            figures.add(n + ".vsplain",
                        figures.all(n + ".draw")[round] / figures.all(n + ".plain")[round]);
        }
    }
}

// The stress level's step over the 100 frames around its busiest moment, drawing clipped: the
// mean of one round's frames is one sample.
void sampleStressWindow(const Scenario& scenario, Figures& figures) {
    constexpr int WINDOW = 100;
    const int first = std::max(1, scenario.busiestFrame - WINDOW / 2);
    ClippedDrawing clipped;
    ReplayRunner run(enterScenario(scenario));
    for (int frame = 1; frame < first; ++frame)
        run.play(frame);
    double total = 0;
    for (int frame = first; frame < first + WINDOW; ++frame) {
        run.feedEvents(frame);
        Level* current = run.level();
        Clock::time_point start = Clock::now();
        current->step();
        total += microsSince(start);
        current->draw();
    }
    figures.add("stress.window_step", total / WINDOW);
}

// Building a level from its file, and its first draw, which composes what never moves.
void sampleLevelBuild(const std::string& name, const std::string& dir, int number,
                      Figures& figures) {
    enter(dir);
    Clock::time_point start = Clock::now();
    Level* built = new Level(number, bg, 1);
    figures.add("load." + name, microsSince(start));
    start = Clock::now();
    Slock(screen);
    built->draw();
    Sulock(screen);
    figures.add("firstdraw." + name, microsSince(start));
    delete built;
}

// ---- Start-up ----

std::string gameBinary = GAME_BINARY;

// The real program started with a preloaded stamp on SDL_Flip: from just before the spawn to the
// first flip, the title screen being drawn. Milliseconds of wall time, or a negative number on
// failure.
double startupOnce() {
    int channel[2];
    if (pipe(channel) != 0)
        return -1;
    std::vector<std::string> settings = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy",
                                         std::string("LD_PRELOAD=") + FIRST_FLIP_STAMP,
                                         "FIRST_FLIP_FD=" + std::to_string(channel[1])};
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const char* name = *entry;
        if (std::strncmp(name, "SDL_", 4) != 0 && std::strncmp(name, "LD_PRELOAD=", 11) != 0)
            settings.push_back(name);
    }
    std::vector<char*> envp;
    for (std::string& setting : settings)
        envp.push_back(setting.data());
    envp.push_back(nullptr);
    std::string program = gameBinary;
    char* argv[] = {program.data(), nullptr};
    pid_t child;
    timespec before;
    clock_gettime(CLOCK_MONOTONIC, &before);
    int spawned = posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, envp.data());
    close(channel[1]);
    if (spawned != 0) {
        close(channel[0]);
        return -1;
    }
    char line[32] = {};
    ssize_t got = read(channel[0], line, sizeof line - 1);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    long long flipped = std::atoll(line);
    long long started = before.tv_sec * 1000000000LL + before.tv_nsec;
    return double(flipped - started) / 1e6;
}

// ---- Run-length encoding, picture by picture ----

// Blits of each picture as the game draws it (whole, and a laser's growing part), with and
// without run-length encoding, the two interleaved; microseconds a blit.
void comparePictureEncodings(int rounds) {
    struct Case {
        int id;
        const char* how;
        int sy;  // rows left out at the top, as a laser coming out of its birth line
    };
    std::vector<Case> cases;
    for (int id = 0; id < IMAGE_COUNT; ++id)
        cases.push_back({id, "whole", 0});
    for (int id : {IMG_LASER_N, IMG_LASER_S, IMG_ENEMY_LASER_V})
        cases.push_back({id, "part", 6});
    std::printf("%-30s %-6s %18s %18s  %s\n", "picture", "draw", "RLE median (min)",
                "plain median (min)", "faster");
    for (const Case& c : cases) {
        SDL_Surface* picture = images[c.id];
        SDL_Surface* variants[2];
        for (int rle = 0; rle < 2; ++rle) {
            variants[rle] = SDL_ConvertSurface(picture, picture->format, SDL_SWSURFACE);
            SDL_SetColorKey(variants[rle], SDL_SRCCOLORKEY | (rle == 1 ? SDL_RLEACCEL : 0),
                            picture->format->colorkey);
        }
        const bool full = picture->w == SCREEN_WIDTH;
        const int blits = full ? 4 : 200;
        Figures figures;
        for (int round = 0; round < rounds; ++round) {
            for (int turn = 0; turn < 2; ++turn) {
                const int rle = (round + turn) % 2;
                Clock::time_point start = Clock::now();
                for (int i = 0; i < blits; ++i) {
                    int x = full ? 0 : 40 + (i * 37) % 880, y = full ? 0 : 40 + (i * 53) % 640;
                    DrawPartialImage(variants[rle], x, y, 0, c.sy, picture->w, picture->h - c.sy);
                }
                figures.add(rle == 1 ? "rle" : "plain", microsSince(start) / blits);
            }
        }
        const bool rleFaster = figures.median("rle") < figures.median("plain");
        std::printf("%-30s %-6s %9.3f (%6.3f) %9.3f (%6.3f)  %s\n", imageFiles[c.id], c.how,
                    figures.median("rle"), figures.minimum("rle"), figures.median("plain"),
                    figures.minimum("plain"), rleFaster ? "RLE" : "plain");
        SDL_FreeSurface(variants[0]);
        SDL_FreeSurface(variants[1]);
    }
}

// ---- Scenarios ----

std::vector<Scenario> shippedLevels() {
    std::vector<Scenario> found;
    for (int number = 1; number <= LEVEL_COUNT; ++number) {
        std::string levelFile =
            std::string(GAME_DIR) + "/levels/level" + std::to_string(number) + ".txt";
        std::string solution =
            std::string(GAME_DIR) + "/solutions/level" + std::to_string(number) + ".txt";
        if (!fs::exists(levelFile) || !fs::exists(solution))
            continue;
        Scenario scenario;
        std::string error;
        if (!loadReplay(solution, scenario.replay, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            continue;
        }
        scenario.name = "level" + std::to_string(number);
        scenario.dir = GAME_DIR;
        scenario.replay.level = number;
        int lastEvent = scenario.replay.events.empty() ? 0 : scenario.replay.events.back().frame;
        scenario.lastFrame = lastEvent + REPLAY_GRACE_FRAMES;
        found.push_back(scenario);
    }
    return found;
}

Scenario stressLevel(const std::string& scratch) {
    fs::create_directories(scratch + "/levels");
    fs::copy_file(std::string(BENCH_DATA_DIR) + "/stress_level.txt", scratch + "/levels/level1.txt",
                  fs::copy_options::overwrite_existing);
    Scenario scenario;
    scenario.name = "stress";
    scenario.dir = scratch;
    scenario.replay.level = 1;
    scenario.lastFrame = 1500;
    // The player keeps five shots in flight up its corridor, each tested against every ship.
    for (int frame = 1; frame < scenario.lastFrame + 200; frame += 12) {
        scenario.replay.events.push_back({frame, true, SDLK_SPACE});
        scenario.replay.events.push_back({frame + 1, false, SDLK_SPACE});
    }
    return scenario;
}

int largestShippedLevel() {
    int largest = 0;
    uintmax_t largestSize = 0;
    for (int number = 1; number <= LEVEL_COUNT; ++number) {
        fs::path file = fs::path(GAME_DIR) / "levels" / ("level" + std::to_string(number) + ".txt");
        std::error_code error;
        uintmax_t size = fs::file_size(file, error);
        if (!error && size > largestSize) {
            largestSize = size;
            largest = number;
        }
    }
    return largest;
}

// ---- Report ----

const char* verdict(bool met) {
    return met ? "met" : "MISSED";
}

// A ratio as the least disturbed samples give it: the quotient of the two minimums. (The
// minimum of the quotients would only show the sample whose yardstick was disturbed most.)
double fromMinimums(const Figures& figures, const std::string& over, const std::string& under) {
    return figures.minimum(over) / figures.minimum(under);
}

// "median / minimum" of one figure.
std::string both(const Figures& figures, const std::string& figure, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f / %.*f", decimals, figures.median(figure), decimals,
                  figures.minimum(figure));
    return text;
}

void printLevelTable(const std::vector<Scenario>& scenarios, const Figures& figures) {
    std::printf(
        "\nEach figure: median / minimum of %zu rounds, microseconds; plain draw = the same moment "
        "drawn the plain way. blits = (step + draw) / the yardstick blit of the same sample: the "
        "median of those, and the minimum frame over the minimum yardstick.\n",
        figures.count(scenarios.front().name + ".step"));
    std::printf("%-8s %5s %6s %5s %15s %15s %15s %15s %13s\n", "level", "frame", "lasers", "ships",
                "step", "draw", "plain draw", "yardstick", "blits");
    for (const Scenario& scenario : scenarios) {
        const std::string& n = scenario.name;
        char blits[32];
        std::snprintf(blits, sizeof blits, "%.3f / %.3f", figures.median(n + ".blits"),
                      fromMinimums(figures, n + ".frame", n + ".yardstick"));
        std::printf("%-8s %5d %6zu %5zu %15s %15s %15s %15s %13s\n", n.c_str(),
                    scenario.busiestFrame + 1, scenario.lasers, scenario.ships,
                    both(figures, n + ".step", 2).c_str(), both(figures, n + ".draw", 1).c_str(),
                    both(figures, n + ".plain", 1).c_str(),
                    both(figures, n + ".yardstick", 1).c_str(), blits);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    int rounds = 31;
    bool startup = true, stress = true, pictures = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--game") == 0 && i + 1 < argc)
            gameBinary = fs::absolute(argv[++i]).string();
        else if (std::strcmp(argv[i], "--no-startup") == 0)
            startup = false;
        else if (std::strcmp(argv[i], "--levels-only") == 0)
            stress = false;
        else if (std::strcmp(argv[i], "--pictures") == 0)
            pictures = true;
        else {
            std::fprintf(stderr,
                         "usage: skarlume_bench [--rounds N] [--no-startup] [--levels-only]\n"
                         "                      [--game BINARY] [--pictures]\n");
            return 2;
        }
    }
    enter(GAME_DIR);
    if (!startHeadless())
        return 2;
    if (pictures) {
        comparePictureEncodings(rounds);
        return 0;
    }

    const std::string scratch =
        (fs::temp_directory_path() / ("skarlume-bench-" + std::to_string(getpid()))).string();
    std::vector<Scenario> scenarios = shippedLevels();
    if (scenarios.empty()) {
        std::fprintf(stderr, "no shipped level with a replay under %s\n", GAME_DIR);
        return 2;
    }
    if (stress)
        scenarios.push_back(stressLevel(scratch));
    for (Scenario& scenario : scenarios)
        findBusiestFrame(scenario);
    const int largest = largestShippedLevel();

    PlainDrawing plain(game_screen, true);
    SDL_Surface* opaqueBackground = SDL_ConvertSurface(bg, bg->format, SDL_SWSURFACE);
    SDL_SetColorKey(opaqueBackground, 0, 0);
    // A first round warms the plain drawing's pictures and SDL's blit maps; it is not counted.
    Figures figures, warmUp;
    for (int round = -1; round < rounds; ++round) {
        Figures& kept = round < 0 ? warmUp : figures;
        if (startup) {
            enter(GAME_DIR);
            double ms = startupOnce();
            if (ms < 0) {
                std::fprintf(stderr, "start-up: the game did not reach its first flip\n");
                return 2;
            }
            kept.add("startup", ms);
        }
        for (const Scenario& scenario : scenarios)
            sampleFrame(scenario, round + 1, plain, opaqueBackground, kept);
        if (stress) {
            sampleStressWindow(scenarios.back(), kept);
            sampleLevelBuild("stress", scratch, 1, kept);
        }
        if (largest > 0)
            sampleLevelBuild("level" + std::to_string(largest), GAME_DIR, largest, kept);
    }
    enter(GAME_DIR);
    fs::remove_all(scratch);

    SDL_FreeSurface(opaqueBackground);
    // The yardstick is the floor of a frame: whichever of the two background blits is faster.
    const double asLoaded = pooledMedian(scenarios, figures, ".blit");
    const double asCopy = pooledMedian(scenarios, figures, ".copyblit");
    const std::string yardstick = asLoaded <= asCopy ? ".blit" : ".copyblit";
    addRatios(scenarios, yardstick, figures);
    printLevelTable(scenarios, figures);
    std::printf(
        "\nThe background blitted as the game loads it (colour key, run-length encoded): "
        "%.1f us; as an opaque copy (a plain copy of memory): %.1f us (medians of every "
        "sample). The yardstick is the faster, the %s.\n",
        asLoaded, asCopy, yardstick == ".blit" ? "first" : "second");

    // The shipped levels' frames in blits: the mean over the levels, and the worst level.
    double meanMedian = 0, meanMinimum = 0, worstMedian = 0, worstMinimum = 0;
    double plainMeanMedian = 0;
    std::string worst;
    int shipped = 0;
    for (const Scenario& scenario : scenarios) {
        if (scenario.name == "stress")
            continue;
        const std::string figure = scenario.name + ".blits";
        ++shipped;
        meanMedian += figures.median(figure);
        meanMinimum +=
            fromMinimums(figures, scenario.name + ".frame", scenario.name + ".yardstick");
        plainMeanMedian += figures.median(scenario.name + ".plain");
        if (figures.median(figure) > worstMedian) {
            worstMedian = figures.median(figure);
            worstMinimum =
                fromMinimums(figures, scenario.name + ".frame", scenario.name + ".yardstick");
            worst = scenario.name;
        }
    }
    meanMedian /= shipped;
    meanMinimum /= shipped;
    plainMeanMedian /= shipped;

    std::printf("\nThe README's table (skarlume_bench, %d rounds):\n\n", rounds);
    std::printf("| Figure | Target | Median | Minimum | |\n|---|---|---|---|---|\n");
    // In the rows of ratios the minimum column is the quotient of the two minimums.
    std::printf(
        "| One full-window blit of the background, the yardstick (level 1's samples) | | %.1f "
        "us | %.1f us | |\n",
        figures.median("level1.yardstick"), figures.minimum("level1.yardstick"));
    std::printf(
        "| A shipped level's frame (step + draw) at its busiest, mean of the %d levels | at "
        "most %.2f blits | %.3f blits | %.3f blits | %s |\n",
        shipped, MEAN_FRAME_TARGET_BLITS, meanMedian, meanMinimum,
        verdict(meanMedian <= MEAN_FRAME_TARGET_BLITS));
    std::printf(
        "| The worst shipped level's frame (%s) | at most %.2f blits | %.3f blits | %.3f "
        "blits | %s |\n",
        worst.c_str(), WORST_FRAME_TARGET_BLITS, worstMedian, worstMinimum,
        verdict(worstMedian <= WORST_FRAME_TARGET_BLITS));
    std::printf(
        "| A shipped level's draw drawn the plain way, mean of the %d levels | | %.1f us "
        "| | |\n",
        shipped, plainMeanMedian);
    if (stress) {
        std::printf(
            "| Stress level's step at its busiest (%zu lasers, %zu ships, 60 walls) | at "
            "most %.0f us | %.2f us | %.2f us | %s |\n",
            scenarios.back().lasers, scenarios.back().ships, STRESS_STEP_TARGET_US,
            figures.median("stress.step"), figures.minimum("stress.step"),
            verdict(figures.median("stress.step") <= STRESS_STEP_TARGET_US));
        std::printf(
            "| Stress level's step, mean over the 100 frames around it | | %.2f us | "
            "%.2f us | |\n",
            figures.median("stress.window_step"), figures.minimum("stress.window_step"));
        std::printf("| Stress level's draw | | %.1f us | %.1f us | |\n",
                    figures.median("stress.draw"), figures.minimum("stress.draw"));
        std::printf("| Stress level's draw drawn the plain way | | %.1f us | %.1f us | |\n",
                    figures.median("stress.plain"), figures.minimum("stress.plain"));
        std::printf(
            "| Stress draw divided by the plain way's, sample by sample | at most %.1f | "
            "%.3f | %.3f | %s |\n",
            STRESS_DRAW_TARGET_RATIO, figures.median("stress.vsplain"),
            fromMinimums(figures, "stress.draw", "stress.plain"),
            verdict(figures.median("stress.vsplain") <= STRESS_DRAW_TARGET_RATIO));
        std::printf(
            "| Building the stress level from its file; its first draw | | %.1f us; "
            "%.0f us | %.1f us; %.0f us | |\n",
            figures.median("load.stress"), figures.median("firstdraw.stress"),
            figures.minimum("load.stress"), figures.minimum("firstdraw.stress"));
    }
    if (largest > 0) {
        const std::string n = "level" + std::to_string(largest);
        std::printf(
            "| Building %s (the largest file) from its file; its first draw | | %.1f "
            "us; %.0f us | %.1f us; %.0f us | |\n",
            n.c_str(), figures.median("load." + n), figures.median("firstdraw." + n),
            figures.minimum("load." + n), figures.minimum("firstdraw." + n));
    }
    if (startup)
        std::printf(
            "| Start-up to the first drawn title frame | under %.0f ms | %.1f ms | %.1f "
            "ms | %s |\n",
            STARTUP_TARGET_MS, figures.median("startup"), figures.minimum("startup"),
            verdict(figures.median("startup") < STARTUP_TARGET_MS));
    return 0;
}
