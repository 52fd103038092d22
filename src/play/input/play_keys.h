// The play screen's keys and pointer for the play aids (play_aids.h): the frame's
// key presses, each handled in order as the key table (key_bindings.h) names them (with the help's
// close-first rule), the pointer followed, typed values, note mode, undo and redo, the switches and the hint.
// Owns nothing.
#pragma once

#include "engine/gk.h"
#include "play/input/frame_input.h"
#include "play/session/play_aids.h"
#include "play/view/board_view.h"
#include "play/view/value_picker.h"
#include "sudoku/board.h"

// What the play aids work on; none owned.
struct PlayAidsTarget {
    SudokuBoard* board = nullptr;
    BoardView* view = nullptr;
    const ValuePicker* picker = nullptr;
};

// The index of the frame's key press that is an Escape for the in-game menu; -1 for none.
// Only an Escape that is the frame's key (Input_GetKey: the last key pressed, a click
// included) opens the menu, and not one that closes the help, as the help would be
// when its turn comes.
int MenuEscapeIndex(const PlayAids& aids, const FrameInput& keys);

// Handles the first count key presses in order, each as if it came in a frame of its
// own: while the help is open a press closes it and does nothing else.
void HandleKeyPresses(PlayAids& aids, SudokuBoard& board, const gkKeyPress* presses, int count);

// With the help open: the frame's first key press, else its click, closes it and does
// nothing else; the presses after the closing one are handled as usual.
void CloseHelpOnInput(PlayAids& aids, SudokuBoard& board, const FrameInput& keys);

// One frame of the play aids, after mouse play has handled the frame: the pointer,
// then every key press in order.
void UpdatePlayAids(PlayAids& aids, const PlayAidsTarget& target, const FrameInput& input);

// A typed value key: 0 for 0 / Backspace / Delete, 1..9, 10..16 for A..G; -1 for any other key.
int TypedValue(int key);
