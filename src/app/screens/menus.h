// The three menus (main, difficulty, in-game), all shown in the one GUI and made
// of menu items: their contents, the operations that put them into the GUI and
// take them out again, and their per-frame handlers. A chosen item first plays
// the menu's leave animation; the handler acts on the frame in which the GUI
// reports that the animation has ended: it hides its menu and returns what the
// state machine (states.h) is to do next.
#pragma once

#include "app/screens/screen.h"

void ShowMainMenu(bool show);
void ShowDifficultyMenu(bool show);
void ShowGameMenu(bool show);

// Plays the main menu's leave animation, then enters play as "Continue previous game"
// does (a game started from the main menu without its items).
void LeaveMainMenuForPlay();

// A new game that could not be made: the error box, then the difficulty menu again with "Easy" focused.
void ShowNewGameFailure();

ScreenRequest MainMenuFrame(const FrameInput& input);
ScreenRequest DifficultyMenuFrame(const FrameInput& input);
ScreenRequest GameMenuFrame(const FrameInput& input);
