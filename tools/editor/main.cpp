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

namespace {

const char* const USAGE =
    "usage: editor [--shot OUT.bmp] FILE\n"
    "Edits the level FILE (a new level when it does not exist) in a window; run it from the\n"
    "game directory, which holds images/ and levels/. F1 lists the keys.\n"
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
    enterGameDirectory(argc, argv);
    // --shot OUT.bmp: draws the opening window once into a picture and ends (the README's).
    const char* shot = nullptr;
    if (argc == 4 && std::string(argv[1]) == "--shot") {
        shot = argv[2];
        argv += 2;
        argc -= 2;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << USAGE;
        return 2;
    }
    // Made absolute first, so that nothing below depends on where the program stands.
    std::error_code error;
    const std::filesystem::path file = std::filesystem::absolute(argv[1], error);
    if (error) {
        std::cerr << "editor: cannot find " << argv[1] << ": " << error.message() << "\n";
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
    Editor editor(file.string(), argv[1], lettering, startDirectory);
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
