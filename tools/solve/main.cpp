// The level solver's command line: searches for a replay that wins a level without losing a
// life and writes it to solutions/, or surveys a level's targets.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "Level.h"
#include "gamedir.h"
#include "graphics.h"
#include "headless.h"
#include "levelchoice.h"
#include "solver.h"
#include "survey.h"

namespace {

bool readPlan(const std::string& path, std::vector<Shot>& plan) {
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line.substr(0, line.find('#')));
        Shot shot{0, 0, 0, 0, 0};
        if (words >> shot.x >> shot.y) {
            words >> shot.wait >> shot.dodge >> shot.pause;
            plan.push_back(shot);
        }
    }
    return true;
}

int usage();

// The level's geometry as a designer needs it: for every crate and enemy, the fewest wall
// bounces of any single shot that reaches it (see survey.h).
int survey(const std::string& argument) {
    LevelChoice level;
    std::string error;
    if (!chooseLevel(argument, level, error)) {
        std::cerr << "solve: " << error << "\n";
        return 2;
    }
    if (!startHeadless()) {
        std::cerr << "solve: cannot start the game headless: " << SDL_GetError() << "\n";
        return 2;
    }
    const Survey result = surveyLevel(level.file);
    for (const TargetSurvey& target : result.targets) {
        std::printf("%s: %s at (%d, %d): ", level.title().c_str(),
                    target.shooter ? "shooter" : "crate", target.x, target.y);
        if (target.fewest < 0)
            std::printf("no single shot from frame 1 reaches it\n");
        else
            std::printf("%d bounce(s) at least, from (%d, %d); %d of %d places reach it\n",
                        target.fewest, target.fromX, target.fromY, target.ways, result.places);
    }
    UnloadImages();
    return 0;
}

int usage() {
    std::cerr << "usage: solve [--ship N] [--plan FILE] [--forgive FRAMES] [--out FILE] LEVEL\n"
                 "       solve --survey LEVEL\n"
                 "LEVEL is a level number or any level file. Searches for a replay that wins the\n"
                 "level with no life lost and writes it to solutions/levelN.txt, or for a file\n"
                 "beside it as NAME.replay (or to FILE).\n"
                 "A plan file starts the search with given shots, one a line: X Y [WAIT [DODGE "
                 "[PAUSE]]]\n"
                 "(stand PAUSE frames; walk to X, Y; wait WAIT frames; fire; step DODGE pixels\n"
                 "sideways).\n"
                 "Every shot it takes must still work with each shot and each first step put off\n"
                 "by up to FRAMES (15 unless given; 0 for exact hands).\n"
                 "--survey prints, for each target, the fewest bounces of one shot that hits it.\n";
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    // A search runs for minutes, often into a pipe or a log: each line of progress goes out as
    // it is made, and a stopped search leaves its last line behind.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    enterGameDirectory(argc, argv);
    int ship = 1, forgive = 15;
    const char* levelArgument = nullptr;
    std::string planPath, outPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--ship") == 0 && i + 1 < argc)
            ship = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--plan") == 0 && i + 1 < argc)
            planPath = argv[++i];
        else if (std::strcmp(argv[i], "--forgive") == 0 && i + 1 < argc)
            forgive = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc)
            outPath = argv[++i];
        else if (std::strcmp(argv[i], "--survey") == 0 && i + 1 < argc)
            return survey(argv[i + 1]);
        else if (argv[i][0] == '-' || levelArgument != nullptr)
            return usage();
        else
            levelArgument = argv[i];
    }
    if (levelArgument == nullptr || ship < 1 || ship > 3)
        return usage();
    LevelChoice level;
    std::string error;
    if (!chooseLevel(levelArgument, level, error)) {
        std::cerr << "solve: " << error << "\n";
        return 2;
    }
    if (outPath.empty())
        outPath = level.number != 0 ? outputPath(replayHomeOf(level)) : replayHomeOf(level);
    const std::string title = level.title();
    std::vector<Shot> plan;
    if (!planPath.empty() && !readPlan(planPath, plan)) {
        std::cerr << "solve: cannot read the plan " << planPath << "\n";
        return 2;
    }
    if (!startHeadless()) {
        std::cerr << "solve: cannot start the game headless: " << SDL_GetError() << "\n";
        return 2;
    }
    auto started = std::chrono::steady_clock::now();
    Solver solver(level, ship);
    solver.forgiveFrames = std::max(0, forgive);
    if (!solver.opened()) {
        std::cerr << "solve: " << title << " has nothing to shoot\n";
        return 2;
    }
    std::cout << title << ": searching\n";
    bool solved;
    {
        // Thousands of frames are played and none looked at.
        ClippedDrawing clipped;
        solved = solver.solve(plan, std::cout);
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!solved) {
        std::printf("%s: no replay found (%ld plays, %.1f s)\n", title.c_str(), solver.plays,
                    seconds);
        return 1;
    }
    Replay replay;
    solver.compose(plan, replay, nullptr);
    std::ofstream out(outPath);
    writeReplay(out, replay, outPath);
    out.close();
    if (!out) {
        std::cerr << "solve: cannot write " << outPath << "\n";
        return 2;
    }
    std::printf("%s: won at frame %d with %zu shots (%ld plays, %.1f s); wrote %s\n", title.c_str(),
                solver.frameWon(plan), plan.size(), solver.plays, seconds, outPath.c_str());
    UnloadImages();
    return 0;
}
