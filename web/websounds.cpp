// The web game's sounds: made when the game loads its first one, from the sound tool's own
// recipes, into the files the game loads (sounds/...). Downloading the WAV files would cost
// more than the whole rest of the data, gzipped; making them takes a moment.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "effects.h"
#include "sounds.h"
#include "wavfile.h"

#include "webshim.h"

void webMakeSounds() {
    std::error_code error;
    std::filesystem::create_directories("sounds", error);
    for (int id = 0; id < SOUND_COUNT; ++id) {
        const std::string bytes = wavBytes(makeEffect(SoundId(id)).samples, SOUND_RATE);
        std::ofstream out(soundFiles[id], std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        // The game then says which sound it cannot load, and plays without sound.
        if (!out)
            std::fprintf(stderr, "skarlume: cannot make %s\n", soundFiles[id]);
    }
}
