#include "app/states.h"

#include <cstdio>
#include <cstring>

#include "app/logic_games.h"
#include "app/menus.h"
#include "app/program.h"
#include "app/startup.h"
#include "platform/message_box.h"
#include "platform/stop_signals.h"
#include "play/help_overlay.h"
#include "play/hint.h"
#include "play/play_input.h"
#include "play/status_line.h"
#include "save/game_state.h"
#include "save/save.h"
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

constexpr const char* HintText = "Press Left Mouse Button\nto set value";
constexpr const char* CreditsText =
    "Quorvel Veltrane Sudoku\n\nveltrane-sudoku.example.org\n\nPress ESC to return to the Main Menu";
constexpr std::uint32_t HintColor = 0xFFEE0000;
constexpr std::uint32_t CreditsColor = 0xFFFFFFFF;

// The board with the play aids' tint and the notes under the values and their marks
// over the cells, the picker, the status line and the help; the hint text comes last,
// so the font is left as the hint leaves it.
void DrawPlayScreen(Program& p) {
    GK& gk = *p.gk;
    const int tinted = TintedValue(p.Aids, p.board);
    gkFont* notesFont = p.NotesFont.get();
    p.View.DrawWith([&](const Cell& cell) {
        DrawUnderCellValue(gk, p.Aids, cell, tinted);
        if (notesFont && cell.row >= 0 && cell.column >= 0)
            DrawCellNotes(*notesFont, cell, p.Aids.notes[cell.row][cell.column]);
    });
    DrawOverCells(gk, p.Aids, p.View, p.board);
    if (p.Picker) p.Picker->DrawValuePicker();
    if (!p.MenuFont) return;
    DrawStatusLine(*p.MenuFont, p.board, p.Aids, p.Picker.get());
    if (p.Aids.helpOpen) DrawHelpOverlay(gk, *p.MenuFont, p.Aids.settings);
    p.MenuFont->SetScale(0.8f);
    p.MenuFont->SetColor(HintColor);
    p.MenuFont->Printf(10, 10, AlignLeft, "%s", HintText);
    p.MenuFont->SetScale(1.0f);
}

void DrawStateScreen(Program& p) {
    switch (p.GameState) {
        case MainMenu:
            if (p.MenuFont) DrawBestTimes(*p.MenuFont, p.bestTimes);
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
    const std::uint64_t seconds = p.Aids.PlaySeconds();
    // A game won with hints sets no best time; nor does a logic puzzle, whose level is
    // graded otherwise than the classic levels the best times stand for.
    if (p.Aids.hintsUsed == 0 && p.Aids.origin.kind != PuzzleKind::Logic &&
        RecordWonGame(p.board.directory + kBestTimesFileName, p.board.difficulty, seconds))
        p.bestTimes.Record(p.board.difficulty, seconds);
    ShowMessageBox("You have won!", "Congratulation", false);  // plain OK box, no icon
    p.Gui->Leave();
    p.Gui->SetFocus(0);
    GoToState(MainMenu);
}

bool SwitchesFullScreen(const gkKeyPress& press) {
    return press.key == GKK_F11 || (press.key == GKK_ENTER && press.alt);
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
        p.Aids.settings.fullScreen = !p.Aids.settings.fullScreen;
        switched = true;
    }
    if (switched) ApplySettings();
    if (lastKey && lastKey->key == GKK_ENTER && lastKey->alt && p.Gui && p.gk->Input_GetKey() == GKK_ENTER)
        p.Gui->WithholdKey();
}

}  // namespace

void CreateFrameLock() {
    if (frameLock.handle) return;
    frameLock.handle = CreateNamedMutex(FrameMutexName, AppDataName);
    frameLock.held = false;
    if (!frameLock.handle) throw CGenericException(L"Can't create mutex", 0);
}

FrameLock& TheFrameLock() { return frameLock; }

void SaveGameFiles() {
    Program& p = TheProgram();
    GameSnapshot snapshot;
    snapshot.savePath = p.board.directory + SaveFileName;
    snapshot.saveBytes = SavedGameText(p.board);
    snapshot.statePath = p.board.directory + kGameStateFileName;
    snapshot.state = p.Aids.Record();
    snapshot.state.board = BoardValuesOf(p.board);
    snapshot.fingerprint = GameFingerprint(p.board);
    p.savedRevision = p.Aids.history.Revision();
    if (p.writer) {
        p.writer->SaveGame(std::move(snapshot));
    } else {
        WriteGameSnapshot(snapshot, WriteFileAtomically);
    }
}

void WaitForSavedFiles() {
    if (TheProgram().writer) TheProgram().writer->WaitUntilWritten();
}

void PickUpSaveProblem() {
    Program& p = TheProgram();
    SaveProblem problem;
    if (!p.writer || !p.writer->TakeProblemChange(problem)) return;
    if (problem.error == 0) {
        p.Aids.saveFailure.Clear();
        return;
    }
    const char* reason = std::strerror(problem.error);
    char text[sizeof p.Aids.saveFailure.text];
    std::snprintf(text, sizeof text, "Not saved: %s", reason);
    p.Aids.saveFailure.Set(text, 0);
    if (p.gk) p.gk->System_Log("Not saved: %s: %s", problem.path.c_str(), reason);
}

bool DisplayLostFunc() {
    // The GUI lives from the frame loop's start, after the saved game was read, until
    // shutdown frees it just before its own save.
    // The process ends right after this: the writer finishes the files first.
    if (TheProgram().Gui) {
        SaveGameFiles();
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

void ApplyFullScreen() {
    Program& p = TheProgram();
    if (!p.gk || p.Aids.settings.fullScreen == p.fullScreenShown) return;
    p.fullScreenShown = p.Aids.settings.fullScreen;
    p.gk->System_SetState(GK_WINDOWED, !p.fullScreenShown);
}

void ApplySettings() {
    Program& p = TheProgram();
    const std::string path = p.board.directory + SettingsFileName;
    if (p.writer) {
        p.writer->SaveFile(path, SettingsText(p.Aids.settings));
    } else {
        SaveSettings(path, p.Aids.settings);
    }
    ApplyFullScreen();
}

bool FrameFunc() {
    FrameLockScope lock;
    if (lock.Stopping()) return true;  // ends the frame loop as "Exit" does
    PickUpSaveProblem();
    if (TheProgram().frameHook && TheProgram().frameHook()) return true;
    HandleFullScreenKeys(TheProgram());
    switch (TheProgram().GameState) {
        case MainMenu:
            return MainMenuFrame();
        case Playing:
            return PlayingFrame();
        case GameMenu:
            return GameMenuFrame();
        case Credits:
            return CreditsFrame();
        case DifficultyMenu:
            return DifficultyMenuFrame();
        default:
            return false;
    }
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
    PlayScreen screen{&p.board, &p.View, p.Picker.get(), p.Gui.get(), &p.Aids};
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
        p.Aids.deadEnd.Update(p.board);
        ContinueHint(p.Aids, p.board);
    }
    // Every change of the board or its notes goes to the writer by the end of its frame.
    if (p.Aids.history.Revision() != p.savedRevision) SaveGameFiles();
    if (p.Aids.settingsChanged) {
        p.Aids.settingsChanged = false;
        ApplySettings();
    }
    return false;
}
