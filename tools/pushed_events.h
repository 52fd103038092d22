// Real SDL input for the tools and tests that drive the game on the SDL engine: each
// helper pushes the events a player's key, text, pointer, wheel, tap or window action
// would make, read by the engine at its next frame. Owns nothing.
#pragma once

#include <SDL.h>

#include <cstring>

// A key going down or up.
inline void PushKeyChange(SDL_Keycode key, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&event);
}

inline void PushText(const char* text) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, text, sizeof event.text.text - 1);
    SDL_PushEvent(&event);
}

// A key pressed and released before the next frame; with text, that text comes
// between the two, as SDL sends a typed key.
inline void PushKey(SDL_Keycode key, const char* text = nullptr) {
    PushKeyChange(key, true);
    if (text != nullptr) PushText(text);
    PushKeyChange(key, false);
}

// A window event without data: SDL_WINDOWEVENT_ENTER, _CLOSE, _FOCUS_LOST and the like.
inline void PushWindowEvent(Uint8 what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    SDL_PushEvent(&event);
}

// The pointer comes into the window (a dummy video driver has no real pointer).
inline void PushMouseEnter() {
    PushWindowEvent(SDL_WINDOWEVENT_ENTER);
}

inline void PushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

// A mouse button (SDL_BUTTON_LEFT, _RIGHT, ...) going down or up at (x, y).
inline void PushButton(Uint8 button, bool down, int x, int y) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
}

// The pointer moves to (x, y); with buttonEvent SDL_MOUSEBUTTONDOWN or UP the left
// button then goes down or up there (0: no button).
inline void PushMouse(float x, float y, Uint32 buttonEvent = 0) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = static_cast<int>(x);
    motion.motion.y = static_cast<int>(y);
    SDL_PushEvent(&motion);
    if (buttonEvent == 0) return;
    PushButton(SDL_BUTTON_LEFT, buttonEvent == SDL_MOUSEBUTTONDOWN, static_cast<int>(x), static_cast<int>(y));
}

// A touchpad tap: the pointer moves there, the left button goes down and up before
// the next frame.
inline void PushTap(float x, float y) {
    PushMouse(x, y, SDL_MOUSEBUTTONDOWN);
    PushMouse(x, y, SDL_MOUSEBUTTONUP);
}

// Wheel notches away from the player (negative: towards).
inline void PushWheel(int notches) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = notches;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&event);
}
