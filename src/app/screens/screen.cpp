#include "app/screens/screen.h"

#include "app/program.h"
#include "app/screens/credits_screen.h"
#include "app/screens/menus.h"
#include "app/screens/play_screen.h"

ScreenSet::ScreenSet() {
    screens[MainMenu] = MakeMainMenuScreen();
    screens[Playing] = MakePlayScreen();
    screens[GameMenu] = MakeGameMenuScreen();
    screens[Credits] = MakeCreditsScreen();
    screens[DifficultyMenu] = MakeDifficultyMenuScreen();
}

ScreenSet::~ScreenSet() = default;

Screen* ScreenSet::Of(int state) const {
    return state >= 0 && state < static_cast<int>(screens.size())
               ? screens[static_cast<std::size_t>(state)].get()
               : nullptr;
}
