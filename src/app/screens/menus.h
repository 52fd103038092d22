// The three menus (main, difficulty, in-game), all shown in the one GUI and made
// of menu items: their contents, the operations that put them into the GUI and
// take them out again, and their per-frame handlers. A chosen item first plays
// the menu's leave animation; the handler acts on the frame in which the GUI
// reports that the animation has ended: it hides its menu and returns what the
// state machine (states.h) is to do next.
#pragma once

#include <memory>

#include "app/screens/screen.h"
#include "save/game_state.h"

// What a menu's frame asks of the state machine.
struct MenuRequest {
    enum Kind {
        Stay,          // nothing to do
        GoTo,          // show state
        ContinueGame,  // play the game in progress
        StartGame,     // play the new game just made on the board
        Exit,          // end the frame loop
    };
    Kind kind = Stay;
    int state = 0;         // for GoTo
    PuzzleOrigin origin;   // for StartGame: where the new game's puzzle came from
};

void ShowMainMenu(bool show);
void ShowDifficultyMenu(bool show);
void ShowGameMenu(bool show);

// Plays the main menu's leave animation, then enters play as "Continue previous game"
// does (a game started from the main menu without its items).
void LeaveMainMenuForPlay();

// A new game that could not be made: the error box, then the difficulty menu again with "Easy" focused.
void ShowNewGameFailure();

MenuRequest MainMenuFrame(const FrameInput& input);
MenuRequest DifficultyMenuFrame(const FrameInput& input);
MenuRequest GameMenuFrame(const FrameInput& input);

// The three menus as screens of the state machine; the main menu draws the best times
// and the paste line in its empty space, the difficulty menu its title and the line of
// the puzzles' kind.
std::unique_ptr<Screen> MakeMainMenuScreen();
std::unique_ptr<Screen> MakeDifficultyMenuScreen();
std::unique_ptr<Screen> MakeGameMenuScreen();
