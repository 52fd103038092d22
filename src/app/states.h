// The game-state machine: the frame and render callbacks the engine calls every frame,
// each under the frame lock (app/frame_guard.h), and the moves between the screens
// (app/screens/screen.h). The frame callback reads the frame's input once and hands it
// to the switches every screen shares (full screen, the clipboard), then to the current
// screen's Update; the render callback draws the background, the current screen and
// the GUI.
#pragma once

#include "app/frame_guard.h"
#include "app/screens/screen.h"

bool FrameFunc();
bool RenderFunc();

// The engine's display-lost callback: the process ends when it returns, so it saves
// the game in progress as shutdown would (once the saved game has been read and
// until shutdown's own save; before that there is nothing new to keep). It takes no
// lock: it runs on the frame thread, perhaps inside a callback that holds the frame lock.
bool DisplayLostFunc();

// Plays the new game just made on the board: builds the board view, starts the play
// aids afresh with where the puzzle came from, saves the game and shows the play screen.
void PlayNewGame(const PuzzleOrigin& origin = {});
// Carries out what a menu's frame asked for; true ends the frame loop.
bool CarryOut(const ScreenRequest& request);

// Shows (enters) or hides (leaves) the screen of a state.
void ShowStateScreen(int state, bool show);
// Moves to state: PreviousState takes the state left, then the new screen is shown
// (a menu with its enter animation; play with its cursor; credits with nothing).
void GoToState(int state);
