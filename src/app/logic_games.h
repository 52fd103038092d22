// Logic puzzles in the difficulty menu. L switches which puzzles a new game gets,
// the classic ones (the default) or ones with one solution that logic alone finishes
// (logic_generator.h); the choice is kept in game.settings and named on a line in the
// empty space under the menu ("Puzzles: classic", "Puzzles: one solution, by logic").
// In logic mode a level chosen makes its puzzle on a worker thread, seeded from the
// game's random source on the frame thread: the window keeps drawing, with "Making a
// puzzle..." on that line, and the game starts as a classic new game does once the
// puzzle is in. Escape drops a puzzle under way without waiting for it.
// LogicPuzzleMaker owns the worker thread of the puzzle under way (and of one dropped,
// joined before the next starts or with the maker); the menu functions own nothing.
#pragma once

#include <cstdint>
#include <memory>

#include "sudoku/logic_generator.h"

struct Program;

class LogicPuzzleMaker {
public:
    LogicPuzzleMaker();
    ~LogicPuzzleMaker();
    LogicPuzzleMaker(LogicPuzzleMaker&&) noexcept;
    LogicPuzzleMaker& operator=(LogicPuzzleMaker&&) noexcept;

    // Starts making the puzzle of (level, seed); a puzzle under way is dropped first.
    void Start(std::int32_t level, std::uint64_t seed);
    // A puzzle is under way and not yet taken.
    bool Busy() const;
    // Once the puzzle is made (or making failed): takes it and returns true with the outcome.
    bool Take(LogicPuzzle& puzzle, LogicMake& outcome);
    // Drops the puzzle under way: its thread is told to stop and is joined later.
    void Drop();
    // Drops the puzzle under way and joins every thread (shutdown).
    void Stop();

private:
    struct Job;
    std::unique_ptr<Job> job_;      // the puzzle under way
    std::unique_ptr<Job> dropped_;  // a job told to stop, not joined yet
};

constexpr float PuzzleKindLineY = 420.0f;
constexpr const char* ClassicPuzzlesText = "Puzzles: classic";
constexpr const char* LogicPuzzlesText = "Puzzles: one solution, by logic";
constexpr const char* MakingPuzzleText = "Making a puzzle...";

// L pressed in the difficulty menu (not while a puzzle is made): switches the puzzles and keeps the setting.
void SwitchPuzzleKind(Program& p);
// The line under the difficulty menu.
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
