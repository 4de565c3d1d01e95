// Makes every sound of the game from its recipe and writes each as a 16-bit WAV file under its
// name in the game directory (sounds/...): the same bytes on every run. With --table it also
// prints each sound's length and loudest sample, in the file and as the game plays it at the
// default volume.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "effects.h"
#include "mixer.h"
#include "settings.h"
#include "sounds.h"
#include "synth.h"
#include "wavfile.h"

namespace {

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    return bool(out);
}

double peakDecibels(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t sample : samples)
        peak = std::max(peak, std::abs(int(sample)));
    return 20 * std::log10(peak / 32768.0);
}

// The sound alone through the game's mixer at the default volume.
std::vector<int16_t> asPlayed(const std::vector<int16_t>& samples) {
    Mixer mixer;
    mixer.setVolume(DEFAULT_VOLUME);
    mixer.setSound(0, samples, 1);
    mixer.start(0);
    std::vector<int16_t> out(samples.size());
    mixer.mix(out.data(), out.size());
    return out;
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool table = argc == 3 && std::string(argv[2]) == "--table";
    if (argc != 2 && !table) {
        std::fprintf(stderr, "usage: makesounds GAME_DIR [--table]\n");
        return 2;
    }
    const std::string gameDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(gameDir + "/sounds", error);
    if (error) {
        std::fprintf(stderr, "makesounds: cannot make %s/sounds: %s\n", gameDir.c_str(),
                     error.message().c_str());
        return 1;
    }
    if (table)
        std::printf(
            "| Sound | File | Length | Peak in the file | Peak as played at volume %d |\n"
            "| --- | --- | --- | --- | --- |\n",
            DEFAULT_VOLUME);
    for (int id = 0; id < SOUND_COUNT; ++id) {
        const Effect effect = makeEffect(SoundId(id));
        if (effect.name == nullptr || effect.samples.empty()) {
            std::fprintf(stderr, "makesounds: nothing makes %s\n", soundFiles[id]);
            return 1;
        }
        const std::string path = gameDir + "/" + soundFiles[id];
        if (!writeFile(path, wavBytes(effect.samples, SOUND_RATE))) {
            std::fprintf(stderr, "makesounds: cannot write %s\n", path.c_str());
            return 1;
        }
        if (table)
            std::printf("| %s | `%s` | %d ms | %.1f dBFS | %.1f dBFS |\n", effect.name,
                        soundFiles[id], int(effect.samples.size() * 1000 / SOUND_RATE),
                        peakDecibels(effect.samples), peakDecibels(asPlayed(effect.samples)));
    }
    return 0;
}
