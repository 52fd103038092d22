// The one table of the game's keys: which key, with which modifiers, on which screens,
// does which action, and how the help names it. Every screen asks ActionOf for each key
// press of its frame and acts on the answer; the help overlay lists the play screen's
// keys from the same table, so what the help says and what the keys do cannot drift.
// The mouse, and Escape as the frame's key, act as the menus and the play screen
// define them; Escape is listed for the help only. Owns nothing but the constant table.
#pragma once

#include "engine/gk.h"

// The screens a binding holds on, as bits.
enum KeyScreen : unsigned {
    OnPlayScreen = 1,
    OnMainMenu = 2,
    OnDifficultyMenu = 4,
    OnGameMenu = 8,
    OnCredits = 16,
    OnMenusAndCredits = OnMainMenu | OnDifficultyMenu | OnGameMenu | OnCredits,
    OnEveryScreen = OnPlayScreen | OnMenusAndCredits,
};

enum class Action {
    None,
    Help,              // the help overlay
    FullScreen,        // full screen on / off
    MoveKeyboardCell,  // an arrow key
    WriteValue,        // 1-9, A-G into the keyboard cell (a note in note mode)
    EmptyCell,         // 0, Backspace, Delete
    NoteValue,         // Shift with a value: that note on / off
    NoteMode,
    FillNotes,
    Undo,
    Redo,
    Hint,
    SameValueTint,
    ClashMarks,
    CopyPuzzle,
    CopyGrid,
    Paste,
    Print,         // the puzzle as a PDF in the documents folder
    PuzzleKind,    // classic or logic puzzles, in the difficulty menu
    Theme,         // the next theme: classic, dark, high contrast
    Statistics,    // the statistics screen, in the main menu
    NewGame,       // leave the game for the difficulty menu (asks first)
    Restart,       // back to the givens, as one undo step (asks first)
    MistakeMarks,  // marks on the values no completion has, on / off
    GameMenu,      // Escape: listed for the help; the frame's key rule opens the menu
};

// Modifier bits of a key press.
enum KeyModifier : unsigned { NoModifier = 0, Control = 1, Shift = 2, Alt = 4, AnyModifier = 7 };

struct KeyBinding {
    int firstKey = 0, lastKey = 0;    // a key code or a range of them; 0 with character set
    int character = 0;                // the typed character, for a key known by what it types
    unsigned modifiers = NoModifier;  // held, exactly, once the ignored ones are left out
    unsigned ignored = NoModifier;    // modifiers that may be held or not
    unsigned screens = 0;
    Action action = Action::None;
    const char* label = "";  // how the help names the key
};

// The action of a key press on a screen; Action::None when no binding holds.
Action ActionOf(const gkKeyPress& press, KeyScreen screen);
// The help's name for the keys of the given actions on a screen, in table order:
// "Ctrl+Z or U", "Ctrl+Y, Ctrl+Shift+Z or R". Written into text (size bytes).
void KeysOfActions(const Action* actions, int actionCount, KeyScreen screen, char* text, int size);
