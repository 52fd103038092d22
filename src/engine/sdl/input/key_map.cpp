#include "engine/sdl/input/key_map.h"

#include "engine/gk.h"

namespace {

constexpr int kTab = 9;

bool IsLetter(SDL_Keycode key) {
    return key >= SDLK_a && key <= SDLK_z;
}
bool IsDigit(SDL_Keycode key) {
    return key >= SDLK_0 && key <= SDLK_9;
}

int KeypadDigit(SDL_Keycode key) {
    switch (key) {
        case SDLK_KP_0:
            return 0;
        case SDLK_KP_1:
            return 1;
        case SDLK_KP_2:
            return 2;
        case SDLK_KP_3:
            return 3;
        case SDLK_KP_4:
            return 4;
        case SDLK_KP_5:
            return 5;
        case SDLK_KP_6:
            return 6;
        case SDLK_KP_7:
            return 7;
        case SDLK_KP_8:
            return 8;
        case SDLK_KP_9:
            return 9;
        default:
            return -1;
    }
}

// Number of bytes of a UTF-8 sequence from its lead byte; 0 for a byte that cannot lead.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

}  // namespace

int GkKeyFromSdlKey(SDL_Keycode key) {
    if (IsLetter(key)) return GKK_A + static_cast<int>(key - SDLK_a);
    if (IsDigit(key)) return GKK_0 + static_cast<int>(key - SDLK_0);
    const int keypad = KeypadDigit(key);
    if (keypad >= 0) return GKK_0 + keypad;
    if (key >= SDLK_F1 && key <= SDLK_F12) return GKK_F1 + static_cast<int>(key - SDLK_F1);
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return GKK_ENTER;
        case SDLK_ESCAPE:
            return GKK_ESCAPE;
        case SDLK_SPACE:
            return GKK_SPACE;
        case SDLK_LEFT:
            return GKK_LEFT;
        case SDLK_UP:
            return GKK_UP;
        case SDLK_RIGHT:
            return GKK_RIGHT;
        case SDLK_DOWN:
            return GKK_DOWN;
        case SDLK_BACKSPACE:
            return GKK_BACKSPACE;
        case SDLK_TAB:
            return kTab;
        case SDLK_DELETE:
            return GKK_DELETE;
        default:
            return 0;
    }
}

int GkModifierFromSdlKey(SDL_Keycode key, int* side) {
    int code = 0, which = 0;
    switch (key) {
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            code = GKK_SHIFT;
            which = key == SDLK_RSHIFT;
            break;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            code = GKK_CONTROL;
            which = key == SDLK_RCTRL;
            break;
        case SDLK_LALT:
        case SDLK_RALT:
            code = GKK_ALT;
            which = key == SDLK_RALT;
            break;
        default:
            return 0;
    }
    if (side != nullptr) *side = which;
    return code;
}

int GkKeyFromMouseButton(Uint8 button) {
    if (button == SDL_BUTTON_LEFT) return GKK_LBUTTON;
    if (button == SDL_BUTTON_RIGHT) return GKK_RBUTTON;
    if (button == SDL_BUTTON_MIDDLE) return GKK_MBUTTON;
    return 0;
}

int GkCharFromKey(SDL_Keycode key, Uint16 modifiers, bool textInputActive) {
    // The control characters are the codes of their keys.
    const int code = GkKeyFromSdlKey(key);
    if (code == GKK_ENTER || code == GKK_ESCAPE || code == GKK_BACKSPACE || code == kTab) return code;
    if (textInputActive) return 0;  // the SDL_TEXTINPUT event carries it
    if (IsLetter(key)) {
        const bool shift = (modifiers & KMOD_SHIFT) != 0;
        const bool caps = (modifiers & KMOD_CAPS) != 0;
        const int lower = 'a' + static_cast<int>(key - SDLK_a);
        return shift != caps ? lower - 'a' + 'A' : lower;
    }
    if (key >= SDLK_SPACE && key < 0x7F) return static_cast<int>(key);
    return 0;
}

int GkCharFromText(const char* utf8) {
    if (utf8 == nullptr || utf8[0] == '\0') return 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8);
    const int length = SequenceLength(bytes[0]);
    if (length == 0) return 0;
    if (length == 1) return bytes[0];
    int code = bytes[0] & (0xFF >> (length + 1));
    for (int i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80) return 0;  // also stops at the terminating zero
        code = (code << 6) | (bytes[i] & 0x3F);
    }
    return code;
}
