#include "play/input/key_bindings.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int Letter(char c) {
    return GKK_A + (c - 'A');
}
constexpr int Digit(int d) {
    return GKK_0 + d;
}

constexpr unsigned Play = OnPlayScreen;

// Shift is ignored where it changes nothing; Alt with a plain key belongs to no action.
constexpr KeyBinding Table[] = {
    {GKK_F1, GKK_F1, 0, NoModifier, AnyModifier, Play, Action::Help, "F1"},
    {0, 0, '?', NoModifier, AnyModifier, Play, Action::Help, "?"},
    {GKK_F11, GKK_F11, 0, NoModifier, AnyModifier, OnEveryScreen, Action::FullScreen, "F11"},
    {GKK_ENTER, GKK_ENTER, 0, Alt, Control | Shift, OnEveryScreen, Action::FullScreen, "Alt+Enter"},
    {Letter('Z'), Letter('Z'), 0, Control, Alt, Play, Action::Undo, "Ctrl+Z"},
    {Letter('Y'), Letter('Y'), 0, Control, Shift | Alt, Play, Action::Redo, "Ctrl+Y"},
    {Letter('Z'), Letter('Z'), 0, Control | Shift, Alt, Play, Action::Redo, "Ctrl+Shift+Z"},
    {Letter('C'), Letter('C'), 0, Control, NoModifier, Play, Action::CopyPuzzle, "Ctrl+C"},
    {Letter('C'), Letter('C'), 0, Control | Shift, NoModifier, Play, Action::CopyGrid, "Ctrl+Shift+C"},
    {Letter('V'), Letter('V'), 0, Control, NoModifier, Play | OnMainMenu, Action::Paste, "Ctrl+V"},
    {GKK_LEFT, GKK_DOWN, 0, NoModifier, Shift, Play, Action::MoveKeyboardCell, "Arrow keys"},
    {Digit(1), Digit(9), 0, NoModifier, NoModifier, Play, Action::WriteValue, "1-9"},
    {GKK_A, Letter('G'), 0, NoModifier, NoModifier, Play, Action::WriteValue, "A-G"},
    {Digit(0), Digit(0), 0, NoModifier, Shift, Play, Action::EmptyCell, "0"},
    {GKK_BACKSPACE, GKK_BACKSPACE, 0, NoModifier, Shift, Play, Action::EmptyCell, "Backspace"},
    {GKK_DELETE, GKK_DELETE, 0, NoModifier, Shift, Play, Action::EmptyCell, "Delete"},
    {Digit(1), Digit(9), 0, Shift, NoModifier, Play, Action::NoteValue, "Shift+1-9"},
    {GKK_A, Letter('G'), 0, Shift, NoModifier, Play, Action::NoteValue, "Shift+A-G"},
    {Letter('N'), Letter('N'), 0, NoModifier, Shift, Play, Action::NoteMode, "N"},
    {Letter('M'), Letter('M'), 0, NoModifier, Shift, Play, Action::FillNotes, "M"},
    {Letter('U'), Letter('U'), 0, NoModifier, Shift, Play, Action::Undo, "U"},
    {Letter('R'), Letter('R'), 0, NoModifier, Shift, Play, Action::Redo, "R"},
    {Letter('H'), Letter('H'), 0, NoModifier, Shift, Play, Action::Hint, "H, H, H"},
    {Letter('V'), Letter('V'), 0, NoModifier, Shift, Play, Action::SameValueTint, "V"},
    {Letter('X'), Letter('X'), 0, NoModifier, Shift, Play, Action::ClashMarks, "X"},
    {Letter('K'), Letter('K'), 0, NoModifier, Shift, Play, Action::MistakeMarks, "K"},
    {Letter('N'), Letter('N'), 0, Control, NoModifier, Play, Action::NewGame, "Ctrl+N"},
    {Letter('R'), Letter('R'), 0, Control, NoModifier, Play, Action::Restart, "Ctrl+R"},
    {Letter('P'), Letter('P'), 0, NoModifier, Shift, Play, Action::Print, "P"},
    {Letter('L'), Letter('L'), 0, NoModifier, Shift, OnDifficultyMenu, Action::PuzzleKind, "L"},
    {Letter('S'), Letter('S'), 0, NoModifier, Shift, OnMainMenu, Action::Statistics, "S"},
    {Letter('T'), Letter('T'), 0, NoModifier, Shift, Play | OnMainMenu | OnDifficultyMenu | OnGameMenu,
     Action::Theme, "T"},
    {GKK_ESCAPE, GKK_ESCAPE, 0, NoModifier, AnyModifier, Play, Action::GameMenu, "Escape"},
};
constexpr int TableSize = static_cast<int>(sizeof Table / sizeof Table[0]);

unsigned ModifiersOf(const gkKeyPress& press) {
    return (press.control ? Control : 0u) | (press.shift ? Shift : 0u) | (press.alt ? Alt : 0u);
}

bool Holds(const KeyBinding& binding, const gkKeyPress& press, KeyScreen screen) {
    if ((binding.screens & screen) == 0) return false;
    if ((ModifiersOf(press) & ~binding.ignored) != binding.modifiers) return false;
    if (binding.character != 0) return press.character == binding.character;
    return press.key >= binding.firstKey && press.key <= binding.lastKey;
}

bool AmongActions(Action action, const Action* actions, int count) {
    for (int i = 0; i < count; ++i)
        if (actions[i] == action) return true;
    return false;
}

}  // namespace

Action ActionOf(const gkKeyPress& press, KeyScreen screen) {
    for (const KeyBinding& binding : Table)
        if (Holds(binding, press, screen)) return binding.action;
    return Action::None;
}

void KeysOfActions(const Action* actions, int actionCount, KeyScreen screen, char* text, int size) {
    if (size <= 0) return;
    text[0] = '\0';
    const KeyBinding* labels[TableSize];
    int n = 0;
    for (const KeyBinding& binding : Table)
        if ((binding.screens & screen) && AmongActions(binding.action, actions, actionCount))
            labels[n++] = &binding;
    int used = 0;
    for (int i = 0; i < n && used < size; ++i) {
        const char* joint = i == 0 ? "" : i == n - 1 ? " or " : ", ";
        used += std::snprintf(text + used, static_cast<std::size_t>(size - used), "%s%s", joint,
                              labels[i]->label);
    }
}
