#include "play/help_overlay.h"

#include "play/cell_marks.h"

const char* const HelpKeysColumn =
    "MOUSE\n"
    "Point at a cell\n"
    "Left click a free cell\n"
    "Left click a ring button\n"
    "Right click\n"
    "\n"
    "KEYS\n"
    "Arrow keys\n"
    "1-9, A-G (keypad too)\n"
    "0, Backspace, Delete\n"
    "Ctrl+Z or U\n"
    "Ctrl+Y, Ctrl+Shift+Z or R\n"
    "V\n"
    "X\n"
    "F11 or Alt+Enter\n"
    "F1 or ?\n"
    "Escape";

const char* const HelpActionsFormat =
    "\n"
    "highlight it, tint cells with its value\n"
    "open the value ring around it\n"
    "write that value (the blank one empties)\n"
    "close the ring\n"
    "\n"
    "\n"
    "move the keyboard cell (green frame)\n"
    "write the value into the keyboard cell\n"
    "empty the keyboard cell\n"
    "undo the last change\n"
    "redo what was undone\n"
    "same-value tint on / off (now %s)\n"
    "corner mark on clashes on / off (now %s)\n"
    "full screen on / off\n"
    "this help\n"
    "in-game menu (Resume, Credits, Exit)";

namespace {

constexpr const char* HelpTitle = "Keys and mouse";
constexpr const char* HelpClosing = "Any key or click closes this help.";
constexpr float HelpTitleY = 82.0f, HelpClosingY = 606.0f;

const char* OnOff(bool on) { return on ? "on" : "off"; }

}  // namespace

void DrawKeysNote(gkFont& font) {
    font.SetScale(KeysNoteScale);
    font.SetColor(KeysNoteColor);
    font.Render(KeysNoteX, KeysNoteY, AlignCenter, KeysNoteText);
    font.SetScale(1.0f);
}

void DrawHelpOverlay(GK& gk, gkFont& font, const Settings& settings) {
    DrawFilledRect(gk, HelpPanelLeft, HelpPanelTop, HelpPanelRight - HelpPanelLeft, HelpPanelBottom - HelpPanelTop,
                   HelpPanelColor);
    font.SetScale(0.8f);
    font.SetColor(HelpTitleColor);
    font.Render(400.0f, HelpTitleY, AlignCenter, HelpTitle);
    font.SetScale(HelpScale);
    font.SetColor(HelpKeyColor);
    font.Render(HelpKeysX, HelpLinesY, AlignLeft, HelpKeysColumn);
    font.SetColor(HelpTextColor);
    font.Printf(HelpActionsX, HelpLinesY, AlignLeft, HelpActionsFormat, OnOff(settings.sameValueHighlight),
                OnOff(settings.clashMarks));
    font.SetColor(HelpTitleColor);
    font.Render(400.0f, HelpClosingY, AlignCenter, HelpClosing);
    font.SetScale(1.0f);
}
