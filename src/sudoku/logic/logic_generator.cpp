// Logic puzzles: full grid from the completion search, symmetric removal of givens
// checked by GradeQuickly, and the final checks.
#include "sudoku/logic/logic_generator.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "sudoku/completion.h"
#include "sudoku/splitmix64.h"

namespace {

// The generator's own random source.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() { return SplitMix64Next(state_); }
    // 0..bound-1 for bound > 0.
    std::uint32_t Below(std::uint32_t bound) { return static_cast<std::uint32_t>(Next() % bound); }

private:
    std::uint64_t state_;
};

bool Stopped(const std::atomic<bool>* stop) {
    return stop != nullptr && stop->load(std::memory_order_relaxed);
}

Grid EmptyGrid(std::int32_t n) {
    return Grid(static_cast<std::size_t>(n), std::vector<std::int32_t>(static_cast<std::size_t>(n), 0));
}

// A random full grid: the completion search of an empty grid, seeded from the source.
bool FullGrid(std::int32_t boxSize, Random& random, Grid& grid) {
    CompletionLimits limits;
    limits.seed = random.Next();
    const CompletionResult result = CheckCompletion(EmptyGrid(boxSize * boxSize), boxSize, limits);
    if (result.verdict != Completion::Completable) return false;
    grid = result.completion;
    return true;
}

// The cells in pairs 180 degrees apart (the centre of an odd grid alone), in random order.
std::vector<std::pair<std::int32_t, std::int32_t>> SymmetricPairs(std::int32_t n, Random& random) {
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
    const std::int32_t cells = n * n;
    for (std::int32_t cell = 0; cell <= (cells - 1) / 2; ++cell) pairs.emplace_back(cell, cells - 1 - cell);
    for (std::size_t i = pairs.size(); i > 1; --i)
        std::swap(pairs[i - 1], pairs[random.Below(static_cast<std::uint32_t>(i))]);
    return pairs;
}

// Solves the puzzle quickly within the techniques up to `hardest`.
LogicGrade QuickGrade(const Grid& puzzle, std::int32_t boxSize, Technique hardest) {
    LogicGrid grid;
    if (!grid.Load(puzzle, boxSize)) return LogicGrade{};
    return GradeQuickly(grid, hardest);
}

// The hardest techniques the removal of givens allows, in turn. A band that starts with
// the chains first takes givens away within the wings, which is cheap, and only then
// lets the chains take the rest: most tries fail, and a failing try of a chain searches
// every chain there is.
std::vector<Technique> RemovalCeilings(const TechniqueBand& band) {
    if (band.easiest >= Technique::ColourWrap) return {Technique::XYZWing, band.hardest};
    return {band.hardest};
}

}  // namespace

bool GradeMatchesLevel(const LogicGrade& grade, std::int32_t level) {
    return grade.outcome == LogicOutcome::Solved && LevelTechniques(level).Holds(grade.hardest);
}

LogicMake MakeLogicPuzzle(std::int32_t level, std::uint64_t seed, LogicPuzzle& puzzle,
                          const std::atomic<bool>* stop, std::int32_t boxSize, std::int32_t maxGrids) {
    if (!IsLevel(level)) return LogicMake::Failed;
    if (boxSize < kLogicMinBoxSize || boxSize > kLogicMaxBoxSize) return LogicMake::Failed;
    const std::int32_t n = boxSize * boxSize;
    const TechniqueBand band = LevelTechniques(level);
    Random random(seed);
    for (std::int32_t grids = 1; grids <= maxGrids; ++grids) {
        if (Stopped(stop)) return LogicMake::Stopped;
        Grid solution;
        if (!FullGrid(boxSize, random, solution)) continue;
        Grid givens = solution;
        Technique needed = Technique::NakedSingle;
        const auto pairs = SymmetricPairs(n, random);
        const std::vector<Technique> ceilings = RemovalCeilings(band);
        for (const Technique ceiling : ceilings) {
            // Past the first ceiling the first puzzle that needs the band is kept: each
            // try costs a search of every chain, and one chain step makes the level.
            const bool firstInBand = ceiling != ceilings.front();
            for (const auto& [a, b] : pairs) {
                if (firstInBand && needed >= band.easiest) break;
                if (Stopped(stop)) return LogicMake::Stopped;
                std::int32_t& first = givens[a / n][a % n];
                std::int32_t& second = givens[b / n][b % n];
                if (first == 0) continue;
                const std::int32_t keptFirst = first;
                const std::int32_t keptSecond = second;
                first = 0;
                second = 0;
                const LogicGrade grade = QuickGrade(givens, boxSize, ceiling);
                if (grade.outcome == LogicOutcome::Solved) {
                    needed = grade.hardest;
                } else {
                    first = keptFirst;
                    second = keptSecond;
                }
            }
        }
        if (needed < band.easiest) continue;
        LogicGrid grid;
        grid.Load(givens, boxSize);
        const LogicGrade grade = SolveBySteps(grid, band.hardest);
        if (!GradeMatchesLevel(grade, level)) continue;
        puzzle.boxSize = boxSize;
        puzzle.level = level;
        puzzle.givens = std::move(givens);
        puzzle.solution = std::move(solution);
        puzzle.grade = grade;
        puzzle.grids = grids;
        return LogicMake::Made;
    }
    return LogicMake::Failed;
}

void SetUpLogicGame(SudokuBoard& board, const LogicPuzzle& puzzle) {
    board.size = puzzle.boxSize * puzzle.boxSize;
    board.boxSize = puzzle.boxSize;
    board.difficulty = static_cast<Difficulty>(puzzle.level);
    board.values = puzzle.givens;
    board.givens = puzzle.givens;
}
