// The three menus as screens of the state machine: each shows and hides its items
// (menus.h), runs its frame handler, and draws in its empty space: the main menu the
// best times and the paste line, the difficulty menu its title and the line of the
// puzzles' kind, the in-game menu nothing.
#pragma once

#include <memory>

#include "app/screens/screen.h"

std::unique_ptr<Screen> MakeMainMenuScreen();
std::unique_ptr<Screen> MakeDifficultyMenuScreen();
std::unique_ptr<Screen> MakeGameMenuScreen();
