// The play screen's help: an overlay over the board that lists every mouse
// action and key of the play screen (with the current state of the switches);
// the status line under the board tells where to find it ("F1: keys"). It is
// drawn with the menu font at a small scale, in the palette's help colours; the
// overlay's panel is an untextured rectangle. Owns nothing; draws only, and leaves the
// font at scale 1.
#pragma once

#include <cstdint>

#include "engine/gk.h"
#include "gfx/font.h"
#include "gfx/palette.h"
#include "save/settings.h"

// The panel covers the board and stays clear of the mouse caption in the top-left corner.
constexpr float HelpPanelLeft = 95.0f, HelpPanelTop = 80.0f, HelpPanelRight = 705.0f, HelpPanelBottom = 620.0f;
// The title and closing line, and the lines between them, at these scales.
constexpr float HelpTitleScale = 0.8f, HelpScale = 0.6f;

// Which switch a help line shows the state of (its action text then holds one "%s").
enum class HelpSwitch { None, SameValueTint, ClashMarks, MistakeMarks };

// One line of the help: a key or mouse action (left column) and what it does (right).
struct HelpLine {
    const char* keys;
    const char* action;
    HelpSwitch shows = HelpSwitch::None;
};

constexpr int HelpLineCount = 30;
// Line index of the help; the keys of a line of keys are named by the key table
// (play/input/key_bindings.h), written into keys (size bytes).
HelpLine HelpLineAt(int index, char* keys, int size);
// The columns' x positions, the first line's y and the distance between lines.
constexpr float HelpKeysX = 115.0f, HelpActionsX = 352.0f, HelpLinesY = 122.0f, HelpLinePitch = 16.0f;

void DrawHelpOverlay(GK& gk, gkFont& font, const Settings& settings,
                     const Palette& palette);
