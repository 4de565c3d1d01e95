// How the level tools find the game's pictures and levels when they are started outside a game
// directory: they change into the installed one, and the files named on their command line
// keep meaning what they meant where the tool was started.
#pragma once

#include <string>
#include <vector>

// A game directory holds images/ and levels/, as the game reads them.
bool isGameDirectory(const std::string& dir);

// Where an installed tool looks for the game's data, in order: share/games/skarlume beside
// the directory of the running program (PREFIX/games/), then the data directory it was built
// to be installed in.
std::vector<std::string> installedGameDirectories();

// Stays when the working directory is a game directory. Otherwise makes every argument that
// names a file (one that is neither an option nor a number) absolute, and changes into the
// first game directory of `candidates`. False, with the reason in `error`, when none is one.
bool enterGameDirectory(int argc, char* argv[], const std::vector<std::string>& candidates,
                        std::string& error);

// The same with installedGameDirectories(); ends the program with status 2 and a message
// naming the tool when there is no game directory to be found. A tool's main calls it first.
void enterGameDirectory(int argc, char* argv[]);

// Whether the tool changed into installed game data: it was started outside a game directory.
bool runsFromInstalledData();

// Where a player's own levels are kept, $XDG_DATA_HOME/skarlume/levels/, where `skarlume DIR`
// plays them as a pack: the file `name` there, or, for an empty name, the first levelN.txt
// not yet taken, so that a new level joins the end of the pack. The folder is made; "", with
// the reason in `error`, when it cannot be or `name` is not a bare file name.
std::string ownLevelPath(const std::string& name, std::string& error);

// Where a tool writes a file it names itself (solve's solutions/levelN.txt): as given, in the
// game directory it was started in; under the directory it was started from, its folders
// made, when it runs from the installed data, which is not the designer's to change.
std::string outputPath(const std::string& relative);
