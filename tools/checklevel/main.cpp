// The level checker's command: checks level files and prints "file: OK" or their problems.
#include <SDL.h>

#include <iostream>

#include "gamedir.h"
#include "graphics.h"
#include "headless.h"
#include "levelcheck.h"

int main(int argc, char* argv[]) {
    enterGameDirectory(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: checklevel LEVEL.txt...\n"
                     "Checks level files with the game's loader; run it from the game directory\n"
                     "(it reads the pictures in images/ for their sizes). Exit status 0 when\n"
                     "every file is clean, 1 when a problem was found, 2 on errors.\n";
        return 2;
    }
    if (!startHeadless()) {
        std::cerr << "checklevel: cannot load the pictures from images/: " << SDL_GetError()
                  << "\n";
        return 2;
    }
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        int problems = checkLevelFile(argv[i], std::cout);
        if (problems == 0)
            std::cout << argv[i] << ": OK\n";
        else
            ++failed;
    }
    UnloadImages();
    return failed == 0 ? 0 : 1;
}
