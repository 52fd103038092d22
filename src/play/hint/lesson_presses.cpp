#include "play/hint/lesson_presses.h"

#include <cstdio>

#include "play/session/play_aids.h"

namespace {

constexpr const char* NoAnswerText = "Hint: no answer yet";

void Say(PlayAids& aids, const char* text) {
    aids.message.Set(text, aids.history.Revision());
}

// The stage is reached on the board as it stands now.
void Reach(PlayAids& aids, LessonStage stage) {
    aids.lesson.stage = stage;
    aids.lesson.revision = aids.history.Revision();
}

// Every value of before is still in after: what was true of before is true of after.
bool KeepsValues(const Grid& before, const Grid& after) {
    if (before.size() != after.size()) return false;
    for (std::size_t r = 0; r < before.size(); ++r) {
        if (before[r].size() != after[r].size()) return false;
        for (std::size_t c = 0; c < before[r].size(); ++c) {
            if (before[r][c] != 0 && before[r][c] != after[r][c]) return false;
        }
    }
    return true;
}

// The cell the player points at (keyboard cell, else pointer) as row * N + column; -1 for none.
std::int32_t FocusCellIndex(const PlayAids& aids, const SudokuBoard& board) {
    const CellRef cell = aids.FocusCell();
    if (!IsOnBoard(cell) || cell.row >= board.size || cell.column >= board.size) return -1;
    return cell.row * board.size + cell.column;
}

// The third press of a value: one undo step, as a typed value; the keyboard cell goes there.
void WriteHintValue(PlayAids& aids, SudokuBoard& board, std::int32_t cell, std::int32_t value) {
    if (board.size <= 0 || cell < 0 || value < 1) return;
    const CellRef at{cell / board.size, cell % board.size};
    if (board.IsGiven(at.row, at.column) || board.values[at.row][at.column] != 0) return;
    WriteCellValue(aids.EditOf(board), at.row, at.column, value);
    aids.keyboard.ShowAt(at);
    aids.message.Clear();
}

// Takes the eliminated values out of the notes that hold them, as one undo step;
// returns the cells changed.
int TakeOutNotes(PlayAids& aids, SudokuBoard& board, const std::vector<Elimination>& eliminations) {
    NotesGrid remove{};
    for (const Elimination& e : eliminations) {
        if (e.cell < 0 || e.cell >= kBoardCellCount) continue;
        const CellRef at = CellRef::OfIndex(e.cell);
        CellNotes& bits = remove[static_cast<std::size_t>(at.row)][static_cast<std::size_t>(at.column)];
        bits = static_cast<CellNotes>(bits | NoteBit(e.value));
    }
    const Move move = NotesRemovalMove(aids.EditOf(board), remove);
    ApplyMove(aids.EditOf(board), move);
    return static_cast<int>(move.changes.size());
}

// The third press of eliminations: out of the notes, and kept for the next hint.
void TakeOut(PlayAids& aids, SudokuBoard& board, const LogicStep& step) {
    HintLesson& lesson = aids.lesson;
    lesson.eliminated.insert(lesson.eliminated.end(), step.eliminations.begin(), step.eliminations.end());
    const int cells = TakeOutNotes(aids, board, step.eliminations);
    const char* values = lesson.reply.texts.values.c_str();
    char text[sizeof aids.message.text];
    if (cells > 0) {
        std::snprintf(text, sizeof text, "Hint: took %s out of the notes of %d %s", values, cells,
                      cells == 1 ? "cell" : "cells");
    } else {
        std::snprintf(text, sizeof text, "Hint: %s cannot go in the marked cells", values);
    }
    Say(aids, text);
}

void DoHint(PlayAids& aids, SudokuBoard& board) {
    const HintAnswer& answer = aids.lesson.reply.answer;
    if (answer.kind == HintKind::Values) {
        WriteHintValue(aids, board, answer.cell, LowestValue(answer.finishable));
    } else if (answer.step.IsPlacement()) {
        WriteHintValue(aids, board, answer.step.placeCell, answer.step.placeValue);
    } else {
        TakeOut(aids, board, answer.step);
    }
    Reach(aids, LessonStage::Done);  // its marks stay until the next change
}

}  // namespace

bool AdvanceLesson(PlayAids& aids, SudokuBoard& board) {
    HintLesson& lesson = aids.lesson;
    if (lesson.revision != aids.history.Revision()) return false;
    if (lesson.stage == LessonStage::Named) {
        Reach(aids, LessonStage::Shown);
        Say(aids, lesson.reply.texts.second.c_str());
        return true;
    }
    if (lesson.stage == LessonStage::Shown) {
        DoHint(aids, board);
        return true;
    }
    return false;
}

void AskForLesson(PlayAids& aids, const SudokuBoard& board) {
    HintLesson& lesson = aids.lesson;
    if (!KeepsValues(lesson.values, board.values)) lesson.eliminated.clear();
    lesson.values = board.values;
    HintQuery query;
    query.values = board.values;
    query.boxSize = board.boxSize;
    query.eliminated = lesson.eliminated;
    query.focusCell = FocusCellIndex(aids, board);
    lesson.worker.Submit({query, aids.origin.kind == PuzzleKind::Classic});
    lesson.stage = LessonStage::Asked;
}

LessonReply TakeLessonReply(PlayAids& aids) {
    HintLesson& lesson = aids.lesson;
    if (lesson.stage != LessonStage::Asked || !lesson.worker.TakeReply(lesson.reply))
        return LessonReply::Pending;
    if (lesson.reply.answer.kind == HintKind::Contradiction) {
        lesson.stage = LessonStage::None;
        return LessonReply::Contradiction;
    }
    if (lesson.reply.texts.first.empty()) {
        lesson.stage = LessonStage::None;
        Say(aids, NoAnswerText);
        return LessonReply::Shown;
    }
    Reach(aids, LessonStage::Named);
    Say(aids, lesson.reply.texts.first.c_str());
    aids.CountHint();
    return LessonReply::Shown;
}
