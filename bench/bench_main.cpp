// What a frame, a level load and the start-up cost, headless on SDL's dummy video driver,
// against one full-window blit of the background as the yardstick.
#include <benchmark/benchmark.h>
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
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Level.h"
#include "graphics.h"
#include "replay.h"
#include "skarlume.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Targets: a shipped level's frame in blits, the stress level's step, start-up.
constexpr double FRAME_TARGET_BLITS = 1.3;
constexpr double STRESS_STEP_TARGET_US = 20;
constexpr double STARTUP_TARGET_MS = 60;

double microsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::micro>(to - from).count();
}

// The middle of a set of timings: robust against the odd sample that another process spoilt.
double median(std::vector<double> samples) {
    if (samples.empty())
        return 0;
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

void enter(const std::string& dir) {
    if (chdir(dir.c_str()) != 0) {
        std::perror(dir.c_str());
        std::exit(2);
    }
}

// While it lives every draw is clipped away by an empty clip rectangle, so the drawing logic
// (lasers growing and shrinking, explosions counting down) runs without its pixels. The screen
// stays the blits' destination: SDL re-encodes a run-length picture whenever its destination
// changes, which a stand-in screen would cause on every switch.
class ClippedDrawing {
public:
    ClippedDrawing() {
        SDL_Rect nothing = {0, 0, 0, 0};
        SDL_SetClipRect(game_screen, &nothing);
    }
    ~ClippedDrawing() { SDL_SetClipRect(game_screen, nullptr); }
    ClippedDrawing(const ClippedDrawing&) = delete;
    ClippedDrawing& operator=(const ClippedDrawing&) = delete;
};

// A level and the input that plays it; the stress level has no input.
struct Scenario {
    std::string name;
    std::string dir;  // holds levels/levelN.txt
    Replay replay;
    int lastFrame = 0;  // frames to look through for the busiest moment
    int busiestFrame = 0;
    size_t lasers = 0;
    size_t ships = 0;
};

// Plays a scenario frame by frame through the play screen's own event handling and frame.
class ReplayRun {
public:
    explicit ReplayRun(const Scenario& scenario) : replay(scenario.replay) {
        enter(scenario.dir);
        lives = 4;
        ::level = replay.level;
        p = replay.ship;
        changeLevel(replay.level, bg, replay.ship);
        current = getCurrentLevel();
        player = current->getPlayer();
    }

    // Hands the play screen the events due before `frame`; false if one ended the visit.
    bool feedEvents(int frame) {
        for (; next < replay.events.size() && replay.events[next].frame <= frame; ++next) {
            SDL_Event event = {};
            event.type = replay.events[next].press ? SDL_KEYDOWN : SDL_KEYUP;
            event.key.keysym.sym = replay.events[next].key;
            if (handlePlayEvent(event, player) != STATE_GAME)
                return false;
        }
        return true;
    }

    // One whole frame as the play screen runs it; false once the level is over.
    bool playFrame(int frame) {
        return feedEvents(frame) && ::playFrame(current, player) == STATE_GAME;
    }

    Level* currentLevel() const { return current; }

private:
    const Replay& replay;
    size_t next = 0;
    Level* current;
    Player* player;
};

// The busiest moment: the end of the frame with the most lasers and ships in the level, among
// the frames after which it is still being played.
void findBusiestFrame(Scenario& scenario) {
    ClippedDrawing clipped;
    ReplayRun run(scenario);
    size_t best = 0;
    for (int frame = 1; frame <= scenario.lastFrame && run.playFrame(frame); ++frame) {
        size_t lasers = run.currentLevel()->getLasers().size();
        size_t ships = run.currentLevel()->getEnemies().size();
        if (lasers + ships > best) {
            best = lasers + ships;
            scenario.busiestFrame = frame;
            scenario.lasers = lasers;
            scenario.ships = ships;
        }
    }
}

// Times the step and the draw of the frame after the busiest moment. The frames before it run
// with clipped drawing; the busiest frame itself draws for real, as the frame before any frame
// does in play, so caches are as warm as in the game.
void BM_FrameAtBusiestMoment(benchmark::State& state, const Scenario* scenario) {
    std::vector<double> steps, draws;
    const int busiest = scenario->busiestFrame;
    for (auto _ : state) {
        std::unique_ptr<ReplayRun> run;
        {
            ClippedDrawing clipped;
            run = std::make_unique<ReplayRun>(*scenario);
            for (int frame = 1; frame < busiest; ++frame)
                run->playFrame(frame);
        }
        run->playFrame(busiest);
        run->feedEvents(busiest + 1);
        Level* current = run->currentLevel();
        Clock::time_point start = Clock::now();
        current->step();
        Clock::time_point stepped = Clock::now();
        Slock(screen);
        current->draw();
        Sulock(screen);
        Clock::time_point drawn = Clock::now();
        double step = microsBetween(start, stepped), draw = microsBetween(stepped, drawn);
        steps.push_back(step);
        draws.push_back(draw);
        state.SetIterationTime((step + draw) / 1e6);
    }
    state.counters["step_us"] = median(steps);
    state.counters["draw_us"] = median(draws);
    state.counters["lasers"] = double(scenario->lasers);
    state.counters["ships"] = double(scenario->ships);
}

// The stress level's step alone, over many consecutive frames around its busiest moment: the
// step is a few microseconds, so one sample per fast-forward would mostly measure the clock.
void BM_StressStepWindow(benchmark::State& state, const Scenario* scenario) {
    constexpr int WINDOW = 100;
    const int first = std::max(1, scenario->busiestFrame - WINDOW / 2);
    double lasersSeen = 0;
    std::vector<double> steps;
    for (auto _ : state) {
        std::unique_ptr<ReplayRun> run;
        ClippedDrawing clipped;
        run = std::make_unique<ReplayRun>(*scenario);
        for (int frame = 1; frame < first; ++frame)
            run->playFrame(frame);
        double total = 0;
        for (int frame = first; frame < first + WINDOW; ++frame) {
            Level* current = run->currentLevel();
            lasersSeen += double(current->getLasers().size());
            Clock::time_point start = Clock::now();
            current->step();
            double us = microsBetween(start, Clock::now());
            total += us;
            steps.push_back(us);
            current->draw();
        }
        state.SetIterationTime(total / WINDOW / 1e6);
    }
    state.counters["lasers"] =
        benchmark::Counter(lasersSeen / WINDOW, benchmark::Counter::kAvgIterations);
    state.counters["median_us"] = median(steps);
}

// The yardstick: one full-window blit of the level background.
void BM_BackgroundBlit(benchmark::State& state) {
    std::vector<double> blits;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        DrawImage(bg, 0, 0);
        benchmark::ClobberMemory();
        double us = microsBetween(start, Clock::now());
        blits.push_back(us);
        state.SetIterationTime(us / 1e6);
    }
    state.counters["median_us"] = median(blits);
    state.SetLabel(bg->flags & SDL_RLEACCEL ? "RLE colour key" : "no RLE");
}

