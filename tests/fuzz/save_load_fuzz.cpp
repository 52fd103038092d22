// Fuzz target for the saved-game reader: the input becomes "game.save", SudokuBoard::Load
// reads it, and a board it accepts must have a shape the game can show and must survive
// Save and a second Load unchanged.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "save/save.h"
#include "sudoku/board.h"
#include "support/temp_folder.h"

namespace {

// A folder of this process's own, made on first use and removed with its files when the
// run ends normally. A run that ends on a crash skips this; scripts/fuzz gives its runs a
// temporary folder it removes itself.
std::string ScratchPath() {
    static const TempFolder folder;
    return folder.Path() + "/";
}

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "saved-game invariant broken: %s\n", what);
    std::abort();
}

bool HasShape(const Grid& grid, std::size_t n) {
    if (grid.size() != n) return false;
    for (const auto& row : grid)
        if (row.size() != n) return false;
    return true;
}

void CheckAcceptedBoard(const SudokuBoard& board) {
    Require(board.size == 0 || board.size == kSavedBoardSize, "size is 0 or 16");
    const auto n = static_cast<std::size_t>(board.size);
    Require(HasShape(board.values, n) && HasShape(board.givens, n), "grids have the board's size");
    Require(board.boxSize * board.boxSize == board.size, "box size is the square root of the size");
    // The menu and the play screen ask these of a loaded board.
    (void)board.HasUnfinishedGame();
    (void)board.IsComplete();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& folder = ScratchPath();
    {
        std::ofstream out(folder + "game.save", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out) std::abort();
    }
    SudokuBoard board;
    board.directory = folder;
    if (!board.Load("game.save")) {
        Require(board.size == 0 && board.values.empty() && board.givens.empty(), "refused file leaves the board");
        return 0;
    }
    CheckAcceptedBoard(board);

    // What Save writes, Load reads back as the same board.
    std::remove((folder + "again.save").c_str());
    board.Save("again.save");
    SudokuBoard again;
    again.directory = folder;
    if (board.size == 0) {
        Require(!again.Load("again.save"), "an empty board writes nothing");
        return 0;
    }
    Require(again.Load("again.save"), "a saved board loads");
    Require(again.size == board.size && again.values == board.values && again.givens == board.givens,
            "save and load round trip");
    return 0;
}
