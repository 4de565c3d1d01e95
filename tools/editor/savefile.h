// Writing a file so that it is never seen half-written: a temporary file beside it, flushed to
// the disk, then renamed over it.
#pragma once

#include <string>

// Replaces the file at `path` with `contents`, or leaves it as it was and says why in `error`.
bool writeFileAtomically(const std::string& path, const std::string& contents, std::string& error);

// Reads a whole file; false, with the reason in `error`, when it cannot be read.
bool readWholeFile(const std::string& path, std::string& contents, std::string& error);
