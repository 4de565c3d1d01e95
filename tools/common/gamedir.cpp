// Finding the game directory for the level tools, and keeping their file arguments meaningful.
#include "gamedir.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <system_error>

#include "userfiles.h"

namespace fs = std::filesystem;

namespace {

// The directory the tool was started in, once it has moved into the installed data.
std::string startDirectory;

// The rewritten arguments; a deque, so that growing it never moves the strings argv points at.
std::deque<std::string> absoluteArguments;

bool isNumber(const std::string& word) {
    return !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
}

bool namesAFile(const char* argument) {
    return argument[0] != '\0' && argument[0] != '-' && !isNumber(argument);
}

}  // namespace

bool isGameDirectory(const std::string& dir) {
    std::error_code error;
    return fs::is_directory(fs::path(dir) / "images", error) &&
           fs::is_directory(fs::path(dir) / "levels", error);
}

std::vector<std::string> installedGameDirectories() {
    std::vector<std::string> dirs;
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error)
        dirs.push_back((program.parent_path() / "../share/games/skarlume").lexically_normal());
#ifdef SKARLUME_INSTALLED_DATA_DIR
    dirs.push_back(SKARLUME_INSTALLED_DATA_DIR);
#endif
    return dirs;
}

bool enterGameDirectory(int argc, char* argv[], const std::vector<std::string>& candidates,
                        std::string& error) {
    startDirectory.clear();
    if (isGameDirectory("."))
        return true;
    for (const std::string& dir : candidates) {
        if (!isGameDirectory(dir))
            continue;
        std::error_code failure;
        fs::path here = fs::current_path(failure);
        if (!failure)
            for (int i = 1; i < argc; ++i)
                if (namesAFile(argv[i]))
                    argv[i] = absoluteArguments.emplace_back(here / argv[i]).data();
        if (!failure)
            fs::current_path(dir, failure);
        if (failure) {
            error = "cannot change into " + dir + ": " + failure.message();
            return false;
        }
        startDirectory = here;
        return true;
    }
    error = "no images/ and levels/ here, and no installed game data in";
    for (const std::string& dir : candidates)
        error += " " + dir;
    return false;
}

void enterGameDirectory(int argc, char* argv[]) {
    std::string error;
    if (enterGameDirectory(argc, argv, installedGameDirectories(), error))
        return;
    std::fprintf(stderr, "%s: %s\n", fs::path(argv[0]).filename().c_str(), error.c_str());
    std::exit(2);
}

bool runsFromInstalledData() {
    return !startDirectory.empty();
}

std::string ownLevelPath(const std::string& name, std::string& error) {
    if (name.find('/') != std::string::npos || name == "." || name == "..") {
        error = name + " is not a bare file name";
        return "";
    }
    const std::string folder = dataDirectory() + "/levels";
    if (dataDirectory().empty() || !makeDirectories(folder, error)) {
        if (dataDirectory().empty())
            error = "no home directory for the player's own levels";
        return "";
    }
    if (!name.empty())
        return folder + "/" + name;
    std::error_code code;
    for (int n = 1;; ++n) {
        const std::string free = folder + "/level" + std::to_string(n) + ".txt";
        if (!fs::exists(fs::symlink_status(free, code)))
            return free;
    }
}

std::string outputPath(const std::string& relative) {
    if (startDirectory.empty())
        return relative;
    fs::path path = fs::path(startDirectory) / relative;
    std::error_code ignored;  // a folder that cannot be made shows as the file's write error
    fs::create_directories(path.parent_path(), ignored);
    return path;
}
