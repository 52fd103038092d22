#include "play/input/play_keys.h"

#include <cstdio>

#include "play/hint/hint.h"
#include "play/input/key_bindings.h"

namespace {

constexpr int kKeyG = GKK_A + ('G' - 'A');

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
    if (UndoMove(aids.EditOf(board), &cell) && IsOnBoard(cell)) aids.keyboard.ShowAt(cell);
}

void Redo(PlayAids& aids, SudokuBoard& board) {
    CellRef cell;
    if (RedoMove(aids.EditOf(board), &cell) && IsOnBoard(cell)) aids.keyboard.ShowAt(cell);
}

// A switch key flips its switch and says on the message line what it did ("Clash
// marks on"), until the next change; the dead-end warning still shows over it.
void Flip(PlayAids& aids, bool& on, const char* name) {
    on = !on;
    char text[sizeof aids.message.text];
    std::snprintf(text, sizeof text, "%s %s", name, on ? "on" : "off");
    aids.message.Set(text, aids.history.Revision(), true);
}

// A switch kept in the settings: the caller saves and applies them.
void Switch(PlayAids& aids, bool& setting, const char* name) {
    Flip(aids, setting, name);
    aids.settingsChanged = true;
}

constexpr const char* LeaveQuestion = "Press Ctrl+N again to leave this game";
constexpr const char* RestartQuestion = "Press Ctrl+R again to take back every value and note";
constexpr const char* RestartedText = "Back to the givens: Ctrl+Z brings the grid back";
constexpr const char* NothingToRestartText = "The grid holds only its givens";

// True when the question about the action stands and this press answers it; else
// asks it on the message line.
bool Confirmed(PlayAids& aids, Action action, const char* question) {
    const std::uint64_t revision = aids.history.Revision();
    if (aids.confirm.Asks(static_cast<int>(action), revision)) {
        aids.confirm = PendingConfirmation{};
        return true;
    }
    aids.AskToConfirm(static_cast<int>(action), question, revision);
    return false;
}

// Ctrl+N: straight to the difficulty menu when the player has written nothing, else
// once asked. The game stays as it is until a new one starts.
void LeaveForNewGame(PlayAids& aids, SudokuBoard& board) {
    const bool inProgress = !RestartMove(aids.EditOf(board)).Empty();
    if (inProgress && !Confirmed(aids, Action::NewGame, LeaveQuestion)) return;
    aids.message.Clear();
    aids.leaveForNewGame = true;
}

// Ctrl+R: once asked, every value and note of the player's goes, as one undo step.
void Restart(PlayAids& aids, SudokuBoard& board) {
    const Move move = RestartMove(aids.EditOf(board));
    if (move.Empty()) {
        aids.message.Set(NothingToRestartText, aids.history.Revision());
    } else if (Confirmed(aids, Action::Restart, RestartQuestion)) {
        ApplyMove(aids.EditOf(board), move);
        aids.message.Set(RestartedText, aids.history.Revision());
    }
}

bool OpensHelp(const gkKeyPress& press) {
    return ActionOf(press, OnPlayScreen) == Action::Help;
}

// What each of the play screen's actions does to the aids and the board.
using ActionHandler = void (*)(PlayAids&, SudokuBoard&, const gkKeyPress&);

void TypeKey(PlayAids& aids, SudokuBoard& board, const gkKeyPress& input) {
    TypeValue(aids, board, TypedValue(input.key), aids.noteMode || input.shift);
}

struct ActionEntry {
    Action action;
    ActionHandler handle;
};

