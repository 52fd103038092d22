// The play aids: what the play screen offers beyond mouse play. They act only on
// inputs mouse play ignores (every key but Escape, the middle button) and draw
// only beside or over what mouse play draws:
// - the keyboard cell, moved with the arrow keys, typed values 1-9 and A-G
//   written into it, 0 / Backspace / Delete emptying it;
// - notes: N switches note mode (typed values toggle notes), Shift with a value
//   key toggles one note, M fills every free cell with its candidates;
// - undo (Ctrl+Z, U) and redo (Ctrl+Y, Ctrl+Shift+Z, R) of every value and note change;
// - the same-value tint on the cells that hold the value of the pointer's (or
//   the keyboard cell's) cell, switched with V; the clash mark, switched with X
//   (each switch key says what it did on the message line under the status line);
// - the dead-end watch (is the grid still completable?) and the hint (H, three
//   presses that teach the next step; on a dead end it takes out the fewest values
//   that make the grid finishable), whose message and marks stay until the next change;
// - mistake marks (K): a bar under each value no completion of the givens has;
// - Ctrl+N leaves for a new game and Ctrl+R takes the grid back to its givens, each
//   asking first while the player has written something;
// - the help overlay (F1 or ?), closed by any key or click, which then does
//   nothing else; full screen switched with F11 or Alt+Enter.
// PlayAids owns this state: the game as saved (PlaySession: history, notes, clock,
// hints, origin), what the screen follows beside it (PlayUi: note mode, keyboard cell,
// help, pointer, messages, the hint under way), the settings and the dead-end watch,
// and how a game starts, resumes and goes to and from its game.state record. The keys act on it in
// play_keys.h; cell_marks.h draws it.
#pragma once

#include <algorithm>

#include "engine/gk.h"
#include "play/hint/hint_lesson.h"
#include "play/hint/take_out_worker.h"
#include "play/input/keyboard_cell.h"
#include "play/session/dead_end_watch.h"
#include "play/session/history.h"
#include "play/session/mistake_watch.h"
#include "play/session/move.h"
#include "play/view/board_view.h"
#include "play/view/value_picker.h"
#include "save/game_state.h"
#include "save/settings.h"
#include "sudoku/board.h"

// A message under the status line, shown while the history stays at the revision it
// was set at (until the next change). A fixed buffer: showing it allocates nothing.
struct StatusMessage {
    char text[96] = {};
    std::uint64_t revision = 0;
    bool set = false;
    bool belowWarning = false;  // a switch's word: the dead-end warning shows over it

    void Set(const char* message, std::uint64_t atRevision, bool yieldsToWarning = false);
    void Clear() { set = false; }
    // The text while it is current, else null.
    const char* Current(std::uint64_t nowRevision) const { return set && revision == nowRevision ? text : nullptr; }
};

// A hint under way (H on the play screen): it waits for the dead-end watch's verdict
// on the grid as it stands and the hint worker's reply, and when taking moves back,
// for a verdict after each move.
struct PendingHint {
    bool active = false;
    bool takingOut = false;      // waiting for the values to take out of a dead end
    bool takingBack = false;     // none were found: undoing moves one by one
    int undone = 0;              // moves taken back so far
    std::uint64_t revision = 0;  // the history's revision the hint last saw or made
};

// A key that leaves or restarts a game in progress asks first: it acts when pressed
// again while its question stands on the message line, for ConfirmSeconds.
constexpr float ConfirmSeconds = 4.0f;
struct PendingConfirmation {
    int action = 0;  // the key table's action asked about; 0 for none
    float secondsLeft = 0;
    std::uint64_t revision = 0;  // the question stands while the history stays here
    const char* question = "";   // static text

    bool Asks(int asked, std::uint64_t nowRevision) const {
        return action == asked && action != 0 && secondsLeft > 0 && revision == nowRevision;
    }
};

// The longest frame the play time counts. Frames may be a second apart on a still
// screen; a longer gap is a stalled process (stopped, suspended) and adds no more.
constexpr float MaxCountedFrameSeconds = 5.0f;

