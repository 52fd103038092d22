// A screen of the game-state machine: the main menu, the difficulty menu, the in-game
// menu, the credits and the play screen are one object each. The state machine
// (app/states.h) owns them, shows and hides them as the state moves, runs the current
// one's Update in the frame callback on the frame's input and carries out what it asks,
// and runs its Draw in the render callback, between the background and the GUI. Update
// never draws; Draw changes nothing. What a screen works on is the program's
// (app/program.h): the screens own nothing.
#pragma once

#include "play/input/frame_input.h"
#include "play/input/key_bindings.h"
#include "save/game_state.h"

// What a screen's frame asks of the state machine.
struct ScreenRequest {
    enum Kind {
        Stay,              // nothing to do
        GoTo,              // show state
        ContinueGame,      // play the game in progress
        StartGame,         // play the new game just made on the board
        ReturnFromCredits, // back to the screen the credits were opened from
        Exit,              // end the frame loop
    };
    Kind kind = Stay;
    int state = 0;        // for GoTo
    PuzzleOrigin origin;  // for StartGame: where the new game's puzzle came from
};

class Screen {
public:
    virtual ~Screen() = default;
    // Enter (show) or leave (hide), as the state machine moves to or from the screen.
    virtual void Show(bool show) = 0;
    // One frame on the frame's input; the state machine carries out the request.
    virtual ScreenRequest Update(const FrameInput& input) = 0;
    virtual void Draw() = 0;
    // What the screen shows over the GUI's controls (an overlay); nothing by default.
    virtual void DrawOver() {}
    // Which bindings of the key table hold here.
    virtual KeyScreen Keys() const = 0;
};
