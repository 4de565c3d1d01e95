// The game's command line.
#pragma once

#include <optional>
#include <string>

struct Options {
    bool help = false;
    bool mute = false;
    // --fullscreen or --window; unset leaves it to the settings and the desktop's size.
    std::optional<bool> fullscreen;
    // A level file, or a folder of level files, to play instead of the shipped campaign.
    std::string levels;
};

// False, with the reason in `error`, for an option it does not know or a second path.
bool parseOptions(int argc, const char* const argv[], Options& options, std::string& error);

// What --help prints.
const char* usageText();
