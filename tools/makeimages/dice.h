// The picture maker's random numbers: a fixed seed and only the engine's raw output, so that
// every run draws the same stars, clouds and sparks on every machine.
#pragma once

#include <random>

namespace makeimages {

class Dice {
public:
    explicit Dice(unsigned seed) : engine(seed) {}
    int below(int n) { return int(engine() % unsigned(n)); }
    double unit() { return double(engine() >> 8) / double(1u << 24); }
    double between(double low, double high) { return low + (high - low) * unit(); }

private:
    std::mt19937 engine;
};

}  // namespace makeimages
