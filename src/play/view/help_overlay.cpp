#include "play/view/help_overlay.h"

#include "gfx/shapes.h"

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

void DrawHelpLine(gkFont& font, const HelpLine& line, float y, const Settings& settings) {
    font.SetColor(HelpKeyColor);
    font.Render(HelpKeysX, y, AlignLeft, line.keys);
    font.SetColor(HelpTextColor);
    switch (line.shows) {
        case HelpSwitch::SameValueTint:
            font.Printf(HelpActionsX, y, AlignLeft, line.action, OnOff(settings.sameValueHighlight));
            break;
        case HelpSwitch::ClashMarks:
            font.Printf(HelpActionsX, y, AlignLeft, line.action, OnOff(settings.clashMarks));
            break;
        case HelpSwitch::None:
            font.Render(HelpActionsX, y, AlignLeft, line.action);
            break;
    }
}

}  // namespace

void DrawHelpOverlay(GK& gk, gkFont& font, const Settings& settings) {
    DrawFilledRect(gk, HelpPanelLeft, HelpPanelTop, HelpPanelRight - HelpPanelLeft, HelpPanelBottom - HelpPanelTop,
                   HelpPanelColor);
    font.SetScale(0.8f);
    font.SetColor(HelpTitleColor);
    font.Render(400.0f, HelpTitleY, AlignCenter, HelpTitle);
    font.SetScale(HelpScale);
    for (int i = 0; i < HelpLineCount; ++i) DrawHelpLine(font, HelpLines[i], HelpLinesY + HelpLinePitch * i, settings);
    font.SetColor(HelpTitleColor);
    font.Render(400.0f, HelpClosingY, AlignCenter, HelpClosing);
    font.SetScale(1.0f);
}
