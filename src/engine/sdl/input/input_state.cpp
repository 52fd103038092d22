#include "engine/sdl/input/input_state.h"

#include "engine/gk.h"
#include "engine/sdl/input/key_map.h"

namespace {

// Index into the button table of a mouse-button code (1, 2, 4); -1 for any other code.
int ButtonIndex(int code) {
    switch (code) {
        case GKK_LBUTTON:
            return 0;
        case GKK_RBUTTON:
            return 1;
        case GKK_MBUTTON:
            return 2;
        default:
            return -1;
    }
}

constexpr int kButtonCodes[] = {GKK_LBUTTON, GKK_RBUTTON, GKK_MBUTTON};

}  // namespace

void InputState::BeginFrame() {
    key = 0;
    character = 0;
    presses.clear();
    textFollowsPress = false;
    wheel = 0;
    for (int i = 0; i < kButtons; ++i) {
        Button& button = buttons[i];
        button.changed = false;
        if (button.waiting > 0) {
            --button.waiting;
            ShowButton(i, !button.shown);
        }
    }
}

void InputState::Handle(const SDL_Event& event) {
    const bool textMayFollow = event.type == SDL_TEXTINPUT || event.type == SDL_TEXTEDITING;
    if (!textMayFollow) textFollowsPress = false;
    switch (event.type) {
        case SDL_KEYDOWN:
            HandleKey(event.key, true);
            break;
        case SDL_KEYUP:
            HandleKey(event.key, false);
            break;
        case SDL_TEXTINPUT:
            HandleText(event.text);
            break;
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

bool InputState::ChangesWaiting() const {
    for (const Button& button : buttons) {
        if (button.waiting > 0) return true;
    }
    return false;
}

void InputState::SetMousePosition(float x, float y) {
    mouseX = x;
    mouseY = y;
}

bool InputState::Held(int code) const {
    const int button = ButtonIndex(code);
    if (button >= 0) return buttons[button].shown;
    if (code >= GKK_SHIFT && code <= GKK_ALT) return modifierSides[code - GKK_SHIFT] != 0;
    return code > 0 && code < kCodes && held[code];
}

void InputState::HandleKey(const SDL_KeyboardEvent& event, bool down) {
    HandleModifier(event.keysym.sym, down);
    const int code = GkKeyFromSdlKey(event.keysym.sym);
    if (code != 0) held[code] = down;
    if (!down) return;
    if (code != 0) key = code;  // key repeats count as presses, as typed
    const int typed = GkCharFromKey(event.keysym.sym, event.keysym.mod, SDL_IsTextInputActive() == SDL_TRUE);
    if (typed != 0) character = typed;
    // The text a key types arrives as the next event; a key without a code
    // (a '?' on most layouts) becomes a press only with its text.
    const bool added = (code != 0 || typed != 0) && AddPress(code, typed, event.keysym.mod);
    textFollowsPress = added && typed == 0;
}

void InputState::HandleText(const SDL_TextInputEvent& event) {
    const int typed = GkCharFromText(event.text);
    if (typed == 0) return;
    character = typed;
    if (textFollowsPress && !presses.empty()) {
        presses.back().character = typed;
    } else {
        AddPress(0, typed, KMOD_NONE);
    }
    textFollowsPress = false;
}

// The modifiers are those this state followed through the events before the press,
// and those SDL knew held (pressed while another window had the focus).
bool InputState::AddPress(int code, int typed, Uint16 sdlModifiers) {
    if (presses.size() >= kMaxPresses) return false;
    gkKeyPress press;
    press.key = code;
    press.character = typed;
    press.shift = modifierSides[GKK_SHIFT - GKK_SHIFT] != 0 || (sdlModifiers & KMOD_SHIFT) != 0;
    press.control = modifierSides[GKK_CONTROL - GKK_SHIFT] != 0 || (sdlModifiers & KMOD_CTRL) != 0;
    press.alt = modifierSides[GKK_ALT - GKK_SHIFT] != 0 || (sdlModifiers & KMOD_ALT) != 0;
    presses.push_back(press);
    return true;
}

// Each side is followed on its own, so that releasing one Shift key while the
// other is still down leaves Shift held.
void InputState::HandleModifier(SDL_Keycode sdlKey, bool down) {
    int side = 0;
    const int code = GkModifierFromSdlKey(sdlKey, &side);
    if (code == 0) return;
    unsigned& sides = modifierSides[code - GKK_SHIFT];
    const unsigned bit = 1u << side;
    sides = down ? (sides | bit) : (sides & ~bit);
}

void InputState::HandleButton(const SDL_MouseButtonEvent& event, bool down) {
    SetMousePosition(static_cast<float>(event.x), static_cast<float>(event.y));
    const int index = ButtonIndex(GkKeyFromMouseButton(event.button));
    if (index >= 0) ChangeButton(index, down);
}

// A change is shown at once when the button has not changed yet in this frame
// and nothing waits before it; otherwise it waits for a later frame. A press and
// a release that cancel out are dropped only when too many changes wait.
void InputState::ChangeButton(int index, bool down) {
    Button& button = buttons[index];
    if (button.actual == down) return;  // a repeated press or release changes nothing
    button.actual = down;
    if (!button.changed && button.waiting == 0) {
        ShowButton(index, down);
        return;
    }
    if (button.waiting < kMaxWaiting) {
        ++button.waiting;
    } else {
        --button.waiting;  // the last waiting change and this one cancel out
    }
}

void InputState::ShowButton(int index, bool down) {
    Button& button = buttons[index];
    button.shown = down;
    button.changed = true;
    if (down) key = kButtonCodes[index];
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
            focus = false;
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            focus = true;
            break;
        default:
            break;
    }
}

// Buttons go up as if released now, so a press of this frame is still seen.
void InputState::ReleaseAll() {
    held.fill(false);
    modifierSides.fill(0);
    for (int i = 0; i < kButtons; ++i) ChangeButton(i, false);
}
