// Writing sounds as WAV files: a RIFF header, a "fmt " chunk for 16-bit PCM and the samples.
#include "wavfile.h"

namespace {

void put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(char((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string wavBytes(const std::vector<int16_t>& samples, int rate) {
    constexpr int CHANNELS = 1, BYTES_PER_SAMPLE = 2, PCM = 1;
    const uint32_t dataBytes = uint32_t(samples.size() * BYTES_PER_SAMPLE);
    std::string out = "RIFF";
    put(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    put(out, 16, 4);
    put(out, PCM, 2);
    put(out, CHANNELS, 2);
    put(out, uint32_t(rate), 4);
    put(out, uint32_t(rate * CHANNELS * BYTES_PER_SAMPLE), 4);
    put(out, CHANNELS * BYTES_PER_SAMPLE, 2);
    put(out, 8 * BYTES_PER_SAMPLE, 2);
    out += "data";
    put(out, dataBytes, 4);
    for (int16_t sample : samples)
        put(out, uint32_t(uint16_t(sample)), 2);
    return out;
}
