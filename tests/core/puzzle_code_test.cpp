// Puzzle codes: every accepted and refused form of the reader in one table (codes and
// saved games' texts), and format-then-read giving back the grid, top row first.
#include "sudoku/puzzle_code.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "save/puzzle_file.h"
#include "save/save.h"
#include "sudoku/generator.h"
#include "support/boards.h"

namespace {

SudokuBoard MadePuzzle(std::uint32_t seed, std::int32_t level) {
    SeedRandom(seed);
    SudokuBoard board;
    EXPECT_TRUE(board.NewGame(level));
    return board;
}

// The code as 16 lines of 16, each ended by line.
std::string InLines(const std::string& code, const std::string& end) {
    std::string text;
    for (std::size_t i = 0; i < code.size(); i += 16) text += code.substr(i, 16) + end;
    return text;
}

std::string Replaced(std::string text, std::size_t index, const std::string& with) {
    return text.replace(index, 1, with);
}

std::string Recased(std::string text, char empty) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'G') c = static_cast<char>(c - 'A' + 'a');
        if (c == '.') c = empty;
    }
    return text;
}

TEST(PuzzleCode, ReaderAcceptsEveryFormAndRefusesWithWhere) {
    SudokuBoard board = MadePuzzle(3, Medium);
    const std::string code = FormatPuzzleCode(board.givens);
    ASSERT_EQ(code.size(), 256u);
    std::string spaced;
    for (const char c : code) spaced += std::string(" \t") + c;
    const std::size_t firstEmpty = code.find('.');
    const std::size_t firstValue = code.find_first_not_of('.');

    // A saved game in progress: a value of the player's beside the givens.
    SudokuBoard played = board;
    played.values[firstEmpty / 16][firstEmpty % 16] = 1;
    const std::string saved = SavedGameText(played);
    SudokuBoard moved = board;  // a given missing from the value block
    moved.values[firstValue / 16][firstValue % 16] = 0;

    Grid dead = EmptyBoard().values;  // line 1 holds 1 to F; G fits nowhere but its last cell
    for (int c = 0; c < 15; ++c) dead[0][c] = c + 1;
    dead[1][15] = 16;

    struct Case {
        const char* name;
        std::string text;
        std::string refusal;  // empty: accepted with the givens of board
        std::uint64_t budget = CompletionLimits{}.nodeBudget;
    };
    const std::vector<Case> cases = {
        {"one line", code, ""},
        {"16 lines, CR LF", InLines(code, "\r\n"), ""},
        {"lower case, 0 for empty", Recased(code, '0'), ""},
        {"_ for empty", Recased(code, '_'), ""},
        {"- for empty, blank lines around", "\n\n" + Recased(code, '-') + "\n\n", ""},
        {"white space between cells", spaced, ""},
        {"byte-order mark", "\xEF\xBB\xBF" + code, ""},
        {"saved game in progress", saved, ""},
        {"letter past G", Replaced(code, 36, "Z"), "character 37 is 'Z'"},
        {"bad letter in line 3", Replaced(InLines(code, "\n"), 2 * 17 + 4, "z"), "line 3, character 5 is 'z'"},
        {"byte outside ASCII", Replaced(code, 9, "\xC3"), "character 10 is byte 0xC3"},
        {"one cell short", code.substr(1), "255 cells, 256 needed"},
        {"one cell over", code + ".", "257 cells, 256 needed"},
        {"empty text", "", "0 cells, 256 needed"},
        {"clash in line 1 of the puzzle", Replaced(code, firstEmpty, std::string(1, code[firstValue])), "clash: "},
        {"clash in line 1", "11" + std::string(254, '.'), "clash: 1 at line 1, position 1 and line 1, position 2"},
        {"cannot be finished", FormatPuzzleCode(dead), "cannot be finished"},
        {"no answer in budget", std::string(256, '.'), "could not be checked", 0},
        {"binary", code + std::string(1, '\0'), "binary data"},
        {"over 64 KB", code + std::string(64 * 1024, ' '), "longer than 64 KB"},
        {"saved game cut short", saved.substr(0, 600), "a saved game with "},
        {"saved game value 17", Replaced(saved, saved.find(" 0") + 1, "17"), "a saved game whose number "},
        {"saved game given not in its cell", SavedGameText(moved), "is not in its cell"},
    };
    for (const Case& test : cases) {
        PuzzleInput puzzle;
        std::string error;
        CompletionLimits limits;
        limits.nodeBudget = test.budget;
        const bool read = ParsePuzzleText(test.text, puzzle, error, PuzzleRules::Check, limits);
        if (test.refusal.empty()) {
            EXPECT_TRUE(read) << test.name << ": " << error;
            EXPECT_EQ(puzzle.givens, board.givens) << test.name;
        } else {
            EXPECT_FALSE(read) << test.name;
            EXPECT_NE(error.find(test.refusal), std::string::npos) << test.name << ": " << error;
            EXPECT_TRUE(puzzle.givens.empty()) << test.name;
        }
    }
    PuzzleInput fromSave;
    std::string error;
    ASSERT_TRUE(ParsePuzzleText(saved, fromSave, error));
    EXPECT_TRUE(fromSave.fromSavedGame);
    EXPECT_EQ(fromSave.values, played.values);
    ASSERT_TRUE(ParsePuzzleText(FormatPuzzleCode(dead), fromSave, error, PuzzleRules::FormOnly));
    EXPECT_EQ(fromSave.givens, dead);
}

// The code runs row by row as the board is drawn (first index across, second down):
// its line L, position P is the saved game's value block line P, number L.
TEST(PuzzleCode, FormatThenReadGivesTheGridBackTopRowFirst) {
    for (const std::int32_t level : {Easy, Medium, Hard}) {
        const SudokuBoard board = MadePuzzle(20 + static_cast<std::uint32_t>(level), level);
        const std::string code = FormatPuzzleCode(board.givens);
        Grid read;
        std::string error;
        ASSERT_TRUE(ReadCodeCells(code, read, error)) << error;
        EXPECT_EQ(read, board.givens);
        std::istringstream saved(SavedGameText(board));
        int number = 0;
        saved >> number;
        for (std::size_t k = 0; k < code.size(); ++k) {
            ASSERT_TRUE(saved >> number);
            EXPECT_EQ(code[k % 16 * 16 + k / 16], ".123456789ABCDEFG"[number]) << k;
        }
    }
    Grid wide = EmptyBoard().values;
    wide[0].push_back(0);
    Grid seventeen = EmptyBoard().values;
    seventeen[5][5] = 17;
    EXPECT_EQ(FormatPuzzleCode(wide), "");
    EXPECT_EQ(FormatPuzzleCode(seventeen), "");
}

}  // namespace
