// Real SDL input for tests that drive the whole game on the SDL engine: each helper
// pushes the events a player's key, text, pointer or tap would make, read by the
// engine at its next frame. Owns nothing.
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

// The pointer comes into the window (a dummy video driver has no real pointer).
inline void PushMouseEnter() {
    SDL_Event enter{};
    enter.type = SDL_WINDOWEVENT;
    enter.window.event = SDL_WINDOWEVENT_ENTER;
    SDL_PushEvent(&enter);
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
    SDL_Event button{};
    button.type = buttonEvent;
    button.button.button = SDL_BUTTON_LEFT;
    button.button.state = buttonEvent == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    button.button.clicks = 1;
    button.button.x = static_cast<int>(x);
    button.button.y = static_cast<int>(y);
    SDL_PushEvent(&button);
}

// A touchpad tap: the pointer moves there, the left button goes down and up before
// the next frame.
inline void PushTap(float x, float y) {
    PushMouse(x, y, SDL_MOUSEBUTTONDOWN);
    PushMouse(x, y, SDL_MOUSEBUTTONUP);
}
