// The player's progress: the furthest level reached in each campaign (the game's own and every
// level pack), kept between runs in "progress.ini" in the player's data folder.
#pragma once

#include <iosfwd>
#include <map>
#include <string>

#include "campaign.h"

// Campaign (see progressKey) to the furthest level reached in it, from 1.
using Progress = std::map<std::string, int>;

// The file; empty when there is no home.
std::string progressPath();

// Reads the text of a progress file: "campaign = level" lines, "#" comments and blank lines,
// where a campaign is "levels" or a pack's absolute folder and a level a whole number from 1
// to PACK_LEVEL_LIMIT. False, with the problem and its line in `problem`, for anything else
// or a campaign named twice; `progress` is then left as it was.
bool parseProgress(const std::string& text, Progress& progress, std::string& problem);
std::string formatProgress(const Progress& progress);

// The player's progress. A missing file is none; one that cannot be read or is garbled is
// none too, with one line on `warnings`.
Progress loadProgress(std::ostream& warnings);
// Writes the player's file atomically, making its folder; false with the reason otherwise.
bool saveProgress(const Progress& progress, std::string& error);

// The level a game of `campaign` may continue from: the furthest reached, within the campaign's
// levels, when it is beyond the first; 0 when there is nothing to continue.
int continueLevel(const Progress& progress, const Campaign& campaign);
// Notes that level `number` of `campaign` was reached; true when that goes further than before
// (a one-level game keeps no progress).
bool noteReached(Progress& progress, const Campaign& campaign, int number);

// The progress of this run: loaded at start-up, kept as levels are reached.
Progress& currentProgress();
