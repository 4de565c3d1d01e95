// The player's settings, kept between runs in a small text file under the player's config
// folder: sound on or off, its volume, and the choice of fullscreen or a window.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

constexpr int DEFAULT_VOLUME = 80;
constexpr int MAX_VOLUME = 100;

struct Settings {
    bool mute = false;
    int volume = DEFAULT_VOLUME;  // 0 to MAX_VOLUME
    // Fullscreen or a window, once the player has chosen; until then the desktop's size decides.
    std::optional<bool> fullscreen;

    bool operator==(const Settings& other) const {
        return mute == other.mute && volume == other.volume && fullscreen == other.fullscreen;
    }
};

// The file, "settings.ini" in the game's config folder; empty when there is no home.
std::string settingsPath();

// Reads the text of a settings file: "key = value" lines, "#" comments and blank lines. Keys it
// does not know are passed over (a later version's). False, with the problem and its line in
// `problem`, when a line is neither or a known key has a value out of its range; `settings`
// is then left as it was.
bool parseSettings(const std::string& text, Settings& settings, std::string& problem);
std::string formatSettings(const Settings& settings);

// The settings in the player's file. A missing file is a first run: the defaults. A file that
// cannot be read or is garbled gives the defaults and one line on `warnings`.
Settings loadSettings(std::ostream& warnings);
// Writes the player's file atomically, making its folder; false with the reason otherwise.
bool saveSettings(const Settings& settings, std::string& error);

// The settings of this run: loaded at start-up, changed by the keys that change them.
Settings& currentSettings();