// The game in progress as it is saved (game.state): the history, the notes, the play
// clock, the hints used and where the puzzle came from.
struct PlaySession {
    History history;
    NotesGrid notes{};
    // Time spent on the play screen in this game, in whole microseconds; it stops at
    // kMaxPlaySeconds.
    std::uint64_t playMicroseconds = 0;
    // Hints that changed the grid in this game (such a win sets no best time), at most kMaxHintsUsed.
    unsigned hintsUsed = 0;
    PuzzleOrigin origin;            // where the puzzle came from (a new game starts as classic)
    // When the game began (microseconds since 1970): the game's row among the games played.
    std::int64_t startedMicros = 0;
    unsigned mistakesMarked = 0;    // mistakes marked in this game, kept in its row
    bool focusedLastFrame = false;  // the last play-screen frame had the window's focus

    // Empty history and notes, clock and hints at zero, a classic origin.
    void ClearSession();
    // Takes over the notes, clock, hints and history of a game read back from game.state.
    void RestoreSession(PlayRecord record);
    // One more hint used, until the count reaches kMaxHintsUsed.
    void CountHint() { hintsUsed = std::min<unsigned>(hintsUsed + 1, kMaxHintsUsed); }
    // Whole seconds of play time.
    std::uint64_t PlaySeconds() const { return playMicroseconds / 1'000'000; }
    // The game.state record of the game in progress.
    PlayRecord Record() const;
    // Adds a play-screen frame's time while the window has the focus, at most
    // MaxCountedFrameSeconds. The time since the frame before counts only when the
    // window had the focus then too: no frame runs while it is in the background.
    void CountPlayTime(float dt, bool focused);
    // Seconds until the clock shows its next second (a hair after it).
    float SecondsToNextClockSecond() const;
    // What moves work on: the board with these notes and history.
    BoardEdit EditOf(SudokuBoard& board) { return {&board, &notes, &history}; }
};

// What the play screen shows and follows beside the game, none of it saved: note mode,
// the keyboard cell, the help, the pointer, the messages and the hint under way.
struct PlayUi {
    bool noteMode = false;
    KeyboardCell keyboard;
    bool helpOpen = false;
    bool pointerKnown = false;  // the pointer has been seen in the window during play
    float pointerX = 0, pointerY = 0;
    CellRef pointerCell;    // the cell under the pointer when it was last in the window
    StatusMessage message;  // what the last hint or switch did
    PendingHint hint;       // the hint waiting for the watch's verdict
    HintLesson lesson;      // the hint's three presses, its worker and marks
    TakeOutWorker takeOut;  // the values a dead end's hint takes out
    // "Not saved: <reason>" while the last write of some file failed; set and cleared
    // by the frame as it learns how the writes went, whatever the history does.
    StatusMessage saveFailure;
    PendingConfirmation confirm;   // Ctrl+N's or Ctrl+R's question
    bool leaveForNewGame = false;  // Ctrl+N confirmed: the play screen goes to the difficulty menu

    // Asks the question (until it is answered, or for ConfirmSeconds).
    void AskToConfirm(int action, const char* question, std::uint64_t nowRevision);
    // A frame's time off the question; once it runs out, the question leaves the message line.
    void CountDownConfirmation(float dt);

    // The cell whose value the tint follows: the keyboard cell while shown, else the pointer's.
    CellRef FocusCell() const;
    // Drops the message and the hint under way (a new or restored game).
    void DropHint();
};

struct PlayAids : PlaySession, PlayUi {
    Settings settings;
    // A switch changed the settings this frame: the caller keeps and applies them, then clears it.
    bool settingsChanged = false;
    // T presses this frame, each for the next theme: the caller shows them, then clears it.
    int themeSteps = 0;
    DeadEndWatch deadEnd;  // handed the grid every play-screen frame
    MistakeWatch mistakes;  // handed the grid every play-screen frame while mistake marks are on

    // For a new game: empty history and notes, clock and hints at zero, note mode off,
    // keyboard cell hidden, help closed.
    void ResetForGame();
    // For the game in progress entered from the menus: history, notes and clock stay.
    // (A new or restored game also drops the hint's message.)
    void ResumeGame();
    // Takes over the game read back from game.state, with no hint under way.
    void Restore(PlayRecord record);
};
