// The play aids: what the play screen offers beyond mouse play. They act only on
// inputs mouse play ignores (every key but Escape, the middle button) and draw
// only beside or over what mouse play draws:
// - the keyboard cell, moved with the arrow keys, typed values 1-9 and A-G
//   written into it, 0 / Backspace / Delete emptying it;
// - notes: N switches note mode (typed values toggle notes), Shift with a value
//   key toggles one note, M fills every free cell with its candidates;
// - undo (Ctrl+Z, U) and redo (Ctrl+Y, Ctrl+Shift+Z, R) of every value and note change;
// - the same-value tint on the cells that hold the value of the pointer's (or
//   the keyboard cell's) cell, switched with V; the clash mark, switched with X;
// - the dead-end watch (is the grid still completable?) and the hint (H, three
//   presses that teach the next step), whose message and marks stay until the next change;
// - the help overlay (F1 or ?), closed by any key or click, which then does
//   nothing else; full screen switched with F11 or Alt+Enter.
// PlayAids owns this state: the history, the notes, note mode, the play time,
// the hints used, the keyboard cell, the settings, the help's open flag, where the
// pointer was, the dead-end watch, the hint's message and the message of a save
// that failed. Its update runs after mouse play
// in the play handler; its drawing only reads.
#pragma once

#include "engine/gk.h"
#include "play/board_view.h"
#include "play/dead_end_watch.h"
#include "play/hint_lesson.h"
#include "play/history.h"
#include "play/keyboard_cell.h"
#include "play/notes.h"
#include "play/value_picker.h"
#include "save/settings.h"
#include "sudoku/board.h"

// The keys of one frame as the play screen reads them, once per frame: the frame's
// key (Input_GetKey, mouse buttons included) and every key press of the frame in
// order, each with its character and the modifiers held when it was pressed.
struct FrameKeys {
    int key = 0;
    const gkKeyPress* presses = nullptr;  // the engine's list, valid for the frame
    int count = 0;
};

FrameKeys ReadFrameKeys(GK& gk, int key);

// A message under the status line, shown while the history stays at the revision it
// was set at (until the next change). A fixed buffer: showing it allocates nothing.
struct StatusMessage {
    char text[96] = {};
    std::uint64_t revision = 0;
    bool set = false;

    void Set(const char* message, std::uint64_t atRevision);
    void Clear() { set = false; }
    // The text while it is current, else null.
    const char* Current(std::uint64_t nowRevision) const { return set && revision == nowRevision ? text : nullptr; }
};

// A hint under way (H on the play screen): it waits for the dead-end watch's verdict
// on the grid as it stands and the hint worker's reply, and when taking moves back,
// for a verdict after each move.
struct PendingHint {
    bool active = false;
    bool takingBack = false;
    int undone = 0;              // moves taken back so far
    std::uint64_t revision = 0;  // the history's revision the hint last saw or made
};

// The longest frame the play time counts: a stalled or hidden window adds no more.
constexpr float MaxCountedFrameSeconds = 0.25f;

struct PlayAids {
    History history;
    NotesGrid notes{};
    bool noteMode = false;
    // Time spent on the play screen in this game, in whole microseconds; it stops at
    // kMaxPlaySeconds.
    std::uint64_t playMicroseconds = 0;
    unsigned hintsUsed = 0;  // hints that changed the grid in this game: such a win sets no best time
    PuzzleOrigin origin;     // where the puzzle came from (a new game starts as classic)
    KeyboardCell keyboard;
    Settings settings;
    bool helpOpen = false;
    // A switch changed the settings this frame: the caller keeps and applies them, then clears it.
    bool settingsChanged = false;

    bool pointerKnown = false;  // the pointer has been seen in the window during play
    float pointerX = 0, pointerY = 0;
    CellRef pointerCell;  // the cell under the pointer when it was last in the window

    DeadEndWatch deadEnd;  // given a slice every play-screen frame
    StatusMessage message;  // what the last hint did
    PendingHint hint;       // the hint waiting for the watch's verdict
    HintLesson lesson;      // the hint's three presses, its worker and marks
    // "Not saved: <reason>" while the last write of some file failed; set and cleared
    // by the frame as it learns how the writes went, whatever the history does.
    StatusMessage saveFailure;

    // For a new game: empty history and notes, clock and hints at zero, note mode off,
    // keyboard cell hidden, help closed.
    void ResetForGame();
    // For the game in progress entered from the menus: history, notes and clock stay.
    // (A new or restored game also drops the hint's message.)
    void ResumeGame();
    // Takes over the notes, clock, hints and history of a game read back from game.state.
    void Restore(GameStateRecord record);
    // Whole seconds of play time.
    std::uint64_t PlaySeconds() const { return playMicroseconds / 1'000'000; }
    // The game.state record of the game in progress.
    GameStateRecord Record() const;
    // Adds a play-screen frame's time, at most MaxCountedFrameSeconds.
    void CountPlayTime(float dt);
    // What edits work on: the board with these notes and history.
    BoardEdit EditOf(SudokuBoard& board) { return {&board, &notes, &history}; }
    // The cell whose value the tint follows: the keyboard cell while shown, else the pointer's.
    CellRef FocusCell() const;
};

// What the play aids work on; none owned.
struct PlayAidsTarget {
    SudokuBoard* board = nullptr;
    BoardView* view = nullptr;
    const ValuePicker* picker = nullptr;
};

// The index of the frame's key press that is an Escape for the in-game menu (not one
// that closes the help, as the help would be when its turn comes); -1 for none.
int MenuEscapeIndex(const PlayAids& aids, const FrameKeys& keys);

// Handles the first count key presses in order, each as if it came in a frame of its
// own: while the help is open a press closes it and does nothing else.
void HandleKeyPresses(PlayAids& aids, SudokuBoard& board, const gkKeyPress* presses, int count);

// With the help open: the frame's first key press, else its click, closes it and does
// nothing else; the presses after the closing one are handled as usual.
void CloseHelpOnInput(PlayAids& aids, SudokuBoard& board, const FrameKeys& keys);

// One frame of the play aids, after mouse play has handled the frame: the pointer
// (mouseOver and (px, py) as mouse play read it), then every key press in order.
void UpdatePlayAids(PlayAids& aids, const PlayAidsTarget& target, const FrameKeys& keys, bool mouseOver, float px,
                    float py);

// A typed value key: 0 for 0 / Backspace / Delete, 1..9, 10..16 for A..G; -1 for any other key.
int TypedValue(int key);

// The value the same-value tint marks this frame, 0 for none.
int TintedValue(const PlayAids& aids, const SudokuBoard& board);
// Drawn between a cell's face and its value: a hint's marks, then the tint, on cells
// other than the focus cell that hold tintedValue.
void DrawUnderCellValue(GK& gk, const PlayAids& aids, const Cell& cell, int tintedValue);
// Drawn after all cells: the clash marks (when switched on), a hint's marks from its
// second press, and the keyboard cell's outline.
void DrawOverCells(GK& gk, const PlayAids& aids, const BoardView& view, const SudokuBoard& board);
