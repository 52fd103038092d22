// Entry point: `--help` prints the usage, `--version` the version and `--stats` the
// statistics of the games played, and each ends.
// `veltrane-sudoku FILE` starts with a new game of the puzzle in FILE (a puzzle code or
// a saved game): the file is read and given the checks that take no search (its form,
// a clash, a grid with nothing left to play) at once; one that is refused prints the
// reason on standard error and ends with status 2 before anything else happens, so the
// saved game is left as it was. The window then opens at once and the completion check
// and the grading run on a worker (app/copy_paste.h). Otherwise makes the frame lock,
// then runs the game. `--booklet OUT.pdf ...` writes a booklet of puzzles and ends
// without opening a window (app/booklet_command.h). Other options are ignored.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/booklet_command.h"
#include "app/startup.h"
#include "app/states.h"

namespace {

constexpr int kBadFileExit = 2;

constexpr const char* kUsage =
    "usage: veltrane-sudoku [FILE]\n"
    "       veltrane-sudoku --booklet OUT.pdf --count N --level easy|medium|hard|expert [--classic] "
    "[--letter]\n"
    "       veltrane-sudoku --help | --version | --stats\n"
    "Sudoku on a 16 x 16 grid, played with the mouse or the keyboard.\n"
    "  FILE       start a new game of the puzzle in FILE, a puzzle code (256 characters,\n"
    "             the top row first) or a saved game, in place of the saved game\n"
    "  --booklet OUT.pdf  write a booklet of N (1 to 500) puzzles to OUT.pdf, one a page\n"
    "             with its level and code, then the solutions, and exit; the puzzles\n"
    "             have one solution each, found by logic (--classic: the game's own\n"
    "             puzzles, with many solutions); A4 paper, or US Letter with --letter\n"
    "  --help     print this text and exit\n"
    "  --version  print the version and exit\n"
    "  --stats    print the statistics of the games played and exit\n";

bool HasOption(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0) return true;
    }
    return false;
}

// The arguments that are not options: the puzzle file, when there is one.
std::vector<std::string> FileArguments(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-') files.emplace_back(argv[i]);
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (HasOption(argc, argv, "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (HasOption(argc, argv, "--stats")) return PrintStatistics({}, stdout);
    if (HasOption(argc, argv, "--version")) {
        std::printf("veltrane-sudoku %s\n", VELTRANE_VERSION);
        return 0;
    }
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (IsBookletCommand(arguments)) return RunBookletCommand(arguments, stdout, stderr);
    RunOptions options;
    const std::vector<std::string> files = FileArguments(argc, argv);
    if (files.size() > 1) {
        std::fputs("veltrane-sudoku: one puzzle file at most\n", stderr);
        return kBadFileExit;
    }
    std::string error;
    if (files.size() == 1 && !SetStartPuzzleFile(options, files[0], error)) {
        std::fprintf(stderr, "veltrane-sudoku: %s\n", error.c_str());
        return kBadFileExit;
    }
    try {
        CreateFrameLock();
    } catch (const CGenericException&) {
        std::fputs("Can't create mutex\n", stderr);
        return 1;
    }
    return RunGame(options);
}
