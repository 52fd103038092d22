// Where the player's documents go (the game's printed puzzles): the folder the desktop
// names as the documents folder, XDG_DOCUMENTS_DIR from the environment, else the
// XDG_DOCUMENTS_DIR line of $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config/), with
// $HOME expanded, when that folder exists; else ~/Documents when it exists; else the
// home folder. Also how the player's own paths are shown, the home folder as "~".
// Reads only; owns nothing.
#pragma once

#include <string>

// The documents folder, ending with '/'; empty when HOME is unset or not absolute and
// no named folder exists.
std::string DocumentsDirectory();
// The XDG_DOCUMENTS_DIR value of the text of a user-dirs.dirs file, $HOME (or ${HOME})
// at its start replaced by home; empty when the text has no usable line.
std::string DocumentsDirectoryOfUserDirs(const std::string& text, const std::string& home);
// path with the home folder at its start shown as "~" ("~/Documents/x.pdf").
std::string PathForPlayer(const std::string& path);
