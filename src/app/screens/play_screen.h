// The play screen as a screen of the state machine: a frame of play (mouse play, then
// the play aids on the frame's input), Escape to the in-game menu, the win with its
// message box and best time, the dead-end watch and the pending hint fed with the board
// as the frame left it, and every change handed to the writer by the end of its frame.
// It draws the board with the aids' tint and notes under the values and their marks
// over the cells, the value ring, the status line, the help, and the mouse caption last.
#pragma once

#include <memory>

#include "app/screens/screen.h"

std::unique_ptr<Screen> MakePlayScreen();
