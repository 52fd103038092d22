// Translation of SDL keys, mouse buttons and typed text into the engine's key
// and character codes (gk.h): 1/2/4 left/right/middle mouse buttons, 8 Backspace,
// 9 Tab, 13 Enter (also keypad Enter), 16/17/18 Shift/Control/Alt (held state
// only), 27 Escape, 32 Space, 37-40 arrows, 46 Delete, 48-57 digits (also keypad
// digits), 65-90 letters, 112-123 F1-F12. Pure functions, no state.
#pragma once

#include <SDL.h>

// Engine key code of a keyboard key; 0 for keys the engine does not report.
int GkKeyFromSdlKey(SDL_Keycode key);
// 16 Shift, 17 Control, 18 Alt for either key of the pair (*side 0 left, 1 right);
// 0 for any other key (*side untouched).
int GkModifierFromSdlKey(SDL_Keycode key, int* side);
// 1 left, 2 right, 4 middle; 0 for other buttons.
int GkKeyFromMouseButton(Uint8 button);
// Character a key press types when no text-input event carries it: Enter 13,
// Escape 27, Backspace 8, Tab 9 always; with textInputActive false also the
// printable ASCII keys (letters upper-case with Shift or Caps Lock). 0 otherwise.
int GkCharFromKey(SDL_Keycode key, Uint16 modifiers, bool textInputActive);
// First character (Unicode code point) of UTF-8 text; 0 for empty or malformed text.
int GkCharFromText(const char* utf8);
