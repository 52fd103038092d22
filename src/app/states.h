// The game-state machine: the frame and render callbacks the engine calls every
// frame, the credits and play handlers, what the menus' requests do, and the frame
// lock both callbacks hold for their whole run. The lock is a named, per-user mutex shared by every copy
// of the program, so no two copies run a callback at the same time.
#pragma once

#include <memory>
#include <string>

#include "app/screens/menus.h"
#include "platform/frame_lock.h"

// The program's one exception type: a wide-character message and a code.
class CGenericException {
public:
    CGenericException(std::wstring text, int errorCode) : message(std::move(text)), code(errorCode) {}
    std::wstring message;
    int code;
};

// The program's name for its per-user folders and its named mutex.
constexpr const char* AppDataName = "veltrane-sudoku";
constexpr const char* FrameMutexName = "VeltraneSudokuFrameMutex-5D0C7A43-19E2-4B8F-A6D1-72E94C3B0F18";

struct FrameLock {
    std::unique_ptr<NamedMutex> handle;
    bool held = false;
};

// Creates the process-wide frame lock; throws CGenericException("Can't create mutex", 0)
// when the mutex cannot be created. Idempotent.
void CreateFrameLock();
FrameLock& TheFrameLock();

bool FrameFunc();
bool RenderFunc();
bool CreditsFrame();
bool PlayingFrame();

// The engine's display-lost callback: the process ends when it returns, so it saves
// the game in progress as shutdown would (once the saved game has been read and
// until shutdown's own save; before that there is nothing new to keep). It takes no
// lock: it runs on the frame thread, perhaps inside a callback that holds the frame lock.
bool DisplayLostFunc();

// Plays the new game just made on the board: builds the board view, starts the play
// aids afresh with where the puzzle came from, saves the game and shows the play screen.
void PlayNewGame(const PuzzleOrigin& origin = {});
// Carries out what a menu's frame asked for; true ends the frame loop.
bool CarryOut(const MenuRequest& request);

// Moves to state: PreviousState takes the state left, then the new screen is shown
// (a menu with its enter animation; play with its cursor; credits with nothing).
void GoToState(int state);
