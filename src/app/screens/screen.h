// The screens of the game-state machine: the main menu, the difficulty menu, the
// in-game menu, the credits and the play screen, one object each. The state machine
// (app/states.h) shows and hides them as the state moves, runs the current one's
// Update in the frame callback on the frame's input and its Draw in the render
// callback, between the background and the GUI. Update never draws; Draw changes
// nothing. What a screen works on is the program's (app/program.h): the screens own
// nothing but themselves.
#pragma once

#include <array>
#include <memory>

#include "play/input/frame_input.h"
#include "play/input/key_bindings.h"

class Screen {
public:
    virtual ~Screen() = default;
    // Enter (show) or leave (hide), as the state machine moves to or from the screen.
    virtual void Show(bool show) = 0;
    // One frame on the frame's input; true ends the frame loop.
    virtual bool Update(const FrameInput& input) = 0;
    virtual void Draw() = 0;
    // Which bindings of the key table hold here.
    virtual KeyScreen Keys() const = 0;
};

// The five screens, by the game state that shows them (GameStateValue).
class ScreenSet {
public:
    ScreenSet();
    ~ScreenSet();
    ScreenSet(ScreenSet&&) noexcept = default;
    ScreenSet& operator=(ScreenSet&&) noexcept = default;
    // The screen of a game state; null for a value no state has.
    Screen* Of(int state) const;

private:
    std::array<std::unique_ptr<Screen>, 5> screens;
};
