// A player's own files: where they live, and reading and writing them safely.
#include "userfiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

namespace {

std::string reason() {
    return std::strerror(errno);
}

bool writeAll(int fd, const std::string& contents) {
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t written = write(fd, contents.data() + done, contents.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // A short write that wrote nothing more has no errno of its own.
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        done += size_t(written);
    }
    return true;
}

// The permissions the new file gets: those of the file it replaces, or what a new file would
// get under the umask (mkstemp alone would leave it readable by its owner only).
mode_t modeFor(const std::string& path) {
    struct stat old;
    if (stat(path.c_str(), &old) == 0)
        return old.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool writeFileAtomically(const std::string& path, const std::string& contents, std::string& error) {
    // A level reached through a symbolic link is written where the link points, and the link
    // stays a link.
    std::error_code code;
    std::filesystem::path target(path);
    if (std::filesystem::is_symlink(target, code)) {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, code);
        if (!code)
            target = resolved;
    }
    const std::filesystem::path directory =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::string temporary = (directory / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        error = "cannot create a file in " + directory.string() + ": " + reason();
        return false;
    }
    auto giveUp = [&](const std::string& what) {
        error = what + ": " + reason();
        close(fd);
        unlink(temporary.c_str());
        return false;
    };
    if (!writeAll(fd, contents))
        return giveUp("cannot write " + path);
    if (fchmod(fd, modeFor(target.string())) != 0)
        return giveUp("cannot set the permissions of " + path);
    if (fsync(fd) != 0)
        return giveUp("cannot flush " + path + " to the disk");
    if (close(fd) != 0) {
        error = "cannot write " + path + ": " + reason();
        unlink(temporary.c_str());
        return false;
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        error = "cannot replace " + path + ": " + reason();
        unlink(temporary.c_str());
        return false;
    }
    // The rename itself reaches the disk with the directory.
    const int directoryFd = open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (directoryFd >= 0) {
        fsync(directoryFd);
        close(directoryFd);
    }
    return true;
}

bool readWholeFile(const std::string& path, std::string& contents, std::string& error,
                   size_t maxBytes) {
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        error = path + " is a directory, not a file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path + ": " + reason();
        return false;
    }
    // Read in pieces, so that a huge file (or an endless one, such as a device) stops at the
    // limit instead of filling the memory.
    std::string text;
    char piece[65536];
    while (in.read(piece, sizeof piece) || in.gcount() > 0) {
        if (text.size() + size_t(in.gcount()) > maxBytes) {
            error = path + " is too large (over " + std::to_string(maxBytes) + " bytes)";
            return false;
        }
        text.append(piece, size_t(in.gcount()));
    }
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    contents = std::move(text);
    return true;
}

namespace {

// One XDG base directory: the variable when it holds an absolute path, else the fallback
// under $HOME; the game's own folder below it.
std::string baseDirectory(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/')
        return std::string(value) + "/skarlume";
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0')
        return std::string();
    return std::string(home) + "/" + underHome + "/skarlume";
}

}  // namespace

std::string configDirectory() {
    return baseDirectory("XDG_CONFIG_HOME", ".config");
}

std::string dataDirectory() {
    return baseDirectory("XDG_DATA_HOME", ".local/share");
}

std::string stateDirectory() {
    return baseDirectory("XDG_STATE_HOME", ".local/state");
}

bool makeDirectories(const std::string& directory, std::string& error) {
    if (directory.empty()) {
        error = "no home directory (neither HOME nor the XDG directories are set)";
        return false;
    }
    std::error_code code;
    std::filesystem::create_directories(directory, code);
    if (std::filesystem::is_directory(directory, code))
        return true;
    error = "cannot make the folder " + directory + ": " +
            (code ? code.message() : std::string("a file of that name is in the way"));
    return false;
}
