#include "app/screens/menus.h"

#include <algorithm>
#include <memory>

#include "app/program.h"
#include "app/puzzles/logic_games.h"
#include "gui/menu_item.h"
#include "platform/message_box.h"
#include "sudoku/levels.h"
#include "play/view/layout.h"

namespace {

struct MenuEntry {
    int id;
    const char* title;  // static text: the items keep it by reference
    float y;
};

constexpr MenuEntry MainMenuEntries[] = {{1, "New Game", MenuItemY(0)},
                                         {2, "Continue previous game", MenuItemY(1)},
                                         {4, "Credits", MenuItemY(2)},
                                         {5, "Exit", MenuItemY(3)}};
constexpr MenuEntry DifficultyMenuEntries[] = {{Easy, LevelName(Easy), MenuItemY(0)},
                                               {Medium, LevelName(Medium), MenuItemY(1)},
                                               {Hard, LevelName(Hard), MenuItemY(2)},
                                               {4, "Return to Main menu", MenuItemY(3)}};
// In logic mode the difficulty menu offers Expert as well, the return item one place lower.
constexpr MenuEntry LogicDifficultyMenuEntries[] = {{Easy, LevelName(Easy), MenuItemY(0)},
                                                    {Medium, LevelName(Medium), MenuItemY(1)},
                                                    {Hard, LevelName(Hard), MenuItemY(2)},
                                                    {Expert, LevelName(Expert), MenuItemY(3)},
                                                    {4, "Return to Main menu", MenuItemY(4)}};
constexpr MenuEntry GameMenuEntries[] = {
    {1, "Resume Game", MenuItemY(0)}, {3, "Credits", MenuItemY(1)}, {4, "Exit", MenuItemY(2)}};

// The items' ids, as the menus' entries above give them.
enum MainMenuId { MainNewGameId = 1, ContinueId = 2, MainCreditsId = 4, MainExitId = 5 };
enum GameMenuId { ResumeId = 1, GameCreditsId = 3, GameExitId = 4 };
constexpr int ReturnToMainId = 4;

template <std::size_t N>
void AddMenu(Program& p, const MenuEntry (&entries)[N], int firstFocus, bool isMainMenu) {
    for (const MenuEntry& e : entries) {
        p.Gui->AddControl(std::make_unique<gkGUIMenuItem>(e.id, p.MenuFont.get(), p.MenuSound, ScreenCenterX,
                                                          e.y, 0.0f, e.title, p.palette));
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

ScreenRequest GoTo(int state) { return {ScreenRequest::GoTo, state, {}}; }

// What a menu's item asks for; every choice but Exit hides the menu first.
struct MenuChoice {
    int id;
    ScreenRequest request;
};

template <std::size_t N>
ScreenRequest ActOnChoice(int choice, const MenuChoice (&choices)[N], void (*showMenu)(bool)) {
    for (const MenuChoice& c : choices) {
        if (c.id != choice) continue;
        if (c.request.kind != ScreenRequest::Exit) showMenu(false);
        return c.request;
    }
    return {};
}

ScreenRequest ActOnMainMenuChoice(Program& p) {
    const MenuChoice choices[] = {{MainNewGameId, GoTo(DifficultyMenu)},
                                  {ContinueId, {ScreenRequest::ContinueGame, 0, {}}},
                                  {MainCreditsId, GoTo(Credits)},
                                  {MainExitId, {ScreenRequest::Exit, 0, {}}}};
    return ActOnChoice(p.MainMenuChoice, choices, ShowMainMenu);
}

// L switched the puzzles while the difficulty menu is up: its items become those of
// the other mode, the focus kept (Expert's goes to Hard), and the menu enters anew.
void SwitchDifficultyItems(Program& p) {
    const gkGUIObject* focused = p.Gui->GetFocused();
    int focus = focused != nullptr ? focused->id : Medium;
    for (const MenuEntry& e : LogicDifficultyMenuEntries) p.Gui->RemoveControl(e.id);
    if (p.aids.settings.logicPuzzles) {
        AddMenu(p, LogicDifficultyMenuEntries, focus, false);
    } else {
        AddMenu(p, DifficultyMenuEntries, focus == Expert ? Hard : focus, false);
    }
    p.Gui->Enter();
}

ScreenRequest ActOnDifficultyChoice(Program& p) {
    const int choice = p.DifficultyChoice;
    if (IsLevel(choice)) {
        if (p.aids.settings.logicPuzzles) {
            StartMakingPuzzle(p, choice);
        } else if (p.board.NewGame(choice)) {
            ShowDifficultyMenu(false);
            return {ScreenRequest::StartGame, 0, {PuzzleKind::Classic, choice, 0}};
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
ScreenRequest FinishMakingPuzzle(Program& p) {
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
    return {ScreenRequest::StartGame, 0, {PuzzleKind::Logic, level, 1}};
}

ScreenRequest ActOnGameMenuChoice(Program& p) {
    const MenuChoice choices[] = {{ResumeId, GoTo(Playing)},
                                  {GameCreditsId, GoTo(Credits)},
                                  {GameExitId, {ScreenRequest::Exit, 0, {}}}};
    return ActOnChoice(p.GameMenuChoice, choices, ShowGameMenu);
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
void ShowDifficultyMenu(bool show) {
    if (!show || TheProgram().aids.settings.logicPuzzles) {  // hiding takes every item either mode has
        ShowMenu(show, LogicDifficultyMenuEntries, Medium, false);
    } else {
        ShowMenu(show, DifficultyMenuEntries, Medium, false);
    }
}
void ShowGameMenu(bool show) { ShowMenu(show, GameMenuEntries, ResumeId, false); }

namespace {

// The statistics screen: S opens it over the menu (with the figures the writer last
// computed), and then any key or click closes it and does nothing else. True while it
// takes the frame.
bool StatisticsTakeFrame(Program& p, const FrameInput& input) {
    if (p.statisticsOpen) {
        if (input.key != 0 || input.count > 0) p.statisticsOpen = false;
        return true;
    }
    if (p.Gui->IsLeaving()) return false;
    for (int i = 0; i < input.count; ++i) {
        if (ActionOf(input.presses[i], OnMainMenu) != Action::Statistics) continue;
        p.statistics = p.writer ? p.writer->Statistics() : ComputeStatistics({}, p.bestTimes);
        p.statisticsOpen = true;
        return true;
    }
    return false;
}

}  // namespace

ScreenRequest MainMenuFrame(const FrameInput& input) {
    Program& p = TheProgram();
    if (StatisticsTakeFrame(p, input)) return {};
    const float dt = MenuStep(p);
    if (input.key == GKK_ESCAPE) {  // as Exit, once the menu has left
        p.MainMenuChoice = MainExitId;
        p.Gui->Leave();
    }
    return LeaveAnimationOver(p, dt, p.MainMenuChoice) ? ActOnMainMenuChoice(p) : ScreenRequest{};
}

ScreenRequest DifficultyMenuFrame(const FrameInput& input) {
    Program& p = TheProgram();
    const float dt = MenuStep(p);
    if (input.key == GKK_ESCAPE) {
        StopMakingPuzzle(p);
        p.DifficultyChoice = ReturnToMainId;
        ShowDifficultyMenu(false);
        return GoTo(MainMenu);
    }
    if (MakingPuzzle(p)) return FinishMakingPuzzle(p);
    const bool logicPuzzles = p.aids.settings.logicPuzzles;
    SwitchPuzzleKind(p, input);
    if (p.aids.settings.logicPuzzles != logicPuzzles) SwitchDifficultyItems(p);
    return LeaveAnimationOver(p, dt, p.DifficultyChoice) ? ActOnDifficultyChoice(p) : ScreenRequest{};
}

ScreenRequest GameMenuFrame(const FrameInput& input) {
    Program& p = TheProgram();
    const float dt = MenuStep(p);
    if (input.key == GKK_ESCAPE) {
        p.GameMenuChoice = ResumeId;
        ShowGameMenu(false);
        return GoTo(Playing);
    }
    return LeaveAnimationOver(p, dt, p.GameMenuChoice) ? ActOnGameMenuChoice(p) : ScreenRequest{};
}

