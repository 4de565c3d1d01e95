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
    if (text.find('\0') != std::string::npos) {
        problem = "it holds NUL bytes: not a text file";
        return false;
    }
    Progress read;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::string content = trimmedLine(line);
        if (content.empty() || content[0] == '#')
            continue;
        auto fail = [&](const std::string& what) {
            problem = "line " + std::to_string(number) + ": " + what;
            return false;
        };
        // A folder may hold "=": the level is after the last one.
        const size_t equals = content.rfind('=');
        if (equals == std::string::npos)
            return fail("not \"campaign = level\"");
        const std::string key = trimmedLine(content.substr(0, equals));
        int level = 0;
        if (!validKey(key))
            return fail("the campaign is neither \"levels\" nor a pack's absolute folder");
        if (!readLevel(trimmedLine(content.substr(equals + 1)), level))
            return fail("the level must be a whole number from 1 to " +
                        std::to_string(PACK_LEVEL_LIMIT));
        if (!read.emplace(key, level).second)
            return fail(key + " is named twice");
    }
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
