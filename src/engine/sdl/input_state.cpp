#include "engine/sdl/input_state.h"

#include "engine/sdl/key_map.h"

void InputState::BeginFrame() {
    key = 0;
    character = 0;
    wheel = 0;
}

void InputState::Handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
            HandleKey(event.key, true);
            break;
        case SDL_KEYUP:
            HandleKey(event.key, false);
            break;
        case SDL_TEXTINPUT: {
            const int typed = GkCharFromText(event.text.text);
            if (typed != 0) character = typed;
            break;
        }
        case SDL_MOUSEMOTION:
            SetMousePosition(static_cast<float>(event.motion.x), static_cast<float>(event.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
            HandleButton(event.button, true);
            break;
        case SDL_MOUSEBUTTONUP:
            HandleButton(event.button, false);
            break;
        case SDL_MOUSEWHEEL: {
            const bool flipped = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED;
            wheel += flipped ? -event.wheel.y : event.wheel.y;
            break;
        }
        case SDL_WINDOWEVENT:
            HandleWindow(event.window);
            break;
        default:
            break;
    }
}

void InputState::SetMousePosition(float x, float y) {
    mouseX = x;
    mouseY = y;
}

bool InputState::Held(int code) const {
    return code > 0 && code < kCodes && held[code];
}

void InputState::HandleKey(const SDL_KeyboardEvent& event, bool down) {
    const int code = GkKeyFromSdlKey(event.keysym.sym);
    if (code != 0) held[code] = down;
    if (!down) return;
    if (code != 0) key = code;  // key repeats count as presses, as typed
    const int typed = GkCharFromKey(event.keysym.sym, event.keysym.mod, SDL_IsTextInputActive() == SDL_TRUE);
    if (typed != 0) character = typed;
}

void InputState::HandleButton(const SDL_MouseButtonEvent& event, bool down) {
    SetMousePosition(static_cast<float>(event.x), static_cast<float>(event.y));
    const int code = GkKeyFromMouseButton(event.button);
    if (code == 0) return;
    held[code] = down;
    if (down) key = code;
}

void InputState::HandleWindow(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_ENTER:
            mouseOver = true;
            break;
        case SDL_WINDOWEVENT_LEAVE:
            mouseOver = false;
            break;
        // Releases that happen while another window has the focus never reach
        // this one; forget what was held so nothing stays pressed.
        case SDL_WINDOWEVENT_FOCUS_LOST:
            ReleaseAll();
            break;
        default:
            break;
    }
}

void InputState::ReleaseAll() {
    held.fill(false);
}
