// The campaign of a run: the game's own levels, a level pack, or one level file.
#include "campaign.h"

#include <filesystem>
#include <sstream>
#include <system_error>

#include "LevelFile.h"
#include "userfiles.h"

namespace fs = std::filesystem;

namespace {

bool holdsARecord(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (readLevelLine(lines, line))
        if (recordKind(keywordOf(line)) != RecordKind::None)
            return true;
    return false;
}

}  // namespace

bool checkLevelFile(const std::string& path, std::string& problem) {
    std::error_code code;
    // status() follows links: a loop of them is an error here, not a hang.
    const fs::file_status status = fs::status(path, code);
    if (code && code != std::errc::no_such_file_or_directory) {
        problem = "cannot open " + path + ": " + code.message();
        return false;
    }
    if (!fs::exists(status)) {
        problem = path + " does not exist";
        return false;
    }
    if (fs::is_directory(status)) {
        problem = path + " is a directory, not a level file";
        return false;
    }
    if (!fs::is_regular_file(status)) {
        problem = path + " is not a regular file";
        return false;
    }
    std::string text;
    if (!readWholeFile(path, text, problem, LEVEL_FILE_LIMIT))
        return false;
    if (text.find('\0') != std::string::npos) {
        problem = path + " is not a level file: it holds NUL bytes";
        return false;
    }
    if (!holdsARecord(text)) {
        problem = path +
                  " is not a level file: no line in it is a Ship, ShipArea, Wall, "
                  "Crate, EnemyForward or EnemyDual record";
        return false;
    }
    return true;
}

bool openCampaign(const std::string& path, Campaign& campaign, std::string& error,
                  std::string& stopNote) {
    stopNote.clear();
    std::error_code code;
    const fs::file_status status = fs::status(path, code);
    if (code && code != std::errc::no_such_file_or_directory) {
        error = "cannot open " + path + ": " + code.message();
        return false;
    }
    if (!fs::exists(status)) {
        error = path + " does not exist";
        return false;
    }
    if (!fs::is_directory(status)) {
        if (!checkLevelFile(path, error))
            return false;
        campaign = Campaign();
        campaign.kind = CampaignKind::OneLevel;
        campaign.file = path;
        campaign.levelCount = 1;
        return true;
    }
    Campaign pack;
    pack.kind = CampaignKind::Pack;
    const fs::path absolute = fs::absolute(path, code);
    pack.folder = (code ? fs::path(path) : absolute.lexically_normal()).string();
    if (pack.folder.size() > 1 && pack.folder.back() == '/')
        pack.folder.pop_back();
    int count = 0;
    std::string problem;
    while (count < PACK_LEVEL_LIMIT && checkLevelFile(levelPath(pack, count + 1), problem))
        ++count;
    if (count == 0) {
        error = "the folder " + path + " is no level pack: " + problem;
        return false;
    }
    if (count == PACK_LEVEL_LIMIT) {
        stopNote = "the pack " + path + " is played up to level " +
                   std::to_string(PACK_LEVEL_LIMIT) + ", the most a pack holds";
    } else {
        // A pack simply ends where its numbers end; a level after the gap means a gap.
        const fs::path nextOne = levelPath(pack, count + 1);
        bool laterLevel = fs::exists(fs::symlink_status(nextOne, code));
        for (int n = count + 2; !laterLevel && n <= count + 10; ++n)
            laterLevel = fs::exists(fs::symlink_status(levelPath(pack, n), code));
        if (laterLevel)
            stopNote =
                "the pack " + path + " stops after level " + std::to_string(count) + ": " + problem;
    }
    pack.levelCount = count;
    campaign = pack;
    return true;
}

std::string levelPath(const Campaign& campaign, int number) {
    if (campaign.kind == CampaignKind::OneLevel)
        return campaign.file;
    return campaign.folder + "/level" + std::to_string(number) + ".txt";
}

std::string progressKey(const Campaign& campaign) {
    switch (campaign.kind) {
        case CampaignKind::Shipped:
            return "levels";
        case CampaignKind::Pack:
            return campaign.folder;
        case CampaignKind::OneLevel:
            break;
    }
    return "";
}

Campaign& currentCampaign() {
    static Campaign campaign;
    return campaign;
}
