// The undo history keeps at most kHistoryStepLimit steps and drops the oldest.
#include <gtest/gtest.h>

#include "play/session/move.h"
#include "support/boards.h"
#include "support/test_files.h"

TEST(History, KeepsTheNewestStepsUpToItsLimit) {
    SudokuBoard board = EmptyBoard();
    History history;
    NotesGrid notes{};
    const BoardEdit edit{&board, &notes, &history};
    // Step k writes (k + 1) % 16 over k % 16 into one cell.
    const int steps = static_cast<int>(kHistoryStepLimit) + 1;
    for (int k = 0; k < steps; ++k) WriteCellValue(edit, 3, 4, (k + 1) % 16);
    WriteCellValue(edit, 3, 4, 1);
    WriteCellValue(edit, 3, 99, 1);
    EXPECT_EQ(history.UndoSteps(), kHistoryStepLimit) << "no-change and out-of-range changes are not steps";
    EXPECT_EQ(history.UndoChanges().size(), kHistoryStepLimit);

    CellRef cell;
    std::size_t undone = 0;
    while (UndoMove(edit, &cell)) ++undone;
    EXPECT_EQ(undone, kHistoryStepLimit);
    EXPECT_EQ(cell.row, 3);
    EXPECT_EQ(cell.column, 4);
    EXPECT_EQ(board.values[3][4], 1) << "the oldest step was dropped: the cell keeps what it wrote";
    EXPECT_EQ(history.RedoSteps(), kHistoryStepLimit);
    EXPECT_TRUE(RedoMove(edit, &cell));
    EXPECT_EQ(board.values[3][4], 2);
}

// A game.state of 300,000 steps loads cut to the cap, and play goes on from it: the
// trimming moves each change at most a few times, never the whole history per step.
TEST(History, AHugeLoadedHistoryIsCutToItsCapAndTrimmingStaysLinear) {
    constexpr std::size_t kSteps = 300'000, kMoves = 1'000;
    PlayRecord record;
    record.undo.assign(kSteps, CellChange{3, 4, 0, 1, 0, 0, true});
    TempFolder folder;
    ASSERT_TRUE(SavePlayRecord(folder.File("game.state"), record, 1));
    PlayRecord loaded;
    ASSERT_TRUE(LoadPlayRecord(folder.File("game.state"), 1, loaded));
    History history;
    history.Restore(std::move(loaded.undo), std::move(loaded.redo));
    EXPECT_EQ(history.UndoSteps(), kHistoryStepLimit);
    for (std::size_t k = 0; k < kMoves; ++k) {
        CellChange change{5, 5,   static_cast<std::uint8_t>(k % 2), static_cast<std::uint8_t>((k + 1) % 2), 0,
                          0, true};
        history.RecordStep({change});
    }
    EXPECT_LE(history.TrimMoves(), 2 * (kSteps + kMoves));
}
