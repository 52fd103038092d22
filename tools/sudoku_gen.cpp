// sudoku-gen: checks and times the puzzle generator, reads puzzle codes and prints
// puzzle booklets.
//   sudoku-gen --seed S --level easy|medium|hard
//       seeds the random source with S, makes one game and writes the saved-game
//       bytes of the board to standard output.
//   sudoku-gen --bench N [--first-seed S] [--level easy|medium|hard]
//       makes N games from the seeds S, S+1, ... (default S = 1, level hard) and prints
//       the spread of the time and Solve entries per game and how many games restarted.
//   sudoku-gen --check FILE
//       reads a saved game and prints whether its grid can still be finished:
//       "completable" followed by the completed board in the saved-game format (the
//       file's givens kept), "dead-end" or "unknown". Exit status 2 when the file
//       cannot be read or holds no board.
//   sudoku-gen --check-bench N [--first-seed S]
//       for the seeds S, S+1, ... (default S = 1) makes a Hard game, writes random moves
//       that the placement rules allow up to a random depth, and times one completion
//       check of that grid; prints the spread of the time (wall clock, then processor
//       time) and nodes per check and the verdicts.
//   sudoku-gen --code FILE
//       reads a puzzle code or a saved game and prints the code of its puzzle (the
//       givens) on one line, row by row as the game shows the board, the top row
//       first. Exit status 2, with the reason on standard error, when the file cannot
//       be read or is refused (its form, a clash, a grid that cannot be finished).
//   sudoku-gen --pdf OUT.pdf --count N --level easy|medium|hard [--first-seed S] [--letter]
//       writes a booklet of N (at most 1000) classic puzzles made from the seeds S,
//       S+1, ... (default S = 1): one a page with its level and code, then the
//       solutions four to a page; A4, or US Letter with --letter.
//   sudoku-gen --explain FILE
//       reads a saved game and solves its values by logic steps, one line per step
//       ("<technique>: r3c4=7" or "<technique>: r3c4-7 r3c9-7"; r = the line of the
//       value block in the file, c = the position in that line), then "solved
//       <hardest technique> <steps>" ("solved none 0" for a full grid) or "stuck
//       <steps> <empty cells left>". Exit status 2 when the file cannot be read or
//       holds no board, 1 when its values clash.
//   sudoku-gen --grade FILE
//       reads a puzzle code or a saved game and grades its puzzle (the givens): "unique",
//       "many" or "none" full grids finish it (the solution counter, stopping at two;
//       "unknown" when its budget, well under a second, runs out first), then the last
//       line --explain prints for the givens. Exit status 2, with the reason on standard error, when the file
//       cannot be read or its form is refused; a clash or a dead end is graded "none".
//   sudoku-gen --logic --seed S --level easy|medium|hard|expert
//       makes the logic puzzle of the seed (one solution, graded by technique) and
//       writes it in the saved-game format, values equal to givens.
//   sudoku-gen --logic-bench N --level easy|medium|hard|expert [--first-seed S]
//       makes N logic puzzles from the seeds S, S+1, ... (default S = 1) and prints the
//       spread of the time per puzzle, the givens and grids it took, and how many are
//       unique (by the solution counter) and graded as the level asks (by steps).
//   sudoku-gen --pdf ... --logic
//       the booklet's puzzles come from the logic generator (one solution each);
//       --level expert too (puzzles that need a colouring or a chain).
// Bad arguments print the reason and the usage on standard error; exit status 2.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gen_bench.h"
#include "print/booklet.h"
#include "save/puzzle_file.h"
#include "save/save.h"
#include "sudoku/board.h"
#include "sudoku/completion.h"
#include "sudoku/generator.h"
#include "sudoku/levels.h"
#include "sudoku/logic/logic.h"
#include "sudoku/logic/logic_generator.h"
#include "sudoku/logic/puzzle_grade.h"
#include "sudoku/puzzle_code.h"

namespace {

constexpr int kUsageExit = 2;

const char kUsage[] =
    "usage: sudoku-gen --seed S --level easy|medium|hard [--logic]\n"
    "       sudoku-gen --logic --seed S --level expert\n"
    "       sudoku-gen --bench N [--first-seed S] [--level easy|medium|hard]\n"
    "       sudoku-gen --check FILE | --check-bench N [--first-seed S]\n"
    "       sudoku-gen --code FILE | --explain FILE | --grade FILE\n"
    "       sudoku-gen --logic-bench N --level easy|medium|hard|expert [--first-seed S]\n"
    "       sudoku-gen --pdf OUT.pdf --count N --level easy|medium|hard [--first-seed S] [--letter] "
    "[--logic]\n"
    "       (--level expert: logic puzzles only, with --logic)\n";

// The options of one command line: each option's value, empty for a flag.
using Arguments = std::map<std::string, std::string>;

// Options that stand alone; every other option takes the next argument as its value.
bool IsFlag(const std::string& name) {
    return name == "--letter" || name == "--logic";
}

int UsageError(const std::string& reason) {
    std::fprintf(stderr, "sudoku-gen: %s\n%s", reason.c_str(), kUsage);
    return kUsageExit;
}

// False, with the reason, for an argument that is no option, a missing value or an
// option given twice.
bool CollectArguments(int argc, char** argv, Arguments& arguments, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name.rfind("--", 0) != 0) {
            error = "'" + name + "' is not an option";
            return false;
        }
        if (arguments.count(name) != 0) {
            error = name + " is given twice";
            return false;
        }
        if (IsFlag(name)) {
            arguments[name];
            continue;
        }
        if (i + 1 >= argc) {
            error = name + " needs a value";
            return false;
        }
        arguments[name] = argv[++i];
    }
    return true;
}

