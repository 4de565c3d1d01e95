// The game's own mixer: sounds held as 16-bit samples, voices started by id and summed with
// headroom at the player's volume. It knows no device, so a program without one (the tests) can
// pull samples from it just as the audio callback does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Mixer {
public:
    // The sum of the voices is scaled by this much at full volume, so that a few loud sounds at
    // once stay under full scale; what still reaches it is held there, never wrapped round.
    static constexpr double HEADROOM = 0.5;

    Mixer() { updateGain(); }

    // Gives sound `id` its samples and the most voices of it that may play at once.
    void setSound(int id, std::vector<int16_t> samples, int voiceLimit);
    // Forgets every sound and voice.
    void clear();

    // Starts sound `id` from its beginning at the next mixed sample. At its voice limit the
    // voice that has played longest starts again instead. Nothing happens for a sound with no
    // samples, or while muted.
    void start(int id);
    // Writes the next `count` samples of the voices' sum.
    void mix(int16_t* out, size_t count);

    // Muted, the mixer writes nothing but zeros and drops every voice.
    void setMuted(bool muted);
    bool isMuted() const { return muted; }
    // 0 to 100; the loudness follows its square, which sounds more even than a straight line.
    void setVolume(int volume);
    int getVolume() const { return volume; }

    int playingVoices() const { return int(voices.size()); }
    int playingVoices(int id) const;
    // Every sample written since the mixer was made: where the next start will be heard.
    uint64_t mixedSamples() const { return mixed; }

private:
    struct Sound {
        std::vector<int16_t> samples;
        int voiceLimit = 0;
    };
    struct Voice {
        int sound;
        size_t position;
    };

    std::vector<Sound> sounds;
    std::vector<Voice> voices;
    std::vector<int32_t> sum;  // kept, so that mixing allocates nothing in the audio thread
    bool muted = false;
    int volume = 100;
    int32_t gain = 0;  // in 1/65536ths, from the volume and the headroom
    uint64_t mixed = 0;
    void updateGain();
};
