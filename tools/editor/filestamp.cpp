// What a level file held when the editor last read or wrote it.
#include "filestamp.h"

#include <sys/stat.h>

#include "userfiles.h"

namespace {

bool statOf(const std::string& path, FileStamp& stamp) {
    struct stat file;
    if (stat(path.c_str(), &file) != 0 || !S_ISREG(file.st_mode))
        return false;
    stamp.exists = true;
    stamp.size = std::uintmax_t(file.st_size);
    stamp.modified = std::int64_t(file.st_mtim.tv_sec) * 1000000000 + file.st_mtim.tv_nsec;
    return true;
}

}  // namespace

std::uint64_t hashOf(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

FileStamp FileStamp::of(const std::string& path, const std::string& text) {
    FileStamp stamp;
    if (statOf(path, stamp))
        stamp.hash = hashOf(text);
    return stamp;
}

FileStamp FileStamp::read(const std::string& path, std::string* text) {
    FileStamp stamp;
    std::string contents, error;
    if (!statOf(path, stamp) || !readWholeFile(path, contents, error))
        return FileStamp();
    stamp.hash = hashOf(contents);
    if (text != nullptr)
        *text = std::move(contents);
    return stamp;
}

bool changedOnDisk(const std::string& path, FileStamp& stamp) {
    FileStamp now;
    statOf(path, now);
    if (now.exists != stamp.exists)
        return true;
    if (!now.exists || (now.size == stamp.size && now.modified == stamp.modified))
        return false;
    now = FileStamp::read(path);
    if (!now.exists || now.hash != stamp.hash)
        return true;
    stamp = now;
    return false;
}
