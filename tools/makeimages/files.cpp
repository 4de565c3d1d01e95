// The picture maker's files and folders, written whole or not at all.
#include "files.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "failure.h"

namespace makeimages {

void writeFile(const std::string& path, const std::vector<Uint8>& bytes) {
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out)
            failBecause("cannot write " + temporary, std::strerror(errno));
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        failBecause("cannot write " + path, error.message());
    }
}

void makeDirectories(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        failBecause("cannot make " + dir, error.message());
}

}  // namespace makeimages
