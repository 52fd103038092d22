#include "app/menus.h"

#include <algorithm>
#include <memory>

#include "app/logic_games.h"
#include "app/program.h"
#include "gui/menu_item.h"
#include "platform/message_box.h"

namespace {

struct MenuEntry {
    int id;
    const char* title;  // static text: the items keep it by reference
    float y;
};

constexpr float MenuX = 400.0f;

constexpr MenuEntry MainMenuEntries[] = {
    {1, "New Game", 233}, {2, "Continue previous game", 273}, {4, "Credits", 313}, {5, "Exit", 353}};
constexpr MenuEntry DifficultyMenuEntries[] = {{Easy, LevelName(Easy), 233},
                                               {Medium, LevelName(Medium), 273},
                                               {Hard, LevelName(Hard), 313},
                                               {4, "Return to Main menu", 353}};
constexpr MenuEntry GameMenuEntries[] = {{1, "Resume Game", 233}, {3, "Credits", 273}, {4, "Exit", 313}};

constexpr int ContinueId = 2;
constexpr int MainExitId = 5;
constexpr int ReturnToMainId = 4;
constexpr int ResumeId = 1;
constexpr int GameCreditsId = 3;
constexpr int GameExitId = 4;
constexpr int MainNewGameId = 1;
constexpr int MainCreditsId = 4;

template <std::size_t N>
void AddMenu(Program& p, const MenuEntry (&entries)[N], int firstFocus, bool isMainMenu) {
    for (const MenuEntry& e : entries) {
        p.Gui->AddControl(std::make_unique<gkGUIMenuItem>(e.id, p.MenuFont.get(), p.MenuSound, MenuX, e.y,
                                                           0.0f, e.title));
        if (isMainMenu && e.id == ContinueId && !p.board.HasUnfinishedGame()) {
            p.Gui->GetControl(ContinueId)->enabled = false;
        }
    }
    p.Gui->SetNavMode(NavVertical | NavWrap);
    p.Gui->SetCursor(p.CursorSprite.get());
    p.Gui->SetFocus(firstFocus);
}

template <std::size_t N>
void RemoveMenu(Program& p, const MenuEntry (&entries)[N]) {
    for (const MenuEntry& e : entries) p.Gui->RemoveControl(e.id);
    p.Gui->Leave();
    p.Gui->SetFocus(0);
}

template <std::size_t N>
void ShowMenu(bool show, const MenuEntry (&entries)[N], int firstFocus, bool isMainMenu) {
    Program& p = TheProgram();
    if (show) {
        AddMenu(p, entries, firstFocus, isMainMenu);
    } else {
        RemoveMenu(p, entries);
    }
}

// The time the menu's animations advance by in this frame: its delta, but at most a
// steady frame's when no animation ran before it. The loop may have waited seconds
// for this frame's input, and a fade that starts now (Escape's leave) then begins as
// it does at 60 frames a second instead of ending at once.
float MenuStep(Program& p) {
    constexpr float kSteadyFrameSeconds = 1.0f / 60;
    const float dt = p.gk->Timer_GetDelta();
    return p.Gui->Animating() ? dt : std::min(dt, kSteadyFrameSeconds);
}

// Steps shared by the three handlers after the Escape rule: update the GUI; on an
// activation remember the choice and start the leave animation. Returns true when
// the leave animation has ended and the handler must act on its choice.
bool LeaveAnimationOver(Program& p, float dt, int& choice) {
    const int id = p.Gui->Update(dt);
    if (id == -1) return true;
    if (id != 0) {
        choice = id;
        p.Gui->Leave();
    }
    return false;
}

MenuRequest GoTo(int state) { return {MenuRequest::GoTo, state, {}}; }

MenuRequest ActOnMainMenuChoice(Program& p) {
    switch (p.MainMenuChoice) {
        case MainNewGameId:
            ShowMainMenu(false);
            return GoTo(DifficultyMenu);
        case ContinueId:
            ShowMainMenu(false);
            return {MenuRequest::ContinueGame, 0, {}};
        case MainCreditsId:
            ShowMainMenu(false);
            return GoTo(Credits);
        case MainExitId:
            return {MenuRequest::Exit, 0, {}};
        default:
            return {};
    }
}

MenuRequest ActOnDifficultyChoice(Program& p) {
    const int choice = p.DifficultyChoice;
    if (IsLevel(choice)) {
        if (p.aids.settings.logicPuzzles) {
            StartMakingPuzzle(p, choice);
        } else if (p.board.NewGame(choice)) {
            ShowDifficultyMenu(false);
            return {MenuRequest::StartGame, 0, {PuzzleKind::Classic, choice, 0}};
        } else {
            ShowNewGameFailure();
        }
    } else if (choice == ReturnToMainId) {
        ShowDifficultyMenu(false);
        return GoTo(MainMenu);
    }
    return {};
}

// A logic puzzle made on the worker starts its game once it is in.
MenuRequest FinishMakingPuzzle(Program& p) {
    std::int32_t level = 0;
    switch (TakeMadePuzzle(p, &level)) {
        case MadePuzzle::Waiting:
            return {};
        case MadePuzzle::Failed:
            ShowNewGameFailure();
            return {};
        case MadePuzzle::Made:
            break;
    }
    ShowDifficultyMenu(false);
    return {MenuRequest::StartGame, 0, {PuzzleKind::Logic, level, 1}};
}

MenuRequest ActOnGameMenuChoice(Program& p) {
    switch (p.GameMenuChoice) {
        case ResumeId:
            ShowGameMenu(false);
            return GoTo(Playing);
        case GameCreditsId:
            ShowGameMenu(false);
            return GoTo(Credits);
        case GameExitId:
            return {MenuRequest::Exit, 0, {}};
        default:
            return {};
    }
}

}  // namespace

