// The recipe of each of the game's sounds: what it is made of, how long it lasts and how loud
// its loudest sample is.
#pragma once

#include <cstdint>
#include <vector>

#include "sounds.h"

struct Effect {
    const char* name;  // what a player hears it for
    std::vector<int16_t> samples;
};

Effect makeEffect(SoundId id);
