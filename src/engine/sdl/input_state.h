// Input as the engine reports it, built from SDL events: the key and the
// character of this frame, the keys and mouse buttons held, the mouse position
// in game pixels, the wheel notches of this frame and whether the mouse is over
// the window. Owns only its own values.
#pragma once

#include <SDL.h>

#include <array>

class InputState {
public:
    // Forgets what belongs to the previous frame (key, character, wheel).
    void BeginFrame();
    // Takes one event into account. Mouse events are expected in game pixels
    // (the renderer's logical size converts them before they are polled).
    void Handle(const SDL_Event& event);
    void SetMousePosition(float x, float y);
    void SetMouseOver(bool over) { mouseOver = over; }

    int Key() const { return key; }
    int Char() const { return character; }
    // Mouse buttons 1 and 2, and keyboard keys by their engine code.
    bool Held(int code) const;
    float MouseX() const { return mouseX; }
    float MouseY() const { return mouseY; }
    int Wheel() const { return wheel; }
    bool MouseOver() const { return mouseOver; }

private:
    void HandleKey(const SDL_KeyboardEvent& event, bool down);
    void HandleButton(const SDL_MouseButtonEvent& event, bool down);
    void HandleWindow(const SDL_WindowEvent& event);
    void ReleaseAll();

    static constexpr int kCodes = 256;
    std::array<bool, kCodes> held{};
    int key = 0;
    int character = 0;
    int wheel = 0;
    float mouseX = 0.0f, mouseY = 0.0f;
    bool mouseOver = false;
};
