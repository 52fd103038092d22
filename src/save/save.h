// Saved game: the text file that carries one board across runs ("game.save" in the
// program's folder). SudokuBoard::Save and SudokuBoard::Load, declared with the
// board in sudoku/board.h, are implemented here; this header adds the pieces that
// the command-line tool and the tests share.
//
// Format (ASCII, CR LF line ends): the size N on the first line, then N lines of
// `values` and N lines of `givens`, each a row whose every entry is a space and the
// number in decimal. The reader takes white-space separated integers and accepts
// only boards of size 16 (or an empty board, size 0). It reads only a regular file
// of at most 1 MB and never blocks on a FIFO or device put in the file's place.
// Standard library and POSIX file calls only.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "sudoku/board.h"
#include "sudoku/grid.h"

// The only board size a saved game may hold besides 0 (the play screen shows 16 x 16).
constexpr std::int32_t kSavedBoardSize = kBoardSide;

// The file's name in the saved game's folder.
constexpr const char* SaveFileName = "game.save";

// The exact bytes Save writes for the board; empty when Save writes nothing
// (size 0 or less, or grids that do not have the board's size).
std::string SavedGameText(const SudokuBoard& board);

// Parses the text of a saved game into the board's size, box size and grids, exactly
// as Load reads a file's bytes; false (board untouched) where Load would refuse it.
bool ParseSavedGame(const std::string& text, SudokuBoard& board);

// Replaces the contents of the file at path as one step: the bytes go to a new file
// in the same folder that has no name while it is written (where the file system
// allows; else one created exclusively under a fresh temporary name, so no planted
// file or link is followed), are flushed to disk, and the file is renamed over path;
// the folder is flushed after. The temporary's name ".<name>.veltrane-tmp-XXXXXX"
// exists only from the end of the write to the rename. Another reader sees the old
// file or the new one, never a mix, and a failed or interrupted write leaves the old
// file and (but for a kill in that last moment) no temporary.
// What writing in place would keep is kept: the permission bits (and, where the
// system allows, the owner) of the old file, and a symbolic link at path, whose
// target is the file replaced. The owner's read bit is always set, so a file of
// mode 000 is not written back unreadable. A hard link is split: the
// other names keep the old contents. Refuses (false) when something other than a
// regular file is at path. True on success.
bool ReplaceFileContents(const std::string& path, const std::string& bytes);
// The same write; 0 on success, else the errno of the step that failed (EISDIR or
// EEXIST for a folder or other non-regular file at path, ELOOP for links that
// cannot be followed).
int WriteFileAtomically(const std::string& path, const std::string& bytes);
// Why a write of WriteFileAtomically failed, for the player: the system's text for
// error, but for a folder or other non-regular file in the file's place, which the
// system's texts would call "Is a directory" and "File exists".
std::string WriteFailureReason(int error);

// Removes what an interrupted write left in folder (with its trailing '/', empty for
// the current folder): regular files of this user named ".<name>.veltrane-tmp-XXXXXX"
// for one of names, XXXXXX being six letters or digits, as only the write above names
// its temporaries, that were last modified before notAfter. The player's own files
// ("game.save.backup") are never touched. Returns how many were removed.
int RemoveStaleTemporaries(const std::string& folder, const std::vector<std::string>& names,
                           std::time_t notAfter);
