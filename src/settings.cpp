// The player's settings file: reading it (never trusting it), writing it atomically.
#include "settings.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <sstream>

#include "userfiles.h"

namespace {

// A settings file is a few lines; anything much larger is not one.
constexpr size_t SETTINGS_FILE_LIMIT = 64 * 1024;

bool readSwitch(const std::string& value, bool& on) {
    if (value == "on" || value == "yes" || value == "true") {
        on = true;
        return true;
    }
    if (value == "off" || value == "no" || value == "false") {
        on = false;
        return true;
    }
    return false;
}

bool readVolume(const std::string& value, int& volume) {
    if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != value.npos)
        return false;
    const int read = std::atoi(value.c_str());
    if (read > MAX_VOLUME)
        return false;
    volume = read;
    return true;
}

}  // namespace

std::string settingsPath() {
    const std::string folder = configDirectory();
    return folder.empty() ? std::string() : folder + "/settings.ini";
}

bool parseSettings(const std::string& text, Settings& settings, std::string& problem) {
    Settings read = settings;
    auto take = [&read](const std::string& key, const std::string& value) -> std::string {
        bool on = false;
        if (key == "mute") {
            if (!readSwitch(value, on))
                return "mute must be on or off";
            read.mute = on;
        } else if (key == "volume") {
            if (!readVolume(value, read.volume))
                return "volume must be a whole number from 0 to " + std::to_string(MAX_VOLUME);
        } else if (key == "fullscreen") {
            if (!readSwitch(value, on))
                return "fullscreen must be on or off";
            read.fullscreen = on;
        }
        return "";
    };
    if (!readKeyValueLines(text, {"key = value"}, take, problem))
        return false;
    settings = read;
    return true;
}

std::string formatSettings(const Settings& settings) {
    std::ostringstream text;
    text << "# Skarlume's settings, written by the game. A line it cannot read makes it start\n"
            "# with its defaults.\n"
         << "mute = " << (settings.mute ? "on" : "off") << "\n"
         << "volume = " << settings.volume << "\n";
    if (settings.fullscreen)
        text << "fullscreen = " << (*settings.fullscreen ? "on" : "off") << "\n";
    return text.str();
}

Settings loadSettings(std::ostream& warnings) {
    Settings settings;
    const std::string path = settingsPath();
    std::error_code code;
    if (path.empty() || !std::filesystem::exists(std::filesystem::symlink_status(path, code)))
        return settings;
    std::string text, problem;
    if (!readWholeFile(path, text, problem, SETTINGS_FILE_LIMIT) ||
        !parseSettings(text, settings, problem)) {
        warnings << "skarlume: ignoring the settings in " << path << " (" << problem
                 << "); using the defaults" << std::endl;
        return Settings();
    }
    return settings;
}

bool saveSettings(const Settings& settings, std::string& error) {
    const std::string path = settingsPath();
    if (!makeDirectories(configDirectory(), error))
        return false;
    return writeFileAtomically(path, formatSettings(settings), error);
}

Settings& currentSettings() {
    static Settings settings;
    return settings;
}
