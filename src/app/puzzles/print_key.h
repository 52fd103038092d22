// P on the play screen, for the program: the frame's P hands the game's puzzle to the
// program's printer (print_puzzle.h), and a finished print's outcome goes to the
// message line. Owns nothing.
#pragma once

#include "play/input/frame_input.h"

struct Program;

// Once a frame, before the state's handler: takes a finished print's outcome to the
// message line, then acts on the frame's P on the play screen.
void HandlePrintKey(Program& p, const FrameInput& input);
