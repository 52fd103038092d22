// A seeded new game started from a script's frame hook, for the tools and tests that
// drive the game on the real engine: the same puzzle on every run. Owns nothing.
#pragma once

#include <cstdint>

#include "app/screens/menus.h"
#include "app/program.h"
#include "app/states.h"
#include "sudoku/generator.h"

// From the main menu: the puzzle of seed at level on the play screen, entered as the
// menus enter a new game (the menu's items leave the GUI). False when none was made.
inline bool PlaySeededGame(std::uint32_t seed, int level) {
    SeedRandom(seed);
    if (!TheProgram().board.NewGame(level)) return false;
    ShowMainMenu(false);
    PlayNewGame();
    return true;
}
