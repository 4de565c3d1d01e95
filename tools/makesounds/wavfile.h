// Writing sounds as WAV files: 16-bit PCM, one channel, little-endian as the format demands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The whole file's bytes.
std::string wavBytes(const std::vector<int16_t>& samples, int rate);
