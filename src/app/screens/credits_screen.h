// The credits: their text in the middle of the screen, and Escape back to the screen
// they were opened from (the main menu or the in-game menu), whose menu enters again.
#pragma once

#include <memory>

#include "app/screens/screen.h"

std::unique_ptr<Screen> MakeCreditsScreen();