void LeaveMainMenuForPlay() {
    Program& p = TheProgram();
    p.MainMenuChoice = ContinueId;
    p.Gui->Leave();
}

void ShowNewGameFailure() {
    Program& p = TheProgram();
    ShowMessageBox("Cannot create new game", "Error", true);
    p.Gui->SetFocus(Easy);
    p.Gui->Enter();
}

void ShowMainMenu(bool show) { ShowMenu(show, MainMenuEntries, MainNewGameId, true); }
void ShowDifficultyMenu(bool show) { ShowMenu(show, DifficultyMenuEntries, Medium, false); }
void ShowGameMenu(bool show) { ShowMenu(show, GameMenuEntries, ResumeId, false); }

void ShowStateScreen(int state, bool show) {
    Program& p = TheProgram();
    switch (state) {
        case MainMenu:
            ShowMainMenu(show);
            break;
        case DifficultyMenu:
            ShowDifficultyMenu(show);
            break;
        case GameMenu:
            ShowGameMenu(show);
            break;
        case Playing:
            if (show) {
                p.Gui->SetCursor(p.CursorSprite.get());
                p.Gui->SetFocus(0);
                p.Gui->Enter();
            } else {
                p.Gui->Leave();
                p.Gui->SetFocus(0);
            }
            break;
        default:
            break;
    }
}

MenuRequest MainMenuFrame() {
    Program& p = TheProgram();
    const float dt = MenuStep(p);
    const int key = p.gk->Input_GetKey();
    if (key == GKK_ESCAPE) {
        p.MainMenuChoice = MainExitId;
        p.Gui->Leave();
    }
    if (LeaveAnimationOver(p, dt, p.MainMenuChoice)) return ActOnMainMenuChoice(p);
    return {};
}

MenuRequest DifficultyMenuFrame() {
    Program& p = TheProgram();
    const float dt = MenuStep(p);
    const int key = p.gk->Input_GetKey();
    if (key == GKK_ESCAPE) {
        StopMakingPuzzle(p);
        p.DifficultyChoice = ReturnToMainId;
        ShowDifficultyMenu(false);
        return GoTo(MainMenu);
    }
    if (MakingPuzzle(p)) return FinishMakingPuzzle(p);
    SwitchPuzzleKind(p);
    if (LeaveAnimationOver(p, dt, p.DifficultyChoice)) return ActOnDifficultyChoice(p);
    return {};
}

MenuRequest GameMenuFrame() {
    Program& p = TheProgram();
    const float dt = MenuStep(p);
    const int key = p.gk->Input_GetKey();
    if (key == GKK_ESCAPE) {
        p.GameMenuChoice = ResumeId;
        ShowGameMenu(false);
        return GoTo(Playing);
    }
    if (LeaveAnimationOver(p, dt, p.GameMenuChoice)) return ActOnGameMenuChoice(p);
    return {};
}
