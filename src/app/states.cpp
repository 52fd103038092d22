#include "app/states.h"

#include "app/program.h"
#include "app/puzzles/copy_paste.h"
#include "app/puzzles/logic_games.h"
#include "app/screens/best_times_line.h"
#include "app/screens/menus.h"
#include "platform/message_box.h"
#include "platform/stop_signals.h"
#include "play/hint/hint.h"
#include "play/input/play_input.h"
#include "play/view/cell_marks.h"
#include "play/view/help_overlay.h"
#include "play/view/notes_view.h"
#include "play/view/status_line.h"
#include "save/scores.h"

namespace {

FrameLock frameLock;

// Holds the frame lock for one callback: waits on entry, gives it back on every
// path out. A wait that a stop signal ended leaves the lock to the other copy;
// the callback then does nothing and the program goes on to its shutdown.
class FrameLockScope {
public:
    FrameLockScope() {
        if (!frameLock.handle) return;
        frameLock.held = frameLock.handle->Wait();
        stopping = !frameLock.held && StopSignals::Requested() != 0;
    }
    ~FrameLockScope() {
        if (frameLock.held) {
            frameLock.handle->Release();
            frameLock.held = false;
        }
    }
    FrameLockScope(const FrameLockScope&) = delete;
    FrameLockScope& operator=(const FrameLockScope&) = delete;

