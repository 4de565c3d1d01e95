// The game's command line: a few switches and, optionally, the levels to play.
#include "options.h"

#include <cstring>

bool parseOptions(int argc, const char* const argv[], Options& options, std::string& error) {
    options = Options();
    bool pathsOnly = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (!pathsOnly && argument[0] == '-' && argument[1] != '\0') {
            if (std::strcmp(argument, "--") == 0)
                pathsOnly = true;
            else if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0)
                options.help = true;
            else if (std::strcmp(argument, "--mute") == 0)
                options.mute = true;
            else if (std::strcmp(argument, "--fullscreen") == 0)
                options.fullscreen = true;
            else if (std::strcmp(argument, "--window") == 0)
                options.fullscreen = false;
            else {
                error = std::string("unknown option ") + argument;
                return false;
            }
            continue;
        }
        if (!options.levels.empty()) {
            error = std::string("one level file or folder at a time, not also ") + argument;
            return false;
        }
        options.levels = argument;
        if (options.levels.empty()) {
            error = "an empty path names no level";
            return false;
        }
    }
    return true;
}

const char* usageText() {
    return "usage: skarlume [--mute] [--fullscreen | --window] [FILE | DIR]\n"
           "Plays the game's 35 levels from the game directory (images/, levels/).\n"
           "  FILE          play that level file straight away, with four ships; once it is\n"
           "                won, back to the title\n"
           "  DIR           play the folder's level1.txt, level2.txt, ... as a level pack, a\n"
           "                campaign with its own progress, up to the first missing level\n"
           "                (the installed editor keeps new levels in\n"
           "                $XDG_DATA_HOME/skarlume/levels/, a pack of the player's own)\n"
           "  --mute        no sound for this run only; on every screen M turns sound on and\n"
           "                off and - and + set its volume, both kept in the settings\n"
           "  --fullscreen  fill the screen (F11 or Alt+Return switch on every screen)\n"
           "  --window      play in a window\n"
           "  --help        print this and exit\n"
           "In play, P pauses and resumes (so does leaving the window).\n"
           "Settings are kept in $XDG_CONFIG_HOME/skarlume/settings.ini, the furthest level\n"
           "reached in $XDG_DATA_HOME/skarlume/progress.ini, which the title offers to continue\n"
           "from (by default ~/.config and ~/.local/share).\n"
           "A FILE or DIR that is missing or no level ends the game at once, with status 1.\n";
}
