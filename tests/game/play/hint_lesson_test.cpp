// The hint that teaches, below the frame loop: units and cells are named as the player
// sees the board (the board view draws the board's first index along x), and an
// elimination done on the third press takes exactly its values out of the notes as
// one undo step (or, without notes, only shows them), after which the next hint moves
// on to a new step instead of finding the same elimination again.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "play/hint/hint.h"
#include "play/hint/hint_chain.h"
#include "play/hint/hint_text.h"
#include "sudoku/logic/logic_generator.h"
#include "support/boards.h"
#include "support/recording_engine.h"

namespace {

// Presses H and lets the watch and the hint's worker answer (frames a millisecond apart).
void PressH(PlayAids& aids, SudokuBoard& board) {
    GiveHint(aids, board);
    for (int i = 0; i < 20000 && aids.hint.active; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        aids.deadEnd.Update(board);
        ContinueHint(aids, board);
    }
}

// A Hard logic puzzle with the placements of its solution by steps written in, up to the
// first step that eliminates: a board whose next step (from its values alone) is that one.
LogicStep WriteUpToAnElimination(SudokuBoard& board) {
    LogicPuzzle puzzle;
    EXPECT_EQ(MakeLogicPuzzle(Hard, 4, puzzle), LogicMake::Made);
    SetUpLogicGame(board, puzzle);
    LogicGrid grid;
    EXPECT_TRUE(grid.Load(board.values, board.boxSize));
    LogicStep step;
    while (FindNextStep(grid, step) == StepSearch::Found && step.IsPlacement()) {
        grid.Place(step.placeCell, step.placeValue);
        board.values[step.placeCell / 16][step.placeCell % 16] = step.placeValue;
    }
    EXPECT_FALSE(step.IsPlacement());
    return step;
}

// The first chain step of an Expert logic puzzle solved by steps.
LogicStep FirstChainStep(std::uint64_t seed) {
    LogicPuzzle puzzle;
    EXPECT_EQ(MakeLogicPuzzle(Expert, seed, puzzle), LogicMake::Made);
    LogicGrid grid;
    EXPECT_TRUE(grid.Load(puzzle.givens, 4));
    LogicStep step;
    while (FindNextStep(grid, step) == StepSearch::Found && !IsChainTechnique(step.technique))
        grid.Apply(step);
    return step;
}

float Length(const Quad& quad) {
    return std::hypot(quad.v[1].x - quad.v[0].x, quad.v[1].y - quad.v[0].y);
}

}  // namespace

// A chain's hint names its ends as the player sees them; it draws its strong links as
// unbroken bars and its weak ones as dashes, in two colours of their own.
TEST(HintChain, NamesItsEndsOnScreenAndDrawsStrongLinksSolidAndWeakOnesDashed) {
    HintAnswer answer;
    answer.kind = HintKind::Step;
    answer.step = FirstChainStep(11);
    ASSERT_EQ(StepText(answer.step, 16),
              "alternating-chain: r6c13-11 | 14r6c13=14r6c4-1r6c4=1{r6c14 r6c15 r6c16}-1r8c16=11r8c16");
    HintTexts texts = DescribeHint(answer, 4);
    DescribeChainStep(answer.step, 4, texts);  // as the hint's worker does for a chain
    EXPECT_EQ(texts.first,
              "Alternating inference chain on 1, B and E: from row 13, column 6 to row 16, column 8");
    EXPECT_EQ(texts.second, "One of its two ends is true, so B cannot go at row 13, column 6");

    SudokuBoard board = EmptyBoard();
    BoardView view;
    view.BuildBoardView({nullptr, &board, nullptr, nullptr});
    RecordingEngine& engine = RecordingEngine::Instance();
    engine.quads.clear();
    const Palette palette = ClassicPalette();
    DrawHintChain(engine, answer.step, view, palette);
    int longStrong = 0, weak = 0, other = 0;
    for (const Quad& quad : engine.quads) {
        const std::uint32_t color = quad.v[0].col;
        if (color == palette.hintStrongLink) {
            longStrong += Length(quad) > HintChainDash + 1;
        } else if (color == palette.hintWeakLink) {
            ++weak;
            EXPECT_LE(Length(quad), HintChainDot + 0.01f) << "a weak link is dashed";
        } else {
            ++other;
        }
    }
    EXPECT_EQ(longStrong, 3) << "one unbroken bar a strong link";
    EXPECT_GT(weak, 2 * 2 + 2) << "two weak links, each of several dashes";
    EXPECT_EQ(other, 0);
    for (const std::uint32_t role : {palette.hintWeakLink, palette.hintPattern, palette.hintTarget,
                                     palette.hintUnit, palette.keyboardFrame, palette.sameValueTint})
        EXPECT_NE(palette.hintStrongLink, role);
}

