#include "app/puzzles/logic_games.h"

#include "app/program.h"
#include "play/input/key_bindings.h"
#include "play/view/status_line.h"
#include "sudoku/generator.h"

namespace {

// A seed of 30 bits from two draws of the game's random source (frame thread only).
std::uint64_t DrawSeed() {
    const auto high = static_cast<std::uint64_t>(RandomDraw());
    const auto low = static_cast<std::uint64_t>(RandomDraw());
    return high << 15 | low;
}

const char* PuzzleKindText(const Program& p) {
    return MakingPuzzle(p)                ? MakingPuzzleText
           : p.aids.settings.logicPuzzles ? LogicPuzzlesText
                                          : ClassicPuzzlesText;
}

// Logic mode's menu has one item more: the line goes one item lower.
float KindLineY(const Program& p) {
    return p.aids.settings.logicPuzzles ? MenuMessageY + MenuItemPitch : MenuMessageY;
}

// A left click on the kind line, as the font draws it.
bool ClickedKindLine(Program& p, const FrameInput& input) {
    if (!p.MenuFont || input.key != GKK_LBUTTON || !input.mouseOver) return false;
    const TextStyle style = StatusTextStyle(p.palette);
    const char* text = PuzzleKindText(p);
    const float halfWidth = TextWidth(*p.MenuFont, style, text) / 2;
    return input.px >= ScreenCenterX - halfWidth && input.px <= ScreenCenterX + halfWidth &&
           input.py >= KindLineY(p) && input.py <= KindLineY(p) + TextLineHeight(*p.MenuFont, style);
}

}  // namespace

void SwitchPuzzleKind(Program& p, const FrameInput& input) {
    if (MakingPuzzle(p)) return;
    bool switched = ClickedKindLine(p, input);
    if (switched) p.aids.settings.logicPuzzles = !p.aids.settings.logicPuzzles;
    for (int i = 0; i < input.count; ++i) {
        if (ActionOf(input.presses[i], OnDifficultyMenu) != Action::PuzzleKind) continue;
        p.aids.settings.logicPuzzles = !p.aids.settings.logicPuzzles;
        switched = true;
    }
    if (switched) ApplySettings();
}

void DrawPuzzleKindLine(Program& p) {
    if (!p.MenuFont) return;
    DrawText(*p.MenuFont, ScreenCenterX, KindLineY(p), AlignCenter, StatusTextStyle(p.palette),
             PuzzleKindText(p));
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
