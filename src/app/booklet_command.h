// `veltrane-sudoku --booklet OUT.pdf --count N --level easy|medium|hard [--classic]
// [--letter]`: writes a booklet of N (1 to 500) puzzles, one a page with its level and
// code, then the solutions four to a page (print/booklet.h), without opening a window.
// The puzzles are the logic generator's (one solution each, graded as the level asks),
// or with --classic the game's own (New Game's, with many solutions); the seeds are new
// for every booklet. A4, or US Letter with --letter. The file is written atomically
// (save/save.h). Owns nothing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "print/booklet.h"

constexpr std::uint32_t kMaxGameBookletPuzzles = 500;
// Exit status of a command line that is refused (as for a refused puzzle file).
constexpr int kBookletUsageExit = 2;

struct BookletOptions {
    std::string path;
    BookletRequest request;
    bool classic = false;
};

// True when the command line asks for a booklet (names --booklet anywhere).
bool IsBookletCommand(const std::vector<std::string>& arguments);
// Reads the arguments after the program's name; false, with the reason, for a missing
// or repeated option, a value out of range or an argument that is not the booklet's.
bool ReadBookletArguments(const std::vector<std::string>& arguments, BookletOptions& options,
                          std::string& error);
// Reads, makes and writes the booklet: 0 when written (a line saying so on out), 2 for
// refused arguments, 1 when the puzzles, the PDF or the file could not be made (the
// reason on err, prefixed "veltrane-sudoku: ").
int RunBookletCommand(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);
