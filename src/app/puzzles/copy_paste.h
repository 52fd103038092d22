// Copy and paste of puzzle codes, and games started from a puzzle brought in from
// outside. On the play screen Ctrl+C puts the code of the puzzle (its givens) on the
// clipboard and Ctrl+Shift+C the code of the grid as it stands (givens and the
// player's values). Ctrl+V there or in the main menu hands the clipboard's text to the
// intake check (app/puzzles/puzzle_intake.h), which reads, checks and grades it on its worker
// while "Checking the pasted puzzle..." shows. An accepted puzzle starts a new game as
// New Game does: it replaces the game in progress and is saved at once. A refused one
// changes nothing and the reason shows: on the play screen on the message line under
// the status line, in the main menu on a line under its items. Leaving the screen
// where Ctrl+V was pressed drops the check. The check and the main menu's line are the
// program's PasteSession (program.h); these functions own nothing.
#pragma once

#include <string>

#include "app/puzzles/puzzle_intake.h"
#include "play/input/frame_input.h"

struct Program;

// Once a frame, before the state's handler: picks up the check's answer, then acts on
// the frame's Ctrl+C, Ctrl+Shift+C and Ctrl+V.
void HandleCopyPaste(Program& p, const FrameInput& input);
// The main menu's line (under the last item, above the best times: layout.h's
// MenuMessageY), when there is one.
void DrawPasteMessage(Program& p);
// The window's first frames with a puzzle file named on the command line: its text
// (read and prechecked, app/puzzles/puzzle_intake.h) goes to the intake check as a paste's
// does, while the main menu's line says "Checking the puzzle...". An accepted puzzle
// starts its game ("Started the puzzle from <name>", named "From a file" in the status
// line); a refused one leaves the saved game as it was and the line says why ("Cannot
// open <name>: ..."); choosing a menu item first drops the check.
void StartPuzzleFileCheck(Program& p, std::string text, const std::string& name);
// A new game of a puzzle brought in, as New Game makes one: the board, its view,
// fresh play aids with the puzzle's origin, the files written at once, and the
// message on the message line. A pasted puzzle, or one named on the command line
// (start-up then shows the play screen).
void SetUpPuzzleGame(Program& p, const TakenPuzzle& puzzle, const std::string& message);
