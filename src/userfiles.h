// A player's own files: where they live (the XDG directories), and reading and writing them so
// that none is ever seen half-written or read without bound.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// The game's folder in each of the player's directories, from $XDG_CONFIG_HOME,
// $XDG_DATA_HOME and $XDG_STATE_HOME, or, where one is unset, empty or not absolute, from
// $HOME as the XDG rules say (~/.config, ~/.local/share, ~/.local/state), each ending in
// "/skarlume". Empty when neither is set.
std::string configDirectory();
std::string dataDirectory();
std::string stateDirectory();

// Creates `directory` and its parents as needed; false, with the reason in `error`, when it
// cannot be made or is not a directory.
bool makeDirectories(const std::string& directory, std::string& error);

// Replaces the file at `path` with `contents`, or leaves it as it was and says why in `error`:
// a temporary file beside it, flushed to the disk, then renamed over it. Through symbolic
// links (a dangling one too) it writes the file the last link names, and keeps the replaced
// file's mode and, where the process may, its owner and group. A file with other names (hard
// links) gets a new file under this name alone: the others keep what they held.
bool writeFileAtomically(const std::string& path, const std::string& contents, std::string& error);

// The file that `path` names once every symbolic link on the way is followed, whether or not
// it exists; false, with the reason in `error`, for a loop of links.
bool resolveLinks(const std::string& path, std::string& target, std::string& error);

// How many names (hard links) the regular file at `path` has; 0 when there is none.
int linkCount(const std::string& path);

// Reads a whole file; false, with the reason in `error`, when it cannot be read, is not a
// regular file, or holds more than `maxBytes`.
constexpr size_t NO_SIZE_LIMIT = size_t(-1);
bool readWholeFile(const std::string& path, std::string& contents, std::string& error,
                   size_t maxBytes = NO_SIZE_LIMIT);

// How a player's file of "key = value" lines is read: the shape a line must have, as a
// message names it, and whether a key may itself hold "=" (the value is after the last one).
struct KeyValueShape {
    const char* shape;  // "key = value"
    bool keyMayHoldEquals = false;
};

// Hands each "key = value" line of `text` to `take`, trimmed, skipping blank lines and "#"
// comments; `take` returns what is wrong with the line, or nothing. False, with
// "line N: ..." in `problem`, at the first line that has no "=" or that `take` refuses, and
// for a text with a NUL byte, which is no text file at all.
using TakeKeyValue = std::function<std::string(const std::string& key, const std::string& value)>;
bool readKeyValueLines(const std::string& text, const KeyValueShape& shape,
                       const TakeKeyValue& take, std::string& problem);
