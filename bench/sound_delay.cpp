// How long after the frame that fires a shot its first sample reaches SDL's disk audio driver:
// the game's own audio opened on the disk driver, a shot's event handed over as the play screen
// hands a frame's events, then the time until the audio callback has mixed it (and so given it
// to the driver), and until it shows in the driver's file. Run from the game directory.
// Usage: sound_delay [TRIALS]
#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "audio.h"
#include "mixer.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

uint64_t mixedSoFar() {
    SDL_LockAudio();
    const uint64_t mixed = gameMixer().mixedSamples();
    SDL_UnlockAudio();
    return mixed;
}

// The byte offset of the first non-zero byte at or after `from` in the file, or -1.
long firstSoundIn(const std::string& file, long from) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(from);
    long at = from;
    char byte;
    while (in.get(byte)) {
        if (byte != 0)
            return at;
        ++at;
    }
    return -1;
}

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%s: min %.1f ms, median %.1f ms, max %.1f ms (%zu shots)\n", what, ms.front(),
                ms[ms.size() / 2], ms.back(), ms.size());
}

}  // namespace

int main(int argc, char* argv[]) {
    const int trials = argc > 1 ? std::atoi(argv[1]) : 40;
    const std::string file = "/tmp/skarlume-sound-delay-" + std::to_string(getpid()) + ".raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    // The disk driver waits this long between buffers; a buffer lasts 11.6 ms.
    setenv("SDL_DISKAUDIODELAY", "11", 0);
    if (SDL_Init(0) != 0) {
        std::fprintf(stderr, "sound_delay: %s\n", SDL_GetError());
        return 1;
    }
    std::string problem;
    if (!openAudio(false, 100, problem)) {
        std::fprintf(stderr, "sound_delay: cannot open the disk driver: %s\n", problem.c_str());
        return 1;
    }
    FrameEvents shot;
    shot.add(EVENT_PLAYER_FIRED);
    std::vector<double> toMixer, toFile, fileLag;
    for (int trial = 0; trial < trials; ++trial) {
        // Frames fall anywhere within a buffer: start each shot at another point of it.
        std::this_thread::sleep_for(std::chrono::microseconds(250000 + 1700 * trial));
        SDL_LockAudio();
        const uint64_t startsAt = gameMixer().mixedSamples();
        const Clock::time_point frame = Clock::now();
        playFrameSounds(shot);
        SDL_UnlockAudio();
        while (mixedSoFar() == startsAt)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        toMixer.push_back(msSince(frame));
        long found = -1;
        while ((found = firstSoundIn(file, long(startsAt * 2))) < 0 && msSince(frame) < 1000)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (found < 0) {
            std::fprintf(stderr, "sound_delay: the shot never reached %s\n", file.c_str());
            closeAudio();
            std::remove(file.c_str());
            return 1;
        }
        toFile.push_back(msSince(frame));
        // Where the file has it against where the mixer was when it started (the shot itself
        // rises from silence within two samples): a lag is buffering between the two.
        fileLag.push_back(double(found / 2 - long(startsAt)) * 1000.0 / SOUND_RATE);
    }
    closeAudio();
    std::remove(file.c_str());
    report("frame to the callback that mixes its first sample", toMixer);
    report("frame to its first sample in the disk driver's file", toFile);
    report("the file's position of its first sample after the mixer's", fileLag);
    return 0;
}
