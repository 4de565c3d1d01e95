// The icon of the game's menu entry: the player's ship fires a shot that a diagonal wall turns
// onto a crate, on the game's sky, in a rounded square.
#pragma once

#include <string>

namespace makeimages {

// Writes skarlume-SIZE.png for every icon size into `dir`, making it if need be.
void drawIcons(const std::string& dir);

}  // namespace makeimages
