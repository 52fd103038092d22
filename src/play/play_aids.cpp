#include "play/play_aids.h"

#include "play/cell_marks.h"
#include "play/hint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

constexpr int kKeyY = GKK_A + ('Y' - 'A');
constexpr int kKeyZ = GKK_A + ('Z' - 'A');
constexpr int kKeyU = GKK_A + ('U' - 'A');
constexpr int kKeyR = GKK_A + ('R' - 'A');
constexpr int kKeyV = GKK_A + ('V' - 'A');
constexpr int kKeyX = GKK_A + ('X' - 'A');
constexpr int kKeyG = GKK_A + ('G' - 'A');
constexpr int kKeyN = GKK_A + ('N' - 'A');
constexpr int kKeyM = GKK_A + ('M' - 'A');
constexpr int kKeyH = GKK_A + ('H' - 'A');

bool IsArrow(int key) { return key >= GKK_LEFT && key <= GKK_DOWN; }
bool IsMouseButton(int key) { return key == GKK_LBUTTON || key == GKK_RBUTTON || key == GKK_MBUTTON; }

bool PointerOnItem(const ValuePicker* picker, float px, float py) {
    if (!picker || !picker->open) return false;
    for (int k = 0; k < PickerItems; ++k) {
        if (picker->ItemContains(k, px, py)) return true;
    }
    return false;
}

// Follows the pointer while it is in the window; a move or a click hides the keyboard cell.
void TrackPointer(PlayAids& aids, const PlayAidsTarget& target, int key, bool mouseOver, float px, float py) {
    if (!mouseOver) return;
    const bool moved = aids.pointerKnown && (px != aids.pointerX || py != aids.pointerY);
    if (moved || IsMouseButton(key)) aids.keyboard.Hide();
    aids.pointerKnown = true;
    aids.pointerX = px;
    aids.pointerY = py;
    aids.pointerCell = PointerOnItem(target.picker, px, py) ? CellRef{} : CellAtPoint(*target.view, px, py);
}

// A typed value goes into the keyboard cell; while that is hidden, into the cell under
// the pointer (where the keyboard cell then shows). With neither, the keyboard cell
// only shows where it starts. In note mode, or with Shift, a value 1-16 toggles that
// note instead.
void TypeValue(PlayAids& aids, SudokuBoard& board, int value, bool asNote) {
    if (!aids.keyboard.Shown()) {
        if (!IsOnBoard(aids.pointerCell)) {
            aids.keyboard.ShowFromHidden(aids.pointerCell, board);
            return;
        }
        aids.keyboard.ShowAt(aids.pointerCell);
    }
    const CellRef cell = aids.keyboard.Position();
    if (asNote && value != 0) {
        ToggleNote(aids.EditOf(board), cell.row, cell.column, value);
    } else {
        WriteCellValue(aids.EditOf(board), cell.row, cell.column, value);
    }
}

void MoveKeyboardCell(PlayAids& aids, const SudokuBoard& board, int key) {
    if (aids.keyboard.Shown()) {
        aids.keyboard.Move(key);
    } else {
        aids.keyboard.ShowFromHidden(aids.pointerCell, board);
    }
}

// Undo and redo put the keyboard cell on the step's cell; a step of many cells leaves it where it was.
void Undo(PlayAids& aids, SudokuBoard& board) {
    CellRef cell;
    if (aids.history.Undo(board, &cell, &aids.notes) && IsOnBoard(cell)) aids.keyboard.ShowAt(cell);
}

void Redo(PlayAids& aids, SudokuBoard& board) {
    CellRef cell;
    if (aids.history.Redo(board, &cell, &aids.notes) && IsOnBoard(cell)) aids.keyboard.ShowAt(cell);
}

void Switch(PlayAids& aids, bool& setting) {
    setting = !setting;
    aids.settingsChanged = true;
}

// Control held: Z undoes, Shift+Z and Y redo; nothing else.
void HandleControlKey(PlayAids& aids, SudokuBoard& board, const gkKeyPress& input) {
    if (input.key == kKeyZ && !input.shift) Undo(aids, board);
    if ((input.key == kKeyZ && input.shift) || input.key == kKeyY) Redo(aids, board);
}

bool OpensHelp(const gkKeyPress& press) { return press.key == GKK_F1 || press.character == '?'; }

void HandleKey(PlayAids& aids, SudokuBoard& board, const gkKeyPress& input) {
    const int key = input.key;
    if (OpensHelp(input)) {
        aids.helpOpen = true;
    } else if (key == GKK_F11 || (key == GKK_ENTER && input.alt)) {
        Switch(aids, aids.settings.fullScreen);
    } else if (input.control) {
        HandleControlKey(aids, board, input);
    } else if (input.alt) {
        return;  // Alt with a letter or digit belongs to no action
    } else if (IsArrow(key)) {
        MoveKeyboardCell(aids, board, key);
    } else if (TypedValue(key) >= 0) {
        TypeValue(aids, board, TypedValue(key), aids.noteMode || input.shift);
    } else if (key == kKeyN) {
        aids.noteMode = !aids.noteMode;
    } else if (key == kKeyM) {
        FillCandidates(aids.EditOf(board));
    } else if (key == kKeyH) {
        GiveHint(aids, board);
    } else if (key == kKeyU) {
        Undo(aids, board);
    } else if (key == kKeyR) {
        Redo(aids, board);
    } else if (key == kKeyV) {
        Switch(aids, aids.settings.sameValueHighlight);
    } else if (key == kKeyX) {
        Switch(aids, aids.settings.clashMarks);
    }
}

}  // namespace

