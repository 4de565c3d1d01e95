// Prints the level report, one row per level, checks the campaign's targets and can draw the
// curve as a chart.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "Level.h"
#include "chart.h"
#include "graphics.h"
#include "headless.h"
#include "levelreport.h"

namespace {

int usage() {
    std::cerr << "usage: levelreport [--random-plays N] [--late-tries N] [--seed N] "
                 "[--chart FILE.bmp] [LEVEL | FIRST-LAST]...\n"
                 "Measures the levels (all 35 when none is named) from the game directory and\n"
                 "prints a table. Exit status 0 when the campaign's targets hold, 1 when one is\n"
                 "missed, 2 on errors.\n";
    return 2;
}

// "7" or "1-17"; false for anything else.
bool addLevels(const std::string& text, std::vector<int>& numbers) {
    char* end = nullptr;
    long first = std::strtol(text.c_str(), &end, 10), last = first;
    if (*end == '-')
        last = std::strtol(end + 1, &end, 10);
    if (*end != '\0' || first < 1 || last > LEVEL_COUNT || first > last)
        return false;
    for (long number = first; number <= last; ++number)
        numbers.push_back(int(number));
    return true;
}

std::string bouncesText(const std::vector<int>& bounces) {
    std::string text;
    for (int fewest : bounces)
        text +=
            (text.empty() ? "" : " ") + (fewest < 0 ? std::string("-") : std::to_string(fewest));
    return text;
}

void printRow(const LevelRow& row) {
    std::string shooters = std::to_string(row.forward) + "+" + std::to_string(row.dual);
    std::printf(
        "| %2d | %-16s | %d | %2d | %d | %-3s | %-13s | %3d/%d | %3d/%d | %2d/%d | %2d/%d | ",
        row.number, row.name.c_str(), row.areas, row.walls, row.crates, shooters.c_str(),
        bouncesText(row.bounces).c_str(), row.randomWins, row.randomPlays, row.sweepWins,
        row.randomPlays, row.slightlyLateWins, row.lateTries, row.quiteLateWins, row.lateTries);
    if (row.replayWins)
        std::printf("%5d (%.1f s) |\n", row.replayFrames, row.replayFrames / 60.0);
    else
        std::printf("does not win |\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
    ReportOptions options;
    std::vector<int> numbers;
    const char* chartPath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--random-plays") == 0 && i + 1 < argc)
            options.randomPlays = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--late-tries") == 0 && i + 1 < argc)
            options.lateTries = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc)
            options.seed = unsigned(std::strtoul(argv[++i], nullptr, 10));
        else if (std::strcmp(argv[i], "--chart") == 0 && i + 1 < argc)
            chartPath = argv[++i];
        else if (!addLevels(argv[i], numbers))
            return usage();
    }
    if (options.randomPlays < 1 || options.lateTries < 1)
        return usage();
    if (numbers.empty())
        addLevels("1-" + std::to_string(LEVEL_COUNT), numbers);
    if (!startHeadless()) {
        std::cerr << "levelreport: cannot start the game headless: " << SDL_GetError() << "\n";
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    std::printf(
        "| level | name | areas | walls | crates | shooters | fewest bounces | masher wins "
        "| sweeper wins | wins %d late | wins %d late | replay wins at frame |\n",
        SLIGHTLY_LATE, QUITE_LATE);
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    std::vector<LevelRow> rows;
    for (int number : numbers) {
        rows.push_back(measureLevel(number, options));
        printRow(rows.back());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("\nmeasured %zu level(s) in %.1f s\n", rows.size(), seconds);
    int status = 0;
    if (chartPath != nullptr && !drawChart(rows, chartPath)) {
        std::cerr << "levelreport: cannot draw the chart into " << chartPath << "\n";
        status = 2;
    }
    const std::vector<std::string> missed = missedTargets(rows);
    for (const std::string& line : missed)
        std::printf("target missed: %s\n", line.c_str());
    if (missed.empty())
        std::printf("every target holds\n");
    UnloadImages();
    return status != 0 ? status : missed.empty() ? 0 : 1;
}
