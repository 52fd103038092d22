// The player's settings, kept in a small text file beside the saved game: whether
// cells holding the value under the pointer are tinted, whether clashing values
// carry a mark that does not depend on colour, whether the game runs full screen
// ("on" or "off"), which puzzles a new game gets ("classic" or "logic"), whether
// the player's proven-wrong values are marked ("on" or "off"), and the theme the
// player chose ("classic", "dark" or "high-contrast"; without the line the game
// follows the desktop, and the line is written only once a theme was chosen). One
// "key=value" line each; lines starting with '#' and
// unknown keys are skipped. A missing, unreadable, oversized or damaged file, or
// a damaged line, gives the default for what it could not read: never an error.
// This module owns the record and its text form. Standard library only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The theme the player chose with T; Desktop until then (the desktop's preference holds).
enum class ThemeChoice { Desktop, Classic, Dark, HighContrast };

struct Settings {
    bool sameValueHighlight = false;
    bool clashMarks = false;
    bool fullScreen = false;
    bool logicPuzzles = false;  // new games: one solution, by logic (else the classic puzzles)
    bool mistakeMarks = false;  // values no completion of the givens has are marked
    ThemeChoice theme = ThemeChoice::Desktop;

    bool operator==(const Settings& other) const {
        return sameValueHighlight == other.sameValueHighlight && clashMarks == other.clashMarks &&
               fullScreen == other.fullScreen && logicPuzzles == other.logicPuzzles &&
               mistakeMarks == other.mistakeMarks && theme == other.theme;
    }
    bool operator!=(const Settings& other) const { return !(*this == other); }
};

constexpr const char* SettingsFileName = "game.settings";
// A settings file larger than this is not read (it holds a few short lines).
constexpr std::size_t kMaxSettingsBytes = 4096;

std::string SettingsText(const Settings& settings);
// The settings a text gives, starting from the defaults.
Settings ParseSettings(std::string_view text);

// Reads the file at path; the defaults when it is missing, not a regular file or too large.
Settings LoadSettings(const std::string& path);
// Atomic write (same rules as the saved game); true on success.
bool SaveSettings(const std::string& path, const Settings& settings);
