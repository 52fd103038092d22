// The three menus (main, difficulty, in-game), all shown in the one GUI and made
// of menu items: their contents, the operations that put them into the GUI and
// take them out again, and their per-frame handlers. A chosen item first plays
// the menu's leave animation; the handler acts on the frame in which the GUI
// reports that the animation has ended.
#pragma once

#include "save/game_state.h"

void ShowMainMenu(bool show);
void ShowDifficultyMenu(bool show);
void ShowGameMenu(bool show);
// A menu state: that menu's show operation. Playing: cursor, no focus, enter
// (show) or leave, no focus (hide). Credits: nothing.
void ShowStateScreen(int state, bool show);

// Places the board view's cells over the game's board, font and cell sprites.
void BuildBoardView();

// A new game made on the board: board view, play aids reset with the puzzle's origin,
// saved at once, the difficulty menu removed, play.
void BeginNewGame(const PuzzleOrigin& origin);
// A new game that could not be made: the error box, then the difficulty menu again with "Easy" focused.
void ShowNewGameFailure();

bool MainMenuFrame();
bool DifficultyMenuFrame();
bool GameMenuFrame();