constexpr ActionEntry PlayActions[] = {
    {Action::Help, [](PlayAids& aids, SudokuBoard&, const gkKeyPress&) { aids.helpOpen = true; }},
    {Action::FullScreen, [](PlayAids& aids, SudokuBoard&,
                            const gkKeyPress&) { Switch(aids, aids.settings.fullScreen, "Full screen"); }},
    {Action::MoveKeyboardCell, [](PlayAids& aids, SudokuBoard& board,
                                  const gkKeyPress& input) { MoveKeyboardCell(aids, board, input.key); }},
    {Action::WriteValue, TypeKey},
    {Action::EmptyCell, TypeKey},
    {Action::NoteValue, TypeKey},
    {Action::NoteMode,
     [](PlayAids& aids, SudokuBoard&, const gkKeyPress&) { Flip(aids, aids.noteMode, "Note mode"); }},
    {Action::FillNotes,
     [](PlayAids& aids, SudokuBoard& board, const gkKeyPress&) { FillCandidates(aids.EditOf(board)); }},
    {Action::Hint, [](PlayAids& aids, SudokuBoard& board, const gkKeyPress&) { GiveHint(aids, board); }},
    {Action::Undo, [](PlayAids& aids, SudokuBoard& board, const gkKeyPress&) { Undo(aids, board); }},
    {Action::Redo, [](PlayAids& aids, SudokuBoard& board, const gkKeyPress&) { Redo(aids, board); }},
    {Action::SameValueTint,
     [](PlayAids& aids, SudokuBoard&, const gkKeyPress&) {
         Switch(aids, aids.settings.sameValueHighlight, "Same-value tint");
     }},
    {Action::ClashMarks, [](PlayAids& aids, SudokuBoard&,
                            const gkKeyPress&) { Switch(aids, aids.settings.clashMarks, "Clash marks"); }},
    {Action::MistakeMarks,
     [](PlayAids& aids, SudokuBoard&, const gkKeyPress&) {
         Switch(aids, aids.settings.mistakeMarks, "Mistake marks");
     }},
    {Action::NewGame,
     [](PlayAids& aids, SudokuBoard& board, const gkKeyPress&) { LeaveForNewGame(aids, board); }},
    {Action::Restart, [](PlayAids& aids, SudokuBoard& board, const gkKeyPress&) { Restart(aids, board); }},
    {Action::Theme, [](PlayAids& aids, SudokuBoard&, const gkKeyPress&) { ++aids.themeSteps; }},
};

// Only the key table's word counts: a key no binding takes does nothing. The
// clipboard's keys are the program's; Escape is the frame key's.
void HandleKey(PlayAids& aids, SudokuBoard& board, const gkKeyPress& input) {
    const Action action = ActionOf(input, OnPlayScreen);
    // Another key's action answers a question with no.
    if (action != Action::None && static_cast<int>(action) != aids.confirm.action)
        aids.confirm = PendingConfirmation{};
    for (const ActionEntry& entry : PlayActions)
        if (entry.action == action) entry.handle(aids, board, input);
}

}  // namespace

int TypedValue(int key) {
    if (key == GKK_BACKSPACE || key == GKK_DELETE) return 0;
    if (key >= GKK_0 && key <= GKK_0 + 9) return key - GKK_0;
    if (key >= GKK_A && key <= kKeyG) return 10 + key - GKK_A;
    return -1;
}

int MenuEscapeIndex(const PlayAids& aids, const FrameInput& keys) {
    // Only the frame's key opens the menu: an Escape followed by a click or another key
    // in the same frame is one more key press of the aids, which ignore it.
    if (keys.key != GKK_ESCAPE) return -1;
    int escape = keys.count;  // an engine that lists no presses: the frame's key alone
    for (int i = 0; i < keys.count; ++i) {
        if (keys.presses[i].key == GKK_ESCAPE) escape = i;
    }
    // The presses before it may leave the help open; the Escape then only closes it.
    bool helpOpen = aids.helpOpen;
    for (int i = 0; i < escape; ++i) helpOpen = !helpOpen && OpensHelp(keys.presses[i]);
    return helpOpen ? -1 : escape;
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

void CloseHelpOnInput(PlayAids& aids, SudokuBoard& board, const FrameInput& keys) {
    if (keys.count == 0 && keys.key != 0) aids.helpOpen = false;  // a click
    HandleKeyPresses(aids, board, keys.presses, keys.count);
}

void UpdatePlayAids(PlayAids& aids, const PlayAidsTarget& target, const FrameInput& input) {
    if (!target.board || !target.view) return;
    TrackPointer(aids, target, input.key, input.mouseOver, input.px, input.py);
    HandleKeyPresses(aids, *target.board, input.presses, input.count);
}
