// The level report's chart: the campaign's curve, level by level, saved as a BMP.
#pragma once

#include <vector>

#include "levelreport.h"

// Draws the rows as three panels (lateness forgiven, random-play wins, what the puzzle asks)
// and saves the picture; false when it cannot be drawn or saved.
bool drawChart(const std::vector<LevelRow>& rows, const char* path);
