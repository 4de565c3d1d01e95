// The picture maker's files and folders: every file is written whole or not at all, and any
// failure ends the program with a line naming the path.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

namespace makeimages {

// Writes the bytes through a temporary file, so that a reader never sees half of them.
void writeFile(const std::string& path, const std::vector<Uint8>& bytes);
// Makes the folder and any missing parents.
void makeDirectories(const std::string& dir);

}  // namespace makeimages
