#include "app/screens/menu_screens.h"

#include "app/program.h"
#include "app/puzzles/copy_paste.h"
#include "app/puzzles/logic_games.h"
#include "app/screens/best_times_line.h"
#include "app/screens/menus.h"
#include "app/screens/statistics_overlay.h"
#include "play/view/layout.h"
#include "play/view/status_line.h"

namespace {

// A menu: its show operation, its frame handler carried out by the state machine, and
// what it draws in its empty space.
class MenuScreen : public Screen {
public:
    using ShowOp = void (*)(bool);
    using FrameOp = ScreenRequest (*)(const FrameInput&);
    using DrawOp = void (*)(Program&);
    MenuScreen(ShowOp show, FrameOp frame, DrawOp draw, KeyScreen keys)
        : show(show), frame(frame), draw(draw), keys(keys) {}

    void Show(bool shown) override { show(shown); }
    ScreenRequest Update(const FrameInput& input) override { return frame(input); }
    void Draw() override {
        if (draw) draw(TheProgram());
    }
    KeyScreen Keys() const override { return keys; }

protected:
    ShowOp show;
    FrameOp frame;
    DrawOp draw;
    KeyScreen keys;
};

// The main menu, with the statistics screen over it while it is open.
class MainMenuScreen : public MenuScreen {
public:
    using MenuScreen::MenuScreen;
    void DrawOver() override {
        Program& p = TheProgram();
        if (p.statisticsOpen && p.gk && p.MenuFont)
            DrawStatisticsOverlay(*p.gk, *p.MenuFont, p.statistics, p.palette);
    }
};

// At the foot, what the last game won until the next game starts, else the best
// times (one line of the menu's empty space); under the items a paste's word.
void DrawMainMenuSpace(Program& p) {
    if (!p.MenuFont) return;
    if (p.winLine[0] != '\0') {
        DrawText(*p.MenuFont, ScreenCenterX, BestTimesY, AlignCenter, StatusTextStyle(p.palette), p.winLine);
    } else {
        DrawBestTimes(*p.MenuFont, p.bestTimes, p.palette);
    }
    DrawPasteMessage(p);
}

void DrawDifficultyMenuSpace(Program& p) {
    // The title is drawn in the colour the menu's last item left the font in.
    if (p.MenuFont) p.MenuFont->Render(ScreenCenterX, MenuTitleY, AlignCenter, "Difficult Level");
    DrawPuzzleKindLine(p);
}

}  // namespace

std::unique_ptr<Screen> MakeMainMenuScreen() {
    return std::make_unique<MainMenuScreen>(ShowMainMenu, MainMenuFrame, DrawMainMenuSpace, OnMainMenu);
}

std::unique_ptr<Screen> MakeDifficultyMenuScreen() {
    return std::make_unique<MenuScreen>(ShowDifficultyMenu, DifficultyMenuFrame, DrawDifficultyMenuSpace,
                                        OnDifficultyMenu);
}

std::unique_ptr<Screen> MakeGameMenuScreen() {
    return std::make_unique<MenuScreen>(ShowGameMenu, GameMenuFrame, nullptr, OnGameMenu);
}
