// Which theme the game shows and how it shows it. The player's choice with T holds once
// made (kept in the settings); until then the desktop's look as the portal reader hands
// it over (platform/desktop_look.h): high contrast, else dark, else classic. Showing a
// theme puts its palette in the program's place and its images under the shared sprites
// (background, cursor, cell faces, value button); nothing else changes, and menu items
// keep their colours (every theme draws them alike). Loads the dark and high-contrast
// images the first time their theme shows, frees them, and starts and stops the portal reader.
// Works on the program's objects; owns nothing.
#pragma once

#include <string>

#include "app/program.h"
#include "play/input/frame_input.h"
#include "play/input/key_bindings.h"

// The theme a desktop's look asks for.
Theme ThemeOfDesktop(const DesktopLook& look);
// The theme to show: the player's choice, else the desktop's.
Theme ThemeToShow(ThemeChoice choice, const DesktopLook& look);

// The dark and high-contrast images load the first time their theme shows (one missing is
// drawn as its classic image); this frees those loaded.
void FreeThemeImages(Program& p);

// The reader of the desktop's look, on the bus at busAddress (empty: the session bus),
// while the player has not chosen a theme; its answers wake the frame loop.
void StartFollowingDesktop(Program& p, const std::string& busAddress = {});
void StopFollowingDesktop(Program& p);

// Puts the theme's palette and images in place.
void ShowTheme(Program& p, Theme theme);
// A frame's theme work, after the screen's update: T on a menu of keys (input's presses)
// or on the play screen (the aids' steps) chooses the theme after the one shown, kept in
// the settings and named on the play screen's message line; the desktop's newest look is
// taken; the theme to show is shown when it is not already.
void UpdateTheme(Program& p, KeyScreen keys, const FrameInput& input);
