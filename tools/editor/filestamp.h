// What a level file held when the editor last read or wrote it: its size, its time and a hash
// of its bytes, to tell when someone else (a shell, another editor) has changed it since.
#pragma once

#include <cstdint>
#include <string>

struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since the epoch
    std::uint64_t hash = 0;

    // The stamp of `path` (through its links) as it holds `text` now.
    static FileStamp of(const std::string& path, const std::string& text);
    // The stamp of `path` as it is on disk; `text` gets what it holds when it was read.
    static FileStamp read(const std::string& path, std::string* text = nullptr);
};

// A 64-bit FNV-1a hash: quick, and plenty to tell two versions of a file apart.
std::uint64_t hashOf(const std::string& text);

// Whether the file at `path` now holds something other than what `stamp` says. Size and time
// unchanged mean unchanged; otherwise the bytes are read and hashed, so a file merely touched
// is not called changed (and `stamp` takes its new time).
bool changedOnDisk(const std::string& path, FileStamp& stamp);
