// Where the saved game and the log live: the executable's folder when the game's
// data lies beside it and the program may write there (a build folder, a portable
// copy), otherwise the
// per-user data folder $XDG_DATA_HOME/veltrane-sudoku/ (default
// ~/.local/share/veltrane-sudoku/), created when needed. Every folder returned
// ends with '/'; empty text means the current folder.
#pragma once

#include <string>

// True when a file can be created in folder (empty: the current folder).
bool IsWritableDirectory(const std::string& folder);
// The per-user data folder for appName, created with its parents when missing;
// empty text when it cannot be made.
std::string UserDataDirectory(const std::string& appName);
// moduleDirectory when it holds dataFileName and is writable, else the per-user
// folder (else moduleDirectory). An installed executable (e.g. /usr/games, with
// its data under share/) thus never gets saves beside it, not even when run by root.
std::string ChooseSaveDirectory(const std::string& moduleDirectory, const std::string& appName,
                                const std::string& dataFileName);
// The folder to read fileName from at start-up: saveDirectory when the file is
// there; else moduleDirectory when it holds one (a game saved while the program's
// folder was writable, now read-only); else saveDirectory.
std::string ChooseLoadDirectory(const std::string& saveDirectory, const std::string& moduleDirectory,
                                const std::string& fileName);