FrameKeys ReadFrameKeys(GK& gk, int key) {
    FrameKeys keys;
    keys.key = key;
    keys.presses = gk.Input_GetKeyPresses(&keys.count);
    if (keys.presses == nullptr || keys.count < 0) keys.count = 0;
    return keys;
}

void StatusMessage::Set(const char* message, std::uint64_t atRevision) {
    std::snprintf(text, sizeof text, "%s", message);
    revision = atRevision;
    set = true;
}

void PlayAids::ResetForGame() {
    message.Clear();
    history.Clear();
    notes = NotesGrid{};
    noteMode = false;
    playMicroseconds = 0;
    hintsUsed = 0;
    origin = PuzzleOrigin{};
    hint = PendingHint{};
    lesson.Reset();
    ResumeGame();
}

void PlayAids::ResumeGame() {
    keyboard.Reset();
    helpOpen = false;
}

void PlayAids::Restore(GameStateRecord record) {
    message.Clear();
    hint = PendingHint{};
    lesson.Reset();
    playMicroseconds = std::min(record.playSeconds, kMaxPlaySeconds) * 1'000'000;
    hintsUsed = record.hintsUsed;
    origin = record.origin;
    notes = record.notes;
    history.Restore(std::move(record.undo), std::move(record.redo));
}

GameStateRecord PlayAids::Record() const {
    GameStateRecord record;
    record.playSeconds = PlaySeconds();
    record.hintsUsed = hintsUsed;
    record.origin = origin;
    record.notes = notes;
    record.undo = history.UndoChanges();
    record.redo = history.RedoChanges();
    return record;
}

void PlayAids::CountPlayTime(float dt) {
    if (!(dt > 0)) return;
    const auto counted = static_cast<std::uint64_t>(std::llround(std::min(dt, MaxCountedFrameSeconds) * 1e6));
    playMicroseconds = std::min(playMicroseconds + counted, kMaxPlaySeconds * 1'000'000);
}

CellRef PlayAids::FocusCell() const {
    return keyboard.Shown() ? keyboard.Position() : pointerCell;
}

int TypedValue(int key) {
    if (key == GKK_BACKSPACE || key == GKK_DELETE) return 0;
    if (key >= GKK_0 && key <= GKK_0 + 9) return key - GKK_0;
    if (key >= GKK_A && key <= kKeyG) return 10 + key - GKK_A;
    return -1;
}

int MenuEscapeIndex(const PlayAids& aids, const FrameKeys& keys) {
    bool helpOpen = aids.helpOpen;
    for (int i = 0; i < keys.count; ++i) {
        if (helpOpen) {
            helpOpen = false;
        } else if (keys.presses[i].key == GKK_ESCAPE) {
            return i;
        } else {
            helpOpen = OpensHelp(keys.presses[i]);
        }
    }
    return -1;
}

void HandleKeyPresses(PlayAids& aids, SudokuBoard& board, const gkKeyPress* presses, int count) {
    for (int i = 0; i < count; ++i) {
        if (aids.helpOpen) {
            aids.helpOpen = false;
        } else {
            HandleKey(aids, board, presses[i]);
        }
    }
}

void CloseHelpOnInput(PlayAids& aids, SudokuBoard& board, const FrameKeys& keys) {
    if (keys.count == 0 && keys.key != 0) aids.helpOpen = false;  // a click
    HandleKeyPresses(aids, board, keys.presses, keys.count);
}

void UpdatePlayAids(PlayAids& aids, const PlayAidsTarget& target, const FrameKeys& keys, bool mouseOver, float px,
                    float py) {
    if (!target.board || !target.view) return;
    TrackPointer(aids, target, keys.key, mouseOver, px, py);
    HandleKeyPresses(aids, *target.board, keys.presses, keys.count);
}

int TintedValue(const PlayAids& aids, const SudokuBoard& board) {
    if (!aids.settings.sameValueHighlight) return 0;
    const CellRef focus = aids.FocusCell();
    return IsOnBoard(focus) ? CellValue(board, focus.row, focus.column) : 0;
}

void DrawUnderCellValue(GK& gk, const PlayAids& aids, const Cell& cell, int tintedValue) {
    if (const HintMarks* marks = aids.lesson.ShownMarks(aids.history.Revision()))
        DrawHintUnderCell(gk, *marks, aids.lesson.Detailed(), cell);
    if (tintedValue == 0 || !cell.board) return;
    const CellRef focus = aids.FocusCell();
    if (cell.row == focus.row && cell.column == focus.column) return;
    if (CellValue(*cell.board, cell.row, cell.column) == tintedValue) DrawSameValueTint(gk, cell);
}

void DrawOverCells(GK& gk, const PlayAids& aids, const BoardView& view, const SudokuBoard& board) {
    if (aids.settings.clashMarks) {
        for (const auto& line : view.cells) {
            for (const Cell& cell : line) {
                const int value = CellValue(board, cell.row, cell.column);
                if (value != 0 && !CellIsGiven(board, cell.row, cell.column) &&
                    !board.IsAllowed(cell.row, cell.column, value))
                    DrawClashMark(gk, cell);
            }
        }
    }
    const HintMarks* marks = aids.lesson.ShownMarks(aids.history.Revision());
    if (marks && aids.lesson.Detailed()) DrawHintOverCells(gk, *marks, view);
    if (aids.keyboard.Shown()) {
        const CellRef k = aids.keyboard.Position();
        DrawKeyboardOutline(gk, view.cells[k.row][k.column]);
    }
}
