// Puzzles brought in from outside the game: a code pasted from the clipboard, or a
// file named on the command line (a code or a saved game). TakeInPuzzleText reads the
// text as save/puzzle_file.h does (the form, a clash, the completion check), refuses a
// grid that is already finished, and grades the givens (sudoku/logic/puzzle_grade.h: the
// solution count and the logic engine's level) for the origin the status line names.
//
// The completion check and the count can take a second or two, so the game never runs
// them on the frame thread, nor before its window opens: PuzzleIntakeCheck runs
// TakeInPuzzleText as a job on a thread of its own (play/session/job_worker.h). The
// frame hands the text over and picks the result up in a later frame; it never waits,
// except for a dropped check to stop (a few nodes of a search). PrecheckPuzzleFile is
// the part that answers at once (reading, the form, a clash, a finished grid), for the
// command line to refuse a file before anything else happens. Owns the worker (stopped
// and joined with the check) and the result it leaves.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "play/session/job_worker.h"
#include "save/game_state.h"
#include "sudoku/board.h"

struct TakenPuzzle {
    Grid givens;          // 16 x 16: the puzzle
    Grid values;          // the givens and, from a saved game, the player's values as they stand
    PuzzleOrigin origin;  // Pasted or File; the level, 0 for none; solutions 1 or 2, 0 when the count gave up
};

// False, with the reason in error, for a text that is no puzzle code or saved game, whose
// givens clash or cannot be finished, or whose grid has no empty cell left to play. The
// origin is of the kind given (Pasted or File). stop, when given, ends the checks early
// once true (the result is then of no use).
bool TakeInPuzzleText(const std::string& text, PuzzleKind kind, TakenPuzzle& puzzle, std::string& error,
                      const std::atomic<bool>* stop = nullptr);
// Reads a file through the bounded reader (at most 64 KB) into text and makes the checks
// of TakeInPuzzleText that take no search: the form, a clash among the givens, a grid with
// nothing left to play. False, with the reason starting with the path, for a file refused.
bool PrecheckPuzzleFile(const std::string& path, std::string& text, std::string& error);

// Makes the board a new game of the puzzle: its size, givens and values, and the level
// its givens stand for.
void SetUpTakenGame(SudokuBoard& board, const TakenPuzzle& puzzle);

struct PuzzleIntakeResult {
    bool accepted = false;
    TakenPuzzle puzzle;  // when accepted
    std::string error;   // else the reason
};

class PuzzleIntakeCheck {
public:
    // Called on the worker's thread once a result is ready (to wake a waiting frame loop).
    void SetReadyCallback(std::function<void()> callback) { ready_ = std::move(callback); }
    // Checks text on the worker, for a puzzle of this kind; a check under way is dropped first.
    void Start(std::string text, PuzzleKind kind = PuzzleKind::Pasted);
    // A check was started and its result not taken yet.
    bool Busy() const { return job_.Busy(); }
    // Moves the result into result once it is ready (true), ending the check.
    bool TakeResult(PuzzleIntakeResult& result) { return job_.Take(result); }
    // Drops the check under way, if any, and joins its worker.
    void Stop() { job_.Stop(); }

private:
    OneShotJob<PuzzleIntakeResult> job_;
    std::function<void()> ready_;
};
