#include "app/puzzles/logic_games.h"

#include "app/program.h"
#include "play/view/status_line.h"
#include "sudoku/generator.h"

namespace {

constexpr int KeyL = GKK_A + ('L' - 'A');

// A seed of 30 bits from two draws of the game's random source (frame thread only).
std::uint64_t DrawSeed() {
    const auto high = static_cast<std::uint64_t>(RandomDraw());
    const auto low = static_cast<std::uint64_t>(RandomDraw());
    return high << 15 | low;
}

}  // namespace

void SwitchPuzzleKind(Program& p) {
    if (!p.gk || MakingPuzzle(p)) return;
    int count = 0;
    const gkKeyPress* presses = p.gk->Input_GetKeyPresses(&count);
    bool switched = false;
    for (int i = 0; presses != nullptr && i < count; ++i) {
        if (presses[i].key != KeyL || presses[i].control || presses[i].alt) continue;
        p.aids.settings.logicPuzzles = !p.aids.settings.logicPuzzles;
        switched = true;
    }
    if (switched) ApplySettings();
}

void DrawPuzzleKindLine(Program& p) {
    if (!p.MenuFont) return;
    const char* text = MakingPuzzle(p)                ? MakingPuzzleText
                       : p.aids.settings.logicPuzzles ? LogicPuzzlesText
                                                      : ClassicPuzzlesText;
    DrawText(*p.MenuFont, ScreenCenterX, MenuMessageY, AlignCenter, StatusTextStyle(p.palette), text);
}

void StartMakingPuzzle(Program& p, std::int32_t level) {
    p.puzzleMaker.Start(level, DrawSeed());
}

bool MakingPuzzle(const Program& p) {
    return p.puzzleMaker.Busy();
}

MadePuzzle TakeMadePuzzle(Program& p, std::int32_t* level) {
    LogicPuzzle puzzle;
    LogicMake outcome = LogicMake::Failed;
    if (!p.puzzleMaker.Take(puzzle, outcome)) return MadePuzzle::Waiting;
    if (outcome != LogicMake::Made) return MadePuzzle::Failed;
    SetUpLogicGame(p.board, puzzle);
    *level = puzzle.level;
    return MadePuzzle::Made;
}

void StopMakingPuzzle(Program& p) {
    p.puzzleMaker.Drop();
}
