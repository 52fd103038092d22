// Logic puzzles in the difficulty menu. L switches which puzzles a new game gets,
// the classic ones (the default) or ones with one solution that logic alone finishes
// (logic_generator.h); the choice is kept in game.settings and named on a line in the
// empty space under the menu, with how to switch ("Puzzles: classic - L or click: one
// solution, by logic"); a click on that line switches too.
// In logic mode a level chosen makes its puzzle on a worker thread, seeded from the
// game's random source on the frame thread: the window keeps drawing, with "Making a
// puzzle..." on that line, and the game starts as a classic new game does once the
// puzzle is in. Escape drops a puzzle under way without waiting for it. The worker is
// the program's LogicPuzzleMaker (app/puzzles/puzzle_maker.h); these functions own nothing.
#pragma once

#include <cstdint>

#include "play/input/frame_input.h"

struct Program;

constexpr const char* ClassicPuzzlesText = "Puzzles: classic - L or click: one solution, by logic";
constexpr const char* LogicPuzzlesText = "Puzzles: one solution, by logic - L or click: classic";
constexpr const char* MakingPuzzleText = "Making a puzzle...";

// L pressed, or a click on the line, in the difficulty menu (not while a puzzle is
// made): switches the puzzles and keeps the setting.
void SwitchPuzzleKind(Program& p, const FrameInput& input);
// The line under the difficulty menu (layout.h's MenuMessageY).
void DrawPuzzleKindLine(Program& p);
// A level chosen in logic mode: the puzzle is made on the worker.
void StartMakingPuzzle(Program& p, std::int32_t level);
bool MakingPuzzle(const Program& p);
enum class MadePuzzle { Waiting, Made, Failed };
// Every difficulty-menu frame while a puzzle is made: once it is in, a made puzzle is
// put on the board and its level goes to *level.
MadePuzzle TakeMadePuzzle(Program& p, std::int32_t* level);
// Escape in the difficulty menu: no game is made.
void StopMakingPuzzle(Program& p);
