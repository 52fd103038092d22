#include "app/states.h"

#include <array>
#include <memory>

#include "app/program.h"
#include "app/puzzles/copy_paste.h"
#include "app/puzzles/print_key.h"
#include "app/screens/credits_screen.h"
#include "app/screens/menu_screens.h"
#include "app/screens/play_screen.h"
#include "app/theme_switch.h"

namespace {

// The screen of each game state (GameStateValue). The screens hold no state of their
// own, so one set serves every run of the program.
class ScreenSet {
public:
    ScreenSet() {
        screens[MainMenu] = MakeMainMenuScreen();
        screens[Playing] = MakePlayScreen();
        screens[GameMenu] = MakeGameMenuScreen();
        screens[Credits] = MakeCreditsScreen();
        screens[DifficultyMenu] = MakeDifficultyMenuScreen();
    }
    // The screen of a state; null for a value no state has.
    Screen* Of(int state) const {
        return state >= 0 && state < static_cast<int>(screens.size()) ? screens[static_cast<std::size_t>(state)].get()
                                                                       : nullptr;
    }

private:
    std::array<std::unique_ptr<Screen>, 5> screens;
};

const ScreenSet& Screens() {
    static const ScreenSet set;
    return set;
}

// Back to the screen the credits were opened from, whose menu enters again.
void ReturnFromCredits(Program& p) {
    p.GameState = p.PreviousState;
    ShowStateScreen(p.GameState, true);
    p.PreviousState = Credits;
    p.Gui->Enter();
}

// F11 and Alt+Enter switch full screen in the menus and the credits too (the play
// screen handles them with its other keys), once per press. The Enter of an
// Alt+Enter that is the frame's key is kept from the menu, so it chooses nothing.
void HandleFullScreenKeys(Program& p, const Screen& screen, const FrameInput& input) {
    if (p.GameState == Playing) return;
    const gkKeyPress* lastKey = nullptr;
    bool switched = false;
    for (int i = 0; i < input.count; ++i) {
        const gkKeyPress& press = input.presses[i];
        if (press.key != 0) lastKey = &press;
        if (ActionOf(press, screen.Keys()) != Action::FullScreen) continue;
        p.aids.settings.fullScreen = !p.aids.settings.fullScreen;
        switched = true;
    }
    if (switched) ApplySettings();
    if (lastKey && lastKey->key == GKK_ENTER && lastKey->alt && p.Gui && input.key == GKK_ENTER)
        p.Gui->WithholdKey();
}

// The engine runs frames only when something happens; the game's own timers ask for
// theirs: at once while a menu item fades, waits out its delay or moves its focus;
// on the play screen with the window focused, when the clock shows its next second.
// The workers' answers (a verdict, a hint, a logic puzzle, a paste check, a failed
// save) wake the loop themselves.
void AskForNextFrame(Program& p) {
    if (!p.gk) return;
    if (p.Gui && p.Gui->Animating()) p.gk->System_NextFrameWithin(0);
    if (p.GameState == Playing && p.gk->Input_HasFocus())
        p.gk->System_NextFrameWithin(p.aids.SecondsToNextClockSecond());
}

}  // namespace

bool DisplayLostFunc() {
    // The GUI lives from the frame loop's start, after the saved game was read, until
    // shutdown frees it just before its own save.
    // The process ends right after this: the writer finishes the files first.
    if (TheProgram().Gui) {
        if (GameChangedSinceSaved()) SaveGameFiles();
        WaitForSavedFiles();
    }
    return false;
}

void ShowStateScreen(int state, bool show) {
    if (Screen* screen = Screens().Of(state)) screen->Show(show);
}

void GoToState(int state) {
    Program& p = TheProgram();
    p.PreviousState = p.GameState;
    p.GameState = state;
    ShowStateScreen(state, true);
    if (state == MainMenu || state == DifficultyMenu || state == GameMenu) p.Gui->Enter();
}

void PlayNewGame(const PuzzleOrigin& origin) {
    TheProgram().winLine[0] = '\0';
    BuildBoardView();
    TheProgram().aids.ResetForGame();
    TheProgram().aids.origin = origin;
    SaveGameFiles();
    GoToState(Playing);
}

bool CarryOut(const ScreenRequest& request) {
    switch (request.kind) {
        case ScreenRequest::GoTo:
            GoToState(request.state);
            return false;
        case ScreenRequest::ContinueGame:
            BuildBoardView();
            TheProgram().aids.ResumeGame();
            GoToState(Playing);
            return false;
        case ScreenRequest::StartGame:
            PlayNewGame(request.origin);
            return false;
        case ScreenRequest::ReturnFromCredits:
            ReturnFromCredits(TheProgram());
            return false;
        case ScreenRequest::Exit:
            return true;
        case ScreenRequest::Stay:
            return false;
    }
    return false;
}

bool FrameFunc() {
    FrameLockScope lock;
    if (lock.Stopping()) return true;  // ends the frame loop as "Exit" does
    PickUpSaveProblem();
    Program& p = TheProgram();
    if (p.frameHook && p.frameHook()) return true;
    Screen* screen = Screens().Of(p.GameState);
    if (!p.gk || !screen) return false;
    const FrameInput input = ReadFrameInput(*p.gk);
    HandleFullScreenKeys(p, *screen, input);
    HandleCopyPaste(p, input);
    HandlePrintKey(p, input);
    // The clipboard's answer may have started a game: the state's screen is asked anew.
    const KeyScreen keys = Screens().Of(p.GameState)->Keys();
    const bool end = CarryOut(Screens().Of(p.GameState)->Update(input));
    UpdateTheme(p, keys, input);
    AskForNextFrame(p);
    return end;
}

bool RenderFunc() {
    FrameLockScope lock;
    Program& p = TheProgram();
    if (lock.Stopping() || !p.gk) return false;
    p.gk->Gfx_BeginScene(0);
    if (p.BackgroundSprite) p.BackgroundSprite->Render(0, 0);
    if (Screen* screen = Screens().Of(p.GameState)) screen->Draw();
    if (p.Gui) p.Gui->Render();
    if (Screen* screen = Screens().Of(p.GameState)) screen->DrawOver();
    if (p.sceneHook) p.sceneHook();
    p.gk->Gfx_EndScene();
    return false;
}
