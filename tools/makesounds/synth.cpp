// The building blocks of the game's sounds, in plain arithmetic.
#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double PI = 3.14159265358979323846;
// The end of every sound is faded this long, so that none stops with a click.
constexpr double END_FADE = 0.008;

// Where the glide from one value to another is at `progress` (0 to 1): quick at first.
double glide(double from, double to, double progress) {
    const double left = 1 - progress;
    return from + (to - from) * (1 - left * left);
}

// A small pseudo-random generator (xorshift), the same everywhere, giving -1 to 1.
class NoiseSource {
public:
    explicit NoiseSource(uint32_t seed) : state(seed == 0 ? 1 : seed) {}
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return double(state) / 2147483648.0 - 1.0;
    }

private:
    uint32_t state;
};

}  // namespace

double sine(double turns) {
    double t = turns - std::floor(turns);
    double sign = 1;
    if (t >= 0.5) {
        t -= 0.5;
        sign = -1;
    }
    if (t > 0.25)
        t = 0.5 - t;
    // Taylor's series to the 11th power is exact to 1e-7 up to a quarter turn.
    const double x = 2 * PI * t;
    const double x2 = x * x;
    double term = x, sum = x;
    for (int n = 3; n <= 11; n += 2) {
        term *= -x2 / double((n - 1) * n);
        sum += term;
    }
    return sign * sum;
}

double Envelope::at(double time, double length) const {
    if (time < 0 || time >= length)
        return 0;
    if (time < attack) {
        const double rise = sine(time / attack / 4);
        return rise * rise;
    }
    const double left = 1 - (time - attack) / (length - attack);
    double level = 1;
    for (int i = 0; i < fallPower; ++i)
        level *= left;
    return level;
}

Track::Track(double seconds) : samples(size_t(seconds * SYNTH_RATE), 0.0) {}

size_t Track::first(double time) const {
    return std::min(samples.size(), size_t(time * SYNTH_RATE));
}

size_t Track::count(size_t from, double length) const {
    return std::min(samples.size() - from, size_t(length * SYNTH_RATE));
}

void Track::add(const Tone& tone, double at, double length, double level) {
    const size_t start = first(at), n = count(start, length);
    std::vector<double> phases(tone.partials.size(), 0.0);
    for (size_t i = 0; i < n; ++i) {
        const double time = double(i) / SYNTH_RATE;
        const double pitch = glide(tone.from, tone.to, time / length);
        double value = 0;
        for (size_t p = 0; p < tone.partials.size(); ++p) {
            value += tone.partials[p].level * sine(phases[p]);
            phases[p] += pitch * tone.partials[p].ratio / SYNTH_RATE;
            phases[p] -= std::floor(phases[p]);
        }
        samples[start + i] += level * tone.envelope.at(time, length) * value;
    }
}

void Track::add(const Noise& noise, double at, double length, double level) {
    const size_t start = first(at), n = count(start, length);
    NoiseSource source(noise.seed);
    double filtered = 0;
    for (size_t i = 0; i < n; ++i) {
        const double time = double(i) / SYNTH_RATE;
        // A one-pole low-pass: the share of the new sample rises with the corner frequency.
        const double corner = 2 * PI * glide(noise.from, noise.to, time / length) / SYNTH_RATE;
        filtered += corner / (corner + 1) * (source.next() - filtered);
        samples[start + i] += level * noise.envelope.at(time, length) * filtered;
    }
}

std::vector<int16_t> Track::finish(double peak) const {
    // A gentle high-pass takes out the slow drift that filtered noise leaves.
    std::vector<double> clean(samples.size());
    double previousIn = 0, previousOut = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        previousOut = samples[i] - previousIn + 0.995 * previousOut;
        previousIn = samples[i];
        clean[i] = previousOut;
    }
    const size_t fade = std::min(clean.size(), size_t(END_FADE * SYNTH_RATE));
    for (size_t i = 0; i < fade; ++i) {
        const double fall = sine(double(i) / double(fade) / 4);
        clean[clean.size() - 1 - i] *= fall * fall;
    }
    double loudest = 0;
    for (double value : clean)
        loudest = std::max(loudest, std::fabs(value));
    const double scale = loudest > 0 ? peak * 32767 / loudest : 0;
    std::vector<int16_t> out(clean.size());
    for (size_t i = 0; i < clean.size(); ++i)
        out[i] = int16_t(std::lround(clean[i] * scale));
    return out;
}
