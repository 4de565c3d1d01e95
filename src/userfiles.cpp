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
#include <sstream>
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
mode_t modeFor(const struct stat* old) {
    if (old != nullptr)
        return old->st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The new file keeps the owner and group of the one it replaces where the process may give
// them: saved by root, another user's level stays theirs and readable to them.
void keepOwner(int fd, const struct stat& old) {
    if (fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)!fchown(fd, uid_t(-1), old.st_gid);
}

}  // namespace

bool resolveLinks(const std::string& path, std::string& target, std::string& error) {
    // As many links in a row as the system itself follows before it calls it a loop.
    constexpr int MOST_LINKS = 40;
    std::filesystem::path at(path);
    for (int hops = 0; hops <= MOST_LINKS; ++hops) {
        struct stat link;
        if (lstat(at.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
            target = at.string();
            return true;
        }
        std::error_code code;
        const std::filesystem::path next = std::filesystem::read_symlink(at, code);
        if (code) {
            error = "cannot read the link " + at.string() + ": " + code.message();
            return false;
        }
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    error = path + " is a loop of symbolic links";
    return false;
}

int linkCount(const std::string& path) {
    struct stat file;
    if (stat(path.c_str(), &file) != 0 || !S_ISREG(file.st_mode))
        return 0;
    return int(file.st_nlink);
}

bool writeFileAtomically(const std::string& path, const std::string& contents, std::string& error) {
    // A file reached through symbolic links is written where the last one points, made there
    // when it does not exist yet; the links stay links.
    std::string resolved;
    if (!resolveLinks(path, resolved, error))
        return false;
    const std::filesystem::path target(resolved);
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
    struct stat old;
    const bool replacing = stat(target.c_str(), &old) == 0;
    if (replacing)
        keepOwner(fd, old);
    if (fchmod(fd, modeFor(replacing ? &old : nullptr)) != 0)
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

namespace {

// A line of a player's file without its leading and trailing blanks (and a DOS line end).
std::string trimmedLine(const std::string& text) {
    const char* blanks = " \t\r";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

bool readKeyValueLines(const std::string& text, const KeyValueShape& shape,
                       const TakeKeyValue& take, std::string& problem) {
    if (text.find('\0') != std::string::npos) {
        problem = "it holds NUL bytes: not a text file";
        return false;
    }
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string content = trimmedLine(line);
        if (content.empty() || content[0] == '#')
            continue;
        const size_t equals = shape.keyMayHoldEquals ? content.rfind('=') : content.find('=');
        const std::string wrong = equals == std::string::npos
                                      ? "not \"" + std::string(shape.shape) + "\""
                                      : take(trimmedLine(content.substr(0, equals)),
                                             trimmedLine(content.substr(equals + 1)));
        if (!wrong.empty()) {
            problem = "line " + std::to_string(number) + ": " + wrong;
            return false;
        }
    }
    return true;
}
