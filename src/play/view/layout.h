// Where the screens put their things, in the game's 800 x 700 units: the screen's
// size and centre line, the lines under the board, the menus' title, items and the
// lines under them, the credits and the mouse caption, and the text sizes the
// screens share. The board's own geometry (cells, gaps, origin) is the board view's.
// Holds only constants.
#pragma once

constexpr float ScreenWidth = 800.0f, ScreenHeight = 700.0f;
// Centred lines are centred on it: the menus, their title and lines, the credits, the
// lines under the board, the help's title.
constexpr float ScreenCenterX = ScreenWidth / 2;

// The status line under the board, and the message line under it (a failed save, a
// hint's or a switch's message, the dead-end warning).
constexpr float StatusLineY = 604.0f;
constexpr float StatusMessageY = 628.0f;

// A menu's title, and its items from the top, one every MenuItemPitch.
constexpr float MenuTitleY = 193.0f;
constexpr float FirstMenuItemY = 233.0f, MenuItemPitch = 40.0f;
constexpr float MenuItemY(int index) {
    return FirstMenuItemY + MenuItemPitch * static_cast<float>(index);
}
// The line under a menu's items: the main menu's paste message, the difficulty menu's
// kind of puzzles.
constexpr float MenuMessageY = 420.0f;
// The main menu's best times, at the foot of the screen.
constexpr float BestTimesY = 650.0f;

// The credits' first line (centred), and the play screen's mouse caption (left-aligned).
constexpr float CreditsY = 290.0f;
constexpr float CaptionX = 10.0f, CaptionY = 10.0f;

// Text sizes: the status line's (also the menus' lines and best times), the caption's.
constexpr float StatusScale = 0.6f;
constexpr float CaptionScale = 0.8f;
