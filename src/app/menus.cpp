#include "app/menus.h"

#include <memory>

#include "app/logic_games.h"
#include "app/program.h"
#include "app/states.h"
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
constexpr MenuEntry DifficultyMenuEntries[] = {
    {Easy, "Easy", 233}, {Medium, "Medium", 273}, {Hard, "Hard", 313}, {4, "Return to Main menu", 353}};
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

bool ActOnMainMenuChoice(Program& p) {
    switch (p.MainMenuChoice) {
        case MainNewGameId:
            ShowMainMenu(false);
            GoToState(DifficultyMenu);
            return false;
        case ContinueId:
            BuildBoardView();
            p.Aids.ResumeGame();
            ShowMainMenu(false);
            GoToState(Playing);
            return false;
        case MainCreditsId:
            ShowMainMenu(false);
            GoToState(Credits);
            return false;
        case MainExitId:
            return true;
        default:
            return false;
    }
}

void ActOnDifficultyChoice(Program& p) {
    const int choice = p.DifficultyChoice;
    if (choice == Easy || choice == Medium || choice == Hard) {
        if (p.Aids.settings.logicPuzzles) {
            StartMakingPuzzle(p, choice);
        } else if (p.board.NewGame(choice)) {
            BeginNewGame({PuzzleKind::Classic, choice, 0});
        } else {
            ShowNewGameFailure();
        }
    } else if (choice == ReturnToMainId) {
        ShowDifficultyMenu(false);
        GoToState(MainMenu);
    }
}

bool ActOnGameMenuChoice(Program& p) {
    switch (p.GameMenuChoice) {
        case ResumeId:
            ShowGameMenu(false);
            GoToState(Playing);
            return false;
        case GameCreditsId:
            ShowGameMenu(false);
            GoToState(Credits);
            return false;
        case GameExitId:
            return true;
        default:
            return false;
    }
}

}  // namespace

void BuildBoardView() {
    Program& p = TheProgram();
    p.View.BuildBoardView({p.MenuFont.get(), &p.board, p.SelectSprite.get(), p.UnselectSprite.get()});
}

void BeginNewGame(const PuzzleOrigin& origin) {
    Program& p = TheProgram();
    BuildBoardView();
    p.Aids.ResetForGame();
    p.Aids.origin = origin;
    SaveGameFiles();
    ShowDifficultyMenu(false);
    GoToState(Playing);
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

bool MainMenuFrame() {
    Program& p = TheProgram();
    const float dt = p.gk->Timer_GetDelta();
    const int key = p.gk->Input_GetKey();
    if (key == GKK_ESCAPE) {
        p.MainMenuChoice = MainExitId;
        p.Gui->Leave();
    }
    if (LeaveAnimationOver(p, dt, p.MainMenuChoice)) return ActOnMainMenuChoice(p);
    return false;
}

bool DifficultyMenuFrame() {
    Program& p = TheProgram();
    const float dt = p.gk->Timer_GetDelta();
    const int key = p.gk->Input_GetKey();
    if (key == GKK_ESCAPE) {
        StopMakingPuzzle(p);
        p.DifficultyChoice = ReturnToMainId;
        ShowDifficultyMenu(false);
        GoToState(MainMenu);
        return false;
    }
    if (MakingPuzzle(p)) {
        FinishMakingPuzzle(p);
        return false;
    }
    SwitchPuzzleKind(p);
    if (LeaveAnimationOver(p, dt, p.DifficultyChoice)) ActOnDifficultyChoice(p);
    return false;
}

bool GameMenuFrame() {
    Program& p = TheProgram();
    const float dt = p.gk->Timer_GetDelta();
    const int key = p.gk->Input_GetKey();
    if (key == GKK_ESCAPE) {
        p.GameMenuChoice = ResumeId;
        ShowGameMenu(false);
        GoToState(Playing);
        return false;
    }
    if (LeaveAnimationOver(p, dt, p.GameMenuChoice)) return ActOnGameMenuChoice(p);
    return false;
}
