// sudoku-gen run as a program. --check: the verdict line, the completed board in the
// saved-game format with the file's givens, and exit status 2 for what it cannot read.
// --code: the puzzle's code from a saved game or a code, the reason for a refused file.
// --pdf: a 4-puzzle booklet's pages and text (where poppler-utils is installed), and
// the refused arguments.
// sudoku-gen --explain: its step lines and last line, and exit status 1 for a clash.
// --grade: unique, many or none and the last line of --explain, for codes and saved games.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>

#include "save/save.h"
#include "sudoku/completion.h"
#include "sudoku/generator.h"
#include "sudoku/logic/logic_generator.h"
#include "sudoku/puzzle_code.h"
#include "support/boards.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string out;
};

class CheckCommand : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    // Runs a shell command and collects its standard output and exit status.
    static ToolRun Shell(const std::string& command) {
        ToolRun run;
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) return run;
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, got);
        const int raw = pclose(pipe);
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return run;
    }
    // Runs the tool with the arguments (each quoted) and collects its standard output,
    // and standard error too when errors is " 2>&1".
    static ToolRun Run(const std::string& arguments, const char* errors = " 2>/dev/null") {
        return Shell(std::string("'") + VELTRANE_SUDOKU_GEN + "' " + arguments + errors);
    }
    ToolRun Check(const std::string& name) const { return Run("--check '" + Path(name) + "'"); }
    static std::string Output(const std::string& command) { return Shell(command).out; }

    TempFolder temp_;  // a folder of the test's own, removed at the end
    fs::path folder_ = temp_.Path();
};

TEST_F(CheckCommand, CompletableFilePrintsTheFinishedBoardWithItsGivens) {
    SeedRandom(11);
    SudokuBoard board;
    ASSERT_TRUE(board.NewGame(Hard));
    // Two player values that a completion of the puzzle has.
    const CompletionResult solved = CheckCompletion(board.values, board.boxSize);
    ASSERT_EQ(solved.verdict, Completion::Completable);
    int written = 0;
    for (int r = 0; r < 16 && written < 2; ++r) {
        if (board.values[r][r] == 0) {
            board.values[r][r] = solved.completion[r][r];
            ++written;
        }
    }
    Write("game.save", SavedGameText(board));

    const ToolRun run = Check("game.save");
    EXPECT_EQ(run.status, 0);
    const std::string verdict = "completable\n";
    ASSERT_EQ(run.out.substr(0, verdict.size()), verdict);
    Write("done.save", run.out.substr(verdict.size()));
    SudokuBoard done;
    done.directory = folder_.string() + "/";
    ASSERT_TRUE(done.Load("done.save"));
    EXPECT_TRUE(done.IsComplete());
    EXPECT_EQ(done.givens, board.givens);
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            if (board.values[r][c] != 0) {
                EXPECT_EQ(done.values[r][c], board.values[r][c]) << r << "," << c;
            }
        }
    }
}

TEST_F(CheckCommand, DeadEndAndUnreadableFiles) {
    SeedRandom(12);
    SudokuBoard board;
    ASSERT_TRUE(board.NewGame(Hard));
    // A player value that repeats a given of its row.
    int empty = 0;
    int given = 0;
    while (board.values[0][empty] != 0) ++empty;
    while (board.values[0][given] == 0) ++given;
    board.values[0][empty] = board.values[0][given];
    Write("clash.save", SavedGameText(board));
    const ToolRun deadEnd = Check("clash.save");
    EXPECT_EQ(deadEnd.status, 0);
    EXPECT_EQ(deadEnd.out, "dead-end\n");

    Write("words.save", "not a saved game\n");
    Write("none.save", "0\r\n");
    fs::create_directories(Path("folder.save"));
    for (const char* name : {"missing.save", "words.save", "none.save", "folder.save"}) {
        const ToolRun run = Check(name);
        EXPECT_EQ(run.status, 2) << name;
        EXPECT_EQ(run.out, "") << name;
    }
    EXPECT_EQ(Run("--check").status, 2);
    EXPECT_EQ(Run("--check '" + Path("clash.save") + "' --first-seed 3").status, 2);
    EXPECT_EQ(Run("--check-bench 0").status, 2);
}

