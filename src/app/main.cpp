// Entry point: `--version` prints the version and ends. `veltrane-sudoku FILE` starts
// with a new game of the puzzle in FILE (a puzzle code or a saved game) on the play
// screen; a file that is refused prints the reason on standard error and ends with
// status 2 before anything else happens, so the saved game is left as it was. The
// file is read and checked (the completion check, the grading) before the window
// opens. Otherwise makes the frame lock, then runs the game. Options other than
// --version are ignored.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/startup.h"
#include "app/states.h"
#include "play/puzzle_intake.h"

namespace {

constexpr int kBadFileExit = 2;

bool AsksForVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) return true;
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

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Reads the puzzle file into options; false, with the reason on standard error, when refused.
bool TakeStartPuzzle(const std::string& path, RunOptions& options) {
    TakenPuzzle puzzle;
    std::string error;
    if (!TakeInPuzzleFile(path, puzzle, error)) {
        std::fprintf(stderr, "veltrane-sudoku: %s\n", error.c_str());
        return false;
    }
    options.startPuzzle = std::move(puzzle);
    options.startMessage = "Started the puzzle from " + BaseName(path);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (AsksForVersion(argc, argv)) {
        std::printf("veltrane-sudoku %s\n", VELTRANE_VERSION);
        return 0;
    }
    RunOptions options;
    const std::vector<std::string> files = FileArguments(argc, argv);
    if (files.size() > 1) {
        std::fputs("veltrane-sudoku: one puzzle file at most\n", stderr);
        return kBadFileExit;
    }
    if (files.size() == 1 && !TakeStartPuzzle(files[0], options)) return kBadFileExit;
    try {
        CreateFrameLock();
    } catch (const CGenericException&) {
        std::fputs("Can't create mutex\n", stderr);
        return 1;
    }
    return RunGame(options);
}
