// Recovery copies of unsaved edits, one for each editing session.
#include "recovery.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <functional>

#include "userfiles.h"

namespace {

constexpr const char* SUFFIX = ".unsaved";
// File names stay well under the 255 bytes a folder entry may have.
constexpr size_t LONGEST_KEY = 160;

bool sessionLike(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}

// The level's whole path as one file name: "%" and "/" written as %25 and %2F. A path too
// long for a name keeps its end and a hash of the whole.
std::string keyOf(const std::string& level) {
    std::string key;
    for (char c : level)
        key += c == '%' ? "%25" : c == '/' ? "%2F" : std::string(1, c);
    if (key.size() <= LONGEST_KEY)
        return key;
    char hash[24];
    std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string>()(level));
    return std::string(hash) + "~" + key.substr(key.size() - (LONGEST_KEY - 17));
}

// The copies in `folder` named PREFIX[.SESSION].unsaved, this session's own left out.
void collect(const std::filesystem::path& folder, const std::string& prefix, const std::string& own,
             std::vector<RecoveryCopy>& copies) {
    std::error_code code;
    for (std::filesystem::directory_iterator entry(folder, code), end; !code && entry != end;
         entry.increment(code)) {
        const std::string name = entry->path().filename().string();
        const std::string suffix = SUFFIX;
        if (name.size() < prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) ||
            entry->path() == own)
            continue;
        const std::string middle =
            name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (!middle.empty() && (middle[0] != '.' || !sessionLike(middle.substr(1))))
            continue;
        std::error_code timeCode;
        const auto time = entry->last_write_time(timeCode);
        if (!timeCode && entry->is_regular_file(timeCode))
            copies.push_back({entry->path().string(), time});
    }
}

}  // namespace

std::string newSessionName() {
    static std::atomic<int> counter{0};
    const std::time_t now = std::time(nullptr);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
    return std::string(stamp) + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

Recovery::Recovery(const std::string& levelPath, const std::string& session)
    : level(levelPath), session(session) {}

std::string Recovery::inRecoveryFolder() const {
    const std::string state = stateDirectory();
    if (state.empty())
        return "";
    return state + "/recovery/" + keyOf(level) + "." + session + SUFFIX;
}

std::string Recovery::besideTheLevel() const {
    return level + "." + session + SUFFIX;
}

std::vector<RecoveryCopy> Recovery::others() const {
    std::vector<RecoveryCopy> copies;
    const std::string state = stateDirectory();
    if (!state.empty())
        collect(state + "/recovery", keyOf(level), keptAt, copies);
    const std::filesystem::path levelPath(level);
    collect(levelPath.parent_path(), levelPath.filename().string(), keptAt, copies);
    std::sort(copies.begin(), copies.end(), [](const RecoveryCopy& a, const RecoveryCopy& b) {
        return a.time != b.time ? a.time > b.time : a.path > b.path;
    });
    return copies;
}

bool Recovery::keep(const std::string& text, std::string& error) {
    std::string reasons;
    const std::string folderCopy = inRecoveryFolder();
    std::string problem;
    if (folderCopy.empty()) {
        reasons = "no home folder for recovery copies";
    } else if (makeDirectories(std::filesystem::path(folderCopy).parent_path().string(), problem) &&
               writeFileAtomically(folderCopy, text, problem)) {
        if (keptAt != folderCopy)
            discard();
        keptAt = folderCopy;
        return true;
    } else {
        reasons = problem;
    }
    const std::string beside = besideTheLevel();
    if (writeFileAtomically(beside, text, problem)) {
        if (keptAt != beside)
            discard();
        keptAt = beside;
        return true;
    }
    error = reasons + "; " + problem;
    return false;
}

void Recovery::discard() {
    if (keptAt.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove(keptAt, ignored);
    keptAt.clear();
}