TEST_F(CheckCommand, CodeCommandPrintsThePuzzleOrTheReasonForARefusedFile) {
    SeedRandom(13);
    SudokuBoard board;
    ASSERT_TRUE(board.NewGame(Easy));
    const std::string code = FormatPuzzleCode(board.givens);
    std::string lines;
    for (std::size_t i = 0; i < code.size(); i += 16) lines += code.substr(i, 16) + "\n";
    const std::size_t empty = code.find('.');
    board.values[empty % 16][empty / 16] = 1;  // the player's move does not change the puzzle
    Write("game.save", SavedGameText(board));
    Write("lines.txt", lines);
    for (const char* name : {"game.save", "lines.txt"}) {
        const ToolRun run = Run("--code '" + Path(name) + "'");
        EXPECT_EQ(run.status, 0) << name;
        EXPECT_EQ(run.out, code + "\n") << name;
    }

    Write("binary.bin", std::string("\x7F" "ELF\0\0", 6));
    Write("clash.txt", "AA" + code.substr(2));
    fs::create_directories(Path("folder"));
    Write("big.txt", "");
    fs::resize_file(Path("big.txt"), 1u << 30);  // sparse: no gigabyte is written
    const std::pair<const char*, const char*> refused[] = {
        {"missing.txt", "no such file"},     {"folder", "not a regular file"},
        {"big.txt", "larger than 64 KB"},    {"binary.bin", "binary data"},
        {"clash.txt", "clash: A at line 1"},
    };
    for (const auto& [name, reason] : refused) {
        const ToolRun run = Run("--code '" + Path(name) + "'", " 2>&1");
        EXPECT_EQ(run.status, 2) << name;
        EXPECT_NE(run.out.find(reason), std::string::npos) << name << ": " << run.out;
    }
}

TEST_F(CheckCommand, BookletOfFourPuzzlesHasItsPagesCodesAndSolutions) {
    if (std::system("command -v pdfinfo >/dev/null 2>&1 && command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) is not installed";
    const std::string pdf = Path("booklet.pdf");
    ASSERT_EQ(Run("--pdf '" + pdf + "' --count 4 --level hard --first-seed 40").status, 0);
    const std::string info = Output("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.find("Pages:           5\n"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    std::string text = Output("pdftotext '" + pdf + "' -");
    for (const char* words : {"Puzzle 1", "Puzzle 4", "Level: Hard", "Solutions", "Puzzle 4 (Hard): one completion"})
        EXPECT_NE(text.find(words), std::string::npos) << words;
    // The codes of the puzzles `--seed 40 .. 43` make, white space and all taken out of the text.
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return std::isspace(c); }), text.end());
    for (std::uint32_t seed = 40; seed < 44; ++seed) {
        SeedRandom(seed);
        SudokuBoard board;
        ASSERT_TRUE(board.NewGame(Hard));
        EXPECT_NE(text.find(FormatPuzzleCode(board.givens)), std::string::npos) << seed;
    }
    ASSERT_EQ(Run("--pdf '" + pdf + "' --count 1 --level easy --letter").status, 0);
    EXPECT_NE(Output("pdfinfo '" + pdf + "'").find("612 x 792 pts (letter)"), std::string::npos);

    for (const char* arguments : {"--count 1001 --level easy", "--count 0 --level easy", "--count 4",
                                  "--level easy", "--count 4 --level expert",
                                  "--count 4 --level easy --pages 3", "--count 4 --level easy --seed 2"}) {
        const ToolRun run = Run("--pdf '" + Path("refused.pdf") + "' " + arguments, " 2>&1");
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.out.rfind("sudoku-gen: ", 0), 0u) << arguments << ": " << run.out;
        EXPECT_FALSE(fs::exists(Path("refused.pdf"))) << arguments;
    }
}