// A decimal number of at most 32 bits, digits only.
std::optional<std::uint32_t> ParseUnsigned(const std::string& text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > UINT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

// Reads the number option name into value, which keeps its default when the option is
// absent; false, with the reason, when it is no number from low to high.
bool ReadNumber(const Arguments& arguments, const std::string& name, std::uint32_t low, std::uint32_t high,
                std::uint32_t& value, std::string& error) {
    const auto found = arguments.find(name);
    if (found == arguments.end()) return true;
    const std::optional<std::uint32_t> number = ParseUnsigned(found->second);
    if (!number || *number < low || *number > high) {
        error = name + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                ", not '" + found->second + "'";
        return false;
    }
    value = *number;
    return true;
}

// Reads --level into level (kept when absent and not required); Expert only for logic
// puzzles.
bool ReadLevel(const Arguments& arguments, bool required, std::int32_t& level, std::string& error,
               bool logic = false) {
    const auto found = arguments.find("--level");
    if (found == arguments.end()) {
        if (required) error = "--level easy|medium|hard is needed";
        return !required;
    }
    const std::int32_t named = LevelOfKeyword(found->second);
    if (named != 0 && (logic || IsClassicLevel(named))) {
        level = named;
        return true;
    }
    error = named != 0 ? "--level expert is for logic puzzles only (--logic)"
                       : "--level takes easy, medium, hard or expert, not '" + found->second + "'";
    return false;
}

int WriteGame(std::uint32_t seed, std::int32_t level) {
    SeedRandom(seed);
    SudokuBoard board;
    if (!board.NewGame(level)) {
        std::fputs("sudoku-gen: cannot create new game\n", stderr);
        return 1;
    }
    const std::string text = SavedGameText(board);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) return 1;
    return 0;
}

const char* VerdictName(Completion verdict) {
    switch (verdict) {
        case Completion::Completable:
            return "completable";
        case Completion::DeadEnd:
            return "dead-end";
        case Completion::Unknown:
            break;
    }
    return "unknown";
}

int CheckFile(const std::string& path) {
    SudokuBoard board;
    if (!board.Load(path)) {
        std::fprintf(stderr, "sudoku-gen: cannot read a saved game from %s\n", path.c_str());
        return kUsageExit;
    }
    if (board.size <= 0) {
        std::fprintf(stderr, "sudoku-gen: %s holds no board\n", path.c_str());
        return kUsageExit;
    }
    const CompletionResult result = CheckCompletion(board.values, board.boxSize);
    std::string text = VerdictName(result.verdict);
    text += '\n';
    if (result.verdict == Completion::Completable) {
        board.values = result.completion;
        text += SavedGameText(board);
    }
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) return 1;
    return 0;
}
// The last line of --explain: "solved <hardest technique> <steps>" ("solved none 0"
// for a full grid) or "stuck <steps> <empty cells left>".
std::string OutcomeLine(const LogicGrade& grade) {
    if (grade.outcome == LogicOutcome::Solved)
        return "solved " + std::string(grade.steps > 0 ? TechniqueName(grade.hardest) : "none") + ' ' +
               std::to_string(grade.steps) + '\n';
    return "stuck " + std::to_string(grade.steps) + ' ' + std::to_string(grade.emptyLeft) + '\n';
}

// Prints the steps that solve the file's values, and the outcome.
int ExplainFile(const std::string& path) {
    SudokuBoard board;
    if (!board.Load(path) || board.size <= 0) {
        std::fprintf(stderr, "sudoku-gen: cannot read a saved game from %s\n", path.c_str());
        return kUsageExit;
    }
    LogicGrid grid;
    if (!grid.Load(board.values, board.boxSize)) {
        std::fprintf(stderr, "sudoku-gen: %s holds values outside the board\n", path.c_str());
        return kUsageExit;
    }
    if (grid.HasClash()) {
        std::fprintf(stderr, "sudoku-gen: %s has a clash\n", path.c_str());
        return 1;
    }
    std::string text;
    LogicStep step;
    LogicGrade grade;
    while (FindNextStep(grid, step) == StepSearch::Found) {
        grid.Apply(step);
        ++grade.steps;
        grade.hardest = std::max(grade.hardest, step.technique);
        text += StepText(step, grid.Size());
        text += '\n';
    }
    grade.outcome = grid.EmptyCells() == 0 ? LogicOutcome::Solved : LogicOutcome::Stuck;
    grade.emptyLeft = grid.EmptyCells();
    text += OutcomeLine(grade);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) return 1;
    return 0;
}

