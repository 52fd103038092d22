#include "play/view/status_line.h"

#include <cstdio>

#include "play/view/board_view.h"
#include "sudoku/generator.h"

namespace {

bool IsGame(const SudokuBoard& board) {
    return board.size == BoardCells && HasShape(board.values, board.size) && HasShape(board.givens, board.size);
}

}  // namespace

std::int32_t LevelOfGivens(const SudokuBoard& board, std::int32_t fallback) {
    if (!IsGame(board)) return fallback;
    std::int32_t givens = 0;
    for (const auto& row : board.givens) {
        for (std::int32_t v : row) givens += v != 0;
    }
    for (std::int32_t level : {Easy, Medium, Hard}) {
        if (givens >= ClueCount(level)) return level;
    }
    return fallback;
}

const char* PuzzleName(const SudokuBoard& board, const PuzzleOrigin& origin, char* out, std::size_t size) {
    switch (origin.kind) {
        case PuzzleKind::Classic:
            std::snprintf(out, size, "%s", LevelName(board.difficulty));
            break;
        case PuzzleKind::Logic:
            std::snprintf(out, size, "%s, by logic", LevelName(origin.level));
            break;
        case PuzzleKind::Pasted:
        case PuzzleKind::File: {
            const char* from = origin.kind == PuzzleKind::Pasted ? "Pasted" : "From a file";
            if (origin.solutions == 2) {
                std::snprintf(out, size, "%s: many solutions", from);
            } else if (origin.solutions == 1 && origin.level != 0) {
                std::snprintf(out, size, "%s: one solution, %s by logic", from, LevelName(origin.level));
            } else {
                std::snprintf(out, size, origin.solutions == 1 ? "%s: one solution" : "%s", from);
            }
            break;
        }
    }
    return out;
}

const char* FormatPlayTime(std::uint64_t seconds, char* out, std::size_t size) {
    const auto h = static_cast<unsigned long long>(seconds / 3600);
    const auto m = static_cast<unsigned>((seconds / 60) % 60);
    const auto s = static_cast<unsigned>(seconds % 60);
    if (h > 0) {
        std::snprintf(out, size, "%llu:%02u:%02u", h, m, s);
    } else {
        std::snprintf(out, size, "%u:%02u", m, s);
    }
    return out;
}

int FilledCells(const SudokuBoard& board) {
    if (!IsGame(board)) return 0;
    int filled = 0;
    for (const auto& row : board.values) {
        for (std::int32_t v : row) filled += v != 0;
    }
    return filled;
}

int ClashingCells(const SudokuBoard& board) {
    if (!IsGame(board)) return 0;
    int clashing = 0;
    for (int r = 0; r < BoardCells; ++r) {
        for (int c = 0; c < BoardCells; ++c) clashing += board.Clashes(r, c);
    }
    return clashing;
}

namespace {

// One centred line in the style, left out while the open ring reaches where it would lie.
void DrawUnlessUnderRing(gkFont& font, float y, const TextStyle& style, const char* text,
                         const ValuePicker* picker) {
    const float halfWidth = TextWidth(font, style, text) / 2.0f;
    const float bottom = y + TextLineHeight(font, style);
    if (RingOverlaps(picker, ScreenCenterX - halfWidth, y, ScreenCenterX + halfWidth, bottom)) return;
    DrawText(font, ScreenCenterX, y, AlignCenter, style, text);
}

}  // namespace

void DrawStatusLine(gkFont& font, const SudokuBoard& board, const PlayAids& aids, const ValuePicker* picker,
                    const Palette& palette) {
    char time[32];
    char line[160];
    std::size_t used = 0;
    char puzzle[48];
    // A classic puzzle says what kind it is: logic may stall on it, and the hint too.
    const char* kind = aids.origin.kind == PuzzleKind::Classic ? " (classic: many solutions)" : "";
    AppendText(line, sizeof line, used, "%s%s    %s    %d / %d",
               PuzzleName(board, aids.origin, puzzle, sizeof puzzle), kind,
               FormatPlayTime(aids.PlaySeconds(), time, sizeof time), FilledCells(board),
               BoardCells * BoardCells);
    const int clashing = ClashingCells(board);
    if (clashing > 0) AppendText(line, sizeof line, used, "    %d %s", clashing, clashing == 1 ? "clash" : "clashes");
    if (aids.hintsUsed > 0)
        AppendText(line, sizeof line, used, "    %u %s", aids.hintsUsed, aids.hintsUsed == 1 ? "hint" : "hints");
    if (aids.noteMode) AppendText(line, sizeof line, used, "    %s", "Notes");
    AppendText(line, sizeof line, used, "    %s", "F1: keys");
    DrawUnlessUnderRing(font, StatusLineY, StatusTextStyle(palette), line, picker);
    bool warning = false;
    if (const char* message = StatusMessageText(board, aids, &warning))
        DrawUnlessUnderRing(font, StatusMessageY, StatusTextStyle(palette, warning), message, picker);
}

const char* StatusMessageText(const SudokuBoard& board, const PlayAids& aids, bool* warning) {
    if (warning) *warning = aids.saveFailure.set;
    if (aids.saveFailure.set) return aids.saveFailure.text;
    const char* said = aids.message.Current(aids.history.Revision());
    if (said && !aids.message.belowWarning) return said;
    const bool deadEnd = aids.deadEnd.ShowsDeadEnd(board);
    if (warning) *warning = deadEnd;
    return deadEnd ? DeadEndText : said;
}