TEST_F(CheckCommand, ExplainPrintsOneLinePerStepAndTheOutcome) {
    // A full grid with three cells emptied: three naked singles, rows and columns as
    // the lines of the file's value block and the positions in them.
    SudokuBoard board = EmptyBoard();
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) board.values[r][c] = (r % 4 * 4 + r / 4 + c) % 16 + 1;
    }
    board.values[0][1] = board.values[2][15] = board.values[15][0] = 0;
    Write("three.save", SavedGameText(board));
    ToolRun run = Run("--explain '" + Path("three.save") + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "naked-single: r1c2=2\nnaked-single: r3c16=8\nnaked-single: r16c1=16\nsolved naked-single 3\n");

    board.values.assign(16, std::vector<std::int32_t>(16, 0));
    Write("empty.save", SavedGameText(board));
    EXPECT_EQ(Run("--explain '" + Path("empty.save") + "'").out, "stuck 0 256\n");
    board.values[4][4] = board.values[4][9] = 7;
    Write("clash.save", SavedGameText(board));
    run = Run("--explain '" + Path("clash.save") + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Run("--explain '" + Path("missing.save") + "'").status, 2);

    // A Hard logic puzzle: every line is a step in the format, and the last line counts them.
    Write("hard.save", Run("--logic --seed 3 --level hard").out);
    run = Run("--explain '" + Path("hard.save") + "'");
    EXPECT_EQ(run.status, 0);
    const std::regex stepLine(
        "(naked|hidden)-single: r\\d+c\\d+=\\d+|"
        "(locked-candidates|(naked|hidden)-(pair|triple|quad)|x-wing|swordfish|jellyfish|xyz?-wing):( "
        "r\\d+c\\d+-\\d+)+");
    std::istringstream lines(run.out);
    std::string line;
    int steps = 0;
    while (std::getline(lines, line) && std::regex_match(line, stepLine)) ++steps;
    EXPECT_TRUE(
        std::regex_match(line, std::regex("solved (naked-triple|hidden-triple|naked-quad|hidden-quad|x-wing|"
                                          "swordfish|jellyfish|xy-wing|xyz-wing) " +
                                          std::to_string(steps))))
        << line;
    EXPECT_FALSE(std::getline(lines, line));
}

// The puzzle of a saved game is graded, not its values: an Easy logic puzzle with a
// player's value that clashes is still unique and solved by singles.
TEST_F(CheckCommand, GradeTellsUniqueManyOrNoneAndTheLogicOutcome) {
    LogicPuzzle easy;
    ASSERT_EQ(MakeLogicPuzzle(Easy, 5, easy), LogicMake::Made);
    const std::string code = FormatPuzzleCode(easy.givens);
    const std::size_t empty = code.find('.'), given = code.find_first_not_of('.');  // both on line 1
    SudokuBoard played;
    SetUpLogicGame(played, easy);
    played.values[empty][0] = easy.givens[given][0];  // the code's line 1 is the top row
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"played.save", SavedGameText(played), "unique\nsolved (naked|hidden)-single \\d+\n"},
        {"empty.txt", std::string(256, '.'), "many\nstuck 0 256\n"},
        {"clash.txt", FormatPuzzleCode(played.values), "none\nstuck 0 \\d+\n"},
    };
    for (const auto& [name, bytes, output] : cases) {
        Write(name, bytes);
        const ToolRun run = Run("--grade '" + Path(name) + "'");
        EXPECT_EQ(run.status, 0) << name;
        EXPECT_TRUE(std::regex_match(run.out, std::regex(output))) << name << ": " << run.out;
    }
    EXPECT_EQ(Run("--grade '" + Path("missing.txt") + "'").status, 2);
}

}  // namespace
