// The level editor driven headless with real mouse and key events on SDL's queue, on files in
// a scratch game directory: what the editor tests share.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Level.h"
#include "calc.h"
#include "editor.h"
#include "lettering.h"
#include "testutil.h"

void push(SDL_Event event);
void pushKey(SDLKey key, int mod = KMOD_NONE, Uint16 unicode = 0);
// Types the text as key presses with their Unicode values.
void typeText(const std::string& text);
void pushButton(Uint8 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT);
void pushMotion(int x, int y);
void click(int x, int y, Uint8 button = SDL_BUTTON_LEFT);
void dragMouse(point from, point to);

std::string readFile(const std::string& path);
std::vector<Uint16> screenPixels();
// What the game made of a level, in file order: enough to tell two levels apart.
std::string describeLevel(Level& level);
std::vector<std::string> filesIn(const std::string& directory);

// Runs `body` in a forked child and returns its exit status; the child never returns.
template <typename Body>
int inChild(Body body) {
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = -1;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

// The editor on files in a scratch game directory (levels/, solutions/), with the real
// pictures and the real glyph sheet, and the player's folders empty for each test.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the file (relative to the scratch directory) as `editor FILE` would.
    Editor& open(const std::string& file);
    // Handles what was pushed; false when the editor closed.
    bool run() { return editor->handlePending(); }
    std::string loadedBack(const std::string& file);
    // The recovery copies in the player's state folder.
    std::vector<std::string> recoveryCopies() const;

    static std::unique_ptr<Lettering> lettering;
    ScopedHome userHome;
    ScratchDir scratch;
    std::filesystem::path home;
    std::unique_ptr<Editor> editor;
};
