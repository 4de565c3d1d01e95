// The building blocks of the game's sounds: tones that sweep in pitch, filtered noise, smooth
// envelopes, and a track that they are added into and finished as 16-bit samples. Only plain
// arithmetic is used (no library sine or exponential), so every machine computes the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr double SYNTH_RATE = 44100;

// sin(2 pi turns), from a polynomial.
double sine(double turns);

// A loudness over time: a raised-cosine rise over `attack` seconds, then a fall to silence
// shaped by (1 - x)^fallPower over the rest of the sound.
struct Envelope {
    double attack;
    int fallPower;
    double at(double time, double length) const;
};

// One partial of a tone: a multiple of its pitch and its level.
struct Partial {
    double ratio;
    double level;
};

// A tone whose pitch glides from `from` to `to` Hz, fast at first and easing off.
struct Tone {
    double from;
    double to;
    std::vector<Partial> partials;
    Envelope envelope;
};

// Noise through a low-pass filter whose corner falls from `from` to `to` Hz: the hiss of an
// explosion that dulls as it dies.
struct Noise {
    double from;
    double to;
    Envelope envelope;
    uint32_t seed;
};

class Track {
public:
    explicit Track(double seconds);

    void add(const Tone& tone, double at, double length, double level);
    void add(const Noise& noise, double at, double length, double level);

    // The samples: any constant offset removed, scaled so that the loudest reaches `peak`
    // (of full scale), the last few milliseconds faded to exact silence.
    std::vector<int16_t> finish(double peak) const;

private:
    std::vector<double> samples;
    // The sample at `time` seconds and the number of samples in `length`, held to the track.
    size_t first(double time) const;
    size_t count(size_t from, double length) const;
};
