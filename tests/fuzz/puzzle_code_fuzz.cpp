// Fuzz target for the puzzle reader (a code or a saved game's text, as a pasted puzzle or
// a puzzle file brings it): a refusal leaves the puzzle untouched and says why; an
// accepted puzzle is 16 x 16 without a clash, and its code reads back as the same grid.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "save/puzzle_file.h"
#include "sudoku/puzzle_code.h"

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "puzzle reader invariant broken: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CompletionLimits limits;
    limits.nodeBudget = 2000;  // enough for most grids; an unsettled one is refused, as it must be
    PuzzleInput puzzle;
    std::string error;
    if (!ParsePuzzleText(text, puzzle, error, PuzzleRules::Check, limits)) {
        Require(!error.empty() && puzzle.givens.empty() && puzzle.values.empty(), "a refusal says why, changes nothing");
        return 0;
    }
    const std::string code = FormatPuzzleCode(puzzle.givens);
    Require(code.size() == kCodeCells && !FormatPuzzleCode(puzzle.values).empty(), "grids are 16 x 16, 0 to 16");
    Require(DescribeClash(puzzle.givens).empty(), "no clash among the givens");
    Grid again;
    Require(ReadCodeCells(code, again, error) && again == puzzle.givens, "the code reads back as the grid");
    return 0;
}
