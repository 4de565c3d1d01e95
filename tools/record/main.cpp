// Records a replay: plays a level in a real window, at the game's own pace, and writes every
// key press and release with the frame it came before.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "Level.h"
#include "gamedir.h"
#include "graphics.h"
#include "levelchoice.h"
#include "replayrunner.h"
#include "skarlume.h"

int main(int argc, char* argv[]) {
    enterGameDirectory(argc, argv);
    if (argc < 3 || argc > 4) {
        std::cerr
            << "usage: record LEVEL OUT.txt [SHIP]\n"
               "Plays LEVEL (a number for levels/levelN.txt, or any level file) in a window\n"
               "from the game directory; every key is written to OUT.txt as a replay when the\n"
               "level ends or the window closes.\n";
        return 2;
    }
    LevelChoice chosen;
    std::string error;
    if (!chooseLevel(argv[1], chosen, error)) {
        std::cerr << "record: " << error << "\n";
        return 2;
    }
    const int ship = argc == 4 ? std::atoi(argv[3]) : 1;
    if (ship < 1 || ship > 3) {
        std::cerr << "record: the ship must be 1 to 3\n";
        return 2;
    }
    Replay recording = chosen.replay(ship);
    if ((screen = InitVideo(SDL_DOUBLEBUF)) == nullptr || !InitImages())
        return 1;
    bg = GetImage(IMG_SPACE);
    level = recording.level;
    p = recording.ship;
    int livesBefore = lives;
    startRecording(&recording);
    // The play screen itself, on whichever file was chosen.
    changeLevel(chosen.file, bg, p);
    int state = getCurrentLevel()->fileOpened()
                    ? playLevelAsShown(getCurrentLevel(), recordPlayEvent)
                    : int(STATE_TITLE);
    std::ofstream out(argv[2]);
    writeReplay(out, recording, argv[2]);
    if (!out) {
        std::cerr << "record: cannot write " << argv[2] << "\n";
        return 2;
    }
    // The same words as the replay command's, so that a recording and its replay compare.
    std::printf("%s: %s at frame %d, %s\n", chosen.title().c_str(), outcomeName(state),
                lastRecordedFrame(), lives < livesBefore ? "a life spent" : "no life spent");
    UnloadImages();
    return 0;
}
