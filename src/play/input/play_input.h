// The play screen's per-frame input: Escape first when it is the frame's key (the
// keys pressed before it in the same frame still count; an Escape followed by a
// click or another key opens no menu), then the win test, then the mouse (only while it
// is inside the window): the highlight of the non-given cell
// under the pointer, opening the value picker with a left click on such a cell,
// writing a value with a left click on an item, closing with a right click or a
// left click elsewhere. What the frame leads to (the in-game menu, the win) is
// returned to the caller, which owns the state machine and the menus. The play
// aids (play_aids.h) run after that, on each key press of the frame in order;
// while their help is shown, a key or click only closes it.
#pragma once

#include "engine/gk.h"
#include "gui/gui.h"
#include "play/view/board_view.h"
#include "play/session/play_aids.h"
#include "play/input/play_keys.h"
#include "play/view/value_picker.h"
#include "sudoku/board.h"

enum class PlayEvent {
    None,     // play goes on
    Escape,   // Escape pressed: open the in-game menu (nothing else was done this frame)
    Won,      // the board is complete and free of clashes (no input was handled this frame)
    NewGame,  // Ctrl+N confirmed: leave for the difficulty menu (the game stays as it is)
};

struct PlayScreen {
    SudokuBoard* board = nullptr;
    BoardView* view = nullptr;
    ValuePicker* picker = nullptr;
    gkGUI* gui = nullptr;
    PlayAids* aids = nullptr;  // null: mouse play alone
};

// One frame of play on the frame's input, with the frame delta and the focus from the
// engine; on None it has also handled the mouse, the play aids and updated the GUI.
PlayEvent HandlePlayFrame(GK& gk, PlayScreen& screen, const FrameInput& input);

// The mouse part of a frame: key is this frame's key code, (px, py) the pointer.
// A pick that changes a value is recorded in the aids' history.
void HandlePlayMouse(PlayScreen& screen, int key, float px, float py);
