#include "play/view/help_overlay.h"

#include <cstdio>

#include "gfx/shapes.h"
#include "gfx/text.h"
#include "play/view/layout.h"

const HelpLine HelpLines[HelpLineCount] = {
    {"MOUSE", ""},
    {"Point at a cell", "highlight it (V: tint the cells with its value)"},
    {"Left click a free cell", "open the value ring around it"},
    {"Left click a ring button", "write that value (the blank one empties)"},
    {"Middle click a ring button", "note that value on / off, ring stays"},
    {"Right click", "close the ring"},
    {"", ""},
    {"KEYS", ""},
    {"Arrow keys", "move the keyboard cell (green frame)"},
    {"1-9, A-G (keypad too)", "write the value into the keyboard cell"},
    {"0, Backspace, Delete", "empty the keyboard cell"},
    {"Shift+1-9, Shift+A-G", "note that value on / off"},
    {"N", "note mode on / off (values become notes)"},
    {"M", "note every value each free cell allows"},
    {"Ctrl+Z or U", "undo the last change"},
    {"Ctrl+Y, Ctrl+Shift+Z or R", "redo what was undone"},
    {"H, H, H", "hint: name the next step, show it, do it"},
    {"V", "same-value tint on / off (now %s)", HelpSwitch::SameValueTint},
    {"X", "corner mark on clashes on / off (now %s)", HelpSwitch::ClashMarks},
    {"F11 or Alt+Enter", "full screen on / off"},
    {"Ctrl+C, Ctrl+Shift+C", "copy the puzzle's code / the grid's code"},
    {"Ctrl+V (main menu too)", "play the puzzle code on the clipboard"},
    {"F1 or ?", "this help"},
    {"Escape", "in-game menu (Resume, Credits, Exit)"},
    {"Writing a value", "clears it from its row/column/box notes"},
};

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
    for (int i = 0; i < HelpLineCount; ++i)
        DrawHelpLine(font, HelpLines[i], HelpLinesY + HelpLinePitch * i, settings, palette);
    DrawText(font, ScreenCenterX, HelpClosingY, AlignCenter, {HelpScale, palette.helpTitle}, HelpClosing);
}
