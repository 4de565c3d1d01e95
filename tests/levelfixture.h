// Levels written on the fly for the rule tests, played with pictures of sizes the tests know.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Level.h"
#include "testutil.h"

// Every sprite picture swapped for a plain one of a fixed size: ships 50x60, enemies and
// crates 50x50, lasers 4x16 and 16x4, walls 8 thick, diagonal pieces 24x24, explosion 64x64.
class KnownPictures {
public:
    KnownPictures();

private:
    std::vector<std::unique_ptr<ScopedPicture>> swapped;
};

// Runs the test in a scratch game directory whose levels/ holds the files the test writes;
// the pictures stay loaded from the real directory.
class LevelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes levels/level<number>.txt in the scratch directory.
    void writeLevel(int number, const std::string& text);
    // Writes the level and makes it the current level, as the play screen does.
    Level* startLevel(const std::string& text, int number = 900,
                      const ProblemSink& problems = printToStandardError);

    std::unique_ptr<ScratchDir> scratch;
    std::unique_ptr<KnownPictures> pictures;
    std::string previousDir;
};

// The loader's problems written as the game writes them on the standard error stream.
class PrintedProblems {
public:
    ProblemSink sink() {
        return [this](const LoadProblem& problem) { printLoadProblem(out, problem); };
    }
    std::string text() const { return out.str(); }

private:
    std::ostringstream out;
};