// Building a level from its file (and nothing else: the delete is not timed).
void BM_LoadLevel(benchmark::State& state, std::string dir, int number) {
    enter(dir);
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        Level* built = new Level(number, bg, 1);
        Clock::time_point end = Clock::now();
        benchmark::DoNotOptimize(built);
        delete built;
        state.SetIterationTime(microsBetween(start, end) / 1e6);
    }
}

// Keeps every run for the summary after the console has shown it.
class KeepingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            kept[run.run_name.function_name] = run;
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Run> kept;
};

// ---- Start-up ----

// The real program started with a preloaded stamp on SDL_Flip: from just before the spawn to the
// first flip, the title screen being drawn. Milliseconds of wall time, or a negative number on
// failure; `cpuMs` gets the processor time the game used meanwhile.
std::string gameBinary = GAME_BINARY;

double startupOnce(double& cpuMs) {
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
    rusage usage = {};
    wait4(child, &status, 0, &usage);
    cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
            (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    long long flipped = std::atoll(line);
    long long started = before.tv_sec * 1000000000LL + before.tv_nsec;
    return double(flipped - started) / 1e6;
}

struct StartupFigures {
    double best = 0, median = 0, worst = 0, cpuMedian = 0;
};

StartupFigures measureStartup(int runs) {
    std::vector<double> times, cpuTimes;
    for (int i = 0; i < runs; ++i) {
        double cpuMs = 0;
        double ms = startupOnce(cpuMs);
        if (ms < 0) {
            std::fprintf(stderr, "start-up: the game did not reach its first flip\n");
            std::exit(2);
        }
        times.push_back(ms);
        cpuTimes.push_back(cpuMs);
    }
    std::sort(times.begin(), times.end());
    return {times.front(), median(times), times.back(), median(cpuTimes)};
}

// Where start-up time goes inside the process: loading each picture again (files cached, as
// they are for any start after the first).
void printPictureLoadCosts() {
    UnloadImages();
    std::vector<std::pair<double, int>> costs;
    double total = 0;
    for (int id = 0; id < IMAGE_COUNT; ++id) {
        Clock::time_point start = Clock::now();
        images[id] = LoadImage(imageFiles[id]);
        double ms = microsBetween(start, Clock::now()) / 1000;
        costs.push_back({ms, id});
        total += ms;
    }
    loaded = true;
    bg = images[IMG_SPACE];
    std::sort(costs.rbegin(), costs.rend());
    std::printf("Loading the 34 pictures in-process: %.2f ms; the costliest:\n", total);
    for (int i = 0; i < 9; ++i)
        std::printf("  %-32s %6.2f ms\n", imageFiles[costs[i].second], costs[i].first);
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

}  // namespace

int main(int argc, char* argv[]) {
    benchmark::Initialize(&argc, argv);
    int frameIterations = 40, startupRuns = 20;
    bool levelsOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frame-iterations") == 0 && i + 1 < argc)
            frameIterations = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--startup-runs") == 0 && i + 1 < argc)
            startupRuns = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--game") == 0 && i + 1 < argc)
            gameBinary = fs::absolute(argv[++i]).string();
        else if (std::strcmp(argv[i], "--no-startup") == 0)
            startupRuns = 0;
        else if (std::strcmp(argv[i], "--levels-only") == 0)
            levelsOnly = true;
        else {
            std::fprintf(
                stderr,
                "usage: skarlume_bench [benchmark options] [--frame-iterations N]\n"
                "       [--startup-runs N | --no-startup] [--game BINARY] [--levels-only]\n");
            return 2;
        }
    }
    enter(GAME_DIR);
    if (!startHeadless())
        return 2;

    StartupFigures startup;
    if (startupRuns > 0) {
        startup = measureStartup(startupRuns);
        printPictureLoadCosts();
    }

    std::string scratch =
        (fs::temp_directory_path() / ("skarlume-bench-" + std::to_string(getpid()))).string();
    std::vector<Scenario> scenarios = shippedLevels();
    if (!levelsOnly)
        scenarios.push_back(stressLevel(scratch));
    for (Scenario& scenario : scenarios)
        findBusiestFrame(scenario);

    benchmark::RegisterBenchmark("blit/background", BM_BackgroundBlit)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    for (const Scenario& scenario : scenarios)
        benchmark::RegisterBenchmark(("frame/" + scenario.name).c_str(), BM_FrameAtBusiestMoment,
                                     &scenario)
            ->UseManualTime()
            ->Iterations(frameIterations)
            ->Unit(benchmark::kMicrosecond);
    if (!levelsOnly) {
        benchmark::RegisterBenchmark("step/stress/100-frame-window", BM_StressStepWindow,
                                     &scenarios.back())
            ->UseManualTime()
            ->Iterations(frameIterations)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("load/stress", BM_LoadLevel, scratch, 1)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
    }
    if (int largest = largestShippedLevel())
        benchmark::RegisterBenchmark(("load/level" + std::to_string(largest)).c_str(), BM_LoadLevel,
                                     std::string(GAME_DIR), largest)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);

    KeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    enter(GAME_DIR);
    fs::remove_all(scratch);

    // The summary against the targets.
    if (startupRuns > 0)
        std::printf(
            "Start-up to the first title flip (%d runs): best %.1f ms, median %.1f ms, "
            "worst %.1f ms (target under %.0f): %s; processor time, median: %.1f ms\n",
            startupRuns, startup.best, startup.median, startup.worst, STARTUP_TARGET_MS,
            startup.median < STARTUP_TARGET_MS ? "met" : "MISSED", startup.cpuMedian);
    auto blit = reporter.kept.find("blit/background");
    if (blit == reporter.kept.end())
        return 0;
    const double blitUs = blit->second.counters.at("median_us");
    std::printf("\nMedians. Yardstick: one full-window background blit %.1f us\n", blitUs);
    std::printf("%-8s %6s %8s %7s %8s %8s %8s\n", "level", "frame", "lasers", "ships", "step_us",
                "draw_us", "blits");
    double worstBlits = 0;
    std::string worstName;
    for (const Scenario& scenario : scenarios) {
        auto run = reporter.kept.find("frame/" + scenario.name);
        if (run == reporter.kept.end())
            continue;
        double step = run->second.counters.at("step_us");
        double draw = run->second.counters.at("draw_us");
        double blits = (step + draw) / blitUs;
        std::printf("%-8s %6d %8zu %7zu %8.2f %8.1f %8.3f\n", scenario.name.c_str(),
                    scenario.busiestFrame + 1, scenario.lasers, scenario.ships, step, draw, blits);
        if (scenario.name != "stress" && blits > worstBlits) {
            worstBlits = blits;
            worstName = scenario.name;
        }
    }
    if (!worstName.empty())
        std::printf("Worst shipped frame: %s, %.3f blits (target at most %.1f): %s\n",
                    worstName.c_str(), worstBlits, FRAME_TARGET_BLITS,
                    worstBlits <= FRAME_TARGET_BLITS ? "met" : "MISSED");
    auto stress = reporter.kept.find("step/stress/100-frame-window");
    if (stress != reporter.kept.end()) {
        double window = stress->second.counters.at("median_us");
        auto busiest = reporter.kept.find("frame/stress");
        double us = busiest->second.counters.at("step_us");
        std::printf(
            "Stress step at its busiest: %.2f us (target under %.0f): %s; over the 100 "
            "frames around it: %.2f us\n",
            us, STRESS_STEP_TARGET_US, us < STRESS_STEP_TARGET_US ? "met" : "MISSED", window);
    }
    return 0;
}
