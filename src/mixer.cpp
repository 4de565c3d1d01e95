// The game's own mixer: voices summed in 32 bits, scaled once and held to 16 bits.
#include "mixer.h"

#include <algorithm>
#include <cmath>
#include <limits>

void Mixer::setSound(int id, std::vector<int16_t> samples, int voiceLimit) {
    if (id < 0)
        return;
    if (size_t(id) >= sounds.size())
        sounds.resize(size_t(id) + 1);
    voices.erase(std::remove_if(voices.begin(), voices.end(),
                                [id](const Voice& voice) { return voice.sound == id; }),
                 voices.end());
    sounds[size_t(id)] = {std::move(samples), std::max(voiceLimit, 1)};
}

void Mixer::clear() {
    sounds.clear();
    voices.clear();
}

int Mixer::playingVoices(int id) const {
    return int(std::count_if(voices.begin(), voices.end(),
                             [id](const Voice& voice) { return voice.sound == id; }));
}

void Mixer::start(int id) {
    if (muted || id < 0 || size_t(id) >= sounds.size() || sounds[size_t(id)].samples.empty())
        return;
    // Voices are kept oldest first, so the first of this sound has played longest.
    auto oldest = std::find_if(voices.begin(), voices.end(),
                               [id](const Voice& voice) { return voice.sound == id; });
    if (playingVoices(id) >= sounds[size_t(id)].voiceLimit)
        voices.erase(oldest);
    voices.push_back({id, 0});
}

void Mixer::mix(int16_t* out, size_t count) {
    mixed += count;
    std::fill(out, out + count, int16_t(0));
    if (muted || voices.empty())
        return;
    sum.assign(count, 0);
    for (Voice& voice : voices) {
        const std::vector<int16_t>& samples = sounds[size_t(voice.sound)].samples;
        const size_t length = std::min(count, samples.size() - voice.position);
        for (size_t i = 0; i < length; ++i)
            sum[i] += samples[voice.position + i];
        voice.position += length;
    }
    voices.erase(std::remove_if(voices.begin(), voices.end(),
                                [this](const Voice& voice) {
                                    return voice.position >=
                                           sounds[size_t(voice.sound)].samples.size();
                                }),
                 voices.end());
    constexpr int64_t low = std::numeric_limits<int16_t>::min();
    constexpr int64_t high = std::numeric_limits<int16_t>::max();
    for (size_t i = 0; i < count; ++i)
        out[i] = int16_t(std::clamp((int64_t(sum[i]) * gain) >> 16, low, high));
}

void Mixer::setMuted(bool on) {
    muted = on;
    if (muted)
        voices.clear();
}

void Mixer::setVolume(int level) {
    volume = std::clamp(level, 0, 100);
    updateGain();
}

void Mixer::updateGain() {
    const double loudness = volume / 100.0;
    gain = int32_t(std::lround(loudness * loudness * HEADROOM * 65536.0));
}