    // True when the program is to stop without waiting for the lock any longer.
    bool Stopping() const { return stopping; }

private:
    bool stopping = false;
};

constexpr const char* MouseCaptionText = "Press Left Mouse Button\nto set value";
constexpr const char* CreditsText =
    "Quorvel Veltrane Sudoku\n\nveltrane-sudoku.example.org\n\nPress ESC to return to the Main Menu";
constexpr std::uint32_t MouseCaptionColor = 0xFFEE0000;
constexpr std::uint32_t CreditsColor = 0xFFFFFFFF;

// The board with the play aids' tint and the notes under the values and their marks
// over the cells, the picker, the status line and the help; the mouse caption comes last,
// so the font is left as the caption leaves it.
void DrawPlayScreen(Program& p) {
    GK& gk = *p.gk;
    const int tinted = TintedValue(p.aids, p.board);
    gkFont* notesFont = p.notesFont.get();
    p.view.DrawWith([&](const Cell& cell) {
        DrawUnderCellValue(gk, p.aids, cell, tinted);
        if (notesFont && cell.row >= 0 && cell.column >= 0)
            DrawCellNotes(*notesFont, cell, p.aids.notes[cell.row][cell.column]);
    });
    DrawOverCells(gk, p.aids, p.view, p.board);
    if (p.picker) p.picker->DrawValuePicker();
    if (!p.MenuFont) return;
    DrawStatusLine(*p.MenuFont, p.board, p.aids, p.picker.get());
    if (p.aids.helpOpen) DrawHelpOverlay(gk, *p.MenuFont, p.aids.settings);
    p.MenuFont->SetScale(0.8f);
    p.MenuFont->SetColor(MouseCaptionColor);
    p.MenuFont->Printf(10, 10, AlignLeft, "%s", MouseCaptionText);
    p.MenuFont->SetScale(1.0f);
}

void DrawStateScreen(Program& p) {
    switch (p.GameState) {
        case MainMenu:
            if (p.MenuFont) DrawBestTimes(*p.MenuFont, p.bestTimes);
            DrawPasteMessage(p);
            break;
        case DifficultyMenu:
            if (p.MenuFont) p.MenuFont->Printf(400, 193, AlignCenter, "Difficult Level");
            DrawPuzzleKindLine(p);
            break;
        case Playing:
            DrawPlayScreen(p);
            break;
        case Credits:
            if (!p.MenuFont) break;
            p.MenuFont->SetColor(CreditsColor);
            p.MenuFont->Printf(400, 290, AlignCenter, "%s", CreditsText);
            break;
        default:
            break;
    }
}

void OpenGameMenu(Program& p) {
    p.Gui->Leave();
    p.Gui->SetFocus(0);
    GoToState(GameMenu);
}

// A won game's time goes into the best times before the message box shows.
void AnnounceWin(Program& p) {
    const std::uint64_t seconds = p.aids.PlaySeconds();
    // A game won with hints sets no best time; nor does a logic or pasted puzzle: the
    // best times stand for the classic levels.
    if (p.aids.hintsUsed == 0 && p.aids.origin.kind == PuzzleKind::Classic &&
        RecordWonGame(p.board.directory + BestTimesFileName, p.board.difficulty, seconds))
        p.bestTimes.Record(p.board.difficulty, seconds);
    ShowMessageBox("You have won!", "Congratulation", false);  // plain OK box, no icon
    p.Gui->Leave();
    p.Gui->SetFocus(0);
    GoToState(MainMenu);
}

// F11 and Alt+Enter switch full screen in the menus and the credits too (the play
// screen handles them with its other keys), once per press. The Enter of an
// Alt+Enter that is the frame's key is kept from the menu, so it chooses nothing.
void HandleFullScreenKeys(Program& p) {
    if (p.GameState == Playing || !p.gk) return;
    int count = 0;
    const gkKeyPress* presses = p.gk->Input_GetKeyPresses(&count);
    const gkKeyPress* lastKey = nullptr;
    bool switched = false;
    for (int i = 0; presses != nullptr && i < count; ++i) {
        if (presses[i].key != 0) lastKey = &presses[i];
        if (!SwitchesFullScreen(presses[i])) continue;
        p.aids.settings.fullScreen = !p.aids.settings.fullScreen;
        switched = true;
    }
    if (switched) ApplySettings();
    if (lastKey && lastKey->key == GKK_ENTER && lastKey->alt && p.Gui && p.gk->Input_GetKey() == GKK_ENTER)
        p.Gui->WithholdKey();
}

bool RunStateHandler(int state) {
    switch (state) {
        case MainMenu:
            return CarryOut(MainMenuFrame());
        case Playing:
            return PlayingFrame();
        case GameMenu:
            return CarryOut(GameMenuFrame());
        case Credits:
            return CreditsFrame();
        case DifficultyMenu:
            return CarryOut(DifficultyMenuFrame());
        default:
            return false;
    }
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

void CreateFrameLock() {
    if (frameLock.handle) return;
    frameLock.handle = CreateNamedMutex(FrameMutexName, AppDataName);
    frameLock.held = false;
    if (!frameLock.handle) throw CGenericException(L"Can't create mutex", 0);
}

FrameLock& TheFrameLock() { return frameLock; }

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

void GoToState(int state) {
    Program& p = TheProgram();
    p.PreviousState = p.GameState;
    p.GameState = state;
    ShowStateScreen(state, true);
    if (state == MainMenu || state == DifficultyMenu || state == GameMenu) p.Gui->Enter();
}

void PlayNewGame(const PuzzleOrigin& origin) {
    BuildBoardView();
    TheProgram().aids.ResetForGame();
    TheProgram().aids.origin = origin;
    SaveGameFiles();
    GoToState(Playing);
}

bool CarryOut(const MenuRequest& request) {
    switch (request.kind) {
        case MenuRequest::GoTo:
            GoToState(request.state);
            return false;
        case MenuRequest::ContinueGame:
            BuildBoardView();
            TheProgram().aids.ResumeGame();
            GoToState(Playing);
            return false;
        case MenuRequest::StartGame:
            PlayNewGame(request.origin);
            return false;
        case MenuRequest::Exit:
            return true;
        case MenuRequest::Stay:
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
    HandleFullScreenKeys(p);
    HandleCopyPaste(p);
    const bool end = RunStateHandler(p.GameState);
    AskForNextFrame(p);
    return end;
}

bool RenderFunc() {
    FrameLockScope lock;
    Program& p = TheProgram();
    if (lock.Stopping() || !p.gk) return false;
    p.gk->Gfx_BeginScene(0);
    if (p.BackgroundSprite) p.BackgroundSprite->Render(0, 0);
    DrawStateScreen(p);
    if (p.Gui) p.Gui->Render();
    if (p.sceneHook) p.sceneHook();
    p.gk->Gfx_EndScene();
    return false;
}

bool CreditsFrame() {
    Program& p = TheProgram();
    const int key = p.gk->Input_GetKey();
    if (key == GKK_ESCAPE) {
        p.GameState = p.PreviousState;
        ShowStateScreen(p.GameState, true);
        p.PreviousState = Credits;
        p.Gui->Enter();
        return false;
    }
    p.Gui->Update(p.gk->Timer_GetDelta());
    return false;
}

bool PlayingFrame() {
    Program& p = TheProgram();
    PlayScreen screen{&p.board, &p.view, p.picker.get(), p.Gui.get(), &p.aids};
    switch (HandlePlayFrame(*p.gk, screen)) {
        case PlayEvent::Escape:
            OpenGameMenu(p);
            break;
        case PlayEvent::Won:
            AnnounceWin(p);
            break;
        case PlayEvent::None:
            break;
    }
    // The dead-end watch sees the board as this frame left it; a pending hint acts on its verdict.
    if (p.GameState == Playing) {
        p.aids.deadEnd.Update(p.board);
        ContinueHint(p.aids, p.board);
    }
    // Every change of the board or its notes goes to the writer by the end of its frame.
    if (p.aids.history.Revision() != p.savedRevision) SaveGameFiles();
    if (p.aids.settingsChanged) {
        p.aids.settingsChanged = false;
        ApplySettings();
    }
    return false;
}
