// sudoku-gen: checks and times the puzzle generator.
//   sudoku-gen --seed S --level easy|medium|hard
//       seeds the random source with S, makes one game and writes the saved-game
//       bytes of the board to standard output.
//   sudoku-gen --bench N [--first-seed S] [--level easy|medium|hard]
//       makes N games from the seeds S, S+1, ... (default S = 1, level hard) and prints
//       the spread of the time and Solve entries per game and how many games restarted.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "save/save.h"
#include "sudoku/board.h"
#include "sudoku/generator.h"

namespace {

constexpr int kUsageExit = 2;

const char kUsage[] =
    "usage: sudoku-gen --seed S --level easy|medium|hard | --bench N [--first-seed S] "
    "[--level easy|medium|hard]\n";

struct Options {
    std::optional<std::uint32_t> seed;
    std::optional<std::uint32_t> games;
    std::optional<std::uint32_t> firstSeed;
    std::optional<std::int32_t> level;
};

// A decimal number of at most 32 bits, digits only.
std::optional<std::uint32_t> ParseUnsigned(const char* text) {
    const std::size_t length = std::strlen(text);
    if (length == 0 || length > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    if (value > UINT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<std::int32_t> ParseLevel(const std::string& text) {
    if (text == "easy") return Easy;
    if (text == "medium") return Medium;
    if (text == "hard") return Hard;
    return std::nullopt;
}

// Fills options from the arguments; false on anything unknown, repeated or malformed.
bool ParseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc) return false;
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--seed" && !options.seed) {
            options.seed = ParseUnsigned(value);
            if (!options.seed) return false;
        } else if (name == "--bench" && !options.games) {
            options.games = ParseUnsigned(value);
            if (!options.games || *options.games == 0) return false;
        } else if (name == "--first-seed" && !options.firstSeed) {
            options.firstSeed = ParseUnsigned(value);
            if (!options.firstSeed) return false;
        } else if (name == "--level" && !options.level) {
            options.level = ParseLevel(value);
            if (!options.level) return false;
        } else {
            return false;
        }
    }
    if (options.seed) return !options.games && !options.firstSeed && options.level;
    return options.games.has_value();
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

// Nearest-rank percentile of sorted samples, p in (0, 100].
template <typename T>
T Percentile(const std::vector<T>& sorted, double p) {
    const double rank = std::ceil(p / 100.0 * static_cast<double>(sorted.size()));
    const std::size_t index = rank < 1.0 ? 0 : static_cast<std::size_t>(rank) - 1;
    return sorted[std::min(index, sorted.size() - 1)];
}

int RunBench(std::uint32_t games, std::uint32_t firstSeed, std::int32_t level) {
    std::vector<double> times;
    std::vector<std::uint64_t> calls;
    times.reserve(games);
    calls.reserve(games);
    std::uint32_t restarted = 0;
    for (std::uint32_t i = 0; i < games; ++i) {
        SeedRandom(firstSeed + i);  // wraps modulo 2^32
        SudokuBoard board;
        GenerationStats stats;
        const auto start = std::chrono::steady_clock::now();
        const bool made = NewGame(board, level, GenerationLimits{}, stats);
        const auto end = std::chrono::steady_clock::now();
        if (!made) {
            std::fprintf(stderr, "sudoku-gen: cannot create new game for seed %u\n", firstSeed + i);
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        calls.push_back(stats.solveCalls);
        if (stats.attempts > 1) ++restarted;
    }
    std::sort(times.begin(), times.end());
    std::sort(calls.begin(), calls.end());
    std::printf("time_ms min %.2f median %.2f p99 %.2f max %.2f\n", times.front(), Percentile(times, 50.0),
                Percentile(times, 99.0), times.back());
    std::printf("solve_calls min %llu median %llu p99 %llu max %llu\n",
                static_cast<unsigned long long>(calls.front()),
                static_cast<unsigned long long>(Percentile(calls, 50.0)),
                static_cast<unsigned long long>(Percentile(calls, 99.0)),
                static_cast<unsigned long long>(calls.back()));
    std::printf("restarted %u of %u\n", restarted, games);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return kUsageExit;
    }
    if (options.seed) return WriteGame(*options.seed, *options.level);
    return RunBench(*options.games, options.firstSeed.value_or(1), options.level.value_or(Hard));
}
