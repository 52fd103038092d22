// The key table: what each press does on each screen, and the help's names for the
// keys, taken from the same table.
#include "play/input/key_bindings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "play/view/help_overlay.h"

namespace {

gkKeyPress Press(int key, unsigned modifiers = NoModifier, int character = 0) {
    gkKeyPress press;
    press.key = key;
    press.character = character;
    press.control = modifiers & Control;
    press.shift = modifiers & Shift;
    press.alt = modifiers & Alt;
    return press;
}

constexpr int Letter(char c) {
    return GKK_A + (c - 'A');
}

}  // namespace

TEST(KeyBindings, EachPressMeansOneActionOnItsScreens) {
    struct Case {
        gkKeyPress press;
        KeyScreen screen;
        Action action;
    } cases[] = {
        {Press(Letter('Z'), Control), OnPlayScreen, Action::Undo},
        {Press(Letter('Z'), Control | Alt), OnPlayScreen, Action::Undo},
        {Press(Letter('Z'), Control | Shift), OnPlayScreen, Action::Redo},
        {Press(Letter('Y'), Control | Shift), OnPlayScreen, Action::Redo},
        {Press(Letter('C'), Control), OnPlayScreen, Action::CopyPuzzle},
        {Press(Letter('C'), Control | Shift), OnPlayScreen, Action::CopyGrid},
        {Press(Letter('C'), Control | Alt), OnPlayScreen, Action::None},
        {Press(Letter('V'), Control), OnMainMenu, Action::Paste},
        {Press(Letter('V'), Control | Shift), OnPlayScreen, Action::None},
        {Press(Letter('V')), OnPlayScreen, Action::SameValueTint},
        {Press(Letter('V')), OnMainMenu, Action::None},
        {Press(Letter('A')), OnPlayScreen, Action::WriteValue},
        {Press(Letter('G'), Shift), OnPlayScreen, Action::NoteValue},
        {Press(Letter('H'), Shift), OnPlayScreen, Action::Hint},
        {Press(Letter('A'), Alt), OnPlayScreen, Action::None},
        {Press(GKK_0 + 7, Control), OnPlayScreen, Action::None},
        {Press(GKK_0, Shift), OnPlayScreen, Action::EmptyCell},
        {Press(GKK_DOWN, Shift), OnPlayScreen, Action::MoveKeyboardCell},
        {Press(0, Shift, '?'), OnPlayScreen, Action::Help},
        {Press(GKK_F11, Control | Shift), OnCredits, Action::FullScreen},
        {Press(GKK_ENTER, Alt), OnGameMenu, Action::FullScreen},
        {Press(GKK_ENTER), OnGameMenu, Action::None},
        {Press(Letter('L'), Shift), OnDifficultyMenu, Action::PuzzleKind},
        {Press(Letter('L'), Control), OnDifficultyMenu, Action::None},
        {Press(Letter('L')), OnPlayScreen, Action::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ActionOf(c.press, c.screen), c.action)
            << "key " << c.press.key << " character " << c.press.character << " on screen " << c.screen;
}

// The help names every action the play screen's keys have, with the keys the table binds.
TEST(KeyBindings, TheHelpListsEveryKeyOfThePlayScreenFromTheTable) {
    std::set<std::string> lines;
    char keys[64];
    for (int i = 0; i < HelpLineCount; ++i) lines.insert(HelpLineAt(i, keys, sizeof keys).keys);
    EXPECT_TRUE(lines.count("Ctrl+Y, Ctrl+Shift+Z or R"));
    EXPECT_TRUE(lines.count("F11 or Alt+Enter"));
    EXPECT_TRUE(lines.count("F1 or ?"));

    // Every key, with every set of modifiers, that does something on the play screen.
    for (int key = 1; key < 256; ++key) {
        for (unsigned modifiers = NoModifier; modifiers <= AnyModifier; ++modifiers) {
            const Action action = ActionOf(Press(key, modifiers), OnPlayScreen);
            if (action == Action::None) continue;
            KeysOfActions(&action, 1, OnPlayScreen, keys, sizeof keys);
            bool listed = false;
            for (const std::string& line : lines) listed = listed || line.find(keys) != std::string::npos;
            EXPECT_TRUE(listed) << keys << " is missing from the help";
        }
    }
}
