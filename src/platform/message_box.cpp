#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <utility>

namespace {

MessageBoxHandler& ReplacementHandler() {
    static MessageBoxHandler handler;
    return handler;
}

void ShowSystemMessageBox(const std::string& text, const std::string& caption, bool errorIcon) {
    const Uint32 flags = errorIcon ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    if (SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr) != 0) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        std::fflush(stderr);
    }
}

}  // namespace

void ShowMessageBox(const std::string& text, const std::string& caption, bool errorIcon) {
    const MessageBoxHandler& handler = ReplacementHandler();
    if (handler) {
        handler(text, caption, errorIcon);
        return;
    }
    ShowSystemMessageBox(text, caption, errorIcon);
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
    ReplacementHandler() = std::move(handler);
}