TEST(HintNames, UnitsAndCellsAreNamedAsThePlayerSeesThem) {
    const struct {
        LogicUnit unit;
        std::int32_t boxSize;
        const char* name;
    } units[] = {
        {{UnitKind::Row, 0}, 4, "column 1"}, {{UnitKind::Row, 15}, 4, "column 16"},
        {{UnitKind::Column, 2}, 4, "row 3"}, {{UnitKind::Box, 0}, 4, "box 1"},
        {{UnitKind::Box, 1}, 4, "box 5"},    {{UnitKind::Box, 4}, 4, "box 2"},
        {{UnitKind::Box, 6}, 4, "box 10"},   {{UnitKind::Box, 15}, 4, "box 16"},
        {{UnitKind::Box, 1}, 3, "box 4"},    {{UnitKind::Box, 5}, 3, "box 8"},
    };
    for (const auto& u : units) EXPECT_EQ(ScreenUnitName(u.unit, u.boxSize), u.name);
    EXPECT_EQ(ScreenCellName(2 * 16 + 5, 16), "row 6, column 3");
    EXPECT_EQ(ValuesText((1u << 2) | (1u << 6) | (1u << 11)), "3, 7 and C");

    // Against the drawing: a cell named "row Y, column X" is the Y-th from the top and the
    // X-th from the left on screen, and lies in the box numbered so.
    SudokuBoard board;
    board.size = 16;
    board.boxSize = 4;
    BoardView view;
    view.BuildBoardView({nullptr, &board, nullptr, nullptr});
    std::vector<float> xs, ys;
    for (const auto& line : view.cells)
        for (const Cell& cell : line) xs.push_back(cell.x), ys.push_back(cell.y);
    for (auto* axis : {&xs, &ys}) {
        std::sort(axis->begin(), axis->end());
        axis->erase(std::unique(axis->begin(), axis->end()), axis->end());
    }
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c) {
            const Cell& cell = view.cells[r][c];
            const int y = static_cast<int>(std::find(ys.begin(), ys.end(), cell.y) - ys.begin()) + 1;
            const int x = static_cast<int>(std::find(xs.begin(), xs.end(), cell.x) - xs.begin()) + 1;
            EXPECT_EQ(ScreenCellName(r * 16 + c, 16),
                      "row " + std::to_string(y) + ", column " + std::to_string(x));
            EXPECT_EQ(ScreenBoxNumber(r / 4 * 4 + c / 4, 4), (y - 1) / 4 * 4 + (x - 1) / 4 + 1);
        }
}

TEST(HintLesson, AnEliminationLeavesTheNotesAsOneStepAndTheNextHintMovesOn) {
    for (const bool withNotes : {true, false}) {
        SCOPED_TRACE(withNotes ? "with notes" : "without notes");
        SudokuBoard board;
        const LogicStep expected = WriteUpToAnElimination(board);
        PlayAids aids;
        if (withNotes) FillCandidates(aids.EditOf(board));
        const NotesGrid notesBefore = aids.notes;
        const Grid values = board.values;
        const std::size_t steps = aids.history.UndoSteps();

        PressH(aids, board);
        ASSERT_EQ(aids.lesson.stage, LessonStage::Named);
        EXPECT_EQ(aids.lesson.reply.answer.step.eliminations, expected.eliminations);
        EXPECT_EQ(aids.lesson.reply.answer.step.technique, expected.technique);
        PressH(aids, board);
        PressH(aids, board);
        EXPECT_EQ(board.values, values);
        NotesGrid notesAfter = notesBefore;
        for (const Elimination& e : expected.eliminations)
            notesAfter[e.cell / 16][e.cell % 16] &= ~NoteBit(e.value);
        EXPECT_EQ(aids.notes, notesAfter);
        EXPECT_EQ(aids.history.UndoSteps(), steps + (withNotes ? 1 : 0));

        PressH(aids, board);
        ASSERT_EQ(aids.lesson.stage, LessonStage::Named);
        const LogicStep& next = aids.lesson.reply.answer.step;
        EXPECT_TRUE(next.IsPlacement() || next.eliminations != expected.eliminations) << "a new step";
        if (!withNotes) continue;
        CellRef cell;
        ASSERT_TRUE(UndoMove(aids.EditOf(board), &cell));
        EXPECT_EQ(aids.notes, notesBefore) << "one undo brings every note back";
    }
}