int WriteLogicGame(std::uint32_t seed, std::int32_t level) {
    LogicPuzzle puzzle;
    if (MakeLogicPuzzle(level, seed, puzzle) != LogicMake::Made) {
        std::fputs("sudoku-gen: cannot make a logic puzzle\n", stderr);
        return 1;
    }
    SudokuBoard board;
    SetUpLogicGame(board, puzzle);
    const std::string text = SavedGameText(board);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) return 1;
    return 0;
}

int RunCode(const std::string& path) {
    PuzzleInput puzzle;
    std::string error;
    if (!ReadPuzzleFile(path, puzzle, error)) {
        std::fprintf(stderr, "sudoku-gen: %s\n", error.c_str());
        return kUsageExit;
    }
    const std::string line = FormatPuzzleCode(puzzle.givens) + "\n";
    if (std::fwrite(line.data(), 1, line.size(), stdout) != line.size() || std::fflush(stdout) != 0) return 1;
    return 0;
}

const char* SolutionVerdictName(SolutionVerdict verdict) {
    switch (verdict) {
        case SolutionVerdict::None:
            return "none";
        case SolutionVerdict::Unique:
            return "unique";
        case SolutionVerdict::Many:
            return "many";
        case SolutionVerdict::Unknown:
            break;
    }
    return "unknown";
}

int RunGrade(const std::string& path) {
    PuzzleInput puzzle;
    std::string error;
    if (!ReadPuzzleFile(path, puzzle, error, PuzzleRules::FormOnly)) {
        std::fprintf(stderr, "sudoku-gen: %s\n", error.c_str());
        return kUsageExit;
    }
    const PuzzleGrade grade = GradePuzzle(puzzle.givens, kCodeBoxSide);
    const std::string text = SolutionVerdictName(grade.solutions) + ("\n" + OutcomeLine(grade.logic));
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) return 1;
    return 0;
}

// Where a booklet's puzzles come from: the game's own generator, or with --logic the
// logic engine's (unique puzzles, graded by the techniques they need).
PuzzleSource BookletSource(const Arguments& arguments) {
    if (arguments.count("--logic") != 0) return PuzzleSource(MakeLogicBookletPuzzle);
    return PuzzleSource(MakeClassicPuzzle);
}

int WriteBookletFile(const std::string& path, const BookletRequest& request, const PuzzleSource& source) {
    std::vector<BookletPuzzle> puzzles;
    std::string pdf;
    std::string error;
    const bool made = MakeBookletPuzzles(request, source, puzzles, error) &&
                      RenderBooklet(puzzles, request.paper, pdf, error);
    ReleasePrintFonts();
    if (!made) {
        std::fprintf(stderr, "sudoku-gen: %s\n", error.c_str());
        return 1;
    }
    if (const int failure = WriteFileAtomically(path, pdf)) {
        std::fprintf(stderr, "sudoku-gen: cannot write %s: %s\n", path.c_str(), WriteFailureReason(failure).c_str());
        return 1;
    }
    std::printf("%s: %u puzzles, %u pages\n", path.c_str(), request.count, BookletPages(request.count));
    return 0;
}

// --- The commands: each reads its own options and runs ---------------------------

int SeedCommand(const Arguments& arguments) {
    std::uint32_t seed = 0;
    std::int32_t level = 0;
    std::string error;
    if (!ReadNumber(arguments, "--seed", 0, UINT32_MAX, seed, error) ||
        !ReadLevel(arguments, true, level, error, arguments.count("--logic") != 0))
        return UsageError(error);
    return arguments.count("--logic") != 0 ? WriteLogicGame(seed, level) : WriteGame(seed, level);
}

int BenchCommand(const Arguments& arguments) {
    std::uint32_t games = 0;
    std::uint32_t firstSeed = 1;
    std::int32_t level = Hard;
    std::string error;
    if (!ReadNumber(arguments, "--bench", 1, UINT32_MAX, games, error) ||
        !ReadNumber(arguments, "--first-seed", 0, UINT32_MAX, firstSeed, error) ||
        !ReadLevel(arguments, false, level, error))
        return UsageError(error);
    return RunBench(games, firstSeed, level);
}

