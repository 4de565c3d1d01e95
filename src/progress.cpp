// The player's progress file: reading it (never trusting it), writing it atomically.
#include "progress.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <sstream>

#include "userfiles.h"

namespace {

// A line for each campaign played; a file much larger than that is not a progress file.
constexpr size_t PROGRESS_FILE_LIMIT = 256 * 1024;

bool validKey(const std::string& key) {
    if (key == "levels")
        return true;
    if (key.empty() || key[0] != '/')
        return false;
    for (char c : key)
        if (static_cast<unsigned char>(c) < ' ' || c == 127)
            return false;
    return true;
}

bool readLevel(const std::string& value, int& number) {
    if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != value.npos)
        return false;
    number = std::stoi(value);
    return number >= 1 && number <= PACK_LEVEL_LIMIT;
}

}  // namespace

std::string progressPath() {
    const std::string folder = dataDirectory();
    return folder.empty() ? std::string() : folder + "/progress.ini";
}

bool parseProgress(const std::string& text, Progress& progress, std::string& problem) {
    Progress read;
    // A pack's folder may hold "=": the level is after the last one.
    const KeyValueShape shape{"campaign = level", true};
    auto take = [&](const std::string& key, const std::string& value) -> std::string {
        int level = 0;
        if (!validKey(key))
            return "the campaign is neither \"levels\" nor a pack's absolute folder";
        if (!readLevel(value, level))
            return "the level must be a whole number from 1 to " + std::to_string(PACK_LEVEL_LIMIT);
        if (!read.emplace(key, level).second)
            return key + " is named twice";
        return "";
    };
    if (!readKeyValueLines(text, shape, take, problem))
        return false;
    progress = std::move(read);
    return true;
}

std::string formatProgress(const Progress& progress) {
    std::ostringstream text;
    text << "# Skarlume's progress, written by the game: the furthest level reached in each\n"
            "# campaign. A line it cannot read makes it start with no progress.\n";
    for (const auto& [key, level] : progress)
        text << key << " = " << level << "\n";
    return text.str();
}

Progress loadProgress(std::ostream& warnings) {
    const std::string path = progressPath();
    std::error_code code;
    if (path.empty() || !std::filesystem::exists(std::filesystem::symlink_status(path, code)))
        return Progress();
    Progress progress;
    std::string text, problem;
    if (!std::filesystem::is_regular_file(path, code)) {
        problem = "not a regular file";
    } else if (readWholeFile(path, text, problem, PROGRESS_FILE_LIMIT) &&
               parseProgress(text, progress, problem)) {
        return progress;
    }
    warnings << "skarlume: ignoring the progress in " << path << " (" << problem
             << "); starting with none" << std::endl;
    return Progress();
}

bool saveProgress(const Progress& progress, std::string& error) {
    if (!makeDirectories(dataDirectory(), error))
        return false;
    return writeFileAtomically(progressPath(), formatProgress(progress), error);
}

int continueLevel(const Progress& progress, const Campaign& campaign) {
    const auto found = progress.find(progressKey(campaign));
    if (found == progress.end())
        return 0;
    const int level = std::min(found->second, campaign.levelCount);
    return level > 1 ? level : 0;
}

bool noteReached(Progress& progress, const Campaign& campaign, int number) {
    const std::string key = progressKey(campaign);
    if (key.empty() || !validKey(key))
        return false;
    int& furthest = progress[key];
    if (number <= furthest)
        return false;
    furthest = number;
    return true;
}

Progress& currentProgress() {
    static Progress progress;
    return progress;
}
