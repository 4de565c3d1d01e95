// Which levels a game plays: the game's own campaign, a level pack (a folder of level1.txt,
// level2.txt, ... that a player made or was sent), or one level file named on the command line.
#pragma once

#include <cstddef>
#include <string>

#include "Level.h"

enum class CampaignKind { Shipped, Pack, OneLevel };

struct Campaign {
    CampaignKind kind = CampaignKind::Shipped;
    // Where levelN.txt lie, for the game's own campaign and a pack.
    std::string folder = "levels";
    // The level file of a one-level game.
    std::string file;
    int levelCount = LEVEL_COUNT;
};

// A level file is a few kilobytes; anything this large is not one.
constexpr size_t LEVEL_FILE_LIMIT = 1024 * 1024;
// A pack's levels are looked for up to this number.
constexpr int PACK_LEVEL_LIMIT = 999;

// Whether `path` is a level file the game can play: a readable regular file (links followed)
// of at most LEVEL_FILE_LIMIT bytes, text without NUL bytes, holding at least one record.
// False, with the reason naming the file in `problem`, otherwise.
bool checkLevelFile(const std::string& path, std::string& problem);

// The campaign that `path` names: one level file, or a folder played as a pack. False, with
// the reason naming `path` in `error`, when it is neither or its first level is unplayable.
// A pack ends before its first missing or unplayable level; unless that is the next number
// after a pack's last file, `stopNote` then says where and why it stops.
bool openCampaign(const std::string& path, Campaign& campaign, std::string& error,
                  std::string& stopNote);

// The file of level `number` (from 1) of the campaign.
std::string levelPath(const Campaign& campaign, int number);
// What its progress is kept under: "levels" for the game's own campaign, a pack's absolute
// folder, and "" for a one-level game, which keeps none.
std::string progressKey(const Campaign& campaign);

// The campaign of this run: the game's own unless the command line named another.
Campaign& currentCampaign();
