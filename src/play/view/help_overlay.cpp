#include "play/view/help_overlay.h"

#include <cstdio>

#include "gfx/shapes.h"
#include "play/input/key_bindings.h"
#include "gfx/text.h"
#include "play/view/layout.h"

namespace {

// The mouse as the play screen takes it, then the keys: each line names its actions,
// and the key table names their keys.
struct HelpEntry {
    const char* mouse;  // the mouse action, or null for a line of keys
    Action actions[2];
    int actionCount;
    const char* action;
    HelpSwitch shows;
};

constexpr HelpEntry Entries[HelpLineCount] = {
    {"MOUSE", {}, 0, "", HelpSwitch::None},
    {"Point at a cell", {}, 0, "highlight it (V: tint the cells with its value)", HelpSwitch::None},
    {"Left click a free cell", {}, 0, "open the value ring around it", HelpSwitch::None},
    {"Left click a ring button", {}, 0, "write that value (the blank one empties)", HelpSwitch::None},
    {"Middle click a ring button", {}, 0, "note that value on / off, ring stays", HelpSwitch::None},
    {"Right click", {}, 0, "close the ring", HelpSwitch::None},
    {"", {}, 0, "", HelpSwitch::None},
    {"KEYS", {}, 0, "", HelpSwitch::None},
    {nullptr, {Action::MoveKeyboardCell}, 1, "move the keyboard cell (green frame)", HelpSwitch::None},
    {nullptr, {Action::WriteValue}, 1, "write the value into the keyboard cell", HelpSwitch::None},
    {nullptr, {Action::EmptyCell}, 1, "empty the keyboard cell", HelpSwitch::None},
    {nullptr, {Action::NoteValue}, 1, "note that value on / off", HelpSwitch::None},
    {nullptr, {Action::NoteMode}, 1, "note mode on / off (values become notes)", HelpSwitch::None},
    {nullptr, {Action::FillNotes}, 1, "note every value each free cell allows", HelpSwitch::None},
    {nullptr, {Action::Undo}, 1, "undo the last change", HelpSwitch::None},
    {nullptr, {Action::Redo}, 1, "redo what was undone", HelpSwitch::None},
    {nullptr, {Action::Hint}, 1, "hint: name the next step, show it, do it", HelpSwitch::None},
    {nullptr, {Action::SameValueTint}, 1, "same-value tint on / off (now %s)", HelpSwitch::SameValueTint},
    {nullptr, {Action::ClashMarks}, 1, "corner mark on clashes on / off (now %s)", HelpSwitch::ClashMarks},
    {nullptr, {Action::FullScreen}, 1, "full screen on / off", HelpSwitch::None},
    {nullptr,
     {Action::CopyPuzzle, Action::CopyGrid},
     2,
     "copy the puzzle's code / the grid's code",
     HelpSwitch::None},
    {nullptr, {Action::Paste}, 1, "play a pasted puzzle code (main menu too)", HelpSwitch::None},
    {nullptr, {Action::Help}, 1, "this help", HelpSwitch::None},
    {nullptr, {Action::GameMenu}, 1, "in-game menu (Resume, Credits, Exit)", HelpSwitch::None},
    {"Writing a value", {}, 0, "clears it from its row/column/box notes", HelpSwitch::None},
};

}  // namespace

HelpLine HelpLineAt(int index, char* keys, int size) {
    const HelpEntry& entry = Entries[index];
    if (entry.mouse) return {entry.mouse, entry.action, entry.shows};
    KeysOfActions(entry.actions, entry.actionCount, OnPlayScreen, keys, size);
    return {keys, entry.action, entry.shows};
}

namespace {

constexpr const char* HelpTitle = "Keys and mouse";
constexpr const char* HelpClosing = "Any key or click closes this help.";
constexpr float HelpTitleY = 92.0f, HelpClosingY = 590.0f;

const char* OnOff(bool on) { return on ? "on" : "off"; }

void DrawHelpLine(gkFont& font, const HelpLine& line, float y, const Settings& settings,
                  const Palette& palette) {
    DrawText(font, HelpKeysX, y, AlignLeft, {HelpScale, palette.helpKey}, line.keys);
    const char* action = line.action;
    char withSwitch[gkFont::PrintfBufferSize];
    if (line.shows != HelpSwitch::None) {
        const bool on =
            line.shows == HelpSwitch::SameValueTint ? settings.sameValueHighlight : settings.clashMarks;
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
