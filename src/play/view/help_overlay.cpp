#include "play/view/help_overlay.h"

#include <cstdio>

#include "gfx/shapes.h"
#include "play/input/key_bindings.h"
#include "gfx/text.h"
#include "play/view/layout.h"

namespace {

// The mouse as the play screen takes it, then the keys: each line of keys names its
// actions, and the key table names their keys; the last line is a rule of the notes.
constexpr HelpLine MouseLines[] = {
    {"MOUSE", ""},
    {"Point at a cell", "highlight it (V: tint the cells with its value)"},
    {"Left click a free cell", "open the value ring around it"},
    {"Left click a ring button", "write that value (the blank one empties)"},
    {"Middle click a ring button", "note that value on / off, ring stays"},
    {"Right click", "close the ring"},
    {"", ""},
    {"KEYS", ""},
};
constexpr int MouseLineCount = static_cast<int>(sizeof MouseLines / sizeof MouseLines[0]);

struct KeyLine {
    Action first, second;  // second: Action::None for a line of one action
    const char* action;
    HelpSwitch shows = HelpSwitch::None;
};

constexpr KeyLine KeyLines[] = {
    {Action::MoveKeyboardCell, Action::None, "move the keyboard cell (green frame)"},
    {Action::WriteValue, Action::None, "write the value into the keyboard cell"},
    {Action::EmptyCell, Action::None, "empty the keyboard cell"},
    {Action::NoteValue, Action::None, "note that value on / off"},
    {Action::NoteMode, Action::None, "note mode on / off (values become notes)"},
    {Action::FillNotes, Action::None, "note every value each free cell allows"},
    {Action::Undo, Action::None, "undo the last change"},
    {Action::Redo, Action::None, "redo what was undone"},
    {Action::Hint, Action::None, "hint: name the next step, show it, do it"},
    {Action::SameValueTint, Action::None, "same-value tint on / off (now %s)", HelpSwitch::SameValueTint},
    {Action::ClashMarks, Action::None, "corner mark on clashes on / off (now %s)", HelpSwitch::ClashMarks},
    {Action::MistakeMarks, Action::None, "bar under wrong values on / off (now %s)",
     HelpSwitch::MistakeMarks},
    {Action::NewGame, Action::Restart, "new game / restart (each asks first)"},
    {Action::FullScreen, Action::None, "full screen on / off"},
    {Action::Theme, Action::None, "next theme: classic, dark, high contrast"},
    {Action::CopyPuzzle, Action::CopyGrid, "copy the puzzle's code / the grid's code"},
    {Action::Paste, Action::None, "play a pasted puzzle code (main menu too)"},
    {Action::Print, Action::None, "print the puzzle as a PDF (documents)"},
    {Action::Help, Action::None, "this help"},
    {Action::GameMenu, Action::None, "in-game menu (Resume, Credits, Exit)"},
};
constexpr int KeyLineCount = static_cast<int>(sizeof KeyLines / sizeof KeyLines[0]);
static_assert(MouseLineCount + KeyLineCount + 2 == HelpLineCount, "every line of the help has its place");

constexpr HelpLine NotesRule = {"Writing a value", "clears it from its row/column/box notes"};
constexpr HelpLine PuzzleKinds = {"L in New Game", "puzzles: classic or one solution, by logic"};

}  // namespace

HelpLine HelpLineAt(int index, char* keys, int size) {
    if (index < MouseLineCount) return MouseLines[index];
    if (index == MouseLineCount + KeyLineCount) return NotesRule;
    if (index > MouseLineCount + KeyLineCount) return PuzzleKinds;
    const KeyLine& line = KeyLines[index - MouseLineCount];
    const Action actions[] = {line.first, line.second};
    KeysOfActions(actions, line.second == Action::None ? 1 : 2, OnPlayScreen, keys, size);
    return {keys, line.action, line.shows};
}

namespace {

constexpr const char* HelpTitle = "Keys and mouse";
constexpr const char* HelpClosing = "Any key or click closes this help.";
constexpr float HelpTitleY = 92.0f, HelpClosingY = 603.0f;

const char* OnOff(bool on) { return on ? "on" : "off"; }

void DrawHelpLine(gkFont& font, const HelpLine& line, float y, const Settings& settings,
                  const Palette& palette) {
    DrawText(font, HelpKeysX, y, AlignLeft, {HelpScale, palette.helpKey}, line.keys);
    const char* action = line.action;
    char withSwitch[gkFont::PrintfBufferSize];
    if (line.shows != HelpSwitch::None) {
        const bool on = line.shows == HelpSwitch::SameValueTint ? settings.sameValueHighlight
                        : line.shows == HelpSwitch::ClashMarks
                            ? settings.clashMarks || palette.clashMarkAlways
                            : settings.mistakeMarks;
        std::snprintf(withSwitch, sizeof withSwitch, line.action, OnOff(on));
        action = withSwitch;
    }
    DrawText(font, HelpActionsX, y, AlignLeft, {HelpScale, palette.helpText}, action);
}

}  // namespace

void DrawHelpOverlay(GK& gk, gkFont& font, const Settings& settings, const Palette& palette) {
    DrawFilledRect(gk, HelpPanelLeft, HelpPanelTop, HelpPanelRight - HelpPanelLeft,
                   HelpPanelBottom - HelpPanelTop, palette.helpPanel);
    DrawText(font, ScreenCenterX, HelpTitleY, AlignCenter, {HelpTitleScale, palette.helpTitle}, HelpTitle);
    char keys[64];
    for (int i = 0; i < HelpLineCount; ++i)
        DrawHelpLine(font, HelpLineAt(i, keys, sizeof keys), HelpLinesY + HelpLinePitch * i, settings, palette);
    DrawText(font, ScreenCenterX, HelpClosingY, AlignCenter, {HelpScale, palette.helpTitle}, HelpClosing);
}
