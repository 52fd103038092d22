// Start-up and shutdown of the game: configures the engine, opens the window,
// loads the data files, builds the shared sprites, the value picker and the GUI,
// restores the saved game, shows the main menu (with the check of a puzzle file given at
// start under way) and runs the frame loop; when the loop ends, frees everything in a
// fixed order, writes the saved game once and waits for the writer thread to finish. Before all that it clears the save folder of
// temporary files that interrupted writes left there.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "app/puzzles/puzzle_intake.h"
#include "save/save_writer.h"

constexpr const char* LogFileName = "gk_sudoku.log";
constexpr const char* WindowTitle = "Quorvel Veltrane Sudoku";
constexpr const char* ResourceErrorText =
    "Can't load circle2.png, BG.PNG, BG2.PNG, CURSOR.PNG, font1.fnt, unselect.bmp, select.bmp or MENU.WAV";

struct RunOptions {
    // Folder of the saved game and the log, with its trailing '/'. Empty: the
    // executable's folder when it is writable, else the per-user data folder.
    std::string saveDirectory;
    // When set, called at the start of every frame under the frame lock, before the
    // game's own frame handling; true ends the frame loop like "Exit". For tools and
    // tests that drive the game (screenshots, pacing measurements).
    std::function<bool()> frameHook;
    // When set, called at the end of every render callback, after the game has drawn
    // its scene and before the engine shows it (for measuring the game's own frame cost).
    std::function<void()> sceneHook;
    // When set, the writer thread writes the files through it instead of the atomic
    // write of save.h (tests make the disk fail or stall with it).
    FileWriteFunction fileWrite;
    // When startPuzzleName is set, the text of a puzzle file (SetStartPuzzleFile): the
    // main menu opens at once and the file's puzzle is checked and graded on a worker;
    // once accepted it replaces the saved game and is played (copy_paste.h).
    std::string startPuzzleText;
    std::string startPuzzleName;  // the file's name, as messages call it
};

// Reads the puzzle file at path and makes the checks that need no search
// (PrecheckPuzzleFile), for the game to start with it; false, with the reason, when it is
// refused (nothing else has happened then).
bool SetStartPuzzleFile(RunOptions& options, const std::string& path, std::string& error);

// --stats: prints the statistics of the games played, one line per kind and level
// (play_statistics.h), read from game.db in the save folder (the executable's or the
// per-user one, as the game chooses it; saveDirectory when set) without writing it.
// Starts nothing else. Returns the exit status (0).
int PrintStatistics(const std::string& saveDirectory, std::FILE* out);

// The whole run after the frame lock exists. Returns the process exit status (0).
int RunGame(const RunOptions& options = {});
