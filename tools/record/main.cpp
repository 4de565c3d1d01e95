// Records a replay: plays a level in a real window, at the game's own pace, and writes every
// key press and release with the frame it came before.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "gamedir.h"
#include "graphics.h"
#include "replayrunner.h"
#include "skarlume.h"

int main(int argc, char* argv[]) {
    enterGameDirectory(argc, argv);
    if (argc < 3 || argc > 4) {
        std::cerr
            << "usage: record LEVEL OUT.txt [SHIP]\n"
               "Plays levels/levelLEVEL.txt in a window from the game directory; every key\n"
               "is written to OUT.txt as a replay when the level ends or the window closes.\n";
        return 2;
    }
    Replay recording;
    recording.level = std::atoi(argv[1]);
    recording.ship = argc == 4 ? std::atoi(argv[3]) : 1;
    if (recording.level < 1 || recording.ship < 1 || recording.ship > 3) {
        std::cerr << "record: the level must be 1 or more and the ship 1 to 3\n";
        return 2;
    }
    if ((screen = InitVideo(SDL_DOUBLEBUF)) == nullptr || !InitImages())
        return 1;
    bg = GetImage(IMG_SPACE);
    level = recording.level;
    p = recording.ship;
    int livesBefore = lives;
    startRecording(&recording);
    int state = runPlayScreen(recordPlayEvent);
    std::ofstream out(argv[2]);
    writeReplay(out, recording);
    if (!out) {
        std::cerr << "record: cannot write " << argv[2] << "\n";
        return 2;
    }
    // The same words as the replay command's, so that a recording and its replay compare.
    std::printf("level %d: %s at frame %d, %s\n", recording.level, outcomeName(state),
                lastRecordedFrame(), lives < livesBefore ? "a life spent" : "no life spent");
    UnloadImages();
    return 0;
}
