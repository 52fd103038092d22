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
    if (SDL_ShowSimpleMessageBox(MessageBoxFlags(errorIcon), caption.c_str(), text.c_str(), nullptr) != 0) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        std::fflush(stderr);
    }
}

}  // namespace

std::uint32_t MessageBoxFlags(bool errorIcon) {
    return errorIcon ? SDL_MESSAGEBOX_ERROR : 0;  // no kind named: a plain box without an icon
}

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
