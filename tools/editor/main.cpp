// The level editor's command: opens a level file in a window, run from the game directory.
#include <SDL.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "audio.h"
#include "editor.h"
#include "gamedir.h"
#include "graphics.h"
#include "input.h"
#include "lettering.h"
#include "settings.h"
#include "skarlume.h"
#include "userfiles.h"

namespace {

const char* const USAGE =
    "usage: editor [--shot OUT.bmp] [FILE]\n"
    "Edits the level FILE (a new level when it does not exist) in a window; run it from the\n"
    "game directory, which holds images/ and levels/. F1 lists the keys.\n"
    "Installed (skarlume-editor), a FILE given by a bare name, or none, is kept among the\n"
    "player's own levels in $XDG_DATA_HOME/skarlume/levels/ (~/.local/share/skarlume/levels/);\n"
    "with none it is the next free levelN.txt there. `skarlume DIR` plays that folder.\n"
    "Unsaved edits are kept every few seconds in a recovery copy under\n"
    "$XDG_STATE_HOME/skarlume/recovery/ (~/.local/state/skarlume/recovery/), which the next\n"
    "open of FILE offers.\n"
    "  --shot OUT.bmp  draw the opening window into a BMP picture and end\n"
    "  --help          print this and end\n";

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << USAGE;
        return 0;
    }
    // Paths typed into the editor mean what they mean where it was started.
    std::error_code here;
    const std::string startDirectory = std::filesystem::current_path(here).string();
    // The file as typed: a bare name means the player's own levels when installed.
    const std::string typed = argc > 1 ? argv[argc - 1] : "";
    enterGameDirectory(argc, argv);
    // --shot OUT.bmp: draws the opening window once into a picture and ends (the README's).
    const char* shot = nullptr;
    if (argc == 4 && std::string(argv[1]) == "--shot") {
        shot = argv[2];
        argv += 2;
        argc -= 2;
    }
    std::string own;
    if (runsFromInstalledData() && (argc == 1 || typed.find('/') == std::string::npos)) {
        std::string problem;
        own = ownLevelPath(argc == 1 ? "" : typed, problem);
        if (own.empty()) {
            std::cerr << "editor: " << problem << "\n";
            return 2;
        }
        std::cerr << "editor: editing " << own << "\n";
    }
    if ((argc != 2 && own.empty()) || (argc == 2 && argv[1][0] == '-')) {
        std::cerr << USAGE;
        return 2;
    }
    const char* const named = own.empty() ? argv[1] : own.c_str();
    // Made absolute first, so that nothing below depends on where the program stands.
    std::error_code error;
    const std::filesystem::path file = std::filesystem::absolute(named, error);
    if (error) {
        std::cerr << "editor: cannot find " << named << ": " << error.message() << "\n";
        return 2;
    }
    if (openGameWindow(loadSettings(std::cerr).fullscreen, std::cerr) == nullptr) {
        std::cerr << "editor: cannot open the window: " << SDL_GetError() << "\n";
        return 1;
    }
    if (!InitImages()) {
        std::cerr << "editor: cannot load the game's pictures from images/ (run it from the "
                     "game directory)\n";
        return 1;
    }
    bg = GetImage(IMG_SPACE);
    openGamepad();
    Lettering lettering;
    std::string problem;
    if (!lettering.load(GLYPH_SHEET_FILE, problem)) {
        std::cerr << "editor: " << problem << "\n";
        UnloadImages();
        return 1;
    }
    Editor editor(file.string(), named, lettering, startDirectory);
    if (!editor.open(problem)) {
        std::cerr << "editor: " << problem << "\n";
        UnloadImages();
        return 2;
    }
    int status = 0;
    if (shot != nullptr) {
        editor.draw();
        if (SDL_SaveBMP(screen, shot) != 0) {
            std::cerr << "editor: cannot write " << shot << ": " << SDL_GetError() << "\n";
            status = 1;
        }
    } else {
        // Test-play sounds as the game does, with the player's own mute and volume.
        currentSettings() = loadSettings(std::cerr);
        if (!openAudio(currentSettings().mute, currentSettings().volume, problem))
            std::cerr << "editor: test-play without sound: " << problem << "\n";
        runEditor(editor);
        closeAudio();
    }
    UnloadImages();
    return status;
}
