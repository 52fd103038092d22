// Input as the engine reports it, built from SDL events: the key and the
// character of this frame, every key press of this frame in order (with the
// character it typed and the modifiers held when it was pressed), the keys and
// mouse buttons held, the modifier keys held (either side), the mouse position
// in game pixels, the wheel notches of this frame and whether the mouse is over
// the window. Owns only its own values.
//
// A text event that directly follows a key press (as SDL sends them) is the
// character that key typed; text without such a key press (an input method)
// is a press of its own, without a key code.
//
// Mouse buttons are reported so that the game sees every press: a button that
// goes down and up again within one frame (a touchpad tap) reads as held in
// that frame and as released from the next one. Changes that arrive faster
// than one per frame wait for the following frames, in order.
#pragma once

#include <SDL.h>

#include <array>
#include <vector>

#include "engine/gk.h"

class InputState {
public:
    // Forgets what belongs to the previous frame (key, character, presses, wheel) and shows
    // the next waiting mouse-button change.
    void BeginFrame();
    // Takes one event into account. Mouse events are expected in game pixels
    // (the renderer's logical size converts them before they are polled).
    void Handle(const SDL_Event& event);
    void SetMousePosition(float x, float y);
    void SetMouseOver(bool over) { mouseOver = over; }

    int Key() const { return key; }
    int Char() const { return character; }
    const std::vector<gkKeyPress>& Presses() const { return presses; }
    // Mouse buttons 1, 2 and 4, modifiers 16 (Shift), 17 (Control) and 18 (Alt),
    // and keyboard keys by their engine code.
    bool Held(int code) const;
    float MouseX() const { return mouseX; }
    float MouseY() const { return mouseY; }
    int Wheel() const { return wheel; }
    bool MouseOver() const { return mouseOver; }
    bool HasFocus() const { return focus; }
    // True while mouse-button changes wait to be shown in later frames.
    bool ChangesWaiting() const;

private:
    // One mouse button as the game sees it.
    struct Button {
        bool shown = false;     // what Held reports this frame
        bool actual = false;    // the button's real state after the last event
        bool changed = false;   // shown changed in this frame already
        int waiting = 0;        // changes not shown yet, each the opposite of the one before
    };
    static constexpr int kButtons = 3;  // left, right, middle
    static constexpr int kMaxWaiting = 8;

    void HandleKey(const SDL_KeyboardEvent& event, bool down);
    void HandleText(const SDL_TextInputEvent& event);
    bool AddPress(int code, int typed, Uint16 sdlModifiers);
    void HandleModifier(SDL_Keycode key, bool down);
    void HandleButton(const SDL_MouseButtonEvent& event, bool down);
    void ChangeButton(int index, bool down);
    void ShowButton(int index, bool down);
    void HandleWindow(const SDL_WindowEvent& event);
    void ReleaseAll();

    static constexpr int kCodes = 256;
    std::array<bool, kCodes> held{};
    std::array<Button, kButtons> buttons{};
    // Modifier keys held, one bit per side: bit 0 left, bit 1 right; Shift, Control, Alt.
    std::array<unsigned, 3> modifierSides{};
    int key = 0;
    int character = 0;
    // A frame holds this many presses at most (a stalled frame cannot grow it without bound).
    static constexpr std::size_t kMaxPresses = 1024;
    std::vector<gkKeyPress> presses;
    bool textFollowsPress = false;  // the last event was a key press that typed no character yet
    int wheel = 0;
    float mouseX = 0.0f, mouseY = 0.0f;
    bool mouseOver = false;
    bool focus = true;  // a window system that reports no focus leaves it with the window
};