int CheckCommand(const Arguments& arguments) {
    const std::string& path = arguments.at("--check");
    if (path.empty()) return UsageError("--check needs a file name");
    return CheckFile(path);
}

int CheckBenchCommand(const Arguments& arguments) {
    std::uint32_t positions = 0;
    std::uint32_t firstSeed = 1;
    std::string error;
    if (!ReadNumber(arguments, "--check-bench", 1, UINT32_MAX, positions, error) ||
        !ReadNumber(arguments, "--first-seed", 0, UINT32_MAX, firstSeed, error))
        return UsageError(error);
    return RunCheckBench(positions, firstSeed);
}

int CodeCommand(const Arguments& arguments) {
    const std::string& path = arguments.at("--code");
    if (path.empty()) return UsageError("--code needs a file name");
    return RunCode(path);
}

int ExplainCommand(const Arguments& arguments) {
    const std::string& path = arguments.at("--explain");
    if (path.empty()) return UsageError("--explain needs a file name");
    return ExplainFile(path);
}

int GradeCommand(const Arguments& arguments) {
    const std::string& path = arguments.at("--grade");
    if (path.empty()) return UsageError("--grade needs a file name");
    return RunGrade(path);
}

int LogicBenchCommand(const Arguments& arguments) {
    std::uint32_t puzzles = 0;
    std::uint32_t firstSeed = 1;
    std::int32_t level = 0;
    std::string error;
    if (!ReadNumber(arguments, "--logic-bench", 1, UINT32_MAX, puzzles, error) ||
        !ReadNumber(arguments, "--first-seed", 0, UINT32_MAX, firstSeed, error) ||
        !ReadLevel(arguments, true, level, error, true))
        return UsageError(error);
    return RunLogicBench(puzzles, firstSeed, level);
}

int PdfCommand(const Arguments& arguments) {
    const std::string& path = arguments.at("--pdf");
    if (path.empty()) return UsageError("--pdf needs a file name");
    if (arguments.count("--count") == 0) return UsageError("--pdf needs --count N");
    BookletRequest request;
    std::string error;
    if (!ReadNumber(arguments, "--count", 1, kMaxBookletPuzzles, request.count, error) ||
        !ReadLevel(arguments, true, request.level, error, arguments.count("--logic") != 0) ||
        !ReadNumber(arguments, "--first-seed", 0, UINT32_MAX, request.firstSeed, error))
        return UsageError(error);
    request.paper = arguments.count("--letter") != 0 ? PaperSize::Letter : PaperSize::A4;
    return WriteBookletFile(path, request, BookletSource(arguments));
}

// A command: the option that picks it (its value is the command's subject), the other
// options it takes, and the function that runs it.
struct Command {
    const char* option;
    std::vector<std::string> accepted;
    int (*run)(const Arguments&);
};

const Command kCommands[] = {
    {"--seed", {"--level", "--logic"}, SeedCommand},
    {"--bench", {"--first-seed", "--level"}, BenchCommand},
    {"--check", {}, CheckCommand},
    {"--check-bench", {"--first-seed"}, CheckBenchCommand},
    {"--code", {}, CodeCommand},
    {"--explain", {}, ExplainCommand},
    {"--grade", {}, GradeCommand},
    {"--logic-bench", {"--first-seed", "--level"}, LogicBenchCommand},
    {"--pdf", {"--count", "--level", "--first-seed", "--letter", "--logic"}, PdfCommand},
};

bool IsKnownOption(const std::string& name) {
    for (const Command& command : kCommands) {
        if (name == command.option ||
            std::find(command.accepted.begin(), command.accepted.end(), name) != command.accepted.end())
            return true;
    }
    return false;
}

// The one command the arguments name, with every other option one it takes; none,
// with the reason, otherwise.
const Command* ChooseCommand(const Arguments& arguments, std::string& error) {
    const Command* chosen = nullptr;
    for (const Command& command : kCommands) {
        if (arguments.count(command.option) == 0) continue;
        if (chosen != nullptr) {
            error = std::string(chosen->option) + " and " + command.option + " do not go together";
            return nullptr;
        }
        chosen = &command;
    }
    for (const auto& [name, value] : arguments) {
        if (!IsKnownOption(name)) {
            error = "unknown option " + name;
            return nullptr;
        }
        if (chosen != nullptr && name != chosen->option &&
            std::find(chosen->accepted.begin(), chosen->accepted.end(), name) == chosen->accepted.end()) {
            error = name + " does not go with " + chosen->option;
            return nullptr;
        }
    }
    if (chosen == nullptr) error = "no command given";
    return chosen;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    Arguments arguments;
    std::string error;
    if (!CollectArguments(argc, argv, arguments, error)) return UsageError(error);
    const Command* command = ChooseCommand(arguments, error);
    if (command == nullptr) return UsageError(error);
    return command->run(arguments);
}
