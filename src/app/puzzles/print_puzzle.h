// P on the play screen: the puzzle in progress (its givens, its level and its code) as a
// one-page PDF in the player's documents folder (platform/documents_folder.h), named
// "Veltrane Sudoku <level> <date> <time>.pdf" and numbered " (2)", " (3)" ... when that
// name is taken, so an earlier print is never overwritten. The page is drawn and
// written (atomically, save/save.h) on a thread of its own; the message line says
// "Printing the puzzle...", then "Printed to ~/Documents/<name>" or "Not printed:
// <reason>". A P while a print is under way only says so again. The printer is the
// program's (program.h) and owns the thread of the print under way.
#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "play/session/job_worker.h"
#include "sudoku/board.h"

struct PrintRequest {
    Grid givens;
    std::string puzzleName;  // under the grid: "Hard, by logic"
    std::string fileLevel;   // in the file's name: "Hard", "Pasted"
    std::string folder;      // where it goes, ending with '/'; empty: the documents folder
};

struct PrintOutcome {
    bool printed = false;
    std::string path;    // the file written
    std::string reason;  // why not
};

// The file's name for a print made at time `when` (local time), the number-th of that
// name (1: no number).
std::string PrintFileName(const std::string& level, std::time_t when, int number);
// Draws the page and writes it under the first free name (runs on the print's thread).
PrintOutcome PrintPuzzle(const PrintRequest& request, std::time_t when);

class PuzzlePrinter {
public:
    // Called on the print's thread once it is done (to wake a waiting frame loop).
    void SetReadyCallback(std::function<void()> callback) { ready_ = std::move(callback); }
    // Starts a print unless one is under way; false when one is.
    bool Start(PrintRequest request);
    // Once the print is done: its outcome, true.
    bool Take(PrintOutcome& outcome) { return job_.Take(outcome); }
    // Waits for the print under way (the program's end) and frees the fonts of printing.
    void Stop();

private:
    OneShotJob<PrintOutcome> job_;
    std::function<void()> ready_;
    bool printedAny_ = false;
};
