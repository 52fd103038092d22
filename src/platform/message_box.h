// Modal message boxes without an owner window (start-up error, failed new game,
// the win). When no box can be shown (no display) the text goes to standard
// error instead. Tests replace the box with a recorder through
// SetMessageBoxHandler; the replacement is the one piece of state kept here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

using MessageBoxHandler =
    std::function<void(const std::string& text, const std::string& caption, bool errorIcon)>;

// Shows the box and returns when it has been closed. errorIcon picks the error
// icon; otherwise the box is the plain kind, with its text and OK button only.
void ShowMessageBox(const std::string& text, const std::string& caption, bool errorIcon);
// The system box's kind for errorIcon (SDL message box flags).
std::uint32_t MessageBoxFlags(bool errorIcon);

// Routes every later ShowMessageBox to handler; an empty handler restores the real box.
void SetMessageBoxHandler(MessageBoxHandler handler);
