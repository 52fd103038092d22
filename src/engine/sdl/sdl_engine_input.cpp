// The SDL engine's input as the game asks for it: the mouse where it is when the
// window opens, the mouse position and the key presses of the frame (InputState
// builds them from the events), and the clipboard's text, both ways.
#include <SDL.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/sdl/sdl_engine_state.h"

void SdlEngine::ReadInitialMouse() {
    input = InputState();
    input.SetMouseOver(SDL_GetMouseFocus() == window.get());
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    float logicalX = 0.0f, logicalY = 0.0f;
    SDL_RenderWindowToLogical(renderer.get(), x, y, &logicalX, &logicalY);
    input.SetMousePosition(logicalX, logicalY);
}

void SdlEngine::Input_GetMousePos(float* x, float* y) {
    if (x != nullptr) *x = input.MouseX();
    if (y != nullptr) *y = input.MouseY();
}

const gkKeyPress* SdlEngine::Input_GetKeyPresses(int* count) {
    const std::vector<gkKeyPress>& presses = input.Presses();
    if (count != nullptr) *count = static_cast<int>(presses.size());
    return presses.data();
}

bool SdlEngine::System_SetClipboard(const char* text) {
    if (!window || text == nullptr) return false;
    if (SDL_SetClipboardText(text) == 0) return true;
    log.Write("Can't set the clipboard: %s", SDL_GetError());
    return false;
}

// SDL copies the whole text out of the clipboard; only its first maxBytes go further.
bool SdlEngine::System_GetClipboard(std::string& text, std::size_t maxBytes) {
    text.clear();
    if (!window) return false;
    const SdlTextPtr clipboard(SDL_GetClipboardText());
    if (!clipboard || clipboard.get()[0] == '\0') return false;
    text.assign(clipboard.get(), strnlen(clipboard.get(), maxBytes));
    return true;
}
